// Copying a file so that a crash never leaves a half-written copy.
#pragma once

#include <filesystem>

namespace tavo::platform::detail {

// Copies the file `source` to `target`. The bytes go to a temporary file
// beside `target`, are flushed to disk with fsync and only then renamed to
// `target`; the directory is synced as well, so the rename survives a crash.
// The copy gets the source's permission bits. Throws std::system_error
// naming the file concerned, and leaves no temporary file behind.
void copy_file_durably(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace tavo::platform::detail
