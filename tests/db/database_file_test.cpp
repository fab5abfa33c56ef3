// Tests of check_database_file, backup_database and copy_database_file on
// sound, damaged and interrupted database files.

#include "db/database_file.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "db/connection.hpp"
#include "db/error.hpp"
#include "db/transaction.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::db {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryDirectory;

constexpr int page_size = 4096;

// A database of 100 rows spread over many pages.
void make_database(const fs::path& path) {
  Connection db(path, OpenMode::create);
  db.execute(
      "PRAGMA page_size=4096;"
      "CREATE TABLE t(n INTEGER, pad BLOB);"
      "WITH RECURSIVE i(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM i "
      "WHERE n < 100) INSERT INTO t SELECT n, zeroblob(1000) FROM i");
}

std::int64_t sum_of_rows(const fs::path& path) {
  Connection db(path, OpenMode::read_only);
  Statement sum = db.prepare("SELECT sum(n) FROM t");
  EXPECT_TRUE(sum.step());
  return sum.column_int64(0);
}

void overwrite(const fs::path& path, std::streamoff offset, const std::string& bytes) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(offset);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> file_names(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// The error check_database_file throws for `path`, or one with the
// message "accepted".
Error rejection_of(const fs::path& path) {
  try {
    check_database_file(path);
  } catch (const Error& error) {
    return error;
  }
  return Error("accepted", SQLITE_OK, path);
}

TEST(CheckDatabaseFile, AcceptsSoundAndRejectsDamagedFiles) {
  const TemporaryDirectory directory;
  make_database(directory / "sample.sqlite");
  const std::uintmax_t size = fs::file_size(directory / "sample.sqlite");
  const std::string pages = std::to_string(size / page_size);
  EXPECT_NO_THROW(check_database_file(directory / "sample.sqlite"));
  struct Case {
    std::string name;
    std::function<void(const fs::path&)> damage;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"empty", [](const fs::path& p) { fs::resize_file(p, 0); }, "the file is empty"},
      {"short", [](const fs::path& p) { fs::resize_file(p, 60); },
       "the file is shorter than the 100-byte header"},
      {"magic", [](const fs::path& p) { overwrite(p, 0, "sqlite"); },
       "not an SQLite database (wrong header)"},
      {"page-size", [](const fs::path& p) { overwrite(p, 16, "\x0B\xB8"); },
       "invalid page size 3000"},
      {"torn", [&](const fs::path& p) { fs::resize_file(p, size - 10); },
       "the file size " + std::to_string(size - 10) + " is not a multiple of the page size 4096"},
      {"truncated", [&](const fs::path& p) { fs::resize_file(p, size - 3 * page_size); },
       "the file is truncated: it has " + std::to_string(size / page_size - 3) +
           " pages, its header records " + pages},
      {"schema", [](const fs::path& p) { overwrite(p, 100, std::string(400, '\x7F')); },
       "cannot read the schema: database disk image is malformed"},
  };
  for (const Case& c : cases) {
    const fs::path path = directory / (c.name + ".sqlite");
    make_database(path);
    c.damage(path);
    const Error rejection = rejection_of(path);
    EXPECT_EQ(std::string(rejection.what()),
              "damaged database \"" + path.string() + "\": " + c.reason)
        << c.name;
    EXPECT_EQ(rejection.path(), path) << c.name;
    EXPECT_TRUE(rejection.is_damage()) << c.name;
  }

  const std::vector<std::pair<fs::path, std::string>> unusable = {
      {directory / "missing.sqlite", "the file does not exist"},
      {directory.path(), "not a regular file"}};
  for (const auto& [path, reason] : unusable) {
    const Error rejection = rejection_of(path);
    EXPECT_EQ(std::string(rejection.what()),
              "cannot check database \"" + path.string() + "\": " + reason);
    EXPECT_EQ(rejection.path(), path);
    EXPECT_FALSE(rejection.is_damage()) << reason;
  }
}

TEST(CheckDatabaseFile, RollsBackInterruptedTransaction) {
  const TemporaryDirectory directory;
  const auto live = directory / "live.sqlite";
  const auto interrupted = directory / "interrupted.sqlite";
  make_database(live);
  {
    // Copying the files in the middle of a large transaction leaves what a
    // crash would: changed pages in the database and their originals in
    // the journal.
    Connection db(live, OpenMode::read_write);
    db.execute("PRAGMA cache_size=10");
    Transaction transaction(db);
    db.execute("UPDATE t SET n = n + 1000, pad = randomblob(1000)");
    fs::copy_file(live, interrupted);
    fs::copy_file(live.string() + "-journal", interrupted.string() + "-journal");
  }
  EXPECT_THROW(sum_of_rows(interrupted), Error) << "no hot journal was made";

  EXPECT_NO_THROW(check_database_file(interrupted));
  EXPECT_FALSE(fs::exists(interrupted.string() + "-journal"));
  EXPECT_EQ(sum_of_rows(interrupted), 5050);
}

// A commit in progress in another connection: page 1 already records pages
// the file does not have yet. The check waits for the writer's lock instead
// of taking the file for truncated.
TEST(CheckDatabaseFile, WaitsForACommitInProgress) {
  const TemporaryDirectory directory;
  const fs::path path = directory / "busy.sqlite";
  make_database(path);
  Connection writer(path, OpenMode::read_write);
  writer.execute("BEGIN EXCLUSIVE");
  sqlite3_file* file = nullptr;
  sqlite3_file_control(writer.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file);
  const auto write_page_count = [file](std::uint32_t count) {
    const unsigned char bytes[] = {static_cast<unsigned char>(count >> 24),
                                   static_cast<unsigned char>(count >> 16),
                                   static_cast<unsigned char>(count >> 8),
                                   static_cast<unsigned char>(count)};
    ASSERT_EQ(file->pMethods->xWrite(file, bytes, sizeof bytes, 28), SQLITE_OK);
  };
  const auto pages = static_cast<std::uint32_t>(fs::file_size(path) / page_size);
  write_page_count(pages + 3);
  std::thread committing([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    write_page_count(pages);
    writer.execute("COMMIT");
  });
  EXPECT_EQ(std::string(rejection_of(path).what()), "accepted");
  committing.join();
}

TEST(BackupDatabase, CopiesContentAndPermissionBitsIntoNewDirectories) {
  const TemporaryDirectory directory;
  const auto source_path = directory / "source.sqlite";
  make_database(source_path);
  fs::permissions(source_path,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  Connection source(source_path, OpenMode::read_write);
  const fs::path destination = directory / "backups" / "daily" / "copy.sqlite";

  backup_database(source, destination);
  source.execute("DELETE FROM t");

  EXPECT_NO_THROW(check_database_file(destination));
  EXPECT_EQ(sum_of_rows(destination), 5050);
  EXPECT_EQ(fs::status(destination).permissions(), fs::status(source_path).permissions());
  EXPECT_THAT(file_names(destination.parent_path()), ::testing::ElementsAre("copy.sqlite"));
}

TEST(BackupDatabase, ReplacesDamagedCopiesAndLeavesNoTemporaryFileOnFailure) {
  const TemporaryDirectory directory;
  const auto source = directory / "source.sqlite";
  const auto destination = directory / "copy.sqlite";
  make_database(source);
  std::ofstream(destination) << "garbage left by a failed write";
  std::ofstream(destination.string() + "-journal") << std::string(600, '\x01');

  copy_database_file(source, destination);
  EXPECT_NO_THROW(check_database_file(destination));
  EXPECT_EQ(sum_of_rows(destination), 5050);

  // A non-empty directory cannot be replaced by the copy.
  const auto occupied = directory / "occupied";
  fs::create_directories(occupied / "inside");
  try {
    copy_database_file(source, occupied);
    FAIL() << "a directory was replaced";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "cannot back up database \"" + source.string() +
                                             "\" to \"" + occupied.string() +
                                             "\": cannot rename the temporary copy to \"" +
                                             occupied.string() + "\": Is a directory");
  }
  EXPECT_THAT(file_names(directory.path()),
              ::testing::UnorderedElementsAre("source.sqlite", "copy.sqlite", "occupied"));
}

}  // namespace
}  // namespace tavo::db
