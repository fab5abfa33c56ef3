// A scripted learner, the child of the crash and concurrency tests.
//
//   learning_session_child APP_DIR START_SECONDS ANSWERS SEED [PAUSE_AT GATE_FILE]
//
// Learns the collection "crash" in APP_DIR (importing a deck of 200 cards
// first when it is not stored), starting at the frozen moment
// START_SECONDS and moving the clock 20 seconds per answer; while no card
// is due it waits an hour, then twice as long each time. After each answer
// has been stored it prints "ack <card> <reps> <moment>" (the card's
// answers so far, and the moment of the answer) and flushes, so the parent
// knows which answers were acknowledged. When a save meets cards another
// program changed meanwhile it prints "conflict: <message>" and goes on;
// the answer is acknowledged as well when its own card is not among them.
// With PAUSE_AT, after PAUSE_AT answers it chooses the next card, prints
// "next <card>" and waits until GATE_FILE exists before answering it.
// Stops after ANSWERS acknowledged answers with "done". A failure ends it
// with "error: <message>" and exit status 1.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "crash_deck.hpp"
#include "karteikarten/collection/collection_conflict.hpp"
#include "karteikarten/frame/decks.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"

namespace {

using namespace tavo;

// Where the session stops until the parent lets it go on.
struct Pause {
  long at = -1;
  std::filesystem::path gate;
};

// A learner who mostly knows the answer.
std::string response(std::mt19937& random, kk::Karteikartenverwaltung& kkv,
                     const kk::Karteikarte& card) {
  static const std::vector<std::string> choices{"good", "good", "good", "again", "hard", "easy"};
  for (;;) {
    const std::string& wanted = choices[random() % choices.size()];
    if (kk::accepts_response(kkv, card, wanted)) return wanted;
  }
}

void wait_for(const std::filesystem::path& gate) {
  for (int waited = 0; !std::filesystem::exists(gate); ++waited) {
    if (waited == 6000) throw std::runtime_error("no " + gate.string() + " within a minute");
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Answers `card`; true when the answer was stored.
bool answer(kk::Karteikartenverwaltung& kkv, kk::Karteikarte& card, const std::string& wanted) {
  try {
    kk::answer_card(kkv, card, {wanted, 1});
    return true;
  } catch (const kk::CollectionConflict& conflict) {
    std::printf("conflict: %s\n", conflict.what());
    return !conflict.names(card.get_name());
  }
}

void learn(platform::Environment& environment, double now, long answers, std::mt19937& random,
           const Pause& pause) {
  platform::Common_functions& clock = environment.cf;
  clock.set_fixed_now(now);
  kk::Karteikartenverwaltung kkv(environment);
  if (kk::stored_deck_collections(environment).empty()) {
    kk::import_deck(kkv, testing::crash_deck(), testing::crash_collection);
  } else {
    kk::add_stored_haendesammlung(kkv, testing::crash_collection);
  }
  double wait = 3600;
  bool paused = false;
  for (long answered = 0; answered < answers;) {
    std::optional<kk::Karteikarte> card = kkv.get_card();
    if (!card) {
      now += wait;
      wait *= 2;
      clock.set_fixed_now(now);
      continue;
    }
    if (answered == pause.at && !paused) {
      std::printf("next %s\n", card->get_name().c_str());
      std::fflush(stdout);
      wait_for(pause.gate);
      paused = true;
    }
    if (answer(kkv, *card, response(random, kkv, *card))) {
      std::printf("ack %s %lld %.0f\n", card->get_name().c_str(),
                  static_cast<long long>(card->get_reps()), now);
      ++answered;
    }
    std::fflush(stdout);
    now += 20;
    wait = 3600;
    clock.set_fixed_now(now);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 7) {
    std::fprintf(stderr, "usage: %s APP_DIR START_SECONDS ANSWERS SEED [PAUSE_AT GATE_FILE]\n",
                 argv[0]);
    return 2;
  }
  platform::Environment environment(argv[1]);
  std::mt19937 random(static_cast<unsigned>(std::atol(argv[4])));
  Pause pause;
  if (argc == 7) pause = {std::atol(argv[5]), argv[6]};
  try {
    learn(environment, std::atof(argv[2]), std::atol(argv[3]), random, pause);
  } catch (const std::exception& error) {
    std::printf("error: %s\n", error.what());
    return 1;
  }
  std::printf("done\n");
  return 0;
}
