// kkv learn --ahead after some days of learning: each card of the window
// once, then the session's end and its figures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_kkv.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class KkvLearningAheadTest : public ::testing::Test {
 protected:
  // kkv with the data directory of this test, the clock frozen at `now`.
  KkvRun kkv_at(const std::string& now, std::vector<std::string> arguments,
                const std::string& input = "") {
    return run_kkv(with_test_options(std::move(arguments), directory_.path(), now), input);
  }

  TemporaryDirectory directory_;
};

std::string answers(int count, const std::string& answer) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += answer + "\n";
  return lines;
}

// The questions a transcript shows, as often as it shows them.
std::multiset<std::string> questions_of(const std::string& transcript) {
  std::multiset<std::string> questions;
  std::istringstream lines(transcript);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("Q: ")) questions.insert(line);
  }
  return questions;
}

TEST_F(KkvLearningAheadTest, ShowsEachCardOfTheWindowOnceAndEnds) {
  const std::string start = "2026-12-07 10:00";
  ASSERT_EQ(kkv_at(start, {"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  for (const auto& [key, value] : {std::pair{"maximale_wiederholungen_pro_tag", "200"},
                                   std::pair{"neue_karten_pro_tag", "20"}}) {
    const KkvRun set = kkv_at(start, {"settings", key, value});
    ASSERT_EQ(set.status, 0) << set.err;
  }
  for (const char* day : {"07", "08", "09", "10", "11", "12"}) {
    const KkvRun learnt = kkv_at(std::string("2026-12-") + day + " 10:00", {"learn"},
                                 answers(300, "3"));
    ASSERT_EQ(learnt.status, 0) << learnt.err;
    ASSERT_THAT(learnt.out, HasSubstr("No more cards for now.")) << day;
  }

  const KkvRun ahead =
      kkv_at("2026-12-19 10:00", {"learn", "--ahead", "5"}, answers(300, "3"));
  ASSERT_EQ(ahead.status, 0) << ahead.err;
  const std::multiset<std::string> shown = questions_of(ahead.out);
  EXPECT_GT(shown.size(), 5u);
  EXPECT_EQ(std::set<std::string>(shown.begin(), shown.end()).size(), shown.size())
      << "a card answered ahead came back";
  EXPECT_THAT(ahead.out, HasSubstr("No more cards for now. " + std::to_string(shown.size()) +
                                   " answers stored.\nTime: "));
  EXPECT_THAT(ahead.out, Not(HasSubstr("held back")));
  EXPECT_THAT(ahead.out, HasSubstr("Cards due now:            0\n"));
}

}  // namespace
}  // namespace tavo::testing
