// A card's history as kkv history shows it: the card found by its name or
// its question, and its answers one line each.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "karteikarten/frame/answer_history.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::cli {

// A card of a registered collection.
struct CardMatch {
  std::string name;
  std::string collection;
  std::string question;
};

// The cards of the registered collections named `text` or asking it as
// their question, in collection order.
std::vector<CardMatch> cards_named_or_asked(const kk::Karteikartenverwaltung& kkv,
                                            const std::string& text);

// One line per answer, oldest first, under a line of column names: the
// local time, the response, the seconds counted and the card's interval,
// ease factor and learnstatus after the answer. One line saying so when
// there is no answer.
void print_history(std::ostream& out, const std::vector<kk::PastAnswer>& answers);

}  // namespace tavo::cli
