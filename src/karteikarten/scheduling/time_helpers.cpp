#include "karteikarten/scheduling/time_helpers.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

#include "value/repr.hpp"

namespace tavo::kk {
namespace {

// A double times 10^3 needs at most 53 + 7 significant bits; long double
// holds them exactly, so the product's fraction shows a tie exactly.
static_assert(std::numeric_limits<long double>::digits >= 60);
constexpr std::array<double, 4> powers_of_ten{1, 10, 100, 1000};

// `number` rounded to `digits` (0 to 3) places through the exact product
// with 10^digits; nothing when the rounded product is too large for a
// double to hold exactly.
std::optional<double> rounded_through_exact_product(double number, int digits) {
  const double power = powers_of_ten[static_cast<std::size_t>(digits)];
  const long double scaled = static_cast<long double>(std::fabs(number)) * power;
  const long double whole = std::floor(scaled);
  const long double rounded = scaled - whole >= 0.5L ? whole + 1 : whole;
  if (rounded >= 0x1p53L) return std::nullopt;
  // Both operands are exact, and the quotient is correctly rounded: the
  // double nearest to the rounded decimal value.
  return std::copysign(static_cast<double>(rounded) / power, number);
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
  if (digits >= 0 && digits < static_cast<int>(powers_of_ten.size())) {
    if (const std::optional<double> rounded = rounded_through_exact_product(number, digits)) {
      return *rounded;
    }
  }
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

IntervalLabel interval_label(const Value& days) {
  using Unit = IntervalLabel::Unit;
  if (days == Value("done")) return {Unit::done, 0, false};
  if (!days.truthy()) return {Unit::none, 0, false};
  const double value = days.as_float();
  if (value < 1) return {Unit::minutes, round_half_away_from_zero(value * 24 * 60, 0), false};
  if (value < 30) return {Unit::days, round_half_away_from_zero(value, 0), value == 1};
  const bool months = value < 365;
  const double count = round_half_away_from_zero(value / (months ? 30.4375 : 365.25), 1);
  return {months ? Unit::months : Unit::years, count, count == 1.0};
}

std::string human_friendly_time(const IntervalLabel& label) {
  const auto whole = [&] { return std::to_string(static_cast<long long>(label.number)); };
  switch (label.unit) {
    case IntervalLabel::Unit::none:
    case IntervalLabel::Unit::done: return "Ende";
    case IntervalLabel::Unit::minutes: return "< " + whole() + "min";
    case IntervalLabel::Unit::days: return whole() + (label.singular ? " Tag" : " Tage");
    case IntervalLabel::Unit::months:
      return float_str(label.number) + (label.singular ? " Monat" : " Monate");
    case IntervalLabel::Unit::years:
      return float_str(label.number) + (label.singular ? " Jahr" : " Jahre");
  }
  return "Ende";
}

std::string human_friendly_time(const Value& days) {
  return human_friendly_time(interval_label(days));
}

double look_ahead_seconds(const List& steps, std::size_t index, double smallest) {
  if (index >= steps.size() || !steps.items()[index].is_number()) return smallest;
  return std::max(steps.items()[index].as_float() * 60, smallest);
}

}  // namespace tavo::kk
