// The counting VFS: each file it opens is the wrapped VFS's file, placed
// behind a small header whose methods count writes and syncs and forward
// everything to the wrapped file.
#include "support/failing_vfs.hpp"

#include <stdexcept>

namespace tavo::testing {

// The file SQLite holds; the wrapped VFS's file follows it in the same
// allocation (szOsFile covers both).
struct FailingFile {
  sqlite3_file base;  // first, so that SQLite's pointer is this file's
  FailingVfs* vfs;
  const char* name;  // valid until closed, as SQLite guarantees

  static sqlite3_file* wrapped(sqlite3_file* file) {
    return reinterpret_cast<sqlite3_file*>(reinterpret_cast<FailingFile*>(file) + 1);
  }
  static const sqlite3_io_methods& methods_of(sqlite3_file* file) {
    return *wrapped(file)->pMethods;
  }

  static int open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags,
                  int* out_flags) {
    auto* owner = static_cast<FailingVfs*>(vfs->pAppData);
    auto* failing = reinterpret_cast<FailingFile*>(file);
    failing->base.pMethods = nullptr;
    failing->vfs = owner;
    failing->name = name;
    sqlite3_file* inner = wrapped(file);
    const int result = owner->wrapped_->xOpen(owner->wrapped_, name, inner, flags, out_flags);
    // SQLite closes a file whose methods are set, even when opening failed.
    if (inner->pMethods != nullptr) failing->base.pMethods = &methods;
    return result;
  }

  static int write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    const auto* failing = reinterpret_cast<FailingFile*>(file);
    if (!failing->vfs->should_fail(false, failing->name)) {
      return methods_of(file).xWrite(wrapped(file), data, amount, offset);
    }
    if (failing->vfs->fault_ == WriteFault::error) return SQLITE_IOERR_WRITE;
    methods_of(file).xWrite(wrapped(file), data, amount / 2, offset);
    return SQLITE_FULL;
  }

  static int sync(sqlite3_file* file, int flags) {
    const auto* failing = reinterpret_cast<FailingFile*>(file);
    if (failing->vfs->should_fail(true, failing->name)) return SQLITE_IOERR_FSYNC;
    return methods_of(file).xSync(wrapped(file), flags);
  }

  static int close(sqlite3_file* file) { return methods_of(file).xClose(wrapped(file)); }
  static int read(sqlite3_file* file, void* data, int amount, sqlite3_int64 offset) {
    return methods_of(file).xRead(wrapped(file), data, amount, offset);
  }
  static int truncate(sqlite3_file* file, sqlite3_int64 size) {
    return methods_of(file).xTruncate(wrapped(file), size);
  }
  static int file_size(sqlite3_file* file, sqlite3_int64* size) {
    return methods_of(file).xFileSize(wrapped(file), size);
  }
  static int lock(sqlite3_file* file, int level) {
    return methods_of(file).xLock(wrapped(file), level);
  }
  static int unlock(sqlite3_file* file, int level) {
    return methods_of(file).xUnlock(wrapped(file), level);
  }
  static int check_reserved_lock(sqlite3_file* file, int* reserved) {
    return methods_of(file).xCheckReservedLock(wrapped(file), reserved);
  }
  static int file_control(sqlite3_file* file, int operation, void* argument) {
    return methods_of(file).xFileControl(wrapped(file), operation, argument);
  }
  static int sector_size(sqlite3_file* file) { return methods_of(file).xSectorSize(wrapped(file)); }
  static int device_characteristics(sqlite3_file* file) {
    return methods_of(file).xDeviceCharacteristics(wrapped(file));
  }
  static int shm_map(sqlite3_file* file, int region, int size, int extend, void volatile** map) {
    return methods_of(file).xShmMap(wrapped(file), region, size, extend, map);
  }
  static int shm_lock(sqlite3_file* file, int offset, int count, int flags) {
    return methods_of(file).xShmLock(wrapped(file), offset, count, flags);
  }
  static void shm_barrier(sqlite3_file* file) { methods_of(file).xShmBarrier(wrapped(file)); }
  static int shm_unmap(sqlite3_file* file, int delete_flag) {
    return methods_of(file).xShmUnmap(wrapped(file), delete_flag);
  }
  static int fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** pages) {
    return methods_of(file).xFetch(wrapped(file), offset, amount, pages);
  }
  static int unfetch(sqlite3_file* file, sqlite3_int64 offset, void* pages) {
    return methods_of(file).xUnfetch(wrapped(file), offset, pages);
  }

  // Version 3, as the files of the wrapped "unix" VFS are.
  static constexpr sqlite3_io_methods methods{
      3,         close,       read,          write,      truncate,  sync,
      file_size, lock,        unlock,        check_reserved_lock,   file_control,
      sector_size,            device_characteristics,   shm_map,   shm_lock,
      shm_barrier,            shm_unmap,     fetch,      unfetch};
};

FailingVfs::FailingVfs(std::size_t failing, WriteFault fault)
    : wrapped_(sqlite3_vfs_find(nullptr)), vfs_(*wrapped_), failing_(failing), fault_(fault) {
  vfs_.szOsFile = static_cast<int>(sizeof(FailingFile)) + wrapped_->szOsFile;
  vfs_.zName = "failing";
  vfs_.pAppData = this;
  vfs_.xOpen = FailingFile::open;
  if (sqlite3_vfs_register(&vfs_, 1) != SQLITE_OK) {
    throw std::runtime_error("cannot install the failing SQLite VFS");
  }
}

FailingVfs::~FailingVfs() {
  sqlite3_vfs_unregister(&vfs_);
  sqlite3_vfs_register(wrapped_, 1);
}

bool FailingVfs::should_fail(bool is_sync, const char* name) {
  const std::size_t number = is_sync ? ++syncs_ : ++writes_;
  if (writes_ + syncs_ != failing_) return false;
  injected_at_ = std::string(is_sync ? "sync " : "write ") + std::to_string(number) + " of " +
                 (name != nullptr ? name : "a temporary file");
  return true;
}

}  // namespace tavo::testing
