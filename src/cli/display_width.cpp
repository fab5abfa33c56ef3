#include "cli/display_width.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace tavo::cli {
namespace {

using Range = std::pair<char32_t, char32_t>;

// Combining marks, zero-width spaces and joiners, variation selectors.
constexpr std::array<Range, 9> zero_width{{
    {0x0300, 0x036F},
    {0x0483, 0x0489},
    {0x0591, 0x05BD},
    {0x1AB0, 0x1AFF},
    {0x1DC0, 0x1DFF},
    {0x200B, 0x200F},
    {0x20D0, 0x20FF},
    {0xFE00, 0xFE0F},
    {0xFE20, 0xFE2F},
}};

// East Asian wide and fullwidth characters, and the emoji blocks.
constexpr std::array<Range, 14> double_width{{
    {0x1100, 0x115F},
    {0x2E80, 0x303E},
    {0x3041, 0x33FF},
    {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},
    {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},
    {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF},
    {0x20000, 0x3FFFD},
}};

template <std::size_t N>
bool among(const std::array<Range, N>& ranges, char32_t c) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [c](const Range& range) { return range.first <= c && c <= range.second; });
}

std::size_t width_of(char32_t c) {
  if (among(zero_width, c)) return 0;
  return among(double_width, c) ? 2 : 1;
}

// The length of the UTF-8 sequence that `lead` begins; 0 for a byte that
// begins none.
std::size_t sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

bool is_continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The length of the whole UTF-8 character at the start of `text`; 0 when
// it does not begin with one.
std::size_t character_length(std::string_view text) {
  const std::size_t length = sequence_length(static_cast<unsigned char>(text.front()));
  if (length == 0 || length > text.size()) return 0;
  const bool whole = std::all_of(text.begin() + 1, text.begin() + static_cast<std::ptrdiff_t>(length),
                                 is_continuation);
  return whole ? length : 0;
}

char32_t decoded(std::string_view character) {
  const auto lead = static_cast<unsigned char>(character.front());
  if (character.size() == 1) return lead;
  char32_t c = lead & (0x7F >> character.size());
  for (const char byte : character.substr(1)) {
    c = (c << 6) | (static_cast<unsigned char>(byte) & 0x3F);
  }
  return c;
}

}  // namespace

std::size_t display_width(std::string_view utf8) {
  std::size_t width = 0;
  while (!utf8.empty()) {
    const std::size_t length = character_length(utf8);
    width += length == 0 ? 1 : width_of(decoded(utf8.substr(0, length)));
    utf8.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return width;
}

}  // namespace tavo::cli
