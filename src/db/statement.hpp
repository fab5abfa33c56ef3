// A prepared SQL statement.
//
// Statements are made by Connection::prepare. Parameters are bound by their
// 1-based index, as SQLite numbers them; result columns are read by their
// 0-based index, as SQLite numbers those.
//
//   db::Statement insert = connection.prepare("INSERT INTO note VALUES (?, ?)");
//   insert.bind_all(id, "text");
//   insert.run();

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace tavo::db {

// The storage class of a value in a result column.
enum class ColumnType { integer, real, text, blob, null };

// Owns one prepared statement; move-only. A statement must not outlive the
// Connection that prepared it. A moved-from statement may only be destroyed
// or assigned to. Every failure throws db::Error.
class Statement {
 public:
  Statement(Statement&&) noexcept = default;
  Statement& operator=(Statement&&) noexcept = default;
  ~Statement() = default;

  // Bind `value` to parameter `index` (1-based). Text and blobs are copied,
  // so the caller's buffer need not outlive the call. An empty string or
  // blob is bound as an empty value, never as NULL. Bindings stay until
  // replaced or reset(); a statement stopped in the middle of its rows must
  // be reset() before binding.
  void bind(int index, std::nullptr_t);
  void bind(int index, std::int64_t value);
  void bind(int index, int value);
  void bind(int index, double value);
  void bind(int index, std::string_view value);
  void bind(int index, std::span<const std::byte> value);

  // Binds NULL when `value` is empty, otherwise the contained value.
  template <typename T>
  void bind(int index, const std::optional<T>& value);

  // Binds `values` to parameters 1..N in order. Throws when N differs from
  // the number of parameters in the statement.
  template <typename... Values>
  void bind_all(const Values&... values);

  // Advances to the next result row: true when a row is available, false
  // when the statement has finished. A finished or failed statement is
  // rewound, keeping its bindings, so it can be bound and run again.
  bool step();

  // Steps until the statement has finished, discarding any rows.
  void run();

  // Rewinds the statement and sets every parameter back to NULL.
  void reset();

  // Number of columns in the result; 0 for statements without results.
  int column_count() const;

  // Reading the current row. `column` is 0-based; an index outside the
  // result throws. Reading a value as another type converts it as SQLite
  // does (NULL reads as 0, 0.0, "" or an empty blob).
  ColumnType column_type(int column) const;
  bool column_is_null(int column) const;
  std::int64_t column_int64(int column) const;
  double column_double(int column) const;
  std::string column_text(int column) const;
  // The text of the column without a copy: valid until the statement steps,
  // is reset or reads the column as another type.
  std::string_view column_text_view(int column) const;
  std::vector<std::byte> column_blob(int column) const;

  // The SQL text the statement was prepared from.
  std::string_view sql() const;

 private:
  friend class Connection;

  struct Finalize {
    void operator()(sqlite3_stmt* statement) const noexcept;
  };

  // Takes ownership of `handle`, which may be null.
  explicit Statement(sqlite3_stmt* handle);

  void check_parameter_count(int count) const;
  void check_column(int column) const;
  void check_bind(int index, int result) const;

  std::unique_ptr<sqlite3_stmt, Finalize> handle_;
};

template <typename T>
void Statement::bind(int index, const std::optional<T>& value) {
  if (value.has_value()) {
    bind(index, *value);
  } else {
    bind(index, nullptr);
  }
}

template <typename... Values>
void Statement::bind_all(const Values&... values) {
  check_parameter_count(static_cast<int>(sizeof...(Values)));
  int index = 0;
  (bind(++index, values), ...);
}

}  // namespace tavo::db
