// Scheduler: the arithmetic of an answer.
//
// Given a card's learning state, the answer ("again", "hard", "good" or
// "easy") and the present moment, the scheduler moves the card to its next
// phase, interval and ease and says in how many days it is due again. It
// reads nothing but its settings and what it is given: no files, no clock,
// no collection. Every operation is const; one that changes a card changes
// only the learning state it is handed, and never its history lists, so a
// preview is the same operation applied to a plain copy of the state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "karteikarten/cards/learning_state.hpp"
#include "karteikarten/scheduling/scheduler_settings.hpp"
#include "value/date_time.hpp"
#include "value/errors.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// When a card answered is due again: in a number of days, "done" (finished
// in the forgotten-cards drill), or none (an answer the drill does not
// take, outside debug mode).
class ScheduleResult {
 public:
  static ScheduleResult in_days(Value days) { return ScheduleResult(std::move(days)); }
  static ScheduleResult done() { return ScheduleResult(Value("done")); }
  static ScheduleResult none() { return ScheduleResult(Value(None)); }

  bool is_done() const { return value_ == Value("done"); }
  bool is_none() const { return value_.is_none(); }
  // The number of days, whole or not as the arithmetic gave it (the
  // difference matters to the host); only for a result in days.
  const Value& days() const { return value_; }
  // The host's value: the days, the text "done" or None.
  const Value& to_value() const { return value_; }

 private:
  explicit ScheduleResult(Value value) : value_(std::move(value)) {}
  Value value_;
};

// What an answer did to a card's phase.
struct PhaseAnswer {
  ScheduleResult result;
  // True when the answer forgot the card ("again" in the learning steps,
  // in review or in the drill): the caller gives it the next fudge.
  bool forgot;
};

class Scheduler {
 public:
  // `settings` must outlive the scheduler; its values are read at each call.
  explicit Scheduler(const SchedulerSettings& settings) : settings_(settings) {}

  // True when answering `card` with `response` takes the early-review path:
  // learning ahead is on (`vorauslernen_tage` > 0), the card has a due
  // moment, and the answer is not "again".
  static bool answers_ahead(const WorkingLearningState& card, const std::string& response,
                            std::int64_t vorauslernen_tage);

  // The early-review interval in days for `card` answered at `now`, before
  // it is due: "hard", "good"; any other response counts as "easy". May
  // first give a card without an interval its starting interval.
  double schedule_vorauslernen(WorkingLearningState& card, const std::string& response,
                               const DateTime& now) const;

  // Whole days `card` is overdue at `now`; 0 when it is not, has no due or
  // is done.
  static std::int64_t tage_verspaetet(const WorkingLearningState& card, const DateTime& now);

  // Moves `card` to its next phase for `response`, `delay` days late, at
  // `now`: the learning steps (NEW_STEPS), graduation, review with its
  // ease, and relearning (LAPSE_STEPS); in the forgotten-cards drill
  // (`drill`) "again" keeps the card ten minutes and "good" finishes it.
  // ValueError "you can't press this button / we don't know how to deal
  // with this case" for a response the phase does not accept; in the drill
  // such a response gives none.
  PhaseAnswer answer_phase(WorkingLearningState& card, const std::string& response,
                           std::int64_t delay, const DateTime& now, bool drill) const;
  // The same, with nothing instead of the ValueError, for previews that
  // ask every button.
  std::optional<PhaseAnswer> answer_phase_if_taken(WorkingLearningState& card,
                                                   const std::string& response, std::int64_t delay,
                                                   const DateTime& now, bool drill) const;
  // The ValueError of a response the card's phase does not accept.
  static ValueError rejected_response();

  // The number of "good" answers `card` still needs to become mature (an
  // interval of 21 days) at `now`, counting learning steps still to go.
  // ZeroDivisionError when an answer would not grow the interval.
  Value calculate_anzahl_press_good_bis_mature(const WorkingLearningState& card,
                                               const DateTime& now) const;

  // The look-ahead windows in seconds: the first and the second learning
  // step, at least 60 and 600.
  double voraus_1_min() const;
  double voraus_10_min() const;
  // The learning steps in minutes.
  const List& new_steps() const { return settings_.NEW_STEPS; }

 private:
  // Each phase gives nothing for a response it does not accept.
  std::optional<PhaseAnswer> schedule_learning(WorkingLearningState& card,
                                               const std::string& response,
                                               const DateTime& now) const;
  std::optional<PhaseAnswer> schedule_learned(WorkingLearningState& card,
                                              const std::string& response,
                                              std::int64_t delay) const;
  std::optional<PhaseAnswer> schedule_relearning(WorkingLearningState& card,
                                                 const std::string& response) const;
  // Moves `card` from its learning steps to review: `interval` days and
  // the ease STARTING_EASE.
  void graduate(WorkingLearningState& card, std::int64_t interval) const;

  const SchedulerSettings& settings_;
};

}  // namespace tavo::kk
