#include "cli/terminal.hpp"

#include <istream>
#include <ostream>

namespace tavo::cli {

Terminal::Terminal(std::istream& in, std::ostream& out, bool interactive)
    : in_(in), out_(out), interactive_(interactive) {}

std::optional<std::string> Terminal::ask(std::string_view prompt) {
  out_ << prompt << std::flush;
  std::string line;
  if (!std::getline(in_, line)) {
    out_ << '\n';
    return std::nullopt;
  }
  std::string answer(trimmed(line));
  if (!interactive_) out_ << answer << '\n';
  return answer;
}

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace tavo::cli
