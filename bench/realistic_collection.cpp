// The realistic collection generator: card texts, learning states by
// share, and the day metadata of a learning day with 100 answers.
#include "realistic_collection.hpp"

#include <algorithm>
#include <array>
#include <random>
#include <string_view>
#include <utility>

#include "platform/environment.hpp"

namespace tavo::bench {
namespace {

constexpr double one_minute = 60;
constexpr double one_hour = 3600;
constexpr double one_day = 86400;

enum class CardState { new_card, due_now, in_learning_steps, due_later };

// The states of `count` cards in the shares of the collection, shuffled.
std::vector<CardState> shuffled_states(std::size_t count, std::mt19937_64& random) {
  const std::size_t five_percent = count / 20;
  std::vector<CardState> states(count, CardState::due_later);
  auto next = states.begin();
  next = std::fill_n(next, count / 4, CardState::new_card);
  next = std::fill_n(next, five_percent, CardState::due_now);
  std::fill_n(next, five_percent, CardState::in_learning_steps);
  std::shuffle(states.begin(), states.end(), random);
  return states;
}

std::string card_name(const std::string& collection, std::size_t number) {
  return collection + "-" + std::to_string(number);
}

// Words of the length of a bidding text, so that the texts come out about
// as long as those of the bundled deck: 48 characters for a question, 108
// for an answer on average.
std::string text_of(std::size_t number, std::size_t words, std::mt19937_64& random) {
  static constexpr std::array<std::string_view, 12> vocabulary{
      "opening", "partner", "response", "contract", "trumps", "points",
      "suit",    "double",  "overcall", "declarer", "lead",   "bid"};
  std::string text = std::to_string(number) + ":";
  std::uniform_int_distribution<std::size_t> word(0, vocabulary.size() - 1);
  for (std::size_t i = 0; i < words; ++i) {
    text += ' ';
    text += vocabulary[word(random)];
  }
  return text;
}

// The hand module of the collection `name`, keyed by card name already, as
// a deck import keys it.
Dict question_module(const std::string& name, std::size_t count, std::mt19937_64& random) {
  Dict modul;
  for (std::size_t number = 1; number <= count; ++number) {
    modul.set(card_name(name, number),
              Dict{{"fragetext", "Question " + text_of(number, 5, random) + "?"},
                   {"antworttext", "Answer " + text_of(number, 12, random) + "."}});
  }
  return modul;
}

// A learned card's history: interval (days, as scheduling leaves it), ease,
// repetitions with lapses, its intervals so far and answer times.
void give_learned_history(kk::CardRecord& card, double interval, std::mt19937_64& random) {
  std::uniform_int_distribution<int> ease(170, 290);
  std::uniform_int_distribution<int> lapses(0, 2);
  std::uniform_int_distribution<int> seconds(4, 40);
  const auto whole_days = static_cast<std::int64_t>(interval);
  card.learnstatus = kk::Learnstatus::learned;
  card.interval = interval;
  card.ease_factor = ease(random);
  card.lapses = lapses(random);
  card.karte_ist_neu = false;
  card.letzte_antwort = "good";
  card.faellig_erstes_mal = DateTime::fromtimestamp(bench_now - (2 * interval + 3) * one_day);
  card.last_interval_no_lapse = List{};
  for (std::int64_t step = 1; step < whole_days; step = step * 5 / 2 + 1) {
    card.last_interval_no_lapse.append(step);
  }
  card.last_interval_no_lapse.append(whole_days);
  card.last_interval = List{whole_days};
  card.reps = static_cast<std::int64_t>(card.last_interval_no_lapse.size()) + card.lapses + 2;
  card.beantwortungszeiten = List{};
  for (std::int64_t i = 0; i < card.reps; ++i) card.beantwortungszeiten.append(seconds(random));
  if (card.lapses > 0) card.zuletzt_vergessen = bench_now - interval * one_day;
}

// Learned, due between three hours and one minute ago.
void make_due_now(kk::CardRecord& card, std::mt19937_64& random) {
  std::uniform_real_distribution<double> interval(1, 120);
  std::uniform_real_distribution<double> overdue(one_minute, 3 * one_hour);
  give_learned_history(card, interval(random), random);
  card.due = kk::Due::at(bench_now - overdue(random));
}

// Learned, due at the start of one of the next 365 learning days; short
// intervals are the more frequent, and the due day lies within the interval.
void make_due_later(kk::CardRecord& card, double next_day_start, std::mt19937_64& random) {
  std::uniform_real_distribution<double> unit(0, 1);
  const double interval = 1 + 364 * unit(random) * unit(random);
  give_learned_history(card, interval, random);
  const auto day = static_cast<std::int64_t>(unit(random) * interval);
  card.due = kk::Due::at(next_day_start + static_cast<double>(day) * one_day);
}

// In the first or second learning step, due within ten minutes.
void make_in_learning_steps(kk::CardRecord& card, std::mt19937_64& random) {
  std::uniform_int_distribution<std::int64_t> step(0, 1);
  std::uniform_real_distribution<double> due_in(0, 10 * one_minute);
  card.learnstatus = kk::Learnstatus::learning;
  card.steps_index = step(random);
  card.reps = card.steps_index + 1;
  card.karte_ist_neu = false;
  card.letzte_antwort = card.steps_index == 0 ? "again" : "good";
  card.faellig_erstes_mal = DateTime::fromtimestamp(bench_now - one_day);
  card.last_interval_no_lapse.append(0);
  card.beantwortungszeiten.append(15);
  card.due = kk::Due::at(bench_now + due_in(random));
}

// Today's cards learnt anew: in the learning steps, first put due this
// morning.
void make_new_today(kk::CardRecord& card, double day_start) {
  card.faellig_erstes_mal = DateTime::fromtimestamp(day_start + 5 * one_hour);
}

// Today's failed reviews: relearning, due within ten minutes.
void make_failed_today(kk::CardRecord& card, std::mt19937_64& random) {
  std::uniform_real_distribution<double> due_in(0, 10 * one_minute);
  give_learned_history(card, 20, random);
  card.learnstatus = kk::Learnstatus::relearning;
  card.ease_factor = 230;
  card.letzte_antwort = "again";
  card.zuletzt_vergessen = bench_now - one_hour;
  card.due = kk::Due::at(bench_now + due_in(random));
}

// Up to `count` names of `names` from position `from` on.
std::vector<std::string> slice(const std::vector<std::string>& names, std::size_t from,
                               std::size_t count) {
  const auto begin = names.begin() + static_cast<std::ptrdiff_t>(std::min(from, names.size()));
  const auto end = begin + static_cast<std::ptrdiff_t>(
                               std::min(count, static_cast<std::size_t>(names.end() - begin)));
  return {begin, end};
}

// The day so far: 100 answers to 6 new cards and 40 reviews; 8 reviews
// failed and are relearnt, 32 were right (30 at the first attempt).
void record_the_day(kk::Haendesammlung& sammlung, const CollectionCards& cards,
                    std::mt19937_64& random) {
  const double day_start =
      sammlung.environment().cf.get_startzeit_tag_today(sammlung.startzeit_tag);
  const std::vector<std::string> new_today = slice(cards.in_learning_steps, 0, 6);
  const std::vector<std::string> failed_today = slice(cards.in_learning_steps, 6, 8);
  const std::vector<std::string> right_today = slice(cards.due_later, 0, 32);
  for (const std::string& name : new_today) {
    make_new_today(sammlung.karten.at(name).edit(), day_start);
  }
  for (const std::string& name : failed_today) {
    make_failed_today(sammlung.karten.at(name).edit(), random);
  }

  std::vector<std::string> reviewed = failed_today;
  reviewed.insert(reviewed.end(), right_today.begin(), right_today.end());
  std::vector<std::string> seen = new_today;
  seen.insert(seen.end(), reviewed.begin(), reviewed.end());

  sammlung.set_metadata("neue_karte_heute_faellig_gestellt", kk::list_of(new_today));
  sammlung.set_metadata("neue_karten_heute_angesehen", kk::list_of(new_today));
  sammlung.set_metadata("heute_schon_angesehen", kk::list_of(seen));
  sammlung.set_metadata("wiederholte_karten", kk::list_of(reviewed));
  sammlung.set_metadata("heute_falsch", kk::list_of(failed_today));
  sammlung.set_metadata("again_in_queue", kk::list_of(failed_today));
  sammlung.set_metadata("karte_erfolgreich_wiederholt", kk::list_of(right_today));
  sammlung.set_metadata("alte_karten_gleich_richtig", kk::list_of(slice(right_today, 0, 30)));
  sammlung.set_metadata("vorauslernen_modus_gelernt_karte_auf_again", List{});
  sammlung.set_metadata("reps", 100);
  sammlung.set_metadata("reps_kk", 100);
  sammlung.set_metadata("reps_reizung", 0);
  sammlung.set_metadata("zeitdauer_heute", List{1430, 0, 0, 0});
  sammlung.set_metadata("alt", 40);
  sammlung.set_metadata("alt_richtig", 30);
  sammlung.set_metadata("wiederholt", 40);
  sammlung.set_metadata("wiederholt_richtig", 32);
  sammlung.set_metadata("erneut_gelernt", 8);
  sammlung.set_metadata("erneut_gelernt_richtig", 0);
}

}  // namespace

platform::Environment& bench_environment() {
  static platform::Environment environment;
  return environment;
}

FrozenTime::FrozenTime(std::uint64_t seed) {
  platform::Environment& environment = bench_environment();
  environment.cf.set_fixed_now(bench_now);
  environment.random.seed(seed);
}

FrozenTime::~FrozenTime() { bench_environment().cf.clear_fixed_now(); }

ScratchDataDirectory::ScratchDataDirectory() {
  bench_environment().use_app_data_dir(directory_.path().string());
}

std::unique_ptr<kk::Karteikartenverwaltung> make_bench_manager() {
  auto kkv = std::make_unique<kk::Karteikartenverwaltung>(bench_environment());
  kkv->maximale_wiederholungen_pro_tag = bench_review_limit;
  return kkv;
}

CollectionCards add_realistic_collection(kk::Karteikartenverwaltung& kkv, std::size_t count,
                                         const std::string& name, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  kkv.add_haendesammlung(question_module(name, count, random), name);
  kk::Haendesammlung& sammlung = *kkv.hc.sammlung_named(name);
  const double next_day_start =
      sammlung.environment().cf.next_learning_day_start(sammlung.startzeit_tag);

  CollectionCards cards;
  const std::vector<CardState> states = shuffled_states(count, random);
  for (std::size_t i = 0; i < count; ++i) {
    std::string card = card_name(name, i + 1);
    kk::CardRecord& record = sammlung.karten.at(card).edit();
    switch (states[i]) {
      case CardState::new_card: break;
      case CardState::due_now:
        make_due_now(record, random);
        cards.due_now.push_back(std::move(card));
        break;
      case CardState::in_learning_steps:
        make_in_learning_steps(record, random);
        cards.in_learning_steps.push_back(std::move(card));
        break;
      case CardState::due_later:
        make_due_later(record, next_day_start, random);
        cards.due_later.push_back(std::move(card));
        break;
    }
  }
  record_the_day(sammlung, cards, random);
  return cards;
}

RealisticSession::RealisticSession(std::size_t collections, std::size_t cards_each)
    : manager_(make_bench_manager()) {
  for (std::size_t i = 0; i < collections; ++i) {
    cards_.push_back(add_realistic_collection(*manager_, cards_each, collection_name(i), i + 1));
  }
}

std::string RealisticSession::collection_name(std::size_t collection) {
  return "bench_" + std::to_string(collection);
}

void RealisticSession::store() { manager_->hc.dictionary_speichern_alle_sammlungen(); }

}  // namespace tavo::bench
