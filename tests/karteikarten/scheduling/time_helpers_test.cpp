#include "support/test_environment.hpp"
#include "karteikarten/scheduling/time_helpers.hpp"

#include <gtest/gtest.h>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

TEST(TimeHelpers, ButtonLabels) {
  const struct {
    Value days;
    const char* label;
  } cases[] = {
      {"done", "Ende"},
      {0, "Ende"},
      {"", "Ende"},
      {None, "Ende"},
      {10.0 / 1440, "< 10min"},
      {0.0003, "< 0min"},
      {1, "1 Tag"},
      {1.0, "1 Tag"},
      {4, "4 Tage"},
      {29.6, "30 Tage"},
      {2.5, "3 Tage"},
      {45, "1.5 Monate"},
      {30.4375, "1.0 Monat"},
      {365.25, "1.0 Jahr"},
      {400, "1.1 Jahre"},
      {36500, "99.9 Jahre"},
  };
  for (const auto& c : cases) EXPECT_EQ(human_friendly_time(c.days), c.label) << repr(c.days);
}

TEST(TimeHelpers, RoundsHalvesAwayFromZeroByExactValue) {
  EXPECT_EQ(round_half_away_from_zero(0.25, 1), 0.3);
  EXPECT_EQ(round_half_away_from_zero(-0.25, 1), -0.3);
  EXPECT_EQ(round_half_away_from_zero(1.15, 1), 1.1);
  EXPECT_EQ(round_half_away_from_zero(0.45, 1), 0.5);
  EXPECT_EQ(round_half_away_from_zero(2.5, 0), 3.0);
  EXPECT_EQ(round_half_away_from_zero(9.96, 1), 10.0);
  EXPECT_EQ(minutes_to_days(10), 10.0 / 1440);
  EXPECT_EQ(minutes_to_days(1440), 1.0);
}

TEST(TimeHelpers, LookAheadWindowsFollowTheLearningSteps) {
  Karteikartenverwaltung kkv{test_environment()};
  EXPECT_EQ(kkv.voraus_1_min(), 60);
  EXPECT_EQ(kkv.voraus_10_min(), 600);
  kkv.NEW_STEPS = List{2, 20};
  EXPECT_EQ(kkv.voraus_1_min(), 120);
  EXPECT_EQ(kkv.voraus_10_min(), 1200);
  kkv.NEW_STEPS = List{5};
  EXPECT_EQ(kkv.voraus_1_min(), 300);
  EXPECT_EQ(kkv.voraus_10_min(), 600);
  kkv.NEW_STEPS = List{0.5, 5};
  EXPECT_EQ(kkv.voraus_1_min(), 60);
  EXPECT_EQ(kkv.voraus_10_min(), 600);
  kkv.NEW_STEPS = List{"eins"};
  EXPECT_EQ(kkv.voraus_1_min(), 60);
}

TEST(TimeHelpers, NowOfTheLearningDay) {
  const Karteikartenverwaltung kkv{test_environment()};
  test_environment().cf.set_fixed_now(1630801800);  // 2021-09-05 02:30
  EXPECT_EQ(kkv.get_now(), DateTime(2021, 9, 4, 2, 30));
  test_environment().cf.set_fixed_now(1630803600);  // 2021-09-05 03:00
  EXPECT_EQ(kkv.get_now(), DateTime(2021, 9, 5, 3, 0));
  EXPECT_EQ(kkv.get_seconds_since_epoch(), 1630803600);
  test_environment().cf.clear_fixed_now();
}

}  // namespace
}  // namespace tavo::kk
