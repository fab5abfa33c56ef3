#include "karteikarten/frame/manager_attributes.hpp"

namespace tavo::kk {
namespace {

using Manager = Karteikartenverwaltung;

// A read-only attribute computed by `read`.
HostAttribute<Manager> computed_attribute(std::string_view name, double (Manager::*read)() const) {
  return {name, [read](const Manager& manager) { return Value((manager.*read)()); }, nullptr};
}

}  // namespace

const HostAttributes<Manager>& manager_attributes() {
  using M = Manager;
  static const HostAttributes<M> attributes(
      "Karteikartenverwaltung",
      {
          member_attribute("default_neue_karten_pro_tag", &M::default_neue_karten_pro_tag),
          member_attribute("reihenfolge", &M::reihenfolge),
          member_attribute("grenzwert_heute_due", &M::grenzwert_heute_due),
          member_attribute("sammlungsort_name", &M::sammlungsort_name),
          member_attribute("neue_karten_pro_tag", &M::neue_karten_pro_tag),
          member_attribute("neue_karten_nur_heute", &M::neue_karten_nur_heute),
          member_attribute("continuous_learning", &M::continuous_learning),
          member_attribute("make_karte_due_bool", &M::make_karte_due_bool),
          member_attribute("durchlauf_10_counter", &M::durchlauf_10_counter),
          member_attribute("vergessen_in_letzten_tagen_groesstmoeglicher_wert",
                           &M::vergessen_in_letzten_tagen_groesstmoeglicher_wert),
          member_attribute("vergessen_wie_weit_zurueck", &M::vergessen_wie_weit_zurueck),
          member_attribute("startzeit_tag", &M::startzeit_tag),
          member_attribute("anzahl_neue_karten_in_sammlung_vorhanden",
                           &M::anzahl_neue_karten_in_sammlung_vorhanden),
          member_attribute("maximale_wiederholungen_pro_tag", &M::maximale_wiederholungen_pro_tag),
          member_attribute("maximale_beantwortungszeit", &M::maximale_beantwortungszeit),
          member_attribute("maximale_beantwortungszeit_reizung",
                           &M::maximale_beantwortungszeit_reizung),
          member_attribute("anzahl_heute_gelernt", &M::anzahl_heute_gelernt),
          member_attribute("NEW_STEPS", &M::NEW_STEPS),
          member_attribute("GRADUATING_INTERVAL", &M::GRADUATING_INTERVAL),
          member_attribute("EASY_INTERVAL", &M::EASY_INTERVAL),
          member_attribute("STARTING_EASE", &M::STARTING_EASE),
          member_attribute("EASY_BONUS", &M::EASY_BONUS),
          member_attribute("INTERVAL_MODIFIER", &M::INTERVAL_MODIFIER),
          member_attribute("MAXIMUM_INTERVAL", &M::MAXIMUM_INTERVAL),
          member_attribute("LAPSE_STEPS", &M::LAPSE_STEPS),
          member_attribute("NEW_INTERVAL", &M::NEW_INTERVAL),
          member_attribute("MINIMUM_INTERVAL", &M::MINIMUM_INTERVAL),
          member_attribute("modus_vergessene_karten", &M::modus_vergessene_karten),
          member_attribute("vergessene_karten_erfolgreich_gelernt_liste",
                           &M::vergessene_karten_erfolgreich_gelernt_liste),
          member_attribute("fudge_nochmal", &M::fudge_nochmal),
          member_attribute("vorauslernen_tage", &M::vorauslernen_tage),
          member_attribute("nur_neue_karten_anzeigen", &M::nur_neue_karten_anzeigen),
          member_attribute("gepruefte_neue_karten", &M::gepruefte_neue_karten),
          member_attribute("hard_factor", &M::hard_factor),
          member_attribute("NEW_STEPS_min", &M::NEW_STEPS_min),
          member_attribute("LAPSE_STEPS_min", &M::LAPSE_STEPS_min),
          member_attribute("durchlauf_10_erfolgreich", &M::durchlauf_10_erfolgreich),
          present_attribute("vergessene_karten_liste", &M::vergessene_karten_liste),
          computed_attribute("voraus_1_min", &M::voraus_1_min),
          computed_attribute("voraus_10_min", &M::voraus_10_min),
      });
  return attributes;
}

}  // namespace tavo::kk
