// A path as every message shows it: in double quotes.
#pragma once

#include <filesystem>
#include <string>

namespace tavo {

// `path` in double quotes, as messages name files: "/home/a/kkv_alle.dat".
inline std::string quoted(const std::filesystem::path& path) { return '"' + path.string() + '"'; }

}  // namespace tavo
