// Time units and the interval texts of the answer buttons.
#pragma once

#include <array>
#include <string>

#include "value/value.hpp"

namespace tavo::kk {

// `minutes` as days, in floating point.
double minutes_to_days(double minutes);

// `number` rounded to `digits` decimal places, halves away from zero, by
// its exact decimal value (so 0.25 gives 0.3, and 1.15, stored just below
// 1.15, gives 1.1).
double round_half_away_from_zero(double number, int digits);

// An interval as the parts of a button label: a number and its unit, so
// that a host can word it in its own language.
struct IntervalLabel {
  enum class Unit {
    // No interval: the answer is not taken in the card's phase (a falsy
    // value: 0, None, empty text).
    none,
    // The card is done for the forgotten-cards drill ("done").
    done,
    // Whole minutes, under a day.
    minutes,
    // Whole days, under 30 days.
    days,
    // Months of 30.4375 days in tenths, under 365 days.
    months,
    // Years of 365.25 days in tenths.
    years,
  };
  Unit unit = Unit::none;
  // Rounded halves away from zero: whole minutes and days, tenths of
  // months and years; 0 for none and done.
  double number = 0;
  // The unit is named in the singular: exactly one day (1, not a rounded
  // 1.2), or a month or year that rounds to 1.0.
  bool singular = false;
};

// The buttons again, hard, good and easy.
using ButtonIntervals = std::array<IntervalLabel, 4>;

// The parts of the label for an interval of `days`, as human_friendly_time
// words them.
IntervalLabel interval_label(const Value& days);

// The label of an answer button for an interval of `days`:
//   "done" or a falsy value (0, None, empty text)   "Ende"
//   under a day                                     "< 10min"
//   under 30 days                                   "1 Tag", "4 Tage"
//   under 365 days, in months of 30.4375 days       "1.0 Monat", "1.5 Monate"
//   otherwise, in years of 365.25 days              "1.0 Jahr", "1.1 Jahre"
// Whole numbers and tenths are rounded halves away from zero.
std::string human_friendly_time(const Value& days);
std::string human_friendly_time(const IntervalLabel& label);

// The look-ahead window in seconds for the learning step `index` of
// `steps` (minutes): the step in seconds, but at least `smallest`, and
// `smallest` when there is no such step or it is not a number.
double look_ahead_seconds(const List& steps, std::size_t index, double smallest);

}  // namespace tavo::kk
