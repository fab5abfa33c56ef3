// Deck import: its plan and its application; and the registration of
// stored collections.
#include "karteikarten/frame/decks.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "karteikarten/collection/haendesammlung_vergessen.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/stable_hash.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

bool is_name_character(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A stored card as a plan reads it.
struct StoredDeckCard {
  std::string name;
  std::string question;
  std::string answer;
  bool answered = false;
};

std::vector<StoredDeckCard> stored_cards(platform::Environment& env, const std::string& name) {
  std::vector<StoredDeckCard> cards;
  const SammlungRef sammlung = PickleDump(env).get_haendesammlung(name).first;
  if (sammlung == nullptr) return cards;
  for (const auto& [card_name, record] : sammlung->karten) {
    cards.push_back({card_name, record->fragetext.value_or(""), record->antworttext.value_or(""),
                     !record->karte_ist_neu});
  }
  return cards;
}

// ValueError when two cards of `deck` ask the same question.
void check_distinct_questions(const std::vector<platform::DeckCard>& deck) {
  std::unordered_map<std::string_view, std::size_t> line_of_question;
  for (const platform::DeckCard& card : deck) {
    const auto [earlier, inserted] = line_of_question.emplace(card.fragetext, card.line);
    if (!inserted) {
      throw ValueError("the cards of lines " + std::to_string(earlier->second) + " and " +
                       std::to_string(card.line) + " ask the same question");
    }
  }
}

using StoredByQuestion = std::unordered_map<std::string_view, const StoredDeckCard*>;

const StoredDeckCard* asking(const StoredByQuestion& stored, std::string_view question) {
  const auto found = stored.find(question);
  return found == stored.end() ? nullptr : found->second;
}

// The stored card each rename keeps, by its new question. DeckRenameError
// for the first rename that cannot be applied.
StoredByQuestion renamed_cards(const std::vector<DeckRename>& renames,
                               const StoredByQuestion& stored,
                               const std::unordered_set<std::string_view>& asked) {
  using Problem = DeckRenameError::Problem;
  StoredByQuestion by_new_question;
  std::unordered_set<std::string_view> old_questions;
  for (const DeckRename& rename : renames) {
    const StoredDeckCard* card = asking(stored, rename.old_question);
    if (!old_questions.insert(rename.old_question).second) {
      throw DeckRenameError(Problem::old_question_twice, rename.old_question);
    }
    if (card == nullptr) throw DeckRenameError(Problem::old_question_not_stored, rename.old_question);
    if (asked.contains(rename.old_question)) {
      throw DeckRenameError(Problem::old_question_in_deck, rename.old_question);
    }
    if (!asked.contains(rename.new_question)) {
      throw DeckRenameError(Problem::new_question_not_in_deck, rename.new_question);
    }
    if (asking(stored, rename.new_question) != nullptr ||
        !by_new_question.emplace(rename.new_question, card).second) {
      throw DeckRenameError(Problem::new_question_taken, rename.new_question);
    }
  }
  return by_new_question;
}

// The card `deck_card` becomes: the stored card asking its question, else
// the stored card a rename gives its question, else a new one (named
// later).
PlannedDeckCard planned_card(const platform::DeckCard& deck_card, const StoredByQuestion& stored,
                             const StoredByQuestion& renamed) {
  if (const StoredDeckCard* card = asking(stored, deck_card.fragetext)) {
    const bool same = card->answer == deck_card.antworttext;
    return {deck_card, card->name, same ? DeckCardChange::unchanged : DeckCardChange::changed, ""};
  }
  if (const StoredDeckCard* card = asking(renamed, deck_card.fragetext)) {
    return {deck_card, card->name, DeckCardChange::renamed, card->question};
  }
  return {deck_card, "", DeckCardChange::added, ""};
}

// The name of a new card asking `question`: "<collection>-<key>", unless a
// stored card or another new one holds it (a card renamed from that
// question keeps its name); then the key is made from the question and a
// count.
std::string new_card_name(const std::string& collection, const std::string& question,
                          std::unordered_set<std::string>& taken) {
  std::string card_name = collection + "-" + deck_card_key(question);
  for (int count = 2; taken.contains(card_name); ++count) {
    card_name = collection + "-" + deck_card_key(question + "\n" + std::to_string(count));
  }
  taken.insert(card_name);
  return card_name;
}

// The plan's cards by card name, as the hand module of the collection.
Dict deck_module(const DeckImportPlan& plan) {
  Dict modul;
  for (const PlannedDeckCard& card : plan.cards) {
    modul.set(card.card_name, Dict{{"fragetext", card.deck_card.fragetext},
                                   {"antworttext", card.deck_card.antworttext}});
  }
  return modul;
}

std::string problem_text(DeckRenameError::Problem problem, const std::string& question) {
  using Problem = DeckRenameError::Problem;
  switch (problem) {
    case Problem::old_question_not_stored: return "no stored card asks " + repr(question);
    case Problem::old_question_in_deck: return "the deck still asks " + repr(question);
    case Problem::old_question_twice: return repr(question) + " is renamed twice";
    case Problem::new_question_not_in_deck: return "the deck does not ask " + repr(question);
    case Problem::new_question_taken: return "another card asks " + repr(question) + " already";
  }
  return repr(question);
}

}  // namespace

DeckRenameError::DeckRenameError(Problem problem, std::string question)
    : ValueError("cannot rename: " + problem_text(problem, question)),
      problem_(problem),
      question_(std::move(question)) {}

DeckImport DeckImportPlan::counts() const {
  DeckImport counts;
  for (const PlannedDeckCard& card : cards) {
    switch (card.change) {
      case DeckCardChange::added: ++counts.added; break;
      case DeckCardChange::changed: ++counts.changed; break;
      case DeckCardChange::renamed: ++counts.renamed; break;
      case DeckCardChange::unchanged: ++counts.unchanged; break;
    }
  }
  counts.removed = removed.size();
  return counts;
}

std::vector<RemovedDeckCard> DeckImportPlan::answered_removed() const {
  std::vector<RemovedDeckCard> answered;
  std::copy_if(removed.begin(), removed.end(), std::back_inserter(answered),
               [](const RemovedDeckCard& card) { return card.answered; });
  return answered;
}

std::string deck_card_key(const std::string& fragetext) {
  char key[13];
  std::snprintf(
      key, sizeof key, "%012llx",
      static_cast<unsigned long long>(platform::stable_hash(fragetext) & 0xffffffffffffULL));
  return key;
}

void check_collection_name(const std::string& name) {
  bool plain = !name.empty() && name.size() <= 64;
  for (const char c : name) plain = plain && is_name_character(c);
  if (!plain) {
    throw ValueError("collection name " + repr(name) +
                     " must be 1 to 64 letters, digits and underscores");
  }
  if (name.ends_with(kk::forgotten_suffix)) {
    throw ValueError("collection name " + repr(name) +
                     " must not end in \"_vergessen\", which names forgotten-cards drills");
  }
}

DeckImportPlan plan_deck_import(platform::Environment& env,
                                const std::vector<platform::DeckCard>& deck,
                                const std::string& name, const std::vector<DeckRename>& renames) {
  check_collection_name(name);
  check_distinct_questions(deck);
  const std::vector<StoredDeckCard> stored = stored_cards(env, name);
  StoredByQuestion stored_by_question;
  for (const StoredDeckCard& card : stored) stored_by_question.emplace(card.question, &card);
  std::unordered_set<std::string_view> asked;
  for (const platform::DeckCard& card : deck) asked.insert(card.fragetext);
  const StoredByQuestion renamed = renamed_cards(renames, stored_by_question, asked);

  DeckImportPlan plan{name, {}, {}};
  std::unordered_set<std::string> taken;
  for (const StoredDeckCard& card : stored) taken.insert(card.name);
  std::unordered_set<std::string_view> kept;
  for (const platform::DeckCard& deck_card : deck) {
    PlannedDeckCard card = planned_card(deck_card, stored_by_question, renamed);
    if (card.change == DeckCardChange::added) {
      card.card_name = new_card_name(name, deck_card.fragetext, taken);
    }
    plan.cards.push_back(std::move(card));
  }
  for (const PlannedDeckCard& card : plan.cards) kept.insert(card.card_name);
  for (const StoredDeckCard& card : stored) {
    if (!kept.contains(card.name)) plan.removed.push_back({card.name, card.question, card.answered});
  }
  return plan;
}

DeckImport import_deck(Karteikartenverwaltung& kkv, const DeckImportPlan& plan) {
  const std::string& name = plan.collection;
  check_collection_name(name);
  if (kkv.hc.get_richtige_sammlung(name) != nullptr) {
    throw ValueError("collection " + repr(name) + " is already registered");
  }
  const Dict modul = deck_module(plan);
  kkv.add_haendesammlung(modul, name);
  const SammlungRef sammlung = kkv.hc.sammlung_named(name);
  for (const std::string& card_name : sammlung->karten.names()) {
    if (!modul.contains(card_name)) sammlung->karten.erase(card_name);
  }
  // A stored card keeps its stored texts in the merge; it takes the deck's.
  for (const PlannedDeckCard& card : plan.cards) {
    const CardRef& record = sammlung->karten.at(card.card_name);
    const platform::DeckCard& texts = card.deck_card;
    if (record->fragetext != texts.fragetext || record->antworttext != texts.antworttext) {
      CardRecord& changed = record.edit();
      changed.fragetext = texts.fragetext;
      changed.antworttext = texts.antworttext;
    }
  }
  kkv.hc.dictionary_speichern_richtige_sammlung(name, None);
  return plan.counts();
}

DeckImport import_deck(Karteikartenverwaltung& kkv, const std::vector<platform::DeckCard>& deck,
                       const std::string& name) {
  return import_deck(kkv, plan_deck_import(kkv.environment(), deck, name));
}

void add_stored_haendesammlung(Karteikartenverwaltung& kkv, const std::string& name) {
  const std::vector<std::string> stored = PickleDump(kkv.environment()).stored_collection_names();
  if (std::find(stored.begin(), stored.end(), name) == stored.end()) {
    throw KeyError("no stored collection " + repr(name), name);
  }
  // Registration without hand data takes every stored card as stored.
  kkv.add_haendesammlung(Dict{}, name);
}

std::vector<std::string> stored_deck_collections(platform::Environment& env) {
  std::vector<std::string> names;
  for (std::string& name : PickleDump(env).stored_collection_names()) {
    if (!name.ends_with(kk::forgotten_suffix)) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace tavo::kk
