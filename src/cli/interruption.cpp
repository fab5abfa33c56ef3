#include "cli/interruption.hpp"

#include <csignal>

namespace tavo::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void note_interruption(int) { interrupted = 1; }

}  // namespace

InterruptionWatch::InterruptionWatch() : previous_{} {
  interrupted = 0;
  struct sigaction action {};
  action.sa_handler = note_interruption;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  ::sigaction(SIGINT, &action, &previous_);
}

InterruptionWatch::~InterruptionWatch() { ::sigaction(SIGINT, &previous_, nullptr); }

bool interruption_requested() { return interrupted != 0; }

}  // namespace tavo::cli
