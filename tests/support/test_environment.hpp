// The environment the tests of one test program give the library: the
// clock they freeze, the diagnostics they switch, the data directory of
// $TAVO_DATA_DIR that each test sets to a directory of its own.
#pragma once

#include "support/test_environment.hpp"
#include "platform/environment.hpp"

namespace tavo {

inline platform::Environment& test_environment() { return platform::process_environment(); }

}  // namespace tavo
