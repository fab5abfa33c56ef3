// Question/answer decks as collections: planning and applying the import
// of a deck into a stored collection, and registering stored collections
// with a manager.
//
// Cards are told apart by their questions. A deck card whose question a
// stored card of the collection asks is that card: it keeps its name and
// learning state and takes over the deck's answer. A deck card with a new
// question becomes the card "<collection>-<key>", the key made from its
// question. A stored card whose question the deck no longer asks is
// removed, unless a rename keeps it: a question corrected in the deck. The
// renamed card keeps its name, and with it its learning state and the
// answers the answer log keeps under that name, and takes the new question
// and the deck's answer.
//
// The plan of an import is made from the store alone and changes nothing,
// so that a host can show it, or ask before an import removes cards that
// were learnt.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/deck_file.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

// A stored card kept under a corrected question: the question it has in
// the store, and the question that the deck asks now.
struct DeckRename {
  std::string old_question;
  std::string new_question;
};

// What an import does to a card of the deck.
enum class DeckCardChange {
  // A question no stored card asks: a new card.
  added,
  // A stored card's question, with another answer.
  changed,
  // A stored card given the deck's question (and answer) by a rename.
  renamed,
  // A stored card's question and answer.
  unchanged,
};

// A card of the deck and the card it becomes.
struct PlannedDeckCard {
  platform::DeckCard deck_card;
  std::string card_name;
  DeckCardChange change = DeckCardChange::added;
  // The stored question of a renamed card; empty for any other.
  std::string old_question;
};

// A stored card whose question the deck no longer asks.
struct RemovedDeckCard {
  std::string card_name;
  std::string question;
  // Whether the card was answered at least once: its record no longer
  // says it was never answered ("karte_ist_neu"). An answer taken back
  // leaves the card as it was before. Removing an answered card loses its
  // learning state.
  bool answered = false;
};

// How many cards of each kind an import has.
struct DeckImport {
  std::size_t added = 0;
  std::size_t changed = 0;
  std::size_t renamed = 0;
  std::size_t unchanged = 0;
  std::size_t removed = 0;
};

// What importing a deck into a collection does, card by card.
struct DeckImportPlan {
  std::string collection;
  // The deck's cards, in deck order.
  std::vector<PlannedDeckCard> cards;
  // In the stored card order.
  std::vector<RemovedDeckCard> removed;

  DeckImport counts() const;
  // The removed cards that were answered, in the stored card order.
  std::vector<RemovedDeckCard> answered_removed() const;
};

// A rename the deck and the store do not allow. Nothing is changed then.
class DeckRenameError : public ValueError {
 public:
  enum class Problem {
    // No stored card of the collection asks the old question.
    old_question_not_stored,
    // The deck still asks the old question: its card stays as it is.
    old_question_in_deck,
    // Two renames name the same old question.
    old_question_twice,
    // The deck does not ask the new question.
    new_question_not_in_deck,
    // A stored card asks the new question already, or another rename
    // names it.
    new_question_taken,
  };

  DeckRenameError(Problem problem, std::string question);

  Problem problem() const noexcept { return problem_; }
  const std::string& question() const noexcept { return question_; }

 private:
  Problem problem_;
  std::string question_;
};

// The card key of a deck card with the question `fragetext`: twelve
// lower-case hexadecimal digits, the same for the same question.
std::string deck_card_key(const std::string& fragetext);

// ValueError unless `name` can name a deck's collection: one to 64
// letters, digits and underscores, not ending in "_vergessen" (the name
// of a forgotten-cards drill).
void check_collection_name(const std::string& name);

// What importing `deck` into the collection `name` stored in `env` does,
// with `renames` applied. Only reads the store; a collection that is not
// stored gets every card as new. ValueError for a bad name or two deck
// cards with the same question; DeckRenameError for a rename that cannot
// be applied. db::Error when the store cannot be read.
DeckImportPlan plan_deck_import(platform::Environment& env,
                                const std::vector<platform::DeckCard>& deck,
                                const std::string& name,
                                const std::vector<DeckRename>& renames = {});

// Makes the collection of `plan` hold exactly the plan's cards, in deck
// order, registers it with `kkv` as the current collection and stores it.
// The plan is to be made from the store as it is (under the host's lock,
// if others write there). ValueError for a bad name or a collection
// already registered; then nothing is registered or stored. The counts of
// the plan.
DeckImport import_deck(Karteikartenverwaltung& kkv, const DeckImportPlan& plan);

// Plans the import of `deck` into `name` without renames and applies it:
// every stored card whose question is gone is removed.
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
