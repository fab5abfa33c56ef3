#include "karteikarten/scheduling/time_helpers.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "support/test_environment.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

// `number` rounded by its exact decimal expansion, digit by digit.
double rounded_by_decimal_expansion(double number, int digits) {
  char exact[1200];
  std::snprintf(exact, sizeof exact, "%.1100f", std::fabs(number));
  std::string text = exact;
  const std::size_t kept = text.find('.') + 1 + static_cast<std::size_t>(digits);
  bool carry = text[kept] >= '5';
  text.resize(kept);
  for (std::size_t i = text.size(); carry && i-- > 0;) {
    if (text[i] == '.') continue;
    carry = text[i] == '9';
    text[i] = carry ? '0' : static_cast<char>(text[i] + 1);
  }
  if (carry) text.insert(0, 1, '1');
  return std::copysign(std::strtod(text.c_str(), nullptr), number);
}

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
  // Against the rounding of the exact decimal expansion, over thousandths,
  // their neighbours, and numbers of every size.
  std::uint64_t seed = 88172645463325252u;
  for (int i = 0; i < 2000; ++i) {
    seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
    const double tie = static_cast<double>(seed % 2000001) / 1000 - 1000;
    const double any =
        std::ldexp(static_cast<double>(seed >> 11), static_cast<int>(seed % 90) - 96);
    for (const double number : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e9), any}) {
      for (int digits = 0; digits <= 3; ++digits) {
        ASSERT_EQ(round_half_away_from_zero(number, digits),
                  rounded_by_decimal_expansion(number, digits))
            << std::hexfloat << number << " " << digits;
      }
    }
  }
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
