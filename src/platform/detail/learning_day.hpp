// The learning day: the unit in which the module counts days.
//
// A learning day begins at its start hour (`startzeit_tag`, 0..23) on its
// calendar date and ends at the start hour of the next date, so between
// midnight and the start hour the previous date is still "today". This is
// the one place that decides which learning day a moment belongs to.
#pragma once

#include <cstdint>
#include <string>

#include "value/date_time.hpp"

namespace tavo::platform::detail {

// Returns `startzeit_tag`; throws ValueError unless it is in 0..23.
int checked_startzeit_tag(int startzeit_tag);

// The learning day that contains a local moment.
class LearningDay {
 public:
  // Throws ValueError unless `startzeit_tag` is in 0..23.
  LearningDay(const DateTime& moment, int startzeit_tag);

  // The moment as a moment of this learning day: unchanged from the start
  // hour on, exactly one day (24 wall-clock hours) earlier before it. Its
  // date is the learning day's date.
  const DateTime& moment() const { return moment_; }

  // The learning day `days` days before this one.
  LearningDay earlier(std::int64_t days) const;

  // The day's text key: year, month and day without leading zeros,
  // joined by "-" ("2021-9-22").
  std::string key() const;

  // Seconds since the epoch of the start hour on the day's date, as `mktime`
  // converts local time (a start hour skipped by a daylight-saving change
  // becomes the first hour after it).
  double start_epoch_seconds() const;

 private:
  struct Shifted {};
  LearningDay(Shifted, const DateTime& moment, int startzeit_tag);

  DateTime moment_;
  int startzeit_tag_;
};

}  // namespace tavo::platform::detail
