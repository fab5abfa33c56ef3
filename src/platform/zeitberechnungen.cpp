// Learning-day start times counted back from a reference moment.
#include "platform/zeitberechnungen.hpp"

#include <cmath>
#include <string>

#include "platform/detail/learning_day.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::platform {

Zeitberechnungen::Zeitberechnungen(const Common_functions& functions, int startzeit_tag)
    : functions_(functions), startzeit_tag_(detail::checked_startzeit_tag(startzeit_tag)) {}

void Zeitberechnungen::set_time(const DateTime& zeit) { zeit_ = zeit; }

double Zeitberechnungen::get_old_date(std::int64_t days) const {
  if (days < 0) throw ValueError("days must not be negative, got " + std::to_string(days));
  return detail::LearningDay(reference(), startzeit_tag_).earlier(days).start_epoch_seconds();
}

double Zeitberechnungen::vorauslernen_sekunden_berechnen(double vorauslernen_tage) const {
  if (!(std::isfinite(vorauslernen_tage) && vorauslernen_tage >= 0)) {
    throw ValueError("vorauslernen_tage must be a finite number of days >= 0, got " +
                     float_repr(vorauslernen_tage));
  }
  return vorauslernen_tage * 86400.0;
}

DateTime Zeitberechnungen::reference() const {
  return zeit_ ? *zeit_ : functions_.get_datetime_now();
}

}  // namespace tavo::platform
