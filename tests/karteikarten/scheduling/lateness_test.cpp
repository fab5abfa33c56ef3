#include <gtest/gtest.h>

#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::a_day;
using testing::a_morning;
using Lateness = testing::SchedulingTest;

TEST_F(Lateness, EarlyReviewThroughTheManagerPutsNoCardDue) {
  // The arithmetic is the scheduler's (scheduler_test.cpp); the manager
  // reads its clock and drops a pending putting due.
  Karteikarte early = learned_card(10, 250, a_morning + 5 * a_day);
  kkv.make_karte_due_bool = true;
  EXPECT_EQ(kkv.schedule_vorauslernen(early, "good"), 10.0);
  EXPECT_FALSE(kkv.make_karte_due_bool);
  EXPECT_EQ(kkv._tage_verspaetet(learned_card(10, 250, a_morning - 3 * a_day)), 3);
}

TEST_F(Lateness, ForgottenCardsGetEverSmallerFudge) {
  Karteikarte first = card(1);
  Karteikarte second = card(2);
  kkv.due_fudge_nochmal_aendern(first);
  kkv.due_fudge_nochmal_aendern(second);
  const auto& karten = kkv.hc.get_richtige_sammlung("kk_test")->karten;
  EXPECT_EQ(karten.at("kk_test-1")->fudge(), -1);
  EXPECT_EQ(karten.at("kk_test-2")->fudge(), -2);
  EXPECT_EQ(kkv.fudge_nochmal, -3);
  EXPECT_EQ(first.zuletzt_vergessen, a_morning);

  kkv.sammlungsort_name = "kk_unbekannt";
  EXPECT_THROW(kkv.due_fudge_nochmal_aendern(first), KeyError);
  EXPECT_EQ(kkv.fudge_nochmal, -3);
}

}  // namespace
}  // namespace tavo::kk
