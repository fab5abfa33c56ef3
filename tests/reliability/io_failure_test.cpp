// Every store operation with each of its writes and syncs failing in turn,
// as an error and as a short write: the failure is reported as one db::Error
// naming the file, the store reads as it did before, the in-memory state
// that follows the store has not moved, and the operation then succeeds
// with the result of a run that never failed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/test_environment.hpp"
#include "db/connection.hpp"
#include "db/database_file.hpp"
#include "db/error.hpp"
#include "db/statement.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "karteikarten/frame/undo.hpp"
#include "karteikarten/storage/answer_log_applier.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "karteikarten/storage/shelve_opening.hpp"
#include "platform/daily_backups.hpp"
#include "platform/environment.hpp"
#include "support/failing_vfs.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"
#include "value/repr.hpp"

namespace tavo {
namespace {

namespace fs = std::filesystem;
using testing::FailingVfs;
using testing::WriteFault;
using ::testing::HasSubstr;

constexpr const char* today = "2021-9-22";

// The moment of every run: 2021-09-22 12:00.
double test_moment() { return DateTime(2021, 9, 22, 12).to_epoch_seconds(); }

// ---- reading stores as the next user would ----

std::string column_text(const db::Statement& row, int column) {
  switch (row.column_type(column)) {
    case db::ColumnType::null: return "NULL";
    case db::ColumnType::integer: return std::to_string(row.column_int64(column));
    case db::ColumnType::real: return repr(Value(row.column_double(column)));
    case db::ColumnType::text:
    case db::ColumnType::blob: return repr(Value(row.column_text(column)));
  }
  return "?";
}

void append_rows(db::Connection& connection, const std::string& sql, std::string& text) {
  db::Statement rows = connection.prepare(sql);
  while (rows.step()) {
    for (int column = 0; column < rows.column_count(); ++column) {
      text += column_text(rows, column) + (column + 1 < rows.column_count() ? "|" : "\n");
    }
  }
}

// The rows of every table that has rows, ordered by all their columns.
void append_tables(db::Connection& connection, std::string& text) {
  db::Statement tables =
      connection.prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
  while (tables.step()) {
    const std::string table = tables.column_text(0);
    const int columns = connection.prepare("SELECT * FROM \"" + table + "\"").column_count();
    std::string order;
    for (int column = 1; column <= columns; ++column) {
      order += (column > 1 ? ", " : "") + std::to_string(column);
    }
    std::string rows;
    append_rows(connection, "SELECT * FROM \"" + table + "\" ORDER BY " + order, rows);
    if (!rows.empty()) text += "table " + table + "\n" + rows;
  }
}

// The logical content of the database at `path`, through a fresh
// connection without the failing VFS (which rolls back a transaction left
// unfinished, as the next user's does): the rows of its tables, and the
// problems the integrity check finds. A missing file, an empty one and a
// store without rows all hold nothing: a store created empty is no change.
std::string database_content(const fs::path& path) {
  std::error_code error;
  if (!fs::exists(path, error) || fs::file_size(path, error) == 0) return "";
  try {
    db::Connection connection(path, db::OpenMode::read_write);
    std::string text;
    append_tables(connection, text);
    for (const std::string& problem : connection.integrity_check(false)) {
      text += "integrity: " + problem + "\n";
    }
    return text;
  } catch (const db::Error& unreadable) {
    return std::string("unreadable: ") + unreadable.what() + "\n";
  }
}

// Files left behind by a copy that did not finish.
std::string partial_copies(const fs::path& directory) {
  std::string names;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".partial-") != std::string::npos) names += "partial copy " + name + "\n";
  }
  return names;
}

// ---- running with failures ----

// A fresh application data directory for one run, and an environment on
// it at the moment of the runs. The managers and the statistics store read
// the process-wide environment, which finds the directory through
// $TAVO_DATA_DIR.
class AppDirectory {
 public:
  AppDirectory() { environment_.cf.set_fixed_now(test_moment()); }

  const fs::path& path() const { return directory_.path(); }
  platform::Environment& environment() { return environment_; }

 private:
  const testing::TemporaryDirectory directory_;
  const testing::ScopedEnvironment data_dir_{"TAVO_DATA_DIR", directory_.path().string() + "/"};
  platform::Environment environment_{directory_.path().string()};
};

// One run with a failure armed.
struct Attempt {
  std::string injected_at;           // empty when the run made fewer writes and syncs
  std::optional<std::string> error;  // the message of the db::Error thrown
};

template <typename Run>
Attempt run_failing(std::size_t failing, WriteFault fault, Run run) {
  const FailingVfs vfs(failing, fault);
  Attempt attempt;
  try {
    run();
  } catch (const db::Error& error) {
    attempt.error = error.what();
  }
  attempt.injected_at = vfs.injected_at();
  return attempt;
}

// The writes and syncs of one run without failures.
template <typename Run>
std::size_t count_writes_and_syncs(Run run) {
  const FailingVfs vfs;
  run();
  return vfs.writes() + vfs.syncs();
}

void expect_one_line_naming(const std::string& message, const fs::path& file) {
  EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  EXPECT_THAT(message, HasSubstr('"' + file.string() + '"'));
}

// One store operation: its constructor prepares the state before it in
// the data directory of the run, run() performs it.
class StoreOperation {
 public:
  virtual ~StoreOperation() = default;
  virtual void run() = 0;
  // What the operation changes: its stores' content, the in-memory state
  // that follows them, and the result of its last successful run.
  virtual std::string state() const = 0;
  // The file a message of its failure names.
  virtual fs::path file() const = 0;
};

class IoFailureTest : public ::testing::Test {
 protected:
  IoFailureTest() { test_environment().cf.set_fixed_now(test_moment()); }
  ~IoFailureTest() override {
    test_environment().cf.clear_fixed_now();
    total_injected_ += injected_;
    RecordProperty("injected_failures", static_cast<int>(injected_));
  }
  static void TearDownTestSuite() {
    std::cout << "I/O failures injected into store operations: " << total_injected_ << "\n";
  }

  // Calls `check(environment, failing, fault)` for failing = 1, 2, ...,
  // failing writes in each way in turn, until it returns false because the
  // run had fewer writes and syncs. Each run gets a fresh data directory
  // and an environment on it.
  template <typename Check>
  void for_each_failure(Check check) {
    for (const WriteFault fault : {WriteFault::error, WriteFault::short_write}) {
      for (std::size_t failing = 1;; ++failing) {
        AppDirectory directory;
        SCOPED_TRACE("failing write or sync " + std::to_string(failing) +
                     (fault == WriteFault::error ? " with an error" : " short"));
        if (!check(directory.environment(), failing, fault)) break;
        ++injected_;
      }
    }
  }

  // The standard checks for an operation that reports every failure;
  // `make(environment)` prepares it in the environment of the run.
  template <typename MakeOperation>
  void expect_every_failure_reported(MakeOperation make) {
    std::string reference;
    std::size_t writes_and_syncs = 0;
    {
      AppDirectory directory;
      const auto operation = make(directory.environment());
      writes_and_syncs = count_writes_and_syncs([&] { operation->run(); });
      reference = state_of(*operation, directory.environment());
    }
    ASSERT_GT(writes_and_syncs, 0u);
    const std::size_t injected_before = injected_;
    for_each_failure(
        [&](platform::Environment& environment, std::size_t failing, WriteFault fault) {
          const auto operation = make(environment);
          const std::string before = state_of(*operation, environment);
          const Attempt attempt = run_failing(failing, fault, [&] { operation->run(); });
          if (attempt.injected_at.empty()) {
            EXPECT_FALSE(attempt.error) << *attempt.error;
            EXPECT_EQ(state_of(*operation, environment), reference);
            return false;
          }
          SCOPED_TRACE(attempt.injected_at);
          if (!attempt.error) {
            ADD_FAILURE() << "the failure was not reported";
            return true;
          }
          expect_one_line_naming(*attempt.error, operation->file());
          EXPECT_EQ(state_of(*operation, environment), before);
          operation->run();
          EXPECT_EQ(state_of(*operation, environment), reference);
          return true;
        });
    EXPECT_EQ(injected_ - injected_before, 2 * writes_and_syncs);
  }

  static std::string state_of(const StoreOperation& operation,
                              const platform::Environment& environment) {
    return operation.state() + partial_copies(environment.app_data_dir());
  }

  std::size_t injected_ = 0;
  static inline std::size_t total_injected_ = 0;
};

TEST_F(IoFailureTest, TheShimFailsOnlyTheArmedWriteAndRestoresTheDefault) {
  const AppDirectory directory;
  sqlite3_vfs* const default_vfs = sqlite3_vfs_find(nullptr);
  for (const auto& [fault, code] : {std::pair(WriteFault::error, SQLITE_IOERR_WRITE),
                                    std::pair(WriteFault::short_write, SQLITE_FULL)}) {
    const FailingVfs vfs(1, fault);
    EXPECT_NE(sqlite3_vfs_find(nullptr), default_vfs);
    db::Connection connection(directory.path() / (fault == WriteFault::error ? "e.db" : "s.db"),
                              db::OpenMode::create);
    try {
      connection.execute("CREATE TABLE IF NOT EXISTS t (x)");
      ADD_FAILURE() << "the first write did not fail";
    } catch (const db::Error& error) {
      EXPECT_EQ(error.code(), code);
    }
    connection.execute("CREATE TABLE IF NOT EXISTS t (x)");
    EXPECT_THAT(vfs.injected_at(), HasSubstr("write 1 of "));
    EXPECT_GT(vfs.syncs(), 0u);
  }
  EXPECT_EQ(sqlite3_vfs_find(nullptr), default_vfs);
}

// ---- collections ----

std::string snapshot_text(const kk::StoredSnapshot& snapshot) {
  std::string text = "snapshot of " + snapshot.stored_name.value_or("nothing") + " metadata " +
                     std::to_string(snapshot.metadata_fingerprint.value_or(0)) + "\n";
  for (const kk::StoredCardFingerprint& card : snapshot.cards) {
    text += card.name + " " + std::to_string(card.fingerprint) + "\n";
  }
  return text;
}

// A collection of enough cards to fill several pages of the store.
kk::SammlungRef new_collection(platform::Environment& environment) {
  auto sammlung = std::make_shared<kk::Haendesammlung>(
      environment, std::make_shared<platform::Zeitberechnungen>(environment.cf, 3), 0, "kk_io", 3);
  Dict modul;
  for (int hand = 1; hand <= 60; ++hand) {
    modul.set(hand, Dict{{"fragetext", "Frage " + std::string(200, 'q') + std::to_string(hand)},
                         {"antworttext", "Antwort " + std::to_string(hand)}});
  }
  sammlung->karten = sammlung->haendesammlung_karteikarten_info_neu_erstellen(modul, "kk_io");
  return sammlung;
}

// PickleDump::save_haendesammlung of a collection; `change`, when given,
// is applied after a first save.
class CollectionSave : public StoreOperation {
 public:
  CollectionSave(platform::Environment& environment,
                 const std::function<void(kk::Haendesammlung&)>& change)
      : store_(environment), sammlung_(new_collection(environment)) {
    if (change) {
      store_.save_haendesammlung("kk_io", *sammlung_);
      change(*sammlung_);
    }
  }

  void run() override { counts_ = store_.save_haendesammlung("kk_io", *sammlung_); }

  std::string state() const override {
    std::string text = database_content(file()) + snapshot_text(sammlung_->stored);
    if (counts_) {
      text += "saved " + std::to_string(counts_->cards_written) + " cards, removed " +
              std::to_string(counts_->cards_removed) +
              (counts_->metadata_written ? ", metadata\n" : "\n");
    }
    return text;
  }

  fs::path file() const override { return store_.collections_path(); }

 private:
  const kk::PickleDump store_;
  const kk::SammlungRef sammlung_;
  std::optional<kk::SaveCounts> counts_;
};

void answer_one_card(kk::Haendesammlung& sammlung) {
  kk::CardRecord& card = sammlung.karten.at("kk_io-7").edit();
  card.reps = 1;
  card.learnstatus = kk::Learnstatus::learning;
  card.due = kk::Due::at(DateTime(2021, 9, 22, 12, 10).to_epoch_seconds());
  card.letzte_antwort = "good";
  card.beantwortungszeiten.append(6);
  sammlung.set_metadata("heute_schon_angesehen", "kk_io-7");
}

void remove_cards(kk::Haendesammlung& sammlung) {
  for (const char* name : {"kk_io-3", "kk_io-30", "kk_io-60"}) sammlung.karten.erase(name);
}

TEST_F(IoFailureTest, TheFirstSaveOfANewStore) {
  expect_every_failure_reported([](platform::Environment& environment) {
    return std::make_unique<CollectionSave>(environment, nullptr);
  });
}

TEST_F(IoFailureTest, ASaveAfterOneCardsAnswer) {
  expect_every_failure_reported([](platform::Environment& environment) {
    return std::make_unique<CollectionSave>(environment, answer_one_card);
  });
}

TEST_F(IoFailureTest, ASaveThatRemovesCards) {
  expect_every_failure_reported([](platform::Environment& environment) {
    return std::make_unique<CollectionSave>(environment, remove_cards);
  });
}

// ---- the statistics store ----

fs::path statistics_path() { return kk::day_statistics_path(test_environment()); }

// Three days of every kind of statistic.
void record_history() {
  kk::DayStatisticsStore store = kk::DayStatisticsStore::open_for_recording(statistics_path());
  for (const char* day : {"2021-9-20", "2021-9-21", today}) {
    store.record("kk_io", "reps", day, 1);
    store.record("kk_io", "heute_falsch_anzahl", day, 1);
    store.record("kk_io", "zeitdauer_heute", day, Tuple{10, 0, 5, 0});
    store.record("kk_io", "karte_erfolgreich_wiederholt", day, List{"kk_io-1", "kk_io-2"});
  }
}

// DayStatisticsStore::record as a manager records one statistic: the store
// opened, the value recorded, the store closed.
class StatisticsRecording : public StoreOperation {
 public:
  StatisticsRecording(std::string name, Value wert, bool with_history)
      : name_(std::move(name)), wert_(std::move(wert)) {
    if (with_history) record_history();
  }

  void run() override {
    rows_ = kk::DayStatisticsStore::open_for_recording(statistics_path())
                .record("kk_io", name_, today, wert_);
  }

  std::string state() const override {
    return database_content(file()) + (rows_ ? std::to_string(*rows_) + " rows\n" : "");
  }

  fs::path file() const override { return statistics_path(); }

 private:
  const std::string name_;
  const Value wert_;
  std::optional<int> rows_;
};

TEST_F(IoFailureTest, RecordingEachKindOfStatistic) {
  const std::vector<std::pair<std::string, Value>> statistics{
      {"reps", 1},
      {"heute_falsch_anzahl", 1},
      {"zeitdauer_heute", Tuple{7, 0, 0, 3}},
      {"karte_erfolgreich_wiederholt", List{"kk_io-2", "kk_io-9"}}};
  for (const auto& [name, wert] : statistics) {
    SCOPED_TRACE(name);
    expect_every_failure_reported([&](platform::Environment&) {
      return std::make_unique<StatisticsRecording>(name, wert, true);
    });
  }
}

TEST_F(IoFailureTest, TheFirstRecordingCreatesTheStore) {
  expect_every_failure_reported([](platform::Environment&) {
    return std::make_unique<StatisticsRecording>("reps", 1, false);
  });
}

// A learner of the collection "kk_io" and its operations. answer_card: the
// card and its log row in one commit, then the statistics store applies the
// row; undo_last_answer: the card, the day's metadata and
// a row marking the answer taken back in one commit, then the statistics
// store takes the answer's statistics back. The manager works in the test
// environment.
class Learner {
 public:
  Learner() {
    test_environment().random.seed(7);
    record_history();
    Dict modul;
    for (int hand = 1; hand <= 5; ++hand) {
      modul.set(hand, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
    }
    kkv_->add_haendesammlung(modul, "kk_io");
    kkv_->dictionary_speichern(None, false);
    card_ = kkv_->get_card();
  }

  void answer() { kk::answer_card(*kkv_, card_.value(), kk::Antwort{"good", 6}); }
  void undo() { kk::undo_last_answer(*kkv_); }
  void save_again() { kkv_->dictionary_speichern(None, false); }
  // What the next opening of the stores does.
  void apply_log() { kk::apply_answer_log(test_environment()); }

  std::string collections() const {
    return database_content(collections_path()) +
           snapshot_text(kkv_->hc.sammlung_named("kk_io")->stored);
  }
  std::string statistics() const { return database_content(statistics_path()); }
  // The collection in memory: its metadata and its cards' learning state.
  std::string in_memory() const {
    const kk::SammlungRef sammlung = kkv_->hc.sammlung_named("kk_io");
    std::string text = repr(sammlung->metadata) + "\n";
    for (const auto& [name, record] : sammlung->karten) {
      text += name + " " + repr(kk::learning_state_to_value(*record)) + "\n";
    }
    return text;
  }
  static fs::path collections_path() {
    return kk::PickleDump(test_environment()).collections_path();
  }

 private:
  const std::unique_ptr<kk::Karteikartenverwaltung> kkv_ =
      std::make_unique<kk::Karteikartenverwaltung>(test_environment());
  std::optional<kk::Karteikarte> card_;
};

// The stores and the collection in memory after an operation.
struct Outcome {
  std::string collections;
  std::string statistics;
  std::string in_memory;
};

Outcome outcome_of(const Learner& learner) {
  return {learner.collections(), learner.statistics(), learner.in_memory()};
}

void expect_outcome(const Learner& learner, const Outcome& expected) {
  EXPECT_EQ(learner.collections(), expected.collections);
  EXPECT_EQ(learner.statistics(), expected.statistics);
  EXPECT_EQ(learner.in_memory(), expected.in_memory);
}

// An operation of a Learner, run after `prepare`.
struct LearnerOperation {
  std::function<void(Learner&)> prepare;
  std::function<void(Learner&)> run;
  // After a reported failure: whether the collection in memory is as it
  // was before (else as the operation left it), and what completes the
  // operation.
  bool failure_restores_memory;
  std::function<void(Learner&)> complete;
};

class LearnerIoFailureTest : public IoFailureTest {
 protected:
  // Each write and sync of `operation` failing in turn: either it throws
  // one one-line db::Error naming the collections store, with both stores
  // as they were, and completing it then gives the result of a run that
  // never failed; or its commit stands and the statistics it failed to
  // write wait in the log, which the next opening applies. Both ways occur.
  void expect_failures_handled(const LearnerOperation& operation) {
    Outcome done;
    {
      const AppDirectory directory;
      Learner learner;
      operation.prepare(learner);
      operation.run(learner);
      done = outcome_of(learner);
    }
    std::size_t unsaved = 0;
    std::size_t left_to_the_log = 0;
    for_each_failure([&](platform::Environment&, std::size_t failing, WriteFault fault) {
      Learner learner;
      operation.prepare(learner);
      const Outcome before = outcome_of(learner);
      const Attempt attempt = run_failing(failing, fault, [&] { operation.run(learner); });
      if (attempt.injected_at.empty()) {
        EXPECT_FALSE(attempt.error) << *attempt.error;
        expect_outcome(learner, done);
        return false;
      }
      SCOPED_TRACE(attempt.injected_at);
      if (attempt.error) {
        ++unsaved;
        expect_one_line_naming(*attempt.error, Learner::collections_path());
        expect_outcome(learner,
                       {before.collections, before.statistics,
                        operation.failure_restores_memory ? before.in_memory : done.in_memory});
        operation.complete(learner);
      } else {
        ++left_to_the_log;
        expect_outcome(learner, {done.collections, before.statistics, done.in_memory});
        learner.apply_log();
      }
      expect_outcome(learner, done);
      return true;
    });
    EXPECT_GT(unsaved, 0u);
    EXPECT_GT(left_to_the_log, 0u);
  }
};

// A failed answer leaves the answered card in memory, for the next save.
TEST_F(LearnerIoFailureTest, AFailedAnswerChangesNoStoreOrLeavesItsStatisticsToTheLog) {
  expect_failures_handled({[](Learner&) {}, [](Learner& learner) { learner.answer(); }, false,
                           [](Learner& learner) { learner.save_again(); }});
}

TEST_F(LearnerIoFailureTest, AFailedUndoChangesNothingOrLeavesItsStatisticsToTheLog) {
  const auto undo = [](Learner& learner) { learner.undo(); };
  expect_failures_handled({[](Learner& learner) { learner.answer(); }, undo, true, undo});
}

// db::copy_database_file of the statistics store to its backup, over an
// older backup or none.
class StatisticsBackup : public StoreOperation {
 public:
  explicit StatisticsBackup(bool older_backup) {
    record_history();
    if (older_backup) db::copy_database_file(statistics_path(), file());
    kk::DayStatisticsStore::open_for_recording(statistics_path())
        .record("kk_io", "reps", today, 1);
  }

  void run() override { db::copy_database_file(statistics_path(), file()); }

  std::string state() const override {
    return "store\n" + database_content(statistics_path()) + "backup\n" + database_content(file());
  }

  fs::path file() const override { return kk::shelve_backup_name(statistics_path().string()); }
};

TEST_F(IoFailureTest, TheBackupOfTheStatisticsStore) {
  for (const bool older_backup : {false, true}) {
    SCOPED_TRACE(older_backup ? "over an older backup" : "the first backup");
    expect_every_failure_reported(
        [&](platform::Environment&) { return std::make_unique<StatisticsBackup>(older_backup); });
  }
}

// DailyBackups::make of the collections store, with two copies kept.
class DailyCopy : public StoreOperation {
 public:
  explicit DailyCopy(platform::Environment& environment) : store_(environment) {
    store_.save_haendesammlung("kk_io", *new_collection(environment));
    for (const char* day : {"2021-9-20", "2021-9-21"}) backups_.make(day);
    kk::SammlungRef changed = store_.get_haendesammlung("kk_io").first;
    answer_one_card(*changed);
    store_.save_haendesammlung("kk_io", *changed);
  }

  void run() override { made_ = backups_.make(today); }

  std::string state() const override {
    std::string text;
    for (const fs::path& copy : backups_.copies()) {
      text += copy.filename().string() + "\n" + database_content(copy);
    }
    return text + (made_ ? "made " + made_->filename().string() + "\n" : "");
  }

  fs::path file() const override { return store_.collections_path().string() + "." + today; }

 private:
  const kk::PickleDump store_;
  const platform::DailyBackups backups_{store_.collections_path(), 2};
  std::optional<fs::path> made_;
};

TEST_F(IoFailureTest, TheDailyCopyOfTheCollections) {
  expect_every_failure_reported(
      [](platform::Environment& environment) { return std::make_unique<DailyCopy>(environment); });
}

// ---- shelves ----

fs::path shelf_path() { return kk::get_shelve_main_directory(test_environment(), "kk_io_shelf"); }

void store_shelf() {
  platform::Shelf shelf = kk::add_shelve_file(test_environment(), shelf_path().string());
  shelf.set("neu", List{"kk_io-1", 3});
  shelf.set("tage", Dict{{"2021-9-21", Tuple{1, 2.5}}});
  shelf.close();
}

// A shelf opened through add_shelve_file, changed by `change` and closed.
class ShelfWrite : public StoreOperation {
 public:
  ShelfWrite(std::function<void(platform::Shelf&)> change, bool writeback)
      : change_(std::move(change)), writeback_(writeback) {
    store_shelf();
  }

  void run() override {
    platform::Shelf shelf = kk::add_shelve_file(test_environment(), shelf_path().string(), writeback_);
    change_(shelf);
    shelf.close();
  }

  std::string state() const override { return database_content(file()); }
  fs::path file() const override { return shelf_path(); }

 private:
  const std::function<void(platform::Shelf&)> change_;
  const bool writeback_;
};

TEST_F(IoFailureTest, WritingAShelf) {
  const std::vector<std::pair<std::string, std::function<void(platform::Shelf&)>>> changes{
      {"a new key", [](platform::Shelf& shelf) { shelf.set("heute", 4); }},
      {"a replaced value", [](platform::Shelf& shelf) { shelf.set("neu", List{"kk_io-2"}); }},
      {"an erased key", [](platform::Shelf& shelf) { shelf.erase("tage"); }}};
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    expect_every_failure_reported(
        [&](platform::Environment&) { return std::make_unique<ShelfWrite>(change, false); });
  }
}

TEST_F(IoFailureTest, WritingBackAShelfOnClose) {
  expect_every_failure_reported([](platform::Environment&) {
    return std::make_unique<ShelfWrite>(
        [](platform::Shelf& shelf) { shelf.get("neu").as_list().append("kk_io-5"); }, true);
  });
}

// Opening a new shelf through add_shelve_file never fails: when creating
// the file fails, the fallback hands out the shelf it recreates, empty,
// and it stores what is set next.
TEST_F(IoFailureTest, AShelfThatCannotBeCreatedIsRecreatedEmpty) {
  for_each_failure([&](platform::Environment&, std::size_t failing, WriteFault fault) {
    const Attempt attempt = run_failing(failing, fault, [&] {
      platform::Shelf shelf = kk::add_shelve_file(test_environment(), shelf_path().string());
      EXPECT_TRUE(shelf.is_persistent());
      EXPECT_TRUE(shelf.empty());
      shelf.close();
    });
    EXPECT_FALSE(attempt.error) << *attempt.error;
    if (attempt.injected_at.empty()) return false;
    SCOPED_TRACE(attempt.injected_at);
    EXPECT_EQ(database_content(shelf_path()), "");
    platform::Shelf again = kk::add_shelve_file(test_environment(), shelf_path().string());
    again.set("heute", 4);
    again.close();
    EXPECT_EQ(kk::add_shelve_file(test_environment(), shelf_path().string()).get("heute"), Value(4));
    return true;
  });
}

// With copy=True the shelf is copied to its backup; a failed copy is
// ignored, leaves the older backup (or none) as it was, and the next
// opening makes the copy.
TEST_F(IoFailureTest, AFailedShelfBackupKeepsTheOlderOne) {
  for (const bool older_backup : {false, true}) {
    SCOPED_TRACE(older_backup ? "over an older backup" : "the first backup");
    for_each_failure([&](platform::Environment&, std::size_t failing, WriteFault fault) {
      const fs::path backup = kk::shelve_backup_name(shelf_path().string());
      store_shelf();
      if (older_backup) {
        kk::add_shelve_file(test_environment(), shelf_path().string(), false, true);
        platform::Shelf shelf = kk::add_shelve_file(test_environment(), shelf_path().string());
        shelf.set("heute", 4);
        shelf.close();
      }
      const std::string shelf_before = database_content(shelf_path());
      const std::string backup_before = database_content(backup);
      bool persistent = false;
      const Attempt attempt = run_failing(failing, fault, [&] {
        platform::Shelf shelf = kk::add_shelve_file(test_environment(), shelf_path().string(), false, true);
        persistent = shelf.is_persistent();
        shelf.close();
      });
      EXPECT_FALSE(attempt.error) << *attempt.error;
      EXPECT_TRUE(persistent);
      EXPECT_EQ(database_content(shelf_path()), shelf_before);
      if (attempt.injected_at.empty()) {
        EXPECT_EQ(database_content(backup), shelf_before);
        return false;
      }
      SCOPED_TRACE(attempt.injected_at);
      EXPECT_EQ(database_content(backup), backup_before);
      EXPECT_EQ(partial_copies(shelf_path().parent_path()), "");
      kk::add_shelve_file(test_environment(), shelf_path().string(), false, true);
      EXPECT_EQ(database_content(backup), shelf_before);
      return true;
    });
  }
}

}  // namespace
}  // namespace tavo
