#include "cli/terminal.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "cli/interruption.hpp"
#include "cli/line_editor.hpp"
#include "cli/translation.hpp"
#include "cli/wrapped_text.hpp"

namespace tavo::cli {
namespace {

// The columns of the terminal on standard output; nothing when it is none
// or does not know its size.
std::optional<std::size_t> output_columns() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return std::nullopt;
  return size.ws_col;
}

// Colours are wanted unless NO_COLOR is set to a text that is not empty.
bool colours_wanted() {
  const char* no_color = std::getenv("NO_COLOR");
  return no_color == nullptr || *no_color == '\0';
}

// The ANSI select-graphic-rendition sequence of `style`; empty for plain.
std::string_view colour_of(Style style) {
  switch (style) {
    case Style::header: return "\x1b[2m";
    case Style::question: return "\x1b[1m";
    case Style::answer: return "\x1b[32m";
    case Style::buttons: return "\x1b[36m";
    case Style::plain: break;
  }
  return "";
}

constexpr std::string_view colour_end = "\x1b[0m";

// `text` with each of its lines in `colour`.
std::string coloured(std::string_view text, std::string_view colour) {
  std::string result;
  while (true) {
    const std::size_t end = text.find('\n');
    result.append(colour).append(text.substr(0, end)).append(colour_end);
    if (end == std::string_view::npos) return result;
    result += '\n';
    text.remove_prefix(end + 1);
  }
}

void warn_of_narrow_terminal() {
  const std::optional<std::size_t> columns = output_columns();
  if (!columns || *columns >= Terminal::narrowest_wrapped_width) return;
  std::cerr << "kkv: "
            << trf("the terminal is {} columns wide, fewer than {}; lines are shown unwrapped",
                   *columns, Terminal::narrowest_wrapped_width)
            << "\n";
}

}  // namespace

Terminal::Terminal(std::istream& in, std::ostream& out) : Terminal(in, out, false, false, false) {}

Terminal::Terminal(std::istream& in, std::ostream& out, bool line_editing, bool output_is_terminal,
                   bool colours)
    : in_(in),
      out_(out),
      line_editing_(line_editing),
      output_is_terminal_(output_is_terminal),
      colours_(colours) {}

Terminal Terminal::standard() {
  const bool output_is_terminal = ::isatty(STDOUT_FILENO) == 1;
  if (output_is_terminal) warn_of_narrow_terminal();
  return Terminal(std::cin, std::cout, ::isatty(STDIN_FILENO) == 1, output_is_terminal,
                  output_is_terminal && colours_wanted());
}

std::optional<std::string> Terminal::ask(std::string_view prompt) {
  if (interruption_requested()) return std::nullopt;
  std::optional<std::string> line;
  if (line_editing_) {
    out_ << std::flush;
    line = read_edited_line(std::string(prompt));
  } else {
    out_ << prompt << std::flush;
    line.emplace();
    if (!std::getline(in_, *line)) line.reset();
  }
  if (!line) {
    out_ << '\n';
    return std::nullopt;
  }
  std::string answer(trimmed(*line));
  if (!line_editing_) out_ << answer << '\n';
  return answer;
}

void Terminal::show(std::string_view text, Style style, Breaks breaks) {
  std::string laid_out(text);
  if (const std::optional<std::size_t> width = wrapping_width()) {
    laid_out = wrapped(text, *width, breaks == Breaks::between_items ? "   " : " ");
  }
  if (colours_ && style != Style::plain) laid_out = coloured(laid_out, colour_of(style));
  out_ << laid_out << '\n';
}

std::optional<std::size_t> Terminal::wrapping_width() const {
  if (!output_is_terminal_) return std::nullopt;
  const std::optional<std::size_t> columns = output_columns();
  if (!columns || *columns < narrowest_wrapped_width) return std::nullopt;
  return columns;
}

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace tavo::cli
