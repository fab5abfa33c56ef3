// The due moment of a Karteikarte: from a number of days to seconds since
// the epoch, with a card that moves to a later day due at the start hour.
#include "karteikarten/cards/karteikarte.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

void Karteikarte::change_due(const platform::Common_functions& clock, const Value& amount) {
  if (amount == Value("done")) {
    due = Due::done();
    return;
  }
  if (!amount.is_number()) {
    throw TypeError(std::string("change_due needs a number of days or 'done', got ") +
                    type_name(amount));
  }
  const DateTime real_now = clock.get_datetime_now();
  const DateTime start_of_day =
      DateTime::fromtimestamp(clock.get_startzeit_tag_today(startzeit_tag));
  // Intervals of a day or more count from the start of the learning day,
  // shorter ones from the present moment.
  const DateTime vergleichszeit = amount < Value(1) ? real_now : start_of_day;
  const Duration delta = Duration::of_seconds(86400 * amount.as_float());
  const DateTime zukunft = vergleichszeit + delta;
  const int hour = delta.seconds() <= 600 ? zukunft.hour() : startzeit_tag;
  const bool whole_days = delta.days() >= 1;
  const DateTime moment(zukunft.year(), zukunft.month(), zukunft.day(), hour,
                        whole_days ? 0 : zukunft.minute(), whole_days ? 0 : zukunft.second());
  // The library decides daylight-saving time for the due moment itself, so
  // that a card moved across a change still falls due at the start hour.
  due = Due::at(moment.to_epoch_seconds(-1));
}

void Karteikarte::recalculate_next_due_status_learning(const platform::Common_functions& clock) {
  if (learnstatus == Learnstatus::learning) due = Due::at(clock.get_now());
}

}  // namespace tavo::kk
