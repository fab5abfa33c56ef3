#include "platform/environment.hpp"

#include <utility>

#include "platform/getcwd.hpp"

namespace tavo::platform {
namespace {

std::string with_trailing_separator(std::string directory) {
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

}  // namespace

Environment::Environment() : start_date(cf.get_datetime_now()) {}

Environment::Environment(std::string data_dir)
    : start_date(cf.get_datetime_now()), data_dir_(with_trailing_separator(std::move(data_dir))) {}

std::string Environment::app_data_dir() const {
  return data_dir_ ? *data_dir_ : GetCwd().get_app_data_dir();
}

Environment& process_environment() {
  static Environment environment;
  return environment;
}

Common_functions& cf() { return process_environment().cf; }
Importiere_haende& ih() { return process_environment().hands; }
Diagnostics& diagnostics() { return process_environment().diagnostics; }
std::mt19937_64& random_engine() { return process_environment().random.engine(); }

}  // namespace tavo::platform
