// The collection store at 100,000 cards: registering a stored collection
// with a new manager, and the save after one answer, which should write
// the answered card and nothing else.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>

#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/frame/decks.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "realistic_collection.hpp"

namespace tavo::bench {
namespace {

constexpr std::size_t cards = 100000;

KeptBetweenRuns<std::size_t, RealisticSession> sessions;

// A realistic collection of `cards` cards, stored.
RealisticSession& stored_session() {
  return sessions.get(cards, [] {
    auto session = std::make_unique<RealisticSession>(1, cards);
    session->store();
    return session;
  });
}

void register_stored_collection(benchmark::State& state) {
  stored_session();
  for (auto _ : state) {
    state.PauseTiming();
    auto kkv = make_bench_manager();
    state.ResumeTiming();
    kk::add_stored_haendesammlung(*kkv, RealisticSession::collection_name(0));
    state.PauseTiming();
    kkv.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(register_stored_collection)->Unit(benchmark::kMillisecond)->UseRealTime();

// Answers "good" to the next card due now, as a learning step does before
// it saves: the answer is scheduled and written into the collection.
void answer_next_due_card(RealisticSession& session, std::size_t& answered) {
  const auto& due_now = session.cards().due_now;
  const std::string& name = due_now[answered++ % due_now.size()];
  kk::Karteikartenverwaltung& kkv = session.manager();
  kk::Haendesammlung& sammlung = *kkv.hc.sammlung_named(RealisticSession::collection_name(0));
  kk::Karteikarte card(sammlung.karten.at(name), name, kkv.startzeit_tag);
  card.change_due(sammlung.environment().cf, kkv.schedule(None, card, "good"));
  sammlung.aendere_karteikarte_in_dictionary(card);
}

// Reports the card rows and metadata rows the saves wrote, per save.
void save_after_one_answer(benchmark::State& state) {
  RealisticSession& session = stored_session();
  kk::Haendesammlung& sammlung =
      *session.manager().hc.sammlung_named(RealisticSession::collection_name(0));
  std::size_t answered = 0;
  std::size_t card_rows = 0;
  std::size_t metadata_rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    answer_next_due_card(session, answered);
    state.ResumeTiming();
    const kk::SaveCounts written =
        kk::PickleDump(sammlung.environment()).save_haendesammlung(sammlung.name, sammlung);
    card_rows += written.cards_written + written.cards_removed;
    metadata_rows += written.metadata_written ? 1 : 0;
  }
  state.counters["card_rows"] =
      benchmark::Counter(static_cast<double>(card_rows), benchmark::Counter::kAvgIterations);
  state.counters["metadata_rows"] =
      benchmark::Counter(static_cast<double>(metadata_rows), benchmark::Counter::kAvgIterations);
}
BENCHMARK(save_after_one_answer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tavo::bench
