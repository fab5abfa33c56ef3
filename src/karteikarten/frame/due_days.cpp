#include "karteikarten/frame/due_days.hpp"

#include <algorithm>

#include "platform/detail/learning_day.hpp"

namespace tavo::kk {

DueDays::DueDays(const platform::Common_functions& cf, int startzeit_tag, int days) {
  const platform::detail::LearningDay today(cf.get_datetime_now(), startzeit_tag);
  for (int day = 1; day <= days; ++day) {
    starts_.push_back(today.earlier(-day).start_epoch_seconds());
  }
}

std::optional<int> DueDays::day_of(double due) const {
  const auto later_starts = std::upper_bound(starts_.begin(), starts_.end(), due);
  if (later_starts == starts_.end()) return std::nullopt;
  return static_cast<int>(later_starts - starts_.begin());
}

}  // namespace tavo::kk
