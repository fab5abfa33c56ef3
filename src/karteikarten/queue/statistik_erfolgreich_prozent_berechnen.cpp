// Today's figures of one collection against the day's limits.
#include "karteikarten/queue/statistik_erfolgreich_prozent_berechnen.hpp"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/diagnostics.hpp"
#include "platform/environment.hpp"

namespace tavo::kk {
namespace {

using kk::Haendesammlung;
using kk::list_of;
using kk::NameList;
using kk::names_of;

std::int64_t count(const NameList& names) { return std::ssize(names); }

}  // namespace

Statistik_erfolgreich_prozent_berechnen::Statistik_erfolgreich_prozent_berechnen(
    std::int64_t grenzwert_neu, std::int64_t grenzwert_wiederholungen, double voraus,
    kk::SammlungRef sammlung)
    : grenzwert_neu(grenzwert_neu),
      grenzwert_wiederholungen(grenzwert_wiederholungen),
      voraus(voraus),
      sammlung(std::move(sammlung)) {}

Dict Statistik_erfolgreich_prozent_berechnen::do_() const {
  const Dict neue_dict = sammlung->get_neue_karten_im_umlauf();
  const NameList heute_faellig_temp = bestimme_neue_karten_im_umlauf().second;
  const std::int64_t anzahl_neu_erfolgreich =
      count(sammlung->get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner());
  // Both lists name the new cards learnt today, found in different ways.
  const platform::Diagnostics& diagnostics = sammlung->environment().diagnostics;
  if (diagnostics.debug_status) {
    diagnostics.check(
        anzahl_neu_erfolgreich == count(sammlung->get_bezeichner_neu_erfolgreich()));
  }
  const std::int64_t neue_verfuegbar =
      static_cast<std::int64_t>(neue_dict.at("gesamt").as_list().size());
  const NameList noch_faellig =
      names_of(neue_dict.at("heute_erstmalig_faellig_gestellt_noch_faellig"));
  const std::int64_t heute_faellig_gestellt_anzahl = count(noch_faellig);
  const std::int64_t neue_begrenzt_durch_verfuegbare_karten =
      GW_neu_begrenzen_durch_karten_im_umlauf(neue_verfuegbar);
  const NameList erfolgreich_wiederholte_karten =
      sammlung->get_bezeichner_wiederholt_erfolgreich(voraus);
  const std::int64_t anzahl_wiederholungen_erfolgreich = count(erfolgreich_wiederholte_karten);
  const std::int64_t neue_angehoben_durch_mehr_gelernt =
      gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(neue_begrenzt_durch_verfuegbare_karten,
                                                         anzahl_neu_erfolgreich);
  // The categories must hold the never-seen new cards too, though only the
  // cards still in their learning steps are set apart from the due cards.
  neue_dict.at("faellig_gestellt_noch_nie_angesehen");
  const NameList heute_faellig_gestellt =
      Haendesammlung::set1_minus_set2(heute_faellig_temp, noch_faellig);
  const NameList wiederholbare_im_umlauf =
      bestimme_wiederholbare_karten_im_umlauf(heute_faellig_gestellt);
  const std::int64_t anzahl_wiederholbare_im_umlauf =
      bestimme_wiederholbare_anzahl(wiederholbare_im_umlauf);
  const std::int64_t noch_wiederholbar_grenzwert = bestimme_noch_wiederholbar_grenzwert(
      anzahl_wiederholbare_im_umlauf, anzahl_wiederholungen_erfolgreich);
  const std::int64_t tatsaechliche_Wiederholungen = bestimme_tatsaechliche_wiederholungen(
      noch_wiederholbar_grenzwert, anzahl_wiederholungen_erfolgreich);
  return Dict{
      {"neue_begrenzt_durch_verfuegbare_karten", neue_begrenzt_durch_verfuegbare_karten},
      {"anzahl_neu_erfolgreich", anzahl_neu_erfolgreich},
      {"erfolgreich_wiederholte_karten", list_of(erfolgreich_wiederholte_karten)},
      {"neue_verfuegbar", neue_verfuegbar},
      {"heute_faellig_gestellt_anzahl", heute_faellig_gestellt_anzahl},
      {"anzahl_wiederholungen_erfolgreich", anzahl_wiederholungen_erfolgreich},
      {"neue_angehoben_durch_mehr_gelernt", neue_angehoben_durch_mehr_gelernt},
      {"wiederholbare_im_umlauf", list_of(wiederholbare_im_umlauf)},
      {"anzahl_wiederholbare_im_umlauf", anzahl_wiederholbare_im_umlauf},
      {"noch_wiederholbar_grenzwert", noch_wiederholbar_grenzwert},
      {"tatsaechliche_Wiederholungen", tatsaechliche_Wiederholungen},
      {"anzahl_erfolgreich",
       bestimme_erfolgreiche(anzahl_wiederholungen_erfolgreich, anzahl_neu_erfolgreich)},
      {"gesamt", bestimme_gesamt(tatsaechliche_Wiederholungen, neue_angehoben_durch_mehr_gelernt)},
  };
}

std::pair<Kartenhalter, NameList>
Statistik_erfolgreich_prozent_berechnen::bestimme_neue_karten_im_umlauf() const {
  Kartenhalter neue = sammlung->get_due_none();
  return {std::move(neue), sammlung->get_faellige_cards(voraus, true).get_bezeichner()};
}

std::int64_t Statistik_erfolgreich_prozent_berechnen::GW_neu_begrenzen_durch_karten_im_umlauf(
    std::int64_t neue_verfuegbar) const {
  return std::min(neue_verfuegbar, grenzwert_neu);
}

std::int64_t
Statistik_erfolgreich_prozent_berechnen::gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(
    std::int64_t neue_begrenzt_durch_verfuegbare_karten,
    std::int64_t anzahl_neue_erfolgreich) const {
  return std::max(neue_begrenzt_durch_verfuegbare_karten, anzahl_neue_erfolgreich);
}

NameList Statistik_erfolgreich_prozent_berechnen::bestimme_wiederholbare_karten_im_umlauf(
    const NameList& neue) const {
  return Haendesammlung::set1_minus_set2(sammlung->get_faellige_cards(voraus).get_bezeichner(),
                                         neue);
}

std::int64_t Statistik_erfolgreich_prozent_berechnen::bestimme_wiederholbare_anzahl(
    const NameList& wiederholbare_im_umlauf) const {
  return count(wiederholbare_im_umlauf);
}

std::int64_t Statistik_erfolgreich_prozent_berechnen::bestimme_noch_wiederholbar_grenzwert(
    std::int64_t anzahl_wiederholbare_im_umlauf, std::int64_t wiederholungen_erfolgreich) const {
  const std::int64_t offen = grenzwert_wiederholungen - wiederholungen_erfolgreich;
  return std::max<std::int64_t>(std::min(anzahl_wiederholbare_im_umlauf, offen), 0);
}

std::int64_t Statistik_erfolgreich_prozent_berechnen::bestimme_tatsaechliche_wiederholungen(
    std::int64_t noch_wiederholbar_grenzwert, std::int64_t wiederholungen_erfolgreich) const {
  return std::max(noch_wiederholbar_grenzwert + wiederholungen_erfolgreich,
                  wiederholungen_erfolgreich);
}

std::int64_t Statistik_erfolgreich_prozent_berechnen::bestimme_erfolgreiche(
    std::int64_t wiederholungen_erfolgreich, std::int64_t anzahl_neue_erfolgreich) const {
  return wiederholungen_erfolgreich + anzahl_neue_erfolgreich;
}

std::int64_t Statistik_erfolgreich_prozent_berechnen::bestimme_gesamt(
    std::int64_t Wiederholungen, std::int64_t neue_angehoben_durch_mehr_gelernt) const {
  return Wiederholungen + neue_angehoben_durch_mehr_gelernt;
}

std::pair<std::int64_t, std::int64_t>
Statistik_erfolgreich_prozent_berechnen::bestimme_anzahl_karten_im_umlauf(
    const Kartenhalter& neue_karten, const NameList& heute_faellig_gestellt) const {
  const std::int64_t heute = count(heute_faellig_gestellt);
  return {heute, static_cast<std::int64_t>(neue_karten.get_laenge()) + heute};
}

std::pair<std::int64_t, std::int64_t>
Statistik_erfolgreich_prozent_berechnen::teile_erfolgreiche_auf(
    const NameList& heute_faellig_gestellt, const NameList& wiederholte_karten) const {
  const std::int64_t neue =
      count(Haendesammlung::set1_intersection_set2(wiederholte_karten, heute_faellig_gestellt));
  return {count(wiederholte_karten) - neue, neue};
}

NameList Statistik_erfolgreich_prozent_berechnen::bestimme_erfolgreich_wiederholte_karten(
    const NameList& heute_faellig_gestellt) const {
  return Haendesammlung::set1_minus_set2(
      names_of(sammlung->get_metadata_heute("karte_erfolgreich_wiederholt")),
      heute_faellig_gestellt);
}

}  // namespace tavo::kk
