// Collects the diagnostic lines printed while it lives, and restores the
// earlier output sink afterwards.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/diagnostics.hpp"

namespace tavo::kk::testing {

class CapturedLines {
 public:
  CapturedLines() : earlier_(std::move(platform::diagnostics().output_line)) {
    platform::diagnostics().output_line = [this](const std::string& line) {
      lines_.push_back(line);
    };
  }
  CapturedLines(const CapturedLines&) = delete;
  CapturedLines& operator=(const CapturedLines&) = delete;
  ~CapturedLines() { platform::diagnostics().output_line = std::move(earlier_); }

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::function<void(const std::string&)> earlier_;
  std::vector<std::string> lines_;
};

}  // namespace tavo::kk::testing
