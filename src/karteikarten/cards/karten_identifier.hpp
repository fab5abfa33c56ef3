// Karten_Identifier: the cards of one collection identified for the card
// choice, each with its fudge, record, name and collection name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "karteikarten/cards/entry.hpp"
#include "platform/diagnostics.hpp"

namespace tavo::kk {

// A quadruple (fudge, card data, name, collection name).
struct IdentifiedCard {
  std::int64_t fudge;
  CardRef data;
  std::string name;
  std::string sammlungsname;

  friend bool operator==(const IdentifiedCard&, const IdentifiedCard&) = default;
};

// The identified cards of the collection `sammlungsname`, in insertion
// order. The records are shared with the collection, never copied.
class Karten_Identifier {
 public:
  explicit Karten_Identifier(std::string sammlungsname);

  // Appends (fudge, karte, kartenname, sammlungsname).
  void add(std::int64_t fudge, CardRef karte, std::string kartenname);

  // Adds each triple of `liste` in order. IndexError "tuple index out of
  // range" at the first entry without a fudge (a pair); the entries before
  // it stay added.
  void add_liste(const std::vector<Entry>& liste);

  // Adds each entry of `liste` in order: a triple with its own fudge, a pair
  // with the fudge its record holds now (KeyError "'fudge'" when it has
  // none; the entries before it stay added). A triple without a record
  // fails the debug check of `diagnostics`. A host element of another
  // length is rejected when the binding converts it ("Element sollte Laenge
  // 2 oder 3 haben").
  void add_two_tuple_list(const platform::Diagnostics& diagnostics,
                          const std::vector<Entry>& liste);

  // Prints the name of each card through the output sink of `diagnostics`,
  // one line each.
  void print_liste(const platform::Diagnostics& diagnostics) const;

  // The triples (fudge, card data, name), in order.
  std::vector<Entry> get_3er_liste() const;

  std::string sammlungsname;
  std::vector<IdentifiedCard> liste;
};

}  // namespace tavo::kk
