// Tests of Transaction: nothing uncommitted survives, whether the scope is
// left normally, by an exception or after a failed commit; committed data
// survives closing the database.

#include "db/transaction.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <stdexcept>

#include "db/connection.hpp"
#include "db/error.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::db {
namespace {

using testing::TemporaryDirectory;

std::int64_t count_rows(Connection& db) {
  Statement count = db.prepare("SELECT count(*) FROM t");
  EXPECT_TRUE(count.step());
  return count.column_int64(0);
}

void insert_row(Connection& db, int value) {
  Statement insert = db.prepare("INSERT INTO t VALUES (?)");
  insert.bind(1, value);
  insert.run();
}

TEST(Transaction, OnlyCommittedWorkSurvivesReopening) {
  const TemporaryDirectory directory;
  const auto path = directory / "db.sqlite";
  {
    Connection db(path, OpenMode::create);
    db.execute("CREATE TABLE t(x)");
    EXPECT_THROW(
        {
          Transaction transaction(db, TransactionKind::deferred);
          insert_row(db, 1);
          throw std::runtime_error("work failed");
        },
        std::runtime_error);
    EXPECT_EQ(count_rows(db), 0);
    EXPECT_NE(sqlite3_get_autocommit(db.handle()), 0) << "still in a transaction";
    {
      Transaction outer(db, TransactionKind::exclusive);
      insert_row(db, 2);
      EXPECT_THROW(Transaction inner(db), Error);
      insert_row(db, 3);
      outer.commit();
    }
    Transaction abandoned(db);
    insert_row(db, 4);
  }
  Connection db(path, OpenMode::read_only);
  Statement values = db.prepare("SELECT group_concat(x) FROM t");
  ASSERT_TRUE(values.step());
  EXPECT_EQ(values.column_text(0), "2,3");
}

TEST(Transaction, FailedCommitIsRolledBack) {
  const TemporaryDirectory directory;
  Connection db(directory / "db.sqlite", OpenMode::create);
  // A deferred foreign key is only checked at COMMIT.
  db.execute(
      "PRAGMA foreign_keys=ON;"
      "CREATE TABLE parent(id INTEGER PRIMARY KEY);"
      "CREATE TABLE t(x REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED)");
  {
    Transaction transaction(db);
    insert_row(db, 42);
    try {
      transaction.commit();
      FAIL() << "a dangling reference was committed";
    } catch (const Error& error) {
      EXPECT_EQ(error.code(), SQLITE_CONSTRAINT_FOREIGNKEY);
    }
  }
  EXPECT_NE(sqlite3_get_autocommit(db.handle()), 0) << "still in a transaction";
  EXPECT_EQ(count_rows(db), 0);
}

}  // namespace
}  // namespace tavo::db
