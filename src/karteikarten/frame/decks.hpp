// Question/answer decks as collections: importing a deck into a stored
// collection, and registering stored collections with a manager.
//
// A deck card becomes the card "<collection>-<key>", where the key is made
// from the card's question alone. Re-importing a deck therefore keeps the
// learning state of every card whose question stayed, takes over a changed
// answer, adds the cards with new questions and removes those whose
// questions are gone.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/deck_file.hpp"

namespace tavo::kk {

// What an import did to the collection's cards.
struct DeckImport {
  std::size_t added = 0;
  std::size_t changed = 0;
  std::size_t unchanged = 0;
  std::size_t removed = 0;
};

// The card key of a deck card with the question `fragetext`: twelve
// lower-case hexadecimal digits, the same for the same question.
std::string deck_card_key(const std::string& fragetext);

// ValueError unless `name` can name a deck's collection: one to 64
// letters, digits and underscores, not ending in "_vergessen" (the name
// of a forgotten-cards drill).
void check_collection_name(const std::string& name);

// Makes the collection `name` hold exactly the cards of `deck`, in deck
// order, registers it with `kkv` as the current collection and stores it.
// ValueError for a bad name or two questions with the same key; then
// nothing is registered or stored.
DeckImport import_deck(Karteikartenverwaltung& kkv, const std::vector<platform::DeckCard>& deck,
                       const std::string& name);

// Registers the stored collection `name` with `kkv`, its cards made from
// their stored texts. KeyError "no stored collection 'name'" when nothing
// is stored under the name.
void add_stored_haendesammlung(Karteikartenverwaltung& kkv, const std::string& name);

// The stored collections a learning session offers: every stored one but
// the forgotten-cards drills ("_vergessen"), in name order.
std::vector<std::string> stored_deck_collections(platform::Environment& env);

}  // namespace tavo::kk
