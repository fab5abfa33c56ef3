#include <gtest/gtest.h>

#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::a_day;
using testing::a_morning;
using Lateness = testing::SchedulingTest;

TEST_F(Lateness, WholeDaysOverdue) {
  Karteikarte late = card();
  late.due = Due::at(a_morning - 3 * a_day - 5 * 3600);
  EXPECT_EQ(kkv._tage_verspaetet(late), 3);
  late.due = Due::at(a_morning + 3600);
  EXPECT_EQ(kkv._tage_verspaetet(late), 0);
  late.due = Due();
  EXPECT_EQ(kkv._tage_verspaetet(late), 0);
  late.due = Due::done();
  EXPECT_EQ(kkv._tage_verspaetet(late), 0);
}

TEST_F(Lateness, EarlyReview) {
  Karteikarte early = learned_card(10, 250, a_morning + 5 * a_day);
  EXPECT_EQ(kkv.schedule_vorauslernen(early, "good"), 10.0);
  EXPECT_EQ(kkv.schedule_vorauslernen(early, "hard"), 6.0);
  EXPECT_EQ(kkv.schedule_vorauslernen(early, "easy"), 11.5);
  EXPECT_EQ(kkv.schedule_vorauslernen(early, "anything"), 11.5);

  Karteikarte today = learned_card(10, 250, a_morning + 3600);
  EXPECT_EQ(kkv.schedule_vorauslernen(today, "good"), 10.0);

  // A learning card without an interval first gets its step as interval.
  Karteikarte learning = card();
  learning.due = Due::at(a_morning + 3600);
  learning.ease_factor = 250;
  kkv.make_karte_due_bool = true;
  EXPECT_EQ(kkv.schedule_vorauslernen(learning, "good"), 1.0);
  EXPECT_EQ(repr(learning.interval), repr(1.0 / 1440));
  EXPECT_FALSE(kkv.make_karte_due_bool);
  // Ease 235 divides as a whole number: factor 2.
  Karteikarte whole = learned_card(1, 235, a_morning + 5 * a_day);
  EXPECT_EQ(kkv.schedule_vorauslernen(whole, "good"), 10.0);

  Karteikarte done = card();
  done.due = Due::done();
  EXPECT_THROW(kkv.schedule_vorauslernen(done, "good"), TypeError);
}

TEST_F(Lateness, ForgottenCardsGetEverSmallerFudge) {
  Karteikarte first = card(1);
  Karteikarte second = card(2);
  kkv.due_fudge_nochmal_aendern(first);
  kkv.due_fudge_nochmal_aendern(second);
  const auto& karten = kkv.hc.get_richtige_sammlung("kk_test")->karten;
  EXPECT_EQ(karten.at("kk_test-1")->fudge, -1);
  EXPECT_EQ(karten.at("kk_test-2")->fudge, -2);
  EXPECT_EQ(kkv.fudge_nochmal, -3);
  EXPECT_EQ(first.zuletzt_vergessen, a_morning);

  kkv.sammlungsort_name = "kk_unbekannt";
  EXPECT_THROW(kkv.due_fudge_nochmal_aendern(first), KeyError);
  EXPECT_EQ(kkv.fudge_nochmal, -3);
}

TEST_F(Lateness, GoodAnswersUntilMature) {
  Karteikarte fresh = card();
  fresh.ease_factor = 250;
  EXPECT_EQ(repr(kkv.calculate_anzahl_press_good_bis_mature(fresh)), "6.0");
  fresh.ease_factor = 130;
  EXPECT_EQ(repr(kkv.calculate_anzahl_press_good_bis_mature(fresh)), "14.0");
  EXPECT_EQ(repr(kkv.calculate_anzahl_press_good_bis_mature(learned_card(30, 250, a_morning))),
            "0");
  EXPECT_EQ(repr(kkv.calculate_anzahl_press_good_bis_mature(learned_card(10, 250, a_morning))),
            "1");
  kkv.INTERVAL_MODIFIER = 100;
  EXPECT_THROW(kkv.calculate_anzahl_press_good_bis_mature(learned_card(2, 100, a_morning)),
               ZeroDivisionError);
}

}  // namespace
}  // namespace tavo::kk
