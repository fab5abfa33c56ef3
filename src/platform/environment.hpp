// Environment: what the world gives the module.
//
// The clock (as the host's `Common_functions`), the application data
// directory, the random source, the diagnostics and the host's hands. The
// manager and the collection container take one at construction and hand
// it to their components and collections; nothing in the library reaches
// for a process-wide instance. The Python package creates one for the
// process (what the host sees as `cf`, `pd` and `ih`); kkv builds one from
// its options; tests build their own. An Environment must outlive every
// object that was given it.
#pragma once

#include <optional>
#include <string>

#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "platform/importiere_haende.hpp"
#include "platform/random_source.hpp"
#include "value/date_time.hpp"

namespace tavo::platform {

class Environment {
 public:
  // The system clock, the data directory looked up in the process's
  // variables at each use, a random source seeded from the system's
  // entropy, diagnostics on standard output and standard error, no hands.
  Environment();
  // The same with the data directory `data_dir` (a trailing '/' is added
  // when missing).
  explicit Environment(std::string data_dir);

  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

  // The application data directory, always ending in '/': the one given at
  // construction or by use_app_data_dir, else GetCwd's lookup
  // ($TAVO_DATA_DIR, $XDG_DATA_HOME/tavo/, ~/.local/share/tavo/).
  std::string app_data_dir() const;
  // Makes `data_dir` the application data directory from now on (a
  // trailing '/' is added when missing).
  void use_app_data_dir(std::string data_dir);
  // The legacy shelve file of the collection `name`:
  // app_data_dir() + "legacy/" + name + ".dat". ValueError when `name` is
  // not a plain file name: empty, "." or "..", or containing '/', '\\' or a
  // NUL byte.
  std::string legacy_collection_file(const std::string& name) const;

  // Every date and time of the module.
  Common_functions cf;
  // Jitter values and random orders.
  RandomSource random;
  // The debug switch and hook, the output and warning sinks.
  Diagnostics diagnostics;
  // The host's hands, by "<module>.hand<number>".
  Importiere_haende hands;
  // cf's present moment when the environment was created, that is when the
  // module was loaded: the forgotten-cards choice counts back from it. A
  // host that freezes the clock for a whole run sets it to that moment.
  DateTime start_date;

 private:
  std::optional<std::string> data_dir_;
};

}  // namespace tavo::platform
