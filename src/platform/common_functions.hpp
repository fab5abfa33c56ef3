// The module's single source of dates and times.
//
// Every date and time value the module uses comes from `Common_functions`:
// the present moment, the local date-time, and the learning day. A learning
// day begins at a start hour (`startzeit_tag`, 0..23); between midnight and
// that hour the previous calendar day is still "today". Local time follows
// the process's TZ.
#pragma once

#include <memory>
#include <string>

#include "platform/clock.hpp"
#include "value/date_time.hpp"

namespace tavo::platform {

// The host's local time structure.
struct TimeStruct {
  int tm_year;   // The full year, e.g. 2021.
  int tm_mon;    // 1..12.
  int tm_mday;   // 1..31.
  int tm_hour;   // 0..23.
  int tm_min;    // 0..59.
  int tm_sec;    // 0..61.
  int tm_wday;   // Monday is 0, Sunday 6.
  int tm_yday;   // 1 for the first of January.
  int tm_isdst;  // 1 while daylight-saving time applies, else 0.
};

// Dates and times read from a replaceable clock. Every function taking a
// start hour throws ValueError unless it is in 0..23.
class Common_functions {
 public:
  // Reads the system clock.
  Common_functions();
  // Reads `clock`; throws std::invalid_argument when it is null.
  explicit Common_functions(std::shared_ptr<Clock> clock);

  // Freezes time at `seconds` since the epoch by installing a FixedClock;
  // throws ValueError unless `seconds` is finite.
  void set_fixed_now(double seconds);
  // Returns to the system clock.
  void clear_fixed_now();
  // The clock in use; valid until the next set_fixed_now or clear_fixed_now.
  const Clock& clock() const { return *clock_; }

  // Seconds since the epoch, with microsecond resolution.
  double get_now() const;

  // The local date-time of get_now().
  DateTime get_datetime_now() const;

  // The text key of the current learning day: year, month and day without
  // leading zeros, joined by "-" ("2021-9-22").
  std::string get_datum_string_startzeit(int startzeit) const;

  // Seconds since the epoch of the start of the current learning day: its
  // date at `startzeit_tag`:00:00 local time, as `mktime` converts it.
  double get_startzeit_tag_today(int startzeit_tag) const;

  // Seconds since the epoch at which the next learning day begins: the
  // start hour on the date after the current learning day's.
  double next_learning_day_start(int startzeit_tag) const;

  // The present moment of the learning day: now, or exactly one day
  // (24 wall-clock hours) earlier while the hour is before `startzeit_tag`.
  DateTime get_now_startzeit(int startzeit_tag) const;

  // The local time structure of now.
  TimeStruct get_time_struct_now() const;

 private:
  std::shared_ptr<Clock> clock_;
};

}  // namespace tavo::platform
