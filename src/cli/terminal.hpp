// The person at the terminal, or a script standing in for one.
//
// Reading from a terminal, the person's typing appears on screen by itself;
// reading from a pipe, each line read is echoed after its prompt, so that
// both transcripts read alike.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace tavo::cli {

class Terminal {
 public:
  // `interactive`: `in` is a terminal a person types at.
  Terminal(std::istream& in, std::ostream& out, bool interactive);

  // Shows `prompt` and reads one line, without its line end and trimmed of
  // blanks; nothing at the end of the input.
  std::optional<std::string> ask(std::string_view prompt);

  std::ostream& out() { return out_; }
  bool interactive() const { return interactive_; }

 private:
  std::istream& in_;
  std::ostream& out_;
  bool interactive_;
};

// The blanks-trimmed middle of `text`.
std::string_view trimmed(std::string_view text);

}  // namespace tavo::cli
