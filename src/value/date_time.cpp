// Calendar arithmetic on wall-clock microseconds, and the two local-time
// conversions through the C library.
#include "value/date_time.hpp"

#include <time.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>

#include "value/errors.hpp"

namespace tavo {
namespace {

constexpr std::int64_t us_per_second = Duration::microseconds_per_second;
constexpr std::int64_t us_per_day = Duration::microseconds_per_day;
constexpr std::int64_t us_per_minute = 60 * us_per_second;
constexpr std::int64_t us_per_hour = 60 * us_per_minute;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t floor_mod(std::int64_t a, std::int64_t b) { return a - floor_div(a, b) * b; }

struct CivilDate {
  int year;
  int month;
  int day;
};

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t days_from_civil(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

CivilDate civil_from_days(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  const int day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  const int month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  const int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

bool is_leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
  static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap_year(year) ? 29 : lengths[month - 1];
}

void require(bool condition, const char* message) {
  if (!condition) throw ValueError(message);
}

const std::int64_t smallest = days_from_civil(1, 1, 1) * us_per_day;
const std::int64_t largest = (days_from_civil(9999, 12, 31) + 1) * us_per_day - 1;

// The C library's time-zone state that tzset() sets: the zone's names
// (kept once per text, so equal names are equal pointers), its standard
// offset and whether it has daylight-saving time.
struct ZoneState {
  const char* standard_name = nullptr;
  const char* daylight_name = nullptr;
  long standard_offset = 0;
  int has_daylight = 0;

  static ZoneState current() { return {::tzname[0], ::tzname[1], ::timezone, ::daylight}; }
  bool operator==(const ZoneState&) const = default;
};

// The local date-times of whole seconds since the epoch, as localtime_r
// converts them. The same few moments are converted again and again (the
// present moment, the due moment of the card on show), each at about a
// hundred nanoseconds, so the last conversions are remembered with the
// zone state they were made in; a conversion made in another zone state is
// made again.
class RecentLocalTimes {
 public:
  DateTime local(std::time_t seconds) {
    const ZoneState zone = ZoneState::current();
    for (const Conversion& conversion : conversions_) {
      if (conversion.local && conversion.seconds == seconds && conversion.zone == zone) {
        return *conversion.local;
      }
    }
    std::tm fields{};
    require(localtime_r(&seconds, &fields) != nullptr,
            "timestamp out of range for platform localtime() function");
    const DateTime local(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour,
                         fields.tm_min, fields.tm_sec);
    conversions_[next_] = {seconds, local, ZoneState::current()};
    next_ = (next_ + 1) % conversions_.size();
    return local;
  }

 private:
  struct Conversion {
    std::time_t seconds = 0;
    // Empty while unused.
    std::optional<DateTime> local;
    ZoneState zone;
  };
  std::array<Conversion, 4> conversions_{};
  std::size_t next_ = 0;
};

thread_local RecentLocalTimes recent_local_times;

}  // namespace

Duration Duration::of_seconds(double seconds) {
  const double microseconds = std::nearbyint(seconds * static_cast<double>(us_per_second));
  require(std::isfinite(microseconds) && std::fabs(microseconds) < 9.2e18, "duration out of range");
  return Duration(static_cast<std::int64_t>(microseconds));
}

std::int64_t Duration::days() const { return floor_div(microseconds_, us_per_day); }

int Duration::seconds() const {
  return static_cast<int>(floor_mod(microseconds_, us_per_day) / us_per_second);
}

int Duration::microseconds() const {
  return static_cast<int>(floor_mod(microseconds_, us_per_second));
}

double Duration::total_seconds() const {
  return static_cast<double>(microseconds_) / static_cast<double>(us_per_second);
}

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second,
                   int microsecond) {
  require(year >= 1 && year <= 9999, "year is out of range");
  require(month >= 1 && month <= 12, "month must be in 1..12");
  require(day >= 1 && day <= days_in_month(year, month), "day is out of range for month");
  require(hour >= 0 && hour <= 23, "hour must be in 0..23");
  require(minute >= 0 && minute <= 59, "minute must be in 0..59");
  require(second >= 0 && second <= 59, "second must be in 0..59");
  require(microsecond >= 0 && microsecond <= 999999, "microsecond must be in 0..999999");
  microseconds_ = days_from_civil(year, month, day) * us_per_day + hour * us_per_hour +
                  minute * us_per_minute + second * us_per_second + microsecond;
}

DateTime::DateTime(std::int64_t microseconds_since_1970) : microseconds_(microseconds_since_1970) {
  require(microseconds_ >= smallest && microseconds_ <= largest, "date value out of range");
}

DateTime DateTime::fromtimestamp(double seconds) {
  require(std::isfinite(seconds) && std::fabs(seconds) < 1e14,
          "timestamp out of range for platform localtime() function");
  double whole = std::floor(seconds);
  double fraction = std::nearbyint((seconds - whole) * static_cast<double>(us_per_second));
  if (fraction >= static_cast<double>(us_per_second)) {
    whole += 1;
    fraction = 0;
  }
  const std::time_t time = static_cast<std::time_t>(whole);
  return recent_local_times.local(time) +
         Duration::of_microseconds(static_cast<std::int64_t>(fraction));
}

double DateTime::to_epoch_seconds(int isdst) const {
  std::tm fields{};
  fields.tm_year = year() - 1900;
  fields.tm_mon = month() - 1;
  fields.tm_mday = day();
  fields.tm_hour = hour();
  fields.tm_min = minute();
  fields.tm_sec = second();
  fields.tm_isdst = isdst;
  fields.tm_wday = -1;
  const std::time_t result = std::mktime(&fields);
  require(!(result == static_cast<std::time_t>(-1) && fields.tm_wday == -1),
          "mktime argument out of range");
  return static_cast<double>(result) + microsecond() / static_cast<double>(us_per_second);
}

int DateTime::year() const { return civil_from_days(floor_div(microseconds_, us_per_day)).year; }
int DateTime::month() const { return civil_from_days(floor_div(microseconds_, us_per_day)).month; }
int DateTime::day() const { return civil_from_days(floor_div(microseconds_, us_per_day)).day; }

int DateTime::hour() const {
  return static_cast<int>(floor_mod(microseconds_, us_per_day) / us_per_hour);
}

int DateTime::minute() const {
  return static_cast<int>(floor_mod(microseconds_, us_per_hour) / us_per_minute);
}

int DateTime::second() const {
  return static_cast<int>(floor_mod(microseconds_, us_per_minute) / us_per_second);
}

int DateTime::microsecond() const {
  return static_cast<int>(floor_mod(microseconds_, us_per_second));
}

int DateTime::weekday() const {
  // 1970-01-01 was a Thursday.
  return static_cast<int>(floor_mod(floor_div(microseconds_, us_per_day) + 3, 7));
}

int DateTime::day_of_year() const {
  const std::int64_t days = floor_div(microseconds_, us_per_day);
  return static_cast<int>(days - days_from_civil(civil_from_days(days).year, 1, 1) + 1);
}

std::string DateTime::isoformat(char separator) const {
  const CivilDate date = civil_from_days(floor_div(microseconds_, us_per_day));
  char text[40];
  int length = std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", date.year,
                             date.month, date.day, separator, hour(), minute(), second());
  if (microsecond() != 0) {
    length += std::snprintf(text + length, sizeof text - length, ".%06d", microsecond());
  }
  return std::string(text, static_cast<std::size_t>(length));
}

DateTime DateTime::operator+(Duration duration) const {
  return DateTime(microseconds_ + duration.total_microseconds());
}

DateTime DateTime::operator-(Duration duration) const {
  return DateTime(microseconds_ - duration.total_microseconds());
}

Duration DateTime::operator-(const DateTime& other) const {
  return Duration::of_microseconds(microseconds_ - other.microseconds_);
}

}  // namespace tavo
