// Writing whole files so that a crash leaves either the old file or the new
// one, never a part of either. The new bytes go to a temporary file beside
// the target, are flushed to disk with fsync and only then renamed over the
// target; the directory is synced as well, so that the rename survives a
// crash. Every writer of a whole file in this system goes through here.
//
// Every failure throws FileError naming the file concerned, and leaves no
// temporary file behind.
#pragma once

#include <filesystem>
#include <string_view>

#include "db/file_descriptor.hpp"

namespace tavo::db {

// A new file beside `target` that takes its place on commit(). Until then
// the target is untouched, and the new file is removed when this object
// goes out of scope. Missing parent directories of `target` are created.
// The new file has the permission bits of the file it replaces, or is
// readable and writable by its owner only when there is none.
class FileReplacement {
 public:
  explicit FileReplacement(std::filesystem::path target);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  // The new file ("<target>.partial-XXXXXX"), for a writer that opens it by
  // name; it exists, empty, from construction on.
  const std::filesystem::path& path() const { return path_; }

  // Appends `bytes` to the new file.
  void write(std::string_view bytes);

  // Appends the contents of the file `source` and gives the new file the
  // permission bits of `source`.
  void copy_from(const std::filesystem::path& source);

  // Gives the new file the permission bits of the file `source`.
  void copy_permissions_from(const std::filesystem::path& source);

  // Syncs and closes the new file, renames it to the target and syncs the
  // target's directory.
  void commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path path_;
  FileDescriptor file_;
  bool committed_ = false;
};

// Replaces the file `target` by one holding exactly `contents`.
void write_file_durably(const std::filesystem::path& target, std::string_view contents);

// Copies the file `source` to `target`, with the permission bits of
// `source`.
void copy_file_durably(const std::filesystem::path& source, const std::filesystem::path& target);

// Renames the file `from` to `to`, replacing a file there, and syncs the
// directories of both.
void rename_durably(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tavo::db
