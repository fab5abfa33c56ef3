// Keeping a damaged file beside its place as "<name>.damaged", so that it
// can still be inspected after the file has been replaced or recreated.
#pragma once

#include <filesystem>

namespace tavo::db {

// The name the damaged file `path` is kept under: `path` + ".damaged".
std::filesystem::path damaged_name(const std::filesystem::path& path);

// Copies the file at `path` to damaged_name(path), replacing an earlier
// such copy; for a file about to be replaced. A failure to copy is
// ignored: keeping it is a courtesy.
void keep_damaged_copy(const std::filesystem::path& path);

// Renames the file at `path` to damaged_name(path), replacing an earlier
// one, and returns the new name; for a file about to be recreated, which
// then cannot replace it. FileError when renaming fails.
std::filesystem::path set_damaged_file_aside(const std::filesystem::path& path);

}  // namespace tavo::db
