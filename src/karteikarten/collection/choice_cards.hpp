// ChoiceCards: the cards one card choice reads, gathered in one pass over a
// collection: the new cards (no due moment) and the cards due by a bound,
// each with its place in the collection's order and the keys the choice
// orders it by.
//
// A choice asks several queries of one collection (how many reviews are
// due within the look-ahead, within the first and the second learning
// step, which are the best of them, which new cards come first). Without
// this view each query walks every card; with it they walk only the new and
// the soon-due cards, gathered in one pass over the keys the card map keeps
// packed (CardMap::choice_keys), which reads no record. The view is valid
// only while no card of the collection is added, removed, given another due
// moment or another fudge, and while today's seen cards stay the same, which
// holds within one choice; the collection drops it when the choice ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "karteikarten/cards/card_map.hpp"

namespace tavo::kk {

struct ChoiceCard {
  // The due moment in seconds; 0 for a new card.
  double due;
  // The value that orders equal cards, lowest first: a new card's
  // permanent_fudge_neu, a due card's fudge; the largest number when the
  // card has none.
  std::int64_t fudge;
  // The card's place in the card map, which orders the cards as the
  // collection does.
  std::size_t order;
  // A due card seen today, or put due and never answered: it continues
  // today's work instead of taking a place of the review limit.
  bool continuing;
  const kk::CardRecord* record;
};

class ChoiceCards {
 public:
  using NameSet = std::unordered_set<std::string>;

  // Gathers the new cards and the cards due no later than `bound`, except
  // the cards named in `passed_over`, which must outlive the view.
  // `seen_today` names the cards seen today.
  ChoiceCards(const kk::CardMap& karten, double bound, const NameSet& passed_over,
              NameSet seen_today);

  const std::vector<ChoiceCard>& new_cards() const { return new_cards_; }
  // The cards due no later than max(`end`, the bound), in the collection's
  // order; gathers them again from `karten` when `end` lies beyond the
  // bound.
  const std::vector<ChoiceCard>& due_by(const kk::CardMap& karten, double end);

 private:
  void gather(const kk::CardMap& karten, double bound);
  bool seen_today(const kk::CardMap& karten, const ChoiceCard& card) const;
  bool passed_over(const kk::CardMap& karten, std::size_t place) const;

  double bound_;
  const NameSet* passed_over_;
  NameSet seen_today_;
  // The records of the cards seen today: a due card whose record is not
  // among them was not seen, without hashing its name.
  std::unordered_set<const kk::CardRecord*> seen_records_;
  std::vector<ChoiceCard> new_cards_;
  std::vector<ChoiceCard> due_cards_;
};

}  // namespace tavo::kk
