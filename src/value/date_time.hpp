// Naive local date-times and durations with microsecond resolution.
//
// `DateTime` is a wall-clock date and time without a time zone, with the
// calendar arithmetic of the host's `datetime`: adding a `Duration` moves the
// wall clock, never across a daylight-saving rule. Conversion to and from
// seconds since the epoch goes through the C library's local time
// (`localtime_r`/`mktime`), so the process's `TZ` is honoured.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace tavo {

// A signed span of time, stored as whole microseconds.
//
// Its parts follow the host's `timedelta`: `days()` is floored toward minus
// infinity and `seconds()`/`microseconds()` are never negative, so a span of
// minus two hours has days() == -1 and seconds() == 79200.
class Duration {
 public:
  constexpr Duration() = default;

  static constexpr Duration of_microseconds(std::int64_t microseconds) {
    return Duration(microseconds);
  }
  static constexpr Duration of_days(std::int64_t days) {
    return Duration(days * microseconds_per_day);
  }
  // Rounds to the nearest microsecond, halves to even.
  static Duration of_seconds(double seconds);

  std::int64_t days() const;
  int seconds() const;
  int microseconds() const;
  constexpr std::int64_t total_microseconds() const { return microseconds_; }
  double total_seconds() const;

  constexpr Duration operator-() const { return Duration(-microseconds_); }
  constexpr Duration operator+(Duration other) const {
    return Duration(microseconds_ + other.microseconds_);
  }
  constexpr Duration operator-(Duration other) const {
    return Duration(microseconds_ - other.microseconds_);
  }
  constexpr auto operator<=>(const Duration&) const = default;

  static constexpr std::int64_t microseconds_per_second = 1'000'000;
  static constexpr std::int64_t microseconds_per_day = 86'400 * microseconds_per_second;

 private:
  constexpr explicit Duration(std::int64_t microseconds) : microseconds_(microseconds) {}
  std::int64_t microseconds_ = 0;
};

// A naive local date-time, years 1 to 9999, to the microsecond.
class DateTime {
 public:
  // Throws ValueError with the host's message when a field is out of range
  // ("month must be in 1..12", "day is out of range for month", ...).
  DateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
           int microsecond = 0);

  // The local date-time of `seconds` since the epoch, rounded to the
  // nearest microsecond. The last few whole seconds converted are
  // remembered, each with the time-zone state (tzset) it was made in.
  static DateTime fromtimestamp(double seconds);

  // Seconds since the epoch of this wall-clock moment, as the C library's
  // `mktime` converts local time fields: `isdst` -1 lets the library decide
  // whether daylight-saving time applies, 0 and 1 state it. Microseconds are
  // kept as the fraction.
  double to_epoch_seconds(int isdst = -1) const;

  int year() const;
  int month() const;
  int day() const;
  int hour() const;
  int minute() const;
  int second() const;
  int microsecond() const;
  // Monday is 0, Sunday 6.
  int weekday() const;
  // 1 for the first of January.
  int day_of_year() const;

  // "2021-09-22 01:00:00", with ".ffffff" when there are microseconds.
  std::string isoformat(char separator = ' ') const;

  DateTime operator+(Duration duration) const;
  DateTime operator-(Duration duration) const;
  Duration operator-(const DateTime& other) const;
  auto operator<=>(const DateTime&) const = default;

 private:
  explicit DateTime(std::int64_t microseconds_since_1970);
  // Wall-clock microseconds since 1970-01-01 00:00, in no time zone.
  std::int64_t microseconds_ = 0;
};

}  // namespace tavo
