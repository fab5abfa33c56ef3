// DailyLimits: today's limits of new cards and reviews for a collection,
// from the session's settings and the collection's own today-only value.
#pragma once

#include <cstdint>
#include <optional>

#include "karteikarten/collection/haendesammlung.hpp"
#include "karteikarten/session/session_state.hpp"

namespace tavo::kk {

class DailyLimits {
 public:
  // `state` must outlive the limits.
  explicit DailyLimits(const SessionState& state) : state_(state) {}

  // Today's new-card limit for `sammlung`: its own today-only value (a value
  // of 0 counts as unset), else the session's neue_karten_nur_heute, else
  // neue_karten_pro_tag; in the forgotten-cards mode every card of a
  // non-empty collection.
  std::int64_t bestimme_grenzwert_neue_karten_heute(const SammlungRef& sammlung) const;
  // Today's review limit for `sammlung`: 0 for an empty collection, every
  // card in the forgotten-cards mode, else maximale_wiederholungen_pro_tag.
  std::int64_t bestimme_grenzwert_wiederholungen(const SammlungRef& sammlung) const;
  // The session-wide new-card limit: the today-only value when set and not
  // 0, else the per-day value.
  std::optional<std::int64_t> get_grenzwert_neue_karten_heute() const;

 private:
  const SessionState& state_;
};

}  // namespace tavo::kk
