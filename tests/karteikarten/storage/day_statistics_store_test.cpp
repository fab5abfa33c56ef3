#include "support/test_environment.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

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
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

constexpr std::string_view today = "2022-1-3";

// A distinct day text for each n.
std::string nth_day(int n) {
  return "2021-" + std::to_string(n / 28 + 1) + "-" + std::to_string(n % 28 + 1);
}

void damage(const fs::path& path) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(4096, '\x5a');
}

class DayStatisticsStoreTest : public ::testing::Test {
 protected:
  DayStatisticsStoreTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {}

  fs::path path() const { return day_statistics_path(test_environment()); }
  fs::path backup() const { return shelve_backup_name(day_statistics_path(test_environment())); }

  int record(const std::string& name, std::string_view day, const Value& wert,
             const std::string& collection = "kk_test") {
    return DayStatisticsStore::open_for_recording(path()).record(collection, name, std::string(day),
                                                                 wert);
  }

  std::string layout_text() { return repr(DayStatisticsStore::open_for_reading(path())->layout()); }

 private:
  testing::TemporaryDirectory directory_;
  testing::ScopedEnvironment data_dir_;
};

TEST_F(DayStatisticsStoreTest, LayoutGathersEveryKindOfStatisticAndKeepsNumberKinds) {
  EXPECT_FALSE(DayStatisticsStore::open_for_reading(path()));
  // A value of the wrong shape records nothing.
  EXPECT_THROW(record("zeitdauer_heute", today, List{1, 2, 3}), IndexError);
  EXPECT_THROW(record("heute_schon_angesehen", today, "kk_test-7"), TypeError);
  EXPECT_THROW(record("heute_schon_angesehen", today, List{"kk_test-7", None}), TypeError);
  EXPECT_THROW(record("reps", today, None), TypeError);
  EXPECT_TRUE(DayStatisticsStore::open_for_reading(path())->empty());

  record("reps", "2022-1-2", 2.5);
  record("reps", "2022-1-2", 5);
  record("reps", today, 5);
  record("heute_schon_angesehen", "2022-1-2", List{"kk_test-7", "kk_test-1"});
  record("heute_falsch_anzahl", today, 1);
  record("zeitdauer_heute", "2022-1-2", List{1, 2.5, 0, 0});
  record("zeitdauer_heute", today, Tuple{1.5, 1, 0, true});
  record("heute_schon_angesehen", today, List{7, "7", 7.0});
  record("again_in_queue", "2022-1-2", List{"kk_test-1"});
  record("reps", "2022-1-2", 1, "kk_zwei");
  EXPECT_EQ(path().parent_path().filename(), "settings");
  EXPECT_EQ(layout_text(),
            "{'kk_test': {'heute_falsch_anzahl': [('2022-1-3', 1)], "
            "'reps': [('2022-1-2', 3.5), ('2022-1-3', 4.5)], "
            "'zeitdauer_heute': [('2022-1-2', 1, 2.5, 0, 0), ('2022-1-3', 2.5, 3.5, 0, 1)], "
            "'2022-1-2': {'heute_schon_angesehen': ['kk_test-7', 'kk_test-1'], "
            "'again_in_queue': ['kk_test-1']}, "
            "'2022-1-3': {'heute_schon_angesehen': [7, '7']}}, "
            "'kk_zwei': {'reps': [('2022-1-2', 1)]}}");
  EXPECT_TRUE(DayStatisticsStore::open_for_reading(path())->collection_layout("kk_drei").is_none());
}

Value wert_for(const std::string& statistic, const std::string& card) {
  if (statistic == "zeitdauer_heute") return List{1, 2, 3, 4};
  if (statistic == "heute_schon_angesehen") return List{card};
  return 1;
}

// The rows a recording writes do not depend on the length of the history:
// after a year they are as few as for a new collection, which writes one
// row more, its name.
TEST_F(DayStatisticsStoreTest, RecordingCostDoesNotGrowWithTheHistory) {
  const struct {
    std::string statistic;
    int new_day, same_day, first;
  } costs[] = {
      {"reps", 1, 1, 2},
      // The new pair, and the oldest of three removed.
      {"heute_falsch_anzahl", 2, 1, 2},
      {"zeitdauer_heute", 1, 1, 2},
      // A name already in today's list is not written again.
      {"heute_schon_angesehen", 1, 0, 2},
  };
  {
    // The year is built where commits cost no disk syncs, when there is
    // memory-backed storage, and copied into place.
    std::optional<testing::ScopedEnvironment> in_memory;
    if (fs::is_directory("/dev/shm")) in_memory.emplace("TMPDIR", "/dev/shm");
    const testing::TemporaryDirectory scratch;
    DayStatisticsStore store = DayStatisticsStore::open_for_recording(scratch / "history.dat");
    for (int day = 0; day < 365; ++day) {
      for (const auto& [statistic, new_day, same_day, first] : costs) {
        store.record("kk_jahr", statistic, nth_day(day), wert_for(statistic, "kk_jahr-1"));
      }
    }
    fs::create_directories(path().parent_path());
    db::copy_database_file(scratch / "history.dat", path());
  }
  for (const auto& [statistic, new_day, same_day, first] : costs) {
    SCOPED_TRACE(statistic);
    const Value wert = wert_for(statistic, "kk-2");
    EXPECT_EQ(record(statistic, today, wert, "kk_jahr"), new_day);
    EXPECT_EQ(record(statistic, today, wert, "kk_jahr"), same_day);
    EXPECT_EQ(record(statistic, today, wert, "kk_neu_" + statistic), first);
  }
  // Readers see the newest two entries and count the names.
  DayStatisticsStore store = *DayStatisticsStore::open_for_reading(path());
  const std::vector<DayCount> counts = store.latest_counts("kk_jahr", "reps");
  ASSERT_EQ(counts.size(), 2u);
  EXPECT_EQ(counts[0].day, nth_day(364));
  EXPECT_EQ(counts[1].total, Value(367));
  EXPECT_EQ(store.latest_times("kk_jahr").back().totals[3], Value(365 * 4 + 4));
  EXPECT_EQ(store.card_count("kk_jahr", "heute_schon_angesehen", std::nullopt), 366);
  EXPECT_EQ(store.card_count("kk_jahr", "heute_schon_angesehen", std::string(today)), 1);
  EXPECT_TRUE(store.latest_counts("kk_drei", "reps").empty());
}

TEST_F(DayStatisticsStoreTest, DamagedStoreIsRestoredFromItsBackup) {
  // Overwritten, emptied, cut inside its header, cut at a page boundary
  // short of the pages its header records, and cut inside a page.
  const std::vector<std::function<void(const fs::path&)>> damages{
      damage,
      [](const fs::path& file) { fs::resize_file(file, 0); },
      [](const fs::path& file) { fs::resize_file(file, 60); },
      [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) / 8192 * 4096); },
      [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) - 100); },
  };
  for (std::size_t kind = 0; kind < damages.size(); ++kind) {
    SCOPED_TRACE("damage " + std::to_string(kind));
    fs::remove(path());
    fs::remove(path().string() + ".damaged");
    record("reps", "2022-1-1", 4);
    const List names;
    for (int card = 0; card < 500; ++card) names.append("card " + std::to_string(card));
    record("gelernt", "2022-1-1", names);
    db::copy_database_file(path(), backup());
    const std::string kept = layout_text();
    record("reps", "2022-1-2", 4);
    damages[kind](path());

    // Reading copies the backup over the store, keeping the damaged file.
    EXPECT_EQ(layout_text(), kept);
    EXPECT_TRUE(DayStatisticsStore::is_store_file(path()));
    EXPECT_TRUE(fs::exists(path().string() + ".damaged"));

    // Recording restores the same way.
    damages[kind](path());
    EXPECT_EQ(record("reps", today, 4), 1);
    EXPECT_TRUE(DayStatisticsStore::is_store_file(path()));
    EXPECT_THAT(layout_text(),
                HasSubstr("{'kk_test': {'reps': [('2022-1-1', 4), ('2022-1-3', 5)]"));
  }
}

TEST_F(DayStatisticsStoreTest, NeitherFileUsableFailsAndChangesNothing) {
  record("reps", today, 1);
  damage(path());
  damage(backup());
  EXPECT_THAT(
      [&] { record("reps", today, 1); },
      ThrowsMessage<db::Error>(AllOf(HasSubstr(path().string()), HasSubstr(backup().string()))));
  EXPECT_EQ(fs::file_size(path()), 4096u);
  EXPECT_EQ(fs::file_size(backup()), 4096u);
  EXPECT_FALSE(DayStatisticsStore::open_for_reading(path()));
}

TEST_F(DayStatisticsStoreTest, StoresAreMarkedAndOthersRejected) {
  // Another kind of database.
  fs::create_directories(path().parent_path());
  platform::Shelf::open(path()).set("kk_test", Dict());
  EXPECT_THROW(record("reps", today, 1), db::Error);
  EXPECT_FALSE(DayStatisticsStore::open_for_reading(path()));

  // An empty file without backup holds nothing to lose.
  fs::remove(path());
  std::ofstream(path()).close();
  EXPECT_EQ(record("reps", today, 3), 2);
  EXPECT_TRUE(DayStatisticsStore::is_store_file(path()));

  // Another version.
  db::Connection(path(), db::OpenMode::read_write).execute("PRAGMA user_version = 3");
  EXPECT_FALSE(DayStatisticsStore::is_store_file(path()));
  EXPECT_THROW(record("reps", today, 1), db::Error);
}

// The host opening the store through the shelf routine reads the same
// nested layout, as a copy that refuses writes.
TEST_F(DayStatisticsStoreTest, ShelfRoutineReadsTheStoreAsItsNestedLayout) {
  EXPECT_FALSE(add_shelve_file(test_environment(), path().string()).is_persistent());
  EXPECT_FALSE(fs::exists(path()));

  record("reps", today, 3);
  record("heute_schon_angesehen", today, List{"kk_test-7"}, "kk_zwei");
  {
    platform::Shelf shelf = add_shelve_file(test_environment(), path().string(), false, true);
    EXPECT_FALSE(shelf.is_persistent());
    EXPECT_EQ(shelf.keys(), (std::vector<std::string>{"kk_test", "kk_zwei"}));
    EXPECT_EQ(repr(shelf.get("kk_zwei")), "{'2022-1-3': {'heute_schon_angesehen': ['kk_test-7']}}");
    EXPECT_THAT([&] { shelf.set("kk_test", 0); },
                ThrowsMessage<TypeError>(HasSubstr("written by the statistics operations")));
    EXPECT_THROW(shelf.erase("kk_test"), TypeError);
  }
  EXPECT_EQ(repr(DayStatisticsStore::open_for_reading(path())->collection_layout("kk_test")),
            "{'reps': [('2022-1-3', 3)]}");
  EXPECT_TRUE(DayStatisticsStore::is_store_file(backup()));

  damage(path());
  EXPECT_EQ(repr(add_shelve_file(test_environment(), path().string()).get("kk_test")), "{'reps': [('2022-1-3', 3)]}");
  EXPECT_TRUE(DayStatisticsStore::is_store_file(path()));
}

}  // namespace
}  // namespace tavo::kk
