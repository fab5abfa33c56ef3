// The dated backup: named after the learning day, written durably once.
#include "platform/make_daily_copy.hpp"

#include "db/durable_file.hpp"
#include "platform/detail/learning_day.hpp"

namespace tavo::platform {

MakeDailyCopy::MakeDailyCopy(const Common_functions& functions, int startzeit_tag)
    : functions_(functions), startzeit_tag_(detail::checked_startzeit_tag(startzeit_tag)) {}

std::optional<std::filesystem::path> MakeDailyCopy::make_copy(
    const std::filesystem::path& filename) const {
  if (!std::filesystem::exists(filename)) return std::nullopt;
  std::filesystem::path copy = filename;
  copy += "." + functions_.get_datum_string_startzeit(startzeit_tag_);
  if (!std::filesystem::exists(copy)) db::copy_file_durably(filename, copy);
  return copy;
}

}  // namespace tavo::platform
