// Building the messages of db::Error.

#include "db/detail/error_text.hpp"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>

#include "db/error.hpp"
#include "value/quoted.hpp"

namespace tavo::db::detail {
namespace {

constexpr std::size_t max_sql_length = 60;
constexpr std::string_view ellipsis = "...";

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Cuts `text` to at most `length` bytes without splitting a UTF-8 sequence.
void cut(std::string& text, std::size_t length) {
  while (length > 0 && is_continuation_byte(text[length])) {
    --length;
  }
  text.resize(length);
}

std::filesystem::path database_path(sqlite3* db) {
  const char* name = sqlite3_db_filename(db, "main");
  return name == nullptr ? std::filesystem::path() : name;
}

}  // namespace

std::string quote_sql(std::string_view sql) {
  std::string text;
  bool pending_space = false;
  for (const char c : sql) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      pending_space = !text.empty();
      continue;
    }
    if (pending_space) {
      text += ' ';
      pending_space = false;
    }
    text += c;
    if (text.size() > max_sql_length) {
      cut(text, max_sql_length - ellipsis.size());
      text += ellipsis;
      break;
    }
  }
  return '"' + text + '"';
}

std::string reason(sqlite3* db, int code) {
  std::string text = db != nullptr && sqlite3_extended_errcode(db) == code ? sqlite3_errmsg(db)
                                                                           : sqlite3_errstr(code);
  if ((code & 0xff) == SQLITE_BUSY) {
    text +=
        " (another process kept writing to it for longer than the connection waits; "
        "nothing was changed, try again when it is done)";
  }
  return text;
}

void throw_error(sqlite3* db, int code, std::string_view doing, std::string_view reason) {
  const std::filesystem::path path = database_path(db);
  std::string message(doing);
  message += " in database ";
  message += quoted(path);
  message += ": ";
  message += reason;
  throw Error(message, code, path, std::string(reason));
}

void throw_error(sqlite3* db, int code, std::string_view doing) {
  throw_error(db, code, doing, reason(db, code));
}

}  // namespace tavo::db::detail
