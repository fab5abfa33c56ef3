#include "cli/demo.hpp"

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

#include "cli/figures_report.hpp"
#include "cli/learning_session.hpp"
#include "cli/translation.hpp"
#include "karteikarten/frame/decks.hpp"
#include "platform/common_functions.hpp"
#include "platform/deck_file.hpp"
#include "platform/stable_hash.hpp"
#include "platform/temporary_directory.hpp"
#include "value/date_time.hpp"

namespace tavo::cli {
namespace {

constexpr int demo_days = 3;
constexpr const char* demo_collection = "kk_bridge";

// Mostly "good", now and then "again", "hard" or "easy", varying with the
// card and its repetitions; a few seconds per answer, by which the frozen
// clock moves on.
kk::Antwort scripted_answer(platform::Common_functions& clock, kk::Karteikartenverwaltung& kkv,
                            const kk::Karteikarte& card) {
  const std::uint64_t number = platform::stable_hash(card.get_name());
  const std::uint64_t pick = (number + 7 * static_cast<std::uint64_t>(card.reps.value_or(0))) % 10;
  std::string response = pick < 2 ? "again" : pick < 3 ? "hard" : pick < 9 ? "good" : "easy";
  if (!kk::accepts_response(kkv, card, response)) response = "good";
  const std::int64_t seconds = 4 + static_cast<std::int64_t>(number % 17);
  clock.set_fixed_now(clock.get_now() + static_cast<double>(seconds));
  return kk::Antwort{response, seconds};
}

double morning_of_day(double start, int day) {
  const DateTime date = DateTime::fromtimestamp(start);
  const DateTime morning(date.year(), date.month(), date.day(), 9);
  return (morning + Duration::of_days(day)).to_epoch_seconds();
}

}  // namespace

void run_demo(platform::Environment& environment, const std::filesystem::path& deck, double start,
              std::ostream& out) {
  const std::vector<platform::DeckCard> cards = platform::read_deck_file(deck);
  const platform::TemporaryDirectory directory;
  environment.use_app_data_dir(directory.path().string());
  out << trf("kkv demo: {} cards from {}, learnt by a scripted learner over {} days in {}",
             cards.size(), deck.string(), demo_days, directory.path().string())
      << "\n";
  std::istringstream no_input;
  Terminal terminal(no_input, out);
  for (int day = 0; day < demo_days; ++day) {
    environment.cf.set_fixed_now(morning_of_day(start, day));
    out << "\n"
        << trf("=== Day {}, {} ===", day + 1, local_time_text(environment.cf.get_now())) << "\n\n";
    kk::Karteikartenverwaltung kkv(environment);
    if (day == 0) {
      kk::import_deck(kkv, cards, demo_collection);
    } else {
      kk::add_stored_haendesammlung(kkv, demo_collection);
    }
    const SessionOutcome outcome = run_learning_session(
        kkv, terminal, [&](const kk::Karteikarte& card, const kk::ButtonIntervals&) {
          return scripted_answer(environment.cf, kkv, card);
        });
    print_session_end(kkv, terminal, outcome);
  }
}

}  // namespace tavo::cli
