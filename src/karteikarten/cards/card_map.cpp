// The insertion-ordered card mapping. Erasing empties a card's place instead
// of shifting the cards after it; the empty places are dropped once they
// outnumber the cards, which keeps erasing amortised constant.
#include "karteikarten/cards/card_map.hpp"

#include <memory>

#include "value/errors.hpp"

namespace tavo::kk {

bool CardMap::contains(std::string_view name) const { return positions_.contains(name); }

CardRef CardMap::find(std::string_view name) const {
  const auto found = positions_.find(name);
  return found == positions_.end() ? nullptr : places_[found->second]->second;
}

const CardRef& CardMap::at(std::string_view name) const {
  const auto found = positions_.find(name);
  if (found == positions_.end()) throw KeyError(Value(name));
  return places_[found->second]->second;
}

void CardMap::reserve(std::size_t count) {
  places_.reserve(count);
  positions_.reserve(count);
}

void CardMap::set(std::string name, CardRef record) {
  const auto found = positions_.find(name);
  if (found != positions_.end()) {
    places_[found->second]->second = std::move(record);
    return;
  }
  positions_.emplace(name, places_.size());
  places_.emplace_back(Entry(std::move(name), std::move(record)));
}

void CardMap::erase(std::string_view name) {
  const auto found = positions_.find(name);
  if (found == positions_.end()) throw KeyError(Value(name));
  places_[found->second].reset();
  positions_.erase(found);
  if (2 * positions_.size() < places_.size()) compact();
}

void CardMap::clear() {
  places_.clear();
  positions_.clear();
}

std::vector<std::string> CardMap::names() const {
  std::vector<std::string> names;
  names.reserve(size());
  for (const auto& [name, record] : *this) names.push_back(name);
  return names;
}

void CardMap::compact() {
  std::vector<std::optional<Entry>> kept;
  kept.reserve(positions_.size());
  for (std::optional<Entry>& place : places_) {
    if (!place) continue;
    positions_.find(place->first)->second = kept.size();
    kept.push_back(std::move(place));
  }
  places_ = std::move(kept);
}

CardMap deep_copy(const CardMap& cards) {
  CardMap copy;
  for (const auto& [name, record] : cards) {
    copy.set(name, record ? std::make_shared<CardRecord>(deep_copy(*record)) : nullptr);
  }
  return copy;
}

}  // namespace tavo::kk
