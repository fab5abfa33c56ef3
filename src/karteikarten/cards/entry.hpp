// Entry: a card as it travels between collections, holders and the card
// choice, with the record it refers to and its name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "karteikarten/cards/card_ref.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

// A pair (card data, name) when `fudge` is empty, a triple (fudge, card
// data, name) when it is set. The record is shared with the collection,
// never copied, so that a change made through an entry changes the card.
struct Entry {
  std::optional<std::int64_t> fudge;
  CardRef data;
  std::string name;

  // Entries are equal when they hold the same record under the same name
  // with the same fudge.
  friend bool operator==(const Entry&, const Entry&) = default;
};

// The "fudge" value of the card data `data`: KeyError "'fudge'" while the
// record has none, TypeError when there is no record.
inline std::int64_t stored_fudge(const CardRef& data) {
  if (!data) throw TypeError("'NoneType' object has no attribute '__getitem__'");
  const std::optional<std::int64_t> fudge = data->fudge();
  if (!fudge) throw KeyError(Value("fudge"));
  return *fudge;
}

// The triple of `pair`, with the fudge its card data holds now.
inline Entry triple_of(const Entry& pair) {
  return Entry{stored_fudge(pair.data), pair.data, pair.name};
}

}  // namespace tavo::kk
