// Sources of the present moment.
//
// Every time value of the module is read from a `Clock`, so that tests and
// the host's "fixed now" setting can freeze time without touching the
// machine's clock.
#pragma once

namespace tavo::platform {

// The present moment as seconds since the epoch.
class Clock {
 public:
  virtual ~Clock() = default;

  // Seconds since 1970-01-01 00:00 UTC, with microsecond resolution.
  virtual double now() const = 0;
};

// The machine's real-time clock.
class SystemClock final : public Clock {
 public:
  double now() const override;
};

// A clock that stands still until it is set or advanced.
class FixedClock final : public Clock {
 public:
  // Throws ValueError unless `seconds` is finite.
  explicit FixedClock(double seconds);

  double now() const override;

  // Moves the clock to `seconds`; throws ValueError unless it is finite.
  void set(double seconds);

  // Moves the clock on by `seconds` (back when negative); throws ValueError
  // unless the result is finite.
  void advance(double seconds);

 private:
  double seconds_;
};

}  // namespace tavo::platform
