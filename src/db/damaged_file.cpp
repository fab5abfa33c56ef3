// Damaged files kept under one name, written durably like every file.
#include "db/damaged_file.hpp"

#include "db/durable_file.hpp"
#include "db/file_error.hpp"

namespace tavo::db {

std::filesystem::path damaged_name(const std::filesystem::path& path) {
  std::filesystem::path name = path;
  name += ".damaged";
  return name;
}

void keep_damaged_copy(const std::filesystem::path& path) {
  try {
    copy_file_durably(path, damaged_name(path));
  } catch (const FileError&) {
    // The file is replaced all the same.
  }
}

std::filesystem::path set_damaged_file_aside(const std::filesystem::path& path) {
  std::filesystem::path aside = damaged_name(path);
  rename_durably(path, aside);
  return aside;
}

}  // namespace tavo::db
