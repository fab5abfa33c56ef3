#include "cli/html_report.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "cli/chart_layout.hpp"
#include "cli/figures_report.hpp"
#include "cli/translation.hpp"

namespace tavo::cli {
namespace {

constexpr std::array<std::string_view, shade_levels> shade_colour = {
    "#e8e8e8", "#c6dbef", "#6baed6", "#2171b5", "#08306b"};
constexpr std::string_view young_colour = "#74a9cf";
constexpr std::string_view mature_colour = "#045a8d";

constexpr std::string_view style = R"(
body { font-family: sans-serif; color: #222; margin: 2em auto; max-width: 60em; padding: 0 1em; }
h1 { font-size: 1.5em; }
h2 { font-size: 1.15em; margin-top: 2em; }
table.figures td { padding: 0.1em 1em 0.1em 0; }
table.figures td.value { font-variant-numeric: tabular-nums; }
svg { display: block; margin: 0.5em 0; }
svg text { font-size: 11px; fill: #444; }
svg .axis { stroke: #888; stroke-width: 1; }
svg .grid { stroke: #ddd; stroke-width: 1; }
p.caption { color: #555; font-size: 0.9em; margin-top: 0; }
)";

// `text` for HTML text and attribute values.
std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string text_at(double x, double y, std::string_view anchor, std::string_view text) {
  return fmt::format("<text x=\"{:.1f}\" y=\"{:.1f}\" text-anchor=\"{}\">{}</text>\n", x, y, anchor,
                     escaped(text));
}

std::string line(double x1, double y1, double x2, double y2, std::string_view kind) {
  return fmt::format(
      "<line class=\"{}\" x1=\"{:.1f}\" y1=\"{:.1f}\" x2=\"{:.1f}\" y2=\"{:.1f}\"/>\n", kind, x1,
      y1, x2, y2);
}

// A rectangle with its tooltip and data attributes (` data-x="..."`).
std::string rect(double x, double y, double width, double height, std::string_view fill,
                 std::string_view kind, const std::string& data, const std::string& tooltip) {
  return fmt::format(
      "<rect class=\"{}\" x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" height=\"{:.1f}\" "
      "fill=\"{}\"{}><title>{}</title></rect>\n",
      kind, x, y, width, height, fill, data, escaped(tooltip));
}

std::string svg_open(int width, int height, const std::string& label) {
  return fmt::format(
      "<svg width=\"{0}\" height=\"{1}\" viewBox=\"0 0 {0} {1}\" role=\"img\" "
      "aria-label=\"{2}\">\n",
      width, height, escaped(label));
}

std::string section(std::string_view id, const std::string& title, const std::string& body) {
  return fmt::format("<section id=\"{}\">\n<h2>{}</h2>\n{}</section>\n", id, escaped(title), body);
}

std::string caption(const std::string& text) {
  return "<p class=\"caption\">" + escaped(text) + "</p>\n";
}

std::string due_forecast_chart(const kk::LearningPictures& pictures) {
  constexpr double left = 50, top = 15, plot_height = 160, slot = 19;
  const double most =
      static_cast<double>(std::max<std::int64_t>(largest(pictures.due_forecast), 1));
  const double bottom = top + plot_height;
  const double right = left + slot * kk::forecast_days;
  std::string svg =
      svg_open(static_cast<int>(right) + 10, static_cast<int>(bottom) + 25, due_forecast_title());
  svg += line(left, top, right, top, "grid");
  svg += text_at(left - 6, top + 4, "end", fmt::format("{}", static_cast<std::int64_t>(most)));
  svg += text_at(left - 6, bottom + 4, "end", "0");
  for (std::size_t day = 0; day < pictures.due_forecast.size(); ++day) {
    const std::int64_t cards = pictures.due_forecast[day];
    const std::string& date = pictures.forecast_dates[day];
    const double height = static_cast<double>(cards) / most * plot_height;
    const double x = left + slot * static_cast<double>(day);
    svg += rect(x + 2, bottom - height, slot - 4, height, young_colour, "due",
                fmt::format(" data-day=\"{}\" data-count=\"{}\"", date, cards),
                trf_n("{}: {} card due", "{}: {} cards due", static_cast<unsigned long>(cards),
                      date, cards));
    if (day % 5 == 0) svg += text_at(x + slot / 2, bottom + 15, "middle", std::to_string(day));
  }
  svg += line(left, bottom, right, bottom, "axis");
  svg += line(left, top, left, bottom, "axis");
  return svg + "</svg>\n" + caption(due_forecast_x_caption());
}

std::string calendar_chart(const kk::LearningPictures& pictures) {
  constexpr double left = 40, top = 20, cell = 11, pitch = 13;
  const std::int64_t most = largest(pictures.answers_per_day);
  const double grid_bottom = top + 7 * pitch;
  std::string svg = svg_open(static_cast<int>(left + pitch * kk::calendar_weeks) + 50,
                             static_cast<int>(grid_bottom) + 30, calendar_title(pictures));
  for (int weekday = 0; weekday < 7; weekday += 2) {
    svg += text_at(left - 6, top + pitch * weekday + 9, "end", weekday_name(weekday));
  }
  for (const auto& [week, month] : month_starts(pictures)) {
    // Every other month, so that the labels do not run into each other.
    if (std::stoi(month.substr(5, 2)) % 2 == 1) {
      svg += text_at(left + pitch * static_cast<double>(week), top - 6, "start", month);
    }
  }
  for (std::size_t day = 0; day < pictures.answers_per_day.size(); ++day) {
    const std::int64_t answers = pictures.answers_per_day[day];
    const std::string& date = pictures.calendar_dates[day];
    svg += rect(left + pitch * static_cast<double>(day / 7),
                top + pitch * static_cast<double>(day % 7), cell, cell,
                shade_colour[static_cast<std::size_t>(shade_level(answers, most))], "day",
                fmt::format(" data-day=\"{}\" data-count=\"{}\"", date, answers),
                trf_n("{}: {} answer", "{}: {} answers", static_cast<unsigned long>(answers), date,
                      answers));
  }
  double x = left;
  const double legend_y = grid_bottom + 10;
  for (const ShadeRange& range : shade_ranges(most)) {
    const std::string label =
        range.level == 0 ? std::string(tr("no answers")) : shade_range_text(range);
    svg += fmt::format(
        "<rect class=\"legend\" x=\"{:.1f}\" y=\"{:.1f}\" width=\"{}\" height=\"{}\" "
        "fill=\"{}\"/>\n",
        x, legend_y, cell, cell, shade_colour[static_cast<std::size_t>(range.level)]);
    svg += text_at(x + cell + 4, legend_y + 9, "start", label);
    x += cell + 12 + 7 * static_cast<double>(label.size());
  }
  return svg + "</svg>\n";
}

std::string week_tooltip(const std::string& series, const std::string& monday,
                         const kk::AgainCount& count) {
  const std::optional<double> share = count.share();
  if (!share) return trf("{}, week of {}: no answers", series, monday);
  return trf_n("{}, week of {}: {} of {} answer \"again\" ({})",
               "{}, week of {}: {} of {} answers \"again\" ({})",
               static_cast<unsigned long>(count.answers), series, monday, count.again,
               count.answers, percent_text(*share));
}

std::string again_share_chart(const kk::LearningPictures& pictures) {
  if (pictures.again_weeks.empty()) {
    return "<p>" + escaped(trf("No answers in the last {} weeks.", kk::calendar_weeks)) + "</p>\n";
  }
  constexpr double left = 50, top = 15, plot_height = 140, slot = 12, bar = 5;
  const double axis_top = again_axis_top(pictures);
  const double bottom = top + plot_height;
  const double right = left + slot * kk::calendar_weeks;
  std::string svg =
      svg_open(static_cast<int>(right) + 10, static_cast<int>(bottom) + 45, again_share_title());
  for (int tenth = 1; tenth <= static_cast<int>(std::lround(axis_top * 10)); ++tenth) {
    const double y = bottom - tenth / 10.0 / axis_top * plot_height;
    svg += line(left, y, right, y, "grid");
    svg += text_at(left - 6, y + 4, "end", percent_text(tenth / 10.0));
  }
  svg += text_at(left - 6, bottom + 4, "end", percent_text(0));
  const std::string young = tr("young cards");
  const std::string mature = tr("mature cards");
  for (std::size_t week = 0; week < pictures.again_weeks.size(); ++week) {
    const kk::AgainWeek& counts = pictures.again_weeks[week];
    const double x = left + slot * static_cast<double>(week);
    for (const bool is_mature : {false, true}) {
      const kk::AgainCount& count = is_mature ? counts.mature : counts.young;
      const double height = count.share().value_or(0) / axis_top * plot_height;
      svg += rect(
          x + 1 + (is_mature ? bar : 0), bottom - height, bar, height,
          is_mature ? mature_colour : young_colour, "week",
          fmt::format(" data-series=\"{}\" data-week=\"{}\" data-answers=\"{}\" "
                      "data-again=\"{}\"",
                      is_mature ? "mature" : "young", counts.monday, count.answers, count.again),
          week_tooltip(is_mature ? mature : young, counts.monday, count));
    }
  }
  svg += text_at(left, bottom + 15, "start", pictures.again_weeks.front().monday);
  if (pictures.again_weeks.size() > 12) {
    svg += text_at(left + slot * static_cast<double>(pictures.again_weeks.size()), bottom + 15,
                   "end", pictures.again_weeks.back().monday);
  }
  svg += line(left, bottom, right, bottom, "axis");
  svg += line(left, top, left, bottom, "axis");
  const double legend_y = bottom + 28;
  svg += fmt::format("<rect x=\"{}\" y=\"{}\" width=\"10\" height=\"10\" fill=\"{}\"/>\n", left,
                     legend_y, young_colour);
  svg +=
      text_at(left + 14, legend_y + 9, "start", again_series_caption(false, pictures.young_total));
  svg += fmt::format("<rect x=\"{}\" y=\"{}\" width=\"10\" height=\"10\" fill=\"{}\"/>\n",
                     left + 300, legend_y, mature_colour);
  svg +=
      text_at(left + 314, legend_y + 9, "start", again_series_caption(true, pictures.mature_total));
  return svg + "</svg>\n" + caption(weeks_x_caption());
}

std::string figures_table(const ReportContents& contents) {
  std::string html = "<table class=\"figures\">\n";
  for (const auto& [label, value] : figure_lines(contents.figures, false)) {
    html += fmt::format("<tr><td>{}</td><td class=\"value\">{}</td></tr>\n", escaped(label),
                        escaped(value));
  }
  html += "</table>\n";
  return html + "<p>" + escaped(next_due_text(contents.figures, contents.now)) + "</p>\n";
}

std::string collections_paragraph(const ReportContents& contents) {
  return "<p>" + escaped(trf("Collections: {}", contents.collections)) + "</p>\n";
}

}  // namespace

std::string html_report(const ReportContents& contents) {
  const kk::LearningPictures& pictures = contents.pictures;
  const std::string title = trf("kkv learning report, {}", pictures.today);
  std::string html = fmt::format(
      "<!DOCTYPE html>\n<html lang=\"{}\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>{}</title>\n<style>{}</style>\n</head>\n<body>\n<h1>{}</h1>\n",
      escaped(spoken_language()), escaped(title), style, escaped(title));
  html += "<p>" + escaped(trf("Made {}.", local_time_text(contents.now))) + "</p>\n";
  html += collections_paragraph(contents);
  html += figures_table(contents);
  html += section("due-forecast", due_forecast_title(), due_forecast_chart(pictures));
  html += section("calendar", calendar_title(pictures), calendar_chart(pictures));
  html += section("again-share", again_share_title(), again_share_chart(pictures));
  return html + "</body>\n</html>\n";
}

}  // namespace tavo::cli
