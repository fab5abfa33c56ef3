// Shelf files of the module: where they live and how they are opened, with
// a backup copy to fall back on. The manager and the collection container
// both offer these operations; they share this one implementation.
#pragma once

#include <string>

#include "platform/environment.hpp"
#include "platform/shelf.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// The path of the file `zusatz` in the settings directory: the application
// data directory (which ends in a separator) followed directly by
// "settings/" and `zusatz`. Nothing is created on disk here; the directory
// is made when a file in it is first written.
std::string get_shelve_main_directory(const platform::Environment& env, const std::string& zusatz);

// The backup of a shelf file: its name followed directly by "old".
std::string shelve_backup_name(const std::string& filename);

// Opens the shelf file `filename` and never fails:
//   1. A missing file becomes a new empty shelf. When `copy` equals True
//      (so 1 counts too, a non-empty text does not), the opened file is then
//      copied to the backup; a failed copy is ignored and the opened shelf
//      is still returned.
//   2. When the file exists but cannot be opened, the backup is opened and
//      copied over the file (the damaged file is first kept beside it as
//      `filename` + ".damaged"), and the restored file is returned open, so
//      that later writes go to `filename` itself. When the copy fails, the
//      shelf opened on the backup is returned.
//   3. When neither opens, the result is an empty detached mapping
//      (Shelf::is_persistent() is false).
// The day statistics store ("kkv_alle.dat") is read, not opened as a shelf:
// the result is a read-only copy of its nested layout (Shelf::read_only_copy;
// the store is written only through the statistics operations). A damaged
// store is first restored from its backup, as a damaged shelf is; with
// `copy` equal to True a usable store is copied to its backup. A missing
// file at the store's place gives an empty copy and creates nothing.
platform::Shelf add_shelve_file(const platform::Environment& env, const std::string& filename,
                                bool writeback = false, const Value& copy = false);

}  // namespace tavo::kk
