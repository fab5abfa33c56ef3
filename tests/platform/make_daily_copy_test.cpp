// Dated backups on a frozen clock; TZ=Europe/Berlin, which the test runner
// sets.
#include "platform/make_daily_copy.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>

#include "db/file_error.hpp"
#include "platform/clock.hpp"
#include "platform/common_functions.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::platform {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

void write_file(const fs::path& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

std::string read_file(const fs::path& path) {
  std::ifstream input(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

class MakeDailyCopyTest : public ::testing::Test {
 protected:
  std::set<std::string> file_names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory_.path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  tavo::testing::TemporaryDirectory directory_;
  const fs::path original_ = directory_ / "kkv_alle.dat";
  std::shared_ptr<FixedClock> clock_ = std::make_shared<FixedClock>(1632297600);  // 09-22 10:00
  Common_functions functions_{clock_};
  MakeDailyCopy copier_{functions_, 3};
};

TEST_F(MakeDailyCopyTest, CopiesOncePerLearningDayWithThePermissionBits) {
  write_file(original_, std::string("day one\0\xff", 9));
  fs::permissions(original_,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(copier_.make_copy(original_), directory_ / "kkv_alle.dat.2021-9-22");
  EXPECT_EQ(fs::status(directory_ / "kkv_alle.dat.2021-9-22").permissions(),
            fs::status(original_).permissions());

  write_file(original_, "day two");
  clock_->set(1632358740);  // 2021-09-23 02:59, still the learning day of the 22nd
  EXPECT_EQ(copier_.make_copy(original_), directory_ / "kkv_alle.dat.2021-9-22");
  EXPECT_EQ(read_file(directory_ / "kkv_alle.dat.2021-9-22"), std::string("day one\0\xff", 9));

  clock_->set(1632358800);  // 2021-09-23 03:00
  EXPECT_EQ(copier_.make_copy(original_), directory_ / "kkv_alle.dat.2021-9-23");
  EXPECT_EQ(read_file(directory_ / "kkv_alle.dat.2021-9-23"), "day two");

  EXPECT_THAT(file_names(),
              ElementsAre("kkv_alle.dat", "kkv_alle.dat.2021-9-22", "kkv_alle.dat.2021-9-23"));
}

TEST_F(MakeDailyCopyTest, MissingFileGivesNothingAndAFailedCopyLeavesNoFile) {
  EXPECT_EQ(copier_.make_copy(original_), std::nullopt);
  const fs::path not_a_file = directory_ / "shelf";
  fs::create_directory(not_a_file);
  EXPECT_THROW(copier_.make_copy(not_a_file), db::FileError);
  EXPECT_THAT(file_names(), ElementsAre("shelf"));
}

}  // namespace
}  // namespace tavo::platform
