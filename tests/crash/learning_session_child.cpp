// A scripted learner, the child of the crash and concurrency tests.
//
//   learning_session_child APP_DIR START_SECONDS ANSWERS SEED
//
// Learns the collection "crash" in APP_DIR (importing a deck of 200 cards
// first when it is not stored), starting at the frozen moment
// START_SECONDS and moving the clock 20 seconds per answer; while no card
// is due it waits an hour, then twice as long each time. After each answer
// has been stored it prints "ack <card> <reps> <moment>" (the card's
// answers so far, and the moment of the answer) and flushes, so the parent
// knows which answers were acknowledged. Stops after ANSWERS
// answers with "done". A failure ends it with "error: <message>" and exit
// status 1.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "karteikarten/frame/decks.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "platform/common_functions.hpp"

namespace {

using namespace tavo;

constexpr const char* collection = "crash";

std::vector<platform::DeckCard> deck() {
  std::vector<platform::DeckCard> cards;
  for (int number = 1; number <= 200; ++number) {
    cards.push_back({"question " + std::to_string(number), "answer " + std::to_string(number)});
  }
  return cards;
}

// A learner who mostly knows the answer.
std::string response(std::mt19937& random, kk::Karteikartenverwaltung& kkv,
                     const kk::Karteikarte& card) {
  static const std::vector<std::string> choices{"good", "good", "good", "again", "hard", "easy"};
  for (;;) {
    const std::string& wanted = choices[random() % choices.size()];
    if (kk::accepts_response(kkv, card, wanted)) return wanted;
  }
}

void learn(double now, long answers, std::mt19937& random) {
  platform::cf().set_fixed_now(now);
  kk::Karteikartenverwaltung kkv;
  const std::vector<std::string> stored = kk::stored_deck_collections();
  if (stored.empty()) {
    kk::import_deck(kkv, deck(), collection);
  } else {
    kk::add_stored_haendesammlung(kkv, collection);
  }
  double wait = 3600;
  for (long answered = 0; answered < answers;) {
    std::optional<kk::Karteikarte> card = kkv.get_card();
    if (!card) {
      now += wait;
      wait *= 2;
      platform::cf().set_fixed_now(now);
      continue;
    }
    kk::answer_card(kkv, *card, {response(random, kkv, *card), 1});
    std::printf("ack %s %lld %.0f\n", card->get_name().c_str(),
                static_cast<long long>(card->get_reps()), now);
    std::fflush(stdout);
    ++answered;
    now += 20;
    wait = 3600;
    platform::cf().set_fixed_now(now);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s APP_DIR START_SECONDS ANSWERS SEED\n", argv[0]);
    return 2;
  }
  ::setenv("TAVO_DATA_DIR", (std::string(argv[1]) + "/").c_str(), 1);
  std::mt19937 random(static_cast<unsigned>(std::atol(argv[4])));
  try {
    learn(std::atof(argv[2]), std::atol(argv[3]), random);
  } catch (const std::exception& error) {
    std::printf("error: %s\n", error.what());
    return 1;
  }
  std::printf("done\n");
  return 0;
}
