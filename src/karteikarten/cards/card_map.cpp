// The insertion-ordered card mapping. Erasing empties a card's place instead
// of shifting the cards after it; the empty places are dropped once they
// outnumber the cards, which keeps erasing amortised constant. Each record
// the map holds is linked to the map's change log at its place.
#include "karteikarten/cards/card_map.hpp"

#include <algorithm>
#include <atomic>
#include <limits>

#include "value/errors.hpp"

namespace tavo::kk {
namespace {

std::uint64_t next_period() {
  static std::atomic<std::uint64_t> last_period{0};
  return ++last_period;
}

}  // namespace

CardMap::CardMap(const CardMap& other) : places_(other.places_), positions_(other.positions_) {}

CardMap::CardMap(CardMap&& other) noexcept
    : places_(std::move(other.places_)),
      positions_(std::move(other.positions_)),
      log_(std::move(other.log_)),
      erased_(std::move(other.erased_)) {}

CardMap& CardMap::operator=(const CardMap& other) {
  if (this != &other) *this = CardMap(other);
  return *this;
}

CardMap& CardMap::operator=(CardMap&& other) noexcept {
  if (this == &other) return *this;
  untrack_all();
  places_ = std::move(other.places_);
  positions_ = std::move(other.positions_);
  log_ = std::move(other.log_);
  erased_ = std::move(other.erased_);
  choice_keys_tracked_since_.reset();
  return *this;
}

CardMap::~CardMap() { untrack_all(); }

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
  choice_keys_tracked_since_.reset();
  const auto [found, added] = positions_.try_emplace(name, places_.size());
  const std::size_t place = found->second;
  if (!added) {
    CardRef& held = places_[place]->second;
    untrack(held, place);
    held = std::move(record);
    track(held, place);
    return;
  }
  places_.emplace_back(Entry(std::move(name), std::move(record)));
  track(places_.back()->second, place);
}

void CardMap::erase(std::string_view name) {
  const auto found = positions_.find(name);
  if (found == positions_.end()) throw KeyError(Value(name));
  choice_keys_tracked_since_.reset();
  const std::size_t place = found->second;
  untrack(places_[place]->second, place);
  if (log_) erased_.emplace(name, place);
  positions_.erase(found);
  if (place + 1 == places_.size()) {
    places_.pop_back();
    while (!places_.empty() && !places_.back()) places_.pop_back();
    return;
  }
  // The cards behind move up a position.
  places_[place].reset();
  if (log_) log_->lose_track();
  if (2 * positions_.size() < places_.size()) compact();
}

void CardMap::clear() {
  choice_keys_tracked_since_.reset();
  untrack_all();
  places_.clear();
  positions_.clear();
  if (log_) log_->lose_track();
}

std::vector<std::string> CardMap::names() const {
  std::vector<std::string> names;
  names.reserve(size());
  for (const auto& [name, record] : *this) names.push_back(name);
  return names;
}

namespace {

// A place without a record is neither new nor due.
const CardMap::ChoiceKey no_card{Due::done(), 0, false, {}, nullptr};

CardMap::ChoiceKey choice_key_of(const CardRecord& record) {
  return {record.due, record.permanent_fudge_neu.value_or(std::numeric_limits<std::int64_t>::max()),
          record.karte_ist_neu, record.map_link.own_fudge(), &record};
}

}  // namespace

const std::vector<CardMap::ChoiceKey>& CardMap::choice_keys() const {
  const bool kept = log_ && log_->period && choice_keys_tracked_since_ == log_->tracks_lost &&
                    choice_keys_.size() == places_.size();
  if (!kept) {
    read_all_choice_keys();
    return choice_keys_;
  }
  for (const std::uint32_t place : log_->stale_places) {
    if (place < places_.size()) read_choice_key(place);
  }
  log_->stale_places.clear();
  return choice_keys_;
}

std::optional<std::int64_t> CardMap::choice_fudge(std::size_t place) const {
  if (!change_period()) return places_[place]->second->fudge();
  return log_->fudge_at(static_cast<std::uint32_t>(place), choice_keys_[place].own_fudge);
}

void CardMap::read_all_choice_keys() const {
  choice_keys_.resize(places_.size());
  for (std::size_t place = 0; place < places_.size(); ++place) read_choice_key(place);
  choice_keys_tracked_since_.reset();
  if (log_) {
    log_->stale_places.clear();
    if (log_->period) choice_keys_tracked_since_ = log_->tracks_lost;
  }
}

void CardMap::read_choice_key(std::size_t place) const {
  const CardRef* record = places_[place] ? &places_[place]->second : nullptr;
  if (record == nullptr || !*record) {
    choice_keys_[place] = no_card;
    return;
  }
  choice_keys_[place] = choice_key_of(**record);
  if (tracks_at(*record, place)) record->record_->map_link.stale_ = false;
}

void CardMap::renew_fudges(const FudgePermutation& values, std::size_t first) {
  // In a period every record is linked to its place here already. A new
  // period is no period a stored snapshot knows, so the next save still
  // compares every card.
  if (!change_period()) forget_changes();
  MapLog& shared = log();
  shared.fudges = values;
  shared.fudge_offset = first;
  ++shared.renewal;
}

std::optional<std::uint64_t> CardMap::change_period() const {
  return log_ ? log_->period : std::nullopt;
}

std::vector<CardMap::PositionedEntry> CardMap::changed_cards() const {
  if (!change_period()) return {};
  // Without empty places (a period has none) a place is a position.
  std::vector<std::uint32_t> places = log_->changed_places;
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  std::vector<PositionedEntry> changed;
  changed.reserve(places.size());
  for (const std::uint32_t place : places) {
    if (place < places_.size()) changed.push_back({place, &*places_[place]});
  }
  return changed;
}

std::optional<std::uint64_t> CardMap::forget_changes() {
  MapLog& changes = log();
  if (changes.period) {
    for (const std::uint32_t place : changes.changed_places) {
      if (place < places_.size() && tracks_at(places_[place]->second, place)) {
        places_[place]->second.record_->map_link.attach(&changes, place);
      }
    }
  } else if (!track_all()) {
    changes.changed_places.clear();
    return std::nullopt;
  }
  changes.changed_places.clear();
  erased_.clear();
  changes.period = next_period();
  return changes.period;
}

void CardMap::compact() {
  choice_keys_tracked_since_.reset();
  std::vector<std::optional<Entry>> kept;
  kept.reserve(positions_.size());
  for (std::size_t place = 0; place < places_.size(); ++place) {
    if (!places_[place]) continue;
    const bool tracked = tracks_at(places_[place]->second, place);
    positions_.find(places_[place]->first)->second = kept.size();
    kept.push_back(std::move(places_[place]));
    if (tracked) kept.back()->second.record_->map_link.attach(log_.get(), kept.size() - 1);
  }
  places_ = std::move(kept);
}

MapLog& CardMap::log() {
  if (!log_) log_ = std::make_unique<MapLog>();
  return *log_;
}

void CardMap::track(const CardRef& record, std::size_t place) {
  if (!record) return;
  MapLog& changes = log();
  MapLink& link = record.record_->map_link;
  if (link.log_ != nullptr && !tracks_at(record, place)) link.log_->lose_track();
  link.attach(&changes, static_cast<std::uint32_t>(place));
  link.mark();
}

void CardMap::untrack(const CardRef& record, std::size_t place) {
  if (tracks_at(record, place)) record.record_->map_link.detach();
}

bool CardMap::tracks_at(const CardRef& record, std::size_t place) const {
  if (!record || !log_) return false;
  const MapLink& link = record->map_link;
  return link.log_ == log_.get() && link.place_ == place;
}

void CardMap::untrack_all() {
  if (!log_) return;
  for (std::size_t place = 0; place < places_.size(); ++place) {
    if (places_[place]) untrack(places_[place]->second, place);
  }
}

bool CardMap::track_all() {
  if (places_.size() != positions_.size()) compact();
  MapLog& changes = log();
  bool held_once = true;
  for (std::size_t place = 0; place < places_.size(); ++place) {
    const CardRef& record = places_[place]->second;
    if (!record) continue;
    MapLink& link = record.record_->map_link;
    if (link.log_ == &changes && link.place_ < place && places_[link.place_]->second == record) {
      held_once = false;
    } else if (link.log_ != nullptr && link.log_ != &changes) {
      link.log_->lose_track();
    }
    link.attach(&changes, static_cast<std::uint32_t>(place));
  }
  return held_once;
}

CardMap deep_copy(const CardMap& cards) {
  CardMap copy;
  for (const auto& [name, record] : cards) {
    copy.set(name, record ? std::make_shared<CardRecord>(deep_copy(*record)) : nullptr);
  }
  return copy;
}

}  // namespace tavo::kk
