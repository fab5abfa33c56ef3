// A prepared SQL statement.

#include "db/statement.hpp"

#include <sqlite3.h>

#include "db/detail/error_text.hpp"
#include "db/error.hpp"

namespace tavo::db {
namespace {

// SQLite binds a null text or blob pointer as NULL; an empty value must
// point somewhere.
constexpr char empty_value = '\0';

ColumnType column_type_of(int sqlite_type) {
  switch (sqlite_type) {
    case SQLITE_INTEGER: return ColumnType::integer;
    case SQLITE_FLOAT: return ColumnType::real;
    case SQLITE_TEXT: return ColumnType::text;
    case SQLITE_BLOB: return ColumnType::blob;
    default: return ColumnType::null;
  }
}

}  // namespace

void Statement::Finalize::operator()(sqlite3_stmt* statement) const noexcept {
  sqlite3_finalize(statement);
}

Statement::Statement(sqlite3_stmt* handle) : handle_(handle) {}

void Statement::bind(int index, std::nullptr_t) {
  check_bind(index, sqlite3_bind_null(handle_.get(), index));
}

void Statement::bind(int index, std::int64_t value) {
  check_bind(index, sqlite3_bind_int64(handle_.get(), index, value));
}

void Statement::bind(int index, int value) { bind(index, static_cast<std::int64_t>(value)); }

void Statement::bind(int index, double value) {
  check_bind(index, sqlite3_bind_double(handle_.get(), index, value));
}

void Statement::bind(int index, std::string_view value) {
  const char* data = value.empty() ? &empty_value : value.data();
  check_bind(index, sqlite3_bind_text64(handle_.get(), index, data, value.size(), SQLITE_TRANSIENT,
                                        SQLITE_UTF8));
}

void Statement::bind(int index, std::span<const std::byte> value) {
  const void* data = value.empty() ? static_cast<const void*>(&empty_value) : value.data();
  check_bind(index,
             sqlite3_bind_blob64(handle_.get(), index, data, value.size(), SQLITE_TRANSIENT));
}

bool Statement::step() {
  sqlite3_stmt* statement = handle_.get();
  const int result = sqlite3_step(statement);
  if (result == SQLITE_ROW) {
    return true;
  }
  // Rewinding a finished or failed statement releases its locks and lets
  // new values be bound without an explicit reset().
  sqlite3* db = sqlite3_db_handle(statement);
  const std::string reason = detail::reason(db, result);
  sqlite3_reset(statement);
  if (result != SQLITE_DONE) {
    detail::throw_error(db, result, "cannot execute " + detail::quote_sql(sql()), reason);
  }
  return false;
}

void Statement::run() {
  while (step()) {
  }
}

void Statement::reset() {
  // sqlite3_reset repeats the error of the last step, which step() has
  // already reported.
  sqlite3_reset(handle_.get());
  sqlite3_clear_bindings(handle_.get());
}

int Statement::column_count() const { return sqlite3_column_count(handle_.get()); }

ColumnType Statement::column_type(int column) const {
  check_column(column);
  return column_type_of(sqlite3_column_type(handle_.get(), column));
}

bool Statement::column_is_null(int column) const { return column_type(column) == ColumnType::null; }

std::int64_t Statement::column_int64(int column) const {
  check_column(column);
  return sqlite3_column_int64(handle_.get(), column);
}

double Statement::column_double(int column) const {
  check_column(column);
  return sqlite3_column_double(handle_.get(), column);
}

std::string Statement::column_text(int column) const {
  return std::string(column_text_view(column));
}

std::string_view Statement::column_text_view(int column) const {
  check_column(column);
  // The text pointer must be fetched before its length, as SQLite may
  // convert the value on the first call.
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle_.get(), column));
  const int length = sqlite3_column_bytes(handle_.get(), column);
  return text == nullptr ? std::string_view()
                         : std::string_view(text, static_cast<std::size_t>(length));
}

std::vector<std::byte> Statement::column_blob(int column) const {
  check_column(column);
  const auto* data = static_cast<const std::byte*>(sqlite3_column_blob(handle_.get(), column));
  const int length = sqlite3_column_bytes(handle_.get(), column);
  return data == nullptr ? std::vector<std::byte>() : std::vector<std::byte>(data, data + length);
}

std::string_view Statement::sql() const { return sqlite3_sql(handle_.get()); }

void Statement::check_parameter_count(int count) const {
  const int expected = sqlite3_bind_parameter_count(handle_.get());
  if (count != expected) {
    detail::throw_error(
        sqlite3_db_handle(handle_.get()), SQLITE_RANGE,
        "cannot bind " + std::to_string(count) + " values to " + detail::quote_sql(sql()),
        "the statement has " + std::to_string(expected) + " parameters");
  }
}

void Statement::check_column(int column) const {
  if (column < 0 || column >= column_count()) {
    detail::throw_error(
        sqlite3_db_handle(handle_.get()), SQLITE_RANGE,
        "cannot read column " + std::to_string(column) + " of " + detail::quote_sql(sql()));
  }
}

void Statement::check_bind(int index, int result) const {
  if (result != SQLITE_OK) {
    detail::throw_error(
        sqlite3_db_handle(handle_.get()), result,
        "cannot bind parameter " + std::to_string(index) + " of " + detail::quote_sql(sql()));
  }
}

}  // namespace tavo::db
