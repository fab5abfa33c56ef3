// One recording into the day statistics store, as an answer makes it (its
// repetition count, its answer time), with no history before today and
// with a year of history; and one logged answer (its row appended to the
// answer log with its card, then applied to the statistics store) with an
// empty log and with a year of log: a recording should cost the same
// however long the learner has been learning.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "db/connection.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/environment.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "realistic_collection.hpp"

namespace tavo::bench {
namespace {

const std::string collection = "bench_0";

// What a learning day records, for a day `days_ago` days before today.
void record_a_past_day(kk::DayStatisticsStore& store, int days_ago) {
  const DateTime day = DateTime::fromtimestamp(bench_now - days_ago * 86400.0);
  const std::string text = std::to_string(day.year()) + "-" + std::to_string(day.month()) + "-" +
                           std::to_string(day.day());
  store.record(collection, "reps", text, 1);
  store.record(collection, "reps_kk", text, 1);
  store.record(collection, "heute_falsch_anzahl", text, 1);
  store.record(collection, "zeitdauer_heute", text, List{1430, 0, 0, 0});
}

// A manager in a data directory of its own, whose day statistics store
// holds the `days` days before today.
struct StatisticsSession {
  explicit StatisticsSession(int days) {
    kk::DayStatisticsStore store =
        kk::DayStatisticsStore::open_for_recording(kk::day_statistics_path(bench_environment()));
    for (int days_ago = days; days_ago > 0; --days_ago) record_a_past_day(store, days_ago);
  }

  ScratchDataDirectory directory;
  std::unique_ptr<kk::Karteikartenverwaltung> kkv = make_bench_manager();
};

KeptBetweenRuns<int, StatisticsSession> sessions;

StatisticsSession& session_with_history(const benchmark::State& state) {
  const auto days = static_cast<int>(state.range(0));
  return sessions.get(days, [days] { return std::make_unique<StatisticsSession>(days); });
}

// Today's key of a recording of `wert`.
Tuple today(const kk::Karteikartenverwaltung& kkv, const Value& wert) {
  const DateTime now = kkv.get_now();
  return Tuple{now.year(), now.month(), now.day(), wert};
}

void record_repetition(benchmark::State& state) {
  kk::Karteikartenverwaltung& kkv = *session_with_history(state).kkv;
  const Tuple key = today(kkv, 1);
  for (auto _ : state) kkv.add_to_shelve(collection, key, "reps");
}
BENCHMARK(record_repetition)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("days")
    ->Arg(0)
    ->Arg(365)
    ->UseRealTime();

// Each answer passes today's total so far, as set_metadaten does, so that
// every recording changes the stored tuple.
void record_answer_time(benchmark::State& state) {
  kk::Karteikartenverwaltung& kkv = *session_with_history(state).kkv;
  std::int64_t seconds_today = 0;
  for (auto _ : state) {
    seconds_today += 12;
    kkv.add_to_shelve(collection, today(kkv, List{seconds_today, 0, 0, 0}), "zeitdauer_heute");
  }
}
BENCHMARK(record_answer_time)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("days")
    ->Arg(0)
    ->Arg(365)
    ->UseRealTime();

// The answers of a learning day in the year of log.
constexpr int answers_per_day = 100;

// A stored realistic collection of 1,000 cards whose answer log holds
// `days` days of answers before today, all applied to the statistics store.
struct LoggedSession {
  explicit LoggedSession(int days) : session(1, 1000) {
    session.store();
    kk::Karteikartenverwaltung& kkv = session.manager();
    answer_once(kkv, session.cards().due_later.front());
    const std::filesystem::path store = kk::PickleDump(bench_environment()).collections_path();
    db::Connection(store, db::OpenMode::read_write)
        .execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                 std::to_string(days * answers_per_day) +
                 ") INSERT INTO answer_log (collection, card, moment, day, response, seconds, "
                 "interval, state_after, state_way_back, metadata_way_back, recordings) "
                 "SELECT collection, card, moment - 86400 * (1 + i / " +
                 std::to_string(answers_per_day) +
                 "), 'past', response, seconds, interval, state_after, state_way_back, "
                 "metadata_way_back, recordings FROM answer_log, n WHERE seq = 1");
    // The past answers count as applied, as they would be.
    kk::DayStatisticsStore::open_for_recording(kk::day_statistics_path(bench_environment()))
        .set_applied_log_seq(1 + days * answers_per_day);
  }

  // Answers "good" to the card `name` and saves, which logs the answer and
  // applies it to the statistics store.
  static void answer_once(kk::Karteikartenverwaltung& kkv, const std::string& name) {
    kk::Haendesammlung& sammlung = *kkv.hc.sammlung_named(collection);
    kk::Karteikarte card(sammlung.karten.at(name), name, kkv.startzeit_tag);
    card.change_due(sammlung.environment().cf, kkv.schedule(None, card, "good"));
    sammlung.aendere_karteikarte_in_dictionary(card);
    kkv.dictionary_speichern(None, false);
  }

  RealisticSession session;
};

KeptBetweenRuns<int, LoggedSession> logged_sessions;

void record_logged_answer(benchmark::State& state) {
  const auto days = static_cast<int>(state.range(0));
  LoggedSession& logged =
      logged_sessions.get(days, [days] { return std::make_unique<LoggedSession>(days); });
  const std::string& name = logged.session.cards().due_later.front();
  for (auto _ : state) LoggedSession::answer_once(logged.session.manager(), name);
}
BENCHMARK(record_logged_answer)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("days")
    ->Arg(0)
    ->Arg(365)
    ->UseRealTime();

}  // namespace
}  // namespace tavo::bench
