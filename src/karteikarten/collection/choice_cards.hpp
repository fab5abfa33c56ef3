// ChoiceCards: the cards one card choice reads, gathered in one pass over a
// collection: the new cards (no due moment) and the cards due by a bound,
// each with its place in the collection's order.
//
// A choice asks several queries of one collection (how many reviews are
// due within the look-ahead, within the first and the second learning
// step, which are the best of them, which new cards come first). Without
// this view each query walks every card; with it they walk only the new
// and the soon-due cards. The view is valid only while no card of the
// collection is added, removed or given another due moment, which holds
// within one choice; the collection drops it when the choice ends.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "karteikarten/cards/card_map.hpp"

namespace tavo::kk {

struct ChoiceCard {
  // The due moment in seconds; 0 for a new card.
  double due;
  // The card's place in the collection's order.
  std::size_t order;
  const std::string* name;
  const kk::CardRef* card;
};

class ChoiceCards {
 public:
  // Gathers the new cards and the cards due no later than `bound`, except
  // the cards named in `passed_over`, which must outlive the view.
  ChoiceCards(const kk::CardMap& karten, double bound,
              const std::unordered_set<std::string>& passed_over);

  const std::vector<ChoiceCard>& new_cards() const { return new_cards_; }
  // The cards due no later than max(`end`, the bound), in the collection's
  // order; gathers them again from `karten` when `end` lies beyond the
  // bound.
  const std::vector<ChoiceCard>& due_by(const kk::CardMap& karten, double end);

 private:
  void gather(const kk::CardMap& karten, double bound);

  double bound_;
  const std::unordered_set<std::string>* passed_over_;
  std::vector<ChoiceCard> new_cards_;
  std::vector<ChoiceCard> due_cards_;
};

}  // namespace tavo::kk
