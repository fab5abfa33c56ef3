#include "cli/wrapped_text.hpp"

#include <vector>

#include "cli/display_width.hpp"

namespace tavo::cli {
namespace {

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  while (true) {
    const std::size_t at = text.find(separator);
    pieces.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return pieces;
    text.remove_prefix(at + separator.size());
  }
}

std::string without_trailing_blanks(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

bool only_blanks(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// One line of `text` broken into lines no wider than `width`, joined by
// '\n'.
std::string wrapped_line(std::string_view line, std::size_t width, std::string_view separator) {
  const std::vector<std::string_view> pieces = split(line, separator);
  std::string result;
  std::string current(pieces.front());
  bool just_broken = false;
  for (auto piece = pieces.begin() + 1; piece != pieces.end(); ++piece) {
    if (just_broken && piece->empty()) continue;
    std::string longer = current;
    longer.append(separator).append(*piece);
    if (display_width(longer) <= width || only_blanks(current)) {
      current = std::move(longer);
      just_broken = false;
      continue;
    }
    result += without_trailing_blanks(std::move(current)) + '\n';
    current = std::string(continuation_indent).append(*piece);
    just_broken = true;
  }
  return result + current;
}

}  // namespace

std::string wrapped(std::string_view text, std::size_t width, std::string_view separator) {
  const std::vector<std::string_view> lines = split(text, "\n");
  std::string result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) result += '\n';
    result += wrapped_line(lines[i], width, separator);
  }
  return result;
}

}  // namespace tavo::cli
