// The numbers of the answer arithmetic, as the host reads and sets them on
// the manager (the settings store loads and saves them).
#pragma once

#include <cstdint>

#include "value/value.hpp"

namespace tavo::kk {

struct SchedulerSettings {
  // Learning steps in minutes.
  List NEW_STEPS{1, 10};
  // Days of the first interval after the learning steps, and after "easy".
  std::int64_t GRADUATING_INTERVAL = 1;
  std::int64_t EASY_INTERVAL = 4;
  // Ease in percent on graduation.
  std::int64_t STARTING_EASE = 250;
  // Percentages applied to "easy", to every interval and to "hard".
  std::int64_t EASY_BONUS = 130;
  std::int64_t INTERVAL_MODIFIER = 100;
  std::int64_t hard_factor = 120;
  // Days no interval exceeds.
  std::int64_t MAXIMUM_INTERVAL = 36500;
  // Relearning steps in minutes.
  List LAPSE_STEPS{10, 1440};
  // Percent of the interval a lapsed card keeps, and the least it keeps.
  std::int64_t NEW_INTERVAL = 70;
  std::int64_t MINIMUM_INTERVAL = 1;
};

}  // namespace tavo::kk
