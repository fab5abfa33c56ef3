// The day's limits for new cards and for reviews.
#include <cstdint>
#include <optional>

#include "karteikarten/queue/daily_limits.hpp"
#include "karteikarten/storage/setting_value.hpp"

namespace tavo::kk {
namespace {

// The collection's own today-only new-card limit; a stored 0 counts as
// unset.
std::optional<std::int64_t> sammlung_nur_heute(const SammlungRef& sammlung) {
  const Value wert = sammlung->get_metadata_heute("neue_karten_nur_heute");
  if (!wert.truthy()) return std::nullopt;
  return integer_setting("neue_karten_nur_heute", wert);
}

}  // namespace

std::int64_t DailyLimits::bestimme_grenzwert_neue_karten_heute(
    const SammlungRef& sammlung) const {
  std::optional<std::int64_t> grenzwert = sammlung_nur_heute(sammlung);
  if (!grenzwert) grenzwert = state_.neue_karten_nur_heute;
  // In the forgotten-cards drill every card of the collection may be shown.
  if (!sammlung->karten.empty() && state_.modus_vergessene_karten) {
    grenzwert = static_cast<std::int64_t>(sammlung->karten.size());
  }
  return grenzwert.value_or(state_.neue_karten_pro_tag);
}

std::int64_t DailyLimits::bestimme_grenzwert_wiederholungen(
    const SammlungRef& sammlung) const {
  if (sammlung->karten.empty()) return 0;
  if (state_.modus_vergessene_karten) return static_cast<std::int64_t>(sammlung->karten.size());
  return state_.maximale_wiederholungen_pro_tag;
}

std::optional<std::int64_t> DailyLimits::get_grenzwert_neue_karten_heute() const {
  if (state_.neue_karten_nur_heute.value_or(0) != 0) return state_.neue_karten_nur_heute;
  return state_.neue_karten_pro_tag;
}

}  // namespace tavo::kk
