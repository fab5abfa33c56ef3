#include "cli/moment.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "cli/translation.hpp"
#include "value/date_time.hpp"
#include "value/errors.hpp"

namespace tavo::cli {
namespace {

bool is_seconds_text(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// "02:30 CEST (UTC+0200)": the local time of `seconds` with its zone.
std::string zoned_time_text(double seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm fields{};
  ::localtime_r(&time, &fields);
  char text[64];
  std::strftime(text, sizeof text, "%H:%M %Z (UTC%z)", &fields);
  return text;
}

// The moment the local time `local` (as typed: `text`) names. Of the two
// readings, standard and daylight-saving time, those that give `local`
// back are real: none in the hour skipped when the clocks go forward, two
// in the hour repeated when they go back.
Moment local_moment(const DateTime& local, const std::string& text) {
  const double daylight = local.to_epoch_seconds(1);
  const double standard = local.to_epoch_seconds(0);
  const bool daylight_real = DateTime::fromtimestamp(daylight) == local;
  const bool standard_real = DateTime::fromtimestamp(standard) == local;
  if (!daylight_real && !standard_real) {
    throw ValueError(
        trf("'{}' does not exist in local time: the clocks jump over it as they go forward", text));
  }
  if (!daylight_real || !standard_real || daylight == standard) {
    return {daylight_real ? daylight : standard, std::nullopt};
  }
  const double first = std::min(daylight, standard);
  const double second = std::max(daylight, standard);
  return {first, trf("'{}' occurs twice as the clocks go back; took the first, {}; for the "
                     "second give --now {:.0f}",
                     text, zoned_time_text(first), second)};
}

}  // namespace

Moment parse_moment(const std::string& text) {
  if (is_seconds_text(text)) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error == std::errc() && end == text.data() + text.size()) return {seconds, std::nullopt};
  }
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char separator = ' ';
  int consumed = 0;
  const int fields =
      std::sscanf(text.c_str(), "%4d-%2d-%2d%n%c%2d:%2d%n:%2d%n", &year, &month, &day, &consumed,
                  &separator, &hour, &minute, &consumed, &second, &consumed);
  const bool whole = consumed == static_cast<int>(text.size());
  if (fields == 3 && whole) {
    throw ValueError(
        trf("'{}' has no time of day: give a local time such as {} 10:00", text, text));
  }
  const bool shape =
      (fields == 6 || fields == 7) && whole && (separator == ' ' || separator == 'T');
  const std::string not_a_moment =
      trf("'{}' is not a moment: give seconds since the epoch or a local time such as 2026-12-07 "
          "10:00",
          text);
  if (!shape || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    throw ValueError(not_a_moment);
  }
  std::optional<DateTime> local;
  try {
    local.emplace(year, month, day, hour, minute, second);
  } catch (const ValueError& error) {
    throw ValueError(trf("'{}' is not a moment: {}", text, error.what()));
  }
  return local_moment(*local, text);
}

}  // namespace tavo::cli
