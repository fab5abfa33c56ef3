#include "platform/directory_lock.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>

#include "value/quoted.hpp"

namespace tavo::platform {
namespace {

namespace fs = std::filesystem;

DirectoryLockError not_writable(const fs::path& directory, int error) {
  return DirectoryLockError("cannot write to directory " + quoted(directory) + ": " +
                                std::generic_category().message(error),
                            directory);
}

DirectoryLockError in_use(const fs::path& directory, std::optional<pid_t> holder) {
  const std::string by = holder ? "process " + std::to_string(*holder) : "another process";
  return DirectoryLockError(
      "directory " + quoted(directory) + " is in use by " + by + "; try again when it has ended",
      directory, holder);
}

bool is_running(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// The process id written in the lock file `fd`. Nothing when the file holds
// none, or only that of a process that has ended: the holder writes its id
// just after taking the lock, so for a moment the file may still name the
// one before.
std::optional<pid_t> holder_named_in(int fd) {
  char text[32];
  const ssize_t length = ::pread(fd, text, sizeof text, 0);
  if (length <= 0) return std::nullopt;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(text, text + length, pid);
  if (error != std::errc() || pid <= 0 || !is_running(pid)) return std::nullopt;
  return pid;
}

// Replaces the contents of the lock file `fd` by this process's id.
void write_own_id(int fd, const fs::path& directory) {
  const std::string text = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) != 0) throw not_writable(directory, errno);
  const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
  if (written < 0) throw not_writable(directory, errno);
  if (static_cast<std::size_t>(written) != text.size()) throw not_writable(directory, ENOSPC);
}

// Creates `directory` when missing and opens (or creates) the lock file
// `path` in it: its descriptor.
int open_lock_file(const fs::path& directory, const fs::path& path) {
  std::error_code created;
  fs::create_directories(directory, created);
  // "File exists" from here means a file that is not a directory.
  if (created == std::errc::file_exists) throw not_writable(directory, ENOTDIR);
  if (created) throw not_writable(directory, created.value());
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw not_writable(directory, errno);
  return fd;
}

// Takes the lock on `fd` without waiting: true, or false when another open
// file holds it.
bool try_lock(int fd, const fs::path& directory) {
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return false;
    if (errno != EINTR) throw not_writable(directory, errno);
  }
  return true;
}

}  // namespace

DirectoryLock::DirectoryLock(const fs::path& directory, const std::string& lock_file_name)
    : path_(directory / lock_file_name), file_(open_lock_file(directory, path_)) {
  if (!try_lock(file_.get(), directory)) throw in_use(directory, holder_named_in(file_.get()));
  write_own_id(file_.get(), directory);
}

}  // namespace tavo::platform
