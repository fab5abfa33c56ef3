// One whole learning step (choose a card, show its buttons, schedule the
// answer "good", record it and store the collection before returning) at
// 10,000 and 100,000 cards, next to one durable single-row SQLite commit:
// the least a step that never loses an acknowledged answer has to wait for.
#include <benchmark/benchmark.h>

#include <optional>

#include "db/connection.hpp"
#include "db/transaction.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "platform/temporary_directory.hpp"
#include "realistic_collection.hpp"

namespace tavo::bench {
namespace {

std::optional<kk::Antwort> answer_good(const kk::Karteikarte&, const kk::ButtonIntervals&) {
  return kk::Antwort{"good", 12};
}

// Every repetition starts from a freshly stored realistic collection. The
// round count is fixed and well below the number of cards due now or
// within ten minutes (a tenth of the collection), so that no step finds
// the collection worked through.
void learning_step_good(benchmark::State& state) {
  RealisticSession session(1, static_cast<std::size_t>(state.range(0)));
  session.store();
  for (auto _ : state) {
    if (!kk::learning_step(session.manager(), answer_good)) {
      state.SkipWithError("no card left to answer");
      break;
    }
  }
}
BENCHMARK(learning_step_good)
    ->Unit(benchmark::kMillisecond)
    ->Arg(10000)
    ->Iterations(200)
    ->UseRealTime();
BENCHMARK(learning_step_good)
    ->Unit(benchmark::kMillisecond)
    ->Arg(100000)
    ->Iterations(30)
    ->UseRealTime();

// One row updated in a transaction of its own, in a file on the same file
// system as the benchmark's stores, on a connection set up as the library
// sets up its stores: rollback journal deleted at commit, full sync at
// every commit.
void durable_single_row_commit(benchmark::State& state) {
  const platform::TemporaryDirectory directory;
  db::Connection connection(directory / "single_row.sqlite", db::OpenMode::create);
  connection.execute(
      "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;"
      "CREATE TABLE counter(id INTEGER PRIMARY KEY, value INTEGER NOT NULL);"
      "INSERT INTO counter VALUES (1, 0)");
  db::Statement increment = connection.prepare("UPDATE counter SET value = value + 1 WHERE id = 1");
  for (auto _ : state) {
    db::Transaction transaction(connection);
    increment.run();
    transaction.commit();
  }
}
BENCHMARK(durable_single_row_commit)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tavo::bench
