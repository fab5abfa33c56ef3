// kkv in English and German: chosen by --lang or the locale, and what a
// learner sees when the German catalogue cannot be used.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/run_kkv.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* german_buttons =
    "1 again  < 1min   2 hard  Ende   3 good  < 10min   4 easy  4 Tage\n";
constexpr const char* english_buttons =
    "1 again  < 1 min   2 hard  —   3 good  < 10 min   4 easy  4 days\n";

KkvRun demo(const std::vector<std::string>& options) {
  std::vector<std::string> arguments = options;
  arguments.push_back("demo");
  return run_kkv(with_test_options(arguments, TemporaryDirectory().path(), "2026-03-02 10:00"));
}

TEST(KkvLanguage, ChosenByOptionOrLocale) {
  const struct {
    std::vector<std::string> options;
    std::optional<std::string> lang;
    std::optional<std::string> lc_all;
    const char* buttons;
    const char* day_line;
  } cases[] = {
      {{}, std::nullopt, std::nullopt, english_buttons, "=== Day 1, "},
      {{"--lang", "de"}, std::nullopt, std::nullopt, german_buttons, "=== Tag 1, "},
      {{}, "de_DE.UTF-8", std::nullopt, german_buttons, "=== Tag 1, "},
      {{}, "de_DE.UTF-8", "C", english_buttons, "=== Day 1, "},
      {{"--lang=en"}, "de_DE.UTF-8", std::nullopt, english_buttons, "=== Day 1, "},
  };
  for (const auto& c : cases) {
    const ScopedEnvironment lang("LANG", c.lang);
    const ScopedEnvironment lc_all("LC_ALL", c.lc_all);
    const KkvRun run = demo(c.options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr(c.buttons)) << c.lang.value_or("-");
    EXPECT_THAT(run.out, HasSubstr(c.day_line)) << c.lang.value_or("-");
  }
}

TEST(KkvLanguage, UnknownLanguageOrUnusableCatalogueIsOneLine) {
  const KkvRun unknown = demo({"--lang", "fr"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "kkv: --lang: fr not in {en,de} (see kkv demo --help)\n");
  EXPECT_EQ(unknown.out, "");

  const TemporaryDirectory empty;
  const ScopedEnvironment catalogues("KKV_LOCALEDIR", empty.path().string());
  const KkvRun missing = demo({"--lang", "de"});
  ASSERT_EQ(missing.status, 0) << missing.err;
  EXPECT_EQ(missing.err, "kkv: the message catalogue \"" + empty.path().string() +
                             "/de/LC_MESSAGES/kkv.mo\" is missing; the texts stay in English\n");
  EXPECT_THAT(missing.out, StartsWith("kkv demo: 43 cards from "));
  EXPECT_THAT(missing.out, HasSubstr(german_buttons));
}

}  // namespace
}  // namespace tavo::testing
