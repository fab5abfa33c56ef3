// Past learning-day starts on a frozen clock; TZ=Europe/Berlin, which the test
// runner sets. Epoch values were computed independently with the host's
// time.mktime in that zone.
#include "platform/zeitberechnungen.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "platform/clock.hpp"
#include "platform/common_functions.hpp"
#include "value/errors.hpp"

namespace tavo::platform {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

class ZeitberechnungenTest : public ::testing::Test {
 protected:
  std::shared_ptr<FixedClock> clock_ = std::make_shared<FixedClock>(1632297600);  // 09-22 10:00
  Common_functions functions_{clock_};
  Zeitberechnungen zeit_{functions_, 3};
};

TEST_F(ZeitberechnungenTest, OldDateCountsLearningDaysBackFromTheReference) {
  zeit_.set_time(DateTime(2021, 9, 22, 10));
  EXPECT_EQ(zeit_.get_old_date(0), 1632272400.0);  // 2021-09-22 03:00
  EXPECT_EQ(zeit_.get_old_date(2), 1632099600.0);  // 2021-09-20 03:00
  zeit_.set_time(DateTime(2021, 9, 22, 2, 59, 59));
  EXPECT_EQ(zeit_.get_old_date(0), 1632186000.0);  // 2021-09-21 03:00
  EXPECT_EQ(zeit_.get_old_date(2), 1632013200.0);  // 2021-09-19 03:00
  // Across the spring-forward night.
  zeit_.set_time(DateTime(2021, 3, 29, 10));
  EXPECT_EQ(zeit_.get_old_date(0), 1616979600.0);  // 2021-03-29 03:00 CEST
  EXPECT_EQ(zeit_.get_old_date(1), 1616893200.0);  // 2021-03-28 03:00 CEST
  EXPECT_EQ(zeit_.get_old_date(2), 1616810400.0);  // 2021-03-27 03:00 CET, 23 hours earlier
  EXPECT_THAT([this] { zeit_.get_old_date(-1); },
              ThrowsMessage<ValueError>(StrEq("days must not be negative, got -1")));
}

TEST_F(ZeitberechnungenTest, WithoutAReferenceFollowsTheClock) {
  EXPECT_EQ(zeit_.get_old_date(0), 1632272400.0);
  clock_->set(1632358740);  // 2021-09-23 02:59, still the learning day of the 22nd
  EXPECT_EQ(zeit_.get_old_date(0), 1632272400.0);
  clock_->set(1632358800);  // 2021-09-23 03:00
  EXPECT_EQ(zeit_.get_old_date(0), 1632358800.0);
  // Also a clock installed later, as freezing the time does.
  functions_.set_fixed_now(1632270600);  // 2021-09-22 02:30
  EXPECT_EQ(zeit_.get_old_date(0), 1632186000.0);
}

TEST_F(ZeitberechnungenTest, OwnStartHour) {
  EXPECT_EQ(Zeitberechnungen(functions_, 0).get_old_date(0), 1632261600.0);  // 09-22 00:00
  EXPECT_THAT([this] { Zeitberechnungen(functions_, 24); },
              ThrowsMessage<ValueError>(StrEq("startzeit_tag must be in 0..23, got 24")));
}

TEST_F(ZeitberechnungenTest, LearningAheadShift) {
  EXPECT_EQ(zeit_.vorauslernen_sekunden_berechnen(1.5), 129600.0);
  EXPECT_THAT(
      [this] { zeit_.vorauslernen_sekunden_berechnen(-1); },
      ThrowsMessage<ValueError>(StrEq("vorauslernen_tage must be a finite number of days >= 0, "
                                      "got -1.0")));
  EXPECT_THROW(zeit_.vorauslernen_sekunden_berechnen(std::numeric_limits<double>::quiet_NaN()),
               ValueError);
}

}  // namespace
}  // namespace tavo::platform
