// The shelf opening routine with its fallback to the backup copy.
//
// The day statistics store is a database of its own kind, not a shelf; the
// routine hands out a read-only snapshot of it, so that the host reads its
// usual nested mapping from that file too.
#include "karteikarten/storage/shelve_opening.hpp"

#include <exception>
#include <filesystem>
#include <optional>

#include "db/database_file.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "platform/environment.hpp"

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

platform::Shelf restore_from_backup(const fs::path& file, const fs::path& backup, bool writeback) {
  std::optional<platform::Shelf> from_backup = try_open(backup, writeback);
  if (!from_backup) return platform::Shelf();
  db::keep_damaged_copy(file);
  if (!try_copy(*from_backup, file)) return std::move(*from_backup);
  std::optional<platform::Shelf> restored = try_open(file, writeback);
  return restored ? std::move(*restored) : std::move(*from_backup);
}

bool is_missing(const fs::path& path) {
  std::error_code error;
  return !fs::exists(path, error) && !error;
}

// True when `file` names the place of the day statistics store; false too
// when the application data directory cannot be found.
bool is_day_statistics_place(const fs::path& file) {
  try {
    return fs::absolute(file).lexically_normal() ==
           fs::absolute(day_statistics_path()).lexically_normal();
  } catch (const std::exception&) {
    return false;
  }
}

// True when `file` or its backup is a day statistics store, or when `file`
// is missing at the store's own place, where no shelf may be created.
bool holds_day_statistics(const fs::path& file) {
  if (is_missing(file)) return is_day_statistics_place(file);
  return DayStatisticsStore::is_store_file(file) ||
         DayStatisticsStore::is_store_file(shelve_backup_name(file.string()));
}

Dict read_day_statistics(const fs::path& file) {
  std::optional<DayStatisticsStore> store = DayStatisticsStore::open_for_reading(file);
  return store ? store->layout() : Dict();
}

// A read-only copy of the nested layout of the store (the store itself, or
// its backup when the store is damaged, which is then restored from it).
// With `copy` equal to True a usable store is also copied to its backup; a
// failed copy is ignored.
platform::Shelf day_statistics_snapshot(const fs::path& file, const Value& copy) {
  platform::Shelf snapshot = platform::Shelf::read_only_copy(
      read_day_statistics(file), "the day statistics store \"" + file.string() +
                                     "\" is written by the statistics operations, "
                                     "not through a shelf");
  if (copy == Value(true) && DayStatisticsStore::is_store_file(file)) {
    try {
      db::copy_database_file(file, shelve_backup_name(file.string()));
    } catch (const std::exception&) {
      // As for shelves, the snapshot is handed out without a fresh backup.
    }
  }
  return snapshot;
}

}  // namespace

std::string get_shelve_main_directory(const std::string& zusatz) {
  return platform::process_environment().app_data_dir() + "settings/" + zusatz;
}

std::string shelve_backup_name(const std::string& filename) { return filename + "old"; }

platform::Shelf add_shelve_file(const std::string& filename, bool writeback, const Value& copy) {
  const fs::path file = filename;
  if (holds_day_statistics(file)) return day_statistics_snapshot(file, copy);
  if (std::optional<platform::Shelf> shelf = try_open(file, writeback)) {
    if (copy == Value(true)) try_copy(*shelf, shelve_backup_name(filename));
    return std::move(*shelf);
  }
  return restore_from_backup(file, shelve_backup_name(filename), writeback);
}

}  // namespace tavo::kk
