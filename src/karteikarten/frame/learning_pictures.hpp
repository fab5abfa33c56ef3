// The figures behind the pictures of a learner's learning: the cards due on
// each of the coming learning days, the answers given on each learning day
// of the last year, and the share of "again" among the answers of each
// week, for young and for mature cards.
//
// All of them concern the manager's registered collections, at the
// present moment of its clock. Learning days begin at the manager's
// `startzeit_tag` (see due_days.hpp). Answers are read from the answer
// log: those taken back with undo are left out, and so are the answers of
// the forgotten-cards drill, which go to the drill's own copies.
//
// Whether a card was young or mature when answered is told by its interval
// before the answer, as the log row keeps it (the card's state before the
// answer): that is the card as it was answered, even when its first
// logged answer came after the card was changed in another way (an
// imported learning state, a self-check scenario), which the interval
// returned by its previous answer would miss.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::kk {

// Learning days in the due forecast.
inline constexpr int forecast_days = 30;
// Weeks in the calendar and the "again" shares.
inline constexpr int calendar_weeks = 52;
// A card is mature when its interval before an answer is at least this
// many days; young otherwise, new and learning cards included.
inline constexpr int mature_interval_days = 21;

// Answers of one kind, and how many of them were "again".
struct AgainCount {
  std::int64_t answers = 0;
  std::int64_t again = 0;

  // again / answers; none without answers.
  std::optional<double> share() const;
};

// A week of answers, Monday to Sunday, by the learning days' dates.
struct AgainWeek {
  // The Monday, "2026-03-02".
  std::string monday;
  AgainCount young;
  AgainCount mature;
};

struct LearningPictures {
  // The present learning day's date, "2026-03-04".
  std::string today;
  // The cards due on the present learning day (overdue ones included) and
  // on each of the next forecast_days - 1: forecast_days numbers. Cards
  // without a due moment (new ones, those done in the drill) are not
  // counted.
  std::vector<std::int64_t> due_forecast;
  // The dates of those days.
  std::vector<std::string> forecast_dates;
  // The dates of the calendar's learning days, from the Monday
  // calendar_weeks - 1 weeks before the present learning day's week to
  // today; so entry i falls on weekday i % 7 (0 Monday) of week i / 7.
  std::vector<std::string> calendar_dates;
  // The answers on each of those days.
  std::vector<std::int64_t> answers_per_day;
  // The weeks of the calendar from the first with an answer to the
  // present one; empty without answers.
  std::vector<AgainWeek> again_weeks;
  // The same counts over all of again_weeks.
  AgainCount young_total;
  AgainCount mature_total;
};

// Reads the figures; changes nothing. db::Error when the collections store
// cannot be read.
LearningPictures learning_pictures(const Karteikartenverwaltung& kkv);

}  // namespace tavo::kk
