// The card holder's list operations.
#include "karteikarten/cards/kartenhalter.hpp"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

namespace tavo::kk {
namespace {

// Card data is compared as the host compares mappings: the same record, or
// two records whose mappings hold equal values under equal keys.
bool same_card_data(const CardRef& a, const CardRef& b) {
  if (a == b) return true;
  if (!a || !b) return false;
  return Value(card_record_to_value(*a)) == Value(card_record_to_value(*b));
}

bool same_pair(const Entry& a, const Entry& b) {
  return a.name == b.name && a.fudge == b.fudge && same_card_data(a.data, b.data);
}

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
  // Equal pairs have equal names, so only the pairs held under a name are
  // compared with a pair of that name.
  std::unordered_multimap<std::string, std::size_t> held;
  for (std::size_t i = 0; i < daten->size(); ++i) held.emplace((*daten)[i].name, i);
  for (const Entry& pair : *other.daten) {
    const auto [first, last] = held.equal_range(pair.name);
    const bool known = std::any_of(first, last, [&](const auto& named) {
      return same_pair((*daten)[named.second], pair);
    });
    if (known) continue;
    held.emplace(pair.name, daten->size());
    daten->push_back(pair);
  }
}

}  // namespace tavo::kk
