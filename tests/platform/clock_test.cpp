#include "platform/clock.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "value/errors.hpp"

namespace tavo::platform {
namespace {

TEST(FixedClock, MovesOnlyToFiniteTimes) {
  EXPECT_THAT([] { FixedClock(std::nan("")); },
              ::testing::ThrowsMessage<ValueError>(
                  ::testing::StrEq("a fixed time must be a finite number of seconds, got nan")));
  FixedClock clock(1632297600.25);
  clock.advance(86400);
  EXPECT_EQ(clock.now(), 1632384000.25);
  EXPECT_THROW(clock.advance(std::numeric_limits<double>::infinity()), ValueError);
  EXPECT_THROW(clock.set(std::numeric_limits<double>::infinity()), ValueError);
  EXPECT_EQ(clock.now(), 1632384000.25);
}

}  // namespace
}  // namespace tavo::platform
