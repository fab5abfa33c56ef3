// Statistik_erfolgreich_prozent_berechnen: today's figures of one collection
// against the day's limits, for the host's progress display.
#pragma once

#include <cstdint>
#include <utility>

#include "karteikarten/cards/kartenhalter.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// Breaks today's work on `sammlung` down into new cards available, allowed
// and learnt, reviews done and still allowed, and the day's total. The new-
// card limit is clipped to the new cards available and raised to the new
// cards already learnt; the review limit is lowered to the reviewable cards
// in circulation. Every call reads the collection afresh and changes
// nothing; errors of the collection's queries propagate.
class Statistik_erfolgreich_prozent_berechnen {
 public:
  // `voraus`: the look-ahead in seconds of the due-card queries.
  Statistik_erfolgreich_prozent_berechnen(std::int64_t grenzwert_neu,
                                          std::int64_t grenzwert_wiederholungen, double voraus,
                                          kk::SammlungRef sammlung);

  // The thirteen figures, in this order: "neue_begrenzt_durch_verfuegbare_karten",
  // "anzahl_neu_erfolgreich", "erfolgreich_wiederholte_karten" (names),
  // "neue_verfuegbar", "heute_faellig_gestellt_anzahl",
  // "anzahl_wiederholungen_erfolgreich", "neue_angehoben_durch_mehr_gelernt",
  // "wiederholbare_im_umlauf" (names), "anzahl_wiederholbare_im_umlauf",
  // "noch_wiederholbar_grenzwert", "tatsaechliche_Wiederholungen",
  // "anzahl_erfolgreich", "gesamt". KeyError when the collection's new-card
  // categories lack one of "gesamt", "heute_erstmalig_faellig_gestellt_noch_faellig"
  // and "faellig_gestellt_noch_nie_angesehen"; in debug mode AssertionError
  // when its two lists of new cards learnt today differ in size. (The host
  // calls this `do`.)
  Dict do_() const;

  // The pair (the new cards, the names of the cards due within `voraus`
  // with learning ahead).
  std::pair<Kartenhalter, kk::NameList> bestimme_neue_karten_im_umlauf() const;
  // The smaller of `neue_verfuegbar` and grenzwert_neu.
  std::int64_t GW_neu_begrenzen_durch_karten_im_umlauf(std::int64_t neue_verfuegbar) const;
  // The larger of the two.
  std::int64_t gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(
      std::int64_t neue_begrenzt_durch_verfuegbare_karten,
      std::int64_t anzahl_neue_erfolgreich) const;
  // The names of the cards due within `voraus` (the collection's own
  // learning-ahead default) that are not in `neue`.
  kk::NameList bestimme_wiederholbare_karten_im_umlauf(const kk::NameList& neue) const;
  // The number of names.
  std::int64_t bestimme_wiederholbare_anzahl(
      const kk::NameList& wiederholbare_im_umlauf) const;
  // The reviews still allowed: the reviewable cards, at most
  // grenzwert_wiederholungen less the reviews done; never below 0.
  std::int64_t bestimme_noch_wiederholbar_grenzwert(std::int64_t anzahl_wiederholbare_im_umlauf,
                                                    std::int64_t wiederholungen_erfolgreich) const;
  // The effective review limit: the reviews still allowed plus those done.
  std::int64_t bestimme_tatsaechliche_wiederholungen(std::int64_t noch_wiederholbar_grenzwert,
                                                     std::int64_t wiederholungen_erfolgreich) const;
  // The sum of the two.
  std::int64_t bestimme_erfolgreiche(std::int64_t wiederholungen_erfolgreich,
                                     std::int64_t anzahl_neue_erfolgreich) const;
  // The sum of the two.
  std::int64_t bestimme_gesamt(std::int64_t Wiederholungen,
                               std::int64_t neue_angehoben_durch_mehr_gelernt) const;
  // The pair (cards put due today, new cards available): the new cards
  // plus those put due today.
  std::pair<std::int64_t, std::int64_t> bestimme_anzahl_karten_im_umlauf(
      const Kartenhalter& neue_karten, const kk::NameList& heute_faellig_gestellt) const;
  // Today's successes split into the pair (reviews, new cards): the
  // successful cards among `heute_faellig_gestellt` are new, the rest
  // reviews. With no cards put due today every success is a review; with no
  // successes both are 0.
  std::pair<std::int64_t, std::int64_t> teile_erfolgreiche_auf(
      const kk::NameList& heute_faellig_gestellt,
      const kk::NameList& wiederholte_karten) const;
  // Today's "karte_erfolgreich_wiederholt" without `heute_faellig_gestellt`.
  kk::NameList bestimme_erfolgreich_wiederholte_karten(
      const kk::NameList& heute_faellig_gestellt) const;

  std::int64_t grenzwert_neu;
  std::int64_t grenzwert_wiederholungen;
  double voraus;
  kk::SammlungRef sammlung;
  // Kept for the host; do_ does not fill it.
  Dict dict_return;
  // Kept for the host; not read here.
  int startzeit_tag = 3;
};

}  // namespace tavo::kk
