// The data directory from TAVO_DATA_DIR, XDG_DATA_HOME or the home directory.
#include "platform/getcwd.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

namespace tavo::platform {
namespace {

// The variable's value, or nullopt when it is unset or empty.
std::optional<std::string> environment_value(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::string with_one_trailing_slash(std::string_view directory) {
  while (!directory.empty() && directory.back() == '/') directory.remove_suffix(1);
  return std::string(directory) + '/';
}

std::string home_from_passwd() {
  const uid_t uid = getuid();
  const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
  passwd entry{};
  passwd* found = nullptr;
  int error = 0;
  while ((error = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE) {
    buffer.resize(buffer.size() * 2);
  }
  if (error != 0) {
    throw std::system_error(error, std::generic_category(),
                            "cannot look up the home directory of user " + std::to_string(uid));
  }
  if (found == nullptr || found->pw_dir == nullptr || *found->pw_dir == '\0') {
    throw std::runtime_error("cannot find a home directory: HOME is not set and user " +
                             std::to_string(uid) + " has none in the passwd database");
  }
  return found->pw_dir;
}

std::string home_directory() {
  const std::optional<std::string> home = environment_value("HOME");
  return home ? *home : home_from_passwd();
}

}  // namespace

std::string GetCwd::get_app_data_dir() const {
  if (const auto own = environment_value("TAVO_DATA_DIR")) return with_one_trailing_slash(*own);
  if (const auto xdg = environment_value("XDG_DATA_HOME")) {
    return with_one_trailing_slash(*xdg) + "tavo/";
  }
  return with_one_trailing_slash(home_directory()) + ".local/share/tavo/";
}

}  // namespace tavo::platform
