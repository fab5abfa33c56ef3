// The exception type of file operations outside SQLite: writing, copying
// and renaming whole files.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "value/quoted.hpp"

namespace tavo::db {

// A failing system call on a file. The message is one line, what was being
// done, the file and the system's reason: `cannot read "/a/b": Is a
// directory`; code() holds the errno value.
class FileError : public std::system_error {
 public:
  // `doing` is the action without the file: "cannot read".
  FileError(int error, const std::string& doing, std::filesystem::path path)
      : std::system_error(error, std::generic_category(), doing + " " + quoted(path)),
        path_(std::move(path)) {}

  // The file the failing call was about.
  const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace tavo::db
