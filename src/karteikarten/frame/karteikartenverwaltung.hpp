// Karteikartenverwaltung: the card administration, the one object through
// which the host runs its learning sessions.
//
// The host creates one manager, registers its hand collections with
// add_haendesammlung and then asks it for cards and reports answers. The
// manager is a facade: it holds the host's attributes (the scheduler's
// settings and the session's state, which the host reads and writes
// directly) and the components that do the work, each in its own folder:
// the scheduler (scheduling/), the daily limits and the card chooser
// (queue/), the settings store, the statistics recorder and the collection
// container `hc` (storage/), the learning reports and the self-check
// scenarios (analysis/); the answering (here) runs an answer through the
// scheduler and the recorder. Its methods forward to them. The
// environment given at construction supplies time, files, randomness and
// diagnostics to all of them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/analysis/haendesammlung_verteilung_analyzer.hpp"
#include "karteikarten/analysis/learning_reports.hpp"
#include "karteikarten/analysis/self_check_scenarios.hpp"
#include "karteikarten/cards/entry.hpp"
#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "karteikarten/queue/card_chooser.hpp"
#include "karteikarten/queue/daily_limits.hpp"
#include "karteikarten/frame/answering.hpp"
#include "karteikarten/scheduling/scheduler.hpp"
#include "karteikarten/scheduling/scheduler_settings.hpp"
#include "karteikarten/scheduling/time_helpers.hpp"
#include "karteikarten/session/session_state.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"
#include "karteikarten/storage/settings.hpp"
#include "karteikarten/storage/shelve_opening.hpp"
#include "karteikarten/storage/statistics_recorder.hpp"
#include "platform/environment.hpp"
#include "platform/shelf.hpp"
#include "value/date_time.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class Karteikartenverwaltung : public SchedulerSettings, public SessionState {
 public:
  // `env` supplies time, files, randomness and diagnostics and must outlive
  // the manager. `vorauslernen`: days of learning ahead (0 for none);
  // `nur_neue`: show only new cards; `neue_karten_pro_tag`: the daily
  // number of new cards, 10 when absent or 0. The stored settings then
  // replace these values; a failure to load them leaves what the load had
  // not yet changed.
  explicit Karteikartenverwaltung(platform::Environment& env, std::int64_t vorauslernen = 0,
                                  bool nur_neue = false,
                                  std::optional<std::int64_t> neue_karten_pro_tag = std::nullopt);

  // The components hold references into the manager.
  Karteikartenverwaltung(const Karteikartenverwaltung&) = delete;
  Karteikartenverwaltung& operator=(const Karteikartenverwaltung&) = delete;

  platform::Environment& environment() const { return env_; }
  SettingsStore& settings_store() { return settings_store_; }
  StatisticsRecorder& recorder() { return recorder_; }
  SelfCheckScenarios& scenarios() { return scenarios_; }

  // ---- registration, current collection and small operations ----

  // A collection with these settings, not registered.
  SammlungRef create_temp_haendesammlung(std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
                                         std::int64_t vorauslernen, const std::string& name,
                                         int startzeit_tag, const Dict& metadata,
                                         const CardMap& karten) const;
  // The shelf opening routine with its fallback to the backup.
  platform::Shelf add_shelve_file(const std::string& filename, bool writeback = false,
                                  const Value& copy = false) const {
    return kk::add_shelve_file(env_, filename, writeback, copy);
  }
  // The path of `zusatz` in the settings directory.
  std::string get_shelve_main_directory(const std::string& zusatz) const {
    return kk::get_shelve_main_directory(env_, zusatz);
  }
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
  void eintragen_ob_karte_erfolgreich(const Value&, const Value&) {}
  void bestimme_sammlungsort_name(const Value&) {}
  void adjustiere_liste_haendesammlungen(const Value&) {}
  void add_frage_antwort_to_hand_objekt(const Value&, const Value&) {}
  void archiv_alle_sammlungen_erstellen() {}
  void sync_sammlungsort_liste_aller_sammlungen() {}
  void sortiere_nach_faelligkeit() {}
  void make_neue_sammlung_vergessene_karten(const Value&) {}
  // The three limits it would read back are the attributes themselves.
  void update_object_fields() {}

  // ---- time helpers ----

  // The present moment of the learning day: now, or one day earlier while
  // the hour is before startzeit_tag.
  DateTime get_now() const { return env_.cf.get_now_startzeit(startzeit_tag); }
  // The present time in seconds since the epoch.
  double get_seconds_since_epoch() const { return env_.cf.get_now(); }
  // Sets the days of learning ahead of every collection, then the manager's.
  void set_vorauslernen_tage(std::int64_t zahl);
  double minutes_to_days(double minutes) const { return kk::minutes_to_days(minutes); }
  std::string human_friendly_time(const Value& days) const { return kk::human_friendly_time(days); }
  // The look-ahead windows in seconds: the first and second learning step,
  // at least 60 and 600. Read-only attributes in the host.
  double voraus_1_min() const { return scheduler_.voraus_1_min(); }
  double voraus_10_min() const { return scheduler_.voraus_10_min(); }

  // ---- answer scheduling ----

  // Moves `card` through its learning phases for `response` ("again",
  // "hard", "good" or "easy") and returns the days until it is next due, the
  // text "done" (forgotten-cards drill) or None. With `test` the answer is a
  // preview: no counter changes and nothing is recorded. ValueError "you
  // can't press this button / we don't know how to deal with this case" for
  // a response the card's phase does not accept. `event` has no effect.
  Value schedule(const Value& /*event*/, Karteikarte& card, const std::string& response,
                 bool test = false) {
    return answering_.schedule(card, response, test).to_value();
  }
  // The button labels (again, hard, good, easy).
  Tuple get_interval_responses(const Karteikarte& card) {
    return answering_.get_interval_responses(card);
  }
  // The same as numbers and units, for a host that words them itself.
  ButtonIntervals button_intervals(const Karteikarte& card) {
    return answering_.button_intervals(card);
  }

  // ---- lateness, early review and due jitter ----

  // True when answering `card` with `response` takes the early-review path
  // of schedule.
  bool answers_ahead(const Karteikarte& card, const std::string& response) const {
    return Scheduler::answers_ahead(card, response, vorauslernen_tage);
  }
  // The early-review interval in days for a card answered before it is due.
  double schedule_vorauslernen(Karteikarte& card, const std::string& response);
  // Whole days the card is overdue; 0 when it is not, has no due or is done.
  std::int64_t _tage_verspaetet(const Karteikarte& card) const {
    return Scheduler::tage_verspaetet(card, env_.cf.get_datetime_now());
  }
  void due_fudge_nochmal_aendern(Karteikarte& card) { answering_.due_fudge_nochmal_aendern(card); }
  Value calculate_anzahl_press_good_bis_mature(const Karteikarte& card) const {
    return scheduler_.calculate_anzahl_press_good_bis_mature(card, env_.cf.get_datetime_now());
  }

  // ---- day statistics and card metadata (the statistics recorder) ----

  void update_um_1(const std::string& key) { recorder_.update_um_1(key); }
  void add_to_shelve(const std::string& sammlungsname, const Tuple& key, const std::string& name) {
    recorder_.add_to_shelve(sammlungsname, key, name);
  }
  Dict iterate_key_shelve(const std::string& key, bool heute = false, bool alle = true) const {
    return recorder_.iterate_key_shelve(key, heute, alle);
  }
  Value get_data_from_shelve(const std::string& key) const {
    return recorder_.get_data_from_shelve(key);
  }
  void get_value_from_shelve_heute(const std::string& key) const {
    recorder_.get_value_from_shelve_heute(key);
  }
  List get_liste_alle_from_alte_daten() const { return recorder_.get_liste_alle_from_alte_daten(); }
  void erstelle_cashing(const Value& key, const Value& data) const {
    recorder_.erstelle_cashing(key, data);
  }
  double gesamte_zeitdauer_heute(bool heute = false) const {
    return recorder_.gesamte_zeitdauer_heute(heute);
  }
  Dict set_heute_bezogener_wert(const Value& key, const Value& wert) const {
    return recorder_.set_heute_bezogener_wert(key, wert);
  }
  Value get_heute_bezogener_wert_aus_dict(const Dict& dictionary, const std::string& key) const {
    return recorder_.get_heute_bezogener_wert_aus_dict(dictionary, key);
  }
  Value get_metadaten(const std::string& key) const { return recorder_.get_metadaten(key); }
  void set_metadaten(const Value& wert, const std::string& key) {
    recorder_.set_metadaten(wert, key);
  }
  void add_cardid_to_schon_gelernt(const Karteikarte* card, const std::string& key,
                                   const std::optional<std::string>& name = std::nullopt) {
    recorder_.add_cardid_to_schon_gelernt(card, key, name);
  }
  void add_bezeichner_to_kkv_info(const std::string& bezeichner, const std::string& key,
                                  const std::string& name = "") {
    recorder_.add_bezeichner_to_kkv_info(bezeichner, key, name);
  }
  void remove_cardid_from_metadata(const Karteikarte& card, const std::string& key) {
    recorder_.remove_cardid_from_metadata(card, key);
  }
  void remove_from_again_in_queue(const Karteikarte& card) {
    recorder_.remove_from_again_in_queue(card);
  }
  void set_reps(bool reizung = false) { recorder_.set_reps(reizung); }
  void set_karte_heute_schon_gelernt(const Karteikarte& card, bool test,
                                     const std::string& response) {
    recorder_.set_karte_heute_schon_gelernt(card, test, response);
  }
  void faellig_liste_eintragen(const Value& wert, const Value& now) {
    recorder_.faellig_liste_eintragen(wert, now);
  }

  // ---- distribution of a collection ----

  // Creates an analyzer for `sammlung` with these limits and calls its
  // do(), which prints nothing.
  void zeige_haendesammlung_verteilung(const SammlungRef& sammlung,
                                       std::int64_t grenzwert_neue_karten_heute,
                                       std::int64_t grenzwert_wiederholungen) const;

  // ---- learning reports ----

  std::pair<std::int64_t, std::int64_t> get_anzahl_falsch() const {
    return reports_.get_anzahl_falsch();
  }
  std::int64_t anzahl_lerntage_gesamt() const { return reports_.anzahl_lerntage_gesamt(); }

  // ---- self-check scenarios ----

  void test_frueh() { scenarios_.test_frueh(); }
  void test_karten_schon_faellig() { scenarios_.test_karten_schon_faellig(); }
  void test_vorauslernen() { scenarios_.test_vorauslernen(); }
  void test_verspaetung() { scenarios_.test_verspaetung(); }
  void test_verspaetung_und_neue() { scenarios_.test_verspaetung_und_neue(); }

  // ---- settings ----

  void update_default_values() { settings_store_.update_default_values(); }
  void set_default_values() { settings_store_.set_default_values(); }
  void set_minimum_values() { settings_store_.set_minimum_values(); }
  Dict get_maximum_values() const { return settings_store_.get_maximum_values(); }
  Dict set_minimum_values_in_dict() { return settings_store_.set_minimum_values_in_dict(); }
  Dict make_default_values_dictionary() const {
    return settings_store_.make_default_values_dictionary();
  }
  void save_default_values(const std::optional<Dict>& dictionary = std::nullopt) {
    settings_store_.save_default_values(dictionary);
  }

  // ---- daily limits ----

  std::int64_t bestimme_grenzwert_neue_karten_heute(const SammlungRef& sammlung) const {
    return limits_.bestimme_grenzwert_neue_karten_heute(sammlung);
  }
  std::int64_t bestimme_grenzwert_wiederholungen(const SammlungRef& sammlung) const {
    return limits_.bestimme_grenzwert_wiederholungen(sammlung);
  }
  std::optional<std::int64_t> get_grenzwert_neue_karten_heute() const {
    return limits_.get_grenzwert_neue_karten_heute();
  }

  // ---- the card chooser ----

  void make_karte_due(const std::string& kartenname, const SammlungRef& sammlung) {
    chooser_.make_karte_due(kartenname, sammlung);
  }
  std::optional<std::string> make_one_due(std::int64_t grenzwert) {
    return chooser_.make_one_due(grenzwert);
  }
  std::optional<std::string> make_one_due_eine_sammlung(std::int64_t grenzwert,
                                                        const std::string& sammlungsname) {
    return chooser_.make_one_due_eine_sammlung(grenzwert, sammlungsname);
  }
  void make_all_cards_for_today() { chooser_.make_all_cards_for_today(); }
  double sortiere_neue_karten_heute_nach_faellig_gestellt(
      const std::pair<std::string, std::optional<DateTime>>& element) const {
    return chooser_.sortiere_neue_karten_heute_nach_faellig_gestellt(element);
  }
  void korrigiere_ueberschuss(const SammlungRef& sammlung, std::int64_t ueberschuss) {
    chooser_.korrigiere_ueberschuss(sammlung, ueberschuss);
  }
  std::optional<Karteikarte> get_card() { return chooser_.get_card(); }
  CardAndCollection waehle_card_aus_mehreren_sammlungen() {
    return chooser_.waehle_card_aus_mehreren_sammlungen();
  }
  // `index`-like call-site arguments of the host have no effect.
  CardAndCollection waehle_card_eine_sammlung(const SammlungRef& sammlung,
                                              std::optional<std::int64_t> fudge = std::nullopt) {
    return chooser_.waehle_card_eine_sammlung(sammlung, fudge);
  }
  CardAndCollection vergleiche_card_eher_due(const std::optional<std::string>& cardpointer,
                                             const std::optional<std::string>& sammlungsname1,
                                             const std::optional<std::string>& otherpointer,
                                             const std::optional<std::string>& sammlungsname2) {
    return chooser_.vergleiche_card_eher_due(cardpointer, sammlungsname1, otherpointer,
                                             sammlungsname2);
  }
  void setze_vergessen_modus(std::int64_t wert) { chooser_.setze_vergessen_modus(wert); }
  void alle_sammlung_vergessene_karten(double tage_zurueck) {
    chooser_.alle_sammlung_vergessene_karten(tage_zurueck);
  }
  void vergessen_zurueck_dict_herstellen(bool go_to_normal) {
    chooser_.vergessen_zurueck_dict_herstellen(go_to_normal);
  }
  CardAndCollection waehle_card_vergessene(const SammlungRef& sammlung,
                                           std::optional<std::int64_t> fudge = std::nullopt) {
    return chooser_.waehle_card_vergessene(sammlung, fudge);
  }
  bool karte_in_vergessene_karten(const std::string& karte, const std::string& sammlungsname) const {
    return chooser_.karte_in_vergessene_karten(karte, sammlungsname);
  }
  void add_karte_vergessene_liste(const std::string& karte, const std::string& sammlungsort) {
    chooser_.add_karte_vergessene_liste(karte, sammlungsort);
  }
  bool modus_vergessene_karten_pruefen() const { return modus_vergessene_karten; }
  void leere_vergessene_karten_liste() { vergessene_karten_liste = List(); }
  FoundCard finde_karte_due_niedrigster_fudge(double now, double old_now, const Value& rs,
                                              bool nur_again_queue, double vorauslernen,
                                              const Value& position, std::int64_t fudge) const {
    return chooser_.finde_karte_due_niedrigster_fudge(now, old_now, rs, nur_again_queue,
                                                      vorauslernen, position, fudge);
  }
  FoundCard finde_karte_due_niedrigster_fudge_diese_sammlung(
      double now, double old_now, const Value& rs, bool nur_again_queue, double vorauslernen,
      const Value& position, std::int64_t fudge, const SammlungRef& sammlung,
      std::int64_t ueberschuss_neue_karten) const {
    return chooser_.finde_karte_due_niedrigster_fudge_diese_sammlung(
        now, old_now, rs, nur_again_queue, vorauslernen, position, fudge, sammlung,
        ueberschuss_neue_karten);
  }
  CardAndCollection waehle_card() { return chooser_.waehle_card(); }
  std::pair<std::int64_t, std::int64_t> aufteilung_5(std::int64_t grenzwert_neue_karten_heute,
                                                     std::int64_t grenzwert_maximale_wiederholungen,
                                                     std::int64_t minimum_neue_karten) const {
    return chooser_.aufteilung_5(grenzwert_neue_karten_heute, grenzwert_maximale_wiederholungen,
                                 minimum_neue_karten);
  }
  PickedCandidate finde_beste_karte_alle(const std::vector<Entry>& liste) const {
    return chooser_.finde_beste_karte_alle(liste);
  }
  PickedCandidate korrigiere_typ_ausgewaehlte_karte(
      const PickedCandidate& ausgewaehlte_karte) const {
    return chooser_.korrigiere_typ_ausgewaehlte_karte(ausgewaehlte_karte);
  }
  ChosenCandidate bestimme_ausgewaehlte_karte_info_aus_alle(const std::vector<Entry>& alle,
                                                            const SammlungRef& sammlung) const {
    return chooser_.bestimme_ausgewaehlte_karte_info_aus_alle(alle, sammlung);
  }
  bool ausgewaehlte_karte_ist_neu(const std::optional<std::string>& kartenname,
                                  const std::vector<Entry>& tupelliste) const {
    return chooser_.ausgewaehlte_karte_ist_neu(kartenname, tupelliste);
  }
  void check_id_faehig(const std::vector<Entry>& liste) const { chooser_.check_id_faehig(liste); }
  Value get_handinfo_from_cardpointer(const std::string& cardpointer) const {
    return chooser_.get_handinfo_from_cardpointer(cardpointer);
  }
  Value get_reizungsdict_from_karteikarte(const Karteikarte& karteikarte) const {
    return chooser_.get_reizungsdict_from_karteikarte(karteikarte);
  }
  std::vector<std::pair<double, std::string>> get_all_dues() const {
    return chooser_.get_all_dues();
  }
  std::vector<std::pair<double, std::string>> bestimme_x_dues(std::int64_t x) const {
    return chooser_.bestimme_x_dues(x);
  }

 private:
  platform::Environment& env_;

 public:
  // The registered collections.
  HaendesammlungContainer hc;

 private:
  SettingsStore settings_store_;
  StatisticsRecorder recorder_;
  DailyLimits limits_;
  Scheduler scheduler_;
  CardChooser chooser_;
  Answering answering_;
  LearningReports reports_;
  SelfCheckScenarios scenarios_;
};

}  // namespace tavo::kk
