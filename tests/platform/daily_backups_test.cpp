#include "platform/daily_backups.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "db/connection.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::platform {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class DailyBackupsTest : public ::testing::Test {
 protected:
  DailyBackupsTest() {
    db::Connection connection(store_, db::OpenMode::create);
    connection.execute("CREATE TABLE card (name TEXT); INSERT INTO card VALUES ('a')");
  }

  tavo::testing::TemporaryDirectory directory_;
  const fs::path store_ = directory_ / "collections.sqlite";
};

TEST_F(DailyBackupsTest, KeepsTheNewestCopiesByTheirDateNotTheirName) {
  const DailyBackups backups(store_, 3);
  for (const char* day : {"2026-9-30", "2026-10-1", "2026-9-9", "2026-10-10", "2026-10-2"}) {
    EXPECT_EQ(backups.make(day), fs::path(store_.string() + "." + day));
  }
  EXPECT_EQ(backups.make("2026-10-2"), std::nullopt);
  // Files that only look like copies are left alone and not counted.
  std::ofstream(store_.string() + ".2026-10-x");
  std::ofstream(store_.string() + ".damaged");
  EXPECT_THAT(backups.copies(),
              ElementsAre(store_.string() + ".2026-10-10", store_.string() + ".2026-10-2",
                          store_.string() + ".2026-10-1"));
  EXPECT_TRUE(fs::exists(store_.string() + ".2026-10-x"));

  db::Connection copy(store_.string() + ".2026-10-10", db::OpenMode::read_only);
  EXPECT_TRUE(copy.integrity_check(false).empty());
}

TEST_F(DailyBackupsTest, ADamagedStoreIsNotCopiedAndTheAdviceKeepsItsJournalAside) {
  const DailyBackups backups(store_);
  ASSERT_TRUE(backups.make("2026-12-6"));
  std::ofstream(store_, std::ios::binary | std::ios::trunc) << std::string(8192, 'x');
  EXPECT_EQ(backups.make("2026-12-7"), std::nullopt);
  EXPECT_EQ(backups.copies().size(), 1U);
  std::ofstream(store_.string() + "-journal") << "journal";
  const std::string s = '"' + store_.string();
  EXPECT_EQ(backups.recovery_advice(), "to go back to its newest daily copy, run: mv " + s + "\" " +
                                           s + ".damaged\" && mv " + s + "-journal\" " + s +
                                           ".damaged-journal\" && cp " + s + ".2026-12-6\" " + s +
                                           "\"");
}

}  // namespace
}  // namespace tavo::platform
