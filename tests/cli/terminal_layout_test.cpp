// Texts laid out for a terminal: widths in display columns, lines broken at
// word boundaries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/display_width.hpp"
#include "cli/wrapped_text.hpp"

namespace tavo::cli {
namespace {

TEST(TerminalLayoutTest, DisplayWidthCountsColumnsNotBytes) {
  struct Case {
    std::string text;
    std::size_t width;
  };
  for (const Case& test : std::vector<Case>{
           {"", 0},
           {"good", 4},
           {"♠♥♦♣", 4},
           {"Überstiche größer", 17},
           {"日本語", 6},
           {"e\xcc\x81", 1},      // e and a combining acute accent
           {"a\xff" "b", 3},      // a stray byte counts one column
           {"\xe2\x99", 2},       // so does each byte of a cut sequence
       }) {
    EXPECT_EQ(display_width(test.text), test.width) << test.text;
  }
}

TEST(TerminalLayoutTest, LinesBreakAtWordBoundariesWithinTheWidth) {
  struct Case {
    std::string text;
    std::size_t width;
    std::string separator;
    std::string laid_out;
  };
  for (const Case& test : std::vector<Case>{
           {"A: short", 20, " ", "A: short"},
           {"A: one two three four", 13, " ", "A: one two\n   three four"},
           {"A: ♠♥♦♣ Überstiche größer", 24, " ", "A: ♠♥♦♣ Überstiche\n   größer"},
           {"Q: 日本語 日本語 日本語", 16, " ", "Q: 日本語 日本語\n   日本語"},
           {"A: first line\n   second line", 11, " ",
            "A: first\n   line\n   second\n   line"},
           {"A: Unbreakablewordlongerthanwidth end", 10, " ",
            "A:\n   Unbreakablewordlongerthanwidth\n   end"},
           {"   1 again  < 1 min   2 hard  —   3 good  < 10 min", 24, "   ",
            "   1 again  < 1 min\n   2 hard  —\n   3 good  < 10 min"},
           {"A: two  blanks kept", 40, " ", "A: two  blanks kept"},
           {"A: two  blanks", 7, " ", "A: two\n   blanks"},
       }) {
    EXPECT_EQ(wrapped(test.text, test.width, test.separator), test.laid_out) << test.text;
  }
}

}  // namespace
}  // namespace tavo::cli
