// The answer arithmetic on its own: no files, no clock, no collection.
#include "karteikarten/scheduling/scheduler.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "karteikarten/cards/karteikarte.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

const DateTime now(2021, 9, 22, 10);

class SchedulerTest : public ::testing::Test {
 protected:
  // A card of the learned phase with `interval` and `ease`, due `days_late`
  // days before now.
  static Karteikarte learned(const Value& interval, const Value& ease, int days_late = 0) {
    auto record = std::make_shared<CardRecord>();
    record->fragetext = "Frage";
    record->antworttext = "Antwort";
    Karteikarte card(record, "kk_test-1", 3);
    card.learnstatus = Learnstatus::learned;
    card.interval = interval;
    card.ease_factor = ease;
    card.due = Due::at((now - Duration::of_seconds(86400.0 * days_late)).to_epoch_seconds());
    return card;
  }

  std::string answer(Karteikarte& card, const char* response, bool drill = false) const {
    const std::int64_t delay = Scheduler::tage_verspaetet(card, now);
    return repr(scheduler.answer_phase(card, response, delay, now, drill).result.to_value());
  }

  SchedulerSettings settings;
  Scheduler scheduler{settings};
};

TEST_F(SchedulerTest, LearnedCardsOnTimeLateAndAtTheBounds) {
  const struct {
    Value interval;
    Value ease;
    int days_late;
    const char* response;
    const char* result;
    const char* new_interval;
    const char* new_ease;
  } cases[] = {
      {10, 250, 0, "good", "25.0", "25.0", "250"},
      {10, 250, 0, "hard", "12.0", "12.0", "235"},
      {10, 250, 0, "easy", "32.5", "32.5", "265"},
      {10, 250, 6, "good", "32.5", "32.5", "250"},
      {10, 250, 6, "hard", "13.2", "13.2", "235"},
      {10, 250, 6, "easy", "52.0", "52.0", "265"},
      {10, 140, 0, "hard", "12.0", "12.0", "130"},
      {20000, 250, 0, "good", "36500", "50000.0", "250"},
  };
  for (const auto& c : cases) {
    Karteikarte card = learned(c.interval, c.ease, c.days_late);
    EXPECT_EQ(answer(card, c.response), c.result) << c.response << " " << c.days_late;
    EXPECT_EQ(repr(card.interval), c.new_interval) << c.response;
    EXPECT_EQ(repr(card.ease_factor), c.new_ease) << c.response;
  }
}

TEST_F(SchedulerTest, AgainForgetsTheCardIntoRelearning) {
  Karteikarte card = learned(10, 145);
  const PhaseAnswer forgot = scheduler.answer_phase(card, "again", 0, now, false);
  EXPECT_TRUE(forgot.forgot);
  EXPECT_EQ(repr(forgot.result.to_value()), repr(10.0 / 1440));
  EXPECT_EQ(card.learnstatus, Learnstatus::relearning);
  EXPECT_EQ(repr(card.ease_factor), "130");
}

TEST_F(SchedulerTest, RelearningExitKeepsTheIntervalsNumberType) {
  settings.LAPSE_STEPS = List{10};
  const struct {
    Value interval;
    const char* result;
  } cases[] = {{10, "7"}, {3, "2"}, {1, "1"}, {10.0, "7.0"}, {2.5, "1.75"}};
  for (const auto& c : cases) {
    Karteikarte card = learned(c.interval, 230);
    card.learnstatus = Learnstatus::relearning;
    EXPECT_EQ(answer(card, "good"), c.result) << repr(c.interval);
    EXPECT_EQ(card.learnstatus, Learnstatus::learned);
  }
  Karteikarte easy = learned(10, 230);
  easy.learnstatus = Learnstatus::relearning;
  EXPECT_THROW(answer(easy, "easy"), ValueError);
}

TEST_F(SchedulerTest, TheDrillTakesAgainAndGoodOnly) {
  Karteikarte card = learned(10, 250);
  EXPECT_EQ(answer(card, "again", true), repr(10.0 / 1440));
  EXPECT_EQ(answer(card, "good", true), "'done'");
  EXPECT_EQ(answer(card, "hard", true), "None");
  EXPECT_EQ(card.learnstatus, Learnstatus::learned);
}

TEST_F(SchedulerTest, WholeDaysOverdue) {
  Karteikarte card = learned(10, 250);
  const struct {
    Due due;
    std::int64_t days;
  } cases[] = {{Due::at(now.to_epoch_seconds() - 3 * 86400 - 5 * 3600), 3},
               {Due::at(now.to_epoch_seconds() + 3600), 0},
               {Due(), 0},
               {Due::done(), 0}};
  for (const auto& c : cases) {
    card.due = c.due;
    EXPECT_EQ(Scheduler::tage_verspaetet(card, now), c.days) << repr(c.due.to_value());
  }
}

TEST_F(SchedulerTest, EarlyReview) {
  Karteikarte ahead = learned(10, 250, -5);
  EXPECT_TRUE(Scheduler::answers_ahead(ahead, "good", 2));
  EXPECT_FALSE(Scheduler::answers_ahead(ahead, "again", 2));
  EXPECT_FALSE(Scheduler::answers_ahead(ahead, "good", 0));
  const struct {
    Value interval;
    Value ease;
    int days_early;
    const char* response;
    double result;
  } cases[] = {{10, 250, 5, "good", 10.0},    {10, 250, 5, "hard", 6.0},
               {10, 250, 5, "easy", 11.5},    {10, 250, 5, "anything", 11.5},
               {10, 250, 0, "good", 10.0},    {1, 235, 5, "good", 10.0}};
  for (const auto& c : cases) {
    Karteikarte card = learned(c.interval, c.ease, -c.days_early);
    EXPECT_EQ(scheduler.schedule_vorauslernen(card, c.response, now), c.result) << c.response;
  }
  // A learning card without an interval first gets its step as interval.
  Karteikarte learning = learned(0, 250, 0);
  learning.learnstatus = Learnstatus::learning;
  EXPECT_EQ(scheduler.schedule_vorauslernen(learning, "good", now), 1.0);
  EXPECT_EQ(repr(learning.interval), repr(1.0 / 1440));
  Karteikarte done = learned(10, 250);
  done.due = Due::done();
  EXPECT_THROW(scheduler.schedule_vorauslernen(done, "good", now), TypeError);
}

TEST_F(SchedulerTest, GoodAnswersUntilMature) {
  const struct {
    Value interval;
    Value ease;
    Learnstatus status;
    const char* answers;
  } cases[] = {{0, 250, Learnstatus::learning, "6.0"},
               {0, 130, Learnstatus::learning, "14.0"},
               {30, 250, Learnstatus::learned, "0"},
               {10, 250, Learnstatus::learned, "1"}};
  for (const auto& c : cases) {
    Karteikarte card = learned(c.interval, c.ease);
    card.learnstatus = c.status;
    EXPECT_EQ(repr(scheduler.calculate_anzahl_press_good_bis_mature(card, now)), c.answers)
        << repr(c.interval) << " " << repr(c.ease);
  }
  EXPECT_THROW(scheduler.calculate_anzahl_press_good_bis_mature(learned(2, 100), now),
               ZeroDivisionError);
}

}  // namespace
}  // namespace tavo::kk
