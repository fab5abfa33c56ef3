// KeyError, which keeps the key it did not find.
#include "value/errors.hpp"

#include <utility>

#include "value/repr.hpp"

namespace tavo {

KeyError::KeyError(const Value& key)
    : Error(repr(key)), key_(std::make_shared<const Value>(key)), message_is_key_(true) {}

KeyError::KeyError(const std::string& message, std::optional<Value> key)
    : Error(message),
      key_(key ? std::make_shared<const Value>(std::move(*key)) : nullptr),
      message_is_key_(false) {}

}  // namespace tavo
