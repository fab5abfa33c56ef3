// Choosing the next card (get_card) on one realistic collection of 1,000
// to 1,000,000 cards, and on ten collections of 100,000 cards each.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <utility>

#include "realistic_collection.hpp"

namespace tavo::bench {
namespace {

KeptBetweenRuns<std::pair<std::size_t, std::size_t>, RealisticSession> sessions;

void choose_card(benchmark::State& state, std::size_t collections) {
  const auto cards_each = static_cast<std::size_t>(state.range(0));
  kk::Karteikartenverwaltung& kkv =
      sessions
          .get({collections, cards_each},
               [&] { return std::make_unique<RealisticSession>(collections, cards_each); })
          .manager();
  for (auto _ : state) {
    if (!kkv.get_card()) {
      state.SkipWithError("no card to choose");
      break;
    }
  }
}

void one_collection(benchmark::State& state) { choose_card(state, 1); }
BENCHMARK(one_collection)
    ->Unit(benchmark::kMillisecond)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000);

void ten_collections(benchmark::State& state) { choose_card(state, 10); }
BENCHMARK(ten_collections)->Unit(benchmark::kMillisecond)->Arg(100000);

}  // namespace
}  // namespace tavo::bench
