// Ctrl-C during a session. While a watch is alive, SIGINT only sets a flag:
// whatever runs, such as storing an answer, finishes undisturbed. The
// handler is installed without SA_RESTART, so that a blocking read of the
// input returns (EINTR); the reader sees the flag and stops asking, and the
// session ends as if the person had typed q.
#pragma once

#include <signal.h>

namespace tavo::cli {

class InterruptionWatch {
 public:
  // Clears the flag and installs the handler.
  InterruptionWatch();
  // Puts back the action SIGINT had before.
  ~InterruptionWatch();

  InterruptionWatch(const InterruptionWatch&) = delete;
  InterruptionWatch& operator=(const InterruptionWatch&) = delete;

 private:
  struct sigaction previous_;
};

// True once SIGINT came while a watch was alive.
bool interruption_requested();

}  // namespace tavo::cli
