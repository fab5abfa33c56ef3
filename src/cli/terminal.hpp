// The person at the terminal, or a script standing in for one. The one
// place that knows what standard input and output are.
//
// Standard input a terminal: each line is read with line editing and the
// history of the run (line_editor.hpp), and the typing appears on screen
// by itself. Otherwise each line read is echoed after its prompt, so that
// both transcripts read alike.
//
// Standard output a terminal: shown texts are wrapped at its width (read
// anew for every text, so that a resized window is followed) and, unless
// NO_COLOR is set to a text that is not empty, coloured by their style.
// Otherwise texts go out exactly as given.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace tavo::cli {

// What a shown text is, for its colour.
enum class Style { plain, header, question, answer, buttons };

// Where a shown line too wide for the terminal may break: at any blank, or
// only between items set three blanks apart (the answer buttons).
enum class Breaks { at_blanks, between_items };

class Terminal {
 public:
  // Streams that are no terminal (a script's, the demo's): no line
  // editing, no colours, no wrapping.
  Terminal(std::istream& in, std::ostream& out);

  // The program's standard input and output, each taken for what it is.
  // A terminal narrower than narrowest_wrapped_width is said in one line
  // on standard error; its lines are then not wrapped.
  static Terminal standard();

  // Shows `prompt` and reads one line, without its line end and trimmed of
  // blanks; nothing at the end of the input or once Ctrl-C was pressed
  // (interruption.hpp), after ending the prompt's line.
  std::optional<std::string> ask(std::string_view prompt);

  // Shows `text` (lines separated by '\n') and a line end, in `style`,
  // wrapped as described above.
  void show(std::string_view text, Style style = Style::plain,
            Breaks breaks = Breaks::at_blanks);

  // For texts that need no wrapping or colour (an empty line, figures).
  std::ostream& out() { return out_; }
  // A person types at a terminal.
  bool interactive() const { return line_editing_; }

  // Narrower terminals get their lines unwrapped.
  static constexpr std::size_t narrowest_wrapped_width = 20;

 private:
  Terminal(std::istream& in, std::ostream& out, bool line_editing, bool output_is_terminal,
           bool colours);

  // The width to wrap at now: the terminal's, or nothing.
  std::optional<std::size_t> wrapping_width() const;

  std::istream& in_;
  std::ostream& out_;
  bool line_editing_;
  bool output_is_terminal_;
  bool colours_;
};

// The blanks-trimmed middle of `text`.
std::string_view trimmed(std::string_view text);

}  // namespace tavo::cli
