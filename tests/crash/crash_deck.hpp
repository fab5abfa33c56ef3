// The deck of the collection "crash" that the crash and concurrency tests
// learn: 200 cards, "question N" with "answer N".
#pragma once

#include <string>
#include <vector>

#include "platform/deck_file.hpp"

namespace tavo::testing {

inline constexpr const char* crash_collection = "crash";

inline std::vector<platform::DeckCard> crash_deck() {
  std::vector<platform::DeckCard> cards;
  for (int number = 1; number <= 200; ++number) {
    cards.push_back({"question " + std::to_string(number), "answer " + std::to_string(number)});
  }
  return cards;
}

}  // namespace tavo::testing
