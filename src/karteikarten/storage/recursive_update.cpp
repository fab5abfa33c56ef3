#include "karteikarten/storage/recursive_update.hpp"

namespace tavo::kk {

Dict update(Dict d, const Dict& u) {
  for (const auto& [key, value] : u) {
    if (value.is_dict()) {
      const Value existing = d.get(key);
      d.set(key, update(existing.is_dict() ? existing.as_dict() : Dict(), value.as_dict()));
    } else {
      d.set(key, value);
    }
  }
  return d;
}

}  // namespace tavo::kk
