#include "karteikarten/scheduling/scheduler.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "karteikarten/scheduling/time_helpers.hpp"
#include "value/errors.hpp"
#include "value/number_arithmetic.hpp"

namespace tavo::kk {
namespace {

// ease / 100 as the host divides: whole-number division for a whole-number
// ease (250 gives 2), true division otherwise.
Value ease_factor_per_hundred(const Value& ease) {
  if (ease.is_float()) return ease.as_float() / 100;
  const std::int64_t whole = ease.as_int();
  return whole / 100 - ((whole % 100 != 0 && whole < 0) ? 1 : 0);
}

// max(a, b) of two numbers as the host computes it: the first when equal.
Value larger(const Value& a, const Value& b) { return b > a ? b : a; }

// max(floor, x) as the host computes it: `floor` unless x is larger.
Value at_least(std::int64_t floor, const Value& x) { return x > Value(floor) ? x : Value(floor); }

// The returned interval is capped; the card keeps the uncapped one.
Value capped(const Value& interval, std::int64_t maximum) {
  return Value(maximum) < interval ? Value(maximum) : interval;
}

// interval x percent / 100 in the interval's own number type: whole-number
// division for a whole-number interval.
Value percent_of(const Value& interval, std::int64_t percent) {
  if (interval.is_float()) return interval.as_float() * static_cast<double>(percent) / 100;
  const std::int64_t product = interval.as_int() * percent;
  return product / 100 - ((product % 100 != 0 && product < 0) ? 1 : 0);
}

ScheduleResult in_days(Value days) { return ScheduleResult::in_days(std::move(days)); }

}  // namespace

bool Scheduler::answers_ahead(const WorkingLearningState& card, const std::string& response,
                              std::int64_t vorauslernen_tage) {
  return vorauslernen_tage > 0 && response != "again" && !card.due.is_none();
}

ValueError Scheduler::rejected_response() {
  return ValueError("you can't press this button / we don't know how to deal with this case");
}

PhaseAnswer Scheduler::answer_phase(WorkingLearningState& card, const std::string& response,
                                    std::int64_t delay, const DateTime& now, bool drill) const {
  std::optional<PhaseAnswer> answer = answer_phase_if_taken(card, response, delay, now, drill);
  if (!answer) throw rejected_response();
  return *std::move(answer);
}

std::optional<PhaseAnswer> Scheduler::answer_phase_if_taken(WorkingLearningState& card,
                                                            const std::string& response,
                                                            std::int64_t delay, const DateTime& now,
                                                            bool drill) const {
  if (drill) {
    if (response == "again") {
      return PhaseAnswer{ScheduleResult::in_days(minutes_to_days(voraus_10_min() / 60)), true};
    }
    if (response == "good") return PhaseAnswer{ScheduleResult::done(), false};
    return PhaseAnswer{ScheduleResult::none(), false};
  }
  switch (card.learnstatus) {
    case Learnstatus::learning: return schedule_learning(card, response, now);
    case Learnstatus::learned: return schedule_learned(card, response, delay);
    case Learnstatus::relearning: return schedule_relearning(card, response);
  }
  return PhaseAnswer{ScheduleResult::none(), false};
}

std::optional<PhaseAnswer> Scheduler::schedule_learning(WorkingLearningState& card,
                                                        const std::string& response,
                                                        const DateTime& now) const {
  const List& new_steps = settings_.NEW_STEPS;
  if (!card.faellig_erstes_mal) card.faellig_erstes_mal = now;
  if (response == "again") {
    card.steps_index = 0;
    return PhaseAnswer{in_days(minutes_to_days(new_steps.at(card.steps_index).as_float())), true};
  }
  if (response == "good") {
    card.steps_index += 1;
    if (card.steps_index < static_cast<std::int64_t>(new_steps.size())) {
      return PhaseAnswer{in_days(minutes_to_days(new_steps.at(card.steps_index).as_float())),
                         false};
    }
    graduate(card, settings_.GRADUATING_INTERVAL);
    return PhaseAnswer{in_days(card.interval), false};
  }
  if (response == "easy") {
    graduate(card, settings_.EASY_INTERVAL);
    return PhaseAnswer{in_days(settings_.EASY_INTERVAL), false};
  }
  return std::nullopt;
}

void Scheduler::graduate(WorkingLearningState& card, std::int64_t interval) const {
  card.learnstatus = Learnstatus::learned;
  card.interval = interval;
  card.ease_factor = settings_.STARTING_EASE;
}

std::optional<PhaseAnswer> Scheduler::schedule_learned(WorkingLearningState& card,
                                                       const std::string& response,
                                                       std::int64_t delay) const {
  const double modifier = static_cast<double>(settings_.INTERVAL_MODIFIER);
  if (response == "again") {
    card.learnstatus = Learnstatus::relearning;
    card.steps_index = 0;
    card.ease_factor = at_least(130, add_numbers(card.ease_factor, -20));
    return PhaseAnswer{in_days(minutes_to_days(settings_.LAPSE_STEPS.at(0).as_float())), true};
  }
  if (response == "hard") {
    card.interval =
        (card.interval.as_float() + static_cast<double>(delay / 4)) * 1.2 * modifier / 100;
    card.ease_factor = at_least(130, add_numbers(card.ease_factor, -15));
  } else if (response == "good") {
    card.interval = (card.interval.as_float() + static_cast<double>(delay) * 0.5) *
                    card.ease_factor.as_float() / 100 * modifier / 100;
  } else if (response == "easy") {
    const Value late_interval = add_numbers(card.interval, delay);
    card.interval = late_interval.as_float() * card.ease_factor.as_float() / 100 * modifier / 100 *
                    static_cast<double>(settings_.EASY_BONUS) / 100;
    card.ease_factor = add_numbers(card.ease_factor, 15);
  } else {
    return std::nullopt;
  }
  return PhaseAnswer{in_days(capped(card.interval, settings_.MAXIMUM_INTERVAL)), false};
}

std::optional<PhaseAnswer> Scheduler::schedule_relearning(WorkingLearningState& card,
                                                          const std::string& response) const {
  const List& lapse_steps = settings_.LAPSE_STEPS;
  if (response == "again") {
    card.steps_index = 0;
    return PhaseAnswer{in_days(minutes_to_days(lapse_steps.at(0).as_float())), true};
  }
  if (response != "good") return std::nullopt;
  card.steps_index += 1;
  if (card.steps_index < static_cast<std::int64_t>(lapse_steps.size())) {
    return PhaseAnswer{in_days(minutes_to_days(lapse_steps.at(card.steps_index).as_float())),
                       false};
  }
  card.learnstatus = Learnstatus::learned;
  const Value kept = percent_of(card.interval, settings_.NEW_INTERVAL);
  const Value minimum(settings_.MINIMUM_INTERVAL);
  card.interval = minimum > kept ? minimum : kept;
  return PhaseAnswer{in_days(card.interval), false};
}

std::int64_t Scheduler::tage_verspaetet(const WorkingLearningState& card,
                                        const DateTime& zeit_jetzt) {
  if (!card.due.truthy() || card.due.is_done()) return 0;
  const Duration delta = zeit_jetzt - DateTime::fromtimestamp(card.due.seconds());
  return std::max<std::int64_t>(delta.days(), 0);
}

double Scheduler::schedule_vorauslernen(WorkingLearningState& card, const std::string& response,
                                        const DateTime& zeit_jetzt) const {
  const DateTime due = DateTime::fromtimestamp(card.due.seconds());
  const std::int64_t wieviel_tage_zu_frueh = std::max<std::int64_t>((due - zeit_jetzt).days(), 0);
  Value factor;
  double min_new_ivl = 1.0;
  double easy_bonus = 1.0;
  if (response == "hard") {
    factor = static_cast<double>(settings_.hard_factor) / 100.0;
    min_new_ivl = factor.as_float() / 2;
  } else if (response == "good") {
    if (!card.interval.truthy()) {
      card.interval =
          card.steps_index + 1 < static_cast<std::int64_t>(settings_.NEW_STEPS.size())
              ? Value(minutes_to_days(settings_.NEW_STEPS.at(card.steps_index).as_float()))
              : Value(settings_.GRADUATING_INTERVAL);
    }
    factor = ease_factor_per_hundred(card.ease_factor);
  } else {
    if (!card.interval.truthy()) card.interval = settings_.EASY_INTERVAL;
    factor = ease_factor_per_hundred(card.ease_factor);
    const double ease4 = static_cast<double>(settings_.EASY_BONUS) / 100.0;
    easy_bonus = ease4 - (ease4 - 1) / 2;
  }
  const Value ivl_1 = larger(multiply_numbers(wieviel_tage_zu_frueh, factor), 1);
  const Value ivl_2 = larger(card.interval.as_float() * min_new_ivl, ivl_1);
  return ivl_2.as_float() * easy_bonus;
}

Value Scheduler::calculate_anzahl_press_good_bis_mature(const WorkingLearningState& card,
                                                        const DateTime& now) const {
  const std::int64_t delay =
      card.learnstatus == Learnstatus::learned ? tage_verspaetet(card, now) : 0;
  const auto new_steps = static_cast<std::int64_t>(settings_.NEW_STEPS.size());
  Value interval = card.interval;
  std::int64_t add = 0;
  if (interval < Value(1)) {
    interval = 1;
    add = std::max<std::int64_t>(new_steps - card.steps_index, 0);
  }
  if (interval >= Value(21)) return add;
  if (!(interval >= Value(1))) throw ValueError("the card's interval is not a number");
  const double ease = card.ease_factor.as_float();
  const double modifier = static_cast<double>(settings_.INTERVAL_MODIFIER);
  const double start = interval.as_float();
  const double wr1 = start * ((start + delay * 0.5) * ease / 100 * modifier / 100) / start;
  if (wr1 >= 21) return 1 + add;
  const double wr2 = wr1 * (ease / 100.0 * modifier / 100.0) / wr1;
  if (std::log(wr2) == 0) throw ZeroDivisionError("float division by zero");
  const double n = (std::log(21) - std::log(wr1)) / std::log(wr2);
  return std::ceil(n) + 1 + static_cast<double>(add);
}

double Scheduler::voraus_1_min() const { return look_ahead_seconds(settings_.NEW_STEPS, 0, 60); }

double Scheduler::voraus_10_min() const { return look_ahead_seconds(settings_.NEW_STEPS, 1, 600); }

}  // namespace tavo::kk
