// Taking back the most recent answer of the learning day.
//
// The answer log (collection/answer_log.hpp) keeps each answer's card
// state before it and the values of today's metadata it changed. Taking the
// answer back restores both in the collection and stores them, together
// with a log row that marks the answer as taken back, in one transaction of
// the collections store; the day statistics store then takes back the
// statistics the answer recorded, exactly once. The choice offers the card
// again, and the forgotten-cards drill no longer counts it as learnt in the
// drill's run: undo works in the drill as in normal learning.
#pragma once

#include <optional>
#include <string>

#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::kk {

// Takes back the newest answer of the current learning day, to a card of
// a registered collection, that the log still holds and that was not taken
// back; repeated calls walk further back. Returns the card's name, or
// nothing when there is no such answer (none today, or the log is empty).
// ValueError, with nothing changed, when the card is no longer in its
// collection (a re-import removed it) or when a registered collection
// holds an answer that is not stored yet (save it first). db::Error when
// the store cannot be written, with the collection and the store left as
// they were; CollectionConflict when another program changed the card
// meanwhile (the collection then holds the store's version).
std::optional<std::string> undo_last_answer(Karteikartenverwaltung& kkv);

}  // namespace tavo::kk
