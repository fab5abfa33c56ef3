// Operations on whole database files.

#include "db/database_file.hpp"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "db/detail/error_text.hpp"
#include "db/durable_file.hpp"
#include "db/error.hpp"
#include "db/file_error.hpp"
#include "db/transaction.hpp"
#include "value/quoted.hpp"

namespace tavo::db {
namespace {

namespace fs = std::filesystem;

// The fixed layout of the first bytes of every SQLite database file.
constexpr std::size_t header_size = 100;
constexpr std::string_view header_magic{"SQLite format 3\0", 16};
constexpr std::size_t page_size_offset = 16;
constexpr std::size_t change_counter_offset = 24;
constexpr std::size_t page_count_offset = 28;
constexpr std::size_t valid_for_offset = 92;

using Header = std::array<unsigned char, header_size>;

fs::path with_suffix(const fs::path& path, std::string_view suffix) {
  fs::path result = path;
  result += suffix;
  return result;
}

std::uint32_t read_big_endian(const Header& header, std::size_t offset, std::size_t length) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < length; ++i) {
    value = (value << 8) | header[offset + i];
  }
  return value;
}

[[noreturn]] void reject(const fs::path& path, const std::string& reason, int code) {
  throw Error("damaged database " + quoted(path) + ": " + reason, code, path);
}

void require_regular_file(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) {
    throw Error("cannot check database " + quoted(path) + ": the file does not exist",
                SQLITE_CANTOPEN, path);
  }
  if (!fs::is_regular_file(status)) {
    throw Error("cannot check database " + quoted(path) + ": not a regular file", SQLITE_CANTOPEN,
                path);
  }
}

bool has_journal(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(with_suffix(path, "-journal"), error);
  return !error && size > 0;
}

// The file of a connection, read through SQLite's own descriptor: opening
// and closing a second one would drop the locks the connection holds.
class DatabaseBytes {
 public:
  explicit DatabaseBytes(Connection& connection) : path_(connection.path()) {
    sqlite3_file_control(connection.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file_);
    if (file_ == nullptr || file_->pMethods == nullptr) {
      reject(path_, "cannot read the file", SQLITE_IOERR);
    }
  }

  std::uintmax_t size() const {
    sqlite3_int64 size = 0;
    if (file_->pMethods->xFileSize(file_, &size) != SQLITE_OK) {
      reject(path_, "cannot read the file size", SQLITE_IOERR);
    }
    return static_cast<std::uintmax_t>(size);
  }

  Header header() const {
    Header header{};
    if (file_->pMethods->xRead(file_, header.data(), header.size(), 0) != SQLITE_OK) {
      reject(path_, "cannot read the file header", SQLITE_IOERR);
    }
    return header;
  }

  const fs::path& path() const { return path_; }

 private:
  const fs::path& path_;
  sqlite3_file* file_ = nullptr;
};

std::uint32_t page_size_of(const Header& header) {
  const std::uint32_t stored = read_big_endian(header, page_size_offset, 2);
  return stored == 1 ? 65536 : stored;
}

bool is_valid_page_size(std::uint32_t size) {
  return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

// The page count in the header is only current when the file was last
// written by a version of SQLite that maintains it; the two counters then
// agree.
std::uint32_t recorded_page_count(const Header& header) {
  const bool current = read_big_endian(header, change_counter_offset, 4) ==
                       read_big_endian(header, valid_for_offset, 4);
  return current ? read_big_endian(header, page_count_offset, 4) : 0;
}

void check_header(const DatabaseBytes& file) {
  const fs::path& path = file.path();
  const std::uintmax_t file_size = file.size();
  if (file_size == 0) {
    reject(path, "the file is empty", SQLITE_NOTADB);
  }
  if (file_size < header_size) {
    reject(path, "the file is shorter than the 100-byte header", SQLITE_NOTADB);
  }
  const Header header = file.header();
  if (std::string_view(reinterpret_cast<const char*>(header.data()), header_magic.size()) !=
      header_magic) {
    reject(path, "not an SQLite database (wrong header)", SQLITE_NOTADB);
  }
  const std::uint32_t page_size = page_size_of(header);
  if (!is_valid_page_size(page_size)) {
    reject(path, "invalid page size " + std::to_string(page_size), SQLITE_NOTADB);
  }
  if (file_size % page_size != 0) {
    reject(path,
           "the file size " + std::to_string(file_size) + " is not a multiple of the page size " +
               std::to_string(page_size),
           SQLITE_CORRUPT);
  }
  const std::uintmax_t pages = file_size / page_size;
  const std::uint32_t recorded = recorded_page_count(header);
  if (pages < recorded) {
    reject(path,
           "the file is truncated: it has " + std::to_string(pages) +
               " pages, its header records " + std::to_string(recorded),
           SQLITE_CORRUPT);
  }
}

// Removes the journal SQLite may leave beside a copy that failed, once the
// copy's connection is closed.
class JournalRemoval {
 public:
  explicit JournalRemoval(const fs::path& database) : journal_(with_suffix(database, "-journal")) {}
  JournalRemoval(const JournalRemoval&) = delete;
  JournalRemoval& operator=(const JournalRemoval&) = delete;
  ~JournalRemoval() {
    std::error_code ignored;
    fs::remove(journal_, ignored);
  }

 private:
  fs::path journal_;
};

// Copies every page of `source` into the empty database file `copy` in one
// step, so the copy reflects a single committed state of the source. The
// backup commits the copy; with synchronous=FULL that commit syncs it.
void copy_pages(Connection& source, const fs::path& copy, const std::string& doing) {
  const JournalRemoval journal(copy);
  Connection target(copy, OpenMode::create);
  sqlite3* const handle = target.handle();
  sqlite3_backup* const backup = sqlite3_backup_init(handle, "main", source.handle(), "main");
  if (backup == nullptr) {
    const int code = sqlite3_extended_errcode(handle);
    throw Error(doing + ": " + detail::reason(handle, code), code, source.path());
  }
  // Nothing between init and finish can throw, so the backup handle is
  // always released.
  const int stepped = sqlite3_backup_step(backup, -1);
  const int finished = sqlite3_backup_finish(backup);
  if (stepped != SQLITE_DONE) {
    const int code = finished != SQLITE_OK ? finished : stepped;
    throw Error(doing + ": " + detail::reason(handle, code), code, source.path());
  }
}

// Journals beside the old destination would be rolled into the new copy.
void remove_stale_journals(const fs::path& destination) {
  for (const std::string_view suffix : {"-journal", "-wal"}) {
    const fs::path journal = with_suffix(destination, suffix);
    std::error_code error;
    fs::remove(journal, error);
    if (error) throw FileError(error.value(), "cannot remove the old journal", journal);
  }
}

}  // namespace

void check_database_file(const fs::path& path) {
  require_regular_file(path);
  // A journal of an interrupted transaction is rolled back by the first
  // read of a connection that may write.
  Connection connection = Connection::for_inspection(
      path, has_journal(path) ? OpenMode::read_write : OpenMode::read_only);
  // The read transaction holds the file's shared lock from the schema read
  // on, so no writer in another process changes the file while it is
  // checked.
  const Transaction reading(connection, TransactionKind::deferred);
  int schema_failure = SQLITE_OK;
  try {
    connection.prepare("SELECT count(*) FROM sqlite_master").run();
  } catch (const Error& error) {
    schema_failure = error.code();
  }
  check_header(DatabaseBytes(connection));
  if (schema_failure != SQLITE_OK) {
    reject(path, std::string("cannot read the schema: ") + sqlite3_errstr(schema_failure),
           schema_failure);
  }
}

void backup_database(Connection& source, const fs::path& destination) {
  const std::string doing =
      "cannot back up database " + quoted(source.path()) + " to " + quoted(destination);
  try {
    FileReplacement copy(destination);
    copy.copy_permissions_from(source.path());
    copy_pages(source, copy.path(), doing);
    remove_stale_journals(destination);
    copy.commit();
  } catch (const FileError& error) {
    throw Error(doing + ": " + error.what(), SQLITE_IOERR, source.path());
  }
}

void copy_database_file(const fs::path& source, const fs::path& destination) {
  Connection connection(source, OpenMode::read_only);
  backup_database(connection, destination);
}

}  // namespace tavo::db
