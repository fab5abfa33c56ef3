// The manager's day statistics, on a manager with the collection "kk_test"
// and the clock at 2021-09-22 10:00 (Europe/Berlin).
#include <gtest/gtest.h>

#include <fstream>

#include "db/error.hpp"
#include "support/test_environment.hpp"
#include "karteikarten/cards/captured_lines.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "karteikarten/storage/shelve_opening.hpp"
#include "platform/environment.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::a_day;
using testing::a_morning;

class DayStatisticsTest : public testing::SchedulingTest {
 protected:
  // Records `wert` for `name` of `collection` on 2021-9-<day>.
  void record(int day, const std::string& name, const Value& wert,
              const std::string& collection = "kk_test") {
    kkv.add_to_shelve(collection, Tuple{2021, 9, day, wert}, name);
  }

  std::string stored(const std::string& statistic) {
    return repr(kkv.get_data_from_shelve("kk_test").as_dict().get(statistic, None));
  }

  Value anzahl(const std::string& key, bool heute = false, bool alle = true) {
    return kkv.iterate_key_shelve(key, heute, alle).at("anzahl");
  }
};

TEST_F(DayStatisticsTest, CountersCountFromTheFirstValueAndThenByOneAndPersist) {
  for (int i = 0; i < 3; ++i) record(22, "reps", 5);
  EXPECT_EQ(stored("reps"), "[('2021-9-22', 7)]");
  record(23, "reps", 100);
  EXPECT_EQ(stored("reps"), "[('2021-9-22', 7), ('2021-9-23', 8)]");
  EXPECT_EQ(anzahl("reps"), Value(8));

  // Wrong answers keep only the last two days.
  for (int day = 22; day < 26; ++day) record(day, "heute_falsch_anzahl", 1);
  EXPECT_EQ(stored("heute_falsch_anzahl"), "[('2021-9-24', 3), ('2021-9-25', 4)]");

  // A new manager sees the statistics of the previous one.
  const Karteikartenverwaltung next{test_environment()};
  EXPECT_EQ(next.get_data_from_shelve("kk_test"), kkv.get_data_from_shelve("kk_test"));
  EXPECT_EQ(next.iterate_key_shelve("reps").at("anzahl"), Value(8));

  // The date text has no leading zeros.
  kkv.add_to_shelve("kk_neu", Tuple{2022, 1, 3, 1}, "reps");
  EXPECT_EQ(repr(kkv.get_data_from_shelve("kk_neu")), "{'reps': [('2022-1-3', 1)]}");
}

TEST_F(DayStatisticsTest, CardNameRecordedTwiceIsKeptOnce) {
  record(22, "heute_schon_angesehen", List{"kk_test-7"});
  record(22, "heute_schon_angesehen", List{"kk_test-7"});
  record(21, "heute_schon_angesehen", List{"kk_test-7"});
  EXPECT_EQ(repr(kkv.get_data_from_shelve("kk_test")),
            "{'2021-9-22': {'heute_schon_angesehen': ['kk_test-7']}, "
            "'2021-9-21': {'heute_schon_angesehen': ['kk_test-7']}}");
  EXPECT_EQ(anzahl("heute_schon_angesehen"), Value(2));
  EXPECT_EQ(anzahl("heute_schon_angesehen", true), Value(1));
  EXPECT_EQ(anzahl("again_in_queue"), Value(0));
}

TEST_F(DayStatisticsTest, TodaysRepsAreTheGrowthOfTheLearningDay) {
  record(21, "reps", 5);
  EXPECT_EQ(anzahl("reps", true), Value(0));
  record(22, "reps", 5);
  EXPECT_EQ(anzahl("reps", true), Value(1));
  // At 02:00 the next morning the learning day of the 22nd still runs.
  test_environment().cf.set_fixed_now(a_morning + a_day - 8 * 3600);
  EXPECT_EQ(anzahl("reps", true), Value(1));
  test_environment().cf.set_fixed_now(a_morning + a_day);
  EXPECT_EQ(anzahl("reps", true), Value(0));
}

TEST_F(DayStatisticsTest, TimeTotalsBySlot) {
  record(22, "zeitdauer_heute", List{0, 90, 90, 0});
  EXPECT_DOUBLE_EQ(kkv.gesamte_zeitdauer_heute(), 3.0);

  record(21, "zeitdauer_heute", List{60, 0, 0, 0}, "kk_alt");
  record(22, "zeitdauer_heute", List{0, 30, 0, 15}, "kk_alt");
  EXPECT_EQ(repr(kkv.iterate_key_shelve("zeitdauer_heute")),
            "{'anzahl': 285, 'kk': 60, 'reizung': 120, 'alleinspiel': 90, 'gegenspiel': 15}");
  EXPECT_EQ(repr(kkv.iterate_key_shelve("zeitdauer_heute", true)),
            "{'anzahl': 225, 'kk': 0, 'reizung': 120, 'alleinspiel': 90, 'gegenspiel': 15}");
  EXPECT_DOUBLE_EQ(kkv.gesamte_zeitdauer_heute(true), 3.75);
}

TEST_F(DayStatisticsTest, RegisteredCollectionsOnlyWithoutAlle) {
  record(22, "reps", 3);
  record(22, "reps", 4, "kk_alt");
  record(22, "reps", 5, "kk_test_vergessen");
  EXPECT_EQ(anzahl("reps"), Value(12));
  EXPECT_EQ(anzahl("reps", false, false), Value(3));
  EXPECT_EQ(repr(kkv.get_liste_alle_from_alte_daten()), "['kk_test', 'kk_alt']");
  kkv.remove_alle_haendesammlungen();
  EXPECT_EQ(anzahl("reps", false, false), Value(0));
}

TEST_F(DayStatisticsTest, UnusableStoreFailsTheWriterAndReadsAsEmpty) {
  record(22, "reps", 3);
  for (const std::string& file :
       {day_statistics_path(test_environment()), shelve_backup_name(day_statistics_path(test_environment()))}) {
    std::ofstream(file, std::ios::trunc) << "not a database";
  }
  EXPECT_THROW(record(22, "reps", 3), db::Error);
  EXPECT_EQ(repr(kkv.iterate_key_shelve("zeitdauer_heute", true)),
            "{'anzahl': 0, 'kk': 0, 'reizung': 0, 'alleinspiel': 0, 'gegenspiel': 0}");
  EXPECT_EQ(repr(kkv.iterate_key_shelve("reps")), "{'anzahl': 0}");
  EXPECT_TRUE(kkv.get_data_from_shelve("kk_test").is_none());
  EXPECT_TRUE(kkv.get_liste_alle_from_alte_daten().empty());
}

TEST_F(DayStatisticsTest, DailyCounterOfTheCurrentCollectionAndCaching) {
  kkv.update_um_1("neu");
  kkv.update_um_1("neu");
  kkv.set_sammlungsort_name("kk_nirgends", 0);
  kkv.update_um_1("neu");
  EXPECT_EQ(kkv.hc.get_richtige_sammlung("kk_test")->get_metadata_heute("neu"), Value(2));

  const testing::CapturedLines captured(test_environment().diagnostics);
  kkv.erstelle_cashing("kk_test", List{1, "a"});
  EXPECT_EQ(captured.text(), "in erstelle_cashing\n('key: ', 'kk_test')\n('data: ', [1, 'a'])\n");
}

}  // namespace
}  // namespace tavo::kk
