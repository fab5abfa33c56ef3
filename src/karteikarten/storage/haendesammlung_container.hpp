// HaendesammlungContainer: every registered hand collection, and the
// operations that act on all of them or on the one with a given name.
//
// Collections are identified by their `name`. The by-name operations walk
// the whole list and act on every collection carrying the name; a name that
// no collection carries makes them do nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "karteikarten/cards/karteikarte.hpp"
#include "platform/haendesammlung.hpp"
#include "platform/shelf.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/value.hpp"

namespace tavo::kk {

using platform::SammlungRef;

class HaendesammlungContainer {
 public:
  HaendesammlungContainer(std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
                          std::int64_t vorauslernen, int startzeit_tag);

  // ---- registry and lookup ----

  void add(SammlungRef sammlung);
  // Removes the first entry that is `sammlung`; ValueError
  // "list.remove(x): x not in list" when it is not registered.
  void remove(const SammlungRef& sammlung);
  void remove_alle_haendesammlungen();
  // The first collection named `name`, or nullptr.
  SammlungRef get_richtige_sammlung(const std::string& name) const;
  // The position of the first collection named `name`, or -1. Callers treat
  // -1 as "no such collection", never as an index.
  std::int64_t get_index_from_name(const std::string& name) const;
  // True when some collection's name ends with "vergessen".
  bool check_vergessen() const;
  // A new empty collection with the container's settings, not registered.
  SammlungRef make_new() const;
  // Registers a new empty collection and keeps it as aktuelle_haendesammlung.
  void make_aktuelle_sammlung();
  // Sets the days of learning ahead of every collection.
  void set_vorauslernen_tage(std::int64_t zahl);
  platform::Shelf add_shelve_file(const std::string& filename, bool writeback = false,
                                  const Value& copy = false) const;
  std::string get_shelve_main_directory(const std::string& zusatz) const;

  // Loads the collection `name` for the hand module `modul` (card key to hand
  // data) and registers it. The keys of `modul` are normalised in place to
  // card names ("kk_test-7"). Every card of the module gets the initial
  // learning state; what the store holds for a card (learning state, texts,
  // extra fields) is laid over it, so a card keeps its learning state across
  // sessions and a field that older stored data lacks takes its default.
  // Cards only the store knows stay in the collection.
  void add_haendesammlung(Dict modul, const std::string& name);

  // Gives every card of every collection a new jitter value: the collections
  // share one random permutation of 1..(all cards), each taking the slice
  // that starts at the number of cards before it. Also records each
  // collection's card count in its metadata under
  // "anzahl_neue_karten_in_sammlung_vorhanden".
  void fudge_erneuern();

  // ---- operations on the collections with a given name ----

  void set_metadaten_richtige_sammlung(const std::string& name, const std::string& key,
                                       const Value& wert);
  void remove_from_again_in_queue_metadata_richtige_sammlung(const std::string& name,
                                                             const std::string& key,
                                                             const std::string& wert);
  // With an empty `name`, the collection named by sammlungsort_name. Each
  // match appends (wert, the present moment of the learning day).
  void append_now_to_richtige_sammlung(const std::string& key, const Value& wert,
                                       const std::string& name = "");
  void aendere_karteikarte_in_dictionary_richtige_sammlung(const std::string& name,
                                                           const Karteikarte& karteikarte);
  void dictionary_speichern_richtige_sammlung(const std::string& name, const Value& modus);

  // ---- operations on every collection ----

  // Saves every collection under its own name.
  void dictionary_speichern_alle_sammlungen();
  void set_metadaten_alle_sammlungen(const std::string& key, const Value& wert);
  // Appends "_vergessen" to every collection's name.
  void iterate_change_name();
  // Print, between two lines of 50 asterisks, one line per card of every
  // collection: the card name, a tab, and its due (or fudge) value.
  void iterate_show_due() const;
  void iterate_show_fudge() const;

  std::vector<SammlungRef> liste_aller_sammlungen;
  std::shared_ptr<platform::Zeitberechnungen> zeitberechnung;
  std::int64_t vorauslernen;
  int startzeit_tag;
  // Set only by make_aktuelle_sammlung.
  SammlungRef aktuelle_haendesammlung;
  // Read only by append_now_to_richtige_sammlung without a name.
  std::optional<std::string> sammlungsort_name;

 private:
  template <class Action>
  void for_each_named(const std::string& name, Action action) const;
};

}  // namespace tavo::kk
