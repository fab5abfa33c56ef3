// The container's queries: those that answer for the collection with a
// given name, and those that combine the answers of every collection.
#include <algorithm>
#include <unordered_set>

#include "karteikarten/storage/haendesammlung_container.hpp"
#include "platform/diagnostics.hpp"
#include "platform/environment.hpp"
#include "value/number_arithmetic.hpp"

namespace tavo::kk {
namespace {

using kk::Haendesammlung;
using kk::NameList;
using Sammlungen = std::vector<SammlungRef>;
using Count = std::int64_t (Haendesammlung::*)() const;
using Names = NameList (Haendesammlung::*)() const;

// The last collection named `name`, or nullptr.
SammlungRef last_named(const Sammlungen& sammlungen, const std::string& name) {
  const auto match = std::find_if(sammlungen.rbegin(), sammlungen.rend(),
                                  [&](const SammlungRef& s) { return s->name == name; });
  return match == sammlungen.rend() ? nullptr : *match;
}

template <class Query>
std::int64_t sum_over(const Sammlungen& sammlungen, Query query) {
  std::int64_t total = 0;
  for (const SammlungRef& sammlung : sammlungen) total += query(*sammlung);
  return total;
}

std::int64_t sum_of(const Sammlungen& sammlungen, Count count) {
  return sum_over(sammlungen, [count](const Haendesammlung& s) { return (s.*count)(); });
}

std::int64_t sum_of_sizes(const Sammlungen& sammlungen, Names names) {
  return sum_over(sammlungen, [names](const Haendesammlung& s) {
    return static_cast<std::int64_t>((s.*names)().size());
  });
}

// Today's value under `key` in every collection, falsy values counting 0.
Value sum_metadata_heute(const Sammlungen& sammlungen, const std::string& key) {
  Value total = 0;
  for (const SammlungRef& sammlung : sammlungen) {
    const Value wert = sammlung->get_metadata_heute(key);
    if (wert.truthy()) total = add_numbers(total, wert);
  }
  return total;
}

template <class Query>
NameList concatenation(const Sammlungen& sammlungen, Query query) {
  NameList all;
  for (const SammlungRef& sammlung : sammlungen) {
    const NameList part = query(*sammlung);
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

// Appends the records of `holder` that `cards` does not hold yet.
void add_new_records(const Kartenhalter& holder, std::vector<CardRef>& cards,
                     std::unordered_set<const CardRecord*>& held) {
  for (const CardRef& record : holder.get_karten()) {
    if (held.insert(record.get()).second) cards.push_back(record);
  }
}

std::int64_t list_size(const Dict& dict, const std::string& key) {
  return static_cast<std::int64_t>(dict.at(key).as_list().size());
}

}  // namespace

// ---- operations on the collections with a given name ----

std::int64_t HaendesammlungContainer::anzahl_karte_erfolgreich_gelernt_richtige_sammlung(
    const std::string& name) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  return sammlung ? sammlung->anzahl_karte_erfolgreich_gelernt() : 0;
}

std::int64_t HaendesammlungContainer::erfolgreich_wiederholte_karten_richtige_sammlung(
    const std::string& name) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  return (sammlung ? sammlung : sammlung_named(name))->anzahl_erfolgreich_wiederholte_karten();
}

std::optional<std::int64_t> HaendesammlungContainer::get_due_today_richtige_sammlung(
    const std::string& name) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  if (!sammlung) return std::nullopt;
  return sammlung->get_due_today();
}

std::optional<std::int64_t> HaendesammlungContainer::get_anzahl_neue_karte_heute_faellig_gestellt(
    const std::string& name) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  if (!sammlung) return std::nullopt;
  return sammlung->get_anzahl_vormals_neu_heute();
}

std::optional<std::int64_t> HaendesammlungContainer::get_noch_nicht_due_richtige_sammlung(
    const std::string& name) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  if (!sammlung) return std::nullopt;
  return sammlung->anzahl_due_none();
}

NameList
HaendesammlungContainer::get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung(
    const std::string& name) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  return sammlung ? sammlung->get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt() : NameList{};
}

NameList HaendesammlungContainer::
    get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung_due_heute(
        const std::string& name) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  return sammlung ? sammlung->get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute()
                  : NameList{};
}

NameList HaendesammlungContainer::get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung(
    const std::string& name, double voraus) const {
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  return sammlung ? sammlung->get_heute_due_nicht_heute_faellig_gestellt(voraus) : NameList{};
}

std::vector<CardRef> HaendesammlungContainer::get_faellige_richtige_sammlung(
    const std::string& name, double voraus) const {
  std::vector<CardRef> cards;
  const SammlungRef sammlung = last_named(liste_aller_sammlungen, name);
  if (!sammlung) return cards;
  std::unordered_set<const CardRecord*> held;
  add_new_records(sammlung->get_faellige_cards(voraus), cards, held);
  return cards;
}

std::int64_t
HaendesammlungContainer::get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung(
    const std::string& name) const {
  return sammlung_named(name)->get_anzahl_karte_alt_erfolgreich_wiederholt_heute();
}

// ---- aggregate queries ----

std::int64_t HaendesammlungContainer::iterate_wiederholbare_ueber_grenzwert(
    std::int64_t grenzwert_neu, std::int64_t grenzwert_wiederholungen, double voraus) const {
  return sum_over(liste_aller_sammlungen, [&](const Haendesammlung& s) {
    return s.wiederholbare_ueber_grenzwert(grenzwert_neu, grenzwert_wiederholungen, voraus);
  });
}

std::int64_t HaendesammlungContainer::iterate_anzahl_heute_planmaessig_wiederholte_karten() const {
  return sum_of(liste_aller_sammlungen,
                &Haendesammlung::anzahl_heute_planmaessig_wiederholte_karten);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_insgesamt_planmaessig_wiederholte_karten()
    const {
  return sum_of(liste_aller_sammlungen,
                &Haendesammlung::anzahl_insgesamt_planmaessig_wiederholte_karten);
}

Value HaendesammlungContainer::iterate_anzahl_neue_karten_heute() const {
  return sum_metadata_heute(liste_aller_sammlungen, "neu");
}

Value HaendesammlungContainer::iterate_anzahl_wiederholt_richtig_karten_heute() const {
  return sum_metadata_heute(liste_aller_sammlungen, "wiederholt_richtig");
}

Value HaendesammlungContainer::anzahl_wiederholt_richtig_karten_heute_richtige_sammlung() const {
  return sum_metadata_heute(liste_aller_sammlungen, "wiederholt_richtig");
}

Value HaendesammlungContainer::iterate_anzahl_wiederholte_karten_heute() const {
  return sum_metadata_heute(liste_aller_sammlungen, "wiederholt");
}

Value HaendesammlungContainer::iterate_anzahl_alte_karten_heute() const {
  return sum_metadata_heute(liste_aller_sammlungen, "alt");
}

Value HaendesammlungContainer::iterate_anzahl_alte_karten_heute_richtig() const {
  return sum_metadata_heute(liste_aller_sammlungen, "alt_richtig");
}

Value HaendesammlungContainer::iterate_anzahl_erneut_gelernte_karten_heute() const {
  return sum_metadata_heute(liste_aller_sammlungen, "erneut_gelernt");
}

Value HaendesammlungContainer::iterate_anzahl_erneut_gelernte_karten_heute_richtig() const {
  return sum_metadata_heute(liste_aller_sammlungen, "erneut_gelernt_richtig");
}

std::int64_t HaendesammlungContainer::iterate_anzahl_karte_erfolgreich_gelernt() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::anzahl_karte_erfolgreich_gelernt);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_erfolgreich_wiederholte_karten() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::anzahl_erfolgreich_wiederholte_karten);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_wiederholte_karten() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::anzahl_wiederholte_karten);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_alte_karten_gleich_richtig_alle() const {
  return sum_of(liste_aller_sammlungen,
                &Haendesammlung::anzahl_alte_karten_gleich_richtig_alle_daten);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_alte_karten_gleich_richtig_heute() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::anzahl_alte_karten_gleich_richtig_heute);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_heute_falsch() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::anzahl_heute_falsch);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_heute_falsch_alle_daten(
    const std::vector<SammlungRef>* liste) const {
  return sum_of(liste ? *liste : liste_aller_sammlungen,
                &Haendesammlung::anzahl_karten_heute_falsch_alle_daten);
}

std::int64_t HaendesammlungContainer::iterate_get_anzahl_neue_karten_heute_angesehen() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::get_anzahl_neue_karten_heute_angesehen);
}

std::int64_t HaendesammlungContainer::iterate_get_anzahl_vormals_neu_heute() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::get_anzahl_vormals_neu_heute);
}

std::int64_t HaendesammlungContainer::iterate_get_anzahl_neue_karten_gleich_richtig() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::get_anzahl_neue_karten_gleich_richtig);
}

std::int64_t HaendesammlungContainer::iterate_anzahl_again_in_queue() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::anzahl_again_in_queue);
}

std::int64_t HaendesammlungContainer::get_anzahl_karten() const {
  return sum_of(liste_aller_sammlungen, &Haendesammlung::get_anzahl_karten);
}

std::int64_t HaendesammlungContainer::iterate_get_due_today(double voraus) const {
  const double window = voraus + static_cast<double>(vorauslernen);
  return sum_over(liste_aller_sammlungen,
                  [window](const Haendesammlung& s) { return s.get_due_today(window); });
}

std::int64_t HaendesammlungContainer::iterate_get_neue_karten() const {
  return iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig();
}

std::int64_t
HaendesammlungContainer::iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig() const {
  return sum_of_sizes(
      liste_aller_sammlungen,
      &Haendesammlung::get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig);
}

std::int64_t HaendesammlungContainer::iterate_get_neue_karten_mit_erfolglos() const {
  return iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig() +
         sum_of_sizes(liste_aller_sammlungen, &Haendesammlung::get_bezeichner_neu_erfolglos);
}

std::pair<std::int64_t, std::int64_t>
HaendesammlungContainer::iterate_get_anzahl_karten_reizung_karteikarte() const {
  std::pair<std::int64_t, std::int64_t> total{0, 0};
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    const auto [reizung, karteikarte] = sammlung->get_anzahl_karten_reizung_karteikarte();
    total.first += reizung;
    total.second += karteikarte;
  }
  return total;
}

std::int64_t HaendesammlungContainer::get_max_neue_karten_vorhanden() const {
  std::int64_t most = 0;
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    most = std::max(most, sammlung->anzahl_due_none());
  }
  return most;
}

bool HaendesammlungContainer::heute_faellig_gestellt_kleiner_grenzwert(
    std::int64_t grenzwert) const {
  return std::any_of(
      liste_aller_sammlungen.begin(), liste_aller_sammlungen.end(),
      [grenzwert](const SammlungRef& s) { return s->get_anzahl_vormals_neu_heute() < grenzwert; });
}

bool HaendesammlungContainer::
    existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(
        std::int64_t grenzwert) const {
  return std::any_of(liste_aller_sammlungen.begin(), liste_aller_sammlungen.end(),
                     [grenzwert](const SammlungRef& s) {
                       const std::int64_t alt =
                           s->get_anzahl_karte_alt_erfolgreich_wiederholt_heute();
                       return s->anzahl_karte_erfolgreich_gelernt() - alt < grenzwert;
                     });
}

NameList HaendesammlungContainer::iterate_get_heute_wiederholt_nicht_erfolgreich(
    const std::optional<NameList>& /*faellig*/) const {
  return concatenation(liste_aller_sammlungen, [](const Haendesammlung& s) {
    return s.get_bezeichner_heute_wiederholt_nicht_erfolgreich();
  });
}

NameList HaendesammlungContainer::iterate_get_heute_wiederholt_erfolgreich_noch_faellig(
    const std::optional<NameList>& /*faellig*/) const {
  return concatenation(liste_aller_sammlungen, [](const Haendesammlung& s) {
    return s.get_bezeichner_wiederholt_erfolgreich_noch_faellig();
  });
}

std::vector<CardRef> HaendesammlungContainer::iterate_get_faellige_cards(double voraus) const {
  std::vector<CardRef> cards;
  std::unordered_set<const CardRecord*> held;
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    add_new_records(sammlung->get_faellige_cards(voraus), cards, held);
  }
  return cards;
}

std::int64_t HaendesammlungContainer::iterate_get_neue_ueber_grenzwert(std::int64_t grenzwert) {
  std::int64_t anzahl = 0;
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    const std::int64_t limit =
        std::max(sammlung->get_anzahl_neue_karten_heute_angesehen(), grenzwert);
    const Dict neue_dict = sammlung->get_neue_karten_im_umlauf();
    sammlung->neue_dict = neue_dict;
    const std::int64_t faellig_stellbar = sammlung->berechne_anzahl_neue_karten_faellig_stellbar(
        limit, false, static_cast<std::int64_t>(sammlung->karten.size()));
    const std::int64_t diff = faellig_stellbar - list_size(neue_dict, "gesamt");
    anzahl += diff;
    platform::process_environment().diagnostics.check(diff >= 0);
  }
  return anzahl;
}

std::int64_t HaendesammlungContainer::iterate_get_anzahl_neu_wird_heute_nicht_gelernt() const {
  std::int64_t anzahl = 0;
  std::unordered_set<std::string> seen;
  bool distinct = true;
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    const List names = sammlung->get_neue_karten_im_umlauf().at("gesamt_nicht_angesehen").as_list();
    anzahl += static_cast<std::int64_t>(names.size());
    if (!platform::process_environment().diagnostics.debug_status) continue;
    for (const Value& card_name : names) distinct &= seen.insert(card_name.as_text()).second;
  }
  platform::process_environment().diagnostics.check(distinct);
  return anzahl;
}

}  // namespace tavo::kk
