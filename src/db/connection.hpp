// A connection to one SQLite database file.
//
// Every connection is set up the same way: extended result codes, a
// rollback journal that is deleted at commit, and a busy timeout so that
// short lock conflicts with other connections wait instead of failing.
// Commits are synced fully unless the store can be rebuilt from another.

#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/statement.hpp"

struct sqlite3;

namespace tavo::db {

enum class OpenMode {
  read_only,   // the file must exist; writes fail
  read_write,  // the file must exist
  create,      // read-write; a missing file is created
};

// How a connection's commits reach the disk.
enum class Sync {
  // Every commit is synced: once it returns it survives a power cut.
  full,
  // Commits are never synced: they survive the end of the process, killed
  // or not, but a power cut may take back the newest ones or damage the
  // file. Only for a store whose content another store can rebuild.
  rebuildable,
};

// Owns one open database connection; move-only. A moved-from connection
// may only be destroyed or assigned to. Every failure throws db::Error.
class Connection {
 public:
  // Opens the database at `path`. SQLite creates the file lazily: a new
  // database stays an empty file until something is written to it.
  Connection(const std::filesystem::path& path, OpenMode mode, Sync sync = Sync::full);

  // Opens the database at `path` without reading the file, so that a file
  // that may be damaged can be inspected through the connection: only the
  // result codes and the busy timeout are set up.
  static Connection for_inspection(const std::filesystem::path& path, OpenMode mode);

  Connection(Connection&&) noexcept = default;
  Connection& operator=(Connection&&) noexcept = default;
  ~Connection() = default;

  // Runs one or more SQL statements separated by ';', ignoring any rows.
  void execute(std::string_view sql);

  // Prepares exactly one SQL statement (a trailing ';' is allowed).
  Statement prepare(std::string_view sql);

  // The rowid of the most recent successful INSERT on this connection.
  std::int64_t last_insert_rowid() const;

  // Rows changed by the most recent INSERT, UPDATE or DELETE.
  int changes() const;

  // Checks the database for damage; `quick` skips the slower index checks.
  // Returns the problems found, one per entry, or nothing when the database
  // is sound. Damage that stops the check itself is returned as a problem.
  std::vector<std::string> integrity_check(bool quick);

  // The path the connection was opened with.
  const std::filesystem::path& path() const { return path_; }

  // The raw handle, for callers that need SQLite's own API. It stays owned
  // by this connection.
  sqlite3* handle() { return handle_.get(); }

 private:
  struct Close {
    void operator()(sqlite3* handle) const noexcept;
  };

  struct Unconfigured {};
  Connection(const std::filesystem::path& path, OpenMode mode, Unconfigured);

  void apply_settings(Sync sync);

  std::filesystem::path path_;
  std::unique_ptr<sqlite3, Close> handle_;
};

}  // namespace tavo::db
