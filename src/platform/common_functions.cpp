// Present moment, local time and learning day, all read from one clock.
#include "platform/common_functions.hpp"

#include <cmath>
#include <ctime>
#include <stdexcept>
#include <utility>

#include "platform/detail/learning_day.hpp"
#include "value/errors.hpp"

namespace tavo::platform {
namespace {

// The C library's local time fields of the whole second containing `seconds`.
std::tm local_fields(double seconds) {
  const bool representable = std::fabs(seconds) < 1e14;
  const std::time_t whole = representable ? static_cast<std::time_t>(std::floor(seconds)) : 0;
  std::tm fields{};
  if (!representable || localtime_r(&whole, &fields) == nullptr) {
    throw ValueError("timestamp out of range for platform localtime() function");
  }
  return fields;
}

}  // namespace

Common_functions::Common_functions() : clock_(std::make_shared<SystemClock>()) {}

Common_functions::Common_functions(std::shared_ptr<Clock> clock) : clock_(std::move(clock)) {
  if (clock_ == nullptr) throw std::invalid_argument("Common_functions needs a clock");
}

void Common_functions::set_fixed_now(double seconds) {
  clock_ = std::make_shared<FixedClock>(seconds);
}

void Common_functions::clear_fixed_now() { clock_ = std::make_shared<SystemClock>(); }

double Common_functions::get_now() const { return clock_->now(); }

DateTime Common_functions::get_datetime_now() const { return DateTime::fromtimestamp(get_now()); }

std::string Common_functions::get_datum_string_startzeit(int startzeit) const {
  return detail::LearningDay(get_datetime_now(), startzeit).key();
}

double Common_functions::get_startzeit_tag_today(int startzeit_tag) const {
  return detail::LearningDay(get_datetime_now(), startzeit_tag).start_epoch_seconds();
}

double Common_functions::next_learning_day_start(int startzeit_tag) const {
  return detail::LearningDay(get_datetime_now(), startzeit_tag).earlier(-1).start_epoch_seconds();
}

DateTime Common_functions::get_now_startzeit(int startzeit_tag) const {
  return detail::LearningDay(get_datetime_now(), startzeit_tag).moment();
}

TimeStruct Common_functions::get_time_struct_now() const {
  const std::tm fields = local_fields(get_now());
  return TimeStruct{
      .tm_year = fields.tm_year + 1900,
      .tm_mon = fields.tm_mon + 1,
      .tm_mday = fields.tm_mday,
      .tm_hour = fields.tm_hour,
      .tm_min = fields.tm_min,
      .tm_sec = fields.tm_sec,
      .tm_wday = (fields.tm_wday + 6) % 7,
      .tm_yday = fields.tm_yday + 1,
      .tm_isdst = fields.tm_isdst > 0 ? 1 : 0,
  };
}

}  // namespace tavo::platform
