// Selection of the entries with the smallest fudge.
#include "karteikarten/cards/heap_umwandler.hpp"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <utility>

#include "value/errors.hpp"

namespace tavo::kk {
namespace {

// The `anzahl` entries of `entries` with the smallest `fudges` (one per
// entry), ascending, as triples.
Heap_umwandler::Liste smallest(const Heap_umwandler::Liste& entries,
                               const std::vector<std::int64_t>& fudges, std::int64_t anzahl) {
  const std::size_t count =
      static_cast<std::size_t>(std::clamp<std::int64_t>(anzahl, 0, std::ssize(entries)));
  std::vector<std::size_t> places(entries.size());
  std::iota(places.begin(), places.end(), std::size_t{0});
  const auto less = [&](std::size_t a, std::size_t b) {
    if (fudges[a] != fudges[b]) return fudges[a] < fudges[b];
    if (entries[a].name != entries[b].name) return entries[a].name < entries[b].name;
    return a < b;
  };
  const auto chosen = places.begin() + static_cast<std::ptrdiff_t>(count);
  std::partial_sort(places.begin(), chosen, places.end(), less);

  Heap_umwandler::Liste triples;
  triples.reserve(count);
  for (auto place = places.begin(); place != chosen; ++place) {
    triples.push_back(Entry{fudges[*place], entries[*place].data, entries[*place].name});
  }
  return triples;
}

}  // namespace

Heap_umwandler::Heap_umwandler(std::shared_ptr<const Liste> liste, std::int64_t anzahl)
    : liste(std::move(liste)), anzahl(anzahl) {}

Heap_umwandler::Heap_umwandler(Liste liste, std::int64_t anzahl)
    : Heap_umwandler(std::make_shared<const Liste>(std::move(liste)), anzahl) {}

Heap_umwandler::Liste Heap_umwandler::do_() const {
  std::vector<std::int64_t> fudges;
  fudges.reserve(liste->size());
  for (const Entry& pair : *liste) {
    if (pair.fudge) throw ValueError("too many values to unpack");
    fudges.push_back(stored_fudge(pair.data));
  }
  return smallest(*liste, fudges, anzahl);
}

Heap_umwandler::Liste Heap_umwandler::do_from_list() const {
  if (liste->empty()) return {};
  if (!check_int()) return do_();
  std::vector<std::int64_t> fudges;
  fudges.reserve(liste->size());
  for (const Entry& triple : *liste) fudges.push_back(*triple.fudge);
  return smallest(*liste, fudges, anzahl);
}

bool Heap_umwandler::check_int() const {
  return std::all_of(liste->begin(), liste->end(),
                     [](const Entry& entry) { return entry.fudge.has_value(); });
}

}  // namespace tavo::kk
