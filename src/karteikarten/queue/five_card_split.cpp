// The five-card split, the pick of one card out of the candidates of a
// choice, and the hands and due moments of cards.
#include "karteikarten/queue/five_card_split.hpp"

#include <algorithm>
#include <random>
#include <string_view>
#include <variant>

#include "karteikarten/cards/heap_umwandler.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/diagnostics.hpp"
#include "platform/environment.hpp"
#include "platform/importiere_haende.hpp"
#include "platform/random_source.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

// The hand module of a card name: the text before its first "-".
std::string_view modulname_of(std::string_view kartenname) {
  return kartenname.substr(0, kartenname.find('-'));
}

}  // namespace

std::pair<std::int64_t, std::int64_t> aufteilung_5(std::int64_t grenzwert_neue_karten_heute,
                                                   std::int64_t grenzwert_maximale_wiederholungen,
                                                   std::int64_t minimum_neue_karten) {
  const std::int64_t neue = grenzwert_neue_karten_heute;
  const std::int64_t wdh = grenzwert_maximale_wiederholungen;
  const std::int64_t minimum = minimum_neue_karten;
  platform::process_environment().diagnostics.check(neue >= 0 && wdh >= 0 && minimum >= 0);

  const std::int64_t neue_max =
      wdh < 3 ? std::min(neue, 5 - wdh) : std::min({minimum, neue, std::int64_t{2}});
  platform::process_environment().diagnostics.check(0 <= neue_max && neue_max <= 5);

  const std::int64_t wdh_max =
      neue_max < 2 ? std::min(wdh, 5 - neue_max) : std::min<std::int64_t>(wdh, 3);
  platform::process_environment().diagnostics.check(0 <= wdh_max && wdh_max <= 5);
  platform::process_environment().diagnostics.check(neue_max + wdh_max <= 5);
  platform::process_environment().diagnostics.check(neue_max + wdh_max >=
                                                    std::min({minimum, neue, std::int64_t{5}}));
  return {neue_max, wdh_max};
}

std::pair<std::int64_t, std::int64_t> Karteikartenverwaltung::aufteilung_5(
    std::int64_t grenzwert_neue_karten_heute, std::int64_t grenzwert_maximale_wiederholungen,
    std::int64_t minimum_neue_karten) const {
  return kk::aufteilung_5(grenzwert_neue_karten_heute, grenzwert_maximale_wiederholungen,
                          minimum_neue_karten);
}

PickedCandidate Karteikartenverwaltung::finde_beste_karte_alle(
    const std::vector<Entry>& liste) const {
  switch (liste.size()) {
    case 0: return std::monostate{};
    case 1: return liste.front();
    case 2: {
      std::uniform_int_distribution<std::size_t> place(0, 1);
      return liste[place(platform::process_environment().random.engine())];
    }
    default: return Heap_umwandler(liste, 1).do_from_list();
  }
}

PickedCandidate Karteikartenverwaltung::korrigiere_typ_ausgewaehlte_karte(
    const PickedCandidate& ausgewaehlte_karte) const {
  const auto* liste = std::get_if<std::vector<Entry>>(&ausgewaehlte_karte);
  if (liste && !liste->empty()) return liste->front();
  return ausgewaehlte_karte;
}

ChosenCandidate Karteikartenverwaltung::bestimme_ausgewaehlte_karte_info_aus_alle(
    const std::vector<Entry>& alle, const SammlungRef& sammlung) const {
  const PickedCandidate karte = korrigiere_typ_ausgewaehlte_karte(finde_beste_karte_alle(alle));
  const auto* entry = std::get_if<Entry>(&karte);
  if (!entry) return {};
  if (!sammlung) throw AttributeError("'NoneType' object has no attribute 'name'");
  platform::process_environment().diagnostics.check(modulname_of(entry->name) == sammlung->name);
  return {entry->data, entry->name, sammlung->name};
}

bool Karteikartenverwaltung::ausgewaehlte_karte_ist_neu(
    const std::optional<std::string>& kartenname, const std::vector<Entry>& tupelliste) const {
  return std::any_of(tupelliste.begin(), tupelliste.end(),
                     [&](const Entry& entry) { return entry.name == kartenname; });
}

void Karteikartenverwaltung::check_id_faehig(const std::vector<Entry>& liste) const {
  if (!platform::process_environment().diagnostics.debug_status) return;
  for (const Entry& entry : liste) {
    platform::process_environment().diagnostics.check(entry.fudge.has_value());
    if (!entry.data) {
      platform::process_environment().diagnostics.stop("");
      throw TypeError("Element 1 sollte dict sein");
    }
  }
}

Value Karteikartenverwaltung::get_handinfo_from_cardpointer(const std::string& cardpointer) const {
  const std::size_t first_dash = cardpointer.find('-');
  if (first_dash == std::string::npos) throw IndexError("list index out of range");
  const std::size_t number_start = first_dash + 1;
  const std::string nummer =
      cardpointer.substr(number_start, cardpointer.find('-', number_start) - number_start);
  const std::string modul_dat = cardpointer.substr(0, first_dash) + ".hand" + nummer;
  return platform::process_environment().hands.make_haendeliste(List{modul_dat}).at(0);
}

Value Karteikartenverwaltung::get_reizungsdict_from_karteikarte(
    const Karteikarte& karteikarte) const {
  return get_handinfo_from_cardpointer(karteikarte.get_name());
}

std::vector<std::pair<double, std::string>> Karteikartenverwaltung::get_all_dues() const {
  std::vector<std::pair<double, std::string>> dues;
  for (const SammlungRef& sammlung : hc.liste_aller_sammlungen) {
    for (const auto& [name, record] : sammlung->karten) {
      if (record->due.is_moment()) dues.emplace_back(record->due.seconds(), name);
    }
  }
  std::stable_sort(dues.begin(), dues.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return dues;
}

std::vector<std::pair<double, std::string>> Karteikartenverwaltung::bestimme_x_dues(
    std::int64_t x) const {
  std::vector<std::pair<double, std::string>> dues = get_all_dues();
  dues.resize(std::min(dues.size(), static_cast<std::size_t>(std::max<std::int64_t>(x, 0))));
  return dues;
}

}  // namespace tavo::kk
