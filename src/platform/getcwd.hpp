// Where the module keeps its files.
#pragma once

#include <string>

namespace tavo::platform {

// Locates the application's data directory from the environment.
class GetCwd {
 public:
  // The data directory, always ending in exactly one '/':
  //   1. $TAVO_DATA_DIR when set and non-empty;
  //   2. else $XDG_DATA_HOME/tavo/ when XDG_DATA_HOME is set and non-empty;
  //   3. else $HOME/.local/share/tavo/, with the home directory taken from
  //      the user's passwd entry when HOME is unset or empty.
  // Creates nothing on disk. Throws std::runtime_error (std::system_error
  // when the lookup itself fails) when no home directory can be found.
  std::string get_app_data_dir() const;
};

}  // namespace tavo::platform
