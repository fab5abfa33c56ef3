// Haendesammlung: one hand collection, its cards and its per-day metadata.
//
// A collection holds its cards as shared records (`karten`) and a metadata
// mapping. Per-day values are kept under their statistic, then under the
// learning day's text key: metadata["heute_falsch"]["2021-9-22"] is the list
// of cards answered "again" on that day. The learning day begins at
// `startzeit_tag` o'clock and its key comes from the environment's clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "karteikarten/cards/card_map.hpp"
#include "karteikarten/cards/entry.hpp"
#include "karteikarten/cards/fudge_permutation.hpp"
#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/cards/kartenhalter.hpp"
#include "karteikarten/collection/answer_log.hpp"
#include "karteikarten/collection/choice_cards.hpp"
#include "platform/environment.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// One stored card: its name and the fingerprint of its record at its place.
struct StoredCardFingerprint {
  std::string name;
  std::uint64_t fingerprint;
};

// What the store holds of a collection, as of its last load or save: the
// name it is stored under, the stored cards in the stored card order with
// the fingerprint of each (its record and its place in the card order),
// and the fingerprint of the metadata. Kept by PickleDump so that a save
// writes only what changed: a card is unchanged when the stored card at its
// place has its name and fingerprint. It is also what a save compares the
// store's rows with, to find cards another program changed meanwhile
// (see PickleDump::save_haendesammlung). A snapshot taken under another name
// than the one saved under (or none at all) says nothing about the store,
// and the save writes everything. `change_period` is the period of changes
// (see CardMap::change_period) that the collection's card map began with
// the snapshot: while the map is still in it, the cards it marked are the
// only ones that can differ from the snapshot.
struct StoredSnapshot {
  std::optional<std::string> stored_name;
  std::vector<StoredCardFingerprint> cards;
  std::optional<std::uint64_t> metadata_fingerprint;
  std::optional<std::uint64_t> change_period;
};

// Card names, in the collection's card order unless a query says otherwise.
using NameList = std::vector<std::string>;

// The names as the host's list of texts.
List list_of(const NameList& names);
// The texts of the host's list `liste`; None holds none. TypeError for any
// other value or an item that is not a text.
NameList names_of(const Value& liste);

// The collection's queries: what counts as a new card, a card due, seen,
// failed, reviewed or learnt. Every query reads the cards' learning fields
// and today's lists in the metadata (names absent from the collection are
// ignored), and the present moment from the environment's clock. The terms:
//
//   new            the card was never made due: "due" is None.
//   put due today  the card is in today's "neue_karte_heute_faellig_gestellt"
//                  (a new card given its first due moment today).
//   never answered "karte_ist_neu" is still True.
//   seen today     the card is in today's "heute_schon_angesehen" (it was
//                  answered today).
//   new seen today the card is in today's "neue_karten_heute_angesehen" (it
//                  was answered today for the first time ever).
//   reviewed today the card is in today's "wiederholte_karten" (a card
//                  answered on an earlier day, answered again today: a
//                  review; today's reviews count against the review limit).
//   failed         its latest answer ("letzte_antwort") is "again".
//   due within v   "due" is a moment no later than now + v seconds; "done"
//                  and None are never due. The candidate queries also add
//                  the collection's learning-ahead days (`vorauslernen`).
//   due today      "due" is a moment before the next learning day begins;
//                  "still due" means due today, "no longer due" means "done"
//                  or a moment from the next learning day on.
//   learnt today   seen today and no longer due: finished for today.
//   continuing     seen today, or put due and never answered: a card already
//                  in rotation, which the review limit does not hold back.
//   fresh review   due, not continuing: a review not yet begun today. Only
//                  max(0, review limit - reviews today) of them may start.
class Haendesammlung {
 public:
  // `environment` gives the clock of the queries, the random order of the
  // review fudge values and the store dictionary_speichern writes to; it
  // must outlive the collection and every copy of it.
  Haendesammlung(platform::Environment& environment,
                 std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
                 std::int64_t vorauslernen, std::string name, int startzeit_tag,
                 Dict metadata = Dict(), kk::CardMap karten = kk::CardMap());
  virtual ~Haendesammlung() = default;

  // ---- storage ----

  // Fresh cards for the hand module `modul` (card key to hand data mapping):
  // each key without a "-" becomes `name` + "-" + key, and each card gets
  // the initial learning state on top of its hand data. TypeError when hand
  // data is not a mapping.
  kk::CardMap haendesammlung_karteikarten_info_neu_erstellen(const Dict& modul,
                                                             const std::string& name) const;
  // Saves `dictionary` in the environment's store under `name`; `modus` is
  // accepted for the host and has no effect.
  void dictionary_speichern(const std::string& name, Haendesammlung& dictionary,
                            const Value& modus);
  // Gives every card without one its fixed ordering value: for
  // "permanent_fudge_neu" the next numbers in collection order (new cards
  // come in deck order), for "permanent_fudge_wdh" a random order of the
  // next numbers. Values already set are kept, so they stay permanent.
  // ValueError for any other key.
  void set_permanent_fudge(const std::string& key);
  // Card i of `karten` gets the fudge rs[position + i]. IndexError when `rs`
  // is too short.
  void fudge_erneuern(std::size_t position, const std::vector<std::int64_t>& rs);
  // The same with a permutation computed value by value: the cards of a
  // tracked card map read their fudges from it (see CardMap::renew_fudges).
  void fudge_erneuern(std::size_t position, const kk::FudgePermutation& rs);
  // True when some card name does not begin with the collection's name and
  // "-" (for a forgotten-cards collection: with the name it was cloned from).
  virtual bool test_karten_enthaelt_falsche_bezeichner() const;
  // An independent copy: every record and the metadata are copied; name,
  // settings and the stored snapshot are the same.
  virtual std::shared_ptr<Haendesammlung> clone() const;
  // KeyError when the card is absent.
  void remove_card(const std::string& name);
  // Writes the learning fields of the scheduled `karteikarte` into the
  // record of the same name (kk::write_back_learning_state: not the ordering
  // values; a field the card lacks leaves the record's). KeyError when the
  // card is absent.
  void aendere_karteikarte_in_dictionary(const kk::Karteikarte& karteikarte);
  // Sets the number of days of learning ahead.
  void set_vorauslernen_tage(std::int64_t zahl);

  // ---- counts ----

  std::int64_t get_anzahl_karten() const;
  // New cards.
  std::int64_t anzahl_due_none() const;
  // Cards put due today (what the daily new-card limit counts).
  std::int64_t get_anzahl_vormals_neu_heute() const;
  // New cards seen today.
  std::int64_t get_anzahl_neue_karten_heute_angesehen() const;
  // The same count, under the name the bulk put-due operation uses.
  std::int64_t get_anzahl_karten_heute_zum_ersten_mal_angesehen() const;
  // Cards learnt today, new and reviewed.
  std::int64_t anzahl_karte_erfolgreich_gelernt() const;
  // Reviewed today and learnt today.
  std::int64_t get_anzahl_karte_alt_erfolgreich_wiederholt_heute() const;
  // Reviewed today, not failed, no longer due.
  std::int64_t anzahl_erfolgreich_wiederholte_karten() const;
  // Reviewed today.
  std::int64_t anzahl_wiederholte_karten() const;
  // Reviewed today (the reviews begun on schedule today).
  std::int64_t anzahl_heute_planmaessig_wiederholte_karten() const;
  // The reviews of every stored day ("wiederholte_karten" of all days).
  std::int64_t anzahl_insgesamt_planmaessig_wiederholte_karten() const;
  // Today's "alte_karten_gleich_richtig": reviews right at the first
  // attempt today.
  std::int64_t anzahl_alte_karten_gleich_richtig_heute() const;
  // The same over every stored day.
  std::int64_t anzahl_alte_karten_gleich_richtig_alle_daten() const;
  // Today's "heute_falsch": cards answered "again" today.
  std::int64_t anzahl_heute_falsch() const;
  // The same over every stored day.
  std::int64_t anzahl_karten_heute_falsch_alle_daten() const;
  // New cards seen today and never answered "again" today.
  std::int64_t get_anzahl_neue_karten_gleich_richtig() const;
  // Today's "again_in_queue".
  std::int64_t anzahl_again_in_queue() const;
  // Cards due within `voraus` seconds (without learning ahead).
  std::int64_t get_due_today(double voraus = 0) const;
  // The reviews that may be shown within `voraus` seconds (learning ahead
  // included): the continuing cards due in that window, plus the fresh
  // reviews due in it up to today's allowance, max(0,
  // grenzwert_wiederholungen - reviews today); `heute_erfolgreich_wiederholt`,
  // when given, replaces the count of reviews today. The limit is kept for
  // set_states_wiederholbare_in_x.
  std::int64_t get_anzahl_moegliche_wiederholungen(
      std::int64_t grenzwert_wiederholungen,
      std::optional<std::int64_t> heute_erfolgreich_wiederholt = std::nullopt, double voraus = 0);
  // Fresh reviews due within `voraus` seconds (learning ahead included)
  // beyond today's allowance under `grenzwert_wiederholungen`: the reviews
  // the limit holds back. `grenzwert_neu` is accepted for the host.
  std::int64_t wiederholbare_ueber_grenzwert(std::int64_t grenzwert_neu,
                                             std::int64_t grenzwert_wiederholungen,
                                             double voraus) const;
  // How many new cards may still be put due now: the new cards, at most
  // `neue_karten_soll` of them, and (outside the forgotten-cards mode) at
  // most `grenzwert_neue_karten` less the cards put due today; never below 0.
  std::int64_t berechne_anzahl_neue_karten_faellig_stellbar(std::int64_t grenzwert_neue_karten,
                                                            bool modus_vergessene_karten,
                                                            std::int64_t neue_karten_soll) const;
  // The pair (new cards that may still be put due under
  // `grenzwert_neue_karten`, cards put due today and still due).
  std::pair<std::int64_t, std::int64_t> anzahl_neue_karten_faellig_stellbar(
      std::int64_t grenzwert_neue_karten) const;
  // The pair (bidding-only cards, other cards).
  std::pair<std::int64_t, std::int64_t> get_anzahl_karten_reizung_karteikarte() const;
  // False once `grenzwert` or more cards were put due today.
  bool heute_faellig_gestellt_kleiner_grenzwert(std::int64_t grenzwert) const;
  // Cards seen today, failed and still due (waiting to be relearnt).
  std::int64_t get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt() const;

  // ---- card names ----

  // New cards put due today and no longer due: the new cards learnt today.
  NameList get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner() const;
  // New cards seen today and no longer due (the same cards, found from the
  // other list).
  NameList get_bezeichner_neu_erfolgreich() const;
  // New cards seen today and failed.
  NameList get_bezeichner_neu_erfolglos() const;
  // Put due today, answered since, and still due: today's new cards in
  // their learning steps.
  NameList get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig() const;
  // Cards with a due moment that were never answered.
  NameList get_bezeichner_heute_faellig_noch_nie_angesehen() const;
  // New cards seen today (in the order of today's list).
  NameList get_bezeichner_heute_erstes_mal_angesehen() const;
  // Put due today and still due.
  NameList get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt() const;
  // Put due today, still due, and due now.
  NameList get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute() const;
  // Due within `voraus` seconds and not put due today.
  NameList get_heute_due_nicht_heute_faellig_gestellt(double voraus = 0) const;
  // Reviewed today (with or without success).
  NameList get_bezeichner_wiederholte_karten() const;
  // Reviewed today, not failed, and not due within `voraus` seconds.
  NameList get_bezeichner_wiederholt_erfolgreich(double voraus = 0) const;
  // Reviewed today, not failed, still due; restricted to `faellig` when
  // given.
  NameList get_bezeichner_wiederholt_erfolgreich_noch_faellig(
      const std::optional<NameList>& faellig = std::nullopt) const;
  // Reviewed today, not failed, no longer due.
  NameList get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig() const;
  // Reviewed today and failed; restricted to `faellig` when given.
  NameList get_bezeichner_heute_wiederholt_nicht_erfolgreich(
      const std::optional<NameList>& faellig = std::nullopt) const;
  // Cards seen today, failed and still due.
  NameList get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt() const;
  // Seen today (in the order of today's list).
  NameList get_heute_angesehen() const;
  // The names of `faellig_aber_nicht_heute_bezeichner` (default: the cards
  // of get_due_aber_nicht_heute_faellig(600)) not in `heute_angesehen`
  // (default: get_heute_angesehen()).
  NameList get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
      const std::optional<NameList>& faellig_aber_nicht_heute_bezeichner = std::nullopt,
      const std::optional<NameList>& heute_angesehen = std::nullopt) const;
  // The same names that are in `heute_angesehen`.
  NameList get_bezeichner_heute_nicht_faellig_heute_angesehen(
      const std::optional<NameList>& faellig_aber_nicht_heute_bezeichner = std::nullopt,
      const std::optional<NameList>& heute_angesehen = std::nullopt) const;
  // Cards whose last "again" ("zuletzt_vergessen") lies after
  // `zeitpunkt_vergangenheit` (seconds since the epoch).
  NameList get_vergessene_karten(double zeitpunkt_vergangenheit) const;
  // The new cards by category, each a list of names:
  //   "gesamt"                  the new cards;
  //   "gesamt_nicht_angesehen"  the new cards not seen today;
  //   "heute_erstmalig_faellig_gestellt_noch_faellig"   as the query above;
  //   "heute_erstmalig_faellig_gestellt_nicht_mehr_faellig"  learnt today;
  //   "faellig_gestellt_noch_nie_angesehen"  due moment, never answered.
  Dict get_neue_karten_im_umlauf() const;

  // The names of `a` that are (not) in `b`, in `a`'s order, each once.
  static NameList set1_minus_set2(const NameList& a, const NameList& b);
  static NameList set1_intersection_set2(const NameList& a, const NameList& b);

  // ---- holders and candidates ----

  // The new cards.
  kk::Kartenhalter get_due_none() const;
  // Cards due within `voraus` seconds, plus the learning-ahead days when
  // `vorauslernen` is set.
  kk::Kartenhalter get_faellige_cards(double voraus = 0, bool vorauslernen = true) const;
  // Cards with a due ("done" included) that get_faellige_cards(voraus)
  // does not hold: together with get_due_none() and get_faellige_cards
  // every card once.
  kk::Kartenhalter get_due_aber_nicht_heute_faellig(double voraus) const;
  // Cards due before the current learning day began.
  kk::Kartenhalter get_due_vor_heute() const;
  // The first new cards in line, as pairs (card data, name): at most
  // `anzahl` and at most `neue_im_umlauf` (when given), in the order of
  // "permanent_fudge_neu" (deck order), cards without one last.
  std::vector<kk::Entry> finde_beste_neue_karte(
      std::int64_t anzahl, std::optional<std::int64_t> neue_im_umlauf = std::nullopt) const;
  // The same cards in a holder; `voraus` is accepted for the host.
  kk::Kartenhalter finde_beste_neue(std::int64_t anzahl, double voraus = 0) const;
  // Reviews for the current choice, as triples (fudge, card data, name):
  // cards due within `voraus` seconds (learning ahead included) not yet
  // handed out in this choice, at most `anzahl` and at most
  // `wiederholbare_im_umlauf_anzahl` (when given); continuing cards first,
  // then fresh reviews within the allowance set_states_wiederholbare_in_x
  // fixed (prepared first when it was not), each group by due moment, then
  // fudge. KeyError "'fudge'" for a chosen card without one.
  std::vector<kk::Entry> finde_beste_wiederholbare_karte(
      std::int64_t anzahl, double voraus = 0,
      std::optional<std::int64_t> wiederholbare_im_umlauf_anzahl = std::nullopt);
  // The triples (fudge, card data, name) of the cards named in `liste`, in
  // its order. KeyError for a name the collection lacks, or "'fudge'".
  std::vector<kk::Entry> bezeichner_liste_to_identifier_liste(const NameList& liste) const;
  // The same, and the cards count as handed out in the current choice.
  std::vector<kk::Entry> wandle_bezeichner_liste_in_karten_liste_um(const NameList& liste);

  // ---- choice state ----

  // Starts a card choice on this collection: no review counts as handed
  // out, and until end_choice() the choice's queries read the new cards and
  // the cards due within `voraus` seconds and the learning-ahead days,
  // gathered now in one pass (see ChoiceCards). The cards must not change
  // until then.
  void begin_choice(double voraus);
  void end_choice();
  // Lets every later choice on this collection pass over the card `name`,
  // as if it were not due: a card answered ahead is shown once in a
  // session of learning ahead, although its new due moment still lies
  // inside the look-ahead.
  void pass_over_in_choices(const std::string& name);
  // Lets later choices offer the card `name` again: for an answer taken
  // back.
  void offer_again_in_choices(const std::string& name) { passed_over_.erase(name); }
  bool is_passed_over(const std::string& name) const { return passed_over_.contains(name); }
  // Starts a choice on this collection: neue_dict becomes
  // get_neue_karten_im_umlauf() (returned as well), and no review counts as
  // handed out.
  Dict set_state_neue_dict();
  // Prepares the review queries of the choice: fixes how many fresh
  // reviews the following finde_beste_wiederholbare_karte calls may still
  // hand out, max(0, the limit last given to
  // get_anzahl_moegliche_wiederholungen - reviews today - fresh reviews
  // handed out in this choice); 0 when no limit was ever given.
  void set_states_wiederholbare_in_x();
  // Stores `handinfo` (the hand to show) on the card under "handinfo".
  // KeyError when the card is absent.
  void set_handinfo_nur_reizung(const std::string& cardpointer, const Value& handinfo);

  // ---- putting new cards due in bulk ----

  // Cards with a due moment that were never answered and are not put due
  // today go back to new (due None).
  void reset_due_to_none_if_not_faellig();
  // The fudge values of the new cards, ascending (cards without one left out).
  std::vector<std::int64_t> fudge_liste_erstellen() const;
  // Puts due at the start of the learning day, in ascending fudge, the new
  // cards whose fudge is at most `minimum`: at most `diff` of them, and no
  // more than `limit` put due today in all. Each is recorded in today's
  // "neue_karte_heute_faellig_gestellt".
  void set_due_to_now(std::int64_t limit, std::int64_t minimum, std::int64_t diff);

  // ---- today's metadata ----

  // The current learning day's text key, e.g. "2021-9-22".
  std::string datum_heute() const;
  // Today's value under `key`, or None when there is none. A list or dict
  // is the stored one itself, so that changing it changes the metadata.
  Value get_metadata_heute(const std::string& key) const;
  // Records `wert` for today under `key`:
  //   a number (or bool) replaces today's value;
  //   a text, or a list of texts, adds each name not yet in today's list;
  //   any other value (a list of numbers, a dict, ...) replaces today's value.
  void set_metadata(const std::string& key, const Value& wert);
  // Appends the pair (wert, now) to today's list under `key`.
  void append_to_metadata(const std::string& key, const Value& wert, const Value& now);
  // Removes the name `card` from today's list under `key`, if it is there.
  void remove_from_metadata(const std::string& key, const std::string& card);

  std::string name;
  kk::CardMap karten;
  Dict metadata;
  // Set and cleared by the module between its queries.
  Value neue_dict;
  std::shared_ptr<platform::Zeitberechnungen> zeitberechnung;
  std::int64_t vorauslernen;
  int startzeit_tag;
  // Maintained by PickleDump.
  StoredSnapshot stored;
  // The answer-log rows of the answers (and undos) since the last save,
  // which the next save writes with the cards; a copy starts without any.
  std::vector<UnsavedLogEntry> unsaved_log;

  // The environment the collection was given.
  platform::Environment& environment() const { return environment_; }

 private:
  // now + `voraus` seconds + the learning-ahead days.
  double review_window_end(double voraus) const;
  // The cards due by `end`: (continuing, fresh reviews).
  std::pair<std::int64_t, std::int64_t> reviews_due_by(double end) const;
  // Calls `visit` with each card due by `end`, or with each new card, in
  // the collection's order: from the choice's view while a choice runs,
  // else from a view gathered for the call.
  template <class Visit>
  void visit_due_by(double end, Visit visit) const;
  template <class Visit>
  void visit_new_cards(Visit visit) const;
  void forget_handed_out();
  // IndexError unless fudges from `position` of `size` reach every card.
  void require_fudges_for_every_card(std::size_t position, std::size_t size) const;
  void hand_out(const kk::Entry& card);
  bool is_handed_out(const ChoiceCard& card) const;

  // The cards of the choice in progress, gathered by begin_choice.
  mutable std::optional<ChoiceCards> choice_cards_;
  // The cards every choice passes over.
  std::unordered_set<std::string> passed_over_;

  // The choice in progress: the review limit last given to
  // get_anzahl_moegliche_wiederholungen, the reviews handed out, how many
  // of them were fresh, and the fresh reviews still allowed once prepared.
  std::optional<std::int64_t> review_limit_;
  std::unordered_set<std::string> handed_out_;
  // Their records: a card whose record is not among them was not handed
  // out, without hashing its name.
  std::vector<const kk::CardRecord*> handed_out_records_;
  std::int64_t fresh_handed_out_ = 0;
  std::optional<std::int64_t> fresh_allowance_;

  platform::Environment& environment_;
};

using SammlungRef = std::shared_ptr<Haendesammlung>;

}  // namespace tavo::kk
