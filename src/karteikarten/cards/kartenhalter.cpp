// The card holder's list operations.
#include "karteikarten/cards/kartenhalter.hpp"

#include <algorithm>
#include <functional>
#include <unordered_set>
#include <utility>

namespace tavo::kk {
namespace {

// Hashes an entry by its record and name, so that equal entries hash alike.
struct EntryHash {
  std::size_t operator()(const Entry& entry) const {
    return std::hash<const CardRecord*>{}(entry.data.get()) ^
           (std::hash<std::string>{}(entry.name) * 31);
  }
};

}  // namespace

void Kartenhalter::add_karte(std::string bezeichner, CardRef data) {
  daten->push_back(Entry{std::nullopt, std::move(data), std::move(bezeichner)});
}

void Kartenhalter::convert_to_identifier() {
  if (daten->empty()) return;
  Daten triples;
  triples.reserve(daten->size());
  for (const Entry& pair : *daten) triples.push_back(triple_of(pair));
  daten_identifier = std::move(triples);
}

Kartenhalter::Daten& Kartenhalter::get_identifier() {
  if (daten_identifier.empty()) convert_to_identifier();
  return daten_identifier;
}

std::vector<std::string> Kartenhalter::get_bezeichner() const {
  std::vector<std::string> names;
  names.reserve(daten->size());
  for (const Entry& pair : *daten) names.push_back(pair.name);
  return names;
}

std::vector<CardRef> Kartenhalter::get_karten() const {
  std::vector<CardRef> records;
  records.reserve(daten->size());
  for (const Entry& pair : *daten) records.push_back(pair.data);
  return records;
}

bool Kartenhalter::enthaelt_bezeichner(std::string_view bezeichner) const {
  return std::any_of(daten->begin(), daten->end(),
                     [&](const Entry& pair) { return pair.name == bezeichner; });
}

void Kartenhalter::add(const Kartenhalter& other) {
  // Indexes stay valid when `other` shares this holder's list, since the
  // reserved space is never reallocated while appending.
  const Daten& added = *other.daten;
  const std::size_t count = added.size();
  daten->reserve(daten->size() + count);
  for (std::size_t i = 0; i < count; ++i) daten->push_back(added[i]);
}

void Kartenhalter::intersect(const Kartenhalter& other) {
  if (daten->empty()) {
    daten = other.daten;
    return;
  }
  if (daten == other.daten) return;
  std::unordered_set<Entry, EntryHash> held(daten->begin(), daten->end());
  for (const Entry& pair : *other.daten) {
    if (held.insert(pair).second) daten->push_back(pair);
  }
}

}  // namespace tavo::kk
