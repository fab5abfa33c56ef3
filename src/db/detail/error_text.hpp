// Building the messages of db::Error.
//
// Internal to the database layer: every message names the action, the
// database file and the reason in the same way, so that they read alike.

#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace tavo::db::detail {

// The SQL in double quotes, whitespace collapsed and cut to a length that
// keeps the message on one readable line.
std::string quote_sql(std::string_view sql);

// SQLite's message for `code`: the connection's detailed message when its
// most recent error is `code`, otherwise SQLite's generic text for `code`.
// `db` may be null. A lock that stayed busy past the busy timeout says
// that another process holds it.
std::string reason(sqlite3* db, int code);

// Throws Error "<doing> in database "<file of db>": <reason>".
[[noreturn]] void throw_error(sqlite3* db, int code, std::string_view doing,
                              std::string_view reason);

// As above, with the reason taken from SQLite.
[[noreturn]] void throw_error(sqlite3* db, int code, std::string_view doing);

}  // namespace tavo::db::detail
