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
    if (passed_over(karten, place)) continue;
    if (is_new) {
      new_cards_.push_back({0, keys[place].new_card_order, place, false, keys[place].record});
      continue;
    }
    ChoiceCard card{due.seconds(), fudge_or_last(karten.choice_fudge(place)), place, true,
                    keys[place].record};
    card.continuing = keys[place].karte_ist_neu || seen_today(karten, card);
    due_cards_.push_back(card);
  }
}

bool ChoiceCards::seen_today(const kk::CardMap& karten, const ChoiceCard& card) const {
  return seen_records_.contains(card.record) &&
         seen_today_.contains(karten.entry_at(card.order)->first);
}

bool ChoiceCards::passed_over(const kk::CardMap& karten, std::size_t place) const {
  return !passed_over_->empty() && passed_over_->contains(karten.entry_at(place)->first);
}

}  // namespace tavo::kk
