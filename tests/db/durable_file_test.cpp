// Whole files written, copied and renamed durably: the contents and
// permission bits that arrive, and failures that name the file and leave
// neither a changed target nor a temporary file behind.
#include "db/durable_file.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "db/file_error.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::db {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

constexpr fs::perms owner_only = fs::perms::owner_read | fs::perms::owner_write;
constexpr fs::perms shared = owner_only | fs::perms::group_read | fs::perms::others_read;

void write_file(const fs::path& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

std::string read_file(const fs::path& path) {
  std::ifstream input(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

std::set<std::string> file_names(const fs::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

fs::perms permissions(const fs::path& path) { return fs::status(path).permissions(); }

class DurableFileTest : public ::testing::Test {
 protected:
  testing::TemporaryDirectory directory_;
  const std::string binary_ = std::string("line\0\xff\n", 7);
};

TEST_F(DurableFileTest, WritesNewFilesForTheOwnerAndKeepsTheBitsOfAReplacedOne) {
  const fs::path fresh = directory_ / "settings" / "new" / "kkv_settings.eps";
  write_file_durably(fresh, binary_);
  EXPECT_EQ(read_file(fresh), binary_);
  EXPECT_EQ(permissions(fresh), owner_only);

  const fs::path replaced = directory_ / "replaced";
  write_file(replaced, "a longer text that the new one replaces entirely");
  fs::permissions(replaced, shared);
  write_file_durably(replaced, "new");
  EXPECT_EQ(read_file(replaced), "new");
  EXPECT_EQ(permissions(replaced), shared);
  EXPECT_THAT(file_names(directory_.path()), UnorderedElementsAre("settings", "replaced"));
}

TEST_F(DurableFileTest, CopiesContentsAndTheSourcesPermissionBits) {
  const fs::path source = directory_ / "kkv_alle.dat";
  write_file(source, binary_);
  fs::permissions(source, owner_only | fs::perms::group_read);
  write_file(directory_ / "copy", "older copy");
  copy_file_durably(source, directory_ / "copy");
  EXPECT_EQ(read_file(directory_ / "copy"), binary_);
  EXPECT_EQ(permissions(directory_ / "copy"), permissions(source));
  EXPECT_THAT(file_names(directory_.path()), UnorderedElementsAre("kkv_alle.dat", "copy"));
}

TEST_F(DurableFileTest, RenamesOverAnEarlierFile) {
  write_file(directory_ / "from", "new");
  write_file(directory_ / "to", "old");
  rename_durably(directory_ / "from", directory_ / "to");
  EXPECT_EQ(read_file(directory_ / "to"), "new");
  EXPECT_THAT(file_names(directory_.path()), ElementsAre("to"));
}

TEST_F(DurableFileTest, AReplacementNotCommittedLeavesTheTargetAsItWas) {
  write_file(directory_ / "target", "old");
  {
    FileReplacement replacement(directory_ / "target");
    replacement.write("new");
    EXPECT_EQ(replacement.path().parent_path(), directory_.path());
    EXPECT_THAT(replacement.path().filename().string(), ::testing::StartsWith("target.partial-"));
  }
  EXPECT_EQ(read_file(directory_ / "target"), "old");
  EXPECT_THAT(file_names(directory_.path()), ElementsAre("target"));
}

TEST_F(DurableFileTest, FailuresNameTheFileAndLeaveNoTemporaryFile) {
  const fs::path file = directory_ / "file";
  const fs::path occupied = directory_ / "occupied";
  write_file(file, "text");
  fs::create_directories(occupied / "inside");
  struct Case {
    std::string what;
    std::function<void()> run;
    fs::path path;
    std::string message;
    std::errc code;
  };
  const std::vector<Case> cases = {
      {"a directory read", [&] { copy_file_durably(occupied, directory_ / "copy"); }, occupied,
       "cannot read " + quoted(occupied) + ": Is a directory", std::errc::is_a_directory},
      {"a missing source", [&] { copy_file_durably(directory_ / "missing", file); },
       directory_ / "missing",
       "cannot open " + quoted(directory_ / "missing") + ": No such file or directory",
       std::errc::no_such_file_or_directory},
      {"a directory replaced", [&] { write_file_durably(occupied, "text"); }, occupied,
       "cannot rename the temporary copy to " + quoted(occupied) + ": Is a directory",
       std::errc::is_a_directory},
      {"a directory under a file", [&] { write_file_durably(file / "below", "text"); }, file,
       "cannot create directory " + quoted(file) + ": Not a directory", std::errc::not_a_directory},
      {"a missing file renamed", [&] { rename_durably(directory_ / "missing", file); }, file,
       "cannot rename " + quoted(directory_ / "missing") + " to " + quoted(file) +
           ": No such file or directory",
       std::errc::no_such_file_or_directory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.run();
      ADD_FAILURE() << "no failure";
    } catch (const FileError& error) {
      EXPECT_EQ(error.what(), c.message);
      EXPECT_EQ(error.path(), c.path);
      EXPECT_EQ(error.code(), c.code);
    }
    EXPECT_THAT(file_names(directory_.path()), UnorderedElementsAre("file", "occupied"));
    EXPECT_EQ(read_file(file), "text");
  }
}

}  // namespace
}  // namespace tavo::db
