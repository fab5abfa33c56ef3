// The forgotten-cards drill: the cards forgotten in the last days, offered
// one at a time in their permanent review order, each until it is learnt in
// the current run of the drill.
#include <string>

#include "karteikarten/cards/heap_umwandler.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/frame/module_context.hpp"
#include "karteikarten/queue/review_order.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

// At most this many forgotten cards compete for the next place.
constexpr std::int64_t forgotten_places = 5;

}  // namespace

CardAndCollection Karteikartenverwaltung::waehle_card_vergessene(
    const SammlungRef& sammlung, [[maybe_unused]] std::optional<std::int64_t> fudge) {
  if (!continuous_learning && durchlauf_10_counter > Value(9)) return {};
  if (!sammlung) throw AttributeError("'NoneType' object has no attribute 'karten'");
  platform::Zeitberechnungen zeitberechnung(startzeit_tag);
  zeitberechnung.set_time(module_context().start_date);
  const double zeitpunkt = zeitberechnung.get_old_date(vergessen_wie_weit_zurueck);

  platform::NameList kandidaten;
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

bool Karteikartenverwaltung::karte_in_vergessene_karten(const std::string& karte,
                                                        const std::string& sammlungsname) const {
  const Value* gelernt = vergessene_karten_erfolgreich_gelernt_liste.find(sammlungsname);
  return gelernt != nullptr && gelernt->is_list() && gelernt->as_list().contains(karte);
}

}  // namespace tavo::kk
