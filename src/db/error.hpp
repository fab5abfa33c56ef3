// The exception type of the database layer.
//
// Every failure of SQLite, and every problem this layer detects in a
// database file, is reported as a db::Error whose message is one line:
// what was being done, the database file, and the reason.

#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace tavo::db {

class Error : public std::runtime_error {
 public:
  // `code` is SQLite's extended result code for the failure (for example
  // SQLITE_BUSY or SQLITE_CONSTRAINT_UNIQUE); problems found by this layer
  // itself carry the closest SQLite code, such as SQLITE_NOTADB.
  Error(const std::string& message, int code) : std::runtime_error(message), code_(code) {}

  // SQLite's extended result code for the failure.
  int code() const noexcept { return code_; }

  // True when the failure is damage of the database file itself (it is
  // corrupt, or not a database of the expected kind), not a failure of
  // this moment such as a busy lock or a full disk.
  bool is_damage() const noexcept {
    const int primary_code = code_ & 0xff;
    return primary_code == SQLITE_CORRUPT || primary_code == SQLITE_NOTADB;
  }

 private:
  int code_;
};

}  // namespace tavo::db
