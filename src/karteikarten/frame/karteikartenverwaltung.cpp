// Construction of the manager and its registration and small operations.
#include "karteikarten/frame/karteikartenverwaltung.hpp"

#include <string_view>
#include <system_error>

#include "value/errors.hpp"

namespace tavo::kk {

Karteikartenverwaltung::Karteikartenverwaltung(platform::Environment& env,
                                               std::int64_t vorauslernen, bool nur_neue,
                                               std::optional<std::int64_t> neue_karten_pro_tag)
    : SessionState(env.cf, vorauslernen, nur_neue, neue_karten_pro_tag),
      env_(env),
      hc(env, zeitberechnung, vorauslernen, startzeit_tag),
      settings_store_(env, *this, *this, hc),
      recorder_(env, *this, hc, settings_store_),
      limits_(*this),
      scheduler_(*this),
      chooser_(env, *this, hc, limits_, scheduler_, recorder_),
      answering_(env, *this, hc, scheduler_, recorder_, chooser_),
      reports_(env, *this),
      scenarios_(env, hc) {
  // The stored settings replace the values above. A failure to load them
  // is discarded; whatever the load had not yet changed keeps its value.
  try {
    update_default_values();
  } catch (const Error&) {
    // A stored value of the wrong kind or out of range, or a debug check.
  } catch (const std::runtime_error&) {
    // A settings file that cannot be read or written, or no data directory.
  }
}

SammlungRef Karteikartenverwaltung::create_temp_haendesammlung(
    std::shared_ptr<platform::Zeitberechnungen> zeitberechnung, std::int64_t vorauslernen,
    const std::string& name, int startzeit_tag, const Dict& metadata, const CardMap& karten) const {
  return std::make_shared<kk::Haendesammlung>(env_, std::move(zeitberechnung), vorauslernen, name,
                                                    startzeit_tag, metadata, karten);
}

void Karteikartenverwaltung::add_haendesammlung(Dict modul, const std::string& name) {
  for (const auto& [key, hand] : modul) {
    env_.diagnostics.check(!(key.is_text() && std::string_view(key.as_text()).starts_with(name)));
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

void Karteikartenverwaltung::set_vorauslernen_tage(std::int64_t zahl) {
  hc.set_vorauslernen_tage(zahl);
  vorauslernen_tage = zahl;
}

double Karteikartenverwaltung::schedule_vorauslernen(Karteikarte& card,
                                                     const std::string& response) {
  const double tage = scheduler_.schedule_vorauslernen(card, response, env_.cf.get_datetime_now());
  make_karte_due_bool = false;
  return tage;
}

void Karteikartenverwaltung::zeige_haendesammlung_verteilung(
    const SammlungRef& sammlung, std::int64_t grenzwert_neue_karten_heute,
    std::int64_t grenzwert_wiederholungen) const {
  HaendesammlungVerteilungAnalyzer analyzer(sammlung);
  analyzer.set_grenzwert_neue_karten_heute(grenzwert_neue_karten_heute);
  analyzer.set_grenzwert_wiederholungen(grenzwert_wiederholungen);
  analyzer.do_();
}

}  // namespace tavo::kk
