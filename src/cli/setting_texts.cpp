#include "cli/setting_texts.hpp"

#include <ostream>
#include <utility>

#include "cli/translation.hpp"
#include "value/repr.hpp"

namespace tavo::cli {

std::string setting_meaning(std::string_view key) {
  const std::pair<std::string_view, const char*> meanings[] = {
      {"vergessen_in_letzten_tagen_groesstmoeglicher_wert",
       tr("The most days a drill may look back (kkv drill --days).")},
      {"startzeit_tag", tr("The hour at which a new learning day begins.")},
      {"neue_karten_pro_tag", tr("The most new cards shown in a learning day.")},
      {"neue_karten_nur_heute",
       tr("A limit of new cards for today only; none: neue_karten_pro_tag holds.")},
      {"maximale_wiederholungen_pro_tag",
       tr("The most reviews of learnt cards in a learning day.")},
      {"maximale_beantwortungszeit",
       tr("The longest answer time counted for a card; a longer one counts as this.")},
      {"maximale_beantwortungszeit_reizung",
       tr("The longest answer time counted for a bidding problem.")},
      {"NEW_STEPS", tr("The learning steps of a new card: the wait after each \"good\".")},
      {"GRADUATING_INTERVAL", tr("The interval of a new card after its last learning step.")},
      {"EASY_INTERVAL", tr("The interval of a new card answered \"easy\".")},
      {"STARTING_EASE", tr("The ease factor a new card starts with: how fast its intervals grow.")},
      {"EASY_BONUS", tr("The extra factor on the interval of a review answered \"easy\".")},
      {"INTERVAL_MODIFIER", tr("A factor on every interval after a review.")},
      {"MAXIMUM_INTERVAL", tr("The longest interval a card can get.")},
      {"LAPSE_STEPS", tr("The steps in which a card answered \"again\" is learnt anew.")},
      {"NEW_INTERVAL", tr("The part of its interval a card keeps when it is forgotten.")},
      {"MINIMUM_INTERVAL", tr("The shortest interval of a card learnt anew.")},
      {"hard_factor", tr("The factor on the interval of \"hard\" when learning ahead.")},
  };
  for (const auto& [setting, meaning] : meanings) {
    if (setting == key) return meaning;
  }
  return {};
}

std::string unit_text(kk::SettingUnit unit) {
  using U = kk::SettingUnit;
  switch (unit) {
    case U::cards: return tr("cards");
    case U::cards_per_day: return tr("cards per day");
    case U::reviews_per_day: return tr("reviews per day");
    case U::days: return tr("days");
    case U::hour_of_day: return tr("hour of the day");
    case U::minutes: return tr("minutes");
    case U::seconds: return tr("seconds");
    case U::percent: return tr("percent");
  }
  return {};
}

std::string setting_value_text(const Value& wert) { return wert.is_none() ? "none" : str(wert); }

std::string bounds_text(const kk::SettingDescription& setting) {
  const std::string standard = setting_value_text(setting.standard);
  if (setting.minimum.is_none()) return trf("Default {}.", standard);
  const std::string minimum = str(setting.minimum);
  const std::string maximum = str(setting.maximum);
  if (setting.standard.is_list()) {
    return trf("Each step from {} to {}; default {}.", minimum, maximum, standard);
  }
  return trf("From {} to {}; default {}.", minimum, maximum, standard);
}

void print_setting(std::ostream& out, const kk::SettingDescription& setting) {
  out << trf("{}: {} ({})", setting.key, setting_value_text(setting.wert), unit_text(setting.unit))
      << "\n    " << setting_meaning(setting.key) << "\n    " << bounds_text(setting) << "\n";
}

}  // namespace tavo::cli
