// A collection's cards: card name to shared record, in insertion order.
#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "karteikarten/cards/card_record.hpp"

namespace tavo::kk {

// An insertion-ordered mapping from card name to CardRef with constant-time
// lookup. Copying a CardMap copies the mapping, not the records: both maps
// then share every record. Erasing keeps the order of the other cards and
// costs amortised constant time, so that erasing most cards of a large map
// one by one stays linear. `set` and `erase` invalidate iterators.
class CardMap {
 public:
  using Entry = std::pair<std::string, CardRef>;

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

  std::size_t size() const { return positions_.size(); }
  bool empty() const { return positions_.empty(); }
  bool contains(std::string_view name) const;
  // The record of `name`, or nullptr.
  CardRef find(std::string_view name) const;
  // The record of `name`; KeyError (the name's repr) when absent.
  const CardRef& at(std::string_view name) const;
  // Inserts or replaces; a replaced card keeps its position.
  void set(std::string name, CardRef record);
  // Removes the card; KeyError when absent.
  void erase(std::string_view name);
  void clear();
  // Makes room for `count` cards without rehashing.
  void reserve(std::size_t count);

  std::vector<std::string> names() const;
  const_iterator begin() const { return const_iterator(places_.begin(), places_.end()); }
  const_iterator end() const { return const_iterator(places_.end(), places_.end()); }

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

  // Every card in order; an erased card leaves an empty place until the
  // next compaction.
  std::vector<std::optional<Entry>> places_;
  // The place of each card in `places_`.
  Positions positions_;
};

// A map with a deep copy of every record, sharing nothing with `cards`.
CardMap deep_copy(const CardMap& cards);

}  // namespace tavo::kk
