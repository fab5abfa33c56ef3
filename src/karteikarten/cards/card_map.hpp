// A collection's cards: card name to shared record, in insertion order,
// and which of them changed since the collection was last stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "karteikarten/cards/card_ref.hpp"
#include "karteikarten/cards/map_link.hpp"

namespace tavo::kk {

// An insertion-ordered mapping from card name to CardRef with constant-time
// lookup. Copying a CardMap copies the mapping, not the records: both maps
// then share every record. Erasing keeps the order of the other cards and
// costs amortised constant time, so that erasing most cards of a large map
// one by one stays linear. `set` and `erase` invalidate iterators.
//
// The map notes which cards changed in a period that forget_changes()
// starts: each card set (inserted or replaced) or erased, and each card
// whose record was changed through CardRef::edit() or note_change(). A
// period lasts while the map can tell: while cards are only inserted at the
// end and erased from the end (so that no card changes its position), and
// no record is held under two names or taken over by another map. After
// that, and in a copy, in an assigned map or in one never asked to forget,
// there is no period and every card has to be compared.
class CardMap {
 public:
  using Entry = std::pair<std::string, CardRef>;
  // A card and its position in the card order.
  struct PositionedEntry {
    std::size_t position;
    const Entry* entry;
  };

  // Visits the cards in order.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using pointer = const Entry*;
    using reference = const Entry&;

    const_iterator() = default;
    reference operator*() const { return **place_; }
    pointer operator->() const { return &**place_; }
    const_iterator& operator++() {
      ++place_;
      skip_erased();
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.place_ == b.place_;
    }

   private:
    friend class CardMap;
    using Place = std::vector<std::optional<Entry>>::const_iterator;
    const_iterator(Place place, Place end) : place_(place), end_(end) { skip_erased(); }
    void skip_erased() {
      while (place_ != end_ && !place_->has_value()) ++place_;
    }
    Place place_;
    Place end_;
  };

  CardMap() = default;
  // A copy shares every record with `other` and has no period.
  CardMap(const CardMap& other);
  CardMap(CardMap&& other) noexcept;
  CardMap& operator=(const CardMap& other);
  CardMap& operator=(CardMap&& other) noexcept;
  ~CardMap();

  std::size_t size() const { return positions_.size(); }
  bool empty() const { return positions_.empty(); }
  bool contains(std::string_view name) const;
  // The record of `name`, or nullptr.
  CardRef find(std::string_view name) const;
  // The record of `name`; KeyError (the name's repr) when absent.
  const CardRef& at(std::string_view name) const;
  // Inserts or replaces; a replaced card keeps its position. The map
  // tracks the record from now on.
  void set(std::string name, CardRef record);
  // Removes the card; KeyError when absent.
  void erase(std::string_view name);
  void clear();
  // Makes room for `count` cards without rehashing.
  void reserve(std::size_t count);

  std::vector<std::string> names() const;
  const_iterator begin() const { return const_iterator(places_.begin(), places_.end()); }
  const_iterator end() const { return const_iterator(places_.end(), places_.end()); }

  // ---- what a card choice reads ----

  // What a card choice reads of a card: whether it is new or due by a
  // moment, the order among new cards (permanent_fudge_neu, the largest
  // number when the card has none), whether it is new, and its own fudge.
  struct ChoiceKey {
    Due due;
    std::int64_t new_card_order;
    bool karte_ist_neu;
    OwnFudge own_fudge;
    // The record, to tell cards apart without reading it; nullptr for no
    // card.
    const CardRecord* record;
  };
  // The choice keys of every card, by its place in the map (see entry_at).
  // They are packed, so that a pass over them reads no record: read from
  // the records at the first call, and after a card was set or erased or
  // the map lost track of its records; after that only the records marked
  // since the last call are read again.
  const std::vector<ChoiceKey>& choice_keys() const;
  // The fudge of the card at `place`, read from its choice key while the
  // map tracks its records (the key then holds what the record holds), from
  // the record otherwise.
  std::optional<std::int64_t> choice_fudge(std::size_t place) const;
  // The card at `place`; nullptr for the place of an erased card.
  const Entry* entry_at(std::size_t place) const {
    return places_[place] ? &*places_[place] : nullptr;
  }

  // Gives the cards the fudges `values.at(first)`, `values.at(first + 1)`,
  // ... in card order. The map notes the permutation alone, and each record
  // reads its value when asked (see MapLink). Without a period the map
  // first starts one (see forget_changes()), which links every record to its
  // place.
  void renew_fudges(const FudgePermutation& values, std::size_t first);

  // ---- changes ----

  // The current period, a number no other period of any map had; none
  // when there is no period.
  std::optional<std::uint64_t> change_period() const;
  // The cards changed in the period, in card order, each once; empty when
  // there is no period.
  std::vector<PositionedEntry> changed_cards() const;
  // The cards erased in the period, each with its position when it was
  // first erased.
  const std::unordered_map<std::string, std::size_t>& erased_cards() const { return erased_; }
  // Starts a new period in which no card counts as changed, and returns it.
  // Without a period the map first takes over the tracking of each of its
  // records (a map that tracked one loses its period); while it holds one
  // record under two names, it gets no period and returns none.
  std::optional<std::uint64_t> forget_changes();

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  using Positions = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;

  // Drops the places of erased cards and renumbers the positions.
  void compact();
  MapLog& log();
  // Links `record` to this map at `place` and marks it. A map that tracked
  // the record elsewhere loses its period.
  void track(const CardRef& record, std::size_t place);
  // Unlinks the record at `place` when it is linked there.
  void untrack(const CardRef& record, std::size_t place);
  bool tracks_at(const CardRef& record, std::size_t place) const;
  void untrack_all();
  // Links every record to its place; false when a record is held twice.
  bool track_all();

  // Every card in order; an erased card leaves an empty place until the
  // next compaction, unless it was the last.
  std::vector<std::optional<Entry>> places_;
  // The place of each card in `places_`.
  Positions positions_;
  // Where the records report their changes; made at the first insertion and
  // kept at one address, since the records point to it.
  std::unique_ptr<MapLog> log_;
  std::unordered_map<std::string, std::size_t> erased_;

  // Reads the choice keys of every record again.
  void read_all_choice_keys() const;
  // Reads the choice key at `place` from its record, which counts as read.
  void read_choice_key(std::size_t place) const;
  mutable std::vector<ChoiceKey> choice_keys_;
  // How often the map had lost track when it last read every key; none
  // when the keys must be read again.
  mutable std::optional<std::uint64_t> choice_keys_tracked_since_;
};

// A map with a deep copy of every record, sharing nothing with `cards`.
CardMap deep_copy(const CardMap& cards);

}  // namespace tavo::kk
