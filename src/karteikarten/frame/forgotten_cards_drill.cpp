#include "karteikarten/frame/forgotten_cards_drill.hpp"

#include <string>

#include "value/errors.hpp"

namespace tavo::kk {

ForgottenCardsDrill::ForgottenCardsDrill(Karteikartenverwaltung& kkv, std::int64_t tage)
    : kkv_(kkv) {
  const std::int64_t longest = kkv.vergessen_in_letzten_tagen_groesstmoeglicher_wert;
  if (tage < 1 || tage > longest) {
    throw ValueError("the drill looks back 1 to " + std::to_string(longest) + " days, not " +
                     std::to_string(tage));
  }
  kkv.setze_vergessen_modus(tage);
  kkv.alle_sammlung_vergessene_karten(static_cast<double>(tage));
  kkv.modus_vergessene_karten = true;
}

ForgottenCardsDrill::~ForgottenCardsDrill() {
  kkv_.vergessen_zurueck_dict_herstellen(true);
  kkv_.modus_vergessene_karten = false;
}

std::size_t ForgottenCardsDrill::anzahl_karten() const {
  return static_cast<std::size_t>(kkv_.hc.get_anzahl_karten());
}

std::int64_t cards_left_in_drill(const Karteikartenverwaltung& kkv) {
  if (!kkv.modus_vergessene_karten) return 0;
  std::int64_t left = 0;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    for (const auto& [name, card] : sammlung->karten) {
      if (!kkv.karte_in_vergessene_karten(name, sammlung->name)) ++left;
    }
  }
  return left;
}

}  // namespace tavo::kk
