// Tests of Connection and Statement: values round trip unchanged, and every
// failure is reported with a message that names the statement, the
// database and SQLite's reason.

#include "db/connection.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "db/error.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::db {
namespace {

using testing::TemporaryDirectory;

// The error `action` throws, or one with the message "no error".
template <typename Action>
Error error_of(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error;
  }
  return Error("no error", SQLITE_OK, {});
}

template <typename Action>
std::string message_of(Action action) {
  return error_of(action).what();
}

TEST(Statement, EveryTypeRoundTrips) {
  const TemporaryDirectory directory;
  Connection db(directory / "values.sqlite", OpenMode::create);
  db.execute("CREATE TABLE v(i, n, r, s, e, b, eb, z, o)");
  const std::int64_t smallest = std::numeric_limits<std::int64_t>::min();
  const std::string with_nul("a\0b\xC3\xA4", 5);
  const std::vector<std::byte> blob{std::byte{0}, std::byte{0xFF}};

  Statement insert = db.prepare("INSERT INTO v VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?);");
  insert.bind_all(smallest, -7, 0.1, with_nul, std::string_view(), blob,
                  std::span<const std::byte>(), nullptr, std::optional<int>());
  insert.run();

  Statement select = db.prepare("SELECT * FROM v");
  ASSERT_TRUE(select.step());
  ASSERT_EQ(select.column_count(), 9);
  EXPECT_EQ(select.column_int64(0), smallest);
  EXPECT_EQ(select.column_int64(1), -7);
  EXPECT_EQ(select.column_type(2), ColumnType::real);
  EXPECT_EQ(select.column_double(2), 0.1);
  EXPECT_EQ(select.column_text(3), with_nul);
  // Empty text and blobs stay empty values, not NULL.
  EXPECT_EQ(select.column_type(4), ColumnType::text);
  EXPECT_EQ(select.column_blob(5), blob);
  EXPECT_EQ(select.column_type(6), ColumnType::blob);
  EXPECT_TRUE(select.column_is_null(7));
  EXPECT_TRUE(select.column_is_null(8));
  EXPECT_FALSE(select.step());

  // reset() also clears the bindings: the next row is all NULL.
  insert.reset();
  insert.bind(2, std::optional<double>(2.5));
  insert.run();
  Statement nulls = db.prepare("SELECT count(*) FROM v WHERE i IS NULL AND n = 2.5");
  ASSERT_TRUE(nulls.step());
  EXPECT_EQ(nulls.column_int64(0), 1);
}

TEST(Statement, ErrorsNameStatementDatabaseAndReason) {
  const TemporaryDirectory directory;
  const auto path = directory / "errors.sqlite";
  Connection db(path, OpenMode::create);
  db.execute("CREATE TABLE t(id INTEGER PRIMARY KEY)");
  const std::string in = " in database \"" + path.string() + "\": ";

  EXPECT_EQ(message_of([&] { db.prepare("SELEC 1"); }),
            "cannot prepare \"SELEC 1\"" + in + "near \"SELEC\": syntax error");
  EXPECT_EQ(message_of([&] { db.prepare("SELECT 1; SELECT 2"); }),
            "cannot prepare \"SELECT 1; SELECT 2\"" + in + "more than one SQL statement");
  EXPECT_EQ(message_of([&] { db.execute("CREATE TABLE t(x)"); }),
            "cannot execute \"CREATE TABLE t(x)\"" + in + "table t already exists");

  Statement insert = db.prepare("INSERT INTO t VALUES (?)");
  insert.bind(1, 1);
  insert.run();
  const Error duplicate = error_of([&] { insert.run(); });
  EXPECT_EQ(std::string(duplicate.what()),
            "cannot execute \"INSERT INTO t VALUES (?)\"" + in + "UNIQUE constraint failed: t.id");
  EXPECT_EQ(duplicate.code(), SQLITE_CONSTRAINT_PRIMARYKEY);
  EXPECT_EQ(duplicate.path(), path);
  EXPECT_EQ(duplicate.reason(), "UNIQUE constraint failed: t.id");
  // A failed statement can be bound and run again without a reset().
  insert.bind(1, 2);
  insert.run();
  EXPECT_EQ(db.last_insert_rowid(), 2);
  EXPECT_EQ(
      message_of([&] { insert.bind(2, 1); }),
      "cannot bind parameter 2 of \"INSERT INTO t VALUES (?)\"" + in + "column index out of range");
  EXPECT_EQ(message_of([&] { insert.bind_all(1, 2); }),
            "cannot bind 2 values to \"INSERT INTO t VALUES (?)\"" + in +
                "the statement has 1 parameters");

  Statement select = db.prepare("SELECT id FROM t");
  ASSERT_TRUE(select.step());
  EXPECT_EQ(message_of([&] { select.column_text(1); }),
            "cannot read column 1 of \"SELECT id FROM t\"" + in + "column index out of range");
}

TEST(Connection, OpensOnlyUsableDatabases) {
  const TemporaryDirectory directory;
  const auto missing = directory / "missing.sqlite";
  const Error unopened = error_of([&] { Connection(missing, OpenMode::read_write); });
  EXPECT_EQ(std::string(unopened.what()),
            "cannot open database \"" + missing.string() + "\": unable to open database file");
  EXPECT_EQ(unopened.path(), missing);
  EXPECT_FALSE(unopened.is_damage());
  EXPECT_FALSE(std::filesystem::exists(missing));

  const auto text = directory / "notes.txt";
  std::ofstream(text) << "not a database, just some text\n";
  const Error not_a_database = error_of([&] { Connection(text, OpenMode::read_write); });
  EXPECT_EQ(std::string(not_a_database.what()),
            "cannot open database \"" + text.string() + "\": file is not a database");
  EXPECT_EQ(not_a_database.path(), text);
  EXPECT_TRUE(not_a_database.is_damage());

  const auto path = directory / "db.sqlite";
  Connection(path, OpenMode::create).execute("CREATE TABLE t(x)");
  Connection reader(path, OpenMode::read_only);
  const Error refused = error_of([&] { reader.execute("INSERT INTO t VALUES (1)"); });
  EXPECT_THAT(refused.what(), ::testing::EndsWith(": attempt to write a readonly database"));
  EXPECT_EQ(refused.code() & 0xFF, SQLITE_READONLY);
}

TEST(Connection, IntegrityCheckReportsDamage) {
  const TemporaryDirectory directory;
  const auto path = directory / "db.sqlite";
  {
    Connection db(path, OpenMode::create);
    db.execute(
        "CREATE TABLE t(x, pad); CREATE INDEX t_x ON t(x);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
        "WHERE i < 500) INSERT INTO t SELECT i, zeroblob(200) FROM n");
    EXPECT_TRUE(db.integrity_check(false).empty());
    EXPECT_TRUE(db.integrity_check(true).empty());
  }
  {
    // Overwrite a page in the middle of the table with garbage.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(4096 * 10);
    file << std::string(4096, '\x5A');
  }
  Connection db(path, OpenMode::read_write);
  EXPECT_FALSE(db.integrity_check(false).empty());
  EXPECT_FALSE(db.integrity_check(true).empty());
}

}  // namespace
}  // namespace tavo::db
