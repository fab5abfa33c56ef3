// The words kkv settings uses for each setting: what it means and the unit
// of its number, in the language spoken.
//
// The library's settings table holds the facts of a setting (its bounds,
// its default, its unit); the words are kkv's, written here as literal
// English texts for tr(), so that xgettext finds them and the catalogue
// gives them in German.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "karteikarten/storage/settings.hpp"

namespace tavo::cli {

// One sentence saying what the setting `key` does; empty for a key that
// has none.
std::string setting_meaning(std::string_view key);

// The unit's words: "cards per day", "minutes", "percent", ...
std::string unit_text(kk::SettingUnit unit);

// A setting's value as a learner types it: "none" for none.
std::string setting_value_text(const Value& wert);

// What a setting's value may be, and its default: "From 130 to 999;
// default 250."
std::string bounds_text(const kk::SettingDescription& setting);

// The setting in three lines: its name, value and unit; then, indented,
// what it does, and its bounds and default.
void print_setting(std::ostream& out, const kk::SettingDescription& setting);

}  // namespace tavo::cli
