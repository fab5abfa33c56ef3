// How kkv prints moments and the day's figures.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/frame/day_figures.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::cli {

// The registered collections with their sizes: "kk_bridge (43 cards), ...".
std::string collections_line(const kk::Karteikartenverwaltung& kkv);

// `seconds` since the epoch as local time, "2026-12-07 10:34".
std::string local_time_text(double seconds);

// When the next card falls due, in one sentence: "Next card due: ... (in
// ...)".
std::string next_due_text(const kk::DayFigures& figures, double now);

// The same as a line.
void print_next_due(std::ostream& out, const kk::DayFigures& figures, double now);

// The day's figures as (label, value) pairs; `today_only` leaves out the
// totals over all days.
std::vector<std::pair<std::string, std::string>> figure_lines(const kk::DayFigures& figures,
                                                              bool today_only);

// The same, one "label: value" line each.
void print_figures(std::ostream& out, const kk::DayFigures& figures, bool today_only);

}  // namespace tavo::cli
