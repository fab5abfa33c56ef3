// Reading a setting's value from the host's data.
#pragma once

#include <cstdint>
#include <string_view>

#include "value/value.hpp"

namespace tavo::kk {

// `wert` as the integer value of the setting `key`; TypeError
// ("setting 'key' must be an integer, not str") otherwise.
std::int64_t integer_setting(std::string_view key, const Value& wert);

}  // namespace tavo::kk
