// Reading a line typed at the terminal on standard input with GNU
// readline: the person edits the line (arrows, backspace, Ctrl-A, Ctrl-E,
// ...) and steps back through the lines typed before in this run (Up,
// Ctrl-P). Ctrl-C (see interruption.hpp) ends the reading.
#pragma once

#include <optional>
#include <string>

namespace tavo::cli {

// The line typed after `prompt`, without its line end; nothing at the end
// of the input (Ctrl-D on an empty line) or once Ctrl-C was pressed. A line
// that is not empty joins the history.
std::optional<std::string> read_edited_line(const std::string& prompt);

}  // namespace tavo::cli
