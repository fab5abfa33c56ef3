// What the terminal charts and the HTML report share: the charts' titles and
// axis captions in the learner's language, and how values become heights
// and shades. Rendering only; the figures come from kk::learning_pictures.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/frame/learning_pictures.hpp"

namespace tavo::cli {

// ---- texts ----

std::string due_forecast_title();
std::string due_forecast_x_caption();
std::string calendar_title(const kk::LearningPictures& pictures);
std::string again_share_title();
// "young cards (4 answers, 25% again)"; "mature cards (no answers)".
std::string again_series_caption(bool mature, const kk::AgainCount& total);
std::string weeks_x_caption();
// The calendar's weeks whose Monday falls in another month than the
// Monday before, each with that month ("2026-03"), for the labels above it.
std::vector<std::pair<std::size_t, std::string>> month_starts(const kk::LearningPictures& pictures);
// Monday is 0: "Mon" ... "Sun".
std::string weekday_name(int weekday);
// "25%", whole percent.
std::string percent_text(double share);

// ---- the calendar's shades ----

// The shades of the calendar's days: 0 for a day without answers, then 1
// to 4 for the quarters of (0, most].
inline constexpr int shade_levels = 5;
int shade_level(std::int64_t answers, std::int64_t most);

// The answers a shade stands for, for the legend; a shade that no whole
// number falls in has none.
struct ShadeRange {
  int level = 0;
  std::int64_t lowest = 0;
  std::int64_t highest = 0;
};
std::vector<ShadeRange> shade_ranges(std::int64_t most);
// "1–3 answers", or "2 answers" for a range of one.
std::string shade_range_text(const ShadeRange& range);

// ---- scales ----

// The largest of `values`; 0 for none.
std::int64_t largest(const std::vector<std::int64_t>& values);
// The top of the "again" share axis: the largest weekly share, rounded up
// to a tenth, at least 10%.
double again_axis_top(const kk::LearningPictures& pictures);

}  // namespace tavo::cli
