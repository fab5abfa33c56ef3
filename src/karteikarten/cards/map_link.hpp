// MapLink: what ties a card record to the card map that holds it: how the
// record tells the map that it changed, and where its session "fudge" is
// kept.
//
// A CardMap links each record it holds to its MapLog and to the record's
// place in the map. Marking the record adds that place to the log's changed
// places, once until the map forgets its changes, and to its stale places,
// once until the map reads the record's choice keys again (see
// CardMap::choice_keys); a record that no map holds marks nothing.
//
// The fudge of a linked record is the map's session permutation at the
// record's place, unless the record was given a fudge of its own since the
// map last renewed them; an unlinked record keeps its own. A link that
// moves (to another place or map, or to none) keeps the fudge the record
// had. A copy of a record is held by no map and has the original's fudge;
// assigning to a record keeps the record's own link and takes the other's
// fudge: the link belongs to the object, not to its value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "karteikarten/cards/fudge_permutation.hpp"

namespace tavo::kk {

// A record's own fudge, and the renewal of its map's fudges it was given
// in.
struct OwnFudge {
  std::optional<std::int64_t> value;
  std::uint64_t renewal = 0;
};

// What a card map shares with the records it holds: the places of its
// changed cards, in the order first marked, and the period they belong to
// (see CardMap::change_period), none once the map lost track; the places
// of the cards marked since the map last read them, and how often the map
// lost track; and the session fudges of its cards.
struct MapLog {
  std::vector<std::uint32_t> changed_places;
  std::optional<std::uint64_t> period;
  std::vector<std::uint32_t> stale_places;
  std::uint64_t tracks_lost = 0;

  void lose_track() {
    period.reset();
    ++tracks_lost;
  }
  // The fudge of the card at `place` whose record holds `own`.
  std::optional<std::int64_t> fudge_at(std::uint32_t place, const OwnFudge& own) const {
    if (fudges && own.renewal != renewal) return fudges->at(fudge_offset + place);
    return own.value;
  }

  // The card at place p has the fudge fudges->at(fudge_offset + p) since
  // the renewal numbered `renewal`.
  std::optional<FudgePermutation> fudges;
  std::size_t fudge_offset = 0;
  std::uint64_t renewal = 0;
};

class MapLink {
 public:
  MapLink() = default;
  MapLink(const MapLink& other) noexcept : own_{other.fudge()} {}
  MapLink& operator=(const MapLink& other) noexcept {
    if (this != &other) set_fudge(other.fudge());
    return *this;
  }
  ~MapLink() = default;

  // Adds the record's place to its map's changed and stale places, unless
  // it is there already or no map holds the record.
  void mark() {
    if (log_ == nullptr) return;
    if (!marked_) {
      log_->changed_places.push_back(place_);
      marked_ = true;
    }
    note_stale();
  }

  std::optional<std::int64_t> fudge() const {
    return log_ != nullptr ? log_->fudge_at(place_, own_) : own_.value;
  }
  // Gives the record a fudge of its own, until its map next renews them.
  // Not a change of the card, but of what a choice reads of it.
  void set_fudge(std::optional<std::int64_t> fudge) {
    own_ = {fudge, log_ != nullptr ? log_->renewal : 0};
    note_stale();
  }
  const OwnFudge& own_fudge() const { return own_; }

 private:
  friend class CardMap;

  void attach(MapLog* log, std::uint32_t place) {
    marked_ = false;
    if (log == log_ && place == place_) return;
    const std::optional<std::int64_t> kept = fudge();
    log_ = log;
    place_ = place;
    stale_ = false;
    set_fudge(kept);
  }
  void detach() { attach(nullptr, 0); }
  void note_stale() {
    if (log_ == nullptr || stale_) return;
    log_->stale_places.push_back(place_);
    stale_ = true;
  }

  MapLog* log_ = nullptr;
  std::uint32_t place_ = 0;
  bool marked_ = false;
  bool stale_ = false;
  OwnFudge own_;
};

}  // namespace tavo::kk
