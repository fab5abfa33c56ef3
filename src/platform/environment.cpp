// The application data paths of an environment, and the process-wide environment
// of the Python package.
#include "platform/environment.hpp"

#include <utility>

#include "platform/getcwd.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::platform {
namespace {

std::string with_trailing_separator(std::string directory) {
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

bool is_plain_file_name(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

}  // namespace

Environment::Environment() : start_date(cf.get_datetime_now()) {}

Environment::Environment(std::string data_dir)
    : start_date(cf.get_datetime_now()), data_dir_(with_trailing_separator(std::move(data_dir))) {}

std::string Environment::app_data_dir() const {
  return data_dir_ ? *data_dir_ : GetCwd().get_app_data_dir();
}

void Environment::use_app_data_dir(std::string data_dir) {
  data_dir_ = with_trailing_separator(std::move(data_dir));
}

std::string Environment::legacy_collection_file(const std::string& name) const {
  if (!is_plain_file_name(name)) {
    throw ValueError("collection name must be a plain file name, got " + repr(name));
  }
  return app_data_dir() + "legacy/" + name + ".dat";
}

}  // namespace tavo::platform
