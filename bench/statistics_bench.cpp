// One recording into the day statistics store, as an answer makes it (its
// repetition count, its answer time), with no history before today and
// with a year of history: a recording should cost the same however long
// the learner has been learning.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

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

}  // namespace
}  // namespace tavo::bench
