// Diagnostic output and debug checks. Each environment holds one
// Diagnostics, which every part given that environment reports through.
//
// Reports such as a card's values go to one output sink, a function taking
// one line at a time (standard output by default; the Python binding sends
// the lines to the host's sys.stdout). Warnings, about damage the module
// recovered from, go to their own sink (standard error by default). Consistency checks act only
// while `debug_status` is on: a failed check calls the debug hook (by default it does nothing; the
// binding installs one that enters the host's debugger) and then throws AssertionError. With the
// flag off they cost one test.
#pragma once

#include <functional>
#include <string>

namespace tavo::platform {

struct Diagnostics {
  // The debug switch; off unless the host turns it on.
  bool debug_status = false;
  // Called before a failed check throws, and where the module stops in the
  // debugger after printing a message.
  std::function<void()> debug_hook = [] {};
  // Receives each diagnostic line without its line break.
  std::function<void(const std::string&)> output_line;
  // Receives each warning, without "warning: " and without its line break.
  std::function<void(const std::string&)> warning_line;

  Diagnostics();

  // Writes one line through the output sink.
  void print_line(const std::string& line) const;
  // Reports `message` through the warning sink.
  void warn(const std::string& message) const;
  // When debug_status is on and `condition` is false: calls the debug hook,
  // then throws AssertionError. Does nothing while debug_status is off.
  void check(bool condition) const;
  // When debug_status is on: prints `message` (unless empty) and calls the
  // debug hook, as the module does before a stop in the debugger.
  void stop(const std::string& message) const;
};

}  // namespace tavo::platform
