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
  const std::vector<kk::CardMap::ChoiceKey>& keys = karten.choice_keys();
  // Places keep the order of the cards, so a place serves as their order.
  for (std::size_t place = 0; place < keys.size(); ++place) {
    const kk::Due& due = keys[place].due;
    const bool is_new = due.is_none();
    if (!is_new && !(due.is_moment() && due.seconds() <= bound)) continue;
    const kk::CardMap::Entry* entry = karten.entry_at(place);
    const auto& [name, card] = *entry;
    if (!passed_over_->empty() && passed_over_->contains(name)) continue;
    if (is_new) {
      new_cards_.push_back({0, keys[place].new_card_order, place, false, &name, &card});
    } else {
      due_cards_.push_back({due.seconds(), fudge_or_last(karten.choice_fudge(place)), place,
                            keys[place].karte_ist_neu || seen_today(name, card), &name, &card});
    }
  }
}

bool ChoiceCards::seen_today(const std::string& name, const kk::CardRef& card) const {
  return seen_records_.contains(card.get()) && seen_today_.contains(name);
}

}  // namespace tavo::kk
