// Two learning sessions answering at the same time on one application
// directory: every store stays sound, every answer of both is counted in
// the statistics store exactly once, and a third session continues.
#include <gtest/gtest.h>

#include "crash/session_check.hpp"
#include "support/child_process.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

// Runs a session to its end; its exit status and its answers.
struct Finished {
  int status = -1;
  int answers = 0;
  std::string last_line;
};

Finished finish(ChildProcess& child) {
  Finished finished;
  while (const std::optional<std::string> line = child.read_line()) {
    if (line->starts_with("ack ")) ++finished.answers;
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
  // Each session stores its own cards; where both answered a card, the
  // later save holds it.
  EXPECT_GE(stored.in_collection, 60);
  EXPECT_LE(stored.in_collection, 120);

  ChildProcess third = session(app_dir, 5, 4);
  EXPECT_EQ(finish(third).status, 0);
  EXPECT_EQ(stored_answers(app_dir.path(), "crash").in_statistics, 125);
}

}  // namespace
}  // namespace tavo::testing
