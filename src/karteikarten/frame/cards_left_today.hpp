// What is left of the learning day, as a host shows it with each card: the
// reviews due, the new cards today's limit still lets in, and the cards in
// their learning steps. Cheap enough to ask before every card: one pass
// over each registered collection's cards and today's lists.
#pragma once

#include <cstdint>

#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::kk {

struct CardsLeftToday {
  // Reviews (learned cards) due before the next learning day begins, or
  // within the days of learning ahead: those begun today, and of the others
  // as many as today's review limit still allows.
  std::int64_t due = 0;
  // New cards still to come: those put due and never answered, and as many
  // cards without a due moment as today's new-card limit still lets in.
  std::int64_t new_cards = 0;
  // Cards answered before and now in a learning step (learning or
  // relearning), due by the same bound as the reviews.
  std::int64_t learning = 0;
};

// Counts over the registered collections outside the forgotten-cards
// drill; changes nothing. A card the choice passes over (answered ahead) is
// not counted. While only new cards are shown, due and learning are 0.
CardsLeftToday cards_left_today(const Karteikartenverwaltung& kkv);

}  // namespace tavo::kk
