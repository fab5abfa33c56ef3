// kkv driven through a pipe, as a script or a person's shell runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_kkv.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

using ::testing::ContainsRegex;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

class KkvTest : public ::testing::Test {
 protected:
  // kkv with the data directory of this test, a frozen clock and a fixed seed.
  KkvRun kkv(std::vector<std::string> arguments, const std::string& input = "") {
    return run_kkv(with_test_options(std::move(arguments), directory_.path(), "2026-03-02 10:00"),
                   input);
  }

  std::string write_file(const std::string& name, const std::string& text) {
    const auto path = directory_ / name;
    std::ofstream(path) << text;
    return path.string();
  }

  // Every file of the data directory but the lock, with its bytes: what a
  // writer would change, a daily copy included.
  std::map<std::string, std::string> stored_files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory_.path())) {
      if (!entry.is_regular_file() || entry.path().filename() == "kkv.lock") continue;
      std::ostringstream bytes;
      bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
      files[entry.path().string()] = bytes.str();
    }
    return files;
  }

  TemporaryDirectory directory_;
};

TEST_F(KkvTest, LearnsAnImportedDeckThroughAPipeAndTheNextSessionContinues) {
  const KkvRun imported = kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_THAT(imported.out, HasSubstr("new, 0 changed, 0 renamed, 0 unchanged, 0 removed."));

  const KkvRun first = kkv({"learn"}, "3\nmaybe\n?\n4 12\nq\n");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_THAT(first.out, HasSubstr("u undoes the last answer, q stops; ? lists the keys.\n\n"
                                   "[1] kk_bridge · 0 due · 5 new · 0 learning\nQ: "));
  EXPECT_THAT(first.out,
              HasSubstr("1 again  < 1 min   2 hard  —   3 good  < 10 min   4 easy  4 days\n"
                        "answer> 3\n"));
  EXPECT_THAT(first.out, HasSubstr("\n[2] kk_bridge · 0 due · 4 new · 1 learning\nQ: "));
  EXPECT_THAT(first.out, HasSubstr("answer> maybe\n   Answer 1 to 4 or again, hard, good, easy"));
  EXPECT_THAT(first.out,
              HasSubstr("answer> ?\n"
                        "   1-4 or again, hard, good, easy   answer; a number after it gives the "
                        "seconds taken\n"
                        "   Enter   show the answer\n"
                        "   u       undo the last answer and show its card again\n"
                        "   q       stop (Ctrl-D and Ctrl-C stop too)\n"
                        "   ?       this list\n"
                        "answer> 4 12\n"));
  EXPECT_THAT(first.out, HasSubstr("   easy: due 2026-03-06 03:00 (4 days)"));
  EXPECT_THAT(first.out, HasSubstr("\n[3] kk_bridge · 0 due · 3 new · 1 learning\nQ: "));
  // The session's time is the steady clock's, not the frozen one.
  EXPECT_THAT(first.out, ContainsRegex("answer> q\nSession stopped. 2 answers stored.\n"
                                       "Time: [0-9]+\\.[0-9] min; \"again\": 0% of the "
                                       "answers.\nNext card due: 2026-03-02 10:10 \\(< 10 min\\)\n"));

  // The input ends (Ctrl-D) after one answer.
  const KkvRun second = kkv({"learn", "--collection", "kk_bridge"}, "1\n");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_THAT(second.out, HasSubstr("[1] kk_bridge · 0 due · 3 new · 1 learning\nQ: "));
  EXPECT_THAT(second.out, ContainsRegex("answer> \nSession stopped. 1 answer stored.\n"
                                        "Time: [0-9.]+ min; \"again\": 100% of the answers.\n"));

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
  EXPECT_THAT(drill.out, HasSubstr("[1] kk_bridge · 2 left\nQ: "));
  EXPECT_THAT(drill.out, HasSubstr("[3] kk_bridge · 1 left\nQ: "));
  EXPECT_THAT(drill.out, HasSubstr("answer> 4\n   This card does not take \"easy\" now."));
  EXPECT_THAT(drill.out, HasSubstr("   good: done for this drill"));
  EXPECT_THAT(drill.out, ContainsRegex("Drill done after 3 answers; back to normal learning with "
                                       "kk_bridge \\(43 cards\\).\nTime: [0-9.]+ min; \"again\": "
                                       "33% of the answers.\nNext card due: "));
  EXPECT_EQ(kkv({"analyse", "kk_bridge"}).out, before);

  // The drill looks back as far as the stored setting allows, and its help
  // says so.
  const KkvRun too_far = kkv({"drill", "--days", "31"});
  EXPECT_EQ(too_far.status, 2);
  EXPECT_EQ(too_far.err,
            "kkv: --days: the drill looks back 1 to 30 days (the setting "
            "vergessen_in_letzten_tagen_groesstmoeglicher_wert), not 31 (see kkv drill --help)\n");
  const auto help = [&] { return run_kkv({"drill", "--help", "--data-dir", directory_.path()}); };
  EXPECT_THAT(help().out, HasSubstr("  --days INT in [1 - 30]=7 "));
  ASSERT_EQ(kkv({"settings", "vergessen_in_letzten_tagen_groesstmoeglicher_wert", "60"}).status, 0);
  EXPECT_THAT(help().out, HasSubstr("  --days INT in [1 - 60]=7 "));
  EXPECT_EQ(kkv({"drill", "--days", "31"}).status, 0);
}

TEST_F(KkvTest, CtrlCEndsASessionWithItsSummaryAndStatus130AndKeepsTheAnswers) {
  ASSERT_EQ(kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  struct Interruption {
    std::vector<std::string> arguments;
    // What the second card's header says after the answer "1".
    std::string second_header;
    std::string summary;
  };
  for (const Interruption& interruption : std::vector<Interruption>{
           {{"learn"},
            "[2] kk_bridge · 0 due · 4 new · 1 learning\n",
            "answer> \nSession stopped. 1 answer stored.\nTime: [0-9.]+ min; \"again\": 100% "
            "of the answers.\nNext card due: "},
           {{"drill", "--days", "1"},
            "[2] kk_bridge · 1 left\n",
            "answer> \nDrill stopped after 1 answer; back to normal learning with kk_bridge "
            "\\(43 cards\\).\nTime: [0-9.]+ min; \"again\": 100% of the answers.\nNext card "
            "due: "},
       }) {
    KkvSession session(
        with_test_options(interruption.arguments, directory_.path(), "2026-03-02 10:00"));
    session.read_until("answer> ");
    session.send("1\n");
    session.read_until(interruption.second_header);
    session.read_until("answer> ");
    ::kill(session.pid(), SIGINT);
    EXPECT_EQ(session.finish(), 130);
    EXPECT_THAT(session.read_until(""), ContainsRegex(interruption.summary));
  }
  EXPECT_THAT(kkv({"stats", "--today"}).out, HasSubstr("Repetitions today:        2\n"));
}

// The questions shown in a session's transcript, in order.
std::vector<std::string> questions_shown(const std::string& transcript) {
  std::vector<std::string> questions;
  std::istringstream lines(transcript);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("Q: ")) questions.push_back(line.substr(3));
  }
  return questions;
}

TEST_F(KkvTest, UShowsTheCardOfTheLastAnswerAgainAndHistoryListsTheAnswersKept) {
  const std::string deck = write_file("deck.tsv", "Q1\tA1\nQ2\tA2\nQ3\tA3\n");
  ASSERT_EQ(kkv({"import", deck, "--name", "kk_deck"}).status, 0);
  const KkvRun learn = kkv({"learn"}, "u\n4 5\n4 7\nu\nu\nu\n4 9\nq\n");
  ASSERT_EQ(learn.status, 0) << learn.err;
  const std::vector<std::string> shown = questions_shown(learn.out);
  ASSERT_EQ(shown.size(), 6u) << learn.out;
  EXPECT_THAT(learn.out, HasSubstr("u undoes the last answer, q stops; ? lists the keys."));
  EXPECT_THAT(learn.out,
              HasSubstr("answer> u\n   No answer of today is left to undo.\nanswer> 4 5"));
  // Each answer taken back gives its new card back to the day's count.
  for (const auto& [undone, number] : {std::pair{shown[1], 2}, std::pair{shown[0], 1}}) {
    EXPECT_THAT(learn.out, HasSubstr("answer> u\n   undone: " + undone + "\n\n[" +
                                     std::to_string(number) + "] kk_deck · 0 due · " +
                                     std::to_string(4 - number) + " new · 0 learning\nQ: " +
                                     undone + "\n"));
  }
  EXPECT_THAT(learn.out, HasSubstr("u\n   No answer of today is left to undo.\nanswer> 4 9\n"));
  EXPECT_THAT(learn.out, HasSubstr("Session stopped. 1 answer stored."));
  const KkvRun stats = kkv({"stats", "--today"});
  EXPECT_THAT(stats.out, HasSubstr("Repetitions today:        1\n"));
  EXPECT_THAT(stats.out, HasSubstr("New cards today:          1 (limit"));

  // The answer kept, by question and by name; none for the card whose
  // answer was taken back.
  const KkvRun kept = kkv({"history", shown[0]});
  ASSERT_EQ(kept.status, 0) << kept.err;
  const std::string name = kept.out.substr(0, kept.out.find(' '));
  EXPECT_EQ(kept.out, name + " in kk_deck\nQ: " + shown[0] +
                          "\nanswered          response  seconds  interval  ease  learnstatus\n"
                          "2026-03-02 10:00  easy      9        4         250   learned\n");
  EXPECT_EQ(kkv({"history", name}).out, kept.out);
  EXPECT_THAT(kkv({"history", shown[1]}).out, EndsWith("\nNo answer to this card is stored.\n"));
  const KkvRun unknown = kkv({"history", "Q9"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err,
            "kkv: no card 'Q9' in the stored collections: give its question, as kkv learn shows "
            "it, or its name\n");

  // In the drill as in learning.
  ASSERT_EQ(kkv({"learn"}, "1\nq\n").status, 0);
  const KkvRun drill = kkv({"drill", "--days", "1"}, "1\nu\n3\n");
  ASSERT_EQ(drill.status, 0) << drill.err;
  const std::vector<std::string> drilled = questions_shown(drill.out);
  ASSERT_EQ(drilled.size(), 3u) << drill.out;
  EXPECT_THAT(drill.out,
              HasSubstr("answer> u\n   undone: " + drilled[0] + "\n\n[1] kk_deck · 1 left\n"));
  EXPECT_EQ(drilled[2], drilled[0]);
  EXPECT_THAT(drill.out, HasSubstr("Drill done after 1 answer;"));
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
  EXPECT_EQ(unknown.status, 2);
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

TEST_F(KkvTest, AReimportRemovesAnsweredCardsOnlyWhenConfirmedAndARenameKeepsThem) {
  const std::string deck = write_file("deck.tsv", "Q1\tA1\nQ2\tA2\nQ3\tA3\n");
  const KkvRun planned = kkv({"import", deck, "--name", "kk_deck", "--dry-run"});
  ASSERT_EQ(planned.status, 0) << planned.err;
  EXPECT_EQ(planned.out, "Importing 3 cards from " + deck +
                             " into 'kk_deck' would give: 3 new, 0 changed, 0 renamed, 0 "
                             "unchanged, 0 removed.\nNew cards:\n  Q1\n  Q2\n  Q3\n"
                             "Nothing was changed (--dry-run).\n");
  EXPECT_EQ(planned.err, "");
  EXPECT_EQ(stored_files().size(), 1U) << "only the deck";
  const KkvRun imported = kkv({"import", deck, "--name", "kk_deck"});
  EXPECT_EQ(imported.out, "Imported 3 cards from " + deck +
                              " into 'kk_deck': 3 new, 0 changed, 0 renamed, 0 unchanged, 0 "
                              "removed.\n");

  // One card answered; the deck then corrects its question, changes the
  // answer of another and leaves out the third.
  const std::vector<std::string> shown = questions_shown(kkv({"learn"}, "4 5\nq\n").out);
  ASSERT_FALSE(shown.empty());
  const std::string answered = shown[0];
  const std::string corrected = answered + " corrected";
  std::vector<std::string> others;
  for (const char* question : {"Q1", "Q2", "Q3"}) {
    if (question != answered) others.emplace_back(question);
  }
  const std::string edited = write_file(
      "edited.tsv", others[0] + "\tnew answer\n" + corrected + "\tA" + answered.substr(1) + "\n");
  const std::string history = kkv({"history", answered}).out;
  const auto before = stored_files();

  const KkvRun dry_run = kkv({"import", edited, "--name", "kk_deck", "--dry-run"});
  EXPECT_EQ(dry_run.out, "Importing 2 cards from " + edited +
                             " into 'kk_deck' would give: 1 new, 1 changed, 0 renamed, 0 "
                             "unchanged, 2 removed.\nNew cards:\n  " +
                             corrected + "\nChanged answers:\n  " + others[0] +
                             "\nRemoved cards:\n  " + answered + " (answered)\n  " + others[1] +
                             "\nNothing was changed (--dry-run).\n");
  EXPECT_EQ(stored_files(), before);

  const KkvRun refused = kkv({"import", edited, "--name", "kk_deck"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out,
            "Importing removes 1 card that has been answered, with its learning state:\n  " +
                answered +
                "\nTo keep a card whose question was only corrected, give its old and its new "
                "question:\n  kkv import " +
                edited + " --name kk_deck --rename " + answered + " '" + corrected + "'\n");
  EXPECT_EQ(refused.err,
            "kkv: nothing was changed; run again with --yes to remove these cards, or keep them "
            "with --rename OLD NEW\n");
  EXPECT_EQ(stored_files(), before);

  // Renamed, the card keeps its learning state and its answers.
  const KkvRun renamed =
      kkv({"import", edited, "--name", "kk_deck", "--rename", answered, corrected});
  EXPECT_EQ(renamed.out, "Imported 2 cards from " + edited +
                             " into 'kk_deck': 0 new, 1 changed, 1 renamed, 0 unchanged, 1 "
                             "removed.\n");
  std::string renamed_history = history;
  renamed_history.replace(history.find("Q: "), 3 + answered.size(), "Q: " + corrected);
  EXPECT_EQ(kkv({"history", corrected}).out, renamed_history);
  EXPECT_THAT(kkv({"analyse", "kk_deck"}).out,
              HasSubstr("laenge sammlung:  2\nlaenge neue_karten  1\n"));

  // Confirmed, the answered card goes.
  const std::string shorter = write_file("shorter.tsv", others[0] + "\tnew answer\n");
  EXPECT_EQ(kkv({"import", shorter, "--name", "kk_deck"}).status, 1);
  const KkvRun confirmed = kkv({"import", shorter, "--name", "kk_deck", "--yes"});
  EXPECT_EQ(confirmed.out, "Imported 1 card from " + shorter +
                               " into 'kk_deck': 0 new, 0 changed, 0 renamed, 1 unchanged, 1 "
                               "removed.\n");
  EXPECT_THAT(kkv({"analyse", "kk_deck"}).out, HasSubstr("laenge sammlung:  1\n"));
}

TEST_F(KkvTest, ARenameTheDeckAndTheStoreDoNotAllowIsAMistakeAndChangesNothing) {
  ASSERT_EQ(kkv({"import", write_file("deck.tsv", "Q1\tA1\nQ2\tA2\nQ3\tA3\n"), "--name",
                 "kk_deck"})
                .status,
            0);
  const std::string edited = write_file("edited.tsv", "Q1\tA1\nQ2 corrected\tA2\nQ4\tA4\n");
  const auto before = stored_files();
  struct Mistake {
    std::vector<std::string> renames;
    std::string line;
  };
  for (const Mistake& mistake : std::vector<Mistake>{
           {{"Q9", "Q2 corrected"},
            "no card of 'kk_deck' has the question 'Q9' (give it as it is stored)"},
           {{"Q1", "Q2 corrected"},
            "the deck still has the question 'Q1', so its card stays as it is"},
           {{"Q2", "Q2 corrected", "--rename", "Q2", "Q4"}, "the question 'Q2' is renamed twice"},
           {{"Q2", "Q5"}, "the deck has no question 'Q5'"},
           {{"Q2", "Q1"}, "the question 'Q1' belongs to another card already"},
           {{"Q2", "Q4", "--rename", "Q3", "Q4"},
            "the question 'Q4' belongs to another card already"},
       }) {
    for (const bool dry_run : {false, true}) {
      std::vector<std::string> arguments{"import", edited, "--name", "kk_deck", "--rename"};
      arguments.insert(arguments.end(), mistake.renames.begin(), mistake.renames.end());
      if (dry_run) arguments.emplace_back("--dry-run");
      const KkvRun run = kkv(arguments);
      EXPECT_EQ(run.status, 2) << mistake.line;
      EXPECT_EQ(run.err, "kkv: --rename: " + mistake.line + " (see kkv import --help)\n");
      EXPECT_EQ(run.out, "");
    }
  }
  EXPECT_EQ(stored_files(), before);
}

// The line of `key` in a list of settings, its columns one blank apart.
std::string settings_line(const std::string& table, const std::string& key) {
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string word;
    std::string joined;
    while (words >> word) joined += (joined.empty() ? "" : " ") + word;
    if (joined.starts_with(key + " ")) return joined;
  }
  return "no line for " + key;
}

TEST_F(KkvTest, ALearnerStartsWithTheDefaultSettingsChangesThemAndGoesBack) {
  const KkvRun refused = kkv({"settings", "STARTING_EASE", "100"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "kkv: no settings were stored yet; stored the default settings (5 new cards and 50 "
            "reviews a day); change them with kkv settings\n"
            "kkv: setting 'STARTING_EASE' must be from 130 to 999, not 100\n");

  // Each setting in three lines that fit 80 columns: name, value and unit;
  // what it does; its bounds and default.
  const KkvRun defaults = kkv({"settings"});
  EXPECT_EQ(defaults.err, "");
  std::istringstream lines(defaults.out);
  std::size_t count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    EXPECT_LE(line.size(), 80U) << line;
    EXPECT_EQ(line.starts_with("    "), count % 3 != 0) << line;
    EXPECT_GT(line.size(), 4U) << "line " << count;
  }
  EXPECT_EQ(count, 18U * 3);
  for (const char* setting :
       {"neue_karten_pro_tag: 5 (cards per day)\n    The most new cards shown in a learning "
        "day.\n    From 0 to 9999; default 5.\n",
        "neue_karten_nur_heute: none (cards)\n    A limit of new cards for today only; none: "
        "neue_karten_pro_tag holds.\n    Default none.\n",
        "LAPSE_STEPS: [10] (minutes)\n    The steps in which a card answered \"again\" is learnt "
        "anew.\n    Each step from 1 to 99999; default [10].\n"}) {
    EXPECT_THAT(defaults.out, HasSubstr(setting));
  }

  ASSERT_EQ(kkv({"settings", "neue_karten_pro_tag", "10"}).status, 0);
  const std::string starting_ease =
      "STARTING_EASE: 300 (percent)\n    The ease factor a new card starts with: how fast its "
      "intervals grow.\n    From 130 to 999; default 250.\n";
  EXPECT_EQ(kkv({"settings", "STARTING_EASE", "300"}).out, starting_ease);
  EXPECT_EQ(kkv({"settings", "STARTING_EASE"}).out, starting_ease);

  const KkvRun unconfirmed = kkv({"settings", "--reset"});
  EXPECT_EQ(unconfirmed.status, 1);
  EXPECT_EQ(settings_line(unconfirmed.out, "--reset"),
            "--reset puts 2 settings back to the default:");
  EXPECT_EQ(settings_line(unconfirmed.out, "neue_karten_pro_tag"), "neue_karten_pro_tag 10 -> 5");
  EXPECT_EQ(settings_line(unconfirmed.out, "STARTING_EASE"), "STARTING_EASE 300 -> 250");
  EXPECT_EQ(unconfirmed.err, "kkv: nothing was changed; run again with --yes to go ahead\n");
  EXPECT_EQ(kkv({"settings", "STARTING_EASE"}).out, starting_ease);

  ASSERT_EQ(kkv({"settings", "--reset", "--yes"}).status, 0);
  EXPECT_EQ(kkv({"settings"}).out, defaults.out);
  EXPECT_EQ(kkv({"settings", "--reset"}).out, "Every setting has its default value already.\n");

  for (const std::vector<std::string>& unknown :
       std::vector<std::vector<std::string>>{{"settings", "NO_SUCH_SETTING"},
                                             {"settings", "NO_SUCH_SETTING", "1"}}) {
    const KkvRun run = kkv(unknown);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "kkv: no setting 'NO_SUCH_SETTING'; the settings are: "
              "vergessen_in_letzten_tagen_groesstmoeglicher_wert, startzeit_tag, "
              "neue_karten_pro_tag, neue_karten_nur_heute, maximale_wiederholungen_pro_tag, "
              "maximale_beantwortungszeit, maximale_beantwortungszeit_reizung, NEW_STEPS, "
              "GRADUATING_INTERVAL, EASY_INTERVAL, STARTING_EASE, EASY_BONUS, INTERVAL_MODIFIER, "
              "MAXIMUM_INTERVAL, LAPSE_STEPS, NEW_INTERVAL, MINIMUM_INTERVAL, hard_factor\n");
  }
  EXPECT_EQ(kkv({"settings"}).out, defaults.out);
}

TEST_F(KkvTest, EveryCommandHasHelpAndMistakesAreOneLineOnStandardError) {
  for (const char* command : {"learn", "drill", "import", "stats", "report", "history",
                              "analyse", "selfcheck", "settings", "demo"}) {
    const KkvRun help = run_kkv({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_THAT(help.out, HasSubstr("Usage")) << command;
  }
  const KkvRun version = run_kkv({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_THAT(version.out, HasSubstr("kkv "));

  // A mistake in the command line: status 2, one line naming the option and
  // the command's help, and nothing done.
  struct Mistake {
    std::vector<std::string> arguments;
    std::string line;
  };
  for (Mistake mistake : std::vector<Mistake>{
           {{}, "a command is required (see kkv --help)"},
           {{"frobnicate"}, "unknown command 'frobnicate' (see kkv --help)"},
           {{"import", "--name", "x"}, "FILE is required (see kkv import --help)"},
           {{"learn", "--bogus"},
            "The following argument was not expected: --bogus (see kkv learn --help)"},
           {{"learn", "--ahead", "-1"},
            "--ahead: Value -1 not in range 0 to 9999 (see kkv learn --help)"},
           {{"drill", "--days", "0"},
            "--days: needs a whole number of at least 1, not '0' (see kkv drill --help)"},
           {{"stats", "--seed", "-1"},
            "--seed: needs a whole number of at least 0, not '-1' (see kkv stats --help)"},
           {{"settings", "--yes"}, "--yes requires --reset (see kkv settings --help)"},
           {{"stats", "--now", "2026-12-07"},
            "--now: '2026-12-07' has no time of day: give a local time such as 2026-12-07 10:00 "
            "(see kkv stats --help)"},
           {{"stats", "--now", "2026-02-30 10:00"},
            "--now: '2026-02-30 10:00' is not a moment: day is out of range for month (see kkv "
            "stats --help)"},
           {{"stats", "--now", "2026-03-29 02:30"},
            "--now: '2026-03-29 02:30' does not exist in local time: the clocks jump over it as "
            "they go forward (see kkv stats --help)"},
       }) {
    mistake.arguments.insert(mistake.arguments.end(), {"--data-dir", directory_.path()});
    const KkvRun run = run_kkv(mistake.arguments);
    EXPECT_EQ(run.status, 2) << mistake.line;
    EXPECT_EQ(run.err, "kkv: " + mistake.line + "\n");
  }
  EXPECT_TRUE(std::filesystem::is_empty(directory_.path()));

  // Any other failure: status 1.
  const KkvRun analyse = kkv({"analyse", "kk_none"});
  EXPECT_EQ(analyse.status, 1);
  EXPECT_THAT(analyse.err, HasSubstr("no collection 'kk_none' is stored"));
}

TEST_F(KkvTest, OfALocalTimeThatOccursTwiceTheFirstIsTakenAndSaid) {
  const KkvRun run = run_kkv(
      {"settings", "STARTING_EASE", "--data-dir", directory_.path(), "--now", "2026-10-25 02:30"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.err, ::testing::StartsWith(
                           "kkv: --now: '2026-10-25 02:30' occurs twice as the clocks go back; "
                           "took the first, 02:30 CEST (UTC+0200); for the second give --now "
                           "1792891800\n"));
}

TEST_F(KkvTest, ADataDirectoryThatCannotBeWrittenFailsBeforeTheFirstCard) {
  const std::string file = write_file("not_a_directory", "");
  const KkvRun learn = run_kkv({"learn", "--data-dir", file, "--now", "2026-03-02 10:00"}, "3\n");
  EXPECT_EQ(learn.status, 1);
  EXPECT_EQ(learn.err, "kkv: cannot write to directory \"" + file + "/\": Not a directory\n");
  EXPECT_EQ(learn.out, "");
}

TEST_F(KkvTest, StatsDrawsChartsAndAReportThatCannotBeWrittenLeavesNothing) {
  const std::string deck = write_file("deck.tsv", "Eins\tone\nZwei\ttwo\nDrei\tthree\n");
  ASSERT_EQ(kkv({"import", deck, "--name", "kk_small"}).status, 0);
  // One card good (due today, day 0), another again and easy (due Friday,
  // day 4); 3 answers on Monday.
  ASSERT_EQ(kkv({"learn"}, "3\n1\n4\nq\n").status, 0);
  const KkvRun stats = kkv({"stats"});
  ASSERT_EQ(stats.status, 0) << stats.err;
  EXPECT_THAT(stats.out, HasSubstr("Cards due on each of the next 30 learning days\n"
                                   "1 ┤█       █\n"));
  std::string no_answers;
  for (int week = 0; week < 51; ++week) no_answers += "·";
  EXPECT_THAT(stats.out, HasSubstr("Answers per learning day, 2025-03-10 to 2026-03-02\n"));
  EXPECT_THAT(stats.out, HasSubstr("\nMon " + no_answers + "█\nTue " + no_answers + "\n"));
  EXPECT_THAT(stats.out, HasSubstr("young cards (3 answers, 33% again)\n"));
  EXPECT_THAT(kkv({"stats", "--today"}).out, Not(HasSubstr("Cards due on each")));

  const std::string plain = write_file("plain", "");
  const std::string here = directory_.path().string();
  struct Unwritable {
    std::string file;
    std::string reason;
  };
  for (const Unwritable& report : std::vector<Unwritable>{
           {here + "/missing/r.html", "there is no directory \"" + here + "/missing\""},
           {plain + "/r.html", "\"" + plain + "\" is not a directory"},
           {here, "Is a directory"}}) {
    const auto before = std::distance(std::filesystem::directory_iterator(here),
                                      std::filesystem::directory_iterator());
    const KkvRun run = kkv({"report", report.file});
    EXPECT_EQ(run.status, 1) << report.file;
    EXPECT_EQ(run.err, "kkv: cannot write the report \"" + report.file + "\": " + report.reason +
                           "\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(here),
                            std::filesystem::directory_iterator()),
              before);
  }
}

TEST_F(KkvTest, TheDemoLearnsTheBundledDeckOverThreeDays) {
  const KkvRun demo = kkv({"demo"});
  ASSERT_EQ(demo.status, 0) << demo.err;
  EXPECT_THAT(demo.out, HasSubstr("=== Day 1, 2026-03-02 09:00 ==="));
  EXPECT_THAT(demo.out, HasSubstr("=== Day 3, 2026-03-04 09:00 ==="));
  // Reviews come due on the later days.
  EXPECT_THAT(demo.out, ContainsRegex("\\] kk_bridge · [1-9][0-9]* due · "));
  EXPECT_THAT(demo.out, Not(HasSubstr("Session stopped")));
}

}  // namespace
}  // namespace tavo::testing
