// When a card is next due: never made due (None), a moment in seconds since
// the epoch, or "done" (finished in the forgotten-cards drill).
#pragma once

#include <optional>

#include "value/host_attribute.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class Due {
 public:
  Due() = default;
  static Due at(double seconds) { return Due(Kind::moment, seconds); }
  static Due done() { return Due(Kind::done, 0); }
  // None, a number, or the text "done"; TypeError for anything else.
  static Due from_value(const Value& value);
  // The same, but nullopt for anything else.
  static std::optional<Due> of_value(const Value& value);

  bool is_none() const { return kind_ == Kind::none; }
  bool is_moment() const { return kind_ == Kind::moment; }
  bool is_done() const { return kind_ == Kind::done; }
  // The moment; TypeError when the card has none.
  double seconds() const;
  // The host's truthiness: None and the moment 0 are false.
  bool truthy() const { return is_done() || (is_moment() && seconds_ != 0); }
  Value to_value() const;

  friend bool operator==(const Due&, const Due&) = default;

 private:
  enum class Kind { none, moment, done };
  Due(Kind kind, double seconds) : kind_(kind), seconds_(seconds) {}
  Kind kind_ = Kind::none;
  double seconds_ = 0;
};

}  // namespace tavo::kk

namespace tavo {

// A due value crosses to the host as None, its seconds or "done".
template <>
struct AttributeKind<kk::Due> {
  static Value to_value(const kk::Due& due) { return due.to_value(); }
  static kk::Due from_value(const Value& value, std::string_view) {
    return kk::Due::from_value(value);
  }
};

}  // namespace tavo
