// SettingsStore: the eighteen settings of a learning session (the
// scheduler's numbers and the session's limits), loaded from and stored in
// the settings file, with their defaults and bounds.
//
// The whole-mapping operations (update_default_values,
// save_default_values, ...) are the ones the host calls on the manager; a
// settings screen adds every setting with its current value and its
// bounds, reading a value typed by a person, and changing one setting
// within its bounds; and a program that is a host of its own starts a
// learner with the default column.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "karteikarten/scheduling/scheduler_settings.hpp"
#include "karteikarten/session/session_state.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"
#include "platform/environment.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// What a setting's number counts. For the step lists ("NEW_STEPS",
// "LAPSE_STEPS") each step's.
enum class SettingUnit {
  cards,
  cards_per_day,
  reviews_per_day,
  days,
  // 0 to 23: the hour of the clock.
  hour_of_day,
  minutes,
  seconds,
  // 100 is the factor 1.
  percent,
};

// One setting: its key, its current value, the bounds of a value, its
// value in the default column and its unit. For the step lists
// ("NEW_STEPS", "LAPSE_STEPS") the bounds are those of a single step;
// "neue_karten_nur_heute" has no bounds (None).
struct SettingDescription {
  std::string key;
  Value wert;
  Value minimum;
  Value maximum;
  Value standard;
  SettingUnit unit = SettingUnit::cards;
};

struct Targets;

class SettingsStore {
 public:
  // Reads and writes the settings of `scheduling` and `state`; a new start
  // hour reaches `hc` and its collections too. Everything given must
  // outlive the store.
  SettingsStore(platform::Environment& env, SchedulerSettings& scheduling, SessionState& state,
                HaendesammlungContainer& hc);

  // Loads the stored settings into the attributes (storing the current ones
  // first when nothing is stored). A settings file that does not hold a
  // settings mapping is renamed aside with a warning and counts as none.
  void update_default_values();
  // Gives every stored setting its default-column value.
  void set_default_values();
  // Gives every setting, and the bounds of a learning step, its minimum.
  void set_minimum_values();
  Dict get_maximum_values() const;
  // set_minimum_values, then the settings mapping.
  Dict set_minimum_values_in_dict();
  // The eighteen settings from the attributes, in their fixed order.
  Dict make_default_values_dictionary() const;
  // Stores `dictionary`, or the current settings when it is absent or empty.
  void save_default_values(const std::optional<Dict>& dictionary = std::nullopt);

  // The eighteen settings in their stored order.
  std::vector<SettingDescription> describe_settings() const;
  // Sets the setting `key` to `wert` and stores the settings. KeyError for
  // an unknown key, TypeError for a value of the wrong kind, ValueError
  // "setting 'x' must be from a to b, not c" for a value (or a step) outside
  // its bounds and for an empty step list; nothing changes then.
  void change_setting(std::string_view key, const Value& wert);
  // Gives the attributes the default column of every setting
  // (neue_karten_nur_heute none) and stores it. std::system_error when the
  // file cannot be written; the attributes then hold the default column
  // all the same.
  void reset_to_default_settings();

 private:
  Targets targets() const;

  platform::Environment& env_;
  SchedulerSettings& scheduling_;
  SessionState& state_;
  HaendesammlungContainer& hc_;
};

// The value a person typed for `key`: an integer ("25"), for a step list
// integers separated by commas or blanks ("1, 10" or "[1, 10]"), and for
// "neue_karten_nur_heute" also "none". KeyError "no setting 'x'" for an
// unknown key; ValueError "setting 'x' needs ..." for a text of the wrong
// form.
Value setting_value_from_text(std::string_view key, std::string_view text);


// ---- the default column ----
//
// A manager that finds no settings stored stores its constructor values
// (3 reviews a day, ...), as the hosts of the library expect. A program
// that is a host of its own starts a learner with the default column of
// the settings table instead: 5 new cards and 50 reviews a day, NEW_STEPS
// [1, 10], LAPSE_STEPS [10], and so on.

// Stores the default column when no settings are stored, and says so:
// true then, false when settings were stored already (nothing is written
// then). A settings file that cannot be read counts as none: it is renamed
// aside with a warning, as a manager does. To be called before the first
// manager is built, which would otherwise store its constructor values.
// std::system_error when the file cannot be written.
bool store_default_settings_if_none_stored(platform::Environment& env);

// The stored value of the setting `key`, read without building a manager
// (which stores settings when none are): its default-column value when
// nothing is stored for it or the settings file cannot be read. KeyError
// for an unknown key.
Value stored_setting(platform::Environment& env, std::string_view key);

}  // namespace tavo::kk
