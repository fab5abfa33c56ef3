// The figures of a learning day that a host shows after a session or on
// request: from the day statistics store and the registered collections.
#pragma once

#include <cstdint>
#include <optional>

#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::kk {

struct DayFigures {
  // Repetitions recorded in the day statistics store, over every stored
  // collection.
  std::int64_t repetitions_today = 0;
  std::int64_t repetitions_total = 0;
  // "again" answers (get_anzahl_falsch).
  std::int64_t again_today = 0;
  std::int64_t again_total = 0;
  // Distinct days with repetitions (anzahl_lerntage_gesamt).
  std::int64_t learning_days = 0;
  // Today's answer time in minutes.
  double answer_minutes_today = 0;
  // New cards seen today in the registered collections, and the manager's
  // new-card limit (per collection; none when unset).
  std::int64_t new_cards_today = 0;
  std::optional<std::int64_t> new_card_limit;
  // Reviews answered today in the registered collections, and the review
  // limit per collection.
  std::int64_t reviews_today = 0;
  std::int64_t review_limit = 0;
  // Cards of the registered collections due now (a due moment no later
  // than the present), and due during the next learning day.
  std::int64_t due_now = 0;
  std::int64_t due_tomorrow = 0;
  // Of the cards due now, those the card choice still considers: all but
  // the cards answered ahead in this manager's session. When get_card
  // offers none, today's limits hold these back.
  std::int64_t due_now_in_choice = 0;
  // The earliest due moment after the present, in seconds since the
  // epoch; none when no card has one.
  std::optional<double> next_due;
};

// Reads the figures; changes nothing. Errors of the statistics store
// propagate, except that a store that cannot be opened counts as empty.
DayFigures day_figures(const Karteikartenverwaltung& kkv);

}  // namespace tavo::kk
