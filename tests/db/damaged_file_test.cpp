// Damaged files kept aside as "<name>.damaged", by copy and by rename.
#include "db/damaged_file.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "db/file_error.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::db {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream input(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

class DamagedFileTest : public ::testing::Test {
 protected:
  DamagedFileTest() {
    std::ofstream(file_) << "damaged";
    std::ofstream(aside_) << "damaged earlier";
  }

  testing::TemporaryDirectory directory_;
  const fs::path file_ = directory_ / "history.dat";
  const fs::path aside_ = directory_ / "history.dat.damaged";
};

TEST_F(DamagedFileTest, ACopyReplacesTheEarlierOneAndAMissingFileIsNoFailure) {
  keep_damaged_copy(file_);
  EXPECT_EQ(read_file(file_), "damaged");
  EXPECT_EQ(read_file(aside_), "damaged");
  fs::remove(file_);
  EXPECT_NO_THROW(keep_damaged_copy(file_));
  EXPECT_EQ(read_file(aside_), "damaged");
}

TEST_F(DamagedFileTest, SettingAsideRenamesOverTheEarlierOneOrNamesTheFiles) {
  EXPECT_EQ(set_damaged_file_aside(file_), aside_);
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(read_file(aside_), "damaged");
  try {
    set_damaged_file_aside(file_);
    FAIL() << "a missing file was set aside";
  } catch (const FileError& error) {
    EXPECT_EQ(error.what(), "cannot rename \"" + file_.string() + "\" to \"" + aside_.string() +
                                "\": No such file or directory");
  }
  EXPECT_EQ(read_file(aside_), "damaged");
}

}  // namespace
}  // namespace tavo::db
