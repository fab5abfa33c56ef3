// Debug checks switched on for a scope, counting the stops in the debugger.
#pragma once

#include "platform/diagnostics.hpp"

namespace tavo::testing {

class DebugMode {
 public:
  DebugMode() {
    platform::diagnostics().debug_status = true;
    platform::diagnostics().debug_hook = [this] { ++stops_; };
  }
  ~DebugMode() { platform::diagnostics() = saved_; }
  DebugMode(const DebugMode&) = delete;
  DebugMode& operator=(const DebugMode&) = delete;

  // How often a check called the debug hook.
  int stops() const { return stops_; }

 private:
  const platform::Diagnostics saved_ = platform::diagnostics();
  int stops_ = 0;
};

}  // namespace tavo::testing
