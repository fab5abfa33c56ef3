#include "support/test_environment.hpp"
#include "karteikarten/storage/shelve_opening.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::kk {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::TemporaryDirectory;

void write_shelf(const std::string& path, const std::string& key, const Value& value) {
  platform::Shelf shelf = platform::Shelf::open(path);
  shelf.set(key, value);
}

void damage(const std::string& path) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(4096, '\x5a');
}

TEST(ShelveOpening, MainDirectoryIsTheSettingsFolderOfTheAppDirectory) {
  const ScopedEnvironment data_dir("TAVO_DATA_DIR", "/data/tavo/");
  EXPECT_EQ(get_shelve_main_directory(test_environment(), "kkv_alle.dat"), "/data/tavo/settings/kkv_alle.dat");
  EXPECT_FALSE(fs::exists("/data/tavo/settings"));
}

TEST(ShelveOpening, BackupOnlyWhenCopyEqualsTrue) {
  const TemporaryDirectory directory;
  const std::string file = directory / "kkv.dat";
  write_shelf(file, "k", 1);

  add_shelve_file(test_environment(), file, false, "yes");
  EXPECT_FALSE(fs::exists(file + "old"));
  add_shelve_file(test_environment(), file, false, 1);
  ASSERT_TRUE(fs::exists(file + "old"));
  EXPECT_EQ(platform::Shelf::open(file + "old").get("k"), Value(1));
}

TEST(ShelveOpening, MissingFileBecomesANewEmptyShelf) {
  const TemporaryDirectory directory;
  const std::string file = directory / "settings/new.dat";
  platform::Shelf shelf = add_shelve_file(test_environment(), file);
  EXPECT_TRUE(shelf.is_persistent());
  EXPECT_TRUE(shelf.empty());
  EXPECT_TRUE(fs::exists(file));
}

TEST(ShelveOpening, DamagedFileIsRestoredFromItsBackup) {
  const TemporaryDirectory directory;
  const std::string file = directory / "kkv.dat";
  write_shelf(file, "history", List{1, 2});
  add_shelve_file(test_environment(), file, false, true);
  damage(file);

  {
    platform::Shelf shelf = add_shelve_file(test_environment(), file);
    EXPECT_EQ(shelf.get("history"), Value(List{1, 2}));
    // The restored file itself is open, so new entries land in it.
    EXPECT_EQ(fs::path(shelf.path()), fs::path(file));
    shelf.set("today", 3);
  }
  EXPECT_EQ(platform::Shelf::open(file).keys(), (std::vector<std::string>{"history", "today"}));
  EXPECT_TRUE(fs::exists(file + ".damaged"));
}

TEST(ShelveOpening, NeitherFileUsableGivesAnEmptyMappingAndTouchesNothing) {
  const TemporaryDirectory directory;
  const std::string file = directory / "kkv.dat";
  damage(file);
  damage(file + "old");
  platform::Shelf shelf = add_shelve_file(test_environment(), file, false, true);
  EXPECT_FALSE(shelf.is_persistent());
  EXPECT_TRUE(shelf.empty());
  EXPECT_EQ(fs::file_size(file), 4096u);
  EXPECT_EQ(fs::file_size(file + "old"), 4096u);
}

TEST(ShelveOpening, FailedBackupCopyKeepsTheGoodFile) {
  const TemporaryDirectory directory;
  const std::string file = directory / "kkv.dat";
  write_shelf(file, "k", "newest");
  // The backup name is taken by a directory, so the copy cannot be made.
  fs::create_directories(file + "old/blocked");
  platform::Shelf shelf = add_shelve_file(test_environment(), file, false, true);
  EXPECT_EQ(fs::path(shelf.path()), fs::path(file));
  EXPECT_EQ(shelf.get("k"), Value("newest"));
}

}  // namespace
}  // namespace tavo::kk
