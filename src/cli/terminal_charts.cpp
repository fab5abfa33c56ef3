#include "cli/terminal_charts.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/chart_layout.hpp"
#include "cli/translation.hpp"

namespace tavo::cli {
namespace {

// A bar's top row by the eighths of the row it fills, 1 to 8.
constexpr std::array<std::string_view, 9> eighths_block = {" ", "▁", "▂", "▃", "▄",
                                                           "▅", "▆", "▇", "█"};
constexpr std::array<std::string_view, shade_levels> shade = {"·", "░", "▒", "▓", "█"};
constexpr int due_rows = 8;
constexpr int share_rows = 4;

// The columns `text` takes on a terminal: one per character.
std::size_t columns(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string padded_left(const std::string& text, std::size_t width) {
  const std::size_t taken = columns(text);
  return std::string(width > taken ? width - taken : 0, ' ') + text;
}

std::string padded_right(const std::string& text, std::size_t width) {
  const std::size_t taken = columns(text);
  return text + std::string(width > taken ? width - taken : 0, ' ');
}

// `value` of `top` as eighths of `rows` rows; a value above nothing shows
// at least one eighth.
int eighths(double value, double top, int rows) {
  if (value <= 0 || top <= 0) return 0;
  return std::max(1, static_cast<int>(std::lround(value / top * rows * 8)));
}

// Row `row` (0 the lowest) of bars of `heights` eighths, each bar followed
// by `gap` blanks.
std::string bar_row(const std::vector<int>& heights, int row, int gap) {
  std::string line;
  for (const int height : heights) {
    line += eighths_block[static_cast<std::size_t>(std::clamp(height - 8 * row, 0, 8))];
    line += std::string(static_cast<std::size_t>(gap), ' ');
  }
  return line;
}

// A line with each label starting at its column (after `margin`), leaving
// out a label that would touch the one before.
std::string labels_line(std::size_t margin,
                        const std::vector<std::pair<std::size_t, std::string>>& labels) {
  std::string line(margin, ' ');
  std::size_t used = margin;
  for (const auto& [column, label] : labels) {
    const std::size_t start = margin + column;
    if (start < used + (used == margin ? 0 : 1)) continue;
    line += std::string(start - used, ' ') + label;
    used = start + columns(label);
  }
  return line;
}

// The rows of a bar chart: the top labelled `top_label`, the axis line
// `bottom_label`, `width` columns of bars.
void print_bars(std::ostream& out, const std::vector<int>& heights, int rows, int gap,
                const std::string& top_label, const std::string& bottom_label,
                const std::vector<std::size_t>& ticks, const std::string& baseline_marks) {
  const std::size_t margin = std::max(columns(top_label), columns(bottom_label)) + 1;
  for (int row = rows - 1; row >= 0; --row) {
    std::string line = bar_row(heights, row, gap);
    if (row == 0 && !baseline_marks.empty()) line = baseline_marks;
    const std::string axis = row == rows - 1 ? "┤" : "│";
    const std::string label = row == rows - 1 ? top_label : "";
    std::string text = padded_left(label, margin - 1) + " " + axis + line;
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  }
  std::string axis = padded_left(bottom_label, margin - 1) + " └";
  const std::size_t width = heights.size() * static_cast<std::size_t>(1 + gap);
  for (std::size_t column = 0; column < width; ++column) {
    axis += std::find(ticks.begin(), ticks.end(), column) != ticks.end() ? "┴" : "─";
  }
  out << axis << "\n";
}

// The lowest row of the share bars: the bar's own, or "·" for a week
// without answers.
std::string share_baseline(const std::vector<int>& heights,
                           const std::vector<std::optional<double>>& shares) {
  std::string line;
  for (std::size_t week = 0; week < heights.size(); ++week) {
    line += shares[week] ? eighths_block[static_cast<std::size_t>(std::clamp(heights[week], 0, 8))]
                         : "·";
  }
  return line;
}

void print_share_series(std::ostream& out, const kk::LearningPictures& pictures, bool mature) {
  const double top = again_axis_top(pictures);
  std::vector<int> heights;
  std::vector<std::optional<double>> shares;
  for (const kk::AgainWeek& week : pictures.again_weeks) {
    const std::optional<double> share = (mature ? week.mature : week.young).share();
    shares.push_back(share);
    heights.push_back(eighths(share.value_or(0), top, share_rows));
  }
  out << again_series_caption(mature, mature ? pictures.mature_total : pictures.young_total)
      << "\n";
  print_bars(out, heights, share_rows, 0, percent_text(top), percent_text(0), {},
             share_baseline(heights, shares));
}

}  // namespace

void print_due_forecast_chart(std::ostream& out, const kk::LearningPictures& pictures) {
  out << due_forecast_title() << "\n";
  const std::int64_t most = largest(pictures.due_forecast);
  if (most == 0) {
    out << trf("No card is due in the next {} learning days.", kk::forecast_days) << "\n";
    return;
  }
  std::vector<int> heights;
  for (const std::int64_t cards : pictures.due_forecast) {
    heights.push_back(eighths(static_cast<double>(cards), static_cast<double>(most), due_rows));
  }
  std::vector<std::size_t> ticks;
  std::vector<std::pair<std::size_t, std::string>> labels;
  for (std::size_t day = 0; day < pictures.due_forecast.size(); day += 5) {
    ticks.push_back(2 * day);
    labels.emplace_back(2 * day, std::to_string(day));
  }
  const std::string top_label = std::to_string(most);
  print_bars(out, heights, due_rows, 1, top_label, "0", ticks, "");
  const std::size_t margin = std::max<std::size_t>(columns(top_label), 1) + 2;
  out << labels_line(margin, labels) << "\n";
  out << std::string(margin, ' ') << due_forecast_x_caption() << "\n";
}

void print_answer_calendar(std::ostream& out, const kk::LearningPictures& pictures) {
  out << calendar_title(pictures) << "\n";
  std::size_t margin = 0;
  for (int weekday = 0; weekday < 7; ++weekday) {
    margin = std::max(margin, columns(weekday_name(weekday)) + 1);
  }
  out << labels_line(margin, month_starts(pictures)) << "\n";
  const std::int64_t most = largest(pictures.answers_per_day);
  const std::size_t days = pictures.answers_per_day.size();
  for (int weekday = 0; weekday < 7; ++weekday) {
    std::string line = padded_right(weekday_name(weekday), margin);
    for (std::size_t day = static_cast<std::size_t>(weekday); day < days; day += 7) {
      line += shade[static_cast<std::size_t>(shade_level(pictures.answers_per_day[day], most))];
    }
    out << line << "\n";
  }
  std::string legend(margin, ' ');
  for (const ShadeRange& range : shade_ranges(most)) {
    legend += std::string(shade[static_cast<std::size_t>(range.level)]) + " " +
              (range.level == 0 ? std::string(tr("no answers")) : shade_range_text(range)) + "  ";
  }
  legend.erase(legend.find_last_not_of(' ') + 1);
  out << legend << "\n";
}

void print_again_share_chart(std::ostream& out, const kk::LearningPictures& pictures) {
  out << again_share_title() << "\n";
  if (pictures.again_weeks.empty()) {
    out << trf("No answers in the last {} weeks.", kk::calendar_weeks) << "\n";
    return;
  }
  print_share_series(out, pictures, false);
  print_share_series(out, pictures, true);
  const std::size_t margin = columns(percent_text(again_axis_top(pictures))) + 2;
  std::vector<std::pair<std::size_t, std::string>> labels{{0, pictures.again_weeks.front().monday}};
  const std::string& last = pictures.again_weeks.back().monday;
  if (pictures.again_weeks.size() > 2 * last.size()) {
    labels.emplace_back(pictures.again_weeks.size() - last.size(), last);
  }
  out << labels_line(margin, labels) << "\n";
  out << std::string(margin, ' ') << weeks_x_caption() << "; " << tr("· no answers that week")
      << "\n";
}

void print_charts(std::ostream& out, const kk::LearningPictures& pictures) {
  out << "\n";
  print_due_forecast_chart(out, pictures);
  out << "\n";
  print_answer_calendar(out, pictures);
  out << "\n";
  print_again_share_chart(out, pictures);
}

}  // namespace tavo::cli
