// Lossless text encoding of Value as JSON, for storage.
//
// Plain JSON carries None, bool, integer, float (always written with a
// decimal point or exponent, so 4.0 stays a float), UTF-8 text, lists and
// dicts whose keys are all texts. Everything else is written as a one-entry
// object whose key is a tag:
//   {"__tuple__": [items]}
//   {"__datetime__": [year, month, day, hour, minute, second, microsecond]}
//   {"__dict__": [[key, value], ...]}   keys that are not all text, or a
//                                       text-keyed dict that would read as a tag
//   {"__float__": "nan" | "inf" | "-inf"}
//   {"__bytes__": "<hex>"}              text that is not valid UTF-8
// so that decode_json(encode_json(v)) == v with every kind preserved.
#pragma once

#include <string>
#include <string_view>

#include "value/value.hpp"

namespace tavo {

// Compact JSON text of `value`. Shared lists and dicts are written once per
// occurrence; a list or dict that contains itself, and lists, tuples and
// dicts nested more than 1000 deep, throw ValueError.
std::string encode_json(const Value& value);

// The Value of a text written by encode_json (or any plain JSON). Throws
// ValueError naming the problem for malformed text, an unknown or malformed
// tag, an integer outside the 64-bit range, a number too large for a double,
// or lists, tuples and dicts nested more than 1000 deep.
Value decode_json(std::string_view text);

}  // namespace tavo
