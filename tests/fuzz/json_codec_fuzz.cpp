// Fuzzes the Value JSON codec with arbitrary text. Text that decodes must
// encode without error, and the encoding must decode to an equal value that
// encodes to the same text, so that no kind is lost on the way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "value/errors.hpp"
#include "value/json_codec.hpp"

namespace {

std::optional<tavo::Value> decoded(std::string_view text) {
  try {
    return tavo::decode_json(text);
  } catch (const tavo::Error&) {
    return std::nullopt;
  }
}

// NaN equals nothing, not even itself, so a value holding one cannot equal
// its round trip.
bool holds_nan(std::string_view encoding) { return encoding.find("\"nan\"") != encoding.npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<tavo::Value> value = decoded(text);
  if (!value) return 0;
  const std::string encoding = tavo::encode_json(*value);
  const tavo::Value round_trip = tavo::decode_json(encoding);
  if (tavo::encode_json(round_trip) != encoding) std::abort();
  if (!holds_nan(encoding) && !(round_trip == *value)) std::abort();
  return 0;
}
