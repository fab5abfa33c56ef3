// Turning an answer into the card's next phase, interval, ease and the days
// until it is due again.
#include <algorithm>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"
#include "value/number_arithmetic.hpp"

namespace tavo::kk {
namespace {

[[noreturn]] void reject_response() {
  throw ValueError("you can't press this button / we don't know how to deal with this case");
}

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

}  // namespace

Value Karteikartenverwaltung::schedule(const Value&, Karteikarte& card, const std::string& response,
                                       bool test) {
  const bool real = !test;
  for (const AnswerStep step :
       {AnswerStep::new_card, AnswerStep::review_card, AnswerStep::seen_today,
        AnswerStep::again_queue, AnswerStep::right_first_time}) {
    answer_bookkeeping(step, card, response, test);
  }
  if (real) {
    if (card.get_karte_ist_neu()) ++gepruefte_neue_karten;
    card.karte_ist_neu = false;
    card.reps = card.get_reps() + 1;
    answer_bookkeeping(AnswerStep::repetition, card, response, test);
  }
  if (answers_ahead(card, response)) {
    const double wert = schedule_vorauslernen(card, response);
    if (real) answer_bookkeeping(AnswerStep::early_review, card, response, test);
    return wert;
  }
  const std::int64_t delay = _tage_verspaetet(card);
  if (response == "again" && real) {
    ++card.lapses;
    answer_bookkeeping(AnswerStep::lapse, card, response, test);
  }
  if (modus_vergessene_karten) return schedule_forgotten(card, response, real);
  switch (card.learnstatus) {
    case Learnstatus::learning: return schedule_learning(card, response, real);
    case Learnstatus::learned: return schedule_learned(card, response, delay, real);
    case Learnstatus::relearning: return schedule_relearning(card, response, real);
  }
  return None;
}

bool Karteikartenverwaltung::answers_ahead(const Karteikarte& card,
                                           const std::string& response) const {
  return vorauslernen_tage > 0 && response != "again" && !card.due.is_none();
}

Value Karteikartenverwaltung::schedule_forgotten(Karteikarte& card, const std::string& response,
                                                 bool real) {
  if (response == "again") {
    if (real) due_fudge_nochmal_aendern(card);
    return minutes_to_days(voraus_10_min() / 60);
  }
  if (response == "good") return "done";
  platform::process_environment().diagnostics.check(false);
  return None;
}

Value Karteikartenverwaltung::schedule_learning(Karteikarte& card, const std::string& response,
                                                bool real) {
  if (!card.faellig_erstes_mal)
    card.faellig_erstes_mal = platform::process_environment().cf.get_datetime_now();
  if (response == "again") {
    card.steps_index = 0;
    if (real) due_fudge_nochmal_aendern(card);
    return minutes_to_days(NEW_STEPS.at(card.steps_index).as_float());
  }
  if (response == "good") {
    card.steps_index += 1;
    if (card.steps_index < static_cast<std::int64_t>(NEW_STEPS.size())) {
      return minutes_to_days(NEW_STEPS.at(card.steps_index).as_float());
    }
    graduate(card, GRADUATING_INTERVAL);
    return card.interval;
  }
  if (response == "easy") {
    graduate(card, EASY_INTERVAL);
    return EASY_INTERVAL;
  }
  reject_response();
}

void Karteikartenverwaltung::graduate(Karteikarte& card, std::int64_t interval) const {
  card.learnstatus = Learnstatus::learned;
  card.interval = interval;
  card.ease_factor = STARTING_EASE;
}

Value Karteikartenverwaltung::schedule_learned(Karteikarte& card, const std::string& response,
                                               std::int64_t delay, bool real) {
  const double modifier = static_cast<double>(INTERVAL_MODIFIER);
  if (response == "again") {
    card.learnstatus = Learnstatus::relearning;
    card.steps_index = 0;
    card.ease_factor = at_least(130, add_numbers(card.ease_factor, -20));
    if (real) due_fudge_nochmal_aendern(card);
    return minutes_to_days(LAPSE_STEPS.at(0).as_float());
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
                    static_cast<double>(EASY_BONUS) / 100;
    card.ease_factor = add_numbers(card.ease_factor, 15);
  } else {
    reject_response();
  }
  return capped(card.interval, MAXIMUM_INTERVAL);
}

Value Karteikartenverwaltung::schedule_relearning(Karteikarte& card, const std::string& response,
                                                  bool real) {
  if (response == "again") {
    card.steps_index = 0;
    if (real) due_fudge_nochmal_aendern(card);
    return minutes_to_days(LAPSE_STEPS.at(0).as_float());
  }
  if (response != "good") reject_response();
  card.steps_index += 1;
  if (card.steps_index < static_cast<std::int64_t>(LAPSE_STEPS.size())) {
    return minutes_to_days(LAPSE_STEPS.at(card.steps_index).as_float());
  }
  card.learnstatus = Learnstatus::learned;
  const Value kept = percent_of(card.interval, NEW_INTERVAL);
  card.interval = Value(MINIMUM_INTERVAL) > kept ? Value(MINIMUM_INTERVAL) : kept;
  return card.interval;
}

Tuple Karteikartenverwaltung::get_interval_responses(const Karteikarte& card) {
  const auto preview = [&](const char* response) {
    Karteikarte copy = deep_copy(card);
    return schedule(None, copy, response, true);
  };
  const auto tolerant_preview = [&](const char* response) -> Value {
    Karteikarte copy = deep_copy(card);
    try {
      return schedule(None, copy, response, true);
    } catch (const std::exception&) {
      return "";
    }
  };
  const Value again = preview("again");
  const Value good = preview("good");
  const Value hard = tolerant_preview("hard");
  const Value easy = tolerant_preview("easy");
  return Tuple{human_friendly_time(again), human_friendly_time(hard), human_friendly_time(good),
               human_friendly_time(easy)};
}

}  // namespace tavo::kk
