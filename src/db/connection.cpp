// A connection to one SQLite database file.

#include "db/connection.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "db/detail/error_text.hpp"
#include "db/error.hpp"
#include "value/quoted.hpp"

namespace tavo::db {
namespace {

constexpr int busy_timeout_ms = 5000;

const char* settings(Sync sync) {
  return sync == Sync::full ? "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL"
                            : "PRAGMA journal_mode=DELETE; PRAGMA synchronous=OFF";
}

int open_flags(OpenMode mode) {
  switch (mode) {
    case OpenMode::read_only: return SQLITE_OPEN_READONLY;
    case OpenMode::read_write: return SQLITE_OPEN_READWRITE;
    case OpenMode::create: return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  }
  return SQLITE_OPEN_READONLY;
}

bool is_blank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return c == ';' || std::isspace(static_cast<unsigned char>(c));
  });
}

}  // namespace

void Connection::Close::operator()(sqlite3* handle) const noexcept { sqlite3_close_v2(handle); }

Connection::Connection(const std::filesystem::path& path, OpenMode mode, Sync sync)
    : Connection(path, mode, Unconfigured{}) {
  apply_settings(sync);
}

Connection Connection::for_inspection(const std::filesystem::path& path, OpenMode mode) {
  return Connection(path, mode, Unconfigured{});
}

Connection::Connection(const std::filesystem::path& path, OpenMode mode, Unconfigured)
    : path_(path) {
  sqlite3* raw = nullptr;
  // A connection is used by one thread only, so SQLite need not lock it.
  const int result =
      sqlite3_open_v2(path.c_str(), &raw, open_flags(mode) | SQLITE_OPEN_NOMUTEX, nullptr);
  // SQLite hands out a handle even when opening fails; it must be closed.
  handle_.reset(raw);
  if (result != SQLITE_OK) {
    throw Error("cannot open database " + quoted(path) + ": " + detail::reason(raw, result),
                result, path);
  }
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, busy_timeout_ms);
}

void Connection::apply_settings(Sync sync) {
  sqlite3* db = handle_.get();
  // Setting the journal mode reads the file header, so a file that is not
  // a database is already rejected here.
  const int result = sqlite3_exec(db, settings(sync), nullptr, nullptr, nullptr);
  if (result != SQLITE_OK) {
    throw Error("cannot open database " + quoted(path_) + ": " + detail::reason(db, result),
                result, path_);
  }
}

void Connection::execute(std::string_view sql) {
  const std::string text(sql);
  sqlite3* db = handle_.get();
  const int result = sqlite3_exec(db, text.c_str(), nullptr, nullptr, nullptr);
  if (result != SQLITE_OK) {
    detail::throw_error(db, result, "cannot execute " + detail::quote_sql(sql));
  }
}

Statement Connection::prepare(std::string_view sql) {
  sqlite3* db = handle_.get();
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int result = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
  Statement statement(raw);
  const std::string doing = "cannot prepare " + detail::quote_sql(sql);
  if (result != SQLITE_OK) {
    detail::throw_error(db, result, doing);
  }
  if (raw == nullptr) {
    detail::throw_error(db, SQLITE_MISUSE, doing, "no SQL statement");
  }
  if (!is_blank(std::string_view(tail, sql.data() + sql.size()))) {
    detail::throw_error(db, SQLITE_MISUSE, doing, "more than one SQL statement");
  }
  return statement;
}

std::int64_t Connection::last_insert_rowid() const {
  return sqlite3_last_insert_rowid(handle_.get());
}

int Connection::changes() const { return sqlite3_changes(handle_.get()); }

std::vector<std::string> Connection::integrity_check(bool quick) {
  std::vector<std::string> problems;
  try {
    Statement check = prepare(quick ? "PRAGMA quick_check" : "PRAGMA integrity_check");
    while (check.step()) {
      problems.push_back(check.column_text(0));
    }
  } catch (const Error& error) {
    if (!error.is_damage()) {
      throw;
    }
    problems.emplace_back(error.what());
  }
  if (problems.size() == 1 && problems.front() == "ok") {
    problems.clear();
  }
  return problems;
}

}  // namespace tavo::db
