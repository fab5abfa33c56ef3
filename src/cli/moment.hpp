// Moments given on the command line (--now): seconds since the epoch or a
// local time, with the two corners of daylight-saving time handled.
#pragma once

#include <optional>
#include <string>

namespace tavo::cli {

// A moment given on the command line.
struct Moment {
  double seconds = 0;
  // For a local time that occurs twice (when the clocks go back): which of
  // the two was taken, in one sentence.
  std::optional<std::string> choice;
};

// The moment `text` names: seconds since the epoch ("1765100000") or a
// local time ("2026-12-07 10:00", "2026-12-07T10:00:30"); of a local time
// that occurs twice, the first. ValueError for anything else, a date
// without a time of day and a local time that does not exist (skipped when
// the clocks go forward).
Moment parse_moment(const std::string& text);

}  // namespace tavo::cli
