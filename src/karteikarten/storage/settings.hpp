// The scheduler's settings as a host shows and changes them one by one.
//
// The manager's own settings operations (update_default_values,
// save_default_values, ...) load and store the whole settings mapping;
// these functions add what a settings screen needs: every setting with its
// current value and its bounds, reading a value typed by a person, and
// changing one setting within its bounds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// One setting: its key, its current value and the bounds of a value. For
// the step lists ("NEW_STEPS", "LAPSE_STEPS") the bounds are those of a
// single step; "neue_karten_nur_heute" has no bounds (None).
struct SettingDescription {
  std::string key;
  Value wert;
  Value minimum;
  Value maximum;
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

}  // namespace tavo::kk
