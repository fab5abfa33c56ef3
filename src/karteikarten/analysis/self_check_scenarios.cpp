// The self-check scenarios: development aids that put every registered
// collection into one learning situation (cards reviewed early, late, late
// among new ones, already due, or learnt ahead), so that the scheduler and
// the card choice can be tried by hand. Running one on real data replaces
// that data's learning state.
//
// A scenario is one row of values: the moment it refers to, the due moment
// it writes, the state it gives odd- and even-numbered cards, the day
// values it leaves, and whether it stores the collections at once. Every
// card record holds a due value, so every card is rewritten.
//
// The day metadata is kept in the collections' own form: each value under
// its statistic, then under the learning day's key. Every walked collection
// gets a new metadata mapping with the scenario's values:
//   * test_karten_schon_faellig, test_vorauslernen and
//     test_verspaetung_und_neue write today's values through the
//     collection's set_metadata;
//   * test_frueh and test_verspaetung write theirs under the learning day of
//     the scenario's moment (three days ahead; ten minutes ago).
// test_verspaetung dates the first answer of each card it rewrites.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "karteikarten/analysis/self_check_scenarios.hpp"
#include "platform/common_functions.hpp"
#include "platform/detail/learning_day.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

constexpr double one_day = 86400;
constexpr double three_days = 3 * one_day;
constexpr double six_days = 6 * one_day;
constexpr double ten_minutes = 600;

// The learning fields a scenario writes on a card; a field without a value
// is left as it is.
struct CardState {
  Due due{};
  std::optional<std::optional<DateTime>> faellig_erstes_mal{};
  Value interval{};
  Learnstatus learnstatus = Learnstatus::learned;
  std::optional<bool> karte_ist_neu{};
  Value ease_factor{};
  std::vector<std::int64_t> last_interval_no_lapse{};
  std::vector<std::int64_t> last_interval{};
  std::vector<std::int64_t> beantwortungszeiten{};
  std::optional<std::optional<std::string>> letzte_antwort{};
};

// The state of a card due at `due` seconds since the epoch.
using StateDueAt = CardState (*)(double due);

// Learned with a short history; its answer fields stay.
CardState reviewed_card(double due) {
  return {.due = Due::at(due),
          .interval = 8,
          .ease_factor = 265,
          .last_interval_no_lapse = {1, 4},
          .last_interval = {4},
          .beantwortungszeiten = {10, 14, 8, 17}};
}

// Learned, first answered six days before it is due, last answered "good",
// without history.
CardState good_card_without_history(double due) {
  return {.due = Due::at(due),
          .faellig_erstes_mal = DateTime::fromtimestamp(due - six_days),
          .interval = 4,
          .karte_ist_neu = false,
          .ease_factor = 250,
          .letzte_antwort = "good"};
}

// Learned with a longer history, first answered at its due moment; its last
// answer stays.
CardState late_card(double due) {
  return {.due = Due::at(due),
          .faellig_erstes_mal = DateTime::fromtimestamp(due),
          .interval = 4,
          .karte_ist_neu = false,
          .ease_factor = 250,
          .last_interval_no_lapse = {1, 4, 8, 17},
          .last_interval = {17},
          .beantwortungszeiten = {10, 14, 8, 17}};
}

CardState late_card_answered_good(double due) {
  CardState state = late_card(due);
  state.letzte_antwort = "good";
  return state;
}

// Never made due nor answered.
CardState new_card(double) {
  return {.faellig_erstes_mal = std::optional<DateTime>(),
          .interval = None,
          .learnstatus = Learnstatus::learning,
          .karte_ist_neu = true,
          .ease_factor = 130,
          .letzte_antwort = std::optional<std::string>()};
}

// One day value of the reset metadata.
struct DayValue {
  std::string key;
  // A count, or none for an empty list.
  std::optional<std::int64_t> count{};

  // A new value each time, so that no two entries share a list.
  Value fresh() const { return count ? Value(*count) : Value(List()); }
};

using DayValues = std::vector<DayValue>;

// The values of a learning day on which nothing has happened yet.
const DayValues fresh_day{
    {"wiederholte_karten"},
    {"neue_karten_heute_angesehen"},
    {"again_in_queue"},
    {"heute_schon_angesehen"},
    {"neue_karte_heute_faellig_gestellt"},
    {"vorauslernen_modus_gelernt_karte_auf_again"},
    {"heute_falsch"},
    {"reps", 0},
    {"reps_kk", 0},
    {"reps_reizung", 0},
    {"alte_karten_gleich_richtig"},
    {"karte_erfolgreich_wiederholt"},
    {"alt", 0},
    {"alt_richtig", 0},
    {"wiederholt", 0},
    {"wiederholt_richtig", 0},
    {"erneut_gelernt", 0},
    {"erneut_gelernt_richtig", 0},
};

DayValues without(const DayValues& values, const std::string& key) {
  DayValues kept;
  for (const DayValue& value : values) {
    if (value.key != key) kept.push_back(value);
  }
  return kept;
}

const DayValues fresh_day_nothing_put_due = without(fresh_day, "neue_karte_heute_faellig_gestellt");

const DayValues early_day{
    {"wiederholte_karten"},
    {"karte_erfolgreich_wiederholt"},
    {"alte_karten_gleich_richtig"},
    {"vorauslernen_modus_gelernt_karte_auf_again"},
    {"again_in_queue"},
    {"heute_falsch"},
    {"reps", 0},
    {"reps_reizung", 0},
    {"reps_kk", 0},
    {"wiederholungen_pro_tag", 3},
};

const DayValues late_day{
    {"wiederholte_karten"},
    {"karte_erfolgreich_wiederholt"},
    {"alte_karten_gleich_richtig"},
    {"vorauslernen_modus_gelernt_karte_auf_again"},
    {"again_in_queue"},
    {"reps", 0},
    {"reps_kk", 0},
    {"reps_reizung", 0},
    {"heute_falsch"},
    {"wiederholt_richtig"},
    {"alt_richtig"},
    {"neue_karte_heute_faellig_gestellt"},
    {"wiederholungen_pro_tag", 3},
};

// Which learning day the day values belong to.
enum class DayOfValues { today, of_moment };

struct Scenario {
  // Seconds from now to the scenario's moment.
  double moment_offset;
  // Seconds from the moment to the due moment written.
  double due_offset;
  // Cards are counted from 1 in the collection's order.
  StateDueAt odd_cards;
  StateDueAt even_cards;
  const DayValues& day_values;
  DayOfValues day;
  // Stores each collection once it is rewritten.
  bool store;
  // An error while a card is rewritten leaves that card as far as it got.
  bool tolerate_card_errors;
};

const Scenario early{.moment_offset = three_days,
                     .due_offset = 0,
                     .odd_cards = reviewed_card,
                     .even_cards = reviewed_card,
                     .day_values = early_day,
                     .day = DayOfValues::of_moment,
                     .store = true,
                     .tolerate_card_errors = true};
const Scenario already_due{.moment_offset = -one_day,
                           .due_offset = 0,
                           .odd_cards = reviewed_card,
                           .even_cards = reviewed_card,
                           .day_values = fresh_day_nothing_put_due,
                           .day = DayOfValues::today,
                           .store = true,
                           .tolerate_card_errors = false};
const Scenario ahead{.moment_offset = three_days,
                     .due_offset = 0,
                     .odd_cards = good_card_without_history,
                     .even_cards = good_card_without_history,
                     .day_values = fresh_day,
                     .day = DayOfValues::today,
                     .store = false,
                     .tolerate_card_errors = false};
const Scenario late{.moment_offset = -ten_minutes,
                    .due_offset = -six_days,
                    .odd_cards = late_card,
                    .even_cards = late_card,
                    .day_values = late_day,
                    .day = DayOfValues::of_moment,
                    .store = false,
                    .tolerate_card_errors = false};
const Scenario late_and_new{.moment_offset = 0,
                            .due_offset = -six_days,
                            .odd_cards = new_card,
                            .even_cards = late_card_answered_good,
                            .day_values = fresh_day,
                            .day = DayOfValues::today,
                            .store = false,
                            .tolerate_card_errors = false};

List fresh_list(const std::vector<std::int64_t>& items) {
  List list;
  for (const std::int64_t item : items) list.append(item);
  return list;
}

void write_state(const CardState& state, CardRecord& card) {
  card.due = state.due;
  if (state.faellig_erstes_mal) card.faellig_erstes_mal = *state.faellig_erstes_mal;
  card.interval = state.interval;
  card.learnstatus = state.learnstatus;
  if (state.karte_ist_neu) card.karte_ist_neu = *state.karte_ist_neu;
  card.ease_factor = state.ease_factor;
  card.last_interval_no_lapse = fresh_list(state.last_interval_no_lapse);
  card.last_interval = fresh_list(state.last_interval);
  card.beantwortungszeiten = fresh_list(state.beantwortungszeiten);
  if (state.letzte_antwort) card.letzte_antwort = *state.letzte_antwort;
}

void rewrite_cards(const Scenario& scenario, double due, kk::Haendesammlung& sammlung) {
  const CardState odd = scenario.odd_cards(due);
  const CardState even = scenario.even_cards(due);
  std::size_t number = 0;
  for (const auto& [name, card] : sammlung.karten) {
    const CardState& state = ++number % 2 == 1 ? odd : even;
    if (!scenario.tolerate_card_errors) {
      write_state(state, card.edit());
      continue;
    }
    try {
      write_state(state, card.edit());
    } catch (const Error&) {
      // The card keeps what was written; the walk goes on.
    }
  }
}

void reset_day_metadata(const Scenario& scenario, double moment,
                        kk::Haendesammlung& sammlung) {
  sammlung.metadata = Dict();
  if (scenario.day == DayOfValues::today) {
    for (const DayValue& value : scenario.day_values) {
      sammlung.set_metadata(value.key, value.fresh());
    }
    return;
  }
  const std::string day =
      platform::detail::LearningDay(DateTime::fromtimestamp(moment), sammlung.startzeit_tag).key();
  for (const DayValue& value : scenario.day_values) {
    sammlung.metadata.set(value.key, Dict{{day, value.fresh()}});
  }
}

void run(const Scenario& scenario, double now, HaendesammlungContainer& hc) {
  const double moment = now + scenario.moment_offset;
  const double due = moment + scenario.due_offset;
  for (const SammlungRef& sammlung : hc.liste_aller_sammlungen) {
    rewrite_cards(scenario, due, *sammlung);
    reset_day_metadata(scenario, moment, *sammlung);
    if (scenario.store) hc.dictionary_speichern_richtige_sammlung(sammlung->name, false);
  }
}

}  // namespace

void SelfCheckScenarios::test_frueh() { run(early, env_.cf.get_now(), hc_); }

void SelfCheckScenarios::test_karten_schon_faellig() { run(already_due, env_.cf.get_now(), hc_); }

void SelfCheckScenarios::test_vorauslernen() { run(ahead, env_.cf.get_now(), hc_); }

void SelfCheckScenarios::test_verspaetung() { run(late, env_.cf.get_now(), hc_); }

void SelfCheckScenarios::test_verspaetung_und_neue() { run(late_and_new, env_.cf.get_now(), hc_); }

}  // namespace tavo::kk
