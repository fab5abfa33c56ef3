#include "karteikarten/cards/learnstatus.hpp"

#include <string>

#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

constexpr std::string_view learnstatus_names[] = {"learning", "learned", "relearning"};

}  // namespace

std::string_view learnstatus_text(Learnstatus status) {
  return learnstatus_names[static_cast<std::size_t>(status)];
}

Learnstatus parse_learnstatus(std::string_view text) {
  for (std::size_t i = 0; i < std::size(learnstatus_names); ++i) {
    if (learnstatus_names[i] == text) return static_cast<Learnstatus>(i);
  }
  throw ValueError("unknown learnstatus " + repr(Value(text)));
}

}  // namespace tavo::kk
