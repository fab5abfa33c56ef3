// kkv learn at a terminal: colours unless NO_COLOR says otherwise, texts
// wrapped at the terminal's width by display columns, lines edited and
// recalled with readline, and Ctrl-C ending the session with its summary.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "cli/kkv_on_terminal.hpp"
#include "cli/run_kkv.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Every card has this answer: 50 bytes but 37 columns up to "größere".
constexpr const char* long_answer =
    "♠♥♦♣ Überstiche zählen für größere Farbe und mehr Wörter folgen danach hier";

std::string without_colours(const std::string& text) {
  return std::regex_replace(text, std::regex("\x1b\\[[0-9;]*m"), "");
}

int occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(KkvOnTerminalTest, ColoursWrappingLineEditingHistoryAndCtrlC) {
  struct Case {
    std::string name;
    unsigned short columns;
    std::vector<std::pair<std::string, std::string>> environment;
    bool coloured;
    std::string answer_shown;
  };
  const std::string wrapped_at_40 =
      "A: ♠♥♦♣ Überstiche zählen für größere\n"
      "   Farbe und mehr Wörter folgen danach\n"
      "   hier\n";
  const std::vector<Case> cases{
      {"colours by default", 40, {}, true, wrapped_at_40},
      {"NO_COLOR empty", 40, {{"NO_COLOR", ""}}, true, wrapped_at_40},
      {"NO_COLOR=1", 40, {{"NO_COLOR", "1"}}, false, wrapped_at_40},
      {"too narrow to wrap", 15, {{"NO_COLOR", "1"}}, false,
       std::string("A: ") + long_answer + "\n"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const TemporaryDirectory directory;
    const auto deck = directory / "deck.tsv";
    std::ofstream(deck) << "Q1\t" << long_answer << "\nQ2\t" << long_answer << "\nQ3\t"
                        << long_answer << "\n";
    const auto options = [&](std::vector<std::string> arguments) {
      return with_test_options(std::move(arguments), directory.path(), "2026-03-02 10:00");
    };
    ASSERT_EQ(run_kkv(options({"import", deck.string(), "--name", "kk_deck"})).status, 0);

    KkvOnTerminal kkv(options({"learn"}), test.columns, test.environment);
    const std::string enter_prompt = "q stops) ";
    kkv.read_until(enter_prompt);
    kkv.type("\r");
    kkv.read_until("answer> ");
    // A wrong key, Backspace, the right one.
    kkv.type("x\x7f" "3\r");
    kkv.read_until(enter_prompt);
    kkv.type("\r");
    kkv.read_until("answer> ");
    // Ctrl-P brings back the line typed before.
    kkv.type("\x10\r");
    kkv.read_until(enter_prompt);
    kkv.type("?\r");
    kkv.read_until(enter_prompt, "   ?       this list\n");
    kkv.type("\x03");
    EXPECT_EQ(kkv.finish(), 130);

    const std::string shown = kkv.output();
    EXPECT_EQ(occurrences(shown, "   good: due "), 2) << shown;
    EXPECT_THAT(without_colours(shown), HasSubstr(test.answer_shown));
    EXPECT_THAT(shown, HasSubstr("\nSession stopped. 2 answers stored.\n"));
    if (test.coloured) {
      EXPECT_THAT(shown, HasSubstr("\x1b[32mA: ♠♥♦♣ Überstiche zählen für größere\x1b[0m\n"));
      EXPECT_THAT(shown, HasSubstr("\x1b[1mQ: Q"));
    } else {
      EXPECT_THAT(shown, Not(HasSubstr("\x1b[")));
    }
    EXPECT_EQ(test.columns < 20,
              shown.starts_with("kkv: the terminal is 15 columns wide, fewer than 20; lines are "
                                "shown unwrapped\n"));
  }
}

}  // namespace
}  // namespace tavo::testing
