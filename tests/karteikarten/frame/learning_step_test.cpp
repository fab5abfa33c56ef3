// A simulated learner: 30 question cards learnt over 20 learning days
// across the end of daylight-saving time, through the host loop, and then
// a session of learning ahead.
#include "support/test_environment.hpp"
#include "karteikarten/frame/learning_step.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "karteikarten/frame/day_figures.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "support/debug_mode.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::kk {
namespace {

constexpr int cards = 30;
constexpr std::int64_t new_per_day = 5;
constexpr std::int64_t reviews_per_day = 50;
constexpr double look_ahead = 600;
constexpr double seconds_per_answer = 10;

Dict deck() {
  Dict modul;
  for (int i = 1; i <= cards; ++i) {
    modul.set(i, Dict{{"fragetext", "Frage " + std::to_string(i)}, {"antworttext", "Antwort"}});
  }
  return modul;
}

double now() { return test_environment().cf.get_now(); }

class SimulatedLearner : public ::testing::Test {
 protected:
  SimulatedLearner() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {
    test_environment().cf.set_fixed_now(DateTime(2021, 10, 20, 10).to_epoch_seconds());
  }
  ~SimulatedLearner() override { test_environment().cf.clear_fixed_now(); }

  // A manager as a host starts it: settings stored, the deck registered.
  std::unique_ptr<Karteikartenverwaltung> start_manager() {
    auto kkv = std::make_unique<Karteikartenverwaltung>(test_environment());
    kkv->neue_karten_pro_tag = new_per_day;
    kkv->maximale_wiederholungen_pro_tag = reviews_per_day;
    kkv->save_default_values();
    kkv->add_haendesammlung(deck(), "kk_sim");
    return kkv;
  }

  SammlungRef sammlung(const Karteikartenverwaltung& kkv) const {
    return kkv.hc.sammlung_named("kk_sim");
  }

  // Whether a choice has nothing to offer: no card due within the
  // look-ahead, and no new card may be put due today.
  bool nothing_to_offer(const Karteikartenverwaltung& kkv) const {
    const SammlungRef s = sammlung(kkv);
    const bool new_allowed =
        s->anzahl_due_none() > 0 && s->get_anzahl_vormals_neu_heute() < new_per_day;
    return !new_allowed && s->get_due_today(look_ahead) == 0;
  }

  // The earliest due moment after now, if it is still today.
  std::optional<double> next_due_today(const Karteikartenverwaltung& kkv) const {
    std::optional<double> next;
    for (const auto& [name, card] : sammlung(kkv)->karten) {
      if (card->due.is_moment() && card->due.seconds() > now()) {
        next = std::min(next.value_or(card->due.seconds()), card->due.seconds());
      }
    }
    if (next &&
        *next < test_environment().cf.next_learning_day_start(kkv.startzeit_tag))
      return next;
    return std::nullopt;
  }

  // Answers until nothing is left for today; returns the answers given.
  int learn_one_day(Karteikartenverwaltung& kkv) {
    int answers = 0;
    std::map<std::string, double> failed;  // card -> its due moment
    const AskAnswer ask = [&](const Karteikarte& card, const ButtonIntervals& buttons) {
      EXPECT_EQ(buttons.size(), 4u);
      if (const auto again = failed.find(card.get_name()); again != failed.end()) {
        EXPECT_GE(now() + look_ahead, again->second) << card.get_name();
        failed.erase(again);
      }
      const bool first_sight = card.get_karte_ist_neu();
      if (first_sight) ++first_sights_;
      const bool wrong = first_sight && first_sights_ % 3 == 0;
      return Antwort{wrong ? "again" : "good", seconds_per_answer};
    };
    for (;;) {
      const bool expect_none = nothing_to_offer(kkv);
      const std::optional<LearningStepResult> step = learning_step(kkv, ask);
      EXPECT_EQ(!step, expect_none);
      if (step) {
        ++answers;
        if (step->antwort.response == "again") {
          failed[step->card.get_name()] = step->card.due.seconds();
        }
        test_environment().cf.set_fixed_now(now() + seconds_per_answer);
        continue;
      }
      const std::optional<double> next = next_due_today(kkv);
      if (!next) break;
      test_environment().cf.set_fixed_now(*next);
    }
    EXPECT_TRUE(failed.empty()) << "a failed card did not come back the same day";
    const SammlungRef s = sammlung(kkv);
    EXPECT_LE(s->get_anzahl_vormals_neu_heute(), new_per_day);
    EXPECT_LE(s->anzahl_wiederholte_karten(), reviews_per_day);
    std::cout << test_environment().cf.get_datum_string_startzeit(kkv.startzeit_tag)
              << ": " << s->get_anzahl_vormals_neu_heute() << " new, "
              << s->anzahl_wiederholte_karten() << " reviews, " << answers << " answers\n";
    return answers;
  }

  void next_morning(const Karteikartenverwaltung& kkv) {
    const DateTime tomorrow = DateTime::fromtimestamp(
        test_environment().cf.next_learning_day_start(kkv.startzeit_tag));
    test_environment().cf.set_fixed_now(
        DateTime(tomorrow.year(), tomorrow.month(), tomorrow.day(), 10).to_epoch_seconds());
  }

  int first_sights_ = 0;

 private:
  tavo::testing::TemporaryDirectory directory_;
  tavo::testing::ScopedEnvironment data_dir_;
};

TEST_F(SimulatedLearner, LearnsTheDeckWithinTheDailyLimitsAndContinuesInANewSession) {
  const tavo::testing::DebugMode debug(
      test_environment()
          .diagnostics);  // the choice's consistency checks, five candidates at most
  std::unique_ptr<Karteikartenverwaltung> kkv = start_manager();
  int answers = 0;
  for (int day = 0; day < 20; ++day) {
    if (day == 10) {
      // A new session on the same data continues where the last one stopped.
      std::map<std::string, std::uint64_t> stored;
      for (const auto& [name, card] : sammlung(*kkv)->karten)
        stored[name] = stored_fingerprint(*card);
      kkv = start_manager();
      for (const auto& [name, card] : sammlung(*kkv)->karten) {
        EXPECT_EQ(stored_fingerprint(*card), stored.at(name)) << name;
      }
    }
    answers += learn_one_day(*kkv);
    next_morning(*kkv);
  }
  for (const auto& [name, card] : sammlung(*kkv)->karten) {
    EXPECT_EQ(card->learnstatus, Learnstatus::learned) << name;
  }
  EXPECT_EQ(first_sights_, cards);
  EXPECT_EQ(kkv->iterate_key_shelve("reps").at("anzahl"), Value(answers));

  // Learning five days ahead shows each card of that window once, although
  // an early "good" leaves many of them due inside it again, and then ends.
  kkv->set_vorauslernen_tage(5);
  std::set<std::string> in_window;
  for (const auto& [name, card] : sammlung(*kkv)->karten) {
    if (card->due.seconds() <= now() + 5 * 86400 + look_ahead) in_window.insert(name);
  }
  ASSERT_GT(in_window.size(), 5u);
  std::set<std::string> shown;
  const AskAnswer good = [](const Karteikarte&, const ButtonIntervals&) {
    return Antwort{"good", seconds_per_answer};
  };
  while (const std::optional<LearningStepResult> step = learning_step(*kkv, good)) {
    EXPECT_TRUE(shown.insert(step->card.get_name()).second) << step->card.get_name();
    ASSERT_LE(shown.size(), in_window.size());
  }
  EXPECT_EQ(shown, in_window);
  EXPECT_EQ(day_figures(*kkv).due_now_in_choice, 0);
}

}  // namespace
}  // namespace tavo::kk

namespace tavo::kk::testing {
namespace {

TEST_F(SchedulingTest, AnAnswerThePhaseRefusesRecordsNothing) {
  Karteikarte card = learned_card(10, 250, a_morning);
  answer_card(kkv, card, Antwort{"again", 5});
  ASSERT_EQ(card.learnstatus, Learnstatus::relearning);

  EXPECT_FALSE(accepts_response(kkv, card, "hard"));
  EXPECT_TRUE(accepts_response(kkv, card, "good"));
  const Dict metadata = deep_copy(kkv.hc.sammlung_named("kk_test")->metadata).as_dict();
  const Dict statistics = kkv.iterate_key_shelve("reps");
  EXPECT_THROW(answer_card(kkv, card, Antwort{"hard", 5}), ValueError);
  EXPECT_EQ(Value(kkv.hc.sammlung_named("kk_test")->metadata), Value(metadata));
  EXPECT_EQ(Value(kkv.iterate_key_shelve("reps")), Value(statistics));
}

}  // namespace
}  // namespace tavo::kk::testing
