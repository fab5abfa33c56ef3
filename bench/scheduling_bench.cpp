// Scheduling one answer: the preview of "good" on a learned card that is
// due, as a host shows it on a button, and the four button texts.
#include <benchmark/benchmark.h>

#include <string>

#include "karteikarten/cards/karteikarte.hpp"
#include "realistic_collection.hpp"

namespace tavo::bench {
namespace {

// The working card of the first card due now in `session`.
kk::Karteikarte first_card_due_now(RealisticSession& session) {
  const std::string& name = session.cards().due_now.front();
  const kk::Karteikartenverwaltung& kkv = session.manager();
  return kk::Karteikarte(
      kkv.hc.sammlung_named(RealisticSession::collection_name(0))->karten.at(name), name,
      kkv.startzeit_tag);
}

// A learned card due now, from a realistic collection of 1,000 cards.
struct DueLearnedCard {
  RealisticSession session{1, 1000};
  kk::Karteikarte card = first_card_due_now(session);
};

void preview_good_of_learned_card(benchmark::State& state) {
  DueLearnedCard due;
  const Value interval = due.card.interval;
  for (auto _ : state) {
    // A preview still leaves the grown interval on the card; putting the
    // old one back keeps every round the same.
    due.card.interval = interval;
    benchmark::DoNotOptimize(due.session.manager().schedule(None, due.card, "good", true));
  }
}
BENCHMARK(preview_good_of_learned_card);

void interval_responses(benchmark::State& state) {
  DueLearnedCard due;
  for (auto _ : state) {
    benchmark::DoNotOptimize(due.session.manager().get_interval_responses(due.card));
  }
}
BENCHMARK(interval_responses);

}  // namespace
}  // namespace tavo::bench
