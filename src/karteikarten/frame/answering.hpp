// Answering: an answer as the manager performs it.
//
// The day's records of the statistics recorder go around the scheduler's
// arithmetic, in the order the host relies on: the card's kind, its
// showing today and its place in today's queue are recorded as the card
// was before the answer; then the repetition; then either the early review
// or, after a lapse is counted, the card's next phase. A preview (`test`)
// records nothing, changes no counter and gives no fudge. A real answer is
// logged (StatisticsRecorder::begin_answer): its row is written with the
// collection's next save.
#pragma once

#include <optional>
#include <string>

#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/queue/card_chooser.hpp"
#include "karteikarten/scheduling/scheduler.hpp"
#include "karteikarten/scheduling/time_helpers.hpp"
#include "karteikarten/session/session_state.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"
#include "karteikarten/storage/statistics_recorder.hpp"
#include "platform/environment.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class Answering {
 public:
  // Everything given must outlive the answering.
  Answering(platform::Environment& env, SessionState& state, HaendesammlungContainer& hc,
            const Scheduler& scheduler, StatisticsRecorder& recorder, CardChooser& chooser)
      : env_(env), state_(state), hc_(hc), scheduler_(scheduler), recorder_(recorder),
        chooser_(chooser) {}

  // Moves `card` through its learning phases for `response` and records
  // the answer; see the scheduler for the arithmetic. ValueError for a
  // response the card's phase does not accept (the records made before the
  // phase is reached stay).
  ScheduleResult schedule(Karteikarte& card, const std::string& response, bool test);

  // The intervals of the buttons (again, hard, good, easy): each from a
  // preview of the answer on a copy of `card`'s learning state, all at the
  // same present moment. A "hard" or "easy" answer that the card's phase
  // does not accept has none.
  ButtonIntervals button_intervals(const Karteikarte& card);
  // The same as button labels: human_friendly_time of each ("Ende" where
  // there is none).
  Tuple get_interval_responses(const Karteikarte& card);

  // Marks `card` as just forgotten and gives its record in the current
  // collection the next, ever smaller fudge, so that the most recently
  // forgotten card comes first once due. KeyError when the current
  // collection is not registered or lacks the card.
  void due_fudge_nochmal_aendern(Karteikarte& card);

 private:
  // A real answer: recorded, counted and logged.
  ScheduleResult answer(Karteikarte& card, const std::string& response);
  // The records of an answer made before the card's phase changes.
  void record_before_scheduling(const Karteikarte& card, const std::string& response);
  // The scheduler's part of an answer at `now`, the same for a preview and
  // a real answer: the early review when learning ahead takes the answer,
  // else the card's phase. Nothing when the phase does not take `response`.
  std::optional<PhaseAnswer> scheduled(WorkingLearningState& card, const std::string& response,
                                       const DateTime& now);
  // The same, with the scheduler's ValueError for a response not taken.
  PhaseAnswer scheduled_or_rejected(WorkingLearningState& card, const std::string& response,
                                    const DateTime& now);
  // The label of the button `response` for `card` at `now`, from a
  // preview on a copy of its learning state.
  IntervalLabel button_interval(const WorkingLearningState& card, const char* response,
                                const DateTime& now);

  platform::Environment& env_;
  SessionState& state_;
  HaendesammlungContainer& hc_;
  const Scheduler& scheduler_;
  StatisticsRecorder& recorder_;
  CardChooser& chooser_;
};

}  // namespace tavo::kk
