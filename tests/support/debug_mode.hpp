// Debug checks of one Diagnostics switched on for a scope, counting the
// stops in the debugger.
#pragma once

#include "platform/diagnostics.hpp"

namespace tavo::testing {

class DebugMode {
 public:
  explicit DebugMode(platform::Diagnostics& diagnostics)
      : diagnostics_(diagnostics), saved_(diagnostics) {
    diagnostics_.debug_status = true;
    diagnostics_.debug_hook = [this] { ++stops_; };
  }
  ~DebugMode() { diagnostics_ = saved_; }
  DebugMode(const DebugMode&) = delete;
  DebugMode& operator=(const DebugMode&) = delete;

  // How often a check called the debug hook.
  int stops() const { return stops_; }

 private:
  platform::Diagnostics& diagnostics_;
  const platform::Diagnostics saved_;
  int stops_ = 0;
};

}  // namespace tavo::testing
