#include "karteikarten/cards/hand_module.hpp"

#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {

std::string card_name_of(const Value& key, const std::string& collection) {
  if (key.is_text() && key.as_text().find('-') != std::string::npos) return key.as_text();
  return collection + "-" + str(key);
}

Dict hand_data_of(const Value& hand, const std::string& card_name) {
  if (!hand.is_dict()) {
    throw TypeError("hand data of " + repr(card_name) + " must be a mapping, got " +
                    type_name(hand));
  }
  return deep_copy(hand).as_dict();
}

}  // namespace tavo::kk
