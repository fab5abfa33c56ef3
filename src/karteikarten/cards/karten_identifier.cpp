// The identified cards of one collection.
#include "karteikarten/cards/karten_identifier.hpp"

#include <utility>

#include "value/errors.hpp"

namespace tavo::kk {

Karten_Identifier::Karten_Identifier(std::string sammlungsname)
    : sammlungsname(std::move(sammlungsname)) {}

void Karten_Identifier::add(std::int64_t fudge, CardRef karte, std::string kartenname) {
  liste.push_back(IdentifiedCard{fudge, std::move(karte), std::move(kartenname), sammlungsname});
}

void Karten_Identifier::add_liste(const std::vector<Entry>& liste) {
  for (const Entry& triple : liste) {
    if (!triple.fudge) throw IndexError("tuple index out of range");
    add(*triple.fudge, triple.data, triple.name);
  }
}

void Karten_Identifier::add_two_tuple_list(const platform::Diagnostics& diagnostics,
                                           const std::vector<Entry>& liste) {
  for (const Entry& element : liste) {
    if (element.fudge) {
      diagnostics.check(element.data != nullptr);
      add(*element.fudge, element.data, element.name);
    } else {
      add(stored_fudge(element.data), element.data, element.name);
    }
  }
}

void Karten_Identifier::print_liste(const platform::Diagnostics& diagnostics) const {
  for (const IdentifiedCard& card : liste) diagnostics.print_line(card.name);
}

std::vector<Entry> Karten_Identifier::get_3er_liste() const {
  std::vector<Entry> triples;
  triples.reserve(liste.size());
  for (const IdentifiedCard& card : liste)
    triples.push_back(Entry{card.fudge, card.data, card.name});
  return triples;
}

}  // namespace tavo::kk
