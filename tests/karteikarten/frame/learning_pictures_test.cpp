// The pictures' figures after a scripted week and a half of answers
// (Europe/Berlin, learning days starting at 03:00), and the due forecast
// around the bounds of its learning days.
#include "karteikarten/frame/learning_pictures.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "karteikarten/frame/learner.hpp"
#include "karteikarten/frame/undo.hpp"

namespace tavo::kk {
namespace {

using testing::Learner;

double at(int month, int day, int hour, int minute = 0) {
  return DateTime(2021, month, day, hour, minute).to_epoch_seconds();
}

void set_now(double moment) { test_environment().cf.set_fixed_now(moment); }

// Makes the card `name` a mature review card of `interval` days, due an
// hour ago.
void make_mature(Learner& learner, const std::string& name, std::int64_t interval) {
  learner.make_review(name, test_environment().cf.get_now() - 3600);
  learner.record(name).interval = interval;
}

// Wednesday 2021-09-22: kk_test-3 (mature) "good", kk_test-1 (new) "good"
// and "again", kk_test-2 "good" taken back. Thursday: kk_test-1 "good",
// kk_test-3 (mature, made due again) "again". Wednesday 2021-09-29 at
// 02:00, still Tuesday's learning day: kk_test-2 "good". Then the present
// is that Wednesday 10:00.
void answer_history(Learner& learner) {
  make_mature(learner, "kk_test-3", 30);
  learner.answer("kk_test-3", "good");
  learner.answer("kk_test-1", "good");
  learner.answer("kk_test-1", "again");
  learner.answer("kk_test-2", "good");
  undo_last_answer(*learner.kkv);
  set_now(at(9, 23, 10));
  learner.answer("kk_test-1", "good");
  make_mature(learner, "kk_test-3", 75);
  learner.answer("kk_test-3", "again");
  set_now(at(9, 29, 2));
  learner.answer("kk_test-2", "good");
  set_now(at(9, 29, 10));
}

TEST(LearningPicturesTest, TheAnswersPerDayAndTheAgainSharesOfYoungAndMatureCards) {
  Learner learner;
  answer_history(learner);
  const LearningPictures pictures = learning_pictures(*learner.kkv);

  EXPECT_EQ(pictures.today, "2021-09-29");
  // 51 weeks before Monday 2021-09-27, then to Wednesday.
  EXPECT_EQ(pictures.calendar_dates.front(), "2020-10-05");
  ASSERT_EQ(pictures.answers_per_day.size(), 51u * 7 + 3);
  std::vector<std::int64_t> answers(pictures.answers_per_day.size(), 0);
  answers[51 * 7 - 5] = 3;  // Wednesday 2021-09-22
  answers[51 * 7 - 4] = 2;  // Thursday
  answers[51 * 7 + 1] = 1;  // Tuesday 2021-09-28
  EXPECT_EQ(pictures.answers_per_day, answers);

  ASSERT_EQ(pictures.again_weeks.size(), 2u);
  struct Week {
    std::string monday;
    AgainCount young;
    AgainCount mature;
  };
  const std::vector<Week> weeks = {{"2021-09-20", {3, 1}, {2, 1}}, {"2021-09-27", {1, 0}, {0, 0}}};
  for (std::size_t i = 0; i < weeks.size(); ++i) {
    const AgainWeek& week = pictures.again_weeks[i];
    EXPECT_EQ(week.monday, weeks[i].monday);
    EXPECT_EQ(week.young.answers, weeks[i].young.answers) << week.monday;
    EXPECT_EQ(week.young.again, weeks[i].young.again) << week.monday;
    EXPECT_EQ(week.mature.answers, weeks[i].mature.answers) << week.monday;
    EXPECT_EQ(week.mature.again, weeks[i].mature.again) << week.monday;
  }
  EXPECT_EQ(pictures.young_total.answers, 4);
  EXPECT_EQ(pictures.young_total.again, 1);
  EXPECT_EQ(pictures.mature_total.share(), 0.5);
  EXPECT_EQ(pictures.again_weeks[1].mature.share(), std::nullopt);
}

TEST(LearningPicturesTest, TheDueForecastCountsEachCardOnItsLearningDay) {
  Learner learner;
  set_now(at(9, 29, 10));
  learner.record("kk_test-2").due = Due::at(at(9, 28, 10));
  learner.record("kk_test-3").due = Due::at(at(9, 30, 3));
  struct Case {
    double due;
    std::optional<int> day;
  };
  for (const Case& test : std::vector<Case>{{at(9, 20, 10), 0},
                                            {at(9, 30, 2, 59), 0},
                                            {at(9, 30, 3), 1},
                                            {at(10, 29, 2, 59), 29},
                                            {at(10, 29, 3), std::nullopt}}) {
    learner.record("kk_test-1").due = Due::at(test.due);
    std::vector<std::int64_t> expected(forecast_days, 0);
    expected[0] = 1;  // kk_test-2, overdue
    expected[1] = 1;  // kk_test-3
    if (test.day) ++expected[static_cast<std::size_t>(*test.day)];
    EXPECT_EQ(learning_pictures(*learner.kkv).due_forecast, expected)
        << DateTime::fromtimestamp(test.due).isoformat();
  }
}

}  // namespace
}  // namespace tavo::kk
