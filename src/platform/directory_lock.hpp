// One writer at a time in a directory: an exclusive advisory lock on a lock
// file inside it, held for the lifetime of a DirectoryLock object.
//
// The lock is the operating system's (flock), so it is released whenever
// the holding process ends, however it ends: a crashed or killed writer
// never leaves the directory locked. The lock file holds the process id of
// its holder, so that a process refused the lock can name the one that
// holds it. The file itself stays behind when the lock is released; only
// the lock on it counts.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "db/file_descriptor.hpp"

namespace tavo::platform {

// The lock could not be taken: another process holds it, or the directory
// cannot be written.
class DirectoryLockError : public std::runtime_error {
 public:
  DirectoryLockError(const std::string& message, std::filesystem::path directory,
                     std::optional<pid_t> holder = std::nullopt)
      : std::runtime_error(message), directory_(std::move(directory)), holder_(holder) {}

  // The directory that was to be locked.
  const std::filesystem::path& directory() const noexcept { return directory_; }
  // The process that holds the lock, when another process holds it and its
  // id could be read.
  std::optional<pid_t> holder() const noexcept { return holder_; }

 private:
  std::filesystem::path directory_;
  std::optional<pid_t> holder_;
};

class DirectoryLock {
 public:
  // Takes the lock on `directory` (created when missing) through the file
  // `lock_file_name` in it, without waiting, and writes this process's id
  // into that file. DirectoryLockError when another process holds the lock
  // ("directory "/d/" is in use by process 1234; try again when it has
  // ended"; the lock file is left as it was) or when the directory or its
  // lock file cannot be created or written ("cannot write to directory
  // "/d/": Permission denied").
  explicit DirectoryLock(const std::filesystem::path& directory,
                         const std::string& lock_file_name = "kkv.lock");

  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  // Releases the lock (by closing the lock file).
  ~DirectoryLock() = default;

  // The lock file.
  const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
  db::FileDescriptor file_;
};

}  // namespace tavo::platform
