#include "platform/choice_cards.hpp"

namespace tavo::platform {

ChoiceCards::ChoiceCards(const kk::CardMap& karten, double bound) { gather(karten, bound); }

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
    const kk::Due& due = card->due;
    if (due.is_none()) {
      new_cards_.push_back({0, order, &name, &card});
    } else if (due.is_moment() && due.seconds() <= bound) {
      due_cards_.push_back({due.seconds(), order, &name, &card});
    }
    ++order;
  }
}

}  // namespace tavo::platform
