#include "karteikarten/frame/answering.hpp"

#include <cstdint>

#include "karteikarten/scheduling/time_helpers.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

void Answering::record_before_scheduling(const Karteikarte& card, const std::string& response) {
  recorder_.record_new_card(card, response);
  recorder_.record_review_card(card, response);
  recorder_.record_seen_today(card);
  if (state_.make_karte_due_bool) {
    chooser_.make_karte_due(card.get_name(), recorder_.answered_collection());
    state_.make_karte_due_bool = false;
  }
  // Learning steps still ahead are counted on the new-card steps, whatever
  // the card's phase.
  const bool steps_ahead =
      card.steps_index + 1 < static_cast<std::int64_t>(scheduler_.new_steps().size());
  recorder_.record_again_queue(card, response, steps_ahead);
  recorder_.record_right_first_time(card, response);
}

ScheduleResult Answering::schedule(Karteikarte& card, const std::string& response, bool test) {
  if (test) return schedule_answer(card, response, false);
  recorder_.begin_answer(card, response);
  try {
    const ScheduleResult result = schedule_answer(card, response, true);
    recorder_.set_answer_interval(result.to_value());
    return result;
  } catch (...) {
    recorder_.abandon_answer();
    throw;
  }
}

ScheduleResult Answering::schedule_answer(Karteikarte& card, const std::string& response,
                                          bool real) {
  const DateTime now = env_.cf.get_datetime_now();
  if (real) {
    record_before_scheduling(card, response);
    if (card.get_karte_ist_neu()) ++state_.gepruefte_neue_karten;
    card.karte_ist_neu = false;
    card.reps = card.get_reps() + 1;
    recorder_.set_reps(card.nur_reizung);
  }
  if (Scheduler::answers_ahead(card, response, state_.vorauslernen_tage)) {
    const double tage = scheduler_.schedule_vorauslernen(card, response, now);
    state_.make_karte_due_bool = false;
    if (real) {
      recorder_.add_cardid_to_schon_gelernt(&card, "vorauslernen_modus_gelernt_karte_auf_again");
    }
    return ScheduleResult::in_days(tage);
  }
  const std::int64_t delay = Scheduler::tage_verspaetet(card, now);
  if (response == "again" && real) {
    ++card.lapses;
    recorder_.record_lapse(card);
  }
  const bool drill = state_.modus_vergessene_karten;
  const PhaseAnswer answer = scheduler_.answer_phase(card, response, delay, now, drill);
  if (drill) env_.diagnostics.check(!answer.result.is_none());
  if (answer.forgot && real) due_fudge_nochmal_aendern(card);
  return answer.result;
}

ButtonIntervals Answering::button_intervals(const Karteikarte& card) {
  const auto preview = [&](const char* response) {
    Karteikarte copy = deep_copy(card);
    return schedule(copy, response, true).to_value();
  };
  const auto tolerant_preview = [&](const char* response) -> Value {
    try {
      return preview(response);
    } catch (const ValueError&) {
      // The card's phase does not take the answer: the button cannot be
      // pressed.
      return "";
    } catch (const AssertionError&) {
      // The same in the drill, whose check stops it in debug mode.
      return "";
    }
  };
  const Value again = preview("again");
  const Value good = preview("good");
  const Value hard = tolerant_preview("hard");
  const Value easy = tolerant_preview("easy");
  return {interval_label(again), interval_label(hard), interval_label(good), interval_label(easy)};
}

Tuple Answering::get_interval_responses(const Karteikarte& card) {
  const ButtonIntervals labels = button_intervals(card);
  return Tuple{human_friendly_time(labels[0]), human_friendly_time(labels[1]),
               human_friendly_time(labels[2]), human_friendly_time(labels[3])};
}

void Answering::due_fudge_nochmal_aendern(Karteikarte& card) {
  card.zuletzt_vergessen = env_.cf.get_now();
  const SammlungRef sammlung = hc_.sammlung_named(state_.sammlungsort_name.value_or(""));
  sammlung->karten.at(card.get_name()).set_fudge(state_.fudge_nochmal);
  state_.fudge_nochmal -= 1;
}

}  // namespace tavo::kk
