// The exception type of the database layer.
//
// Every failure of SQLite, and every problem this layer detects in a
// database file, is reported as a db::Error whose message is one line:
// what was being done, the database file, and the reason.

#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

namespace tavo::db {

class Error : public std::runtime_error {
 public:
  // `code` is SQLite's extended result code for the failure (for example
  // SQLITE_BUSY or SQLITE_CONSTRAINT_UNIQUE); problems found by this layer
  // itself carry the closest SQLite code, such as SQLITE_NOTADB.
  Error(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
  // A failure of an operation on the database file `path`: `reason` is the
  // failure in words, without what was being done (which may quote SQL).
  Error(const std::string& message, int code, std::filesystem::path path, std::string reason)
      : std::runtime_error(message),
        code_(code),
        path_(std::move(path)),
        reason_(std::move(reason)) {}

  // SQLite's extended result code for the failure.
  int code() const noexcept { return code_; }

  // The database file and the failure in words, for a message to a person
  // who needs no SQL; both empty when the message itself is all there is.
  const std::filesystem::path& path() const noexcept { return path_; }
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
