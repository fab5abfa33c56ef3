// Reading deck files: validation first, then one card per line or list element.
#include "platform/deck_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <nlohmann/json.hpp>
#include <system_error>
#include <utility>

#include "db/file_descriptor.hpp"

namespace tavo::platform {
namespace {

using nlohmann::json;

constexpr std::size_t max_file_size = std::size_t{64} << 20;
constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

[[noreturn]] void fail(std::string_view file, std::string_view reason) {
  throw DeckError(std::string(file) + ": " + std::string(reason));
}

[[noreturn]] void fail(std::string_view file, std::size_t line, std::string_view reason) {
  throw DeckError(std::string(file) + ':' + std::to_string(line) + ": " + std::string(reason));
}

// --- UTF-8 ---------------------------------------------------------------

// The length of the sequence that `lead` begins, 0 for a byte that begins
// none (a continuation byte, an overlong two-byte lead, or a lead beyond
// U+10FFFF).
std::size_t sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `second` may follow `lead`: the ranges that exclude overlong forms,
// surrogates and code points above U+10FFFF.
bool valid_second_byte(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0: return second >= 0xA0 && second <= 0xBF;
    case 0xED: return second >= 0x80 && second <= 0x9F;
    case 0xF0: return second >= 0x90 && second <= 0xBF;
    case 0xF4: return second >= 0x80 && second <= 0x8F;
    default: return second >= 0x80 && second <= 0xBF;
  }
}

bool is_continuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// Whether a valid sequence begins at `offset`.
bool valid_sequence_at(std::string_view text, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  const std::size_t length = sequence_length(lead);
  if (length == 0 || length > text.size() - offset) return false;
  if (length == 1) return true;
  if (!valid_second_byte(lead, static_cast<unsigned char>(text[offset + 1]))) return false;
  for (std::size_t i = 2; i < length; ++i) {
    if (!is_continuation(static_cast<unsigned char>(text[offset + i]))) return false;
  }
  return true;
}

// The offset of the first byte that is not part of valid UTF-8, npos if none.
std::size_t first_invalid_utf8(std::string_view text) {
  std::size_t offset = 0;
  while (offset < text.size()) {
    if (!valid_sequence_at(text, offset)) return offset;
    offset += sequence_length(static_cast<unsigned char>(text[offset]));
  }
  return std::string_view::npos;
}

// --- Shared rules ----------------------------------------------------------

// The 1-based line on which the byte at `offset` stands.
std::size_t line_of(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool is_all_blank(std::string_view text) { return std::all_of(text.begin(), text.end(), is_blank); }

// The text without a leading byte order mark, after checking that it is UTF-8.
std::string_view checked_text(std::string_view text, std::string_view file) {
  if (text.starts_with(byte_order_mark)) text.remove_prefix(byte_order_mark.size());
  const std::size_t invalid = first_invalid_utf8(text);
  if (invalid != std::string_view::npos) fail(file, line_of(text, invalid), "not valid UTF-8");
  return text;
}

// Collects the cards of one deck, enforcing the rules every format shares:
// a question and an answer that are not blank, and no question twice.
class CardCollector {
 public:
  explicit CardCollector(std::string_view file) : file_(file) {}

  void add(DeckCard card) {
    if (is_all_blank(card.fragetext)) fail(file_, card.line, "the question is empty");
    if (is_all_blank(card.antworttext)) fail(file_, card.line, "the answer is empty");
    const auto [earlier, added] = first_lines_.try_emplace(card.fragetext, card.line);
    if (!added) {
      fail(file_, card.line, "the question of line " + std::to_string(earlier->second) + " again");
    }
    cards_.push_back(std::move(card));
  }

  std::vector<DeckCard> take() && {
    if (cards_.empty()) fail(file_, "the deck holds no cards");
    return std::move(cards_);
  }

 private:
  std::string_view file_;
  std::map<std::string, std::size_t, std::less<>> first_lines_;
  std::vector<DeckCard> cards_;
};

// --- Tab-separated ----------------------------------------------------------

std::string_view trim_spaces(std::string_view field) {
  const std::size_t begin = field.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return field.substr(begin, field.find_last_not_of(' ') - begin + 1);
}

// The escape that a backslash and the character at `offset` form, as
// written, with a control character shown by its code point.
std::string escape_name(std::string_view field, std::size_t offset) {
  const auto byte = static_cast<unsigned char>(field[offset]);
  if (byte < 0x20 || byte == 0x7F) {
    constexpr std::string_view hex = "0123456789ABCDEF";
    return std::string("\\<U+00") + hex[byte >> 4] + hex[byte & 0xF] + '>';
  }
  const std::size_t length = std::max<std::size_t>(sequence_length(byte), 1);
  return '\\' + std::string(field.substr(offset, length));
}

std::string unescape(std::string_view field, std::string_view name, std::string_view file,
                     std::size_t line) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      text += field[i];
      continue;
    }
    if (++i == field.size()) fail(file, line, "the " + std::string(name) + " ends in a backslash");
    switch (field[i]) {
      case 'n': text += '\n'; break;
      case 't': text += '\t'; break;
      case '\\': text += '\\'; break;
      default: fail(file, line, "unknown escape \"" + escape_name(field, i) + '"');
    }
  }
  return text;
}

DeckCard parse_tab_separated_line(std::string_view line, std::size_t number,
                                  std::string_view file) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos) {
    fail(file, number, "expected a question and an answer separated by one tab");
  }
  return DeckCard{unescape(trim_spaces(line.substr(0, tab)), "question", file, number),
                  unescape(trim_spaces(line.substr(tab + 1)), "answer", file, number), number};
}

bool is_skipped_line(std::string_view line) {
  return line.starts_with('#') || line.find_first_not_of(" \t") == std::string_view::npos;
}

std::vector<DeckCard> parse_tab_separated(std::string_view text, std::string_view file) {
  CardCollector cards(file);
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!is_skipped_line(line)) cards.add(parse_tab_separated_line(line, number, file));
  }
  return std::move(cards).take();
}

// --- JSON -------------------------------------------------------------------

constexpr std::string_view question_member = "fragetext";
constexpr std::string_view answer_member = "antworttext";

// The lines on which the elements of the top-level list of the valid JSON
// `text` begin, in order. The DOM keeps no positions, so a scan that skips
// string literals and counts nesting finds them.
std::vector<std::size_t> element_lines(std::string_view text) {
  std::vector<std::size_t> lines;
  std::size_t line = 1;
  std::size_t depth = 0;
  bool in_string = false;
  bool escaped = false;
  bool element_expected = false;
  for (const char c : text) {
    if (c == '\n') ++line;
    if (in_string) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        in_string = false;
      }
      continue;
    }
    if (is_blank(c)) continue;
    if (element_expected && c != ']') lines.push_back(line);
    element_expected = false;
    switch (c) {
      case '"': in_string = true; break;
      case '[':
      case '{': element_expected = ++depth == 1; break;
      case ']':
      case '}': depth = depth > 0 ? depth - 1 : 0; break;
      case ',': element_expected = depth == 1; break;
      default: break;
    }
  }
  return lines;
}

// nlohmann's message without its exception id, its position (the line is
// reported instead) and its echo of the text last read (which can be long
// and hold anything).
std::string json_reason(const json::exception& error) {
  std::string_view reason = error.what();
  reason = reason.substr(0, reason.find("; last read:"));
  if (const std::size_t id_end = reason.find("] "); id_end != std::string_view::npos) {
    reason.remove_prefix(id_end + 2);
  }
  if (reason.starts_with("parse error")) {
    if (const std::size_t colon = reason.find(": "); colon != std::string_view::npos) {
      reason.remove_prefix(colon + 2);
    }
  }
  return std::string(reason);
}

json parse_json_document(std::string_view text, std::string_view file) {
  try {
    return json::parse(text);
  } catch (const json::parse_error& error) {
    const std::size_t offset = std::min<std::size_t>(error.byte, text.size());
    fail(file, line_of(text, offset > 0 ? offset - 1 : 0), "not valid JSON: " + json_reason(error));
  } catch (const json::exception& error) {
    fail(file, "not valid JSON: " + json_reason(error));
  }
}

// The text of `member` of the card object `element`, which `card` names.
std::string member_text(const json& element, std::string_view member, std::string_view card,
                        std::size_t line, std::string_view file) {
  const auto found = element.find(member);
  if (found == element.end()) fail(file, line, std::string(card) + " lacks " + json(member).dump());
  if (!found->is_string()) fail(file, line, json(member).dump() + " must be a text");
  return found->get<std::string>();
}

DeckCard card_of_element(const json& element, std::size_t number, std::size_t line,
                         std::string_view file) {
  const std::string card = "card " + std::to_string(number);
  if (!element.is_object()) fail(file, line, card + " must be an object");
  for (const auto& [name, value] : element.items()) {
    if (name != question_member && name != answer_member) {
      fail(file, line, "unknown member " + json(name).dump());
    }
  }
  return DeckCard{member_text(element, question_member, card, line, file),
                  member_text(element, answer_member, card, line, file), line};
}

std::vector<DeckCard> parse_json(std::string_view text, std::string_view file) {
  if (is_all_blank(text)) fail(file, "the deck holds no cards");
  const json document = parse_json_document(text, file);
  if (!document.is_array()) fail(file, "expected a list of cards");
  const std::vector<std::size_t> lines = element_lines(text);
  CardCollector cards(file);
  std::size_t number = 0;
  for (const json& element : document) {
    const std::size_t line = number < lines.size() ? lines[number] : 0;
    cards.add(card_of_element(element, ++number, line, file));
  }
  return std::move(cards).take();
}

// --- Files ------------------------------------------------------------------

[[noreturn]] void fail_to_read(int error, std::string_view file) {
  fail(file, "cannot read the file: " + std::generic_category().message(error));
}

// The whole file, read up to one byte past the limit so that a file whose
// size the file system does not report (a pipe) is limited as well.
std::string read_limited(const std::filesystem::path& path, std::string_view file) {
  const db::FileDescriptor input(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0) fail_to_read(errno, file);
  std::string contents;
  std::string buffer(std::size_t{1} << 16, '\0');
  while (contents.size() <= max_file_size) {
    const ssize_t count = ::read(input.get(), buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) fail_to_read(errno, file);
    if (count == 0) return contents;
    contents.append(buffer, 0, static_cast<std::size_t>(count));
  }
  fail(file, "the file is larger than 64 MiB");
}

}  // namespace

DeckFormat deck_format_of(const std::filesystem::path& path) {
  std::string name = path.filename().string();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
  return name.ends_with(".json") ? DeckFormat::json : DeckFormat::tab_separated;
}

std::vector<DeckCard> parse_deck(std::string_view text, DeckFormat format, std::string_view file) {
  const std::string_view checked = checked_text(text, file);
  return format == DeckFormat::json ? parse_json(checked, file)
                                    : parse_tab_separated(checked, file);
}

std::vector<DeckCard> read_deck_file(const std::filesystem::path& path) {
  const std::string file = path.string();
  return parse_deck(read_limited(path, file), deck_format_of(path), file);
}

}  // namespace tavo::platform
