#include "karteikarten/collection/choice_cards.hpp"

namespace tavo::kk {

ChoiceCards::ChoiceCards(const kk::CardMap& karten, double bound,
                         const std::unordered_set<std::string>& passed_over)
    : passed_over_(&passed_over) {
  gather(karten, bound);
}

const std::vector<ChoiceCard>& ChoiceCards::due_by(const kk::CardMap& karten, double end) {
  if (end > bound_) gather(karten, end);
  return due_cards_;
}

void ChoiceCards::gather(const kk::CardMap& karten, double bound) {
  bound_ = bound;
  new_cards_.clear();
  due_cards_.clear();
  std::size_t order = 0;
  for (const auto& [name, card] : karten) {
    const std::size_t place = order++;
    if (!passed_over_->empty() && passed_over_->contains(name)) continue;
    const kk::Due& due = card->due;
    if (due.is_none()) {
      new_cards_.push_back({0, place, &name, &card});
    } else if (due.is_moment() && due.seconds() <= bound) {
      due_cards_.push_back({due.seconds(), place, &name, &card});
    }
  }
}

}  // namespace tavo::kk
