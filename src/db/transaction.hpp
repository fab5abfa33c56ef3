// A scoped database transaction.
//
//   db::Transaction transaction(connection);
//   ...  // statements on `connection`
//   transaction.commit();
//
// Leaving the scope without commit(), normally or by an exception, rolls
// the transaction back.

#pragma once

#include "db/connection.hpp"

namespace tavo::db {

// When the transaction takes its locks (SQLite's BEGIN DEFERRED, IMMEDIATE
// and EXCLUSIVE).
enum class TransactionKind {
  deferred,   // at the first read or write
  immediate,  // the write lock at once, so that writing later cannot be busy
  exclusive,  // the write lock at once, also keeping other readers out
};

// Begins a transaction on construction and rolls it back on destruction
// unless it was committed. Neither copyable nor movable; the connection
// must outlive it.
class Transaction {
 public:
  // Begins the transaction; throws db::Error when it cannot (for example
  // when a transaction is already open on `connection`).
  explicit Transaction(Connection& connection, TransactionKind kind = TransactionKind::immediate);

  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // Rolls back unless committed; never throws.
  ~Transaction();

  // Commits the transaction. When this throws, the transaction is still
  // open and is rolled back at destruction.
  void commit();

 private:
  Connection& connection_;
  bool committed_ = false;
};

}  // namespace tavo::db
