// CardChooser: which card the learner sees next.
//
// The choice runs over the registered collections: each offers one card out
// of at most five candidates (the five-card split between new cards and
// reviews, within today's limits), and the offers compete by due moment and
// fudge. The chooser also puts new cards due (within the daily new-card
// limit), runs the choice of the forgotten-cards drill, and keeps the
// earlier lowest-fudge search for the host.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/cards/entry.hpp"
#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "karteikarten/queue/daily_limits.hpp"
#include "karteikarten/queue/picked_candidate.hpp"
#include "karteikarten/scheduling/scheduler.hpp"
#include "karteikarten/session/session_state.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"
#include "karteikarten/storage/statistics_recorder.hpp"
#include "platform/environment.hpp"
#include "value/date_time.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class CardChooser {
 public:
  // Everything given must outlive the chooser.
  CardChooser(platform::Environment& env, SessionState& state, HaendesammlungContainer& hc,
              const DailyLimits& limits, const Scheduler& scheduler,
              StatisticsRecorder& recorder)
      : env_(env), state_(state), hc_(hc), limits_(limits), scheduler_(scheduler),
        recorder_(recorder) {}

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
  // first) as today's session-wide limit leaves, after returning cards put
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

 private:
  // Gives the card `kartenname` of `sammlung` the start of the learning day
  // as its due moment and records it as put due today there. KeyError when
  // the collection lacks the card; nothing changes then.
  void put_due(const Haendesammlung& sammlung, const std::string& kartenname);

  platform::Environment& env_;
  SessionState& state_;
  HaendesammlungContainer& hc_;
  const DailyLimits& limits_;
  const Scheduler& scheduler_;
  StatisticsRecorder& recorder_;
};

}  // namespace tavo::kk
