// The scheduler's settings: their table of names, defaults and bounds, the
// manager's operations that reset, report, load and store them, the
// settings screen's describing, reading and changing of single settings,
// and the default column a host of its own starts with.
//
// Every operation reads the one table below, so a setting is added or
// changed in one place. The stored settings mapping holds the eighteen
// settings in table order; "neue_karten_nur_heute" is stored dated with its
// learning day, so that it lapses when the day is over. The two bounds of a
// single learning step belong only to the minimum and maximum tables.
#include "karteikarten/storage/settings.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <variant>
#include <vector>

#include "karteikarten/storage/setting_value.hpp"
#include "platform/diagnostics.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using Manager = Karteikartenverwaltung;

// The attribute behind "startzeit_tag": changing it moves the learning day's
// start everywhere (see set_startzeit_tag).
struct StartHour {};

using Attribute = std::variant<std::int64_t Manager::*, List Manager::*,
                               std::optional<std::int64_t> Manager::*, StartHour>;

enum class Row {
  setting,     // stored; in every table
  day_bound,   // stored dated with its learning day; in no table
  step_bound,  // not stored; only in the minimum and maximum tables
};

struct Setting {
  std::string_view key;
  Row row;
  Attribute attribute;
  Value standard;
  Value minimum;
  Value maximum;
};

// The settings in their stored order, then the bounds of a learning step.
const std::vector<Setting>& settings_table() {
  static const std::vector<Setting> table{
      {"vergessen_in_letzten_tagen_groesstmoeglicher_wert", Row::setting,
       &Manager::vergessen_in_letzten_tagen_groesstmoeglicher_wert, 30, 30, 999},
      {"startzeit_tag", Row::setting, StartHour{}, 3, 0, 23},
      {"neue_karten_pro_tag", Row::setting, &Manager::neue_karten_pro_tag, 5, 0, 9999},
      {"neue_karten_nur_heute", Row::day_bound, &Manager::neue_karten_nur_heute, None, None, None},
      {"maximale_wiederholungen_pro_tag", Row::setting, &Manager::maximale_wiederholungen_pro_tag,
       50, 0, 9999},
      {"maximale_beantwortungszeit", Row::setting, &Manager::maximale_beantwortungszeit, 60, 30,
       999},
      {"maximale_beantwortungszeit_reizung", Row::setting,
       &Manager::maximale_beantwortungszeit_reizung, 180, 30, 999},
      {"NEW_STEPS", Row::setting, &Manager::NEW_STEPS, List{1, 10}, List{1, 10}, List{1, 10}},
      {"GRADUATING_INTERVAL", Row::setting, &Manager::GRADUATING_INTERVAL, 1, 1, 99},
      {"EASY_INTERVAL", Row::setting, &Manager::EASY_INTERVAL, 4, 1, 99},
      {"STARTING_EASE", Row::setting, &Manager::STARTING_EASE, 250, 130, 999},
      {"EASY_BONUS", Row::setting, &Manager::EASY_BONUS, 130, 130, 999},
      {"INTERVAL_MODIFIER", Row::setting, &Manager::INTERVAL_MODIFIER, 100, 100, 999},
      {"MAXIMUM_INTERVAL", Row::setting, &Manager::MAXIMUM_INTERVAL, 36500, 7, 99999},
      {"LAPSE_STEPS", Row::setting, &Manager::LAPSE_STEPS, List{10}, List{10}, List{10}},
      {"NEW_INTERVAL", Row::setting, &Manager::NEW_INTERVAL, 70, 0, 100},
      {"MINIMUM_INTERVAL", Row::setting, &Manager::MINIMUM_INTERVAL, 1, 1, 99},
      {"hard_factor", Row::setting, &Manager::hard_factor, 120, 5, 999},
      {"NEW_STEPS_min", Row::step_bound, &Manager::NEW_STEPS_min, None, 1, 99999},
      {"LAPSE_STEPS_min", Row::step_bound, &Manager::LAPSE_STEPS_min, None, 1, 99999},
  };
  return table;
}

std::string quoted(std::string_view key) { return "'" + std::string(key) + "'"; }

// `wert` as the value of the optional integer setting `key`: None for none.
std::optional<std::int64_t> optional_integer_setting(std::string_view key, const Value& wert) {
  if (wert.is_none()) return std::nullopt;
  return integer_setting(key, wert);
}

// Makes `stunde` the hour at which the learning day starts for the manager,
// its time computations, the container and every registered collection, so
// that all of them agree on which learning day it is. ValueError for an hour
// outside 0..23, with nothing changed.
void set_startzeit_tag(Manager& kkv, std::int64_t stunde) {
  if (stunde < 0 || stunde > 23) {
    throw ValueError("setting 'startzeit_tag' must be an hour from 0 to 23, not " +
                     std::to_string(stunde));
  }
  const int hour = static_cast<int>(stunde);
  if (kkv.zeitberechnung->startzeit_tag() != hour) {
    kkv.zeitberechnung =
        std::make_shared<platform::Zeitberechnungen>(platform::process_environment().cf, hour);
  }
  kkv.startzeit_tag = hour;
  kkv.hc.zeitberechnung = kkv.zeitberechnung;
  kkv.hc.startzeit_tag = hour;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    sammlung->zeitberechnung = kkv.zeitberechnung;
    sammlung->startzeit_tag = hour;
  }
}

// The attribute of `setting`, as a value of its own (a list is copied).
Value read(const Manager& kkv, const Setting& setting) {
  return std::visit(
      [&](const auto& attribute) -> Value {
        using A = std::decay_t<decltype(attribute)>;
        if constexpr (std::is_same_v<A, StartHour>) {
          return kkv.startzeit_tag;
        } else if constexpr (std::is_same_v<A, std::optional<std::int64_t> Manager::*>) {
          const std::optional<std::int64_t>& wert = kkv.*attribute;
          return wert ? Value(*wert) : Value(None);
        } else if constexpr (std::is_same_v<A, List Manager::*>) {
          return deep_copy(Value(kkv.*attribute));
        } else {
          return kkv.*attribute;
        }
      },
      setting.attribute);
}

// Sets the attribute of `setting` to `wert` (a list is copied). TypeError
// when `wert` is not of the attribute's kind; None clears an optional one.
void assign(Manager& kkv, const Setting& setting, const Value& wert) {
  std::visit(
      [&](const auto& attribute) {
        using A = std::decay_t<decltype(attribute)>;
        if constexpr (std::is_same_v<A, StartHour>) {
          set_startzeit_tag(kkv, integer_setting(setting.key, wert));
        } else if constexpr (std::is_same_v<A, std::int64_t Manager::*>) {
          kkv.*attribute = integer_setting(setting.key, wert);
        } else if constexpr (std::is_same_v<A, List Manager::*>) {
          if (!wert.is_list()) {
            throw TypeError("setting " + quoted(setting.key) + " must be a list, not " +
                            type_name(wert));
          }
          kkv.*attribute = deep_copy(wert).as_list();
        } else {
          kkv.*attribute = optional_integer_setting(setting.key, wert);
        }
      },
      setting.attribute);
}

// ---- single settings, as a settings screen handles them ----

enum class Kind { integer, optional_integer, step_list };

Kind kind_of(const Setting& setting) {
  if (std::holds_alternative<List Manager::*>(setting.attribute)) return Kind::step_list;
  if (std::holds_alternative<std::optional<std::int64_t> Manager::*>(setting.attribute)) {
    return Kind::optional_integer;
  }
  return Kind::integer;
}

// The stored setting `key`; the bounds of a step are no setting of their
// own. KeyError otherwise.
const Setting& setting_named(std::string_view key) {
  for (const Setting& setting : settings_table()) {
    if (setting.key == key && setting.row != Row::step_bound) return setting;
  }
  throw KeyError("no setting " + quoted(key));
}

// The row holding the bounds of a value of `setting`: for a step list the
// bounds of a single step ("NEW_STEPS_min" for "NEW_STEPS"), else its own.
const Setting& bounds_of(const Setting& setting) {
  if (kind_of(setting) != Kind::step_list) return setting;
  const std::string step_key = std::string(setting.key) + "_min";
  for (const Setting& row : settings_table()) {
    if (row.key == step_key) return row;
  }
  throw KeyError("no step bounds for setting " + quoted(setting.key));
}

constexpr std::string_view blanks = " \t\n\r\f\v";

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The whole of `text` (blanks around it aside) as an integer.
std::optional<std::int64_t> parsed_integer(std::string_view text) {
  text = trimmed(text);
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

// Appends the blank-separated integers of `part`; false when it holds none
// or anything else.
bool append_integers(List& steps, std::string_view part) {
  part = trimmed(part);
  if (part.empty()) return false;
  while (!part.empty()) {
    const std::size_t end = std::min(part.find_first_of(blanks), part.size());
    const std::optional<std::int64_t> step = parsed_integer(part.substr(0, end));
    if (!step) return false;
    steps.append(*step);
    part = trimmed(part.substr(end));
  }
  return true;
}

// Integers separated by commas or blanks, optionally in brackets; empty
// text is the empty list. Nothing for any other text.
std::optional<List> parsed_steps(std::string_view text) {
  text = trimmed(text);
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    text = trimmed(text.substr(1, text.size() - 2));
  }
  List steps;
  if (text.empty()) return steps;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    if (!append_integers(steps, text.substr(start, comma - start))) return std::nullopt;
    if (comma == std::string_view::npos) return steps;
    start = comma + 1;
  }
}

bool is_none_text(std::string_view text) {
  text = trimmed(text);
  return text.size() == 4 && std::equal(text.begin(), text.end(), "none", [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

ValueError wrong_form(const Setting& setting, std::string_view needed, std::string_view text) {
  return ValueError("setting " + quoted(setting.key) + " needs " + std::string(needed) + ", not " +
                    quoted(text));
}

void check_integer(const Setting& setting, const Value& wert) {
  const std::int64_t number = integer_setting(setting.key, wert);
  const std::int64_t minimum = setting.minimum.as_int();
  const std::int64_t maximum = setting.maximum.as_int();
  if (number < minimum || number > maximum) {
    throw ValueError("setting " + quoted(setting.key) + " must be from " + std::to_string(minimum) +
                     " to " + std::to_string(maximum) + ", not " + std::to_string(number));
  }
}

void check_optional_integer(const Setting& setting, const Value& wert) {
  if (wert.is_none()) return;
  const std::int64_t number = integer_setting(setting.key, wert);
  if (number < 0) {
    throw ValueError("setting " + quoted(setting.key) + " must be none or at least 0, not " +
                     std::to_string(number));
  }
}

void check_steps(const Setting& setting, const Value& wert) {
  if (!wert.is_list()) {
    throw TypeError("setting " + quoted(setting.key) + " must be a list, not " + type_name(wert));
  }
  const List steps = wert.as_list();
  if (steps.empty())
    throw ValueError("setting " + quoted(setting.key) + " needs at least one step");
  const Setting& bounds = bounds_of(setting);
  const std::int64_t minimum = bounds.minimum.as_int();
  const std::int64_t maximum = bounds.maximum.as_int();
  for (const Value& step : steps) {
    if (!step.is_int()) {
      throw TypeError("setting " + quoted(setting.key) + " must have integer steps, not " +
                      type_name(step));
    }
    if (step.as_int() < minimum || step.as_int() > maximum) {
      throw ValueError("setting " + quoted(setting.key) + " must have steps from " +
                       std::to_string(minimum) + " to " + std::to_string(maximum) +
                       " minutes, not " + std::to_string(step.as_int()));
    }
  }
}

// TypeError or ValueError unless `wert` is a value `setting` may take.
void check_value(const Setting& setting, const Value& wert) {
  switch (kind_of(setting)) {
    case Kind::integer: check_integer(setting, wert); return;
    case Kind::optional_integer: check_optional_integer(setting, wert); return;
    case Kind::step_list: check_steps(setting, wert); return;
  }
}

// The stored settings mapping, or nothing when none is stored. A file that
// does not hold a settings mapping counts as none: it is renamed aside,
// with a warning, so that the defaults written next do not replace it.
std::optional<Dict> stored_settings() {
  try {
    return kk::PickleDump(platform::process_environment()).get_kkv_settings();
  } catch (const ValueError& damaged) {
    const std::filesystem::path aside =
        kk::PickleDump(platform::process_environment()).keep_damaged_settings_aside();
    platform::process_environment().diagnostics.warn(std::string(damaged.what()) +
                                                     "; it was renamed to \"" + aside.string() +
                                                     "\" and the default settings are used");
    return std::nullopt;
  }
}

// The default column as a stored settings mapping. The day-bound setting
// is left out: its default is none, which is what a manager loads for a
// missing key, dated with its own learning day.
Dict default_column() {
  Dict settings;
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::setting) settings.set(setting.key, deep_copy(setting.standard));
  }
  return settings;
}

}  // namespace

void Karteikartenverwaltung::set_default_values() {
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::setting) assign(*this, setting, setting.standard);
  }
  anzahl_neue_karten_in_sammlung_vorhanden = std::nullopt;
  anzahl_heute_gelernt = 0;
}

void Karteikartenverwaltung::set_minimum_values() {
  for (const Setting& setting : settings_table()) {
    if (setting.row != Row::day_bound) assign(*this, setting, setting.minimum);
  }
}

Dict Karteikartenverwaltung::get_maximum_values() const {
  Dict maximum;
  for (const Setting& setting : settings_table()) {
    if (setting.row != Row::day_bound) maximum.set(setting.key, deep_copy(setting.maximum));
  }
  return maximum;
}

Dict Karteikartenverwaltung::set_minimum_values_in_dict() {
  set_minimum_values();
  return make_default_values_dictionary();
}

Dict Karteikartenverwaltung::make_default_values_dictionary() const {
  Dict settings;
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::setting) {
      settings.set(setting.key, read(*this, setting));
    } else if (setting.row == Row::day_bound) {
      settings.set(setting.key, set_heute_bezogener_wert(setting.key, read(*this, setting)));
    }
  }
  return settings;
}

void Karteikartenverwaltung::save_default_values(const std::optional<Dict>& dictionary) {
  kk::PickleDump(platform::process_environment())
      .save_default_values(dictionary && !dictionary->empty() ? *dictionary
                                                              : make_default_values_dictionary());
}

void Karteikartenverwaltung::update_default_values() {
  const std::optional<Dict> stored = stored_settings();
  if (!stored) {
    save_default_values();
    return;
  }
  const Value as_stored = deep_copy(Value(*stored));
  set_default_values();
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::day_bound) {
      assign(*this, setting, get_heute_bezogener_wert_aus_dict(*stored, std::string(setting.key)));
    } else if (setting.row == Row::setting) {
      if (const Value* wert = stored->find(setting.key)) assign(*this, setting, *wert);
    }
  }
  // Written back only when loading changed them (a key was missing, the
  // day-bound value lapsed or was a plain number), so that a host that
  // only reads never writes over a change another process makes meanwhile.
  const Dict loaded = make_default_values_dictionary();
  if (Value(loaded) != as_stored) save_default_values(loaded);
}

void Karteikartenverwaltung::update_object_fields() {
  neue_karten_pro_tag =
      integer_setting("neue_karten_pro_tag", get_metadaten("neue_karten_pro_tag"));
  neue_karten_nur_heute =
      optional_integer_setting("neue_karten_nur_heute", get_metadaten("neue_karten_nur_heute"));
  maximale_wiederholungen_pro_tag =
      integer_setting("wiederholungen_pro_tag", get_metadaten("wiederholungen_pro_tag"));
}

std::int64_t integer_setting(std::string_view key, const Value& wert) {
  if (!wert.is_int()) {
    throw TypeError("setting '" + std::string(key) + "' must be an integer, not " +
                    type_name(wert));
  }
  return wert.as_int();
}

std::vector<SettingDescription> describe_settings(const Karteikartenverwaltung& kkv) {
  std::vector<SettingDescription> descriptions;
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::step_bound) continue;
    const Setting& bounds = bounds_of(setting);
    descriptions.push_back({std::string(setting.key), read(kkv, setting), bounds.minimum,
                            bounds.maximum, deep_copy(setting.standard)});
  }
  return descriptions;
}

Value setting_value_from_text(std::string_view key, std::string_view text) {
  const Setting& setting = setting_named(key);
  const Kind kind = kind_of(setting);
  if (kind == Kind::step_list) {
    if (std::optional<List> steps = parsed_steps(text)) return std::move(*steps);
    throw wrong_form(setting, "integers separated by commas", text);
  }
  if (kind == Kind::optional_integer && is_none_text(text)) return None;
  if (const std::optional<std::int64_t> number = parsed_integer(text)) return *number;
  throw wrong_form(setting, kind == Kind::integer ? "an integer" : "an integer or none", text);
}

void change_setting(Karteikartenverwaltung& kkv, std::string_view key, const Value& wert) {
  const Setting& setting = setting_named(key);
  check_value(setting, wert);
  const Value previous = read(kkv, setting);
  assign(kkv, setting, wert);
  try {
    kkv.save_default_values();
  } catch (...) {
    assign(kkv, setting, previous);
    throw;
  }
}

bool store_default_settings_if_none_stored() {
  if (stored_settings()) return false;
  kk::PickleDump(platform::process_environment()).save_default_values(default_column());
  return true;
}

Value stored_setting(std::string_view key) {
  const Setting& setting = setting_named(key);
  std::optional<Dict> stored;
  try {
    stored = kk::PickleDump(platform::process_environment()).get_kkv_settings();
  } catch (const ValueError&) {
    // Not a settings mapping: a manager would use the defaults.
  } catch (const std::system_error&) {
    // Unreadable: the same.
  }
  const Value* wert = stored ? stored->find(setting.key) : nullptr;
  return wert != nullptr ? deep_copy(*wert) : deep_copy(setting.standard);
}

void reset_to_default_settings(Karteikartenverwaltung& kkv) {
  kkv.set_default_values();
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::day_bound) assign(kkv, setting, setting.standard);
  }
  kkv.save_default_values();
}

}  // namespace tavo::kk
