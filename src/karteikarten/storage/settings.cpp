// The scheduler's settings: their table of names, defaults, bounds and
// units, the manager's operations that reset, report, load and store them,
// the settings screen's describing, reading and changing of single
// settings, and the default column a host of its own starts with.
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
#include "karteikarten/storage/day_bound_value.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

// What the settings are read from and written to.
struct Targets {
  SchedulerSettings& scheduling;
  SessionState& state;
  HaendesammlungContainer& hc;
  const platform::Common_functions& cf;
};

namespace {

using S = SchedulerSettings;
using M = SessionState;

// The attribute behind "startzeit_tag": changing it moves the learning day's
// start everywhere (see set_startzeit_tag).
struct StartHour {};

using Attribute = std::variant<std::int64_t S::*, std::int64_t M::*, List S::*,
                               std::optional<std::int64_t> M::*, StartHour>;

template <class T>
T& member(const Targets& targets, T S::*attribute) {
  return targets.scheduling.*attribute;
}

template <class T>
T& member(const Targets& targets, T M::*attribute) {
  return targets.state.*attribute;
}

enum class Row {
  setting,     // stored; in every table
  day_bound,   // stored dated with its learning day; in no table
  step_bound,  // not stored; only in the minimum and maximum tables
};

using U = SettingUnit;

struct Setting {
  std::string_view key;
  Row row;
  Attribute attribute;
  Value standard;
  Value minimum;
  Value maximum;
  SettingUnit unit;
};

// The settings in their stored order, then the bounds of a learning step.
const std::vector<Setting>& settings_table() {
  static const std::vector<Setting> table{
      {"vergessen_in_letzten_tagen_groesstmoeglicher_wert", Row::setting,
       &M::vergessen_in_letzten_tagen_groesstmoeglicher_wert, 30, 30, 999, U::days},
      {"startzeit_tag", Row::setting, StartHour{}, 3, 0, 23, U::hour_of_day},
      {"neue_karten_pro_tag", Row::setting, &M::neue_karten_pro_tag, 5, 0, 9999,
       U::cards_per_day},
      {"neue_karten_nur_heute", Row::day_bound, &M::neue_karten_nur_heute, None, None, None,
       U::cards},
      {"maximale_wiederholungen_pro_tag", Row::setting, &M::maximale_wiederholungen_pro_tag,
       50, 0, 9999, U::reviews_per_day},
      {"maximale_beantwortungszeit", Row::setting, &M::maximale_beantwortungszeit, 60, 30,
       999, U::seconds},
      {"maximale_beantwortungszeit_reizung", Row::setting,
       &M::maximale_beantwortungszeit_reizung, 180, 30, 999, U::seconds},
      {"NEW_STEPS", Row::setting, &S::NEW_STEPS, List{1, 10}, List{1, 10}, List{1, 10},
       U::minutes},
      {"GRADUATING_INTERVAL", Row::setting, &S::GRADUATING_INTERVAL, 1, 1, 99, U::days},
      {"EASY_INTERVAL", Row::setting, &S::EASY_INTERVAL, 4, 1, 99, U::days},
      {"STARTING_EASE", Row::setting, &S::STARTING_EASE, 250, 130, 999, U::percent},
      {"EASY_BONUS", Row::setting, &S::EASY_BONUS, 130, 130, 999, U::percent},
      {"INTERVAL_MODIFIER", Row::setting, &S::INTERVAL_MODIFIER, 100, 100, 999, U::percent},
      {"MAXIMUM_INTERVAL", Row::setting, &S::MAXIMUM_INTERVAL, 36500, 7, 99999, U::days},
      {"LAPSE_STEPS", Row::setting, &S::LAPSE_STEPS, List{10}, List{10}, List{10}, U::minutes},
      {"NEW_INTERVAL", Row::setting, &S::NEW_INTERVAL, 70, 0, 100, U::percent},
      {"MINIMUM_INTERVAL", Row::setting, &S::MINIMUM_INTERVAL, 1, 1, 99, U::days},
      {"hard_factor", Row::setting, &S::hard_factor, 120, 5, 999, U::percent},
      {"NEW_STEPS_min", Row::step_bound, &M::NEW_STEPS_min, None, 1, 99999, U::minutes},
      {"LAPSE_STEPS_min", Row::step_bound, &M::LAPSE_STEPS_min, None, 1, 99999, U::minutes},
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
void set_startzeit_tag(const Targets& targets, std::int64_t stunde) {
  if (stunde < 0 || stunde > 23) {
    throw ValueError("setting 'startzeit_tag' must be an hour from 0 to 23, not " +
                     std::to_string(stunde));
  }
  const int hour = static_cast<int>(stunde);
  SessionState& state = targets.state;
  if (state.zeitberechnung->startzeit_tag() != hour) {
    state.zeitberechnung = std::make_shared<platform::Zeitberechnungen>(targets.cf, hour);
  }
  state.startzeit_tag = hour;
  targets.hc.zeitberechnung = state.zeitberechnung;
  targets.hc.startzeit_tag = hour;
  for (const SammlungRef& sammlung : targets.hc.liste_aller_sammlungen) {
    sammlung->zeitberechnung = state.zeitberechnung;
    sammlung->startzeit_tag = hour;
  }
}

// The attribute of `setting`, as a value of its own (a list is copied).
Value read(const Targets& targets, const Setting& setting) {
  return std::visit(
      [&](const auto& attribute) -> Value {
        using A = std::decay_t<decltype(attribute)>;
        if constexpr (std::is_same_v<A, StartHour>) {
          return targets.state.startzeit_tag;
        } else if constexpr (std::is_same_v<A, std::optional<std::int64_t> M::*>) {
          const std::optional<std::int64_t>& wert = member(targets, attribute);
          return wert ? Value(*wert) : Value(None);
        } else if constexpr (std::is_same_v<A, List S::*>) {
          return deep_copy(Value(member(targets, attribute)));
        } else {
          return member(targets, attribute);
        }
      },
      setting.attribute);
}

// Sets the attribute of `setting` to `wert` (a list is copied). TypeError
// when `wert` is not of the attribute's kind; None clears an optional one.
void assign(const Targets& targets, const Setting& setting, const Value& wert) {
  std::visit(
      [&](const auto& attribute) {
        using A = std::decay_t<decltype(attribute)>;
        if constexpr (std::is_same_v<A, StartHour>) {
          set_startzeit_tag(targets, integer_setting(setting.key, wert));
        } else if constexpr (std::is_same_v<A, List S::*>) {
          if (!wert.is_list()) {
            throw TypeError("setting " + quoted(setting.key) + " must be a list, not " +
                            type_name(wert));
          }
          member(targets, attribute) = deep_copy(wert).as_list();
        } else if constexpr (std::is_same_v<A, std::optional<std::int64_t> M::*>) {
          member(targets, attribute) = optional_integer_setting(setting.key, wert);
        } else {
          member(targets, attribute) = integer_setting(setting.key, wert);
        }
      },
      setting.attribute);
}

// ---- single settings, as a settings screen handles them ----

enum class Kind { integer, optional_integer, step_list };

Kind kind_of(const Setting& setting) {
  if (std::holds_alternative<List S::*>(setting.attribute)) return Kind::step_list;
  if (std::holds_alternative<std::optional<std::int64_t> M::*>(setting.attribute)) {
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
  throw KeyError("no setting " + quoted(key), Value(key));
}

// The row holding the bounds of a value of `setting`: for a step list the
// bounds of a single step ("NEW_STEPS_min" for "NEW_STEPS"), else its own.
const Setting& bounds_of(const Setting& setting) {
  if (kind_of(setting) != Kind::step_list) return setting;
  const std::string step_key = std::string(setting.key) + "_min";
  for (const Setting& row : settings_table()) {
    if (row.key == step_key) return row;
  }
  throw KeyError("no step bounds for setting " + quoted(setting.key), Value(step_key));
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
std::optional<Dict> stored_settings(platform::Environment& env) {
  const PickleDump store(env);
  try {
    return store.get_kkv_settings();
  } catch (const ValueError& damaged) {
    const std::filesystem::path aside = store.keep_damaged_settings_aside();
    env.diagnostics.warn(std::string(damaged.what()) + "; it was renamed to \"" + aside.string() +
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

SettingsStore::SettingsStore(platform::Environment& env, SchedulerSettings& scheduling,
                             SessionState& state, HaendesammlungContainer& hc)
    : env_(env), scheduling_(scheduling), state_(state), hc_(hc) {}

Targets SettingsStore::targets() const { return {scheduling_, state_, hc_, env_.cf}; }

void SettingsStore::set_default_values() {
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::setting) assign(targets(), setting, setting.standard);
  }
  state_.anzahl_neue_karten_in_sammlung_vorhanden = std::nullopt;
  state_.anzahl_heute_gelernt = 0;
}

void SettingsStore::set_minimum_values() {
  for (const Setting& setting : settings_table()) {
    if (setting.row != Row::day_bound) assign(targets(), setting, setting.minimum);
  }
}

Dict SettingsStore::get_maximum_values() const {
  Dict maximum;
  for (const Setting& setting : settings_table()) {
    if (setting.row != Row::day_bound) maximum.set(setting.key, deep_copy(setting.maximum));
  }
  return maximum;
}

Dict SettingsStore::set_minimum_values_in_dict() {
  set_minimum_values();
  return make_default_values_dictionary();
}

Dict SettingsStore::make_default_values_dictionary() const {
  Dict settings;
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::setting) {
      settings.set(setting.key, read(targets(), setting));
    } else if (setting.row == Row::day_bound) {
      settings.set(setting.key,
                   day_bound_value(env_.cf, state_.startzeit_tag, read(targets(), setting)));
    }
  }
  return settings;
}

void SettingsStore::save_default_values(const std::optional<Dict>& dictionary) {
  PickleDump(env_).save_default_values(
      dictionary && !dictionary->empty() ? *dictionary : make_default_values_dictionary());
}

void SettingsStore::update_default_values() {
  const std::optional<Dict> stored = stored_settings(env_);
  if (!stored) {
    save_default_values();
    return;
  }
  const Value as_stored = deep_copy(Value(*stored));
  set_default_values();
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::day_bound) {
      assign(targets(), setting, todays_value_in(env_, state_.startzeit_tag, *stored,
                                                 std::string(setting.key)));
    } else if (setting.row == Row::setting) {
      if (const Value* wert = stored->find(setting.key)) assign(targets(), setting, *wert);
    }
  }
  // Written back only when loading changed them (a key was missing, the
  // day-bound value lapsed or was a plain number), so that a host that
  // only reads never writes over a change another process makes meanwhile.
  const Dict loaded = make_default_values_dictionary();
  if (Value(loaded) != as_stored) save_default_values(loaded);
}

std::int64_t integer_setting(std::string_view key, const Value& wert) {
  if (!wert.is_int()) {
    throw TypeError("setting '" + std::string(key) + "' must be an integer, not " +
                    type_name(wert));
  }
  return wert.as_int();
}

std::vector<SettingDescription> SettingsStore::describe_settings() const {
  std::vector<SettingDescription> descriptions;
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::step_bound) continue;
    const Setting& bounds = bounds_of(setting);
    descriptions.push_back({std::string(setting.key), read(targets(), setting), bounds.minimum,
                            bounds.maximum, deep_copy(setting.standard), setting.unit});
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

void SettingsStore::change_setting(std::string_view key, const Value& wert) {
  const Setting& setting = setting_named(key);
  check_value(setting, wert);
  const Value previous = read(targets(), setting);
  assign(targets(), setting, wert);
  try {
    save_default_values();
  } catch (const std::exception&) {
    // Whatever stopped the save, the setting keeps the value that is stored.
    assign(targets(), setting, previous);
    throw;
  }
}

bool store_default_settings_if_none_stored(platform::Environment& env) {
  if (stored_settings(env)) return false;
  PickleDump(env).save_default_values(default_column());
  return true;
}

Value stored_setting(platform::Environment& env, std::string_view key) {
  const Setting& setting = setting_named(key);
  std::optional<Dict> stored;
  try {
    stored = PickleDump(env).get_kkv_settings();
  } catch (const ValueError&) {
    // Not a settings mapping: a manager would use the defaults.
  } catch (const std::system_error&) {
    // Unreadable: the same.
  }
  const Value* wert = stored ? stored->find(setting.key) : nullptr;
  return wert != nullptr ? deep_copy(*wert) : deep_copy(setting.standard);
}

void SettingsStore::reset_to_default_settings() {
  set_default_values();
  for (const Setting& setting : settings_table()) {
    if (setting.row == Row::day_bound) assign(targets(), setting, setting.standard);
  }
  save_default_values();
}

}  // namespace tavo::kk
