#include "karteikarten/cards/karteikarte_attributes.hpp"

namespace tavo {

template <>
struct AttributeKind<kk::Learnstatus> {
  static Value to_value(kk::Learnstatus status) { return kk::learnstatus_text(status); }
  static kk::Learnstatus from_value(const Value& value, std::string_view name) {
    return kk::parse_learnstatus(AttributeKind<std::string>::from_value(value, name));
  }
};

template <>
struct AttributeKind<kk::Due> {
  static Value to_value(const kk::Due& due) { return due.to_value(); }
  static kk::Due from_value(const Value& value, std::string_view) {
    return kk::Due::from_value(value);
  }
};

}  // namespace tavo

namespace tavo::kk {

const HostAttributes<Karteikarte>& karteikarte_attributes() {
  using K = Karteikarte;
  static const HostAttributes<K> attributes(
      "Karteikarte",
      {
          member_attribute("nur_reizung", &K::nur_reizung),
          member_attribute("STARTING_EASE", &K::STARTING_EASE),
          member_attribute("startzeit_tag", &K::startzeit_tag),
          present_attribute("fragetext", &K::fragetext),
          present_attribute("antworttext", &K::antworttext),
          member_attribute("learnstatus", &K::learnstatus),
          present_attribute("reps", &K::reps),
          member_attribute("lapses", &K::lapses),
          member_attribute("due", &K::due),
          member_attribute("ease_factor", &K::ease_factor),
          member_attribute("steps_index", &K::steps_index),
          member_attribute("interval", &K::interval),
          member_attribute("zuletzt_vergessen", &K::zuletzt_vergessen),
          member_attribute("faellig_erstes_mal", &K::faellig_erstes_mal),
          present_attribute("last_interval_no_lapse", &K::last_interval_no_lapse),
          member_attribute("last_interval", &K::last_interval),
          present_attribute("beantwortungszeiten", &K::beantwortungszeiten),
          present_attribute("name", &K::name),
          present_attribute("karte_ist_neu", &K::karte_ist_neu),
          member_attribute("letzte_antwort", &K::letzte_antwort),
          member_attribute("permanent_fudge_wdh", &K::permanent_fudge_wdh),
          member_attribute("permanent_fudge_neu", &K::permanent_fudge_neu),
          present_attribute("steps", &K::steps),
      });
  return attributes;
}

}  // namespace tavo::kk
