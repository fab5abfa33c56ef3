// HaendesammlungContainer: every registered hand collection, and the
// operations that act on all of them or on the one with a given name.
//
// Collections are identified by their `name`. The by-name operations walk
// the whole list and act on every collection carrying the name; a name that
// no collection carries makes them do nothing. During the forgotten-cards
// drill the live collections are named "<name>_vergessen": a name that no
// live collection carries names its forgotten-cards collection when that is
// live, so that the drill's answers land in the drill's own collection.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/cards/card_record.hpp"
#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/storage/recursive_update.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "platform/environment.hpp"
#include "platform/shelf.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/value.hpp"

namespace tavo::kk {

using kk::SammlungRef;

class HaendesammlungContainer {
 public:
  // `env` gives the clock, the store and the diagnostics; it must outlive
  // the container.
  HaendesammlungContainer(platform::Environment& env,
                          std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
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
  // The first collection named `name`; KeyError "no registered collection
  // 'name'" when there is none.
  SammlungRef sammlung_named(const std::string& name) const;
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
  // Cards only the store knows stay in the collection. The day statistics
  // store first applies the answers of the store's log it lacks.
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
  // Saves the collections named `name`; then the day statistics store
  // applies the answers the save logged (a failure there is a warning: the
  // answers are stored, and the next opening applies them).
  void dictionary_speichern_richtige_sammlung(const std::string& name, const Value& modus);
  // The queries below answer for the last collection named `name`.
  // Cards learnt today; 0 when no collection matches.
  std::int64_t anzahl_karte_erfolgreich_gelernt_richtige_sammlung(const std::string& name) const;
  // Reviews learnt today; KeyError when no collection matches.
  std::int64_t erfolgreich_wiederholte_karten_richtige_sammlung(const std::string& name) const;
  // Cards due now; none when no collection matches.
  std::optional<std::int64_t> get_due_today_richtige_sammlung(const std::string& name) const;
  // Cards put due today; none when no collection matches.
  std::optional<std::int64_t> get_anzahl_neue_karte_heute_faellig_gestellt(
      const std::string& name) const;
  // New cards; none when no collection matches.
  std::optional<std::int64_t> get_noch_nicht_due_richtige_sammlung(const std::string& name) const;
  // The collection's name lists of the same query; empty when no collection
  // matches.
  kk::NameList get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung(
      const std::string& name) const;
  kk::NameList
  get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung_due_heute(
      const std::string& name) const;
  kk::NameList get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung(
      const std::string& name, double voraus) const;
  // The records of the collection's cards due within `voraus` seconds, each
  // once; empty when no collection matches.
  std::vector<CardRef> get_faellige_richtige_sammlung(const std::string& name, double voraus) const;
  // Reviews learnt today in the first collection named `name`; KeyError
  // when there is none (an unknown name never selects another collection).
  std::int64_t get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung(
      const std::string& name) const;

  // ---- operations on every collection ----

  // Saves every collection under its own name, and applies the answers
  // logged, as above.
  void dictionary_speichern_alle_sammlungen();
  void set_metadaten_alle_sammlungen(const std::string& key, const Value& wert);
  // Appends "_vergessen" to every collection's name.
  void iterate_change_name();
  // Asks every collection for its forgotten cards and discards the answers.
  void iterate_get_vergessene_karten(double zeitpunkt_vergangenheit) const;
  // One copy per collection, in list order, holding only the cards
  // forgotten ("zuletzt_vergessen") after `zeitpunkt_vergangenheit`.
  std::vector<SammlungRef> iterate_get_cardpointer_vergessene_karten(
      double zeitpunkt_vergangenheit) const;
  // Print, between two lines of 50 asterisks, one line per card of every
  // collection: the card name, a tab, and its due (or fudge) value.
  void iterate_show_due() const;
  void iterate_show_fudge() const;

  // ---- aggregate queries ----
  //
  // Each asks every collection in list order and combines the answers. The
  // sums of today's metadata count a missing or falsy value as 0 and add
  // the others as the host does, so they may be integer or float;
  // TypeError for a value that is not a number.

  // The recursive merge of `u` into `d` (see recursive_update.hpp).
  Dict update(Dict d, const Dict& u) const { return kk::update(std::move(d), u); }

  // Fresh reviews beyond today's allowance, summed.
  std::int64_t iterate_wiederholbare_ueber_grenzwert(std::int64_t grenzwert_neu,
                                                     std::int64_t grenzwert_wiederholungen,
                                                     double voraus) const;
  std::int64_t iterate_anzahl_heute_planmaessig_wiederholte_karten() const;
  std::int64_t iterate_anzahl_insgesamt_planmaessig_wiederholte_karten() const;
  // Today's counter "neu", summed.
  Value iterate_anzahl_neue_karten_heute() const;
  // Today's counter "wiederholt_richtig", summed.
  Value iterate_anzahl_wiederholt_richtig_karten_heute() const;
  // The same sum over all collections, whatever its name says.
  Value anzahl_wiederholt_richtig_karten_heute_richtige_sammlung() const;
  // Today's counter "wiederholt", summed.
  Value iterate_anzahl_wiederholte_karten_heute() const;
  // Today's counter "alt", summed.
  Value iterate_anzahl_alte_karten_heute() const;
  // Today's counter "alt_richtig", summed.
  Value iterate_anzahl_alte_karten_heute_richtig() const;
  // Today's counter "erneut_gelernt", summed.
  Value iterate_anzahl_erneut_gelernte_karten_heute() const;
  // Today's counter "erneut_gelernt_richtig", summed.
  Value iterate_anzahl_erneut_gelernte_karten_heute_richtig() const;
  // Sums of the collections' counts of the same meaning.
  std::int64_t iterate_anzahl_karte_erfolgreich_gelernt() const;
  std::int64_t iterate_anzahl_erfolgreich_wiederholte_karten() const;
  std::int64_t iterate_anzahl_wiederholte_karten() const;
  std::int64_t iterate_anzahl_alte_karten_gleich_richtig_alle() const;
  std::int64_t iterate_anzahl_alte_karten_gleich_richtig_heute() const;
  std::int64_t iterate_anzahl_heute_falsch() const;
  // Cards answered "again" on any stored day, summed over `liste` (the
  // registered collections when null).
  std::int64_t iterate_anzahl_heute_falsch_alle_daten(
      const std::vector<SammlungRef>* liste = nullptr) const;
  std::int64_t iterate_get_anzahl_neue_karten_heute_angesehen() const;
  std::int64_t iterate_get_anzahl_vormals_neu_heute() const;
  std::int64_t iterate_get_anzahl_neue_karten_gleich_richtig() const;
  std::int64_t iterate_anzahl_again_in_queue() const;
  std::int64_t get_anzahl_karten() const;
  // Cards due within `voraus` + vorauslernen, summed; the days of learning
  // ahead are added to the seconds as they are.
  std::int64_t iterate_get_due_today(double voraus = 0) const;
  // Today's new cards in their learning steps, counted.
  std::int64_t iterate_get_neue_karten() const;
  std::int64_t iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig() const;
  // The same, plus the new cards seen today and failed.
  std::int64_t iterate_get_neue_karten_mit_erfolglos() const;
  // The pair (bidding-only cards, other cards), summed.
  std::pair<std::int64_t, std::int64_t> iterate_get_anzahl_karten_reizung_karteikarte() const;
  // The most new cards one collection holds; 0 without collections.
  std::int64_t get_max_neue_karten_vorhanden() const;
  // True when some collection put fewer than `grenzwert` cards due today.
  bool heute_faellig_gestellt_kleiner_grenzwert(std::int64_t grenzwert) const;
  // True when in some collection the cards learnt today that are not
  // reviews number fewer than `grenzwert`.
  bool existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(
      std::int64_t grenzwert) const;
  // Reviews failed today, every collection's list in turn; `faellig` is
  // accepted for the host and not used.
  kk::NameList iterate_get_heute_wiederholt_nicht_erfolgreich(
      const std::optional<kk::NameList>& faellig = std::nullopt) const;
  // Reviews not failed and still due, every collection's list in turn;
  // `faellig` is accepted for the host and not used.
  kk::NameList iterate_get_heute_wiederholt_erfolgreich_noch_faellig(
      const std::optional<kk::NameList>& faellig = std::nullopt) const;
  // The records of every collection's cards due within `voraus` seconds,
  // each once.
  std::vector<CardRef> iterate_get_faellige_cards(double voraus = 0) const;
  // For each collection: the new cards it could still put due under the
  // limit max(grenzwert, new cards seen today), less its new cards; summed.
  // Leaves each collection's neue_dict set to its get_neue_karten_im_umlauf().
  // In debug mode a negative difference fails a check.
  std::int64_t iterate_get_neue_ueber_grenzwert(std::int64_t grenzwert);
  // New cards not seen today, summed. In debug mode a card name listed
  // twice across the collections fails a check.
  std::int64_t iterate_get_anzahl_neu_wird_heute_nicht_gelernt() const;

  std::vector<SammlungRef> liste_aller_sammlungen;
  // The collections parked while the others are live: the normal ones
  // during the forgotten-cards drill, or the drill's ones while the host
  // has switched back to normal.
  std::vector<SammlungRef> archiv_liste_aller_sammlungen;
  std::shared_ptr<platform::Zeitberechnungen> zeitberechnung;
  std::int64_t vorauslernen;
  int startzeit_tag;
  // Set only by make_aktuelle_sammlung.
  SammlungRef aktuelle_haendesammlung;
  // Read only by append_now_to_richtige_sammlung without a name.
  std::optional<std::string> sammlungsort_name;

 private:
  void apply_saved_answers() const;

  platform::Environment& env_;

  // `name`, or "<name>_vergessen" when only that one is live.
  std::string resolved_name(const std::string& name) const;
  template <class Action>
  void for_each_named(const std::string& name, Action action) const;
};

}  // namespace tavo::kk
