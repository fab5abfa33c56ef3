// A fresh directory, removed with its contents when the owner goes.

#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace tavo::platform {

class TemporaryDirectory {
 public:
  // Creates a directory with a unique name under the system's temporary
  // directory. The path is canonical, so that it reads exactly as SQLite
  // reports database paths in its messages.
  TemporaryDirectory() {
    const auto base = std::filesystem::canonical(std::filesystem::temp_directory_path());
    std::random_device random;
    do {
      path_ = base / ("tavo-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }

  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

  // The path of `name` inside the directory.
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace tavo::platform
