// A card's history: its answers as the answer log keeps them.
#pragma once

#include <string>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// One answer to a card, with the card's state after it.
struct PastAnswer {
  // Seconds since the epoch.
  double moment = 0;
  std::string response;
  // The answer time counted, or None.
  Value seconds;
  // The card's interval (days), ease factor and learnstatus after the answer.
  Value interval;
  Value ease_factor;
  Value learnstatus;
};

// The answers to the card named `name` that were not taken back, oldest
// first, in any collection; empty for a name the log does not know.
// db::Error when the store cannot be read.
std::vector<PastAnswer> answer_history(Karteikartenverwaltung& kkv, const std::string& name);

// The history as the host's list of mappings with the keys "moment",
// "response", "seconds", "interval", "ease_factor" and "learnstatus".
List history_to_value(const std::vector<PastAnswer>& history);

}  // namespace tavo::kk
