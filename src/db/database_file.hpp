// Operations on whole database files: checking that a file is a usable
// database, and replacing a file with a consistent copy of a database.

#pragma once

#include <filesystem>

#include "db/connection.hpp"

namespace tavo::db {

// Checks cheaply that the existing file at `path` is a usable database:
// it has a valid header (magic text and page size), its size is a positive
// whole number of pages and not less than the header records, and its
// schema can be read through a read-only connection. Throws db::Error
// naming the first problem found. A missing file is an error too; callers
// that accept a missing file (to create it) test for it first.
//
// A zero-length file is rejected: SQLite would treat it as an empty
// database, but a database of this system always has a schema.
//
// When a journal of an interrupted transaction lies beside the file, the
// transaction is first rolled back, exactly as the next read-write open
// would do, so that the check sees the last committed state.
//
// The check holds the file's shared lock, as a reader does, so a writer in
// another process never shows it a half-committed file.
void check_database_file(const std::filesystem::path& path);

// Writes a consistent copy of `source` to `destination`, using SQLite's
// online backup API, so the copy is consistent even while other
// connections use the source. The copy is written durably (see
// db/durable_file.hpp): a crash never leaves a half-written destination,
// and whatever was at `destination` before (even a damaged file) is
// replaced. A journal left beside the old destination is removed, so that
// it is never rolled into the new copy. Missing parent directories are
// created; the copy gets the permission bits of the source file. Throws
// db::Error "cannot back up database "<source>" to "<destination>": ...".
void backup_database(Connection& source, const std::filesystem::path& destination);

// As backup_database, reading from the database file at `source` through
// a read-only connection.
void copy_database_file(const std::filesystem::path& source,
                        const std::filesystem::path& destination);

}  // namespace tavo::db
