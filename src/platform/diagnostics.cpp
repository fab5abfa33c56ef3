// The output and warning sinks and the debug checks.
#include "platform/diagnostics.hpp"

#include <iostream>

#include "value/errors.hpp"

namespace tavo::platform {

Diagnostics::Diagnostics()
    : output_line([](const std::string& line) { std::cout << line << '\n'; }),
      warning_line(
          [](const std::string& message) { std::cerr << "warning: " << message << '\n'; }) {}

void Diagnostics::print_line(const std::string& line) const { output_line(line); }

void Diagnostics::warn(const std::string& message) const { warning_line(message); }

void Diagnostics::check(bool condition) const {
  if (!debug_status || condition) return;
  debug_hook();
  throw AssertionError();
}

void Diagnostics::stop(const std::string& message) const {
  if (!debug_status) return;
  if (!message.empty()) print_line(message);
  debug_hook();
}

}  // namespace tavo::platform
