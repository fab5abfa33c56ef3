// A scoped database transaction.

#include "db/transaction.hpp"

#include <sqlite3.h>

namespace tavo::db {
namespace {

std::string_view begin_statement(TransactionKind kind) {
  switch (kind) {
    case TransactionKind::deferred: return "BEGIN DEFERRED";
    case TransactionKind::immediate: return "BEGIN IMMEDIATE";
    case TransactionKind::exclusive: return "BEGIN EXCLUSIVE";
  }
  return "BEGIN IMMEDIATE";
}

}  // namespace

Transaction::Transaction(Connection& connection, TransactionKind kind) : connection_(connection) {
  connection_.execute(begin_statement(kind));
}

Transaction::~Transaction() {
  // SQLite may already have rolled back by itself (after some I/O and
  // out-of-memory errors); then there is nothing left to undo. A failing
  // rollback cannot be reported from here, and SQLite rolls back an open
  // transaction when the connection closes anyway.
  sqlite3* db = connection_.handle();
  if (!committed_ && sqlite3_get_autocommit(db) == 0) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
}

void Transaction::commit() {
  connection_.execute("COMMIT");
  committed_ = true;
}

}  // namespace tavo::db
