// Fuzzes the deck parser. The first byte picks the format (odd: JSON, even:
// tab-separated); the rest is the deck. A deck that parses must hold what
// the parser promises: at least one card, no blank question or answer, no
// question twice, and line numbers that start at 1 and never go back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/deck_file.hpp"

namespace {

using tavo::platform::DeckCard;
using tavo::platform::DeckFormat;

bool is_blank(std::string_view text) {
  return text.find_first_not_of(" \t\n\r") == std::string_view::npos;
}

bool keeps_promises(const std::vector<DeckCard>& cards) {
  std::set<std::string> questions;
  std::size_t previous_line = 1;
  for (const DeckCard& card : cards) {
    if (is_blank(card.fragetext) || is_blank(card.antworttext)) return false;
    if (!questions.insert(card.fragetext).second) return false;
    if (card.line < previous_line) return false;
    previous_line = card.line;
  }
  return !cards.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const DeckFormat format = (data[0] & 1) != 0 ? DeckFormat::json : DeckFormat::tab_separated;
  const std::string_view deck(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    if (!keeps_promises(tavo::platform::parse_deck(deck, format, "deck"))) std::abort();
  } catch (const tavo::platform::DeckError&) {
  }
  return 0;
}
