// Karteikartenverwaltung: the card administration, the one object through
// which the host runs its learning sessions.
//
// The host creates one manager, registers its hand collections with
// add_haendesammlung and then asks it for cards and reports answers. The
// attributes are public: the host reads and writes them. They are declared,
// and set by the constructor, in the order in which they are built. The
// methods are declared in groups; each group is defined in the folder of its
// subsystem.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/cards/entry.hpp"
#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/frame/reihenfolge_anzeigen.hpp"
#include "karteikarten/queue/picked_candidate.hpp"
#include "karteikarten/scheduling/time_helpers.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "platform/shelf.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/date_time.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class StatisticsBatch;

class Karteikartenverwaltung {
 public:
  // `vorauslernen`: days of learning ahead (0 for none); `nur_neue`: show
  // only new cards; `neue_karten_pro_tag`: the daily number of new cards,
  // 10 when absent or 0.
  explicit Karteikartenverwaltung(std::int64_t vorauslernen = 0, bool nur_neue = false,
                                  std::optional<std::int64_t> neue_karten_pro_tag = std::nullopt);

  // ---- registration, current collection and small operations ----

  // A collection with these settings, not registered.
  SammlungRef create_temp_haendesammlung(std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
                                         std::int64_t vorauslernen, const std::string& name,
                                         int startzeit_tag, const Dict& metadata,
                                         const CardMap& karten) const;
  // The shelf opening routine with its fallback to the backup.
  platform::Shelf add_shelve_file(const std::string& filename, bool writeback = false,
                                  const Value& copy = false) const;
  // The path of `zusatz` in the settings directory.
  std::string get_shelve_main_directory(const std::string& zusatz) const;
  // Registers the collection `name` for the hand module `modul` and makes it
  // the current collection. In debug mode a key of `modul` that already
  // begins with `name` fails the check.
  void add_haendesammlung(Dict modul, const std::string& name);
  // Sets sammlungsort_name; `index` marks the call site and has no effect.
  void set_sammlungsort_name(const std::optional<std::string>& name, const Value& index);
  // The registered collection named by sammlungsort_name, or nullptr.
  SammlungRef bestimme_gegenwaertige_sammlung() const;
  // Saves the current collection; `name` is not used.
  void dictionary_speichern(const Value& name, const Value& modus);
  void remove_alle_haendesammlungen();
  // Learning ahead off, only new cards on.
  void nur_neue_einstellen();
  void set_vorauslernen(std::int64_t wert);
  // Learning ahead `wert` days, with old and new cards.
  void vorauslernen_einstellen(std::int64_t wert);
  void heute_gelernt_hochsetzen();
  // Adds 1 to durchlauf_10_counter, or sets it to 0 when it holds something
  // that cannot be incremented.
  void set_durchlauf10_counter();

  // Kept for the host; they have no effect.
  void eintragen_ob_karte_erfolgreich(const Value& card, const Value& response);
  void bestimme_sammlungsort_name(const Value& ausgewaehlte_karte);
  void adjustiere_liste_haendesammlungen(const Value& liste);
  void add_frage_antwort_to_hand_objekt(const Value& frage, const Value& antwort);
  void archiv_alle_sammlungen_erstellen();
  void sync_sammlungsort_liste_aller_sammlungen();
  void sortiere_nach_faelligkeit();

  // ---- time helpers ----

  // The present moment of the learning day: now, or one day earlier while
  // the hour is before startzeit_tag.
  DateTime get_now() const;
  // The present time in seconds since the epoch.
  double get_seconds_since_epoch() const;
  // Sets the days of learning ahead of every collection, then the manager's.
  void set_vorauslernen_tage(std::int64_t zahl);
  double minutes_to_days(double minutes) const { return kk::minutes_to_days(minutes); }
  std::string human_friendly_time(const Value& days) const { return kk::human_friendly_time(days); }
  // The look-ahead windows in seconds: the first and second learning step,
  // at least 60 and 600. Read-only attributes in the host.
  double voraus_1_min() const;
  double voraus_10_min() const;

  // ---- answer scheduling ----

  // Moves `card` through its learning phases for `response` ("again",
  // "hard", "good" or "easy") and returns the days until it is next due, the
  // text "done" (forgotten-cards drill) or None. With `test` the answer is a
  // preview: no counter changes and nothing is recorded. ValueError "you
  // can't press this button / we don't know how to deal with this case" for
  // a response the card's phase does not accept. `event` has no effect.
  Value schedule(const Value& event, Karteikarte& card, const std::string& response,
                 bool test = false);
  // The button labels (again, hard, good, easy): each the interval text of
  // a preview of the answer on a copy of `card`. A "hard" or "easy" preview
  // that fails is labelled "Ende".
  Tuple get_interval_responses(const Karteikarte& card);

  // ---- lateness, early review and due jitter ----

  // True when answering `card` with `response` takes the early-review path
  // of schedule: learning ahead is on, the card has been made due, and the
  // answer is not "again".
  bool answers_ahead(const Karteikarte& card, const std::string& response) const;

  // The early-review interval in days for a card answered before it is due.
  // "hard", "good"; any other response counts as "easy". May first give a
  // card without an interval its starting interval.
  double schedule_vorauslernen(Karteikarte& card, const std::string& response);
  // Whole days the card is overdue; 0 when it is not, has no due or is done.
  std::int64_t _tage_verspaetet(const Karteikarte& card) const;
  // Marks the card as just forgotten and gives its record in the current
  // collection the next, ever smaller "fudge", so that the most recently
  // forgotten card comes first once due. KeyError when the current
  // collection is not registered or lacks the card.
  void due_fudge_nochmal_aendern(Karteikarte& card);
  // The number of "good" answers the card still needs to become mature (an
  // interval of 21 days), counting learning steps still to go.
  // ZeroDivisionError when an answer would not grow the interval.
  Value calculate_anzahl_press_good_bis_mature(const Karteikarte& card) const;

  // ---- day statistics ----

  // Adds 1 to today's counter `key` of the current collection.
  void update_um_1(const std::string& key);
  // Records one statistic value in the day statistics store: `key` is the
  // tuple (year, month, day, wert), `name` the statistic. Throws when
  // neither the store nor its backup can be opened; then nothing is recorded.
  void add_to_shelve(const std::string& sammlungsname, const Tuple& key, const std::string& name);
  // Sums the statistic `key` over the stored collections ("alle") or the
  // registered ones, over all days or today ("heute"): {"anzahl": n}, and for
  // "zeitdauer_heute" also "kk", "reizung", "alleinspiel", "gegenspiel".
  Dict iterate_key_shelve(const std::string& key, bool heute = false, bool alle = true) const;
  // The stored statistics of the collection `key`, in the nested layout, or
  // None.
  Value get_data_from_shelve(const std::string& key) const;
  // Reads the store and changes nothing.
  void get_value_from_shelve_heute(const std::string& key) const;
  // The stored collection names that do not end with "_vergessen".
  List get_liste_alle_from_alte_daten() const;
  // Prints "in erstelle_cashing" and the two values; stores nothing.
  void erstelle_cashing(const Value& key, const Value& data) const;
  // The total answer time in minutes.
  double gesamte_zeitdauer_heute(bool heute = false) const;
  // {today's learning-day key: wert}; `key` is not used.
  Dict set_heute_bezogener_wert(const Value& key, const Value& wert) const;
  // Today's value of the day-bound value dictionary[key], or None; a plain
  // integer found there is first dated today, in place.
  Value get_heute_bezogener_wert_aus_dict(const Dict& dictionary, const std::string& key) const;

  // ---- distribution of a collection ----

  // Creates an analyzer for `sammlung` with these limits and calls its
  // do(), which prints nothing.
  void zeige_haendesammlung_verteilung(const SammlungRef& sammlung,
                                       std::int64_t grenzwert_neue_karten_heute,
                                       std::int64_t grenzwert_wiederholungen) const;

  // ---- learning reports ----

  // The "again" answers over every collection of the day statistics store,
  // and those given today: (anzahl, anzahl_nur_heute).
  std::pair<std::int64_t, std::int64_t> get_anzahl_falsch() const;
  // The number of distinct days on which repetitions are recorded.
  std::int64_t anzahl_lerntage_gesamt() const;

  // ---- self-check scenarios ----
  //
  // Development aids: each overwrites the learning state of every card of
  // every registered collection and resets the collections' day metadata,
  // putting them into one learning situation (see self_check_scenarios.cpp).

  // Every card learned, due in three days; stored.
  void test_frueh();
  // Every card learned, due since one day (interval 8, ease 265); stored.
  void test_karten_schon_faellig();
  // Every card learned, due in three days, answered "good" with empty
  // histories.
  void test_vorauslernen();
  // Every card learned and six days and ten minutes late.
  void test_verspaetung();
  // Every second card six days late, the others new again.
  void test_verspaetung_und_neue();

  // ---- settings ----

  // Loads the stored settings into the attributes (storing the current ones
  // first when nothing is stored).
  void update_default_values();
  void set_default_values();
  void set_minimum_values();
  Dict get_maximum_values() const;
  Dict set_minimum_values_in_dict();
  void update_object_fields();
  // The eighteen settings from the attributes, in their fixed order.
  Dict make_default_values_dictionary() const;
  // Stores `dictionary`, or the current settings when it is absent or empty.
  void save_default_values(const std::optional<Dict>& dictionary = std::nullopt);

  // ---- card metadata of the current collection ----

  // Today's value under `key`, or its default.
  Value get_metadaten(const std::string& key) const;
  // Writes today's value and records it in the day statistics store.
  void set_metadaten(const Value& wert, const std::string& key);
  void add_cardid_to_schon_gelernt(const Karteikarte* card, const std::string& key,
                                   const std::optional<std::string>& name = std::nullopt);
  void add_bezeichner_to_kkv_info(const std::string& bezeichner, const std::string& key,
                                  const std::string& name = "");
  void remove_cardid_from_metadata(const Karteikarte& card, const std::string& key);
  void remove_from_again_in_queue(const Karteikarte& card);
  void set_reps(bool reizung = false);
  void set_karte_heute_schon_gelernt(const Karteikarte& card, bool test,
                                     const std::string& response);
  void faellig_liste_eintragen(const Value& wert, const Value& now);

  // ---- daily limits ----

  // Today's new-card limit for `sammlung`: its own today-only value (a value
  // of 0 counts as unset), else the manager's neue_karten_nur_heute, else
  // neue_karten_pro_tag; in the forgotten-cards mode every card of a
  // non-empty collection.
  std::int64_t bestimme_grenzwert_neue_karten_heute(const SammlungRef& sammlung) const;
  // Today's review limit for `sammlung`: 0 for an empty collection, every
  // card in the forgotten-cards mode, else maximale_wiederholungen_pro_tag.
  std::int64_t bestimme_grenzwert_wiederholungen(const SammlungRef& sammlung) const;
  // The manager-wide new-card limit: the today-only value, else the per-day
  // value; None when neither is set.
  std::optional<std::int64_t> get_grenzwert_neue_karten_heute() const;

  // ---- making cards due ----

  // Gives the card `kartenname` of `sammlung` the start of the learning day
  // as its due moment and records it as put due today in that collection.
  // KeyError when the collection lacks the card; nothing is recorded then.
  void make_karte_due(const std::string& kartenname, const SammlungRef& sammlung);
  // Puts due the new card with the lowest fudge over every collection that
  // has put fewer than `grenzwert` cards due today (ties: the card met first
  // in collection order, then card order). Its name, or None when there is
  // none; nothing changes then.
  std::optional<std::string> make_one_due(std::int64_t grenzwert);
  // The same within the collection `sammlungsname`; KeyError when it is not
  // registered.
  std::optional<std::string> make_one_due_eine_sammlung(std::int64_t grenzwert,
                                                        const std::string& sammlungsname);
  // Puts due, in aktuelle_haendesammlung, as many new cards (lowest fudge
  // first) as today's manager-wide limit leaves, after returning cards put
  // due on an earlier day but never answered to new. Does nothing without
  // a current collection or a limit.
  void make_all_cards_for_today();
  // The sort key of a pair (card name, first-due moment): the moment in
  // seconds since the epoch, or, without one, now + 1000 (after all others).
  double sortiere_neue_karten_heute_nach_faellig_gestellt(
      const std::pair<std::string, std::optional<DateTime>>& element) const;
  // Removes from `sammlung` the `ueberschuss` cards put due today that were
  // put due first (by the key above); a card that cannot be removed is
  // skipped.
  void korrigiere_ueberschuss(const SammlungRef& sammlung, std::int64_t ueberschuss);

  // ---- card choice ----

  // The next card to show, or None when no collection offers one. Renews
  // every card's fudge first, then lets each collection choose and the
  // card due earliest win (on equal due the lower fudge, on equal fudge the
  // later collection). sammlungsort_name becomes the card's collection (the
  // base collection of a forgotten-cards collection), or None. A hand card
  // gets its hand from the hand importer before the card is built.
  std::optional<Karteikarte> get_card();
  // The winner over all collections as (card name, collection name); both
  // empty when no collection offers a card.
  CardAndCollection waehle_card_aus_mehreren_sammlungen();
  // The card `sammlung` offers now, within today's limits and with at most
  // five candidates (new cards and reviews, see aufteilung_5); both empty
  // when there is none or the pass limit is reached. Sets
  // make_karte_due_bool when the card is a new one. vorauslernen_tage is
  // restored on return, also when a query throws. `fudge` is passed on to
  // the forgotten-cards choice only.
  CardAndCollection waehle_card_eine_sammlung(const SammlungRef& sammlung,
                                              std::optional<std::int64_t> fudge = std::nullopt);
  // Of two chosen cards the one to show first: a present card before an
  // absent one, then the earlier due (None earliest, "done" latest), then
  // the lower fudge; a tie goes to the second.
  CardAndCollection vergleiche_card_eher_due(const std::optional<std::string>& cardpointer,
                                             const std::optional<std::string>& sammlungsname1,
                                             const std::optional<std::string>& otherpointer,
                                             const std::optional<std::string>& sammlungsname2);

  // ---- forgotten-cards drill ----
  //
  // The host starts a run with setze_vergessen_modus(days),
  // alle_sammlung_vergessene_karten(days) and modus_vergessene_karten =
  // true; the container then holds one forgotten-cards collection
  // "<name>_vergessen" per normal collection, which it keeps parked.

  // Starts a run: no card counts as learnt in it, and the choice looks
  // `wert` days back.
  void setze_vergessen_modus(std::int64_t wert);
  // Parks the container's collections and makes live, for each in order, a
  // Haendesammlung_vergessen named "<name>_vergessen" holding copies of its
  // cards forgotten within the last `tage_zurueck` days, each stored under
  // its own name first, so that the normal collections' stored state is
  // never touched. When storing fails, nothing has changed.
  void alle_sammlung_vergessene_karten(double tage_zurueck);
  // While the mode is on: with `go_to_normal`, brings back the parked
  // normal collections when the forgotten-cards ones are live; without it,
  // the other way round. Does nothing otherwise.
  void vergessen_zurueck_dict_herstellen(bool go_to_normal);

  // The next forgotten card of `sammlung` as (card name, collection name):
  // of its cards forgotten ("zuletzt_vergessen") after the cut-off
  // vergessen_wie_weit_zurueck learning days before the module was loaded
  // and not yet learnt in this run, the five first in permanent review
  // order, then the one with the lowest fudge. Both empty when there is
  // none or the pass limit is reached. `fudge` is not used.
  CardAndCollection waehle_card_vergessene(const SammlungRef& sammlung,
                                           std::optional<std::int64_t> fudge = std::nullopt);
  // True when the card `karte` of `sammlungsname` was learnt in this run.
  // A collection and its forgotten-cards collection count as one: both
  // operations key the record by the base name, since the host knows the
  // card's collection by that name and the choice by the drill's.
  bool karte_in_vergessene_karten(const std::string& karte, const std::string& sammlungsname) const;
  // While the mode is on, records the card `karte` of `sammlungsort` as
  // learnt in this run.
  void add_karte_vergessene_liste(const std::string& karte, const std::string& sammlungsort);
  bool modus_vergessene_karten_pruefen() const { return modus_vergessene_karten; }
  void leere_vergessene_karten_liste() { vergessene_karten_liste = List(); }
  // Kept for the host; it has no effect.
  void make_neue_sammlung_vergessene_karten(const Value& wert);

  // ---- lowest-fudge search (the earlier card choice, kept for the host) ----

  // The due card with the lowest fudge below `fudge` over every collection:
  // due no later than `now`, with the filters described in
  // lowest_fudge_search.cpp; (None, None, 0) when there is none. `rs` and
  // `position` are accepted and not read.
  FoundCard finde_karte_due_niedrigster_fudge(double now, double old_now, const Value& rs,
                                              bool nur_again_queue, double vorauslernen,
                                              const Value& position, std::int64_t fudge) const;
  // The same search within `sammlung`, which also leaves out surplus new
  // cards put due today (see lowest_fudge_search.cpp).
  FoundCard finde_karte_due_niedrigster_fudge_diese_sammlung(
      double now, double old_now, const Value& rs, bool nur_again_queue, double vorauslernen,
      const Value& position, std::int64_t fudge, const SammlungRef& sammlung,
      std::int64_t ueberschuss_neue_karten) const;
  // The earlier card choice: puts a new card due when too few are due, then
  // the lowest-fudge search in widening windows. (card name, collection
  // name), both empty when there is none.
  CardAndCollection waehle_card();

  // ---- five-card split and candidate pick ----

  // The places for new cards and for reviews among the five in rotation.
  std::pair<std::int64_t, std::int64_t> aufteilung_5(std::int64_t grenzwert_neue_karten_heute,
                                                     std::int64_t grenzwert_maximale_wiederholungen,
                                                     std::int64_t minimum_neue_karten) const;
  // Picks one candidate: nothing of none, the one of one, one of two at
  // random (the module's random source), and of three or more a
  // one-element list holding the one with the lowest fudge.
  PickedCandidate finde_beste_karte_alle(const std::vector<Entry>& liste) const;
  // A non-empty list becomes its first entry; anything else is returned
  // unchanged.
  PickedCandidate korrigiere_typ_ausgewaehlte_karte(
      const PickedCandidate& ausgewaehlte_karte) const;
  // The picked candidate of `alle` as (card data, name, collection name);
  // all empty when `alle` is empty.
  ChosenCandidate bestimme_ausgewaehlte_karte_info_aus_alle(const std::vector<Entry>& alle,
                                                            const SammlungRef& sammlung) const;
  // True when some entry of `tupelliste` is the card `kartenname`.
  bool ausgewaehlte_karte_ist_neu(const std::optional<std::string>& kartenname,
                                  const std::vector<Entry>& tupelliste) const;
  // In debug mode: every entry must be a triple (AssertionError) with card
  // data (TypeError "Element 1 sollte dict sein").
  void check_id_faehig(const std::vector<Entry>& liste) const;
  // The hand of the card `cardpointer` ("kk_test-7": hand 7 of module
  // "kk_test"), from the hand importer.
  Value get_handinfo_from_cardpointer(const std::string& cardpointer) const;
  Value get_reizungsdict_from_karteikarte(const Karteikarte& karteikarte) const;
  // Every card with a due moment, over all collections, as (due, card name)
  // in ascending due order (ties in collection order).
  std::vector<std::pair<double, std::string>> get_all_dues() const;
  // The first `x` of get_all_dues().
  std::vector<std::pair<double, std::string>> bestimme_x_dues(std::int64_t x) const;

  // ---- attributes, in construction order ----

  std::int64_t default_neue_karten_pro_tag = 10;
  Reihenfolge_anzeigen reihenfolge_anzeigen;
  Dict reihenfolge;
  std::int64_t grenzwert_heute_due = 5;
  // The collection the current card belongs to.
  std::optional<std::string> sammlungsort_name;
  std::int64_t neue_karten_pro_tag;
  std::optional<std::int64_t> neue_karten_nur_heute;
  bool continuous_learning = false;
  bool make_karte_due_bool = false;
  // Any value the host puts there; see set_durchlauf10_counter.
  Value durchlauf_10_counter = 0;
  std::int64_t vergessen_in_letzten_tagen_groesstmoeglicher_wert = 30;
  std::int64_t vergessen_wie_weit_zurueck = 0;
  int startzeit_tag = 3;
  std::shared_ptr<platform::Zeitberechnungen> zeitberechnung;
  std::optional<std::int64_t> anzahl_neue_karten_in_sammlung_vorhanden;
  HaendesammlungContainer hc;
  std::int64_t maximale_wiederholungen_pro_tag = 3;
  std::int64_t maximale_beantwortungszeit = 60;
  std::int64_t maximale_beantwortungszeit_reizung = 180;
  std::int64_t anzahl_heute_gelernt = 0;
  // Learning steps in minutes.
  List NEW_STEPS{1, 10};
  std::int64_t GRADUATING_INTERVAL = 1;
  std::int64_t EASY_INTERVAL = 4;
  std::int64_t STARTING_EASE = 250;
  std::int64_t EASY_BONUS = 130;
  std::int64_t INTERVAL_MODIFIER = 100;
  std::int64_t MAXIMUM_INTERVAL = 36500;
  // Relearning steps in minutes.
  List LAPSE_STEPS{10, 1440};
  std::int64_t NEW_INTERVAL = 70;
  std::int64_t MINIMUM_INTERVAL = 1;
  bool modus_vergessene_karten = false;
  Dict vergessene_karten_erfolgreich_gelernt_liste;
  std::int64_t fudge_nochmal = -1;
  std::int64_t vorauslernen_tage;
  bool nur_neue_karten_anzeigen;
  std::int64_t gepruefte_neue_karten = 0;
  std::int64_t hard_factor = 120;
  // Bounds of a single learning step in minutes; set by set_minimum_values.
  std::optional<std::int64_t> NEW_STEPS_min;
  std::optional<std::int64_t> LAPSE_STEPS_min;
  // Reset by every choice of a collection.
  bool durchlauf_10_erfolgreich = false;
  // Absent until leere_vergessene_karten_liste creates it; nothing reads it.
  std::optional<List> vergessene_karten_liste;

 private:
  friend class StatisticsBatch;
  // Where add_to_shelve records while a batch is open; none otherwise.
  StatisticsBatch* statistics_batch_ = nullptr;

  // The points of an answer at which the day's records are written, in the
  // order in which schedule reaches them.
  enum class AnswerStep {
    new_card,
    review_card,
    seen_today,
    again_queue,
    right_first_time,
    repetition,
    early_review,
    lapse,
  };

  // Writes the day's records of an answer for `step`; a preview (`test`)
  // writes none.
  void answer_bookkeeping(AnswerStep step, const Karteikarte& card, const std::string& response,
                          bool test);
  // The registered collection named by sammlungsort_name; KeyError when
  // there is none.
  SammlungRef answered_collection() const;
  void record_new_card(const Karteikarte& card, const std::string& response);
  void record_review_card(const Karteikarte& card, const std::string& response);
  void record_seen_today(const Karteikarte& card);
  void record_again_queue(const Karteikarte& card, const std::string& response);
  void record_right_first_time(const Karteikarte& card, const std::string& response);
  void record_lapse(const Karteikarte& card);
  Value schedule_forgotten(Karteikarte& card, const std::string& response, bool real);
  Value schedule_learning(Karteikarte& card, const std::string& response, bool real);
  // Moves `card` from its learning steps to the learned phase: `interval`
  // days and the ease STARTING_EASE.
  void graduate(Karteikarte& card, std::int64_t interval) const;
  Value schedule_learned(Karteikarte& card, const std::string& response, std::int64_t delay,
                         bool real);
  Value schedule_relearning(Karteikarte& card, const std::string& response, bool real);
};

}  // namespace tavo::kk
