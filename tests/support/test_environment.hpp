// An environment of one test's own: a fresh application data directory and
// the clock frozen at a given moment.
#pragma once

#include "platform/environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {

struct TestEnvironment {
  // The clock frozen at `now`, seconds since the epoch.
  explicit TestEnvironment(double now) { environment.cf.set_fixed_now(now); }

  TemporaryDirectory data_dir;
  platform::Environment environment{data_dir.path().string()};
};

}  // namespace tavo::testing
