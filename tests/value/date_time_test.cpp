// Local-time conversions assume TZ=Europe/Berlin, which the test runner sets.
#include "value/date_time.hpp"

#include <gtest/gtest.h>
#include <time.h>

#include "support/scoped_environment.hpp"
#include "value/errors.hpp"

namespace tavo {
namespace {

TEST(Duration, PartsFloorTowardMinusInfinity) {
  const Duration minus_two_hours = DateTime(2021, 9, 22, 1) - DateTime(2021, 9, 22, 3);
  EXPECT_EQ(minus_two_hours.days(), -1);
  EXPECT_EQ(minus_two_hours.seconds(), 79200);
  EXPECT_EQ(minus_two_hours.microseconds(), 0);
  EXPECT_EQ(minus_two_hours.total_seconds(), -7200.0);

  const Duration late = DateTime(2021, 9, 25, 12) - DateTime(2021, 9, 22, 7);
  EXPECT_EQ(late.days(), 3);
  EXPECT_EQ(late.seconds(), 5 * 3600);
  EXPECT_EQ(Duration::of_seconds(-0.5).days(), -1);
  EXPECT_EQ(Duration::of_seconds(-0.5).microseconds(), 500000);
  EXPECT_EQ(Duration::of_seconds(-0.5).seconds(), 86399);
  EXPECT_EQ(Duration::of_seconds(1.25).total_microseconds(), 1250000);
}

TEST(DateTime, CalendarArithmetic) {
  EXPECT_EQ(DateTime(2020, 2, 28) + Duration::of_days(1), DateTime(2020, 2, 29));
  EXPECT_EQ(DateTime(2021, 12, 31, 23, 59, 59) + Duration::of_seconds(1), DateTime(2022, 1, 1));
  EXPECT_EQ(DateTime(2021, 3, 1) - Duration::of_days(1), DateTime(2021, 2, 28));
  EXPECT_EQ(DateTime(2021, 9, 22, 1, 0, 0, 999999) + Duration::of_microseconds(1),
            DateTime(2021, 9, 22, 1, 0, 1));
  EXPECT_EQ(DateTime(2021, 9, 22).weekday(), 2);
  EXPECT_EQ(DateTime(2021, 12, 31).day_of_year(), 365);
  EXPECT_EQ(DateTime(1969, 12, 31, 23).isoformat('T'), "1969-12-31T23:00:00");
  EXPECT_LT(DateTime(2021, 9, 22), DateTime(2021, 9, 22, 0, 0, 0, 1));
}

TEST(DateTime, RejectsOutOfRangeFields) {
  try {
    DateTime(2021, 2, 29);
    FAIL();
  } catch (const ValueError& error) {
    EXPECT_STREQ(error.what(), "day is out of range for month");
  }
  EXPECT_THROW(DateTime(2021, 13, 1), ValueError);
  EXPECT_THROW(DateTime(2021, 1, 1, 24), ValueError);
  EXPECT_THROW(DateTime(9999, 12, 31) + Duration::of_days(1), ValueError);
}

TEST(DateTime, LocalTimeAcrossDaylightSavingChanges) {
  // Spring forward on 2021-03-28: 02:00 CET becomes 03:00 CEST.
  EXPECT_EQ(DateTime::fromtimestamp(1616893199), DateTime(2021, 3, 28, 1, 59, 59));
  EXPECT_EQ(DateTime::fromtimestamp(1616893200), DateTime(2021, 3, 28, 3));
  EXPECT_EQ(DateTime::fromtimestamp(1616893199.9999996), DateTime(2021, 3, 28, 3));
  EXPECT_EQ(DateTime(2021, 3, 28, 3).to_epoch_seconds(), 1616893200.0);
  // A wall-clock time that does not exist is moved on by the library.
  EXPECT_EQ(DateTime(2021, 3, 28, 2, 30).to_epoch_seconds(), 1616895000.0);
  // The naive difference counts wall-clock hours, as the host's does.
  EXPECT_EQ((DateTime(2021, 3, 28, 3) - DateTime(2021, 3, 28, 1)).total_seconds(), 7200.0);

  // Fall back on 2021-10-31: 02:30 happens twice; the flag chooses.
  EXPECT_EQ(DateTime(2021, 10, 31, 2, 30).to_epoch_seconds(1), 1635640200.0);
  EXPECT_EQ(DateTime(2021, 10, 31, 2, 30).to_epoch_seconds(0), 1635643800.0);
  EXPECT_EQ(DateTime::fromtimestamp(1635640200), DateTime(2021, 10, 31, 2, 30));
  EXPECT_EQ(DateTime::fromtimestamp(1635643800), DateTime(2021, 10, 31, 2, 30));

  const double moment = 1632265200.25;
  EXPECT_EQ(DateTime::fromtimestamp(moment).to_epoch_seconds(), moment);
}

TEST(DateTime, RepeatedLocalTimesFollowTheZone) {
  // Recent conversions are remembered: each moment, converted again among
  // more moments than are remembered, keeps its own local time on either
  // side of both changes.
  const struct {
    double seconds;
    DateTime local;
  } moments[] = {
      {1616893199, DateTime(2021, 3, 28, 1, 59, 59)},
      {1616893200, DateTime(2021, 3, 28, 3)},
      {1616893199.9999996, DateTime(2021, 3, 28, 3)},
      {1635640200, DateTime(2021, 10, 31, 2, 30)},
      {1635641999.5, DateTime(2021, 10, 31, 2, 59, 59, 500000)},
      {1635642000, DateTime(2021, 10, 31, 2)},
      {1635643800, DateTime(2021, 10, 31, 2, 30)},
      {1632297600, DateTime(2021, 9, 22, 10)},
  };
  for (int round = 0; round < 3; ++round) {
    for (const auto& moment : moments) {
      EXPECT_EQ(DateTime::fromtimestamp(moment.seconds), moment.local) << moment.seconds;
    }
  }
  // A moment converted before the zone changes is converted in the new zone.
  EXPECT_EQ(DateTime::fromtimestamp(1616893200), DateTime(2021, 3, 28, 3));
  {
    struct ZoneRestored {
      ~ZoneRestored() { tzset(); }
    } restored;
    const testing::ScopedEnvironment utc("TZ", "UTC");
    tzset();
    EXPECT_EQ(DateTime::fromtimestamp(1616893200), DateTime(2021, 3, 28, 1));
  }
  EXPECT_EQ(DateTime::fromtimestamp(1616893200), DateTime(2021, 3, 28, 3));
}

}  // namespace
}  // namespace tavo
