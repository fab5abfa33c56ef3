// The scheduler's settings as a host shows and changes them one by one.
//
// The manager's own settings operations (update_default_values,
// save_default_values, ...) load and store the whole settings mapping;
// these functions add what a settings screen needs: every setting with its
// current value and its bounds, reading a value typed by a person, and
// changing one setting within its bounds; and the settings a program that
// is a host of its own starts a learner with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// One setting: its key, its current value, the bounds of a value and its
// value in the default column. For the step lists ("NEW_STEPS",
// "LAPSE_STEPS") the bounds are those of a single step;
// "neue_karten_nur_heute" has no bounds (None).
struct SettingDescription {
  std::string key;
  Value wert;
  Value minimum;
  Value maximum;
  Value standard;
};

// The eighteen settings in their stored order.
std::vector<SettingDescription> describe_settings(const Karteikartenverwaltung& kkv);

// The value a person typed for `key`: an integer ("25"), for a step list
// integers separated by commas or blanks ("1, 10" or "[1, 10]"), and for
// "neue_karten_nur_heute" also "none". KeyError "no setting 'x'" for an
// unknown key; ValueError "setting 'x' needs ..." for a text of the wrong
// form.
Value setting_value_from_text(std::string_view key, std::string_view text);

// Sets the setting `key` to `wert` and stores the settings. KeyError for
// an unknown key, TypeError for a value of the wrong kind, ValueError
// "setting 'x' must be from a to b, not c" for a value (or a step) outside
// its bounds and for an empty step list; nothing changes then.
void change_setting(Karteikartenverwaltung& kkv, std::string_view key, const Value& wert);

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
bool store_default_settings_if_none_stored();

// The stored value of the setting `key`, read without building a manager
// (which stores settings when none are): its default-column value when
// nothing is stored for it or the settings file cannot be read. KeyError
// for an unknown key.
Value stored_setting(std::string_view key);

// Gives `kkv` the default column of every setting (neue_karten_nur_heute
// none) and stores it. std::system_error when the file cannot be written;
// `kkv` then holds the default column all the same.
void reset_to_default_settings(Karteikartenverwaltung& kkv);

}  // namespace tavo::kk
