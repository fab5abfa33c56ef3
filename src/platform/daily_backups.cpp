// Daily copies named "<store>.<year>-<month>-<day>", ordered by their date.
#include "platform/daily_backups.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "db/connection.hpp"
#include "db/damaged_file.hpp"
#include "db/database_file.hpp"
#include "db/error.hpp"
#include "value/quoted.hpp"

namespace tavo::platform {
namespace {

namespace fs = std::filesystem;

using CopyDate = std::array<int, 3>;

// The date of a copy named `copy_name`, or nothing when it is not a copy
// of the store named `store_name`.
std::optional<CopyDate> copy_date(const std::string& copy_name, const std::string& store_name) {
  if (copy_name.size() <= store_name.size() + 1 || !copy_name.starts_with(store_name + ".")) {
    return std::nullopt;
  }
  const char* position = copy_name.data() + store_name.size() + 1;
  const char* const end = copy_name.data() + copy_name.size();
  CopyDate date{};
  for (std::size_t part = 0; part < date.size(); ++part) {
    if (part > 0 && (position == end || *position++ != '-')) return std::nullopt;
    const auto [after, error] = std::from_chars(position, end, date[part]);
    if (error != std::errc() || after == position) return std::nullopt;
    position = after;
  }
  if (position != end) return std::nullopt;
  return date;
}

// True when `store` holds a database that passes a quick integrity check.
bool is_sound(const fs::path& store) {
  std::error_code error;
  if (fs::file_size(store, error) == 0 || error) return false;
  try {
    db::check_database_file(store);
    db::Connection connection(store, db::OpenMode::read_only);
    return connection.integrity_check(true).empty();
  } catch (const db::Error&) {
    return false;
  }
}

}  // namespace

DailyBackups::DailyBackups(std::filesystem::path store, std::size_t kept)
    : store_(std::move(store)), kept_(std::max<std::size_t>(kept, 1)) {}

std::optional<std::filesystem::path> DailyBackups::make(const std::string& day) const {
  fs::path copy = store_;
  copy += "." + day;
  if (fs::exists(copy) || !is_sound(store_)) return std::nullopt;
  db::copy_database_file(store_, copy);
  const std::vector<fs::path> kept = copies();
  for (std::size_t index = kept_; index < kept.size(); ++index) fs::remove(kept[index]);
  return copy;
}

std::vector<std::filesystem::path> DailyBackups::copies() const {
  const fs::path directory = store_.has_parent_path() ? store_.parent_path() : fs::path(".");
  const std::string store_name = store_.filename().string();
  std::vector<std::pair<CopyDate, fs::path>> dated;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
    if (const auto date = copy_date(entry.path().filename().string(), store_name)) {
      dated.emplace_back(*date, entry.path());
    }
  }
  std::sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a > b; });
  std::vector<fs::path> paths;
  for (auto& [date, path] : dated) paths.push_back(std::move(path));
  return paths;
}

std::string DailyBackups::recovery_advice() const {
  const std::vector<fs::path> kept = copies();
  if (kept.empty()) return "no daily copy of " + quoted(store_) + " is kept yet";
  fs::path damaged = db::damaged_name(store_);
  std::string commands = "mv " + quoted(store_) + " " + quoted(damaged);
  // A journal beside the damaged file would be rolled into the copy.
  fs::path journal = store_;
  journal += "-journal";
  if (fs::exists(journal))
    commands += " && mv " + quoted(journal) + " " + quoted(damaged += "-journal");
  return "to go back to its newest daily copy, run: " + commands + " && cp " +
         quoted(kept.front()) + " " + quoted(store_);
}

}  // namespace tavo::platform
