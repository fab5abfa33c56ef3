// Time units and the interval texts of the answer buttons.
#pragma once

#include <string>

#include "value/value.hpp"

namespace tavo::kk {

// `minutes` as days, in floating point.
double minutes_to_days(double minutes);

// `number` rounded to `digits` decimal places, halves away from zero, by
// its exact decimal value (so 0.25 gives 0.3, and 1.15, stored just below
// 1.15, gives 1.1).
double round_half_away_from_zero(double number, int digits);

// The label of an answer button for an interval of `days`:
//   "done" or a falsy value (0, None, empty text)   "Ende"
//   under a day                                     "< 10min"
//   under 30 days                                   "1 Tag", "4 Tage"
//   under 365 days, in months of 30.4375 days       "1.0 Monat", "1.5 Monate"
//   otherwise, in years of 365.25 days              "1.0 Jahr", "1.1 Jahre"
// Whole numbers and tenths are rounded halves away from zero.
std::string human_friendly_time(const Value& days);

// The look-ahead window in seconds for the learning step `index` of
// `steps` (minutes): the step in seconds, but at least `smallest`, and
// `smallest` when there is no such step or it is not a number.
double look_ahead_seconds(const List& steps, std::size_t index, double smallest);

}  // namespace tavo::kk
