// A persistent mapping of text keys to Values: the host's "shelf".
//
// A shelf file is a SQLite database with one table of keys (in insertion
// order) and JSON-encoded values (value/json_codec.hpp), so every Value kind
// is stored exactly and nothing stored is ever executed when read. Each write
// is its own transaction. A shelf can also be detached: an in-memory mapping
// with the same interface and no file, which is what the shelf opening
// routine hands out when no file could be opened.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.hpp"
#include "value/value.hpp"

namespace tavo::platform {

class Shelf {
 public:
  // An empty detached mapping.
  Shelf();

  // Opens the shelf file at `filename`, creating it (and its directory) when
  // it is missing or empty. Throws db::Error when the file exists but is not
  // a usable shelf. With `writeback`, values read are cached and written
  // back by sync() and close(), so that changes made to a returned List or
  // Dict in place are stored; without it, every get() decodes a fresh copy.
  static Shelf open(const std::filesystem::path& filename, bool writeback = false);

  // A detached copy of `entries` that refuses writes: set() and erase()
  // throw TypeError with the message `why_read_only`.
  static Shelf read_only_copy(const Dict& entries, std::string why_read_only);

  // A moved-from shelf is closed.
  Shelf(Shelf&& other) noexcept;
  Shelf& operator=(Shelf&& other) noexcept;
  // Closes the shelf; a failure to write back cached values is lost here,
  // so callers that need to see it call close() first.
  ~Shelf();

  // True when backed by a file, false for a detached mapping.
  bool is_persistent() const { return connection_.has_value(); }
  // True when values read are cached and written back (see open()).
  bool is_writeback() const { return writeback_; }
  // True for a read_only_copy.
  bool is_read_only() const { return !why_read_only_.empty(); }
  // The file behind the shelf; empty for a detached mapping.
  std::filesystem::path path() const;

  std::vector<std::string> keys() const;
  std::size_t size() const;
  bool empty() const { return size() == 0; }
  bool contains(std::string_view key) const;
  // The value under `key`; KeyError (the key's repr) when absent.
  Value get(std::string_view key) const;
  // The value under `key`, or `fallback` when absent.
  Value get(std::string_view key, const Value& fallback) const;
  // Stores `value` under `key`; a replaced entry keeps its position.
  // TypeError on a read-only copy.
  void set(std::string_view key, const Value& value);
  // Removes the entry; KeyError when absent, TypeError on a read-only copy.
  void erase(std::string_view key);

  // Writes cached values back (writeback shelves) in one transaction.
  void sync();
  // Syncs and releases the file; when syncing fails, the file is released
  // all the same, the values not written back are dropped, and the failure
  // is thrown. Any later use throws ValueError.
  void close();

  // Writes a consistent copy of the shelf file to `destination`, replacing
  // it atomically. Throws db::Error on failure, ValueError when detached.
  void copy_to(const std::filesystem::path& destination);

 private:
  explicit Shelf(db::Connection connection, bool writeback);

  // Closes without reporting a failure to write back, for the destructor
  // and the move assignment: the values not written are dropped.
  void close_dropping_unwritten() noexcept;
  void check_open() const;
  void check_writable() const;
  std::optional<Value> read(std::string_view key) const;
  void write(db::Connection& connection, std::string_view key, const Value& value);

  mutable std::optional<db::Connection> connection_;
  bool writeback_ = false;
  bool closed_ = false;
  std::string why_read_only_;
  // Detached mapping, or the values read and written by a writeback shelf.
  Dict cache_;
};

}  // namespace tavo::platform
