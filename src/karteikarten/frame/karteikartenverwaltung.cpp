// Construction of the manager and its registration and small operations.
#include "karteikarten/frame/karteikartenverwaltung.hpp"

#include <exception>
#include <string_view>

#include "karteikarten/frame/module_context.hpp"
#include "karteikarten/storage/shelve_opening.hpp"
#include "platform/diagnostics.hpp"
#include "platform/environment.hpp"

namespace tavo::kk {

Karteikartenverwaltung::Karteikartenverwaltung(std::int64_t vorauslernen, bool nur_neue,
                                               std::optional<std::int64_t> neue_karten_pro_tag)
    : neue_karten_pro_tag(neue_karten_pro_tag.value_or(0) != 0 ? *neue_karten_pro_tag
                                                               : default_neue_karten_pro_tag),
      zeitberechnung(std::make_shared<platform::Zeitberechnungen>(
          platform::process_environment().cf, startzeit_tag)),
      hc(zeitberechnung, vorauslernen, startzeit_tag),
      vorauslernen_tage(vorauslernen),
      nur_neue_karten_anzeigen(nur_neue) {
  module_context();
  // The stored settings replace the values above. A failure to load them
  // is discarded; whatever the load had not yet changed keeps its value.
  try {
    update_default_values();
  } catch (const std::exception&) {
  }
}

SammlungRef Karteikartenverwaltung::create_temp_haendesammlung(
    std::shared_ptr<platform::Zeitberechnungen> zeitberechnung, std::int64_t vorauslernen,
    const std::string& name, int startzeit_tag, const Dict& metadata, const CardMap& karten) const {
  return std::make_shared<kk::Haendesammlung>(platform::process_environment(),
                                              std::move(zeitberechnung), vorauslernen, name,
                                              startzeit_tag, metadata, karten);
}

platform::Shelf Karteikartenverwaltung::add_shelve_file(const std::string& filename, bool writeback,
                                                        const Value& copy) const {
  return kk::add_shelve_file(filename, writeback, copy);
}

std::string Karteikartenverwaltung::get_shelve_main_directory(const std::string& zusatz) const {
  return kk::get_shelve_main_directory(zusatz);
}

void Karteikartenverwaltung::add_haendesammlung(Dict modul, const std::string& name) {
  for (const auto& [key, hand] : modul) {
    platform::process_environment().diagnostics.check(
        !(key.is_text() && std::string_view(key.as_text()).starts_with(name)));
  }
  hc.add_haendesammlung(modul, name);
  set_sammlungsort_name(name, 2007);
}

void Karteikartenverwaltung::set_sammlungsort_name(const std::optional<std::string>& name,
                                                   const Value&) {
  sammlungsort_name = name;
}

SammlungRef Karteikartenverwaltung::bestimme_gegenwaertige_sammlung() const {
  if (!sammlungsort_name || sammlungsort_name->empty()) return nullptr;
  return hc.get_richtige_sammlung(*sammlungsort_name);
}

void Karteikartenverwaltung::dictionary_speichern(const Value&, const Value& modus) {
  if (sammlungsort_name) hc.dictionary_speichern_richtige_sammlung(*sammlungsort_name, modus);
}

void Karteikartenverwaltung::remove_alle_haendesammlungen() { hc.remove_alle_haendesammlungen(); }

void Karteikartenverwaltung::nur_neue_einstellen() {
  vorauslernen_tage = 0;
  nur_neue_karten_anzeigen = true;
}

void Karteikartenverwaltung::set_vorauslernen(std::int64_t wert) { vorauslernen_tage = wert; }

void Karteikartenverwaltung::vorauslernen_einstellen(std::int64_t wert) {
  set_vorauslernen(wert);
  nur_neue_karten_anzeigen = false;
}

void Karteikartenverwaltung::heute_gelernt_hochsetzen() { ++anzahl_heute_gelernt; }

void Karteikartenverwaltung::set_durchlauf10_counter() {
  const Value& counter = durchlauf_10_counter;
  if (counter.is_float()) {
    durchlauf_10_counter = counter.as_float() + 1;
  } else if (counter.is_int() || counter.is_bool()) {
    durchlauf_10_counter = counter.as_int() + 1;
  } else {
    durchlauf_10_counter = 0;
  }
}

void Karteikartenverwaltung::eintragen_ob_karte_erfolgreich(const Value&, const Value&) {}
void Karteikartenverwaltung::bestimme_sammlungsort_name(const Value&) {}
void Karteikartenverwaltung::adjustiere_liste_haendesammlungen(const Value&) {}
void Karteikartenverwaltung::add_frage_antwort_to_hand_objekt(const Value&, const Value&) {}
void Karteikartenverwaltung::archiv_alle_sammlungen_erstellen() {}
void Karteikartenverwaltung::sync_sammlungsort_liste_aller_sammlungen() {}
void Karteikartenverwaltung::sortiere_nach_faelligkeit() {}

}  // namespace tavo::kk
