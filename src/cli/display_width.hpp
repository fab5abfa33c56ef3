// How many columns of a terminal a text takes: UTF-8 decoded, a combining
// mark or zero-width character 0, a wide East Asian character or emoji 2,
// every other character 1 (the card suits ♣♦♥♠ and umlauts among them).
// A byte that does not begin a valid UTF-8 character counts as one column.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavo::cli {

std::size_t display_width(std::string_view utf8);

}  // namespace tavo::cli
