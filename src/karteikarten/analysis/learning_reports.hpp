// LearningReports: the "again" answers and the learning days of the whole
// history, read from the day statistics store.
//
// A store that cannot be opened reads as an empty one, so both reports then
// give the figures of an empty history.
#pragma once

#include <cstdint>
#include <utility>

#include "karteikarten/session/session_state.hpp"
#include "platform/environment.hpp"

namespace tavo::kk {

class LearningReports {
 public:
  // Both must outlive the reports.
  LearningReports(const platform::Environment& env, const SessionState& state)
      : env_(env), state_(state) {}

  // The "again" answers over every collection of the day statistics store,
  // and those given today: (anzahl, anzahl_nur_heute).
  std::pair<std::int64_t, std::int64_t> get_anzahl_falsch() const;
  // The number of distinct days on which repetitions are recorded.
  std::int64_t anzahl_lerntage_gesamt() const;

 private:
  const platform::Environment& env_;
  const SessionState& state_;
};

}  // namespace tavo::kk
