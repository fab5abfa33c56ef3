// Environments for tests.
//
// TestEnvironment is one test's own: a fresh application data directory
// and the clock frozen at a given moment. test_environment() is the one
// the tests of one program share: the clock they freeze, the diagnostics
// they switch, and the data directory of $TAVO_DATA_DIR, which each test
// sets to a directory of its own.
#pragma once

#include "platform/environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo {

namespace testing {

struct TestEnvironment {
  // The clock frozen at `now`, seconds since the epoch.
  explicit TestEnvironment(double now) { environment.cf.set_fixed_now(now); }

  TemporaryDirectory data_dir;
  platform::Environment environment{data_dir.path().string()};
};

}  // namespace testing

inline platform::Environment& test_environment() {
  static platform::Environment environment;
  return environment;
}

}  // namespace tavo
