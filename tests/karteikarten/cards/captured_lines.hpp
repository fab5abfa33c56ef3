// Collects the diagnostic lines printed while it lives, each ended by a
// newline, and restores the earlier output sink afterwards.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/diagnostics.hpp"

namespace tavo::kk::testing {

class CapturedLines {
 public:
  CapturedLines() : earlier_(std::move(platform::diagnostics().output_line)) {
    platform::diagnostics().output_line = [this](const std::string& line) { text_ += line + "\n"; };
  }
  CapturedLines(const CapturedLines&) = delete;
  CapturedLines& operator=(const CapturedLines&) = delete;
  ~CapturedLines() { platform::diagnostics().output_line = std::move(earlier_); }

  const std::string& text() const { return text_; }

 private:
  std::function<void(const std::string&)> earlier_;
  std::string text_;
};

}  // namespace tavo::kk::testing
