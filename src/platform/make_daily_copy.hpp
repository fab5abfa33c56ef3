// One dated backup of a file per learning day.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/common_functions.hpp"

namespace tavo::platform {

// Keeps a backup of a file for each learning day on which it is used.
class MakeDailyCopy {
 public:
  // Reads the present moment from `functions`, which must outlive this
  // object. Throws ValueError unless `startzeit_tag` is in 0..23.
  MakeDailyCopy(const Common_functions& functions, int startzeit_tag);

  // Copies `filename` to `<filename>.<learning-day key>` beside it
  // ("kkv_alle.dat.2021-9-22") unless that copy already exists, and returns
  // the copy's path; returns nullopt when `filename` does not exist. The
  // copy appears complete or not at all, even after a crash. Throws
  // db::FileError naming the file when reading or writing fails, and
  // std::filesystem::filesystem_error when its state cannot be read.
  std::optional<std::filesystem::path> make_copy(const std::filesystem::path& filename) const;

 private:
  const Common_functions& functions_;
  int startzeit_tag_;
};

}  // namespace tavo::platform
