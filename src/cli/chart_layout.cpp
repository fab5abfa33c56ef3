#include "cli/chart_layout.hpp"

#include <algorithm>
#include <cmath>

#include "cli/translation.hpp"

namespace tavo::cli {

std::string due_forecast_title() {
  return trf("Cards due on each of the next {} learning days", kk::forecast_days);
}

std::string due_forecast_x_caption() {
  return tr("learning days from today (day 0 includes the overdue cards)");
}

std::string calendar_title(const kk::LearningPictures& pictures) {
  return trf("Answers per learning day, {} to {}", pictures.calendar_dates.front(), pictures.today);
}

std::string again_share_title() {
  return trf("Share of \"again\" per week: young cards (interval under {} days) and mature ones",
             kk::mature_interval_days);
}

std::string again_series_caption(bool mature, const kk::AgainCount& total) {
  const std::optional<double> share = total.share();
  if (!share) return mature ? tr("mature cards (no answers)") : tr("young cards (no answers)");
  const auto answers = static_cast<unsigned long>(total.answers);
  return mature ? trf_n("mature cards ({} answer, {} again)", "mature cards ({} answers, {} again)",
                        answers, total.answers, percent_text(*share))
                : trf_n("young cards ({} answer, {} again)", "young cards ({} answers, {} again)",
                        answers, total.answers, percent_text(*share));
}

std::string weeks_x_caption() { return tr("weeks, each shown by its Monday"); }

std::vector<std::pair<std::size_t, std::string>> month_starts(
    const kk::LearningPictures& pictures) {
  std::vector<std::pair<std::size_t, std::string>> months;
  for (std::size_t week = 1; week < kk::calendar_weeks; ++week) {
    const std::string month = pictures.calendar_dates[7 * week].substr(0, 7);
    if (month != pictures.calendar_dates[7 * (week - 1)].substr(0, 7)) {
      months.emplace_back(week, month);
    }
  }
  return months;
}

std::string weekday_name(int weekday) {
  switch (weekday) {
    case 0: return tr("Mon");
    case 1: return tr("Tue");
    case 2: return tr("Wed");
    case 3: return tr("Thu");
    case 4: return tr("Fri");
    case 5: return tr("Sat");
    default: return tr("Sun");
  }
}

std::string percent_text(double share) { return trf("{}%", std::lround(share * 100)); }

int shade_level(std::int64_t answers, std::int64_t most) {
  if (answers <= 0 || most <= 0) return 0;
  return static_cast<int>((4 * answers + most - 1) / most);
}

std::vector<ShadeRange> shade_ranges(std::int64_t most) {
  std::vector<ShadeRange> ranges{{0, 0, 0}};
  for (int level = 1; level < shade_levels; ++level) {
    const std::int64_t lowest = most * (level - 1) / 4 + 1;
    const std::int64_t highest = most * level / 4;
    if (lowest <= highest) ranges.push_back({level, lowest, highest});
  }
  return ranges;
}

std::string shade_range_text(const ShadeRange& range) {
  if (range.lowest == range.highest) {
    return trf_n("{} answer", "{} answers", static_cast<unsigned long>(range.highest),
                 range.highest);
  }
  return trf_n("{}–{} answer", "{}–{} answers", static_cast<unsigned long>(range.highest),
               range.lowest, range.highest);
}

std::int64_t largest(const std::vector<std::int64_t>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double again_axis_top(const kk::LearningPictures& pictures) {
  double top = 0.1;
  for (const kk::AgainWeek& week : pictures.again_weeks) {
    for (const kk::AgainCount* count : {&week.young, &week.mature}) {
      if (const std::optional<double> share = count->share()) {
        top = std::max(top, std::ceil(*share * 10 - 1e-9) / 10);
      }
    }
  }
  return top;
}

}  // namespace tavo::cli
