// Lateness, early review and the reordering of forgotten cards.
#include <algorithm>
#include <cmath>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
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

}  // namespace

std::int64_t Karteikartenverwaltung::_tage_verspaetet(const Karteikarte& card) const {
  const DateTime zeit_jetzt = platform::process_environment().cf.get_datetime_now();
  if (!card.due.truthy() || card.due.is_done()) return 0;
  const Duration delta = zeit_jetzt - DateTime::fromtimestamp(card.due.seconds());
  return std::max<std::int64_t>(delta.days(), 0);
}

double Karteikartenverwaltung::schedule_vorauslernen(Karteikarte& card,
                                                     const std::string& response) {
  const DateTime zeit_jetzt = platform::process_environment().cf.get_datetime_now();
  const DateTime due = DateTime::fromtimestamp(card.due.seconds());
  const std::int64_t wieviel_tage_zu_frueh = std::max<std::int64_t>((due - zeit_jetzt).days(), 0);
  Value factor;
  double min_new_ivl = 1.0;
  double easy_bonus = 1.0;
  if (response == "hard") {
    factor = static_cast<double>(hard_factor) / 100.0;
    min_new_ivl = factor.as_float() / 2;
  } else if (response == "good") {
    if (!card.interval.truthy()) {
      card.interval = card.steps_index + 1 < static_cast<std::int64_t>(NEW_STEPS.size())
                          ? Value(minutes_to_days(NEW_STEPS.at(card.steps_index).as_float()))
                          : Value(GRADUATING_INTERVAL);
    }
    factor = ease_factor_per_hundred(card.ease_factor);
  } else {
    if (!card.interval.truthy()) card.interval = EASY_INTERVAL;
    factor = ease_factor_per_hundred(card.ease_factor);
    const double ease4 = static_cast<double>(EASY_BONUS) / 100.0;
    easy_bonus = ease4 - (ease4 - 1) / 2;
  }
  const Value ivl_1 = larger(multiply_numbers(wieviel_tage_zu_frueh, factor), 1);
  const Value ivl_2 = larger(card.interval.as_float() * min_new_ivl, ivl_1);
  make_karte_due_bool = false;
  return ivl_2.as_float() * easy_bonus;
}

void Karteikartenverwaltung::due_fudge_nochmal_aendern(Karteikarte& card) {
  card.zuletzt_vergessen = get_seconds_since_epoch();
  const SammlungRef sammlung = hc.sammlung_named(sammlungsort_name.value_or(""));
  sammlung->karten.at(card.get_name())->fudge = fudge_nochmal;
  fudge_nochmal -= 1;
}

Value Karteikartenverwaltung::calculate_anzahl_press_good_bis_mature(
    const Karteikarte& card) const {
  const std::int64_t delay = card.learnstatus == Learnstatus::learned ? _tage_verspaetet(card) : 0;
  const auto new_steps = static_cast<std::int64_t>(NEW_STEPS.size());
  Value interval = card.interval;
  std::int64_t add = 0;
  if (interval < Value(1)) {
    interval = 1;
    add = std::max<std::int64_t>(new_steps - card.steps_index, 0);
  }
  if (interval >= Value(21)) return add;
  if (!(interval >= Value(1))) throw ValueError("the card's interval is not a number");
  const double ease = card.ease_factor.as_float();
  const double modifier = static_cast<double>(INTERVAL_MODIFIER);
  const double start = interval.as_float();
  const double wr1 = start * ((start + delay * 0.5) * ease / 100 * modifier / 100) / start;
  if (wr1 >= 21) return 1 + add;
  const double wr2 = wr1 * (ease / 100.0 * modifier / 100.0) / wr1;
  if (std::log(wr2) == 0) throw ZeroDivisionError("float division by zero");
  const double n = (std::log(21) - std::log(wr1)) / std::log(wr2);
  return std::ceil(n) + 1 + static_cast<double>(add);
}

}  // namespace tavo::kk
