// The session extension is declared only when these are defined first.
#define SQLITE_ENABLE_SESSION 1
#define SQLITE_ENABLE_PREUPDATE_HOOK 1
#include <sqlite3.h>

#include "db/change_recorder.hpp"

#include <string>

#include "db/detail/error_text.hpp"
#include "db/error.hpp"

namespace tavo::db {
namespace {

// Owns a buffer that SQLite allocated.
struct SqliteBuffer {
  ~SqliteBuffer() { sqlite3_free(data); }
  void* data = nullptr;
};

void check(Connection& connection, int result, const std::string& doing) {
  if (result != SQLITE_OK) detail::throw_error(connection.handle(), result, doing);
}

}  // namespace

void ChangeRecorder::Delete::operator()(sqlite3_session* session) const noexcept {
  sqlite3session_delete(session);
}

ChangeRecorder::ChangeRecorder(Connection& connection,
                               std::initializer_list<std::string_view> tables)
    : connection_(connection) {
  sqlite3_session* raw = nullptr;
  check(connection_, sqlite3session_create(connection_.handle(), "main", &raw),
        "cannot record changes");
  session_.reset(raw);
  for (const std::string_view table : tables) {
    const std::string name(table);
    check(connection_, sqlite3session_attach(session_.get(), name.c_str()),
          "cannot record the changes of table " + name);
  }
}

std::vector<std::byte> ChangeRecorder::inverse() const {
  int size = 0;
  SqliteBuffer changes;
  check(connection_, sqlite3session_changeset(session_.get(), &size, &changes.data),
        "cannot read the recorded changes");
  int inverted_size = 0;
  SqliteBuffer inverted;
  check(connection_, sqlite3changeset_invert(size, changes.data, &inverted_size, &inverted.data),
        "cannot invert the recorded changes");
  const auto* bytes = static_cast<const std::byte*>(inverted.data);
  return {bytes, bytes + inverted_size};
}

void apply_changes(Connection& connection, std::span<const std::byte> changes) {
  if (changes.empty()) return;
  const auto leave_changed_rows = [](void*, int, sqlite3_changeset_iter*) {
    return SQLITE_CHANGESET_OMIT;
  };
  // SQLite takes the buffer as mutable but does not change it.
  void* data = const_cast<std::byte*>(changes.data());
  check(connection,
        sqlite3changeset_apply(connection.handle(), static_cast<int>(changes.size()), data,
                               nullptr, leave_changed_rows, nullptr),
        "cannot take back recorded changes");
}

}  // namespace tavo::db
