#include "karteikarten/storage/day_bound_value.hpp"

namespace tavo::kk {

Dict day_bound_value(const platform::Common_functions& cf, int startzeit_tag, const Value& wert) {
  return Dict{{cf.get_datum_string_startzeit(startzeit_tag), wert}};
}

Value todays_value_in(const platform::Environment& env, int startzeit_tag, const Dict& dictionary,
                      const std::string& key) {
  env.diagnostics.check(!dictionary.empty());
  Value* stored = dictionary.find(key);
  if (stored == nullptr) return None;
  if (stored->is_int()) *stored = day_bound_value(env.cf, startzeit_tag, *stored);
  env.diagnostics.check(stored->is_dict());
  if (!stored->is_dict()) return None;
  return stored->as_dict().get(env.cf.get_datum_string_startzeit(startzeit_tag), None);
}

}  // namespace tavo::kk
