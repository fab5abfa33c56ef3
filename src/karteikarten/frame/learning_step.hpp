// The learning loop every host runs: choose a card, let the user answer it,
// record the answer and store the card.
//
// A host either calls learning_step with a function that shows the card
// and returns the user's answer, or, when it asks in its own way, calls
// get_card() on the manager, shows the card with the texts of
// get_interval_responses(card) (or words button_intervals(card) itself), and passes the answer to answer_card.
// Either way the answer is scheduled (schedule, then the card's
// change_due), recorded on the card (set_letzte_antwort,
// set_last_interval_no_lapse, set_beantwortungszeit, set_last_interval),
// its time added to today's "zeitdauer_heute" (capped at
// maximale_beantwortungszeit, or maximale_beantwortungszeit_reizung for a
// bidding problem, on the card too), written back into its collection and
// saved before the call returns, so that an answer acknowledged to the user
// is never lost. In the forgotten-cards drill an answer other than "again"
// also records the card as learnt in the drill's run.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// The user's answer to a shown card.
struct Antwort {
  // "again", "hard", "good" or "easy".
  std::string response;
  // The time the user took, in seconds.
  Value beantwortungszeit = 0;
};

// What one step did: the card as answered (with its new due moment), its
// collection, the answer and the days until it is due again.
struct LearningStepResult {
  Karteikarte card;
  std::string sammlungsname;
  Antwort antwort;
  Value tage;
};

// Shows `card` with the intervals of the four buttons (again, hard, good,
// easy) and returns the answer, or nothing when the user stops.
using AskAnswer = std::function<std::optional<Antwort>(const Karteikarte& card,
                                                       const ButtonIntervals& buttons)>;

// Schedules the answer to `card`, the card last handed out by get_card,
// records it on the card, writes the card back into the current collection
// and saves that collection. Returns the days until the card is due again.
// ValueError for a response the card's phase does not accept, found by a
// preview before anything is recorded; KeyError when the current
// collection is not registered; kk::CollectionConflict when another
// program changed cards of the collection since they were loaded (the
// answer is stored and counted unless its own card is one of them). A right
// answer is also recorded in today's "karte_erfolgreich_wiederholt". A card
// answered ahead (learning ahead, not "again") is not chosen again by this
// manager's get_card: learning ahead shows each card once.
Value answer_card(Karteikartenverwaltung& kkv, Karteikarte& card, const Antwort& antwort);

// True when `card` in its present phase takes `response`: previews the
// answer on a copy and records nothing.
bool accepts_response(Karteikartenverwaltung& kkv, const Karteikarte& card,
                      const std::string& response);

// One whole step: the next card, the user's answer through `ask`, and
// answer_card. Nothing when there is no card to show or the user stopped;
// then nothing is recorded.
std::optional<LearningStepResult> learning_step(Karteikartenverwaltung& kkv, const AskAnswer& ask);

// The same step on `card`, handed out by the manager in another way than
// the choice (see card_shown_again.hpp); nothing when there is no card.
std::optional<LearningStepResult> learning_step_on(Karteikartenverwaltung& kkv,
                                                   std::optional<Karteikarte> card,
                                                   const AskAnswer& ask);

}  // namespace tavo::kk
