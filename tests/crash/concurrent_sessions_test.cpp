// Two learning sessions answering at the same time on one application
// directory: every store stays sound, every acknowledged answer of both is
// counted in the statistics store exactly once, no answer overwrites one
// the other session stored, and a third session continues.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "crash/session_check.hpp"
#include "support/child_process.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

// Runs a session to its end; its exit status, the answers it acknowledged
// (card and the card's answers so far) and the conflicts it met.
struct Finished {
  int status = -1;
  std::vector<std::pair<std::string, std::int64_t>> acks;
  int conflicts = 0;
  std::string last_line;
};

Finished finish(ChildProcess& child) {
  Finished finished;
  while (const std::optional<std::string> line = child.read_line()) {
    std::istringstream words(*line);
    std::string word, card;
    std::int64_t reps = 0;
    words >> word >> card >> reps;
    if (word == "ack") finished.acks.emplace_back(card, reps);
    if (word == "conflict:") ++finished.conflicts;
    finished.last_line = *line;
  }
  finished.status = child.wait();
  return finished;
}

ChildProcess session(const TemporaryDirectory& app_dir, int answers, unsigned seed) {
  return ChildProcess({LEARNING_SESSION_CHILD, app_dir.path().string(), "1765105200",
                       std::to_string(answers), std::to_string(seed)});
}

TEST(ConcurrentSessionsTest, TwoSessionsAtOnceKeepEveryStoreSound) {
  const TemporaryDirectory app_dir;
  ChildProcess importing = session(app_dir, 0, 1);
  ASSERT_EQ(finish(importing).status, 0);

  ChildProcess first = session(app_dir, 60, 2);
  ChildProcess second = session(app_dir, 60, 3);
  const Finished one = finish(first);
  const Finished other = finish(second);
  ASSERT_EQ(one.status, 0) << one.last_line;
  ASSERT_EQ(other.status, 0) << other.last_line;

  const std::vector<std::string> problems = store_problems(app_dir.path());
  EXPECT_TRUE(problems.empty()) << problems.front();
  const StoredAnswers stored = stored_answers(app_dir.path(), "crash");
  EXPECT_EQ(stored.in_statistics, 120);
  // Both sessions learn the same cards. A save stores a card only over the
  // version its session knew (or over the very record it would write, when
  // both gave the same answer at the same moment), so each card holds one
  // answer for each answer count acknowledged: none was overwritten.
  std::set<std::pair<std::string, std::int64_t>> answers(one.acks.begin(), one.acks.end());
  answers.insert(other.acks.begin(), other.acks.end());
  std::map<std::string, std::int64_t> latest;
  for (const auto& [card, reps] : answers) latest[card] = std::max(latest[card], reps);
  for (const auto& [card, reps] : latest) EXPECT_EQ(stored.reps.at(card), reps) << card;
  EXPECT_EQ(stored.in_collection, static_cast<std::int64_t>(answers.size()));
  std::cout << answers.size() << " answers stored of 120 acknowledged; " << one.conflicts << " + "
            << other.conflicts << " saves met the other session's change\n";

  ChildProcess third = session(app_dir, 5, 4);
  EXPECT_EQ(finish(third).status, 0);
  EXPECT_EQ(stored_answers(app_dir.path(), "crash").in_statistics, 125);
}

}  // namespace
}  // namespace tavo::testing
