// The shelf opening routine with its fallback to the backup copy.
#include "karteikarten/storage/shelve_opening.hpp"

#include <exception>
#include <filesystem>
#include <optional>

#include "platform/getcwd.hpp"

namespace tavo::kk {
namespace {

namespace fs = std::filesystem;

std::optional<platform::Shelf> try_open(const fs::path& path, bool writeback) {
  try {
    return platform::Shelf::open(path, writeback);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool try_copy(platform::Shelf& shelf, const fs::path& destination) {
  try {
    shelf.copy_to(destination);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Keeps the unreadable file for inspection before it is replaced.
void keep_damaged_file(const fs::path& path) {
  std::error_code ignored;
  fs::copy_file(path, fs::path(path.string() + ".damaged"), fs::copy_options::overwrite_existing,
                ignored);
}

platform::Shelf restore_from_backup(const fs::path& file, const fs::path& backup, bool writeback) {
  std::optional<platform::Shelf> from_backup = try_open(backup, writeback);
  if (!from_backup) return platform::Shelf();
  keep_damaged_file(file);
  if (!try_copy(*from_backup, file)) return std::move(*from_backup);
  std::optional<platform::Shelf> restored = try_open(file, writeback);
  return restored ? std::move(*restored) : std::move(*from_backup);
}

}  // namespace

std::string get_shelve_main_directory(const std::string& zusatz) {
  return platform::GetCwd().get_app_data_dir() + "settings/" + zusatz;
}

std::string shelve_backup_name(const std::string& filename) { return filename + "old"; }

platform::Shelf add_shelve_file(const std::string& filename, bool writeback, const Value& copy) {
  const fs::path file = filename;
  if (std::optional<platform::Shelf> shelf = try_open(file, writeback)) {
    if (copy == Value(true)) try_copy(*shelf, shelve_backup_name(filename));
    return std::move(*shelf);
  }
  return restore_from_backup(file, shelve_backup_name(filename), writeback);
}

}  // namespace tavo::kk
