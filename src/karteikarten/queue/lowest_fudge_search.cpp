// The earlier card choice: the due card with the lowest fudge over every
// collection, and the choice built on it. Nothing in the module calls it;
// it stays for the host.
//
// The search walks the collections in container order and their cards in
// card order, and leaves a card out when any of these holds:
//   - only new cards are shown (nur_neue_karten_anzeigen) and the card is
//     not "learning";
//   - not only new cards are shown and the card has no due (a new card);
//   - the again queue is in force (nur_again_queue, or see below), the
//     collection's today's "again_in_queue" is not empty, and the card is
//     not in it;
//   - learning ahead is on (vorauslernen > 0), the card is in the
//     collection's today's "vorauslernen_modus_gelernt_karte_auf_again"
//     (learned ahead and failed), and its due is later than old_now: such a
//     card waits for its real due moment, not the shifted one;
//   - its due is "done" or a moment later than `now`;
//   - it has no fudge, or its fudge is not below the running bound.
// A card that is not left out becomes the best so far and its fudge the new
// bound, so a tie keeps the card met first. The again queue comes into force
// at the first collection whose today's "wiederholt_richtig" and
// "alt_richtig" (missing counting 0) add up to maximale_wiederholungen_pro_tag
// or more, and stays in force for the collections after it.
//
// The search within one collection applies the same filters to that
// collection alone and also leaves out its surplus new cards: the first
// `ueberschuss_neue_karten` names of today's "neue_karte_heute_faellig_gestellt"
// (the order in which they were put due) whose cards were never answered (no
// "letzte_antwort"). Its index is the collection's position in the
// container, -1 when it is not registered.
//
// The choice, waehle_card:
//   1. now is the present shifted by the learning-ahead days, old_now the
//      present itself.
//   2. A new card is put due (make_one_due under today's new-card limit)
//      when fewer than grenzwert_heute_due cards are due within the
//      ten-minute window, unless cards wait in the again queue while the
//      day's correct reviews have reached maximale_wiederholungen_pro_tag:
//      then the failed cards are finished first.
//   3. The search runs from the bound 9999999999 in a window: now itself
//      when more than 2 cards are due now, else one minute ahead when at
//      least 3 are due within it, else ten minutes ahead.
//   4. Final pass: when the search finds nothing and a new card can still be
//      put due, it is put due and the search runs once more, ten minutes
//      ahead.
//   5. A card found without a due (a new card shown in only-new mode) is
//      given now as its due.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

#include "karteikarten/queue/card_chooser.hpp"
#include "platform/random_source.hpp"
#include "value/errors.hpp"
#include "value/number_arithmetic.hpp"

namespace tavo::kk {
namespace {

using kk::Haendesammlung;

constexpr const char* again_queue_key = "again_in_queue";
constexpr const char* failed_ahead_key = "vorauslernen_modus_gelernt_karte_auf_again";
constexpr const char* put_due_today_key = "neue_karte_heute_faellig_gestellt";
constexpr std::int64_t unbounded_fudge = 9999999999;

using NameSet = std::unordered_set<std::string>;

NameSet day_list(const Haendesammlung& sammlung, const std::string& key) {
  const kk::NameList names = kk::names_of(sammlung.get_metadata_heute(key));
  return {names.begin(), names.end()};
}

// The sum of two day counters as the host adds them, a missing one counting 0.
Value sum_of_counters(const Value& a, const Value& b) {
  return add_numbers(a.truthy() ? a : Value(0), b.truthy() ? b : Value(0));
}

bool correct_reviews_reached(const Haendesammlung& sammlung, std::int64_t maximum) {
  return sum_of_counters(sammlung.get_metadata_heute("wiederholt_richtig"),
                         sammlung.get_metadata_heute("alt_richtig")) >= Value(maximum);
}

// The first `anzahl` cards put due today, in that order, that were never
// answered.
NameSet surplus_new_cards(const Haendesammlung& sammlung, std::int64_t anzahl) {
  NameSet surplus;
  for (const std::string& name :
       kk::names_of(sammlung.get_metadata_heute(put_due_today_key))) {
    if (static_cast<std::int64_t>(surplus.size()) >= anzahl) break;
    const CardRef record = sammlung.karten.find(name);
    if (record && !record->letzte_antwort) surplus.insert(name);
  }
  return surplus;
}

// The time bounds of one search.
struct SearchWindow {
  double now;
  double old_now;
  double vorauslernen;
};

// One search: the best card so far, its fudge as the bound, and whether the
// again queue is in force.
class LowestFudgeSearch {
 public:
  LowestFudgeSearch(const SessionState& state, const SearchWindow& window,
                    bool nur_again_queue, std::int64_t fudge)
      : window_(window),
        nur_neue_karten_anzeigen_(state.nur_neue_karten_anzeigen),
        maximale_wiederholungen_pro_tag_(state.maximale_wiederholungen_pro_tag),
        nur_again_queue_(nur_again_queue),
        bound_(fudge) {}

  void scan(const Haendesammlung& sammlung, std::int64_t index, const NameSet& left_out = {}) {
    if (correct_reviews_reached(sammlung, maximale_wiederholungen_pro_tag_)) {
      nur_again_queue_ = true;
    }
    const NameSet again_queue = day_list(sammlung, again_queue_key);
    const NameSet failed_ahead = day_list(sammlung, failed_ahead_key);
    for (const auto& [name, record] : sammlung.karten) {
      if (left_out.contains(name) || !eligible(name, *record, again_queue, failed_ahead)) continue;
      bound_ = *record->fudge();
      found_ = FoundCard{name, sammlung.name, index};
    }
  }

  const FoundCard& found() const { return found_; }

 private:
  bool eligible(const std::string& name, const CardRecord& card, const NameSet& again_queue,
                const NameSet& failed_ahead) const {
    if (nur_neue_karten_anzeigen_) {
      if (card.learnstatus != Learnstatus::learning) return false;
    } else if (card.due.is_none()) {
      return false;
    }
    if (!again_queue.empty() && nur_again_queue_ && !again_queue.contains(name)) return false;
    if (window_.vorauslernen > 0 && failed_ahead.contains(name) && due_after(card, window_.old_now))
      return false;
    if (card.due.is_done() || due_after(card, window_.now)) return false;
    const std::optional<std::int64_t> fudge = card.fudge();
    return fudge && *fudge < bound_;
  }

  static bool due_after(const CardRecord& card, double moment) {
    return card.due.is_moment() && card.due.seconds() > moment;
  }

  const SearchWindow window_;
  const bool nur_neue_karten_anzeigen_;
  const std::int64_t maximale_wiederholungen_pro_tag_;
  bool nur_again_queue_;
  std::int64_t bound_;
  FoundCard found_;
};

List random_sample(platform::RandomSource& random, std::int64_t anzahl) {
  List sample;
  const auto count = static_cast<std::size_t>(anzahl);
  for (const std::int64_t n : random.permutation(1, count)) sample.append(n);
  return sample;
}

}  // namespace

FoundCard CardChooser::finde_karte_due_niedrigster_fudge(
    double now, double old_now, const Value& /*rs*/, bool nur_again_queue, double vorauslernen,
    const Value& /*position*/, std::int64_t fudge) const {
  LowestFudgeSearch search(state_, {now, old_now, vorauslernen}, nur_again_queue, fudge);
  for (std::size_t i = 0; i < hc_.liste_aller_sammlungen.size(); ++i) {
    search.scan(*hc_.liste_aller_sammlungen[i], static_cast<std::int64_t>(i));
  }
  return search.found();
}

FoundCard CardChooser::finde_karte_due_niedrigster_fudge_diese_sammlung(
    double now, double old_now, const Value& /*rs*/, bool nur_again_queue, double vorauslernen,
    const Value& /*position*/, std::int64_t fudge, const SammlungRef& sammlung,
    std::int64_t ueberschuss_neue_karten) const {
  if (!sammlung) throw AttributeError("'NoneType' object has no attribute 'karten'");
  LowestFudgeSearch search(state_, {now, old_now, vorauslernen}, nur_again_queue, fudge);
  search.scan(*sammlung, hc_.get_index_from_name(sammlung->name),
              surplus_new_cards(*sammlung, ueberschuss_neue_karten));
  return search.found();
}

CardAndCollection CardChooser::waehle_card() {
  state_.durchlauf_10_erfolgreich = false;
  const Value rs = random_sample(env_.random, hc_.get_anzahl_karten());
  const double old_now = env_.cf.get_now();
  const double vorauslernen =
      state_.zeitberechnung->vorauslernen_sekunden_berechnen(static_cast<double>(state_.vorauslernen_tage));
  const double now = old_now + vorauslernen;
  const double voraus_1 = scheduler_.voraus_1_min();
  const double voraus_10 = scheduler_.voraus_10_min();

  const bool again_queue_first =
      hc_.iterate_anzahl_again_in_queue() > 0 &&
      sum_of_counters(hc_.iterate_anzahl_wiederholt_richtig_karten_heute(),
                      hc_.iterate_anzahl_alte_karten_heute_richtig()) >=
          Value(state_.maximale_wiederholungen_pro_tag);
  const std::int64_t due_now = hc_.iterate_get_due_today(0);
  const std::int64_t due_in_1 = hc_.iterate_get_due_today(voraus_1);
  const std::int64_t due_in_10 = hc_.iterate_get_due_today(voraus_10);
  const std::optional<std::int64_t> grenzwert = limits_.get_grenzwert_neue_karten_heute();
  if (grenzwert && !again_queue_first && due_in_10 < state_.grenzwert_heute_due) {
    make_one_due(*grenzwert);
  }

  const auto search = [&](double shift) {
    return finde_karte_due_niedrigster_fudge(now + shift, old_now + shift, rs, false, vorauslernen,
                                             None, unbounded_fudge);
  };
  const double shift = due_now > 2 ? 0 : due_in_1 >= 3 ? voraus_1 : voraus_10;
  FoundCard found = search(shift);
  if (!found.name && grenzwert && make_one_due(*grenzwert)) found = search(voraus_10);
  if (!found.name) return {};

  const CardRef& record =
      hc_.liste_aller_sammlungen.at(static_cast<std::size_t>(found.index))->karten.at(*found.name);
  if (record->due.is_none()) record.edit().due = Due::at(now);
  return {found.name, found.sammlungsname};
}

}  // namespace tavo::kk
