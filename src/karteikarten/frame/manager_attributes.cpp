#include "karteikarten/frame/manager_attributes.hpp"

namespace tavo::kk {
namespace {

using Manager = Karteikartenverwaltung;

// A read-only attribute computed by `read`.
HostAttribute<Manager> computed_attribute(std::string_view name, double (Manager::*read)() const) {
  return {name, [read](const Manager& manager) { return Value((manager.*read)()); }, nullptr};
}

// An attribute the manager has through one of its attribute bases.
template <class Base, class T>
HostAttribute<Manager> attribute(std::string_view name, T Base::*member) {
  return member_attribute<Manager, T>(name, static_cast<T Manager::*>(member));
}

template <class Base, class T>
HostAttribute<Manager> optional_attribute(std::string_view name, std::optional<T> Base::*member) {
  return present_attribute<Manager, T>(name, static_cast<std::optional<T> Manager::*>(member));
}

}  // namespace

const HostAttributes<Manager>& manager_attributes() {
  using M = Manager;
  static const HostAttributes<M> attributes(
      "Karteikartenverwaltung",
      {
          attribute("default_neue_karten_pro_tag", &M::default_neue_karten_pro_tag),
          attribute("reihenfolge", &M::reihenfolge),
          attribute("grenzwert_heute_due", &M::grenzwert_heute_due),
          attribute("sammlungsort_name", &M::sammlungsort_name),
          attribute("neue_karten_pro_tag", &M::neue_karten_pro_tag),
          attribute("neue_karten_nur_heute", &M::neue_karten_nur_heute),
          attribute("continuous_learning", &M::continuous_learning),
          attribute("make_karte_due_bool", &M::make_karte_due_bool),
          attribute("durchlauf_10_counter", &M::durchlauf_10_counter),
          attribute("vergessen_in_letzten_tagen_groesstmoeglicher_wert",
                           &M::vergessen_in_letzten_tagen_groesstmoeglicher_wert),
          attribute("vergessen_wie_weit_zurueck", &M::vergessen_wie_weit_zurueck),
          attribute("startzeit_tag", &M::startzeit_tag),
          attribute("anzahl_neue_karten_in_sammlung_vorhanden",
                           &M::anzahl_neue_karten_in_sammlung_vorhanden),
          attribute("maximale_wiederholungen_pro_tag", &M::maximale_wiederholungen_pro_tag),
          attribute("maximale_beantwortungszeit", &M::maximale_beantwortungszeit),
          attribute("maximale_beantwortungszeit_reizung",
                           &M::maximale_beantwortungszeit_reizung),
          attribute("anzahl_heute_gelernt", &M::anzahl_heute_gelernt),
          attribute("NEW_STEPS", &M::NEW_STEPS),
          attribute("GRADUATING_INTERVAL", &M::GRADUATING_INTERVAL),
          attribute("EASY_INTERVAL", &M::EASY_INTERVAL),
          attribute("STARTING_EASE", &M::STARTING_EASE),
          attribute("EASY_BONUS", &M::EASY_BONUS),
          attribute("INTERVAL_MODIFIER", &M::INTERVAL_MODIFIER),
          attribute("MAXIMUM_INTERVAL", &M::MAXIMUM_INTERVAL),
          attribute("LAPSE_STEPS", &M::LAPSE_STEPS),
          attribute("NEW_INTERVAL", &M::NEW_INTERVAL),
          attribute("MINIMUM_INTERVAL", &M::MINIMUM_INTERVAL),
          attribute("modus_vergessene_karten", &M::modus_vergessene_karten),
          attribute("vergessene_karten_erfolgreich_gelernt_liste",
                           &M::vergessene_karten_erfolgreich_gelernt_liste),
          attribute("fudge_nochmal", &M::fudge_nochmal),
          attribute("vorauslernen_tage", &M::vorauslernen_tage),
          attribute("nur_neue_karten_anzeigen", &M::nur_neue_karten_anzeigen),
          attribute("gepruefte_neue_karten", &M::gepruefte_neue_karten),
          attribute("hard_factor", &M::hard_factor),
          attribute("NEW_STEPS_min", &M::NEW_STEPS_min),
          attribute("LAPSE_STEPS_min", &M::LAPSE_STEPS_min),
          attribute("durchlauf_10_erfolgreich", &M::durchlauf_10_erfolgreich),
          optional_attribute("vergessene_karten_liste", &M::vergessene_karten_liste),
          computed_attribute("voraus_1_min", &M::voraus_1_min),
          computed_attribute("voraus_10_min", &M::voraus_10_min),
      });
  return attributes;
}

}  // namespace tavo::kk
