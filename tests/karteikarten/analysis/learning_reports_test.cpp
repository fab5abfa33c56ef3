// The learning reports, on a manager with the collection "kk_test" and the
// clock at 2021-09-22 10:00 (Europe/Berlin).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "support/test_environment.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "platform/environment.hpp"

namespace tavo::kk {
namespace {

using Falsch = std::pair<std::int64_t, std::int64_t>;

class LearningReportsTest : public testing::SchedulingTest {
 protected:
  // Records `wert` for `name` of `collection` on 2021-9-<day>.
  void record(const std::string& collection, int day, const std::string& name,
              const Value& wert = 1) {
    kkv.add_to_shelve(collection, Tuple{2021, 9, day, wert}, name);
  }
};

TEST_F(LearningReportsTest, AnEmptyOrUnreadableStoreHasNoHistory) {
  EXPECT_EQ(kkv.get_anzahl_falsch(), Falsch(0, 0));
  EXPECT_EQ(kkv.anzahl_lerntage_gesamt(), 0);

  std::filesystem::create_directories(std::filesystem::path(day_statistics_path(test_environment())).parent_path());
  std::ofstream(day_statistics_path(test_environment())) << "not a store";
  EXPECT_EQ(kkv.get_anzahl_falsch(), Falsch(0, 0));
  EXPECT_EQ(kkv.anzahl_lerntage_gesamt(), 0);
}

TEST_F(LearningReportsTest, AgainAnswersSumTheNewestTotalsAndTodaysGrowth) {
  // [(yesterday, 4), (today, 7)]
  record("kk_a", 21, "heute_falsch_anzahl", 4);
  for (int i = 0; i < 3; ++i) record("kk_a", 22, "heute_falsch_anzahl");
  EXPECT_EQ(kkv.get_anzahl_falsch(), Falsch(7, 3));

  // [(today, 5)] adds all of it to today.
  record("kk_b", 22, "heute_falsch_anzahl", 5);
  EXPECT_EQ(kkv.get_anzahl_falsch(), Falsch(12, 8));

  // [(yesterday, 5)] adds nothing to today, and neither does a date text of
  // another form; a collection without wrong answers adds nothing at all.
  record("kk_c", 21, "heute_falsch_anzahl", 5);
  kkv.add_to_shelve("kk_d", Tuple{2021, "09", 22, 2}, "heute_falsch_anzahl");
  record("kk_e", 22, "reps", 9);
  EXPECT_EQ(kkv.get_anzahl_falsch(), Falsch(19, 8));

  // Once the learning day is over, today's growth is gone.
  test_environment().cf.set_fixed_now(testing::a_morning + testing::a_day);
  EXPECT_EQ(kkv.get_anzahl_falsch(), Falsch(19, 0));
}

TEST_F(LearningReportsTest, LearningDaysAreTheDistinctDatesOfRepetitions) {
  record("kk_a", 22, "reps", 3);
  record("kk_b", 21, "reps", 1);
  record("kk_b", 22, "reps");
  // Only "reps" counts: neither its card-type variants nor card lists do.
  record("kk_a", 20, "reps_kk");
  record("kk_a", 19, "heute_schon_angesehen", List{"kk_test-1"});
  EXPECT_EQ(kkv.anzahl_lerntage_gesamt(), 2);
  // The report reads the whole history, not just its newest pairs.
  for (int day = 23; day <= 25; ++day) record("kk_a", day, "reps");
  EXPECT_EQ(kkv.anzahl_lerntage_gesamt(), 5);
}

}  // namespace
}  // namespace tavo::kk
