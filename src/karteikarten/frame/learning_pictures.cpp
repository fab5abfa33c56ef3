#include "karteikarten/frame/learning_pictures.hpp"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/frame/due_days.hpp"
#include "platform/detail/learning_day.hpp"

namespace tavo::kk {
namespace {

using platform::detail::LearningDay;

// "2026-03-04".
std::string iso_date(const LearningDay& day) { return day.moment().isoformat().substr(0, 10); }

// The dates of `days` learning days from `first` on.
std::vector<std::string> dates_from(const LearningDay& first, std::size_t days) {
  std::vector<std::string> dates;
  for (std::size_t day = 0; day < days; ++day) {
    dates.push_back(iso_date(first.earlier(-static_cast<std::int64_t>(day))));
  }
  return dates;
}

std::vector<std::int64_t> due_forecast(const Karteikartenverwaltung& kkv) {
  std::vector<std::int64_t> cards(forecast_days, 0);
  const DueDays days(kkv.environment().cf, kkv.startzeit_tag, forecast_days);
  for (const auto& [due, name] : kkv.get_all_dues()) {
    if (const std::optional<int> day = days.day_of(due)) ++cards[static_cast<std::size_t>(*day)];
  }
  return cards;
}

// The calendar's learning days by their keys in the log, each with its
// place in the calendar.
struct CalendarDays {
  LearningDay first;
  std::map<std::string, std::size_t> place_of_key;
};

CalendarDays calendar_days(const LearningDay& today) {
  const int days = 7 * (calendar_weeks - 1) + today.moment().weekday() + 1;
  CalendarDays calendar{today.earlier(days - 1), {}};
  for (int place = 0; place < days; ++place) {
    calendar.place_of_key.emplace(calendar.first.earlier(-place).key(),
                                  static_cast<std::size_t>(place));
  }
  return calendar;
}

// The answers of the registered collections that were not taken back.
std::vector<LoggedAnswer> kept_answers(const Karteikartenverwaltung& kkv) {
  std::set<std::string> registered;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen)
    registered.insert(sammlung->name);
  std::vector<LoggedAnswer> answers;
  for (AnswerLogRow& row : PickleDump(kkv.environment()).kept_answers()) {
    if (registered.contains(row.answer.collection)) answers.push_back(std::move(row.answer));
  }
  return answers;
}

bool answered_mature(const LoggedAnswer& answer) {
  const Value* interval = answer.state_before.find(Value("interval"));
  return interval != nullptr && interval->is_number() &&
         interval->as_float() >= mature_interval_days;
}

void count(AgainCount& counts, const LoggedAnswer& answer) {
  ++counts.answers;
  if (answer.response == "again") ++counts.again;
}

// Fills the answers per day and the weeks, from the week of the first
// answer on.
void add_answers(const Karteikartenverwaltung& kkv, const CalendarDays& calendar,
                 LearningPictures& pictures) {
  std::vector<AgainWeek> weeks(calendar_weeks);
  for (std::size_t week = 0; week < weeks.size(); ++week) {
    weeks[week].monday = pictures.calendar_dates[7 * week];
  }
  std::size_t first_week = weeks.size() - 1;
  for (const LoggedAnswer& answer : kept_answers(kkv)) {
    const auto place = calendar.place_of_key.find(answer.day);
    if (place == calendar.place_of_key.end()) continue;
    ++pictures.answers_per_day[place->second];
    const std::size_t week = place->second / 7;
    first_week = std::min(first_week, week);
    const bool mature = answered_mature(answer);
    count(mature ? weeks[week].mature : weeks[week].young, answer);
    count(mature ? pictures.mature_total : pictures.young_total, answer);
  }
  if (pictures.young_total.answers + pictures.mature_total.answers == 0) return;
  pictures.again_weeks.assign(weeks.begin() + static_cast<std::ptrdiff_t>(first_week), weeks.end());
}

}  // namespace

std::optional<double> AgainCount::share() const {
  if (answers == 0) return std::nullopt;
  return static_cast<double>(again) / static_cast<double>(answers);
}

LearningPictures learning_pictures(const Karteikartenverwaltung& kkv) {
  const LearningDay today(kkv.environment().cf.get_datetime_now(), kkv.startzeit_tag);
  const CalendarDays calendar = calendar_days(today);
  LearningPictures pictures;
  pictures.today = iso_date(today);
  pictures.due_forecast = due_forecast(kkv);
  pictures.forecast_dates = dates_from(today, forecast_days);
  pictures.calendar_dates = dates_from(calendar.first, calendar.place_of_key.size());
  pictures.answers_per_day.assign(calendar.place_of_key.size(), 0);
  add_answers(kkv, calendar, pictures);
  return pictures;
}

}  // namespace tavo::kk
