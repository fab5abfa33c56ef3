#include "karteikarten/frame/cards_left_today.hpp"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "platform/common_functions.hpp"

namespace tavo::kk {
namespace {

constexpr double seconds_per_day = 86400;

// The cards of one collection by what they still need today.
struct CollectionCounts {
  std::int64_t without_due = 0;
  std::int64_t put_due_never_answered = 0;
  std::int64_t reviews_begun = 0;
  std::int64_t reviews_fresh = 0;
  std::int64_t learning = 0;
};

CollectionCounts count_cards(const Haendesammlung& sammlung, double end) {
  const NameList seen_list = sammlung.get_heute_angesehen();
  const std::unordered_set<std::string> seen(seen_list.begin(), seen_list.end());
  CollectionCounts counts;
  for (const auto& [name, card] : sammlung.karten) {
    if (sammlung.is_passed_over(name)) continue;
    if (card->due.is_none()) {
      ++counts.without_due;
    } else if (!card->due.is_moment() || card->due.seconds() >= end) {
      continue;
    } else if (card->karte_ist_neu) {
      ++counts.put_due_never_answered;
    } else if (card->learnstatus == Learnstatus::learned) {
      ++(seen.contains(name) ? counts.reviews_begun : counts.reviews_fresh);
    } else {
      ++counts.learning;
    }
  }
  return counts;
}

}  // namespace

CardsLeftToday cards_left_today(const Karteikartenverwaltung& kkv) {
  const platform::Common_functions& clock = kkv.environment().cf;
  const double end =
      std::max(clock.next_learning_day_start(kkv.startzeit_tag),
               clock.get_now() + static_cast<double>(kkv.vorauslernen_tage) * seconds_per_day);
  CardsLeftToday left;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    const CollectionCounts counts = count_cards(*sammlung, end);
    left.new_cards += counts.put_due_never_answered +
                      sammlung->berechne_anzahl_neue_karten_faellig_stellbar(
                          kkv.bestimme_grenzwert_neue_karten_heute(sammlung), false,
                          counts.without_due);
    if (kkv.nur_neue_karten_anzeigen) continue;
    const std::int64_t review_allowance =
        std::max<std::int64_t>(0, kkv.bestimme_grenzwert_wiederholungen(sammlung) -
                                      sammlung->anzahl_wiederholte_karten());
    left.due += counts.reviews_begun + std::min(counts.reviews_fresh, review_allowance);
    left.learning += counts.learning;
  }
  return left;
}

}  // namespace tavo::kk
