// DayStatisticsStore: the long-lived learning history "kkv_alle.dat".
//
// The store is a SQLite database in the settings directory. Its logical
// layout is a mapping from collection name to that collection's statistics:
//
//   "reps", "reps_kk", ...   [(date, cumulative count), ...], newest last,
//                            one pair per date
//   "heute_falsch_anzahl"    the same, keeping only the newest two pairs
//   "zeitdauer_heute"        [(date, kk, reizung, alleinspiel, gegenspiel),
//                            ...]: cumulative seconds per card type
//   <date>                   {statistic: [card names]} for every other
//                            statistic, each name once per date
//
// Dates are the year, month and day as plain numbers joined by "-"
// ("2022-1-3"). The database holds that layout in relational form:
//
//   collection(id, name)                   id gives the order of the names
//   counter(collection_id, statistic, day_order, day, total)
//   time_total(collection_id, seq, day, kk, reizung, alleinspiel, gegenspiel)
//   card_list(id, collection_id, day, statistic, card)  unique per day
//
// so that a recording reads and writes only the newest rows of its history,
// through the primary keys, however long the history is. Counts, seconds and
// card names are kept in columns without type affinity, so an integer stays
// an integer and a float a float.
//
// A store object owns one open connection; the manager opens one per
// operation and nothing stays open between host calls. Its commits are not
// synced (db::Sync::rebuildable): every answer's statistics are also in the
// answer log of the collections store, which is synced, and which brings
// this store up to date again after a power cut took back its newest
// commits (see answer_log_applier.hpp).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.hpp"
#include "platform/environment.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// The path of the store: "kkv_alle.dat" in the settings directory of the
// current application data directory.
std::string day_statistics_path(const platform::Environment& env);

// How a statistic is recorded, decided by its name.
enum class StatisticKind {
  counter,         // names beginning with "reps"
  recent_counter,  // "heute_falsch_anzahl": a counter keeping two pairs
  time_totals,     // "zeitdauer_heute"
  card_list,       // every other name
};
StatisticKind statistic_kind(std::string_view name);

// One pair of a counter history.
struct DayCount {
  std::string day;
  Value total;
};

// One tuple of the time totals: seconds for kk, reizung, alleinspiel and
// gegenspiel, in that order.
struct DayTimes {
  std::string day;
  std::array<Value, 4> totals;
};

// One open connection to the store; move-only. Every failure of the
// database throws db::Error.
class DayStatisticsStore {
 public:
  // Opens the store at `path` for recording. A missing file is created
  // (with its directory). A file that is not a usable store (damaged, or a
  // database of another kind or version) is replaced by a copy of its
  // backup `path` + "old" when that is a usable store; the unusable file is
  // kept beside it as `path` + ".damaged". A file left empty with no usable
  // backup holds nothing to lose and becomes a new store. Otherwise throws
  // db::Error naming both files; nothing is changed then.
  static DayStatisticsStore open_for_recording(const std::filesystem::path& path);

  // Opens the store at `path` for reading. A damaged store is first
  // replaced by a copy of its usable backup, as for recording; when that
  // copy cannot be made, the backup itself is read. Nothing when the store
  // is missing or neither file is usable: callers read that as an empty
  // store. A failure of the moment (a busy lock) never replaces a file.
  static std::optional<DayStatisticsStore> open_for_reading(const std::filesystem::path& path);

  // True when the file at `path` exists and is a usable store.
  static bool is_store_file(const std::filesystem::path& path);

  DayStatisticsStore(DayStatisticsStore&&) noexcept = default;
  DayStatisticsStore& operator=(DayStatisticsStore&&) noexcept = default;

  // ---- recording ----

  // Records `wert` for the statistic `name` of `collection` on `day` by the
  // rule of its kind, in one transaction, and returns the number of rows
  // written (inserted, updated or deleted):
  //   counter: the newest pair's count plus 1 (`wert` only starts an empty
  //     history), replacing the newest pair when it is dated `day`,
  //     appended otherwise;
  //   recent_counter: the same, then only the newest two pairs remain;
  //   time_totals: `wert` holds four numbers of seconds; the tuple for `day`
  //     is the newest tuple of an earlier day (zeros when there is none)
  //     plus `wert`, slot by slot, replacing a tuple dated `day`;
  //   card_list: `wert` is a list (or tuple) of card names, texts or
  //     numbers; each joins the list of `day` unless it is there already.
  // Throws TypeError for a value of the wrong shape and IndexError for
  // fewer than four seconds; nothing is recorded then. Inside a
  // transaction the caller opened on connection() the recording joins it
  // instead, and a failure leaves that transaction to be rolled back.
  int record(const std::string& collection, const std::string& name, const std::string& day,
             const Value& wert);

  // ---- the answer log (see collection/answer_log.hpp) ----
  //
  // Inside a transaction the caller opened on connection(), so that the
  // recordings of a row and the mark that it is applied commit together.

  // The sequence number of the last answer-log row applied here; 0 when
  // none was.
  std::int64_t applied_log_seq();
  // Marks the rows up to `seq` as applied.
  void set_applied_log_seq(std::int64_t seq);
  // Records the answer-log row `seq` of the learning day `day`: each of
  // `recordings` ([collection, statistic, day, wert]) as record() does,
  // keeping what they changed so that take_back_answer can restore it.
  // What was kept for earlier days is dropped: answers are taken back only
  // on their own day. TypeError, IndexError or ValueError for a recording
  // of the wrong shape.
  void apply_answer(std::int64_t seq, const std::string& day, const List& recordings);
  // Restores what apply_answer changed for the row `seq`, leaving rows that
  // changed since as they are; nothing when nothing was kept for it.
  void take_back_answer(std::int64_t seq);

  // Records each of `recordings` ([collection, statistic, day, wert]) as
  // record() does. TypeError, IndexError or ValueError for a recording of
  // the wrong shape.
  void record_each(const List& recordings);

  // The open connection, for a transaction spanning several recordings.
  db::Connection& connection() { return connection_; }

  // ---- reading ----

  // The collection names in the order they were first recorded.
  std::vector<std::string> collection_names();
  // True when nothing at all is recorded.
  bool empty();

  // The newest two pairs of the counter `statistic` of `collection`, older
  // first; fewer when the history is shorter.
  std::vector<DayCount> latest_counts(const std::string& collection, const std::string& statistic);

  // The newest two time tuples of `collection`, older first.
  std::vector<DayTimes> latest_times(const std::string& collection);

  // The number of card names recorded for `statistic` of `collection`, on
  // every date or only on `day`.
  std::int64_t card_count(const std::string& collection, const std::string& statistic,
                          const std::optional<std::string>& day);

  // The logical layout of `collection` (see the top of this file), or None
  // when nothing is recorded for it. Counters come first in name order,
  // then "zeitdauer_heute", then the dates in the order they were first
  // recorded; within a date the statistics and the names keep their
  // recording order.
  Value collection_layout(const std::string& collection);

  // The whole store: collection name to its layout, in collection order.
  Dict layout();

 private:
  explicit DayStatisticsStore(db::Connection connection);

  // Opens an existing file and checks that it is a store of this version.
  static DayStatisticsStore open_existing(const std::filesystem::path& path, db::OpenMode mode);
  // Creates a new store at `path`, which is missing or empty.
  static DayStatisticsStore create(const std::filesystem::path& path);

  db::Connection connection_;
};

}  // namespace tavo::kk
