// How kkv prints moments and the day's figures.
#pragma once

#include <iosfwd>
#include <string>

#include "karteikarten/frame/day_figures.hpp"

namespace tavo::cli {

// `seconds` since the epoch as local time, "2026-12-07 10:34".
std::string local_time_text(double seconds);

// When the next card falls due, one line: "Next card due: ... (in ...)".
void print_next_due(std::ostream& out, const kk::DayFigures& figures, double now);

// The day's figures, one "label: value" line each; `today_only` leaves out
// the totals over all days.
void print_figures(std::ostream& out, const kk::DayFigures& figures, bool today_only);

}  // namespace tavo::cli
