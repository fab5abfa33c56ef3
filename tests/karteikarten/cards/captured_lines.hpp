// Collects the lines printed through the output sink of one Diagnostics
// while it lives, each ended by a newline, and restores the earlier sink
// afterwards.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/diagnostics.hpp"

namespace tavo::kk::testing {

class CapturedLines {
 public:
  explicit CapturedLines(platform::Diagnostics& diagnostics)
      : diagnostics_(diagnostics), earlier_(std::move(diagnostics.output_line)) {
    diagnostics_.output_line = [this](const std::string& line) { text_ += line + "\n"; };
  }
  CapturedLines(const CapturedLines&) = delete;
  CapturedLines& operator=(const CapturedLines&) = delete;
  ~CapturedLines() { diagnostics_.output_line = std::move(earlier_); }

  const std::string& text() const { return text_; }

 private:
  platform::Diagnostics& diagnostics_;
  std::function<void(const std::string&)> earlier_;
  std::string text_;
};

}  // namespace tavo::kk::testing
