// kkv on damaged and busy stores: the daily copies it keeps, the way back
// it names, and the message of a store another process keeps busy.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_kkv.hpp"
#include "db/connection.hpp"
#include "db/transaction.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string contents_of(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

class KkvRecoveryTest : public ::testing::Test {
 protected:
  // kkv with the data directory of this test at the frozen local `moment`.
  KkvRun kkv(const std::string& moment, std::vector<std::string> arguments,
             const std::string& input = "") {
    return run_kkv(with_test_options(std::move(arguments), directory_.path(), moment), input);
  }

  fs::path store() const { return directory_ / "collections.sqlite"; }

  std::vector<std::string> daily_copies() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("collections.sqlite.")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TemporaryDirectory directory_;
};

TEST_F(KkvRecoveryTest, KeepsAWeekOfDailyCopiesAndNamesTheWayBackFromDamage) {
  ASSERT_EQ(kkv("2026-03-01 10:00", {"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  // The first import finds no store to copy; every learning day after it
  // gets one copy, however often kkv runs that day.
  for (int day = 1; day <= 9; ++day) {
    const std::string moment =
        "2026-03-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + " 10:00";
    ASSERT_EQ(kkv(moment, {"learn"}, "3\n").status, 0);
    ASSERT_EQ(kkv(moment, {"stats"}).status, 0);
  }
  EXPECT_THAT(daily_copies(),
              ElementsAre("collections.sqlite.2026-3-3", "collections.sqlite.2026-3-4",
                          "collections.sqlite.2026-3-5", "collections.sqlite.2026-3-6",
                          "collections.sqlite.2026-3-7", "collections.sqlite.2026-3-8",
                          "collections.sqlite.2026-3-9"));

  std::string damaged = contents_of(store());
  damaged.replace(0, 16, "not a database!!");
  std::ofstream(store(), std::ios::binary | std::ios::trunc) << damaged;
  const KkvRun refused = kkv("2026-03-10 10:00", {"learn"}, "3\n");
  EXPECT_EQ(refused.status, 1);
  const std::string copy = (directory_ / "collections.sqlite.2026-3-9").string();
  const std::string aside = store().string() + ".damaged";
  EXPECT_THAT(refused.err, HasSubstr("kkv: damaged database \"" + store().string() + "\""));
  EXPECT_THAT(refused.err, HasSubstr("; nothing was changed; to go back to its newest daily copy, "
                                     "run: mv \"" +
                                     store().string() + "\" \"" + aside + "\" && cp \"" + copy +
                                     "\" \"" + store().string() + "\"\n"));
  EXPECT_EQ(contents_of(store()), damaged);
  EXPECT_EQ(daily_copies().size(), 7U);

  fs::rename(store(), aside);
  fs::copy_file(copy, store());
  const KkvRun recovered = kkv("2026-03-10 10:00", {"learn"}, "3\n");
  ASSERT_EQ(recovered.status, 0) << recovered.err;
  EXPECT_THAT(recovered.out, HasSubstr("1 answer stored."));
}

TEST_F(KkvRecoveryTest, AStoreFoundDamagedWhenOpenedIsNamedWithTheWayBack) {
  const std::string file = "\"" + store().string() + "\"";
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { std::ofstream(store(), std::ios::binary) << std::string(4096, 'x'); },
       "kkv: damaged database " + file +
           ": not an SQLite database (wrong header); nothing was changed; no daily copy of " +
           file + " is kept yet\n"},
      {[&] { db::Connection(store(), db::OpenMode::create).execute("CREATE TABLE other(x)"); },
       "kkv: database " + file + " is not a collections store; nothing was changed; "},
  };
  for (const auto& [make_store, line] : cases) {
    fs::remove(store());
    make_store();
    const KkvRun refused = kkv("2026-03-01 10:00", {"stats"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr(line));
  }
}

TEST_F(KkvRecoveryTest, DamageInsideAPageIsFoundWhenTheCardsAreRead) {
  ASSERT_EQ(kkv("2026-03-01 10:00", {"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  std::string damaged = contents_of(store());
  ASSERT_GT(damaged.size(), 3 * 4096U);
  damaged.replace(damaged.size() - 4096, 4096, std::string(4096, '\x7f'));
  std::ofstream(store(), std::ios::binary | std::ios::trunc) << damaged;
  const KkvRun refused = kkv("2026-03-02 10:00", {"learn"}, "3\n");
  EXPECT_EQ(refused.status, 1);
  // The file and the reason in words, without the statement that met it.
  EXPECT_EQ(refused.err, "kkv: damaged database \"" + store().string() +
                             "\": database disk image is malformed; nothing was changed; no daily "
                             "copy of \"" +
                             store().string() + "\" is kept yet\n");
  EXPECT_EQ(contents_of(store()), damaged);
  EXPECT_TRUE(daily_copies().empty());
}

TEST_F(KkvRecoveryTest, AStoreKeptBusyByAnotherProcessFailsClearlyAndChangesNothing) {
  ASSERT_EQ(kkv("2026-03-01 10:00", {"import", KKV_BUNDLED_DECK, "--name", "kk_bridge"}).status, 0);
  const std::string before = contents_of(store());
  {
    db::Connection other(store(), db::OpenMode::read_write);
    const db::Transaction writing(other);
    const KkvRun busy = kkv("2026-03-01 10:00", {"learn"}, "3\n");
    EXPECT_EQ(busy.status, 1);
    EXPECT_EQ(busy.err, "kkv: database \"" + store().string() +
                            "\": database is locked (another process kept writing to it for "
                            "longer than the connection waits; nothing was changed, try again "
                            "when it is done)\n");
  }
  EXPECT_EQ(contents_of(store()), before);
  const KkvRun stats = kkv("2026-03-01 10:00", {"stats", "--today"});
  EXPECT_THAT(stats.out, HasSubstr("Repetitions today:        0\n"));
}

}  // namespace
}  // namespace tavo::testing
