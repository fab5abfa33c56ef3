// Operations on whole database files.

#include "db/database_file.hpp"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "db/detail/error_text.hpp"
#include "db/error.hpp"

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
  throw Error("damaged database " + detail::quote(path) + ": " + reason, code, path);
}

void require_regular_file(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) {
    throw Error("cannot check database " + detail::quote(path) + ": the file does not exist",
                SQLITE_CANTOPEN, path);
  }
  if (!fs::is_regular_file(status)) {
    throw Error("cannot check database " + detail::quote(path) + ": not a regular file",
                SQLITE_CANTOPEN, path);
  }
}

bool has_journal(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(with_suffix(path, "-journal"), error);
  return !error && size > 0;
}

// Reading the schema makes SQLite read and parse page 1, and roll back an
// interrupted transaction when the connection may write.
void read_schema(const fs::path& path, OpenMode mode) {
  try {
    Connection connection(path, mode);
    connection.prepare("SELECT count(*) FROM sqlite_master").run();
  } catch (const Error& error) {
    reject(path, std::string("cannot read the schema: ") + sqlite3_errstr(error.code()),
           error.code());
  }
}

Header read_header(const fs::path& path) {
  Header header{};
  std::ifstream file(path, std::ios::binary);
  file.read(reinterpret_cast<char*>(header.data()), header.size());
  if (file.gcount() != static_cast<std::streamsize>(header.size())) {
    reject(path, "cannot read the file header", SQLITE_IOERR);
  }
  return header;
}

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

void check_header(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t file_size = fs::file_size(path, error);
  if (error) {
    reject(path, "cannot read the file size: " + error.message(), SQLITE_IOERR);
  }
  if (file_size == 0) {
    reject(path, "the file is empty", SQLITE_NOTADB);
  }
  if (file_size < header_size) {
    reject(path, "the file is shorter than the 100-byte header", SQLITE_NOTADB);
  }
  const Header header = read_header(path);
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

// A name beside `destination` that no other backup uses at the same time.
fs::path temporary_sibling(const fs::path& destination) {
  std::random_device random;
  const std::uint64_t number = (static_cast<std::uint64_t>(random()) << 32) | random();
  std::array<char, 16> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number, 16).ptr;
  return with_suffix(destination, ".partial-" + std::string(digits.data(), end));
}

// Removes a file and its journal unless released; the copy in progress
// disappears when the backup fails.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!released_) {
      std::error_code ignored;
      fs::remove(path_, ignored);
      fs::remove(with_suffix(path_, "-journal"), ignored);
    }
  }

  const fs::path& path() const { return path_; }
  void release() { released_ = true; }

 private:
  fs::path path_;
  bool released_ = false;
};

// An open POSIX file descriptor, closed on destruction.
class FileDescriptor {
 public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (descriptor_ >= 0) {
      ::close(descriptor_);
    }
  }

  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

// The steps of one backup, each failing with an Error that names the
// source and the destination.
class Backup {
 public:
  Backup(Connection& source, const fs::path& destination)
      : source_(source),
        doing_("cannot back up database " + detail::quote(source.path()) + " to " +
               detail::quote(destination)) {}

  [[noreturn]] void fail(const std::string& reason, int code) const {
    throw Error(doing_ + ": " + reason, code, source_.path());
  }

  // Copies every page of the source into `copy` in one step, so the copy
  // reflects a single committed state of the source.
  void copy_pages(Connection& copy) const {
    sqlite3* target = copy.handle();
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source_.handle(), "main");
    if (backup == nullptr) {
      fail(detail::reason(target, sqlite3_extended_errcode(target)),
           sqlite3_extended_errcode(target));
    }
    // Nothing between init and finish can throw, so the backup handle is
    // always released.
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE) {
      const int code = finished != SQLITE_OK ? finished : stepped;
      fail(detail::reason(target, code), code);
    }
  }

  void create_directory(const fs::path& directory) const {
    std::error_code error;
    fs::create_directories(directory, error);
    if (error) {
      fail("cannot create directory " + detail::quote(directory) + ": " + error.message(),
           SQLITE_CANTOPEN);
    }
  }

  void remove_stale_journals(const fs::path& destination) const {
    for (const std::string_view suffix : {"-journal", "-wal"}) {
      std::error_code error;
      fs::remove(with_suffix(destination, suffix), error);
      if (error) {
        fail("cannot remove the old journal: " + error.message(), SQLITE_IOERR);
      }
    }
  }

  void replace(const fs::path& from, const fs::path& to) const {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) {
      fail("cannot rename the copy into place: " + error.message(), SQLITE_IOERR);
    }
  }

  // Makes the rename durable: it is recorded in the directory, which must
  // be synced as a file of its own.
  void sync_directory(const fs::path& directory) const {
    const FileDescriptor descriptor(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (descriptor.get() < 0 || ::fsync(descriptor.get()) != 0) {
      fail("cannot sync directory " + detail::quote(directory) + ": " +
               std::error_code(errno, std::system_category()).message(),
           SQLITE_IOERR_DIR_FSYNC);
    }
  }

 private:
  Connection& source_;
  std::string doing_;
};

}  // namespace

void check_database_file(const fs::path& path) {
  require_regular_file(path);
  if (has_journal(path)) {
    read_schema(path, OpenMode::read_write);
  }
  check_header(path);
  read_schema(path, OpenMode::read_only);
}

void backup_database(Connection& source, const fs::path& destination) {
  const Backup backup(source, destination);
  const fs::path directory =
      destination.has_parent_path() ? destination.parent_path() : fs::path(".");
  backup.create_directory(directory);
  TemporaryFile temporary(temporary_sibling(destination));
  {
    // The backup commits the copy; with synchronous=FULL that commit has
    // synced the file before it is renamed.
    Connection copy(temporary.path(), OpenMode::create);
    backup.copy_pages(copy);
  }
  backup.remove_stale_journals(destination);
  backup.replace(temporary.path(), destination);
  temporary.release();
  backup.sync_directory(directory);
}

void copy_database_file(const fs::path& source, const fs::path& destination) {
  Connection connection(source, OpenMode::read_only);
  backup_database(connection, destination);
}

void keep_damaged_copy(const fs::path& path) {
  std::error_code ignored;
  fs::copy_file(path, fs::path(path.string() + ".damaged"), fs::copy_options::overwrite_existing,
                ignored);
}

}  // namespace tavo::db
