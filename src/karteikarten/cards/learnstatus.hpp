// The learning phase of a card, and its text as the host writes it.
#pragma once

#include <string_view>

#include "value/host_attribute.hpp"

namespace tavo::kk {

enum class Learnstatus { learning, learned, relearning };

// "learning", "learned" or "relearning".
std::string_view learnstatus_text(Learnstatus status);
// The phase named by `text`; ValueError "unknown learnstatus 'new'" for any
// other text.
Learnstatus parse_learnstatus(std::string_view text);

}  // namespace tavo::kk

namespace tavo {

// A phase crosses to the host as its text.
template <>
struct AttributeKind<kk::Learnstatus> {
  static Value to_value(kk::Learnstatus status) { return kk::learnstatus_text(status); }
  static kk::Learnstatus from_value(const Value& value, std::string_view name) {
    return kk::parse_learnstatus(AttributeKind<std::string>::from_value(value, name));
  }
};

}  // namespace tavo
