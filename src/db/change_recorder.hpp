// ChangeRecorder: the changes a piece of work makes to some tables, kept so
// that the work can be taken back later, even by another connection.
//
//   db::ChangeRecorder recorder(connection, {"counter", "card_list"});
//   ...                                        // the work
//   const std::vector<std::byte> undo = recorder.inverse();
//   ...                                        // later
//   db::apply_changes(connection, undo);       // takes the work back
//
// Built on SQLite's session extension: every recorded table needs a
// primary key.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "db/connection.hpp"

struct sqlite3_session;

namespace tavo::db {

class ChangeRecorder {
 public:
  // Records from now on the changes made through `connection` to `tables`.
  // The connection must outlive the recorder.
  ChangeRecorder(Connection& connection, std::initializer_list<std::string_view> tables);

  // The changes recorded so far, inverted: applying them restores what the
  // rows held when recording began. Empty when nothing changed.
  std::vector<std::byte> inverse() const;

 private:
  struct Delete {
    void operator()(sqlite3_session* session) const noexcept;
  };

  Connection& connection_;
  std::unique_ptr<sqlite3_session, Delete> session_;
};

// Applies changes made by ChangeRecorder::inverse. A row that something
// else changed since the recording is left as it is. db::Error on failure.
void apply_changes(Connection& connection, std::span<const std::byte> changes);

}  // namespace tavo::db
