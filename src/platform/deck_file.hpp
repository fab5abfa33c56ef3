// Deck files: question/answer cards written by a person in a text editor.
//
// Two formats are read:
//   tab-separated  UTF-8 text, one card per line: the question, a tab, the
//                  answer. Blank lines and lines whose first character is
//                  '#' are skipped; a trailing carriage return is dropped.
//                  In a field "\n" stands for a line break, "\t" for a tab
//                  and "\\" for a backslash.
//   JSON           a list of objects, each with the texts "fragetext" (the
//                  question) and "antworttext" (the answer) and no other
//                  member.
// A deck is read whole or not at all: the first fault stops the reading
// with a DeckError naming the file, the line and the reason, so that a
// faulty deck never reaches a collection.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "value/errors.hpp"

namespace tavo::platform {

// One card of a deck and the line on which it begins.
struct DeckCard {
  std::string fragetext;
  std::string antworttext;
  std::size_t line = 0;
};

// A fault in a deck file: "<file>:<line>: <reason>" (without a line number
// for a fault of the whole file, such as an unreadable or empty one).
class DeckError : public ValueError {
 public:
  using ValueError::ValueError;
};

enum class DeckFormat { tab_separated, json };

// The format a file name calls for: JSON for a name ending in ".json" (in
// any letter case), tab-separated for any other.
DeckFormat deck_format_of(const std::filesystem::path& path);

// The cards of the deck `text`, in file order; `file` names the deck in
// messages. DeckError when the text is not valid UTF-8, when a line or
// member breaks the format's rules, when a question or answer is empty,
// when a question repeats an earlier one (cards are told apart by their
// questions), or when the deck holds no card.
std::vector<DeckCard> parse_deck(std::string_view text, DeckFormat format, std::string_view file);

// Reads and parses the deck file at `path` in the format its name calls
// for. DeckError also when the file cannot be read or is larger than
// 64 MiB.
std::vector<DeckCard> read_deck_file(const std::filesystem::path& path);

}  // namespace tavo::platform
