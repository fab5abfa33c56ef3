// The figures of a learning day: the day statistics store's counts and the
// due moments of the registered collections' cards, against the present
// moment and the bounds of the next learning day.
#include "karteikarten/frame/day_figures.hpp"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "karteikarten/frame/due_days.hpp"
#include "platform/common_functions.hpp"

namespace tavo::kk {
namespace {

std::int64_t repetitions(const Karteikartenverwaltung& kkv, bool heute) {
  return kkv.iterate_key_shelve("reps", heute).at("anzahl").as_int();
}

// Counts the due moments that are due now, those of the next learning day,
// and finds the first one after now. `dues` is in ascending order.
void add_due_figures(const platform::Common_functions& cf,
                     const std::vector<std::pair<double, std::string>>& dues, int startzeit_tag,
                     DayFigures& figures) {
  const double now = cf.get_now();
  const DueDays today_and_tomorrow(cf, startzeit_tag, 2);
  for (const auto& [due, name] : dues) {
    if (due <= now) {
      ++figures.due_now;
      continue;
    }
    if (!figures.next_due) figures.next_due = due;
    if (today_and_tomorrow.day_of(due) == 1) ++figures.due_tomorrow;
  }
}

std::int64_t due_now_in_choice(const Karteikartenverwaltung& kkv) {
  const double now = kkv.environment().cf.get_now();
  std::int64_t count = 0;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    for (const auto& [name, card] : sammlung->karten) {
      if (card->due.is_moment() && card->due.seconds() <= now && !sammlung->is_passed_over(name)) {
        ++count;
      }
    }
  }
  return count;
}

}  // namespace

DayFigures day_figures(const Karteikartenverwaltung& kkv) {
  DayFigures figures;
  figures.repetitions_today = repetitions(kkv, true);
  figures.repetitions_total = repetitions(kkv, false);
  std::tie(figures.again_total, figures.again_today) = kkv.get_anzahl_falsch();
  figures.learning_days = kkv.anzahl_lerntage_gesamt();
  figures.answer_minutes_today = kkv.gesamte_zeitdauer_heute(true);
  figures.new_cards_today = kkv.hc.iterate_get_anzahl_neue_karten_heute_angesehen();
  figures.new_card_limit = kkv.get_grenzwert_neue_karten_heute();
  figures.reviews_today = kkv.hc.iterate_anzahl_heute_planmaessig_wiederholte_karten();
  figures.review_limit = kkv.maximale_wiederholungen_pro_tag;
  add_due_figures(kkv.environment().cf, kkv.get_all_dues(), kkv.startzeit_tag, figures);
  figures.due_now_in_choice = due_now_in_choice(kkv);
  return figures;
}

}  // namespace tavo::kk
