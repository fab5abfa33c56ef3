// The day statistics store: its schema, opening with the fallback to the
// backup, the recording rules and the assembly of the logical layout.
#include "karteikarten/storage/day_statistics_store.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <system_error>

#include "db/change_recorder.hpp"
#include "db/damaged_file.hpp"
#include "db/database_file.hpp"
#include "db/error.hpp"
#include "db/statement.hpp"
#include "db/transaction.hpp"
#include "karteikarten/storage/shelve_opening.hpp"
#include "value/errors.hpp"
#include "value/number_arithmetic.hpp"
#include "value/quoted.hpp"

namespace tavo::kk {
namespace {

namespace fs = std::filesystem;

// Marks a database as a day statistics store ("TKST").
constexpr std::int64_t store_application_id = 0x544b5354;
constexpr std::int64_t store_version = 2;
constexpr std::int64_t first_store_version = 1;

constexpr std::string_view time_statistic = "zeitdauer_heute";

// Counts, seconds and card names have no declared type, so SQLite keeps
// each value in the storage class it was written with.
constexpr std::string_view schema = R"sql(
CREATE TABLE collection (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE
);
CREATE TABLE counter (
  collection_id INTEGER NOT NULL REFERENCES collection (id),
  statistic TEXT NOT NULL,
  day_order INTEGER NOT NULL,
  day TEXT NOT NULL,
  total NOT NULL,
  PRIMARY KEY (collection_id, statistic, day_order)
) WITHOUT ROWID;
CREATE TABLE time_total (
  collection_id INTEGER NOT NULL REFERENCES collection (id),
  seq INTEGER NOT NULL,
  day TEXT NOT NULL,
  kk NOT NULL,
  reizung NOT NULL,
  alleinspiel NOT NULL,
  gegenspiel NOT NULL,
  PRIMARY KEY (collection_id, seq)
) WITHOUT ROWID;
CREATE TABLE card_list (
  id INTEGER PRIMARY KEY,
  collection_id INTEGER NOT NULL REFERENCES collection (id),
  day TEXT NOT NULL,
  statistic TEXT NOT NULL,
  card NOT NULL,
  UNIQUE (collection_id, day, statistic, card)
);
CREATE INDEX card_list_by_statistic ON card_list (collection_id, statistic, day);
)sql";

// Added by version 2: how far the answer log is applied, and the inverse
// of each applied answer of the newest learning day, for taking it back.
constexpr std::string_view answer_log_schema = R"sql(
CREATE TABLE log_applied (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  seq INTEGER NOT NULL
);
CREATE TABLE answer_undo (
  seq INTEGER PRIMARY KEY,
  day TEXT NOT NULL,
  changes BLOB NOT NULL
);
)sql";

constexpr std::int64_t store_table_count = 4;

std::int64_t single_integer(db::Connection& connection, std::string_view sql) {
  db::Statement statement = connection.prepare(sql);
  statement.step();
  return statement.column_int64(0);
}

// Checks that the store is one this version reads; returns its version.
std::int64_t check_schema(db::Connection& connection) {
  const fs::path& path = connection.path();
  if (single_integer(connection, "PRAGMA application_id") != store_application_id) {
    throw db::Error("database " + quoted(path) + " is not a day statistics store", SQLITE_NOTADB,
                    path);
  }
  const std::int64_t version = single_integer(connection, "PRAGMA user_version");
  if (version < first_store_version || version > store_version) {
    throw db::Error("day statistics store " + quoted(path) + " has version " +
                        std::to_string(version) + ", expected " + std::to_string(store_version),
                    SQLITE_NOTADB, path);
  }
  const std::int64_t tables =
      single_integer(connection,
                     "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                     "('collection', 'counter', 'time_total', 'card_list')");
  if (tables != store_table_count) {
    throw db::Error("day statistics store " + quoted(path) + " lacks some of its tables",
                    SQLITE_CORRUPT, path);
  }
  return version;
}

// Brings a store of an earlier version up to date, in one transaction.
void upgrade_schema(db::Connection& connection, std::int64_t version) {
  if (version == store_version) return;
  db::Transaction upgrade(connection);
  connection.execute(answer_log_schema);
  connection.execute("PRAGMA user_version = " + std::to_string(store_version));
  upgrade.commit();
}

// False only for a file known to be missing; a file whose state cannot be
// read counts as present, so that opening it reports the problem.
bool may_exist(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error) || error;
}

bool is_empty_file(const fs::path& path) {
  std::error_code error;
  return fs::file_size(path, error) == 0 && !error;
}

// Replaces the damaged store at `path` by a copy of its backup, keeping
// the damaged file beside it as `path` + ".damaged". False, with nothing
// changed, when the backup is not a usable store; db::Error when the copy
// fails.
bool restore_from_backup(const fs::path& path) {
  const fs::path backup = shelve_backup_name(path.string());
  if (!DayStatisticsStore::is_store_file(backup)) return false;
  db::keep_damaged_copy(path);
  db::copy_database_file(backup, path);
  return true;
}

// As restore_from_backup; when the copy fails, the caller reads the backup.
void restore_from_backup_if_possible(const fs::path& path) {
  try {
    restore_from_backup(path);
  } catch (const db::Error&) {
    // The backup is read in place of the store then.
  }
}

// ---- values in columns ----

void bind_number(db::Statement& statement, int index, const Value& number) {
  if (number.is_float()) {
    statement.bind(index, number.as_float());
  } else if (number.is_number()) {
    statement.bind(index, number.as_int());
  } else {
    throw TypeError(std::string("a count or a number of seconds must be a number, not '") +
                    type_name(number) + "'");
  }
}

void bind_card_name(db::Statement& statement, int index, const Value& card) {
  if (card.is_text()) {
    statement.bind(index, card.as_text());
  } else if (card.is_number()) {
    bind_number(statement, index, card);
  } else {
    throw TypeError(std::string("a card name must be a text or a number, not '") + type_name(card) +
                    "'");
  }
}

Value column_value(const db::Statement& statement, int column) {
  switch (statement.column_type(column)) {
    case db::ColumnType::integer: return statement.column_int64(column);
    case db::ColumnType::real: return statement.column_double(column);
    case db::ColumnType::null: return None;
    case db::ColumnType::text:
    case db::ColumnType::blob: return statement.column_text(column);
  }
  return None;
}

// The items of a list or tuple.
const std::vector<Value>& sequence_items(const Value& wert, const char* what) {
  if (wert.is_list()) return wert.as_list().items();
  if (wert.is_tuple()) return wert.as_tuple().items();
  throw TypeError(std::string(what) + " must be a list or a tuple, not '" + type_name(wert) + "'");
}

// ---- collections ----

std::optional<std::int64_t> find_collection(db::Connection& connection, const std::string& name) {
  db::Statement statement = connection.prepare("SELECT id FROM collection WHERE name = ?");
  statement.bind_all(name);
  if (!statement.step()) return std::nullopt;
  return statement.column_int64(0);
}

std::int64_t ensure_collection(db::Connection& connection, const std::string& name) {
  db::Statement insert =
      connection.prepare("INSERT INTO collection (name) VALUES (?) ON CONFLICT (name) DO NOTHING");
  insert.bind_all(name);
  insert.run();
  return *find_collection(connection, name);
}

// ---- counters ----

struct NewestPair {
  std::int64_t day_order;
  std::string day;
  Value total;
};

std::optional<NewestPair> newest_pair(db::Connection& connection, std::int64_t collection,
                                      const std::string& statistic) {
  db::Statement statement = connection.prepare(
      "SELECT day_order, day, total FROM counter WHERE collection_id = ? AND statistic = ? "
      "ORDER BY day_order DESC LIMIT 1");
  statement.bind_all(collection, statistic);
  if (!statement.step()) return std::nullopt;
  return NewestPair{statement.column_int64(0), statement.column_text(1),
                    column_value(statement, 2)};
}

void write_pair(db::Connection& connection, std::int64_t collection, const std::string& statistic,
                std::int64_t day_order, const std::string& day, const Value& total) {
  db::Statement statement = connection.prepare(
      "INSERT INTO counter (collection_id, statistic, day_order, day, total) "
      "VALUES (?, ?, ?, ?, ?) "
      "ON CONFLICT (collection_id, statistic, day_order) DO UPDATE SET total = excluded.total");
  statement.bind(1, collection);
  statement.bind(2, statistic);
  statement.bind(3, day_order);
  statement.bind(4, day);
  bind_number(statement, 5, total);
  statement.run();
}

void keep_newest_pairs(db::Connection& connection, std::int64_t collection,
                       const std::string& statistic, std::int64_t newest_order, std::int64_t keep) {
  db::Statement statement = connection.prepare(
      "DELETE FROM counter WHERE collection_id = ? AND statistic = ? AND day_order <= ?");
  statement.bind_all(collection, statistic, newest_order - keep);
  statement.run();
}

void record_counter(db::Connection& connection, std::int64_t collection,
                    const std::string& statistic, const std::string& day, const Value& wert,
                    std::optional<std::int64_t> keep) {
  const std::optional<NewestPair> newest = newest_pair(connection, collection, statistic);
  std::int64_t order = 0;
  Value total = wert;
  if (newest) {
    order = newest->day == day ? newest->day_order : newest->day_order + 1;
    total = add_numbers(newest->total, 1);
  }
  write_pair(connection, collection, statistic, order, day, total);
  if (keep) keep_newest_pairs(connection, collection, statistic, order, *keep);
}

// ---- time totals ----

struct TimeRow {
  std::int64_t seq;
  DayTimes times;
};

// The newest `limit` tuples of `collection`, newest first.
std::vector<TimeRow> newest_times(db::Connection& connection, std::int64_t collection, int limit) {
  db::Statement statement = connection.prepare(
      "SELECT seq, day, kk, reizung, alleinspiel, gegenspiel FROM time_total "
      "WHERE collection_id = ? ORDER BY seq DESC LIMIT ?");
  statement.bind_all(collection, limit);
  std::vector<TimeRow> rows;
  while (statement.step()) {
    TimeRow row{statement.column_int64(0), {statement.column_text(1), {}}};
    for (int slot = 0; slot < 4; ++slot) row.times.totals[slot] = column_value(statement, 2 + slot);
    rows.push_back(std::move(row));
  }
  return rows;
}

void write_times(db::Connection& connection, std::int64_t collection, std::int64_t seq,
                 const std::string& day, const std::array<Value, 4>& totals) {
  db::Statement statement = connection.prepare(
      "INSERT INTO time_total (collection_id, seq, day, kk, reizung, alleinspiel, gegenspiel) "
      "VALUES (?, ?, ?, ?, ?, ?, ?) "
      "ON CONFLICT (collection_id, seq) DO UPDATE SET kk = excluded.kk, "
      "reizung = excluded.reizung, alleinspiel = excluded.alleinspiel, "
      "gegenspiel = excluded.gegenspiel");
  statement.bind(1, collection);
  statement.bind(2, seq);
  statement.bind(3, day);
  for (int slot = 0; slot < 4; ++slot) bind_number(statement, 4 + slot, totals[slot]);
  statement.run();
}

// The first four items of `wert`, as the host indexes them.
std::array<Value, 4> four_seconds(const Value& wert) {
  const std::vector<Value>& items = sequence_items(wert, "the seconds of zeitdauer_heute");
  if (items.size() < 4)
    throw IndexError(wert.is_list() ? "list index out of range" : "tuple index out of range");
  return {items[0], items[1], items[2], items[3]};
}

void record_times(db::Connection& connection, std::int64_t collection, const std::string& day,
                  const Value& wert) {
  const std::array<Value, 4> seconds = four_seconds(wert);
  const std::vector<TimeRow> newest = newest_times(connection, collection, 2);
  if (newest.empty()) {
    write_times(connection, collection, 0, day, seconds);
    return;
  }
  const bool same_day = newest[0].times.day == day;
  // At most one tuple per date, so the tuple of an earlier day is the newest
  // or, when that is today's, the one before it.
  const TimeRow* earlier = same_day ? (newest.size() > 1 ? &newest[1] : nullptr) : &newest[0];
  std::array<Value, 4> totals;
  for (int slot = 0; slot < 4; ++slot) {
    totals[slot] = add_numbers(earlier ? earlier->times.totals[slot] : Value(0), seconds[slot]);
  }
  write_times(connection, collection, same_day ? newest[0].seq : newest[0].seq + 1, day, totals);
}

// ---- card lists ----

void record_cards(db::Connection& connection, std::int64_t collection, const std::string& statistic,
                  const std::string& day, const Value& wert) {
  db::Statement insert = connection.prepare(
      "INSERT INTO card_list (collection_id, day, statistic, card) VALUES (?, ?, ?, ?) "
      "ON CONFLICT (collection_id, day, statistic, card) DO NOTHING");
  for (const Value& card : sequence_items(wert, "card names")) {
    insert.bind(1, collection);
    insert.bind(2, day);
    insert.bind(3, statistic);
    bind_card_name(insert, 4, card);
    insert.run();
  }
}

// ---- the logical layout ----

void add_counters(db::Connection& connection, std::int64_t collection, const Dict& layout) {
  db::Statement statement = connection.prepare(
      "SELECT statistic, day, total FROM counter WHERE collection_id = ? "
      "ORDER BY statistic, day_order");
  statement.bind_all(collection);
  while (statement.step()) {
    layout.setdefault(statement.column_text(0), List())
        .as_list()
        .append(Tuple{statement.column_text(1), column_value(statement, 2)});
  }
}

void add_time_totals(db::Connection& connection, std::int64_t collection, const Dict& layout) {
  db::Statement statement = connection.prepare(
      "SELECT day, kk, reizung, alleinspiel, gegenspiel FROM time_total "
      "WHERE collection_id = ? ORDER BY seq");
  statement.bind_all(collection);
  while (statement.step()) {
    std::vector<Value> tuple{statement.column_text(0)};
    for (int slot = 0; slot < 4; ++slot) tuple.push_back(column_value(statement, 1 + slot));
    layout.setdefault(time_statistic, List()).as_list().append(Tuple(std::move(tuple)));
  }
}

void add_card_lists(db::Connection& connection, std::int64_t collection, const Dict& layout) {
  db::Statement statement = connection.prepare(
      "SELECT day, statistic, card FROM card_list WHERE collection_id = ? ORDER BY id");
  statement.bind_all(collection);
  while (statement.step()) {
    layout.setdefault(statement.column_text(0), Dict())
        .as_dict()
        .setdefault(statement.column_text(1), List())
        .as_list()
        .append(column_value(statement, 2));
  }
}

}  // namespace

std::string day_statistics_path(const platform::Environment& env) {
  return get_shelve_main_directory(env, "kkv_alle.dat");
}

StatisticKind statistic_kind(std::string_view name) {
  if (name.starts_with("reps")) return StatisticKind::counter;
  if (name == "heute_falsch_anzahl") return StatisticKind::recent_counter;
  if (name == time_statistic) return StatisticKind::time_totals;
  return StatisticKind::card_list;
}

// ---- opening ----

DayStatisticsStore::DayStatisticsStore(db::Connection connection)
    : connection_(std::move(connection)) {}

DayStatisticsStore DayStatisticsStore::open_existing(const fs::path& path, db::OpenMode mode) {
  db::check_database_file(path);
  db::Connection connection(path, mode, db::Sync::rebuildable);
  const std::int64_t version = check_schema(connection);
  if (mode != db::OpenMode::read_only) upgrade_schema(connection, version);
  return DayStatisticsStore(std::move(connection));
}

DayStatisticsStore DayStatisticsStore::create(const fs::path& path) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  db::Connection connection(path, db::OpenMode::create, db::Sync::rebuildable);
  db::Transaction transaction(connection);
  // Another process may have created the store since the caller found it
  // missing; the write lock taken now orders the two.
  if (single_integer(connection, "SELECT count(*) FROM sqlite_master") > 0) {
    transaction.commit();
    upgrade_schema(connection, check_schema(connection));
    return DayStatisticsStore(std::move(connection));
  }
  connection.execute("PRAGMA application_id = " + std::to_string(store_application_id));
  connection.execute("PRAGMA user_version = " + std::to_string(store_version));
  connection.execute(schema);
  connection.execute(answer_log_schema);
  transaction.commit();
  return DayStatisticsStore(std::move(connection));
}

DayStatisticsStore DayStatisticsStore::open_for_recording(const fs::path& path) {
  if (!may_exist(path)) return create(path);
  // An empty file may be a store that another process is creating; create()
  // waits for its write lock and adopts what it finds.
  const bool found_empty = is_empty_file(path);
  try {
    return open_existing(path, db::OpenMode::read_write);
  } catch (const db::Error& unusable) {
    if (!unusable.is_damage()) throw;
    if (restore_from_backup(path)) return open_existing(path, db::OpenMode::read_write);
    if (found_empty) return create(path);
    throw db::Error(std::string(unusable.what()) + "; its backup " +
                        quoted(fs::path(shelve_backup_name(path.string()))) +
                        " is not a usable day statistics store either",
                    unusable.code(), unusable.path());
  }
}

std::optional<DayStatisticsStore> DayStatisticsStore::open_for_reading(const fs::path& path) {
  if (!may_exist(path)) return std::nullopt;
  try {
    return open_existing(path, db::OpenMode::read_only);
  } catch (const db::Error& unusable) {
    if (unusable.is_damage()) restore_from_backup_if_possible(path);
  }
  for (const fs::path& candidate : {path, fs::path(shelve_backup_name(path.string()))}) {
    try {
      return open_existing(candidate, db::OpenMode::read_only);
    } catch (const db::Error&) {
      // Try the backup next; with neither usable the store reads as empty.
    }
  }
  return std::nullopt;
}

bool DayStatisticsStore::is_store_file(const fs::path& path) {
  if (!may_exist(path)) return false;
  try {
    open_existing(path, db::OpenMode::read_only);
    return true;
  } catch (const db::Error&) {
    return false;
  }
}

// ---- recording ----

int DayStatisticsStore::record(const std::string& collection, const std::string& name,
                               const std::string& day, const Value& wert) {
  sqlite3* handle = connection_.handle();
  const int changes_before = sqlite3_total_changes(handle);
  std::optional<db::Transaction> transaction;
  if (sqlite3_get_autocommit(handle) != 0) transaction.emplace(connection_);
  const std::int64_t id = ensure_collection(connection_, collection);
  switch (statistic_kind(name)) {
    case StatisticKind::counter:
      record_counter(connection_, id, name, day, wert, std::nullopt);
      break;
    case StatisticKind::recent_counter: record_counter(connection_, id, name, day, wert, 2); break;
    case StatisticKind::time_totals: record_times(connection_, id, day, wert); break;
    case StatisticKind::card_list: record_cards(connection_, id, name, day, wert); break;
  }
  if (transaction) transaction->commit();
  return sqlite3_total_changes(handle) - changes_before;
}

// ---- the answer log ----

std::int64_t DayStatisticsStore::applied_log_seq() {
  return single_integer(connection_, "SELECT coalesce(max(seq), 0) FROM log_applied");
}

void DayStatisticsStore::set_applied_log_seq(std::int64_t seq) {
  db::Statement statement =
      connection_.prepare("INSERT OR REPLACE INTO log_applied (id, seq) VALUES (1, ?)");
  statement.bind(1, seq);
  statement.run();
}

void DayStatisticsStore::apply_answer(std::int64_t seq, const std::string& day,
                                      const List& recordings) {
  db::Statement drop_older = connection_.prepare("DELETE FROM answer_undo WHERE day <> ?");
  drop_older.bind(1, day);
  drop_older.run();
  const db::ChangeRecorder changes(connection_, {"collection", "counter", "time_total", "card_list"});
  record_each(recordings);
  const std::vector<std::byte> inverse = changes.inverse();
  db::Statement keep =
      connection_.prepare("INSERT OR REPLACE INTO answer_undo (seq, day, changes) VALUES (?, ?, ?)");
  keep.bind(1, seq);
  keep.bind(2, day);
  keep.bind(3, std::span<const std::byte>(inverse));
  keep.run();
}

void DayStatisticsStore::record_each(const List& recordings) {
  for (const Value& recording : recordings) {
    const std::vector<Value>& parts = sequence_items(recording, "a recording");
    if (parts.size() != 4) throw ValueError("a recording must hold four values");
    record(parts[0].as_text(), parts[1].as_text(), parts[2].as_text(), parts[3]);
  }
}

void DayStatisticsStore::take_back_answer(std::int64_t seq) {
  db::Statement kept = connection_.prepare("SELECT changes FROM answer_undo WHERE seq = ?");
  kept.bind(1, seq);
  if (!kept.step()) return;
  const std::vector<std::byte> inverse = kept.column_blob(0);
  kept.reset();
  db::apply_changes(connection_, inverse);
  db::Statement drop = connection_.prepare("DELETE FROM answer_undo WHERE seq = ?");
  drop.bind(1, seq);
  drop.run();
}

// ---- reading ----

std::vector<std::string> DayStatisticsStore::collection_names() {
  db::Statement statement = connection_.prepare("SELECT name FROM collection ORDER BY id");
  std::vector<std::string> names;
  while (statement.step()) names.push_back(statement.column_text(0));
  return names;
}

bool DayStatisticsStore::empty() {
  return single_integer(connection_, "SELECT count(*) FROM collection") == 0;
}

std::vector<DayCount> DayStatisticsStore::latest_counts(const std::string& collection,
                                                        const std::string& statistic) {
  const std::optional<std::int64_t> id = find_collection(connection_, collection);
  if (!id) return {};
  db::Statement statement = connection_.prepare(
      "SELECT day, total FROM counter WHERE collection_id = ? AND statistic = ? "
      "ORDER BY day_order DESC LIMIT 2");
  statement.bind_all(*id, statistic);
  std::vector<DayCount> pairs;
  while (statement.step()) pairs.push_back({statement.column_text(0), column_value(statement, 1)});
  std::reverse(pairs.begin(), pairs.end());
  return pairs;
}

std::vector<DayTimes> DayStatisticsStore::latest_times(const std::string& collection) {
  const std::optional<std::int64_t> id = find_collection(connection_, collection);
  if (!id) return {};
  std::vector<DayTimes> times;
  for (TimeRow& row : newest_times(connection_, *id, 2)) times.push_back(std::move(row.times));
  std::reverse(times.begin(), times.end());
  return times;
}

std::int64_t DayStatisticsStore::card_count(const std::string& collection,
                                            const std::string& statistic,
                                            const std::optional<std::string>& day) {
  const std::optional<std::int64_t> id = find_collection(connection_, collection);
  if (!id) return 0;
  db::Statement statement = connection_.prepare(
      "SELECT count(*) FROM card_list WHERE collection_id = ? AND statistic = ? "
      "AND (?3 IS NULL OR day = ?3)");
  statement.bind(1, *id);
  statement.bind(2, statistic);
  statement.bind(3, day);
  statement.step();
  return statement.column_int64(0);
}

Value DayStatisticsStore::collection_layout(const std::string& collection) {
  const std::optional<std::int64_t> id = find_collection(connection_, collection);
  if (!id) return None;
  const Dict layout;
  add_counters(connection_, *id, layout);
  add_time_totals(connection_, *id, layout);
  add_card_lists(connection_, *id, layout);
  return layout;
}

Dict DayStatisticsStore::layout() {
  const Dict whole;
  for (const std::string& name : collection_names()) whole.set(name, collection_layout(name));
  return whole;
}

}  // namespace tavo::kk
