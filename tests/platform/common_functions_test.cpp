// Learning days and local time on a frozen clock; TZ=Europe/Berlin, which the
// test runner sets. Epoch values were computed independently with the host's
// time.mktime in that zone.
#include "platform/common_functions.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.hpp"
#include "value/errors.hpp"

namespace tavo::platform {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

// Common_functions frozen at `seconds` since the epoch.
Common_functions at(double seconds) {
  Common_functions functions;
  functions.set_fixed_now(seconds);
  return functions;
}

TEST(LearningDayKey, ChangesAtTheStartHourWithoutLeadingZeros) {
  EXPECT_EQ(at(1632272399).get_datum_string_startzeit(3), "2021-9-21");   // 2021-09-22 02:59:59
  EXPECT_EQ(at(1632272400).get_datum_string_startzeit(3), "2021-9-22");   // 03:00:00
  EXPECT_EQ(at(1632261600).get_datum_string_startzeit(0), "2021-9-22");   // 00:00 with start 0
  EXPECT_EQ(at(1632344399).get_datum_string_startzeit(23), "2021-9-21");  // 22:59:59
  EXPECT_EQ(at(1632344400).get_datum_string_startzeit(23), "2021-9-22");  // 23:00:00
  EXPECT_EQ(at(1633042800).get_datum_string_startzeit(3), "2021-9-30");   // 2021-10-01 01:00
  EXPECT_EQ(at(1641002340).get_datum_string_startzeit(3), "2021-12-31");  // 2022-01-01 02:59
  EXPECT_EQ(at(1641002400).get_datum_string_startzeit(3), "2022-1-1");    // 2022-01-01 03:00
  EXPECT_EQ(at(1635643800).get_datum_string_startzeit(3), "2021-10-30");  // 10-31 02:30 CET
}

TEST(LearningDayStart, IsTheStartHourOfTheLearningDaysDateAcrossDaylightSavingChanges) {
  EXPECT_EQ(at(1632270600).get_startzeit_tag_today(3), 1632186000.0);  // 02:30 -> 09-21 03:00
  EXPECT_EQ(at(1632272400).get_startzeit_tag_today(3), 1632272400.0);  // 03:00 -> itself
  // 2021-03-28: 02:00 CET becomes 03:00 CEST, so that learning day is 23 hours.
  EXPECT_EQ(at(1616925600).get_startzeit_tag_today(3), 1616893200.0);  // 12:00 -> 03:00 CEST
  EXPECT_EQ(at(1616972400).get_startzeit_tag_today(3), 1616893200.0);  // 03-29 01:00 CEST
  EXPECT_EQ(at(1616893199).get_startzeit_tag_today(3), 1616810400.0);  // 01:59:59 CET -> 03-27
  // The next learning day begins 23 hours after that one did.
  EXPECT_EQ(at(1616925600).next_learning_day_start(3), 1616979600.0);
  EXPECT_EQ(at(1616893199).next_learning_day_start(3), 1616893200.0);
  // The start hour 02:00 does not exist that day; mktime moves it to 03:00.
  EXPECT_EQ(at(1616925600).get_startzeit_tag_today(2), 1616893200.0);
  EXPECT_EQ(at(1616893199).get_startzeit_tag_today(2), 1616806800.0);  // 03-27 02:00 CET
  // 2021-10-31: 03:00 CEST becomes 02:00 CET, so 02:00..02:59 happens twice
  // and both times still belong to the day before at start hour 3.
  EXPECT_EQ(at(1635640200).get_startzeit_tag_today(3), 1635555600.0);  // 02:30 CEST
  EXPECT_EQ(at(1635643800).get_startzeit_tag_today(3), 1635555600.0);  // 02:30 CET
  EXPECT_EQ(at(1635645600).get_startzeit_tag_today(3), 1635645600.0);  // 03:00 CET
  EXPECT_EQ(at(1635678000).get_startzeit_tag_today(3), 1635645600.0);  // 12:00 CET
}

TEST(NowOfLearningDay, MovesBackOneDayBeforeTheStartHour) {
  EXPECT_EQ(at(1632270615.5).get_now_startzeit(3), DateTime(2021, 9, 21, 2, 30, 15, 500000));
  EXPECT_EQ(at(1632272400).get_now_startzeit(3), DateTime(2021, 9, 22, 3));
  EXPECT_EQ(at(1632270600).get_now_startzeit(2), DateTime(2021, 9, 22, 2, 30));
  // 24 wall-clock hours back, even across the spring-forward night.
  EXPECT_EQ(at(1616972400).get_now_startzeit(3), DateTime(2021, 3, 28, 1));
}

// The fields of the local time structure at `seconds`, in declaration order.
std::vector<int> time_struct_at(double seconds) {
  const TimeStruct t = at(seconds).get_time_struct_now();
  return {t.tm_year, t.tm_mon,  t.tm_mday, t.tm_hour, t.tm_min,
          t.tm_sec,  t.tm_wday, t.tm_yday, t.tm_isdst};
}

TEST(TimeStruct, SummerWinterAndTheRepeatedHour) {
  // A Thursday in summer time; the fraction of a second is cut off.
  EXPECT_EQ(time_struct_at(1626343200.999999),
            (std::vector<int>{2021, 7, 15, 12, 0, 0, 3, 196, 1}));
  EXPECT_EQ(time_struct_at(1610708400), (std::vector<int>{2021, 1, 15, 12, 0, 0, 4, 15, 0}));
  // 2021-10-31 02:30 happens first in summer, then in winter time.
  EXPECT_EQ(time_struct_at(1635640200), (std::vector<int>{2021, 10, 31, 2, 30, 0, 6, 304, 1}));
  EXPECT_EQ(time_struct_at(1635643800), (std::vector<int>{2021, 10, 31, 2, 30, 0, 6, 304, 0}));
}

TEST(FixedNow, FreezesEveryReadingUntilCleared) {
  Common_functions functions;
  functions.set_fixed_now(1632297600.25);
  EXPECT_EQ(functions.get_now(), 1632297600.25);
  EXPECT_EQ(functions.get_datetime_now(), DateTime(2021, 9, 22, 10, 0, 0, 250000));
  functions.clear_fixed_now();
  EXPECT_NE(dynamic_cast<const SystemClock*>(&functions.clock()), nullptr);
}

TEST(StartHour, OutsideTheDayIsRejected) {
  const Common_functions functions = at(1632297600);
  EXPECT_THAT([&] { functions.get_datum_string_startzeit(24); },
              ThrowsMessage<ValueError>(StrEq("startzeit_tag must be in 0..23, got 24")));
  EXPECT_THAT([&] { functions.get_startzeit_tag_today(-1); },
              ThrowsMessage<ValueError>(StrEq("startzeit_tag must be in 0..23, got -1")));
  EXPECT_THROW(functions.get_now_startzeit(24), ValueError);
}

}  // namespace
}  // namespace tavo::platform
