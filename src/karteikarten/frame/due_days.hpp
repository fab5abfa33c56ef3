// Which learning day a due moment falls on, counted from the present one.
//
// The present learning day is day 0 and takes every moment before the
// start of the next one, overdue moments included; day n runs from the
// start hour (`startzeit_tag`) of the n-th next date to that of the date
// after. A day is as long as the wall clock makes it: 23 or 25 hours when
// the clocks change.
#pragma once

#include <optional>
#include <vector>

#include "platform/common_functions.hpp"

namespace tavo::kk {

class DueDays {
 public:
  // The present learning day by `cf`'s clock and the `days` - 1 after it.
  DueDays(const platform::Common_functions& cf, int startzeit_tag, int days);

  // The day `due` falls on, 0 to days - 1; none when it is later.
  std::optional<int> day_of(double due) const;

 private:
  // The start of each day after the present one, in seconds since the
  // epoch, and the end of the last.
  std::vector<double> starts_;
};

}  // namespace tavo::kk
