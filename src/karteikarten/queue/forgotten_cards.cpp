// The forgotten-cards drill: the cards forgotten in the last days, offered
// one at a time in their permanent review order, each until it is learnt in
// the current run of the drill.
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/cards/heap_umwandler.hpp"
#include "karteikarten/queue/card_chooser.hpp"
#include "karteikarten/queue/review_order.hpp"
#include "karteikarten/collection/haendesammlung_vergessen.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

// At most this many forgotten cards compete for the next place.
constexpr std::int64_t forgotten_places = 5;

// The forgotten-cards collection made from the reduced copy `kopie`.
SammlungRef forgotten_collection(const kk::Haendesammlung& kopie) {
  auto vergessen = std::make_shared<kk::Haendesammlung_vergessen>(
      kopie.environment(), kopie.zeitberechnung, kk::forgotten_collection_name(kopie.name),
      kopie.startzeit_tag);
  vergessen->clone_haendesammlung(kopie);
  return vergessen;
}

}  // namespace

void CardChooser::setze_vergessen_modus(std::int64_t wert) {
  state_.vergessene_karten_erfolgreich_gelernt_liste = Dict();
  state_.vergessen_wie_weit_zurueck = wert;
}

void CardChooser::alle_sammlung_vergessene_karten(double tage_zurueck) {
  const double zeitpunkt_vergangenheit = env_.cf.get_now() - tage_zurueck * 3600 * 24;
  const std::vector<SammlungRef> kopien =
      hc_.iterate_get_cardpointer_vergessene_karten(zeitpunkt_vergangenheit);
  std::vector<SammlungRef> vergessene;
  vergessene.reserve(kopien.size());
  for (const SammlungRef& kopie : kopien) vergessene.push_back(forgotten_collection(*kopie));
  // Stored before they go live, so that a failing store leaves the manager
  // as it was.
  for (const SammlungRef& sammlung : vergessene) {
    sammlung->dictionary_speichern(sammlung->name, *sammlung, false);
  }
  // The normal collections themselves are parked: nothing of the drill
  // reaches them.
  hc_.archiv_liste_aller_sammlungen = std::move(hc_.liste_aller_sammlungen);
  hc_.liste_aller_sammlungen = std::move(vergessene);
}

void CardChooser::vergessen_zurueck_dict_herstellen(bool go_to_normal) {
  if (!state_.modus_vergessene_karten || hc_.check_vergessen() != go_to_normal) return;
  std::swap(hc_.liste_aller_sammlungen, hc_.archiv_liste_aller_sammlungen);
}

void CardChooser::add_karte_vergessene_liste(const std::string& karte,
                                                        const std::string& sammlungsort) {
  if (!state_.modus_vergessene_karten) return;
  Value& gelernt = state_.vergessene_karten_erfolgreich_gelernt_liste.setdefault(
      kk::base_collection_name(sammlungsort), List());
  gelernt.as_list().append(karte);
}

CardAndCollection CardChooser::waehle_card_vergessene(
    const SammlungRef& sammlung, [[maybe_unused]] std::optional<std::int64_t> fudge) {
  if (!state_.continuous_learning && state_.durchlauf_10_counter > Value(9)) return {};
  if (!sammlung) throw AttributeError("'NoneType' object has no attribute 'karten'");
  platform::Zeitberechnungen zeitberechnung(env_.cf, state_.startzeit_tag);
  zeitberechnung.set_time(env_.start_date);
  const double zeitpunkt = zeitberechnung.get_old_date(state_.vergessen_wie_weit_zurueck);

  kk::NameList kandidaten;
  for (std::string& name : sammlung->get_vergessene_karten(zeitpunkt)) {
    if (!karte_in_vergessene_karten(name, sammlung->name)) kandidaten.push_back(std::move(name));
  }
  if (static_cast<std::int64_t>(kandidaten.size()) > forgotten_places) {
    kandidaten = first_in_review_order(*sammlung, std::move(kandidaten), forgotten_places);
  }
  const Heap_umwandler::Liste picked =
      Heap_umwandler(sammlung->bezeichner_liste_to_identifier_liste(kandidaten), 1).do_from_list();
  if (picked.empty()) return {};
  return {picked.front().name, sammlung->name};
}

bool CardChooser::karte_in_vergessene_karten(const std::string& karte,
                                                        const std::string& sammlungsname) const {
  const Value* gelernt =
      state_.vergessene_karten_erfolgreich_gelernt_liste.find(kk::base_collection_name(sammlungsname));
  return gelernt != nullptr && gelernt->is_list() && gelernt->as_list().contains(karte);
}

}  // namespace tavo::kk
