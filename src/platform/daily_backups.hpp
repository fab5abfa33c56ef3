// Dated copies of a database file, one per learning day, of which only the
// newest few are kept: the way back when the file itself is damaged.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavo::platform {

class DailyBackups {
 public:
  // The copies of the database `store`, keeping the newest `kept` (at
  // least one).
  explicit DailyBackups(std::filesystem::path store, std::size_t kept = 7);

  // Copies the store to "<store>.<day>" beside it (`day` as the statistics
  // store writes dates: "2026-12-7") unless that copy exists, then removes
  // all but the newest `kept` copies. Only a sound store is copied, so that
  // a damaged one never pushes a good copy out: returns the copy made, or
  // nothing when the store is missing, empty, damaged or already copied
  // that day. db::Error or std::filesystem::filesystem_error when writing
  // fails; the copies already kept stay then.
  std::optional<std::filesystem::path> make(const std::string& day) const;

  // The copies kept, newest first.
  std::vector<std::filesystem::path> copies() const;

  // One sentence for a learner whose store is damaged: the commands that
  // keep the damaged file aside (with its journal) and put the newest copy
  // in its place, or that no copy exists yet.
  std::string recovery_advice() const;

 private:
  std::filesystem::path store_;
  std::size_t kept_;
};

}  // namespace tavo::platform
