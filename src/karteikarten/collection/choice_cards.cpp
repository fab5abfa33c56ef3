#include "karteikarten/collection/choice_cards.hpp"

#include <limits>
#include <optional>
#include <utility>

namespace tavo::kk {
namespace {

std::int64_t fudge_or_last(const std::optional<std::int64_t>& fudge) {
  return fudge.value_or(std::numeric_limits<std::int64_t>::max());
}

}  // namespace

ChoiceCards::ChoiceCards(const kk::CardMap& karten, double bound, const NameSet& passed_over,
                         NameSet seen_today)
    : passed_over_(&passed_over), seen_today_(std::move(seen_today)) {
  for (const std::string& name : seen_today_) {
    if (const kk::CardRef card = karten.find(name)) seen_records_.insert(card.get());
  }
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
      new_cards_.push_back(
          {0, fudge_or_last(card->permanent_fudge_neu), place, false, &name, &card});
    } else if (due.is_moment() && due.seconds() <= bound) {
      due_cards_.push_back({due.seconds(), fudge_or_last(card->fudge()), place,
                            continuing(name, *card), &name, &card});
    }
  }
}

bool ChoiceCards::continuing(const std::string& name, const kk::CardRecord& card) const {
  if (card.karte_ist_neu) return true;
  return seen_records_.contains(&card) && seen_today_.contains(name);
}

}  // namespace tavo::kk
