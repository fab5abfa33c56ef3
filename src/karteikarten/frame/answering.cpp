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
  if (test) return scheduled_or_rejected(card, response, env_.cf.get_datetime_now()).result;
  recorder_.begin_answer(card, response);
  try {
    const ScheduleResult result = answer(card, response);
    recorder_.set_answer_interval(result.to_value());
    return result;
  } catch (...) {
    recorder_.abandon_answer();
    throw;
  }
}

ScheduleResult Answering::answer(Karteikarte& card, const std::string& response) {
  const DateTime now = env_.cf.get_datetime_now();
  record_before_scheduling(card, response);
  if (card.get_karte_ist_neu()) ++state_.gepruefte_neue_karten;
  card.karte_ist_neu = false;
  card.reps = card.get_reps() + 1;
  recorder_.set_reps(card.nur_reizung);
  const bool ahead = Scheduler::answers_ahead(card, response, state_.vorauslernen_tage);
  // "again" is never answered ahead.
  if (response == "again") {
    ++card.lapses;
    recorder_.record_lapse(card);
  }
  const PhaseAnswer phase = scheduled_or_rejected(card, response, now);
  if (ahead) {
    recorder_.add_cardid_to_schon_gelernt(&card, "vorauslernen_modus_gelernt_karte_auf_again");
  }
  if (phase.forgot) due_fudge_nochmal_aendern(card);
  return phase.result;
}

std::optional<PhaseAnswer> Answering::scheduled(WorkingLearningState& card,
                                                const std::string& response, const DateTime& now) {
  if (Scheduler::answers_ahead(card, response, state_.vorauslernen_tage)) {
    state_.make_karte_due_bool = false;
    return PhaseAnswer{
        ScheduleResult::in_days(scheduler_.schedule_vorauslernen(card, response, now)), false};
  }
  const bool drill = state_.modus_vergessene_karten;
  std::optional<PhaseAnswer> answer = scheduler_.answer_phase_if_taken(
      card, response, Scheduler::tage_verspaetet(card, now), now, drill);
  if (answer && drill) env_.diagnostics.check(!answer->result.is_none());
  return answer;
}

PhaseAnswer Answering::scheduled_or_rejected(WorkingLearningState& card,
                                             const std::string& response, const DateTime& now) {
  std::optional<PhaseAnswer> answer = scheduled(card, response, now);
  if (!answer) throw Scheduler::rejected_response();
  return *std::move(answer);
}

IntervalLabel Answering::button_interval(const WorkingLearningState& card, const char* response,
                                         const DateTime& now) {
  // The scheduler changes neither list, so the copy shares them.
  WorkingLearningState copy = card;
  try {
    const std::optional<PhaseAnswer> answer = scheduled(copy, response, now);
    return answer ? interval_label(answer->result.to_value()) : IntervalLabel{};
  } catch (const AssertionError&) {
    // The drill's debug check of an answer it does not take.
    return IntervalLabel{};
  }
}

ButtonIntervals Answering::button_intervals(const Karteikarte& card) {
  const DateTime now = env_.cf.get_datetime_now();
  return {button_interval(card, "again", now), button_interval(card, "hard", now),
          button_interval(card, "good", now), button_interval(card, "easy", now)};
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
