// The host's repr/str text forms of Value.
#include "value/repr.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <unordered_set>

namespace tavo {
namespace {

std::string special_float(double number) {
  if (std::isnan(number)) return "nan";
  return number < 0 ? "-inf" : "inf";
}

// A finite number as significant digits and a decimal exponent:
// number == 0.d1d2d3... x 10^point.
struct DecimalDigits {
  bool negative;
  std::string digits;
  int point;
};

// Splits scientific text such as "-1.2500e+03" into its digits, without
// trailing zeros, and the exponent.
DecimalDigits parse_scientific(const std::string& text) {
  DecimalDigits parsed{text[0] == '-', "", 0};
  const std::size_t exponent_at = text.find('e');
  for (std::size_t i = parsed.negative ? 1 : 0; i < exponent_at; ++i) {
    if (text[i] != '.') parsed.digits += text[i];
  }
  parsed.point = std::stoi(text.substr(exponent_at + 1)) + 1;
  while (parsed.digits.size() > 1 && parsed.digits.back() == '0') parsed.digits.pop_back();
  return parsed;
}

std::string exponent_text(int exponent) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return buffer;
}

// Plain notation while the decimal point falls within -3..largest_plain_point
// digits of the start, with ".0" on whole numbers; exponent notation
// ("1e+16", "1.5e-07") outside.
std::string layout_decimal(const DecimalDigits& number, int largest_plain_point) {
  const std::string& digits = number.digits;
  const int point = number.point;
  const std::string sign = number.negative ? "-" : "";
  if (point > largest_plain_point || point < -3) {
    const std::string fraction = digits.size() > 1 ? "." + digits.substr(1) : "";
    return sign + digits[0] + fraction + exponent_text(point - 1);
  }
  const auto whole_digits = static_cast<std::size_t>(std::max(point, 0));
  if (point <= 0) return sign + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
  if (whole_digits >= digits.size()) {
    return sign + digits + std::string(whole_digits - digits.size(), '0') + ".0";
  }
  return sign + digits.substr(0, whole_digits) + "." + digits.substr(whole_digits);
}

void append_text_repr(std::string& out, const std::string& text) {
  const bool has_single = text.find('\'') != std::string::npos;
  const bool has_double = text.find('"') != std::string::npos;
  const char quote = has_single && !has_double ? '"' : '\'';
  out += quote;
  for (const char character : text) {
    const unsigned char byte = static_cast<unsigned char>(character);
    if (character == quote || character == '\\') {
      out += '\\';
      out += character;
    } else if (character == '\t') {
      out += "\\t";
    } else if (character == '\n') {
      out += "\\n";
    } else if (character == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte >= 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      out += escaped;
    } else {
      out += character;
    }
  }
  out += quote;
}

void append_date_time_repr(std::string& out, const DateTime& moment) {
  char buffer[96];
  int length =
      std::snprintf(buffer, sizeof buffer, "datetime.datetime(%d, %d, %d, %d, %d", moment.year(),
                    moment.month(), moment.day(), moment.hour(), moment.minute());
  if (moment.second() != 0 || moment.microsecond() != 0) {
    length += std::snprintf(buffer + length, sizeof buffer - length, ", %d", moment.second());
  }
  if (moment.microsecond() != 0) {
    length += std::snprintf(buffer + length, sizeof buffer - length, ", %d", moment.microsecond());
  }
  out.append(buffer, static_cast<std::size_t>(length));
  out += ')';
}

// Writes containers recursively; a list or dict that contains itself prints
// as [...] or {...} at the inner occurrence, as the host does.
class ReprWriter {
 public:
  void write(const Value& value) {
    switch (value.kind()) {
      case Value::Kind::none: out_ += "None"; break;
      case Value::Kind::boolean: out_ += value.as_bool() ? "True" : "False"; break;
      case Value::Kind::integer: out_ += std::to_string(value.as_int()); break;
      case Value::Kind::floating: out_ += float_repr(value.as_float()); break;
      case Value::Kind::text: append_text_repr(out_, value.as_text()); break;
      case Value::Kind::list: write_list(value.as_list()); break;
      case Value::Kind::tuple: write_tuple(value.as_tuple()); break;
      case Value::Kind::dict: write_dict(value.as_dict()); break;
      case Value::Kind::date_time: append_date_time_repr(out_, value.as_date_time()); break;
    }
  }

  std::string take() { return std::move(out_); }

 private:
  void write_items(const std::vector<Value>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i > 0) out_ += ", ";
      write(items[i]);
    }
  }

  void write_list(const List& list) {
    if (!active_.insert(list.identity()).second) {
      out_ += "[...]";
      return;
    }
    out_ += '[';
    write_items(list.items());
    out_ += ']';
    active_.erase(list.identity());
  }

  void write_tuple(const Tuple& tuple) {
    out_ += '(';
    write_items(tuple.items());
    if (tuple.size() == 1) out_ += ',';
    out_ += ')';
  }

  void write_dict(const Dict& dict) {
    if (!active_.insert(dict.identity()).second) {
      out_ += "{...}";
      return;
    }
    out_ += '{';
    bool first = true;
    for (const auto& [key, value] : dict) {
      if (!first) out_ += ", ";
      first = false;
      write(key);
      out_ += ": ";
      write(value);
    }
    out_ += '}';
    active_.erase(dict.identity());
  }

  std::string out_;
  std::unordered_set<const void*> active_;
};

}  // namespace

std::string float_repr(double number) {
  if (!std::isfinite(number)) return special_float(number);
  if (number == 0) return std::signbit(number) ? "-0.0" : "0.0";
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific).ptr;
  return layout_decimal(parse_scientific(std::string(buffer, end)), 16);
}

std::string float_str(double number) {
  if (!std::isfinite(number)) return special_float(number);
  if (number == 0) return std::signbit(number) ? "-0.0" : "0.0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.11e", number);
  return layout_decimal(parse_scientific(buffer), 11);
}

std::string repr(const Value& value) {
  ReprWriter writer;
  writer.write(value);
  return writer.take();
}

std::string str(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::text: return value.as_text();
    case Value::Kind::floating: return float_str(value.as_float());
    case Value::Kind::date_time: return value.as_date_time().isoformat();
    default: return repr(value);
  }
}

}  // namespace tavo
