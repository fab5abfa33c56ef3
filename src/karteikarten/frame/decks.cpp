// Deck import and the registration of stored collections.
#include "karteikarten/frame/decks.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

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

// The deck's cards by card name, as the hand module of the collection.
// ValueError when two questions share a key.
Dict deck_module(const std::vector<platform::DeckCard>& deck, const std::string& name) {
  Dict modul;
  std::unordered_map<std::string, std::size_t> line_of_key;
  for (const platform::DeckCard& card : deck) {
    const std::string key = deck_card_key(card.fragetext);
    const auto [earlier, inserted] = line_of_key.emplace(key, card.line);
    if (!inserted) {
      throw ValueError("the questions of lines " + std::to_string(earlier->second) + " and " +
                       std::to_string(card.line) + " give the same card key; reword one of them");
    }
    modul.set(name + "-" + key,
              Dict{{"fragetext", card.fragetext}, {"antworttext", card.antworttext}});
  }
  return modul;
}

}  // namespace

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

DeckImport import_deck(Karteikartenverwaltung& kkv, const std::vector<platform::DeckCard>& deck,
                       const std::string& name) {
  check_collection_name(name);
  if (kkv.hc.get_richtige_sammlung(name) != nullptr) {
    throw ValueError("collection " + repr(name) + " is already registered");
  }
  const Dict modul = deck_module(deck, name);
  kkv.add_haendesammlung(modul, name);
  const SammlungRef sammlung = kkv.hc.sammlung_named(name);

  DeckImport result;
  for (const std::string& card_name : sammlung->karten.names()) {
    if (!modul.contains(card_name)) {
      sammlung->karten.erase(card_name);
      ++result.removed;
    }
  }
  std::unordered_set<std::string_view> stored;
  for (const kk::StoredCardFingerprint& card : sammlung->stored.cards) {
    stored.insert(card.name);
  }
  for (const platform::DeckCard& card : deck) {
    const std::string card_name = name + "-" + deck_card_key(card.fragetext);
    const CardRef& record = sammlung->karten.at(card_name);
    if (!stored.contains(card_name)) {
      ++result.added;
    } else if (record->fragetext != card.fragetext || record->antworttext != card.antworttext) {
      CardRecord& changed = record.edit();
      changed.fragetext = card.fragetext;
      changed.antworttext = card.antworttext;
      ++result.changed;
    } else {
      ++result.unchanged;
    }
  }
  kkv.hc.dictionary_speichern_richtige_sammlung(name, None);
  return result;
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
