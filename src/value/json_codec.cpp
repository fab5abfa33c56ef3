// JSON encoding of Value through nlohmann::json, with tags for the kinds
// plain JSON lacks.
#include "value/json_codec.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "value/errors.hpp"

namespace tavo {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* tuple_tag = "__tuple__";
constexpr const char* date_time_tag = "__datetime__";
constexpr const char* dict_tag = "__dict__";
constexpr const char* float_tag = "__float__";
constexpr const char* bytes_tag = "__bytes__";

bool is_tag(const std::string& key) {
  return key == tuple_tag || key == date_time_tag || key == dict_tag || key == float_tag ||
         key == bytes_tag;
}

bool is_valid_utf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xe0) == 0xc0) {
      length = 2;
      code = lead & 0x1f;
    } else if ((lead & 0xf0) == 0xe0) {
      length = 3;
      code = lead & 0x0f;
    } else if ((lead & 0xf8) == 0xf0) {
      length = 4;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xc0) != 0x80) return false;
      code = (code << 6) | (next & 0x3f);
    }
    static constexpr std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string to_hex(const std::string& bytes) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char character : bytes) {
    const unsigned char byte = static_cast<unsigned char>(character);
    hex += digits[byte >> 4];
    hex += digits[byte & 0x0f];
  }
  return hex;
}

std::string from_hex(const std::string& hex) {
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw ValueError("invalid JSON value: malformed __bytes__ tag");
  };
  if (hex.size() % 2 != 0) throw ValueError("invalid JSON value: malformed __bytes__ tag");
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    bytes += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
  }
  return bytes;
}

// Lists, tuples and dicts nest at most this deep, the host's own default
// recursion limit. Both directions recurse once per level, and a hostile
// text nested deeper would exhaust the stack.
constexpr std::size_t max_nesting = 1000;

// The depth of a container inside one at `depth`.
std::size_t nested(std::size_t depth) {
  if (depth == max_nesting) throw ValueError("a list, tuple or dict nested more than 1000 deep");
  return depth + 1;
}

Json tagged(const char* tag, Json content) {
  Json object = Json::object();
  object[tag] = std::move(content);
  return object;
}

class Encoder {
 public:
  // `depth`: the number of containers around `value`.
  Json encode(const Value& value, std::size_t depth) {
    switch (value.kind()) {
      case Value::Kind::none: return nullptr;
      case Value::Kind::boolean: return value.as_bool();
      case Value::Kind::integer: return value.as_int();
      case Value::Kind::floating: return encode_float(value.as_float());
      case Value::Kind::text: return encode_text(value.as_text());
      case Value::Kind::list: return encode_list(value.as_list(), nested(depth));
      case Value::Kind::tuple:
        return tagged(tuple_tag, encode_items(value.as_tuple().items(), nested(depth)));
      case Value::Kind::dict: return encode_dict(value.as_dict(), nested(depth));
      case Value::Kind::date_time: return encode_date_time(value.as_date_time());
    }
    return nullptr;
  }

 private:
  static Json encode_float(double number) {
    if (std::isfinite(number)) return number;
    return tagged(float_tag, std::isnan(number) ? "nan" : (number < 0 ? "-inf" : "inf"));
  }

  static Json encode_text(const std::string& text) {
    if (is_valid_utf8(text)) return text;
    return tagged(bytes_tag, to_hex(text));
  }

  static Json encode_date_time(const DateTime& moment) {
    return tagged(date_time_tag,
                  Json::array({moment.year(), moment.month(), moment.day(), moment.hour(),
                               moment.minute(), moment.second(), moment.microsecond()}));
  }

  Json encode_items(const std::vector<Value>& items, std::size_t depth) {
    Json array = Json::array();
    for (const Value& item : items) array.push_back(encode(item, depth));
    return array;
  }

  // An empty list or dict cannot contain itself; its identity is not
  // asked, which would give it memory of its own.
  Json encode_list(const List& list, std::size_t depth) {
    if (list.empty()) return Json::array();
    enter(list.identity());
    Json array = encode_items(list.items(), depth);
    active_.erase(list.identity());
    return array;
  }

  Json encode_dict(const Dict& dict, std::size_t depth) {
    if (dict.empty()) return Json::object();
    enter(dict.identity());
    Json result = needs_pairs(dict) ? encode_pairs(dict, depth) : encode_object(dict, depth);
    active_.erase(dict.identity());
    return result;
  }

  static bool needs_pairs(const Dict& dict) {
    for (const auto& [key, value] : dict) {
      if (!key.is_text() || !is_valid_utf8(key.as_text())) return true;
    }
    return dict.size() == 1 && is_tag(dict.begin()->first.as_text());
  }

  Json encode_object(const Dict& dict, std::size_t depth) {
    Json object = Json::object();
    for (const auto& [key, value] : dict) object[key.as_text()] = encode(value, depth);
    return object;
  }

  Json encode_pairs(const Dict& dict, std::size_t depth) {
    Json pairs = Json::array();
    for (const auto& [key, value] : dict)
      pairs.push_back(Json::array({encode(key, depth), encode(value, depth)}));
    return tagged(dict_tag, std::move(pairs));
  }

  void enter(const void* container) {
    if (!active_.insert(container).second) {
      throw ValueError("cannot encode a list or dict that contains itself");
    }
  }

  std::unordered_set<const void*> active_;
};

[[noreturn]] void malformed(const std::string& what) {
  throw ValueError("invalid JSON value: malformed " + what);
}

// `depth`: the number of containers around the value of `json`.
Value decode(const Json& json, std::size_t depth);

std::vector<Value> decode_items(const Json& array, const char* tag, std::size_t depth) {
  if (!array.is_array()) malformed(tag);
  std::vector<Value> items;
  items.reserve(array.size());
  for (const Json& item : array) items.push_back(decode(item, depth));
  return items;
}

// One field of a date-time: an integer that fits an int, so that no field
// wraps into range.
int date_time_field(const Json& field) {
  const bool fits = field.is_number_unsigned()  ? std::in_range<int>(field.get<std::uint64_t>())
                    : field.is_number_integer() ? std::in_range<int>(field.get<std::int64_t>())
                                                : false;
  if (!fits) malformed(date_time_tag);
  return field.get<int>();
}

Value decode_date_time(const Json& fields) {
  if (!fields.is_array() || fields.size() != 7) malformed(date_time_tag);
  int parts[7];
  for (std::size_t i = 0; i < 7; ++i) parts[i] = date_time_field(fields[i]);
  return DateTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]);
}

Value decode_pairs(const Json& pairs, std::size_t depth) {
  if (!pairs.is_array()) malformed(dict_tag);
  Dict dict;
  for (const Json& pair : pairs) {
    if (!pair.is_array() || pair.size() != 2) malformed(dict_tag);
    dict.set(decode(pair[0], depth), decode(pair[1], depth));
  }
  return dict;
}

Value decode_special_float(const Json& name) {
  if (name == "nan") return std::nan("");
  if (name == "inf") return HUGE_VAL;
  if (name == "-inf") return -HUGE_VAL;
  malformed(float_tag);
}

Value decode_tagged(const std::string& tag, const Json& content, std::size_t depth) {
  if (tag == tuple_tag) return Tuple(decode_items(content, tuple_tag, nested(depth)));
  if (tag == date_time_tag) return decode_date_time(content);
  if (tag == dict_tag) return decode_pairs(content, nested(depth));
  if (tag == float_tag) return decode_special_float(content);
  if (!content.is_string()) malformed(bytes_tag);
  return from_hex(content.get<std::string>());
}

Value decode_object(const Json& object, std::size_t depth) {
  if (object.size() == 1 && is_tag(object.begin().key())) {
    return decode_tagged(object.begin().key(), object.begin().value(), depth);
  }
  Dict dict;
  const std::size_t inner = nested(depth);
  for (const auto& [key, item] : object.items()) dict.set(key, decode(item, inner));
  return dict;
}

Value decode(const Json& json, std::size_t depth) {
  switch (json.type()) {
    case Json::value_t::null: return None;
    case Json::value_t::boolean: return json.get<bool>();
    case Json::value_t::number_integer: return json.get<std::int64_t>();
    case Json::value_t::number_unsigned: {
      const std::uint64_t number = json.get<std::uint64_t>();
      if (number > static_cast<std::uint64_t>(INT64_MAX)) {
        throw ValueError("invalid JSON value: integer out of range");
      }
      return static_cast<std::int64_t>(number);
    }
    case Json::value_t::number_float: return json.get<double>();
    case Json::value_t::string: return json.get<std::string>();
    case Json::value_t::array: {
      std::vector<Value> items;
      items.reserve(json.size());
      const std::size_t inner = nested(depth);
      for (const Json& item : json) items.push_back(decode(item, inner));
      return List(std::move(items));
    }
    case Json::value_t::object: return decode_object(json, depth);
    default: throw ValueError("invalid JSON value: unsupported element");
  }
}

// ---- texts a store holds by the hundred thousand ----
//
// A card's history lists are flat lists of numbers, and its first due
// moment a date-time tag; these are read directly, without building the
// parser's document. Any other text, and any of these that the direct
// reading does not take in full, goes to the parser.

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The end of the JSON number at the start of `text` (0 when there is
// none), and whether it is an integer (no fraction and no exponent).
std::pair<std::size_t, bool> number_extent(std::string_view text) {
  std::size_t end = 0;
  const auto digits = [&] {
    const std::size_t start = end;
    while (end < text.size() && is_digit(text[end])) ++end;
    return end > start;
  };
  if (end < text.size() && text[end] == '-') ++end;
  if (end < text.size() && text[end] == '0') {
    ++end;
  } else if (!digits()) {
    return {0, false};
  }
  bool integer = true;
  if (end < text.size() && text[end] == '.') {
    ++end;
    integer = false;
    if (!digits()) return {0, false};
  }
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    ++end;
    integer = false;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    if (!digits()) return {0, false};
  }
  return {end, integer};
}

// The number at the start of `text`, and its length; nullopt when there is
// none, or when it is out of range (the parser words that error).
std::optional<std::pair<Value, std::size_t>> leading_number(std::string_view text) {
  const auto [length, integer] = number_extent(text);
  if (length == 0) return std::nullopt;
  const char* first = text.data();
  const char* last = first + length;
  if (integer) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) return std::nullopt;
    return std::pair{Value(number), length};
  }
  double number = 0;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last) return std::nullopt;
  return std::pair{Value(number), length};
}

// The items of a compact list of numbers ("[1,2.5,-3]"), or nullopt.
std::optional<std::vector<Value>> number_list(std::string_view text) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  std::string_view rest = text.substr(1, text.size() - 2);
  std::vector<Value> items;
  items.reserve(static_cast<std::size_t>(std::count(rest.begin(), rest.end(), ',')) + 1);
  while (true) {
    std::optional<std::pair<Value, std::size_t>> number = leading_number(rest);
    if (!number) return std::nullopt;
    items.push_back(std::move(number->first));
    rest.remove_prefix(number->second);
    if (rest.empty()) return items;
    if (rest.front() != ',') return std::nullopt;
    rest.remove_prefix(1);
  }
}

// A compact date-time tag ({"__datetime__":[2021,9,22,10,0,0,0]}), or
// nullopt.
std::optional<Value> date_time_tag_value(std::string_view text) {
  constexpr std::string_view opening = "{\"__datetime__\":";
  if (!text.starts_with(opening) || !text.ends_with('}')) return std::nullopt;
  const std::optional<std::vector<Value>> fields =
      number_list(text.substr(opening.size(), text.size() - opening.size() - 1));
  if (!fields || fields->size() != 7) return std::nullopt;
  int parts[7];
  for (std::size_t i = 0; i < 7; ++i) {
    const Value& field = (*fields)[i];
    if (!field.is_int() || !std::in_range<int>(field.as_int())) return std::nullopt;
    parts[i] = static_cast<int>(field.as_int());
  }
  return DateTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]);
}

// The value of a text of one of the shapes read directly, or nullopt.
std::optional<Value> decode_directly(std::string_view text) {
  if (text == "[]") return List{};
  if (text == "{}") return Dict{};
  if (std::optional<std::vector<Value>> items = number_list(text)) return List(std::move(*items));
  return date_time_tag_value(text);
}

}  // namespace

std::string encode_json(const Value& value) {
  Encoder encoder;
  return encoder.encode(value, 0).dump();
}

Value decode_json(std::string_view text) {
  if (std::optional<Value> value = decode_directly(text)) return std::move(*value);
  Json json;
  try {
    json = Json::parse(text.begin(), text.end());
  } catch (const Json::exception& error) {
    // A syntax error, or a number too large for a double.
    throw ValueError(std::string("invalid JSON value: ") + error.what());
  }
  return decode(json, 0);
}

}  // namespace tavo
