// Fuzzes the loading of the settings file: each input becomes the file's
// contents, and the manager loads it. A file it rejects ends in one of the
// project's exceptions or in the defaults; any other exception, a crash or
// a sanitizer report is a finding.
//
// The process keeps one data directory and one manager. Inputs stay
// independent: a load that finds a mapping starts from the defaults, and one
// that does not only stores the settings in effect.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/environment.hpp"
#include "platform/temporary_directory.hpp"
#include "value/errors.hpp"

namespace {

constexpr double a_morning = 1632297600;  // 2021-09-22 10:00, Europe/Berlin

void write_file(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The environment of the whole fuzzing process.
tavo::platform::Environment& environment() {
  static tavo::platform::Environment instance;
  return instance;
}

// The settings file the manager loads.
std::filesystem::path settings_path() { return tavo::kk::PickleDump(environment()).settings_path(); }

}  // namespace

// Before the first input: the environment on a fresh data directory for
// the whole process, with a frozen clock (the stored settings hold the
// learning day) and no warnings.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static const tavo::platform::TemporaryDirectory data_directory;
  environment().use_app_data_dir(data_directory.path().string());
  environment().cf.set_fixed_now(a_morning);
  environment().diagnostics.warning_line = [](const std::string&) {};
  std::filesystem::create_directories(settings_path().parent_path());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tavo::kk::Karteikartenverwaltung manager(environment());
  write_file(settings_path(), data, size);
  try {
    manager.update_default_values();
  } catch (const tavo::Error&) {
  }
  return 0;
}
