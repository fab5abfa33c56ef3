// Temporary file, fsync, rename, directory sync: the crash-safe way to
// write a whole file.
#include "db/durable_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "db/file_error.hpp"

namespace tavo::db {
namespace {

namespace fs = std::filesystem;

fs::path directory_of(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Throws FileError for the system call that just failed. Callers pass an
// existing path, so that nothing runs between that call and the reading of
// errno.
[[noreturn]] void fail(const char* doing, const fs::path& path) {
  const int error = errno;
  throw FileError(error, doing, path);
}

FileDescriptor open_file(const fs::path& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) fail("cannot open", path);
  return FileDescriptor(fd);
}

void create_missing_directories(const fs::path& directory) {
  std::error_code error;
  fs::create_directories(directory, error);
  if (error) throw FileError(error.value(), "cannot create directory", directory);
}

// Creates the new empty file "<target>.partial-XXXXXX", its X's made
// unique, and missing directories above it; sets `path` to its name.
int create_beside(const fs::path& target, fs::path& path) {
  create_missing_directories(directory_of(target));
  std::string name = target.native() + ".partial-XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    throw FileError(error, "cannot create", name);
  }
  path = std::move(name);
  return fd;
}

void write_all(int fd, std::string_view bytes, const fs::path& path) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) fail("cannot write", path);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void sync(int fd, const fs::path& path, const char* doing) {
  if (::fsync(fd) != 0) fail(doing, path);
}

void sync_directory(const fs::path& directory) {
  const FileDescriptor handle = open_file(directory, O_RDONLY | O_DIRECTORY);
  sync(handle.get(), directory, "cannot sync directory");
}

// The permission bits of `path`, or nothing when it does not exist.
std::optional<mode_t> permissions_of(const fs::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return status.st_mode & 07777;
}

void set_permissions(int fd, mode_t mode, const fs::path& path) {
  if (::fchmod(fd, mode) != 0) fail("cannot set the permissions of", path);
}

}  // namespace

FileReplacement::FileReplacement(fs::path target)
    : target_(std::move(target)), file_(create_beside(target_, path_)) {
  if (const std::optional<mode_t> mode = permissions_of(target_)) {
    set_permissions(file_.get(), *mode, path_);
  }
}

FileReplacement::~FileReplacement() {
  if (!committed_) ::unlink(path_.c_str());
}

void FileReplacement::write(std::string_view bytes) { write_all(file_.get(), bytes, path_); }

void FileReplacement::copy_from(const fs::path& source) {
  const FileDescriptor input = open_file(source, O_RDONLY);
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t count = ::read(input.get(), buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) fail("cannot read", source);
    if (count == 0) break;
    write({buffer.data(), static_cast<std::size_t>(count)});
  }
  copy_permissions_from(source);
}

void FileReplacement::copy_permissions_from(const fs::path& source) {
  const std::optional<mode_t> mode = permissions_of(source);
  if (!mode) fail("cannot read the permissions of", source);
  set_permissions(file_.get(), *mode, path_);
}

void FileReplacement::commit() {
  sync(file_.get(), path_, "cannot sync");
  if (file_.close() != 0) fail("cannot close", path_);
  if (::rename(path_.c_str(), target_.c_str()) != 0) {
    fail("cannot rename the temporary copy to", target_);
  }
  committed_ = true;
  sync_directory(directory_of(target_));
}

void write_file_durably(const fs::path& target, std::string_view contents) {
  FileReplacement replacement(target);
  replacement.write(contents);
  replacement.commit();
}

void copy_file_durably(const fs::path& source, const fs::path& target) {
  FileReplacement copy(target);
  copy.copy_from(source);
  copy.commit();
}

void rename_durably(const fs::path& from, const fs::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    const int error = errno;
    throw FileError(error, "cannot rename " + quoted(from) + " to", to);
  }
  sync_directory(directory_of(to));
  if (directory_of(from) != directory_of(to)) sync_directory(directory_of(from));
}

}  // namespace tavo::db
