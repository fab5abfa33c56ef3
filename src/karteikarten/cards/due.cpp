#include "karteikarten/cards/due.hpp"

#include <string>

#include "value/errors.hpp"

namespace tavo::kk {

std::optional<Due> Due::of_value(const Value& value) {
  if (value.is_none()) return Due();
  if (value.is_int() || value.is_float()) return Due::at(value.as_float());
  if (value.is_text() && value.as_text() == "done") return Due::done();
  return std::nullopt;
}

Due Due::from_value(const Value& value) {
  const std::optional<Due> due = of_value(value);
  if (!due) {
    throw TypeError(std::string("due must be None, a number or 'done', got ") + type_name(value));
  }
  return *due;
}

double Due::seconds() const {
  if (!is_moment()) {
    throw TypeError(std::string("due has no moment, it is ") + (is_done() ? "'done'" : "None"));
  }
  return seconds_;
}

Value Due::to_value() const {
  switch (kind_) {
    case Kind::none: return None;
    case Kind::moment: return seconds_;
    case Kind::done: return "done";
  }
  return None;
}

}  // namespace tavo::kk
