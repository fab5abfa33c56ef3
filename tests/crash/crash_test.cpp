// Learning sessions killed with SIGKILL at random moments, over and over,
// on one application directory. After every kill each store passes
// SQLite's integrity check, every acknowledged answer is in the collection
// store (the answer in flight may or may not be), the statistics store
// holds exactly the answers the collection store holds once it is opened,
// and the next session continues from there.
//
// TAVO_CRASH_KILLS sets the number of kills (200 by default).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include "crash/session_check.hpp"
#include "support/child_process.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

constexpr const char* collection = "crash";
constexpr double first_moment = 1765105200;  // 2025-12-07 12:00 in Berlin

int kills_wanted() {
  const char* text = std::getenv("TAVO_CRASH_KILLS");
  return text != nullptr ? std::atoi(text) : 200;
}

// The acknowledgements a session printed, and the moment of the last one.
struct Acknowledged {
  std::int64_t answers = 0;
  std::map<std::string, std::int64_t> reps;
  bool done = false;
  double last_moment = 0;

  void read(const std::string& line) {
    if (line == "done") {
      done = true;
      return;
    }
    std::istringstream words(line);
    std::string ack, card;
    std::int64_t card_reps = 0;
    words >> ack >> card >> card_reps >> last_moment;
    ASSERT_EQ(ack, "ack") << line;
    reps[card] = card_reps;
    ++answers;
  }
};

ChildProcess start_session(const TemporaryDirectory& app_dir, double moment, int answers,
                           unsigned seed) {
  return ChildProcess({LEARNING_SESSION_CHILD, app_dir.path().string(),
                       std::to_string(static_cast<long long>(moment)), std::to_string(answers),
                       std::to_string(seed)});
}

// How the kills fell: on answers stored but not yet acknowledged, and
// between an answer's commit and the statistics store applying it.
struct KillFigures {
  int acknowledged = 0;
  int stored_unacknowledged = 0;
  int statistics_behind = 0;
};

// Checks the stores after a session that acknowledged `acked`, given what
// they held before it; returns what they hold now.
StoredAnswers check_after_session(const TemporaryDirectory& app_dir, const StoredAnswers& before,
                                  const Acknowledged& acked, int session, KillFigures& figures) {
  const std::vector<std::string> problems = store_problems(app_dir.path());
  EXPECT_TRUE(problems.empty()) << "session " << session << ": " << problems.front();
  const StoredAnswers after = stored_answers(app_dir.path(), collection);
  const std::int64_t in_collection = after.in_collection - before.in_collection;
  const std::int64_t in_statistics = after.in_statistics - before.in_statistics;
  EXPECT_GE(in_collection, acked.answers) << "session " << session;
  EXPECT_LE(in_collection, acked.answers + 1) << "session " << session;
  EXPECT_EQ(in_statistics, in_collection) << "session " << session;
  figures.acknowledged += acked.answers;
  figures.stored_unacknowledged += in_collection > acked.answers;
  figures.statistics_behind += after.applied_on_opening > 0;
  for (const auto& [card, reps] : acked.reps) {
    EXPECT_GE(after.reps.at(card), reps) << "session " << session << ", card " << card;
  }
  return after;
}

// Temporary files that a killed write left beside its target.
int leftover_temporary_files(const std::filesystem::path& app_dir) {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(app_dir)) {
    const std::string name = entry.path().filename().string();
    count += name.find(".tmp-") != std::string::npos || name.find(".partial-") != std::string::npos;
  }
  return count;
}

// Where a kill falls: a random moment within the time a session takes to
// start and give its first answer, or within the time between two answers,
// as measured on this machine so far; so that kills land inside writes
// however fast the disk is.
class KillTiming {
 public:
  using Clock = std::chrono::steady_clock;

  void started() { last_ = Clock::now(); }

  void acknowledged(bool first) {
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - last_).count();
    (first ? startup_ : gap_) = 0.8 * (first ? startup_ : gap_) + 0.2 * seconds;
    last_ = now;
  }

  std::chrono::microseconds delay(std::mt19937& random, bool before_first_answer) const {
    const double span = 1.2 * (before_first_answer ? startup_ : gap_);
    return std::chrono::microseconds(
        static_cast<std::int64_t>(std::uniform_real_distribution<>(0, span)(random) * 1e6));
  }

 private:
  Clock::time_point last_;
  double startup_ = 0.02;
  double gap_ = 0.005;
};

TEST(CrashTest, KilledSessionsLoseNoAcknowledgedAnswer) {
  const TemporaryDirectory app_dir;
  std::mt19937 random(20261207);
  StoredAnswers stored;
  double moment = first_moment;
  const int kills = kills_wanted();
  KillFigures figures;
  KillTiming timing;
  for (int session = 0; session < kills && !HasFailure(); ++session) {
    timing.started();
    ChildProcess child = start_session(app_dir, moment, 1000, random());
    Acknowledged acked;
    const std::int64_t acks_before_kill = random() % 12;
    while (acked.answers < acks_before_kill) {
      const std::optional<std::string> line = child.read_line();
      ASSERT_TRUE(line) << "session " << session << " ended before it was killed";
      acked.read(*line);
      timing.acknowledged(acked.answers == 1);
    }
    std::this_thread::sleep_for(timing.delay(random, acks_before_kill == 0));
    child.kill();
    while (const std::optional<std::string> line = child.read_line()) acked.read(*line);
    ASSERT_EQ(child.wait(), -1) << "session " << session << " failed";
    stored = check_after_session(app_dir, stored, acked, session, figures);
    // The next session begins six hours later, or just after the last
    // acknowledged answer when the session's clock ran ahead.
    moment = std::max(moment + 6 * 3600, acked.last_moment + 60);
  }
  RecordProperty("kills", kills);
  RecordProperty("acknowledged", figures.acknowledged);
  RecordProperty("stored_unacknowledged", figures.stored_unacknowledged);
  RecordProperty("statistics_behind", figures.statistics_behind);
  const int leftovers = leftover_temporary_files(app_dir.path());
  RecordProperty("leftover_temporary_files", leftovers);
  std::cout << kills << " kills, " << figures.acknowledged << " acknowledged answers kept, "
            << figures.stored_unacknowledged << " kills after a card was stored and before its "
            << "acknowledgement, " << figures.statistics_behind
            << " before the statistics store applied the answer, " << leftovers
            << " temporary files of interrupted writes left\n";

  ChildProcess last = start_session(app_dir, moment, 25, random());
  Acknowledged acked;
  while (const std::optional<std::string> line = last.read_line()) acked.read(*line);
  ASSERT_EQ(last.wait(), 0);
  ASSERT_TRUE(acked.done);
  const StoredAnswers after = check_after_session(app_dir, stored, acked, kills, figures);
  EXPECT_EQ(after.in_collection, stored.in_collection + 25);
  EXPECT_EQ(after.in_statistics, stored.in_statistics + 25);
}

}  // namespace
}  // namespace tavo::testing
