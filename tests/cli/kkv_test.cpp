// kkv driven through a pipe, as a script or a person's shell runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli/run_kkv.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

class KkvTest : public ::testing::Test {
 protected:
  // kkv with the data directory of this test, a frozen clock and a fixed seed.
  KkvRun kkv(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.end(), {"--data-dir", directory_.path().string(), "--now",
                                       "2026-03-02 10:00", "--seed", "1"});
    return run_kkv(arguments, input);
  }

  std::string write_file(const std::string& name, const std::string& text) {
    const auto path = directory_ / name;
    std::ofstream(path) << text;
    return path.string();
  }

  TemporaryDirectory directory_;
};

TEST_F(KkvTest, LearnsAnImportedDeckThroughAPipeAndTheNextSessionContinues) {
  const KkvRun imported = kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_THAT(imported.out, HasSubstr("new, 0 changed, 0 unchanged, 0 removed."));

  const KkvRun first = kkv({"learn"}, "3\nmaybe\n4 12\nq\n");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_THAT(first.out, HasSubstr("[1] kk_bridge (new)\nQ: "));
  EXPECT_THAT(first.out, HasSubstr("1 again  < 1min   2 hard  "));
  EXPECT_THAT(first.out, HasSubstr("3 good  < 10min   4 easy  4 Tage\nanswer> 3\n"));
  EXPECT_THAT(first.out, HasSubstr("answer> maybe\n   Answer 1 to 4 or again, hard, good, easy"));
  EXPECT_THAT(first.out, HasSubstr("   easy: due 2026-03-06 03:00 (4 Tage)"));
  EXPECT_THAT(first.out, HasSubstr("Session stopped. 2 answers stored."));

  const KkvRun second = kkv({"learn", "--collection", "kk_bridge"}, "1\n");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_THAT(second.out, HasSubstr("Session stopped. 1 answer stored."));

  const KkvRun stats = kkv({"stats", "--today"});
  ASSERT_EQ(stats.status, 0) << stats.err;
  EXPECT_THAT(stats.out, HasSubstr("Repetitions today:        3\n"));
  EXPECT_THAT(stats.out, HasSubstr("\"again\" today:            1\n"));
  EXPECT_THAT(stats.out, HasSubstr("Answer time today:        0.2 min\n"));
  EXPECT_THAT(stats.out, Not(HasSubstr("in total")));
}

TEST_F(KkvTest, DrillsTheForgottenCardsAndLeavesTheCollectionAsItWas) {
  ASSERT_EQ(kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  const KkvRun nothing = kkv({"drill"});
  ASSERT_EQ(nothing.status, 0) << nothing.err;
  EXPECT_THAT(nothing.out, HasSubstr("No card was answered \"again\" in the last 7 days."));

  ASSERT_EQ(kkv({"learn"}, "1\n3\n1\nq\n").status, 0);
  const std::string before = kkv({"analyse", "kk_bridge"}).out;
  const KkvRun drill = kkv({"drill", "--days", "2"}, "1\n4\n3\n3\n");
  ASSERT_EQ(drill.status, 0) << drill.err;
  EXPECT_THAT(drill.out, HasSubstr("Drilling kk_bridge_vergessen (2 cards)"));
  EXPECT_THAT(drill.out, HasSubstr("answer> 4\n   This card does not take \"easy\" now."));
  EXPECT_THAT(drill.out, HasSubstr("   good: done for this drill"));
  EXPECT_THAT(drill.out, HasSubstr("Drill done after 3 answers; back to normal learning with "
                                   "kk_bridge (43 cards)."));
  EXPECT_EQ(kkv({"analyse", "kk_bridge"}).out, before);

  const KkvRun too_far = kkv({"drill", "--days", "31"});
  EXPECT_EQ(too_far.status, 1);
  EXPECT_EQ(too_far.err, "kkv: the drill looks back 1 to 30 days, not 31\n");
}

TEST_F(KkvTest, ASelfCheckRunsOnlyWhenConfirmedAndTheReportShowsItsSituation) {
  ASSERT_EQ(kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  const KkvRun fresh = kkv({"analyse", "kk_bridge"});
  ASSERT_EQ(fresh.status, 0) << fresh.err;
  EXPECT_THAT(fresh.out, HasSubstr("laenge sammlung:  43\nlaenge neue_karten  43\n"));
  EXPECT_THAT(fresh.out, EndsWith("anzahl_offene_heute_schon_angesehen_nicht_erfolgreich:  0\n"));

  const KkvRun refused =
      kkv({"selfcheck", "test_verspaetung_und_neue", "--collection", "kk_bridge"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.out, HasSubstr("replaces the learning state of every card of kk_bridge"));
  EXPECT_EQ(refused.err, "kkv: nothing was changed; run again with --yes to go ahead\n");
  EXPECT_EQ(kkv({"analyse", "kk_bridge"}).out, fresh.out);

  const KkvRun late =
      kkv({"selfcheck", "test_verspaetung_und_neue", "--collection", "kk_bridge", "--yes"});
  ASSERT_EQ(late.status, 0) << late.err;
  const KkvRun report = kkv({"analyse", "kk_bridge"});
  ASSERT_EQ(report.status, 0) << report.err;
  EXPECT_THAT(report.out, HasSubstr("laenge neue_karten  22\n"));
  EXPECT_THAT(report.out, HasSubstr("faellig_heute laenge:  21\n"));
  ASSERT_EQ(kkv({"learn"}, "3\n").status, 0);

  const KkvRun unknown = kkv({"selfcheck", "test_bogus", "--collection", "kk_bridge", "--yes"});
  EXPECT_NE(unknown.status, 0);
  EXPECT_THAT(unknown.err, HasSubstr("SCENARIO: test_bogus not in {test_frueh,"));
}

TEST_F(KkvTest, ADeckWithABadLineImportsNothingAndNamesTheLine) {
  const std::string deck =
      write_file("deck.tsv", "# two cards and a bad line\nQ1\tA1\nQ2 without answer\nQ3\tA3\n");
  const KkvRun imported = kkv({"import", deck, "--name", "kk_deck"});
  EXPECT_EQ(imported.status, 1);
  EXPECT_EQ(imported.err,
            "kkv: " + deck + ":3: expected a question and an answer separated by one tab\n");

  const KkvRun learn = kkv({"learn"});
  EXPECT_EQ(learn.status, 1);
  EXPECT_THAT(learn.err, HasSubstr("no collection is stored in"));
}

TEST_F(KkvTest, SettingsOutsideTheirBoundsAreRefused) {
  const KkvRun refused = kkv({"settings", "STARTING_EASE", "100"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "kkv: setting 'STARTING_EASE' must be from 130 to 999, not 100\n");
  EXPECT_THAT(kkv({"settings", "STARTING_EASE"}).out, HasSubstr("STARTING_EASE  "));
  EXPECT_THAT(kkv({"settings", "STARTING_EASE"}).out, HasSubstr(" 250 "));

  ASSERT_EQ(kkv({"settings", "STARTING_EASE", "300"}).status, 0);
  const KkvRun all = kkv({"settings"});
  EXPECT_THAT(all.out, HasSubstr("STARTING_EASE"));
  EXPECT_THAT(all.out, HasSubstr(" 300 "));

  const KkvRun unknown = kkv({"settings", "NO_SUCH_SETTING", "1"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_THAT(unknown.err, HasSubstr("no setting 'NO_SUCH_SETTING'"));
}

TEST_F(KkvTest, EveryCommandHasHelpAndMistakesAreOneLineOnStandardError) {
  for (const char* command :
       {"learn", "drill", "import", "stats", "analyse", "selfcheck", "settings", "demo"}) {
    const KkvRun help = run_kkv({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_THAT(help.out, HasSubstr("Usage")) << command;
  }
  EXPECT_THAT(run_kkv({"--version"}).out, HasSubstr("kkv "));

  for (const std::vector<std::string>& mistake : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"import", "--name", "x"}, {"learn", "--ahead", "-1"}}) {
    const KkvRun run = run_kkv(mistake);
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  const KkvRun analyse = kkv({"analyse", "kk_none"});
  EXPECT_EQ(analyse.status, 1);
  EXPECT_THAT(analyse.err, HasSubstr("no collection 'kk_none' is stored"));
}

TEST_F(KkvTest, TheDemoLearnsTheBundledDeckOverThreeDays) {
  const KkvRun demo = kkv({"demo"});
  ASSERT_EQ(demo.status, 0) << demo.err;
  EXPECT_THAT(demo.out, HasSubstr("=== Day 1, 2026-03-02 09:00 ==="));
  EXPECT_THAT(demo.out, HasSubstr("=== Day 3, 2026-03-04 09:00 ==="));
  EXPECT_THAT(demo.out, HasSubstr("(review)"));
  EXPECT_THAT(demo.out, HasSubstr("(relearning)"));
  EXPECT_THAT(demo.out, Not(HasSubstr("Session stopped")));
}

}  // namespace
}  // namespace tavo::testing
