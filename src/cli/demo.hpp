// kkv demo: what a newcomer runs first. A scripted learner learns a deck
// over three simulated days in a fresh temporary application directory,
// and the whole transcript is printed.
#pragma once

#include <filesystem>
#include <iosfwd>

#include "platform/environment.hpp"

namespace tavo::cli {

// Runs the demo on the deck file `deck` in `environment`. The first day
// begins at 09:00 on the local date of `start` (seconds since the epoch);
// each day is a new session, as when a person opens the program in the
// morning. Points the environment's application data directory at the
// temporary one, which is gone afterwards, and freezes its clock.
void run_demo(platform::Environment& environment, const std::filesystem::path& deck, double start,
              std::ostream& out);

}  // namespace tavo::cli
