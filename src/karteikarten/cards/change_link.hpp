// ChangeLink: how a card record tells the card map that holds it that it
// changed.
//
// A CardMap links each record it holds to its ChangeLog and to the record's
// place in the map. Marking the record adds that place to the log, once
// until the map forgets its changes; a record that no map holds marks
// nothing. A copy of a record is held by no map, and assigning to a record
// keeps the record's own link: the link belongs to the object, not to its
// value.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tavo::kk {

// What a card map notes of its changes: the places of its changed cards, in
// the order first marked, and the period they belong to (see
// CardMap::change_period), none once the map lost track.
struct ChangeLog {
  std::vector<std::uint32_t> changed_places;
  std::optional<std::uint64_t> period;
};

class ChangeLink {
 public:
  ChangeLink() = default;
  ChangeLink(const ChangeLink&) noexcept {}
  ChangeLink& operator=(const ChangeLink&) noexcept { return *this; }
  ~ChangeLink() = default;

  // Adds the record's place to its map's changed places, unless it is
  // there already or no map holds the record.
  void mark() {
    if (log_ == nullptr || marked_) return;
    log_->changed_places.push_back(place_);
    marked_ = true;
  }

 private:
  friend class CardMap;

  void attach(ChangeLog* log, std::uint32_t place) {
    log_ = log;
    place_ = place;
    marked_ = false;
  }
  void detach() { attach(nullptr, 0); }

  ChangeLog* log_ = nullptr;
  std::uint32_t place_ = 0;
  bool marked_ = false;
};

}  // namespace tavo::kk
