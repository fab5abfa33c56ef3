// A hash of a text that is the same in every run and on every machine
// (64-bit FNV-1a), for keys that are stored or must repeat.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavo::platform {

constexpr std::uint64_t stable_hash(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
  return hash;
}

}  // namespace tavo::platform
