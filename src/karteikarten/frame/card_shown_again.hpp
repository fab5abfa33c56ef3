// Showing a card again once its answer was taken back.
//
// undo_last_answer (undo.hpp) puts a card back as it was before the
// answer. A host that shows that card next, instead of the choice's next
// card, runs learning_step_again, or takes the card from
// card_to_show_again and passes the answer to answer_card, as for a card
// get_card handed out.
#pragma once

#include <optional>
#include <string>

#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/frame/learning_step.hpp"

namespace tavo::kk {

// The card `name` of a registered collection, handed out as get_card
// hands out a chosen card: its collection (the base collection in the
// forgotten-cards drill) becomes sammlungsort_name, and a new card is put
// due when it is answered. Nothing when no registered collection holds
// the card; nothing changes then.
std::optional<Karteikarte> card_to_show_again(Karteikartenverwaltung& kkv, const std::string& name);

// learning_step on the card `name` (card_to_show_again) instead of the
// choice's next card. Nothing when no registered collection holds it or
// the user stopped; then nothing is recorded.
std::optional<LearningStepResult> learning_step_again(Karteikartenverwaltung& kkv,
                                                      const std::string& name,
                                                      const AskAnswer& ask);

}  // namespace tavo::kk
