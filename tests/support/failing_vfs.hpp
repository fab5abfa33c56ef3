// A SQLite VFS for tests that counts the writes and syncs of every file
// SQLite opens (databases, journals, temporary files) and makes one of
// them fail, so that a test can check what an operation does when the
// disk fails at each point of its work.
//
//   {
//     FailingVfs vfs(3, WriteFault::error);  // the third write or sync fails
//     store.record(...);                     // throws db::Error
//   }                                        // the earlier default VFS is back
//
// Everything but the file operations is the wrapped VFS's own.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <string>

namespace tavo::testing {

// How the failing write fails; a failing sync always reports
// SQLITE_IOERR_FSYNC without syncing.
enum class WriteFault {
  error,        // nothing is written; SQLITE_IOERR_WRITE
  short_write,  // the first half is written, as on a full disk; SQLITE_FULL
};

// Installs the counting VFS as SQLite's default for its lifetime, wrapping
// the default it replaces. Only one may be installed at a time, and every
// connection opened while it is installed must be closed before it goes.
class FailingVfs {
 public:
  // Counts from zero and makes write-or-sync number `failing` (1-based)
  // fail with `fault`; with `failing` 0 nothing fails.
  explicit FailingVfs(std::size_t failing = 0, WriteFault fault = WriteFault::error);
  FailingVfs(const FailingVfs&) = delete;
  FailingVfs& operator=(const FailingVfs&) = delete;
  // Restores the earlier default VFS.
  ~FailingVfs();

  // The writes and syncs made so far, the failing one included.
  std::size_t writes() const { return writes_; }
  std::size_t syncs() const { return syncs_; }
  // True once the failure has been injected.
  bool injected() const { return !injected_at_.empty(); }
  // The failure injected, such as "write 2 of /tmp/x/kkv_alle.dat-journal",
  // for test diagnostics; empty while none is.
  const std::string& injected_at() const { return injected_at_; }

 private:
  friend struct FailingFile;

  // Counts one write or sync of the file `name` (null for a temporary
  // file) and tells whether it is the one to fail.
  bool should_fail(bool is_sync, const char* name);

  sqlite3_vfs* const wrapped_;
  sqlite3_vfs vfs_;
  const std::size_t failing_;
  const WriteFault fault_;
  std::size_t writes_ = 0;
  std::size_t syncs_ = 0;
  std::string injected_at_;
};

}  // namespace tavo::testing
