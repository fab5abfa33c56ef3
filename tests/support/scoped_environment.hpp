// Sets or clears an environment variable for the length of a scope and
// restores the earlier state afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tavo::testing {

class ScopedEnvironment {
 public:
  // Sets `name` to `value`, or removes it when `value` is empty.
  ScopedEnvironment(std::string name, const std::optional<std::string>& value)
      : name_(std::move(name)) {
    if (const char* current = std::getenv(name_.c_str())) earlier_ = current;
    if (value) {
      ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }

  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  ~ScopedEnvironment() {
    if (earlier_) {
      ::setenv(name_.c_str(), earlier_->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> earlier_;
};

}  // namespace tavo::testing
