// Shelf files: one SQLite table `shelf(id, key, value)` marked with the
// shelf application id, values as JSON text.
#include "platform/shelf.hpp"

#include <sqlite3.h>

#include "db/database_file.hpp"
#include "db/error.hpp"
#include "db/statement.hpp"
#include "db/transaction.hpp"
#include "value/errors.hpp"
#include "value/json_codec.hpp"

namespace tavo::platform {
namespace {

// Marks a database as a shelf file ("TKSH").
constexpr std::int64_t shelf_application_id = 0x544b5348;

std::int64_t single_integer(db::Connection& connection, std::string_view sql) {
  db::Statement statement = connection.prepare(sql);
  statement.step();
  return statement.column_int64(0);
}

// Gives a new database the shelf table, and rejects databases of any other
// kind, so that a shelf never writes into a file it does not own.
void prepare_shelf_schema(db::Connection& connection) {
  const std::int64_t tables = single_integer(connection, "SELECT count(*) FROM sqlite_master");
  if (tables == 0) {
    db::Transaction transaction(connection);
    connection.execute("PRAGMA application_id = " + std::to_string(shelf_application_id));
    connection.execute(
        "CREATE TABLE shelf (id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE, "
        "value TEXT NOT NULL)");
    transaction.commit();
    return;
  }
  const bool is_shelf =
      single_integer(connection, "PRAGMA application_id") == shelf_application_id &&
      single_integer(
          connection,
          "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'shelf'") == 1;
  if (!is_shelf) {
    throw db::Error("database \"" + connection.path().string() + "\" is not a shelf file",
                    SQLITE_NOTADB, connection.path());
  }
}

}  // namespace

Shelf::Shelf() = default;

Shelf::Shelf(db::Connection connection, bool writeback)
    : connection_(std::move(connection)), writeback_(writeback) {}

Shelf Shelf::read_only_copy(const Dict& entries, std::string why_read_only) {
  Shelf copy;
  for (const auto& [key, value] : entries) copy.cache_.set(key, value);
  copy.why_read_only_ = std::move(why_read_only);
  return copy;
}

Shelf::Shelf(Shelf&& other) noexcept
    : connection_(std::move(other.connection_)),
      writeback_(other.writeback_),
      closed_(other.closed_),
      why_read_only_(std::move(other.why_read_only_)),
      cache_(other.cache_) {
  other.connection_.reset();
  other.closed_ = true;
}

Shelf& Shelf::operator=(Shelf&& other) noexcept {
  if (this != &other) {
    close_dropping_unwritten();
    connection_ = std::move(other.connection_);
    writeback_ = other.writeback_;
    closed_ = other.closed_;
    why_read_only_ = std::move(other.why_read_only_);
    cache_ = other.cache_;
    other.connection_.reset();
    other.closed_ = true;
  }
  return *this;
}

Shelf::~Shelf() { close_dropping_unwritten(); }

void Shelf::close_dropping_unwritten() noexcept {
  try {
    close();
  } catch (const db::Error&) {
    // Writing back failed; close() explicitly to see the failure.
  } catch (const ValueError&) {
    // A value that cannot be stored as JSON: the same.
  }
}

Shelf Shelf::open(const std::filesystem::path& filename, bool writeback) {
  std::error_code error;
  const bool fresh =
      !std::filesystem::exists(filename, error) || std::filesystem::file_size(filename, error) == 0;
  if (fresh && filename.has_parent_path()) {
    std::filesystem::create_directories(filename.parent_path());
  } else if (!fresh) {
    db::check_database_file(filename);
  }
  db::Connection connection(filename, db::OpenMode::create);
  prepare_shelf_schema(connection);
  return Shelf(std::move(connection), writeback);
}

std::filesystem::path Shelf::path() const {
  return connection_ ? connection_->path() : std::filesystem::path();
}

void Shelf::check_open() const {
  if (closed_) throw ValueError("invalid operation on a closed shelf");
}

void Shelf::check_writable() const {
  check_open();
  if (is_read_only()) throw TypeError(why_read_only_);
}

std::vector<std::string> Shelf::keys() const {
  check_open();
  std::vector<std::string> keys;
  if (!connection_) {
    for (const auto& [key, value] : cache_) keys.push_back(key.as_text());
    return keys;
  }
  db::Statement statement = connection_->prepare("SELECT key FROM shelf ORDER BY id");
  while (statement.step()) keys.push_back(statement.column_text(0));
  return keys;
}

std::size_t Shelf::size() const {
  check_open();
  if (!connection_) return cache_.size();
  return static_cast<std::size_t>(single_integer(*connection_, "SELECT count(*) FROM shelf"));
}

bool Shelf::contains(std::string_view key) const {
  check_open();
  if (cache_.contains(key)) return true;
  if (!connection_) return false;
  db::Statement statement = connection_->prepare("SELECT 1 FROM shelf WHERE key = ?");
  statement.bind(1, key);
  return statement.step();
}

std::optional<Value> Shelf::read(std::string_view key) const {
  check_open();
  if (const Value* cached = cache_.find(key)) return *cached;
  if (!connection_) return std::nullopt;
  db::Statement statement = connection_->prepare("SELECT value FROM shelf WHERE key = ?");
  statement.bind(1, key);
  if (!statement.step()) return std::nullopt;
  Value value = decode_json(statement.column_text(0));
  if (writeback_) cache_.set(key, value);
  return value;
}

Value Shelf::get(std::string_view key) const {
  std::optional<Value> value = read(key);
  if (!value) throw KeyError(Value(key));
  return *value;
}

Value Shelf::get(std::string_view key, const Value& fallback) const {
  return read(key).value_or(fallback);
}

void Shelf::write(db::Connection& connection, std::string_view key, const Value& value) {
  db::Statement statement = connection.prepare(
      "INSERT INTO shelf (key, value) VALUES (?, ?) "
      "ON CONFLICT (key) DO UPDATE SET value = excluded.value");
  statement.bind_all(key, encode_json(value));
  statement.run();
}

void Shelf::set(std::string_view key, const Value& value) {
  check_writable();
  if (connection_) write(*connection_, key, value);
  if (writeback_ || !connection_) cache_.set(key, value);
}

void Shelf::erase(std::string_view key) {
  check_writable();
  bool found = cache_.contains(key);
  if (found) cache_.erase(key);
  if (connection_) {
    db::Statement statement = connection_->prepare("DELETE FROM shelf WHERE key = ?");
    statement.bind(1, key);
    statement.run();
    found = connection_->changes() > 0;
  }
  if (!found) throw KeyError(Value(key));
}

void Shelf::sync() {
  check_open();
  if (!connection_ || !writeback_ || cache_.empty()) return;
  db::Transaction transaction(*connection_);
  for (const auto& [key, value] : cache_) write(*connection_, key.as_text(), value);
  transaction.commit();
  cache_.clear();
}

void Shelf::close() {
  if (closed_) return;
  // The file is released even when writing back fails, so that a close
  // that reported its failure never writes later, from the destructor.
  struct Release {
    Shelf& shelf;
    ~Release() {
      shelf.connection_.reset();
      shelf.cache_.clear();
      shelf.closed_ = true;
    }
  } const release{*this};
  sync();
}

void Shelf::copy_to(const std::filesystem::path& destination) {
  check_open();
  if (!connection_) throw ValueError("a detached shelf has no file to copy");
  db::backup_database(*connection_, destination);
}

}  // namespace tavo::platform
