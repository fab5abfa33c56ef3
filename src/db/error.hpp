// The exception type of the database layer.
//
// Every failure of SQLite, and every problem this layer detects in a
// database file, is reported as a db::Error whose message is one line:
// what was being done, the database file, and the reason. The file, SQLite's
// code and whether the file is damaged are members, for code to read.

#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

namespace tavo::db {

class Error : public std::runtime_error {
 public:
  // A failure concerning the database file `path` (for a copy, the file
  // copied). `code` is SQLite's extended result code for the failure (for
  // example SQLITE_BUSY or SQLITE_CONSTRAINT_UNIQUE); problems found by
  // this layer itself carry the closest SQLite code, such as SQLITE_NOTADB.
  Error(const std::string& message, int code, std::filesystem::path path)
      : std::runtime_error(message), code_(code), path_(std::move(path)) {}
  // As above, for a failure of a statement: `reason` is the failure in
  // words, without what was being done (which may quote SQL).
  Error(const std::string& message, int code, std::filesystem::path path, std::string reason)
      : std::runtime_error(message),
        code_(code),
        path_(std::move(path)),
        reason_(std::move(reason)) {}

  // SQLite's extended result code for the failure.
  int code() const noexcept { return code_; }

  // The database file the failure concerns.
  const std::filesystem::path& path() const noexcept { return path_; }

  // The failure in words, for a message to a person who needs no SQL;
  // empty when the message itself says it plainly.
  const std::string& reason() const noexcept { return reason_; }

  // True when the failure is damage of the database file itself (it is
  // corrupt, or not a database of the expected kind), not a failure of
  // this moment such as a busy lock or a full disk.
  bool is_damage() const noexcept {
    const int primary_code = code_ & 0xff;
    return primary_code == SQLITE_CORRUPT || primary_code == SQLITE_NOTADB;
  }

 private:
  int code_;
  std::filesystem::path path_;
  std::string reason_;
};

}  // namespace tavo::db
