// Writing and copying whole files so that a crash never leaves one half-written.
#pragma once

#include <filesystem>
#include <string_view>

namespace tavo::platform::detail {

// Copies the file `source` to `target`. The bytes go to a temporary file
// beside `target`, are flushed to disk with fsync and only then renamed to
// `target`; the directory is synced as well, so the rename survives a crash.
// The copy gets the source's permission bits. Throws std::system_error
// naming the file concerned, and leaves no temporary file behind.
void copy_file_durably(const std::filesystem::path& source, const std::filesystem::path& target);

// Replaces the file `target` by one holding exactly `contents`. The bytes go
// to a temporary file beside `target`, are flushed to disk with fsync and
// only then renamed to `target`; the directory is synced as well, so the
// rename survives a crash. A crash leaves either the old or the new file.
// A replaced file keeps its permission bits; a new one is readable and
// writable by its owner only.
// Throws std::system_error naming the file concerned, and leaves no
// temporary file behind.
void write_file_durably(const std::filesystem::path& target, std::string_view contents);

}  // namespace tavo::platform::detail
