// Which learning day a moment belongs to, and that day's key and start.
#include "platform/detail/learning_day.hpp"

#include "value/errors.hpp"

namespace tavo::platform::detail {
namespace {

DateTime shifted_into_learning_day(const DateTime& moment, int startzeit_tag) {
  return moment.hour() < startzeit_tag ? moment - Duration::of_days(1) : moment;
}

}  // namespace

int checked_startzeit_tag(int startzeit_tag) {
  if (startzeit_tag < 0 || startzeit_tag > 23) {
    throw ValueError("startzeit_tag must be in 0..23, got " + std::to_string(startzeit_tag));
  }
  return startzeit_tag;
}

LearningDay::LearningDay(const DateTime& moment, int startzeit_tag)
    : LearningDay(Shifted{},
                  shifted_into_learning_day(moment, checked_startzeit_tag(startzeit_tag)),
                  startzeit_tag) {}

LearningDay::LearningDay(Shifted, const DateTime& moment, int startzeit_tag)
    : moment_(moment), startzeit_tag_(startzeit_tag) {}

LearningDay LearningDay::earlier(std::int64_t days) const {
  return LearningDay(Shifted{}, moment_ - Duration::of_days(days), startzeit_tag_);
}

std::string LearningDay::key() const {
  return std::to_string(moment_.year()) + "-" + std::to_string(moment_.month()) + "-" +
         std::to_string(moment_.day());
}

double LearningDay::start_epoch_seconds() const {
  const DateTime start(moment_.year(), moment_.month(), moment_.day(), startzeit_tag_);
  return start.to_epoch_seconds(-1);
}

}  // namespace tavo::platform::detail
