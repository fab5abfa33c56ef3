// An open POSIX file descriptor owned by one object.
#pragma once

#include <unistd.h>

#include <utility>

namespace tavo::db {

// Closes the descriptor when it goes out of scope; a negative one (a failed
// open) is held but never closed.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }

  int get() const { return fd_; }

  // Closes the descriptor now and gives ::close's result, so that a caller
  // can report a failing close.
  int close() { return ::close(std::exchange(fd_, -1)); }

 private:
  int fd_;
};

}  // namespace tavo::db
