// The answer as the manager performs it: the records and counters around
// the scheduler's arithmetic (see scheduler_test.cpp for the arithmetic).
#include <gtest/gtest.h>

#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/environment.hpp"
#include "support/debug_mode.hpp"
#include "support/test_environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::a_day;
using testing::a_morning;
using Scheduling = testing::SchedulingTest;

const char* const rejected =
    "you can't press this button / we don't know how to deal with this case";

TEST_F(Scheduling, LearningCardThroughItsSteps) {
  Karteikarte learning = card();
  EXPECT_EQ(repr(kkv.schedule(None, learning, "again")), repr(1.0 / 1440));
  EXPECT_EQ(learning.steps_index, 0);
  EXPECT_EQ(learning.faellig_erstes_mal, DateTime(2021, 9, 22, 10));
  EXPECT_EQ(learning.lapses, 1);
  EXPECT_EQ(kkv.fudge_nochmal, -2);

  EXPECT_EQ(repr(kkv.schedule(None, learning, "good")), repr(10.0 / 1440));
  EXPECT_EQ(learning.steps_index, 1);
  EXPECT_EQ(repr(kkv.schedule(None, learning, "good")), "1");
  EXPECT_EQ(learning.learnstatus, Learnstatus::learned);
  EXPECT_EQ(repr(learning.interval), "1");
  EXPECT_EQ(learning.reps, 3);
  EXPECT_EQ(learning.karte_ist_neu, false);
  EXPECT_EQ(kkv.gepruefte_neue_karten, 1);

  Karteikarte easy = card(2);
  EXPECT_EQ(repr(kkv.schedule(None, easy, "easy")), "4");
  EXPECT_EQ(easy.learnstatus, Learnstatus::learned);

  Karteikarte hard = card(3);
  try {
    kkv.schedule(None, hard, "hard");
    FAIL();
  } catch (const ValueError& error) {
    EXPECT_STREQ(error.what(), rejected);
  }
}

TEST_F(Scheduling, GraduationGivesTheStartingEase) {
  // Registration gives 130; leaving the learning steps gives STARTING_EASE,
  // so the first review's "good" multiplies the graduating interval by it.
  const struct {
    std::int64_t starting_ease;
    const char* last_step;
    const char* ease;
    const char* next_good;
  } cases[] = {
      {250, "good", "250", "2.5"}, {300, "good", "300", "3.0"}, {250, "easy", "250", "10.0"}};
  for (const auto& c : cases) {
    kkv.STARTING_EASE = c.starting_ease;
    Karteikarte graduating = card();
    EXPECT_EQ(repr(graduating.ease_factor), "130");
    graduating.steps_index = 1;
    kkv.get_interval_responses(graduating);
    EXPECT_EQ(repr(graduating.ease_factor), "130") << "a preview changes only its copy";
    kkv.schedule(None, graduating, c.last_step);
    EXPECT_EQ(repr(graduating.ease_factor), c.ease) << c.last_step;
    graduating.due = Due::at(a_morning);
    EXPECT_EQ(repr(kkv.schedule(None, graduating, "good")), c.next_good) << c.last_step;
  }
  // A learned card keeps its ease through relearning.
  kkv.LAPSE_STEPS = List{10};
  Karteikarte relearning = learned_card(10, 170, a_morning);
  relearning.learnstatus = Learnstatus::relearning;
  kkv.schedule(None, relearning, "good");
  EXPECT_EQ(repr(relearning.ease_factor), "170");
}

TEST_F(Scheduling, ForgottenCardsMode) {
  kkv.modus_vergessene_karten = true;
  Karteikarte forgotten = learned_card(10, 250, a_morning);
  EXPECT_EQ(repr(kkv.schedule(None, forgotten, "again")), repr(10.0 / 1440));
  EXPECT_EQ(kkv.hc.get_richtige_sammlung("kk_test")->karten.at("kk_test-1")->fudge(), -1);
  EXPECT_EQ(repr(kkv.schedule(None, forgotten, "good")), "'done'");
  EXPECT_EQ(repr(kkv.schedule(None, forgotten, "hard")), "None");
  EXPECT_EQ(forgotten.learnstatus, Learnstatus::learned);

  const tavo::testing::DebugMode debug(test_environment().diagnostics);
  EXPECT_THROW(kkv.schedule(None, forgotten, "easy"), AssertionError);
}

TEST_F(Scheduling, LearningAheadTakesTheEarlyReviewPath) {
  kkv.vorauslernen_tage = 2;
  Karteikarte ahead = learned_card(10, 250, a_morning + 5 * a_day);
  EXPECT_EQ(repr(kkv.schedule(None, ahead, "good")), "10.0");
  EXPECT_EQ(ahead.learnstatus, Learnstatus::learned);
  EXPECT_EQ(repr(ahead.interval), "10");
  EXPECT_EQ(ahead.reps, 1);
  // "again" goes through the normal path.
  EXPECT_EQ(repr(kkv.schedule(None, ahead, "again")), repr(10.0 / 1440));
  EXPECT_EQ(ahead.learnstatus, Learnstatus::relearning);
}

TEST_F(Scheduling, LearningAheadReachesEveryCollection) {
  kkv.set_vorauslernen_tage(2);
  EXPECT_EQ(kkv.vorauslernen_tage, 2);
  EXPECT_EQ(kkv.hc.get_richtige_sammlung("kk_test")->vorauslernen, 2);
}

TEST_F(Scheduling, PreviewChangesNothingButTheCopy) {
  Karteikarte fresh = card();
  EXPECT_EQ(repr(kkv.get_interval_responses(fresh)), "('< 1min', 'Ende', '< 10min', '4 Tage')");
  EXPECT_EQ(fresh.karte_ist_neu, true);
  EXPECT_EQ(fresh.reps, 0);
  EXPECT_FALSE(fresh.faellig_erstes_mal.has_value());
  EXPECT_EQ(kkv.fudge_nochmal, -1);
  EXPECT_EQ(kkv.gepruefte_neue_karten, 0);

  kkv.schedule(None, fresh, "again", true);
  EXPECT_EQ(fresh.lapses, 0);
  EXPECT_EQ(fresh.reps, 0);
  EXPECT_EQ(kkv.fudge_nochmal, -1);
  EXPECT_TRUE(fresh.faellig_erstes_mal.has_value());

  Karteikarte learned = learned_card(10, 250, a_morning);
  EXPECT_EQ(repr(kkv.get_interval_responses(learned)),
            "('< 10min', '12 Tage', '25 Tage', '1.1 Monate')");
  EXPECT_EQ(repr(learned.interval), "10");
}

TEST_F(Scheduling, ButtonsShowWhatAnsweringGives) {
  // Each button's interval equals that of the real answer on a copy of
  // the card; a button the card's phase rejects has none.
  const auto relearning = [this] {
    Karteikarte card = learned_card(10, 250, a_morning);
    card.learnstatus = Learnstatus::relearning;
    return card;
  };
  const auto last_step = [this] {
    Karteikarte card = this->card();
    card.steps_index = 1;
    return card;
  };
  const struct {
    const char* name;
    Karteikarte card;
    bool drill;
    std::int64_t ahead_days;
  } cases[] = {
      {"new", card(), false, 0},
      {"last learning step", last_step(), false, 0},
      {"learned, three days late", learned_card(10, 250, a_morning - 3 * a_day), false, 0},
      {"learned, float interval", learned_card(7.5, 230.0, a_morning), false, 0},
      {"relearning", relearning(), false, 0},
      {"drill", learned_card(10, 250, a_morning), true, 0},
      {"learning ahead", learned_card(10, 250, a_morning + 5 * a_day), false, 2},
  };
  const char* const responses[] = {"again", "hard", "good", "easy"};
  for (const auto& c : cases) {
    kkv.modus_vergessene_karten = c.drill;
    kkv.vorauslernen_tage = c.ahead_days;
    const ButtonIntervals buttons = kkv.button_intervals(c.card);
    for (std::size_t button = 0; button < buttons.size(); ++button) {
      Karteikarte answered = deep_copy(c.card);
      Value days;
      try {
        days = kkv.schedule(None, answered, responses[button], false);
      } catch (const ValueError&) {
      }
      const IntervalLabel expected = interval_label(days);
      EXPECT_EQ(buttons[button].unit, expected.unit) << c.name << " " << responses[button];
      EXPECT_EQ(buttons[button].number, expected.number) << c.name << " " << responses[button];
      EXPECT_EQ(buttons[button].singular, expected.singular) << c.name << " " << responses[button];
    }
  }
}

}  // namespace
}  // namespace tavo::kk
