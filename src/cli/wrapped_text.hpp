// Text laid out for a terminal of a given width: each line broken at word
// boundaries so that no line is wider than the terminal (by display_width),
// the lines after a break indented as kkv indents the later lines of a
// question or an answer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavo::cli {

// The indent of a line continued after a break.
inline constexpr std::string_view continuation_indent = "   ";

// `text` (lines separated by '\n', no final line end) with each line
// broken at occurrences of `separator` where it would grow wider than
// `width` columns; blanks at a break are dropped, and each line after a
// break begins with continuation_indent. A word wider than a line stays
// whole on a line of its own.
std::string wrapped(std::string_view text, std::size_t width, std::string_view separator = " ");

}  // namespace tavo::cli
