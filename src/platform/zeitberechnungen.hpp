// Start times of past learning days, and the shift for learning ahead.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/common_functions.hpp"
#include "value/date_time.hpp"

namespace tavo::platform {

// Time calculations relative to a reference moment: a moment set with
// set_time, or else the clock's present moment at each call.
class Zeitberechnungen {
 public:
  // Reads the present moment from `functions`, which must outlive this
  // object. Throws ValueError unless `startzeit_tag` is in 0..23.
  Zeitberechnungen(const Common_functions& functions, int startzeit_tag);

  // The hour at which a learning day begins.
  int startzeit_tag() const { return startzeit_tag_; }

  // Makes the local moment `zeit` the reference for all later calls.
  void set_time(const DateTime& zeit);

  // Seconds since the epoch of the start (at startzeit_tag o'clock, local
  // time) of the learning day `days` days before the reference moment's
  // learning day; 0 gives the start of that day itself. Throws ValueError
  // when `days` is negative.
  double get_old_date(std::int64_t days) const;

  // The shift in seconds for learning `vorauslernen_tage` days ahead:
  // one day is 86400 seconds. Throws ValueError unless it is finite and
  // not negative.
  double vorauslernen_sekunden_berechnen(double vorauslernen_tage) const;

 private:
  DateTime reference() const;

  const Common_functions& functions_;
  int startzeit_tag_;
  std::optional<DateTime> zeit_;
};

}  // namespace tavo::platform
