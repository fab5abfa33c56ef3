// Due moments from a number of days, with TZ=Europe/Berlin.
#include <gtest/gtest.h>

#include <memory>

#include "karteikarten/cards/karteikarte.hpp"
#include "platform/common_functions.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

class ChangeDue : public ::testing::Test {
 protected:
  ~ChangeDue() override { platform::cf().clear_fixed_now(); }

  // The due moment a card gets for `amount` days at the frozen `now`.
  static double due_after(double now, const Value& amount) {
    platform::cf().set_fixed_now(now);
    auto record = std::make_shared<CardRecord>();
    record->fragetext = "Frage";
    record->antworttext = "Antwort";
    Karteikarte card(record, "kk_test-1", 3);
    card.change_due(amount);
    return card.due.seconds();
  }
};

TEST_F(ChangeDue, DaysBecomeAMomentAtTheStartHour) {
  const double morning = 1632297600;  // 2021-09-22 10:00:00
  EXPECT_EQ(due_after(morning + 0.25, 10.0 / 1440), morning + 600);
  EXPECT_EQ(due_after(morning, 1), 1632358800);    // 2021-09-23 03:00
  EXPECT_EQ(due_after(morning, 2.5), 1632445200);  // 2021-09-24 03:00
  // One hour is more than ten minutes past a step: the start hour, with the
  // minutes and seconds of the moment an hour ahead.
  EXPECT_EQ(due_after(morning + 125, 1.0 / 24), 1632272525);  // 2021-09-22 03:02:05
  // Before the start hour the learning day is still yesterday's.
  EXPECT_EQ(due_after(1632270600, 1), 1632272400);  // 02:30 on the 22nd: 03:00 on the 22nd
}

TEST_F(ChangeDue, StartHourHoldsAcrossDaylightSavingChanges) {
  EXPECT_EQ(due_after(1616835600, 1), 1616893200);  // 2021-03-27 10:00 CET: 03:00 CEST
  EXPECT_EQ(due_after(1635580800, 1), 1635645600);  // 2021-10-30 10:00 CEST: 03:00 CET
}

TEST_F(ChangeDue, DoneAndBadAmounts) {
  platform::cf().set_fixed_now(1632297600);
  auto record = std::make_shared<CardRecord>();
  record->nur_reizung = true;
  Karteikarte card(record, "kk_test-1", 3);
  card.change_due("done");
  EXPECT_TRUE(card.due.is_done());
  EXPECT_THROW(card.change_due(None), TypeError);
  EXPECT_TRUE(card.due.is_done());

  card.recalculate_next_due_status_learning();
  EXPECT_EQ(card.due, Due::at(1632297600));
  card.learnstatus = Learnstatus::learned;
  card.due = Due::at(5);
  card.recalculate_next_due_status_learning();
  EXPECT_EQ(card.due, Due::at(5));
}

}  // namespace
}  // namespace tavo::kk
