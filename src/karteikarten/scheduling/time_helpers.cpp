// Time units, button labels, and the manager's time operations.
#include "karteikarten/scheduling/time_helpers.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

// "12 Tage"-style text: a rounded count and its unit, singular for one.
std::string whole_days_text(double days) {
  const auto count = static_cast<long long>(round_half_away_from_zero(days, 0));
  return std::to_string(count) + (days == 1 ? " Tag" : " Tage");
}

// "1.5 Monate"-style text for `days` in units of `unit_days`.
std::string tenths_text(double days, double unit_days, const char* singular, const char* plural) {
  const double count = round_half_away_from_zero(days / unit_days, 1);
  return float_str(count) + (count == 1.0 ? singular : plural);
}

// Adds one unit in the last decimal place of a non-negative decimal text.
void add_one_in_last_place(std::string& text) {
  for (std::size_t i = text.size(); i-- > 0;) {
    if (text[i] == '.') continue;
    if (text[i] != '9') {
      ++text[i];
      return;
    }
    text[i] = '0';
  }
  text.insert(0, 1, '1');
}

}  // namespace

double minutes_to_days(double minutes) { return minutes / 1440.0; }

double round_half_away_from_zero(double number, int digits) {
  if (!std::isfinite(number)) return number;
  // The exact decimal expansion, so that ties are recognised exactly.
  char exact[512];
  std::snprintf(exact, sizeof exact, "%.*f", digits + 80, std::fabs(number));
  std::string text = exact;
  const std::size_t kept = text.find('.') + 1 + static_cast<std::size_t>(digits);
  const bool round_up = text[kept] >= '5';
  text.resize(kept);
  if (round_up) add_one_in_last_place(text);
  return std::copysign(std::strtod(text.c_str(), nullptr), number);
}

std::string human_friendly_time(const Value& days) {
  if (days == Value("done") || !days.truthy()) return "Ende";
  const double value = days.as_float();
  if (value < 1) {
    const auto minutes = static_cast<long long>(round_half_away_from_zero(value * 24 * 60, 0));
    return "< " + std::to_string(minutes) + "min";
  }
  if (value < 30) return whole_days_text(value);
  if (value < 365) return tenths_text(value, 30.4375, " Monat", " Monate");
  return tenths_text(value, 365.25, " Jahr", " Jahre");
}

double look_ahead_seconds(const List& steps, std::size_t index, double smallest) {
  if (index >= steps.size() || !steps.items()[index].is_number()) return smallest;
  return std::max(steps.items()[index].as_float() * 60, smallest);
}

DateTime Karteikartenverwaltung::get_now() const {
  return platform::process_environment().cf.get_now_startzeit(startzeit_tag);
}

double Karteikartenverwaltung::get_seconds_since_epoch() const {
  return platform::process_environment().cf.get_now();
}

void Karteikartenverwaltung::set_vorauslernen_tage(std::int64_t zahl) {
  hc.set_vorauslernen_tage(zahl);
  vorauslernen_tage = zahl;
}

double Karteikartenverwaltung::voraus_1_min() const { return look_ahead_seconds(NEW_STEPS, 0, 60); }

double Karteikartenverwaltung::voraus_10_min() const {
  return look_ahead_seconds(NEW_STEPS, 1, 600);
}

}  // namespace tavo::kk
