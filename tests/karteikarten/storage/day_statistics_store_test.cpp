#include "karteikarten/storage/day_statistics_store.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "db/database_file.hpp"
#include "db/error.hpp"
#include "karteikarten/storage/shelve_opening.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view today = "2022-1-3";

// A date text for each of `count` distinct days.
std::string nth_day(int n) {
  return "2021-" + std::to_string(n / 28 + 1) + "-" + std::to_string(n % 28 + 1);
}

void damage(const fs::path& path) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(4096, '\x5a');
}

std::int64_t pragma(const fs::path& path, const std::string& name) {
  db::Connection connection(path, db::OpenMode::read_only);
  db::Statement statement = connection.prepare("PRAGMA " + name);
  statement.step();
  return statement.column_int64(0);
}

class DayStatisticsStoreTest : public ::testing::Test {
 protected:
  DayStatisticsStoreTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {}

  fs::path path() const { return day_statistics_path(); }
  fs::path backup() const { return shelve_backup_name(day_statistics_path()); }

  int record(const std::string& name, std::string_view day, const Value& wert,
             const std::string& collection = "kk_test") {
    return DayStatisticsStore::open_for_recording(path()).record(collection, name, std::string(day),
                                                                 wert);
  }

  std::string layout_text(const std::string& collection = "kk_test") {
    return repr(DayStatisticsStore::open_for_reading(path())->collection_layout(collection));
  }

 private:
  testing::TemporaryDirectory directory_;
  testing::ScopedEnvironment data_dir_;
};

TEST_F(DayStatisticsStoreTest, FirstRecordingCreatesAMarkedStoreInTheSettingsDirectory) {
  EXPECT_FALSE(DayStatisticsStore::open_for_reading(path()));
  record("reps", today, 1);
  EXPECT_EQ(path().parent_path().filename(), "settings");
  EXPECT_EQ(pragma(path(), "application_id"), 0x544b5354);
  EXPECT_EQ(pragma(path(), "user_version"), 1);
  EXPECT_TRUE(DayStatisticsStore::is_store_file(path()));
}

TEST_F(DayStatisticsStoreTest, LayoutGathersEveryKindOfStatistic) {
  record("reps", "2022-1-2", 5);
  record("reps", "2022-1-2", 5);
  record("reps", today, 5);
  record("heute_schon_angesehen", "2022-1-2", List{"kk_test-7", "kk_test-1"});
  record("heute_falsch_anzahl", today, 1);
  record("zeitdauer_heute", today, List{0, 0, 30, 0});
  record("heute_schon_angesehen", today, List{"kk_test-2"});
  record("again_in_queue", "2022-1-2", List{"kk_test-1"});
  record("reps", "2022-1-2", 1, "kk_zwei");

  EXPECT_EQ(layout_text(),
            "{'heute_falsch_anzahl': [('2022-1-3', 1)], "
            "'reps': [('2022-1-2', 6), ('2022-1-3', 7)], "
            "'zeitdauer_heute': [('2022-1-3', 0, 0, 30, 0)], "
            "'2022-1-2': {'heute_schon_angesehen': ['kk_test-7', 'kk_test-1'], "
            "'again_in_queue': ['kk_test-1']}, "
            "'2022-1-3': {'heute_schon_angesehen': ['kk_test-2']}}");
  DayStatisticsStore store = *DayStatisticsStore::open_for_reading(path());
  EXPECT_EQ(store.collection_names(), (std::vector<std::string>{"kk_test", "kk_zwei"}));
  EXPECT_EQ(store.layout().keys(), (std::vector<Value>{"kk_test", "kk_zwei"}));
  EXPECT_TRUE(store.collection_layout("kk_drei").is_none());
}

TEST_F(DayStatisticsStoreTest, NumbersKeepTheirKind) {
  record("reps", "2022-1-2", 2.5);
  record("reps", today, 7);
  record("zeitdauer_heute", "2022-1-2", List{1, 2.5, 0, 0});
  record("zeitdauer_heute", today, Tuple{1.5, 1, 0, true});
  record("heute_schon_angesehen", today, List{7, "7", 7.0});
  EXPECT_EQ(layout_text(),
            "{'reps': [('2022-1-2', 2.5), ('2022-1-3', 3.5)], "
            "'zeitdauer_heute': [('2022-1-2', 1, 2.5, 0, 0), ('2022-1-3', 2.5, 3.5, 0, 1)], "
            "'2022-1-3': {'heute_schon_angesehen': [7, '7']}}");
}

TEST_F(DayStatisticsStoreTest, ValueOfTheWrongShapeRecordsNothing) {
  EXPECT_THROW(record("zeitdauer_heute", today, List{1, 2, 3}), IndexError);
  EXPECT_THROW(record("heute_schon_angesehen", today, "kk_test-7"), TypeError);
  EXPECT_THROW(record("heute_schon_angesehen", today, List{"kk_test-7", None}), TypeError);
  EXPECT_THROW(record("reps", today, None), TypeError);
  EXPECT_TRUE(DayStatisticsStore::open_for_reading(path())->empty());
}

TEST_F(DayStatisticsStoreTest, ReadersSeeTheNewestEntries) {
  for (int day = 0; day < 3; ++day) {
    record("reps", nth_day(day), 10);
    record("zeitdauer_heute", nth_day(day), List{day, 0, 0, 1});
    record("heute_schon_angesehen", nth_day(day), List{"kk_test-1", "kk_test-" + nth_day(day)});
  }
  DayStatisticsStore store = *DayStatisticsStore::open_for_reading(path());
  const std::vector<DayCount> counts = store.latest_counts("kk_test", "reps");
  ASSERT_EQ(counts.size(), 2u);
  EXPECT_EQ(counts[0].day, nth_day(1));
  EXPECT_EQ(counts[1].total, Value(12));
  const std::vector<DayTimes> times = store.latest_times("kk_test");
  ASSERT_EQ(times.size(), 2u);
  EXPECT_EQ(times[1].day, nth_day(2));
  EXPECT_EQ(repr(Tuple(std::vector<Value>(times[1].totals.begin(), times[1].totals.end()))),
            "(3, 0, 0, 3)");
  EXPECT_EQ(store.card_count("kk_test", "heute_schon_angesehen", std::nullopt), 6);
  EXPECT_EQ(store.card_count("kk_test", "heute_schon_angesehen", nth_day(1)), 2);
  EXPECT_EQ(store.card_count("kk_test", "again_in_queue", std::nullopt), 0);
  EXPECT_TRUE(store.latest_counts("kk_drei", "reps").empty());
}

Value wert_for(const std::string& statistic, const std::string& card) {
  if (statistic == "zeitdauer_heute") return List{1, 2, 3, 4};
  if (statistic == "heute_schon_angesehen") return List{card};
  return 1;
}

// The rows a recording writes do not depend on the length of the history:
// the same for a history of two days as for one of a year. Only the first
// recording of a collection writes one row more, its name.
TEST_F(DayStatisticsStoreTest, RecordingCostDoesNotGrowWithTheHistory) {
  const std::vector<std::string> statistics{"reps", "heute_falsch_anzahl", "zeitdauer_heute",
                                            "heute_schon_angesehen"};
  {
    DayStatisticsStore store = DayStatisticsStore::open_for_recording(path());
    for (int day = 0; day < 365; ++day) {
      for (const std::string& statistic : statistics) {
        store.record("kk_jahr", statistic, nth_day(day), wert_for(statistic, "kk_jahr-1"));
        if (day < 2) store.record("kk_tage", statistic, nth_day(day), wert_for(statistic, "kk-1"));
      }
    }
  }
  struct Cost {
    int new_day;
    int same_day;
    int first;
  };
  const std::vector<Cost> costs{
      {1, 1, 2},
      // The new pair, and the oldest of three removed.
      {2, 1, 2},
      {1, 1, 2},
      // A name already in today's list is not written again.
      {1, 0, 2},
  };
  for (std::size_t i = 0; i < statistics.size(); ++i) {
    const std::string& statistic = statistics[i];
    SCOPED_TRACE(statistic);
    const Value wert = wert_for(statistic, "kk-2");
    EXPECT_EQ(record(statistic, today, wert, "kk_jahr"), costs[i].new_day);
    EXPECT_EQ(record(statistic, today, wert, "kk_tage"), costs[i].new_day);
    EXPECT_EQ(record(statistic, today, wert, "kk_jahr"), costs[i].same_day);
    EXPECT_EQ(record(statistic, today, wert, "kk_neu_" + statistic), costs[i].first);
  }
  DayStatisticsStore store = *DayStatisticsStore::open_for_reading(path());
  EXPECT_EQ(store.latest_counts("kk_jahr", "reps").back().total, Value(367));
  EXPECT_EQ(store.latest_times("kk_jahr").back().totals[3], Value(365 * 4 + 4));
  EXPECT_EQ(store.card_count("kk_jahr", "heute_schon_angesehen", std::nullopt), 366);
}

TEST_F(DayStatisticsStoreTest, DamagedStoreIsRestoredFromItsBackup) {
  record("reps", "2022-1-1", 4);
  db::copy_database_file(path(), backup());
  record("reps", "2022-1-2", 4);
  damage(path());

  // Reading takes the backup and leaves both files alone.
  EXPECT_EQ(layout_text(), "{'reps': [('2022-1-1', 4)]}");
  EXPECT_FALSE(DayStatisticsStore::is_store_file(path()));

  EXPECT_EQ(record("reps", today, 4), 1);
  EXPECT_TRUE(DayStatisticsStore::is_store_file(path()));
  EXPECT_TRUE(fs::exists(path().string() + ".damaged"));
  EXPECT_EQ(layout_text(), "{'reps': [('2022-1-1', 4), ('2022-1-3', 5)]}");
}

TEST_F(DayStatisticsStoreTest, NeitherFileUsableFailsAndChangesNothing) {
  record("reps", today, 1);
  damage(path());
  damage(backup());
  try {
    record("reps", today, 1);
    FAIL() << "recording into an unusable store succeeded";
  } catch (const db::Error& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find(path().string()), std::string::npos) << message;
    EXPECT_NE(message.find(backup().string()), std::string::npos) << message;
  }
  EXPECT_EQ(fs::file_size(path()), 4096u);
  EXPECT_EQ(fs::file_size(backup()), 4096u);
  EXPECT_FALSE(DayStatisticsStore::open_for_reading(path()));
}

TEST_F(DayStatisticsStoreTest, DatabasesOfAnotherKindOrVersionAreRejected) {
  fs::create_directories(path().parent_path());
  platform::Shelf::open(path()).set("kk_test", Dict());
  EXPECT_THROW(record("reps", today, 1), db::Error);
  EXPECT_FALSE(DayStatisticsStore::open_for_reading(path()));

  fs::remove(path());
  record("reps", today, 1);
  db::Connection(path(), db::OpenMode::read_write).execute("PRAGMA user_version = 2");
  EXPECT_FALSE(DayStatisticsStore::is_store_file(path()));
  EXPECT_THROW(record("reps", today, 1), db::Error);
}

TEST_F(DayStatisticsStoreTest, EmptyFileWithoutBackupBecomesANewStore) {
  fs::create_directories(path().parent_path());
  std::ofstream(path()).close();
  EXPECT_EQ(record("reps", today, 3), 2);
  EXPECT_EQ(layout_text(), "{'reps': [('2022-1-3', 3)]}");
}

// The host opening the store through the shelf routine reads the same
// nested layout, as a snapshot that writes nothing back.
TEST_F(DayStatisticsStoreTest, ShelfRoutineReadsTheStoreAsItsNestedLayout) {
  platform::Shelf missing = add_shelve_file(path().string());
  EXPECT_FALSE(missing.is_persistent());
  EXPECT_FALSE(fs::exists(path()));

  record("reps", today, 3);
  record("heute_schon_angesehen", today, List{"kk_test-7"}, "kk_zwei");
  {
    platform::Shelf shelf = add_shelve_file(path().string(), false, true);
    EXPECT_FALSE(shelf.is_persistent());
    EXPECT_EQ(shelf.keys(), (std::vector<std::string>{"kk_test", "kk_zwei"}));
    EXPECT_EQ(repr(shelf.get("kk_test")), "{'reps': [('2022-1-3', 3)]}");
    EXPECT_EQ(shelf.get("kk_zwei"),
              DayStatisticsStore::open_for_reading(path())->collection_layout("kk_zwei"));
    shelf.set("kk_test", 0);
  }
  EXPECT_EQ(layout_text(), "{'reps': [('2022-1-3', 3)]}");
  EXPECT_TRUE(DayStatisticsStore::is_store_file(backup()));

  damage(path());
  EXPECT_EQ(repr(add_shelve_file(path().string()).get("kk_test")), "{'reps': [('2022-1-3', 3)]}");
}

}  // namespace
}  // namespace tavo::kk
