// Kartenhalter: a set of cards that a collection or the distribution
// analyzer hands out, each card's record together with its name.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "karteikarten/cards/entry.hpp"

namespace tavo::kk {

// Holds cards with their names ("Bezeichner"), in insertion order. The
// records are the collection's own: a change made through a holder is a
// change of the stored card.
class Kartenhalter {
 public:
  using Daten = std::vector<Entry>;

  // Appends the pair (data, bezeichner); note that the name comes first
  // here and second in the pair.
  void add_karte(std::string bezeichner, CardRef data);

  // Replaces `daten_identifier` with the triple of every pair of `daten`,
  // in order, each with the fudge its record holds now. Does nothing while
  // `daten` is empty. KeyError "'fudge'" for a record without one, leaving
  // `daten_identifier` as it was.
  void convert_to_identifier();

  // `daten_identifier` itself, converted first while it is empty. Once
  // built it stays as it is: cards added later do not appear in it.
  Daten& get_identifier();

  // The names, in order.
  std::vector<std::string> get_bezeichner() const;
  // The records, in order.
  std::vector<CardRef> get_karten() const;
  bool enthaelt_bezeichner(std::string_view bezeichner) const;
  // The number of pairs.
  std::size_t get_laenge() const { return daten->size(); }
  // `daten` itself, the list object that holders may share.
  const std::shared_ptr<Daten>& get_daten() const { return daten; }

  // Appends every pair of `other` (a pair held by both then occurs twice).
  void add(const Kartenhalter& other);

  // Despite its name, the union: an empty holder takes `other`'s list
  // itself, so that later additions through either holder show in both;
  // otherwise each pair of `other` not yet held is appended, in `other`'s
  // order. Pairs are equal when their names are and their card data are
  // equal mappings, whether or not they share one record.
  void intersect(const Kartenhalter& other);

  // The pairs (card data, name), possibly shared with other holders.
  std::shared_ptr<Daten> daten = std::make_shared<Daten>();
  // The triples (fudge, card data, name), built on first request.
  Daten daten_identifier;
};

}  // namespace tavo::kk
