// Heap_umwandler: picks the cards with the smallest fudge out of a list of
// pairs or triples.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "karteikarten/cards/entry.hpp"

namespace tavo::kk {

// Selects the `anzahl` entries of `liste` with the smallest fudge, as
// triples in ascending order. Entries with equal fudge (which the card
// choice never produces) order by name, then by their place in `liste`.
// Selection is a partial sort: picking one card of n costs O(n).
class Heap_umwandler {
 public:
  using Liste = std::vector<Entry>;

  // Picks from `liste` itself, shared with the caller (for example a
  // holder's `daten`).
  explicit Heap_umwandler(std::shared_ptr<const Liste> liste, std::int64_t anzahl = 1);
  // Picks from its own copy of `liste`.
  explicit Heap_umwandler(Liste liste, std::int64_t anzahl = 1);

  // For a list of pairs: the `anzahl` smallest of their triples, each with
  // the fudge its record holds now. KeyError "'fudge'" for a record without
  // one; ValueError "too many values to unpack" for an entry that is
  // already a triple. (The host calls this `do`.)
  Liste do_() const;

  // The `anzahl` smallest triples whatever the form of `liste`: of the
  // entries themselves when every one is a triple, else as do_().
  Liste do_from_list() const;

  // True when every entry is a triple (an empty list included).
  bool check_int() const;

  std::shared_ptr<const Liste> liste;
  std::int64_t anzahl;
};

}  // namespace tavo::kk
