// Two kkv processes on one data directory: while a learning session runs,
// every other writer is refused at once by name, and the readers work.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_kkv.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

using ::testing::HasSubstr;

std::string contents_of(const std::filesystem::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

class KkvLockTest : public ::testing::Test {
 protected:
  // The arguments of kkv with the data directory of this test, a frozen
  // clock and a fixed seed.
  std::vector<std::string> with_options(std::vector<std::string> arguments) const {
    return with_test_options(std::move(arguments), directory_.path(), "2026-03-02 10:00");
  }

  KkvRun kkv(const std::vector<std::string>& arguments) { return run_kkv(with_options(arguments)); }

  // The state of everything a writer would change.
  std::string stored() const {
    return contents_of(directory_ / "collections.sqlite") +
           contents_of(directory_ / "settings/kkv_settings.eps");
  }

  TemporaryDirectory directory_;
};

TEST_F(KkvLockTest, WhileASessionRunsOtherWritersAreRefusedAtOnceAndReadersWork) {
  ASSERT_EQ(kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  KkvSession learner(with_options({"learn"}));
  ASSERT_THAT(learner.read_until("answer> "),
              HasSubstr("[1] kk_bridge · 0 due · 5 new · 0 learning\nQ: "));
  const std::string before = stored();
  const std::string refusal = "kkv: directory \"" + directory_.path().string() +
                              "/\" is in use by process " + std::to_string(learner.pid()) +
                              "; try again when it has ended\n";

  for (const std::vector<std::string>& writer : std::vector<std::vector<std::string>>{
           {"import", KKV_BUNDLED_DECK, "--name", "kk_other"},
           {"learn"},
           {"drill"},
           {"selfcheck", "test_frueh", "--collection", "kk_bridge", "--yes"},
           {"settings", "STARTING_EASE", "300"},
           {"settings", "--reset", "--yes"}}) {
    const auto started = std::chrono::steady_clock::now();
    const KkvRun refused = kkv(writer);
    // At once: not after a database's busy timeout of some seconds.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3)) << writer[0];
    EXPECT_EQ(refused.status, 1) << writer[0];
    EXPECT_EQ(refused.err, refusal) << writer[0];
    EXPECT_EQ(refused.out, "") << writer[0];
  }
  EXPECT_EQ(stored(), before);

  for (const std::vector<std::string>& reader : std::vector<std::vector<std::string>>{
           {"stats"},
           {"analyse", "kk_bridge"},
           {"settings", "STARTING_EASE"},
           {"import", KKV_BUNDLED_DECK, "--name", "kk_bridge", "--dry-run"}}) {
    const KkvRun alongside = kkv(reader);
    EXPECT_EQ(alongside.status, 0) << reader[0] << ": " << alongside.err;
    EXPECT_EQ(alongside.err, "") << reader[0];
  }
  EXPECT_EQ(stored(), before);

  EXPECT_EQ(learner.finish(), 0);
  const KkvRun after = kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_other"});
  EXPECT_EQ(after.status, 0) << after.err;
}

TEST_F(KkvLockTest, AKilledSessionLeavesTheDirectoryFree) {
  ASSERT_EQ(kkv({"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  {
    KkvSession learner(with_options({"learn"}));
    ASSERT_THAT(learner.read_until("answer> "), HasSubstr("Q: "));
    ASSERT_EQ(kkv({"learn"}).status, 1);
  }  // killed here
  const KkvRun learnt = run_kkv(with_options({"learn"}), "3\n");
  EXPECT_EQ(learnt.status, 0) << learnt.err;
  EXPECT_THAT(learnt.out, HasSubstr("1 answer stored."));
}

}  // namespace
}  // namespace tavo::testing
