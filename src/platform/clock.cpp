// The real-time clock and the frozen clock.
#include "platform/clock.hpp"

#include <chrono>
#include <cmath>

#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::platform {
namespace {

double checked_time(double seconds) {
  if (!std::isfinite(seconds)) {
    throw ValueError("a fixed time must be a finite number of seconds, got " + float_repr(seconds));
  }
  return seconds;
}

}  // namespace

double SystemClock::now() const {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  const auto microseconds = std::chrono::duration_cast<std::chrono::microseconds>(since_epoch);
  return static_cast<double>(microseconds.count()) / 1e6;
}

FixedClock::FixedClock(double seconds) : seconds_(checked_time(seconds)) {}

double FixedClock::now() const { return seconds_; }

void FixedClock::set(double seconds) { seconds_ = checked_time(seconds); }

void FixedClock::advance(double seconds) { seconds_ = checked_time(seconds_ + seconds); }

}  // namespace tavo::platform
