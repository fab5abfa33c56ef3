// Temporary file, fsync, rename: the crash-safe way to write a whole file.
#include "platform/detail/durable_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/detail/file_descriptor.hpp"

namespace tavo::platform::detail {
namespace {

namespace fs = std::filesystem;

// Callers pass errno and an existing path, so that nothing runs between the
// failing call and the reading of errno.
[[noreturn]] void fail(int error, const char* action, const fs::path& path) {
  throw std::system_error(error, std::generic_category(),
                          std::string(action) + " \"" + path.native() + '"');
}

FileDescriptor open_file(const fs::path& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) fail(errno, "cannot open", path);
  return FileDescriptor(fd);
}

// A new file beside `target`, removed again unless it is renamed to it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target)
      : path_(target.native() + ".tmp-XXXXXX"), file_(create(path_)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!renamed_) ::unlink(path_.c_str());
  }

  int fd() const { return file_.get(); }
  const fs::path& path() const { return path_; }

  void close() {
    if (file_.close() != 0) fail(errno, "cannot close", path_);
  }

  void rename_to(const fs::path& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) {
      fail(errno, "cannot rename the temporary copy to", target);
    }
    renamed_ = true;
  }

 private:
  // Creates the file, replacing the X's of `path` by a unique suffix.
  static int create(fs::path& path) {
    std::string name = path.native();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) fail(errno, "cannot create", path);
    path = std::move(name);
    return fd;
  }

  fs::path path_;
  FileDescriptor file_;
  bool renamed_ = false;
};

void write_all(int fd, const char* data, std::size_t size, const fs::path& path) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) fail(errno, "cannot write", path);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void copy_contents(int from, const fs::path& source, int to, const fs::path& target) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t count = ::read(from, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) fail(errno, "cannot read", source);
    if (count == 0) return;
    write_all(to, buffer.data(), static_cast<std::size_t>(count), target);
  }
}

// Gives the temporary file the permission bits of the file it replaces.
void keep_permissions(const fs::path& target, int fd, const fs::path& path) {
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) return;
  if (::fchmod(fd, status.st_mode & 07777) != 0) fail(errno, "cannot set the permissions of", path);
}

void copy_permissions(int from, const fs::path& source, int to, const fs::path& target) {
  struct stat status {};
  if (::fstat(from, &status) != 0) fail(errno, "cannot read the permissions of", source);
  if (::fchmod(to, status.st_mode & 07777) != 0) {
    fail(errno, "cannot set the permissions of", target);
  }
}

void sync(int fd, const fs::path& path) {
  if (::fsync(fd) != 0) fail(errno, "cannot sync", path);
}

void sync_directory_of(const fs::path& file) {
  const fs::path directory = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const FileDescriptor handle = open_file(directory, O_RDONLY | O_DIRECTORY);
  sync(handle.get(), directory);
}

}  // namespace

void copy_file_durably(const fs::path& source, const fs::path& target) {
  const FileDescriptor input = open_file(source, O_RDONLY);
  TemporaryFile output(target);
  copy_contents(input.get(), source, output.fd(), output.path());
  copy_permissions(input.get(), source, output.fd(), output.path());
  sync(output.fd(), output.path());
  output.close();
  output.rename_to(target);
  sync_directory_of(target);
}

void write_file_durably(const fs::path& target, std::string_view contents) {
  TemporaryFile output(target);
  write_all(output.fd(), contents.data(), contents.size(), output.path());
  keep_permissions(target, output.fd(), output.path());
  sync(output.fd(), output.path());
  output.close();
  output.rename_to(target);
  sync_directory_of(target);
}

}  // namespace tavo::platform::detail
