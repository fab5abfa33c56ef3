// The figures of a learning day after one session on Friday 2021-10-29
// (Europe/Berlin): the next learning day runs from Saturday 03:00 summer
// time to Sunday 03:00 winter time, 25 hours.
#include "support/test_environment.hpp"
#include "karteikarten/frame/day_figures.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "karteikarten/frame/learning_step.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::kk {
namespace {

constexpr int cards = 8;
constexpr double seconds_per_answer = 20;

double at(int day, int hour) { return DateTime(2021, 10, day, hour).to_epoch_seconds(); }

class DayFiguresTest : public ::testing::Test {
 protected:
  DayFiguresTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {
    test_environment().cf.set_fixed_now(at(29, 10));
    Dict modul;
    for (int i = 1; i <= cards; ++i) {
      modul.set(i, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
    }
    kkv.add_haendesammlung(modul, "kk_test");
    kkv.neue_karten_pro_tag = 2;
    kkv.maximale_wiederholungen_pro_tag = 3;
  }
  ~DayFiguresTest() override { test_environment().cf.clear_fixed_now(); }

  // The cards of "kk_test" that are still new.
  std::vector<CardRef> new_cards() const {
    std::vector<CardRef> found;
    for (const auto& [name, card] : kkv.hc.sammlung_named("kk_test")->karten) {
      if (card->due.is_none()) found.push_back(card);
    }
    return found;
  }

 private:
  tavo::testing::TemporaryDirectory directory_;
  tavo::testing::ScopedEnvironment data_dir_;

 protected:
  Karteikartenverwaltung kkv{test_environment()};
};

TEST_F(DayFiguresTest, ASessionsFiguresAndTheDueMomentsAroundTheNextLearningDay) {
  // Yesterday: 4 repetitions, 2 of them wrong.
  kkv.add_to_shelve("kk_test", Tuple{2021, 10, 28, 4}, "reps");
  kkv.add_to_shelve("kk_test", Tuple{2021, 10, 28, 2}, "heute_falsch_anzahl");
  // One review, due since yesterday.
  const CardRef review = new_cards().front();
  review.edit().learnstatus = Learnstatus::learned;
  review.edit().karte_ist_neu = false;
  review.edit().interval = 10;
  review.edit().ease_factor = 250;
  review.edit().due = Due::at(at(28, 10));

  // The second new card is answered "again" once, everything else "good",
  // until nothing is left for today.
  int new_seen = 0;
  const AskAnswer ask = [&](const Karteikarte& card, const ButtonIntervals&) {
    const bool first_sight = card.get_karte_ist_neu();
    if (first_sight) ++new_seen;
    return Antwort{first_sight && new_seen == 2 ? "again" : "good", seconds_per_answer};
  };
  int answers = 0;
  while (learning_step(kkv, ask)) {
    ++answers;
    test_environment().cf.set_fixed_now(test_environment().cf.get_now() +
                                                     30);
  }
  // The review, the first new card through both steps, the second one
  // failed once and then through both steps.
  EXPECT_EQ(answers, 6);

  // The cards never shown get due moments around the next learning day.
  const std::vector<CardRef> unseen = new_cards();
  ASSERT_EQ(unseen.size(), 5u);
  unseen[0].edit().due = Due::done();
  unseen[1].edit().due = Due::at(at(29, 9));         // an hour before the session
  unseen[2].edit().due = Due::at(at(29, 23));        // later today
  unseen[3].edit().due = Due::at(at(31, 3) - 1800);  // 02:30 winter time, still tomorrow
  unseen[4].edit().due = Due::at(at(31, 3));         // the day after tomorrow

  const DayFigures figures = day_figures(kkv);
  EXPECT_EQ(figures.repetitions_today, 6);
  EXPECT_EQ(figures.repetitions_total, 10);
  EXPECT_EQ(figures.again_today, 1);
  EXPECT_EQ(figures.again_total, 3);
  EXPECT_EQ(figures.learning_days, 2);
  EXPECT_DOUBLE_EQ(figures.answer_minutes_today, 6 * seconds_per_answer / 60);
  EXPECT_EQ(figures.new_cards_today, 2);
  EXPECT_EQ(figures.new_card_limit, 2);
  EXPECT_EQ(figures.reviews_today, 1);
  EXPECT_EQ(figures.review_limit, 3);
  EXPECT_EQ(figures.due_now, 1);
  // The two graduated cards at 03:00 tomorrow, and 02:30 winter time.
  EXPECT_EQ(figures.due_tomorrow, 3);
  EXPECT_EQ(figures.next_due, at(29, 23));

  // A year later every card with a due moment is due, and none is next.
  test_environment().cf.set_fixed_now(at(29, 10) + 365 * 86400.0);
  const DayFigures later = day_figures(kkv);
  EXPECT_EQ(later.due_now, cards - 1);
  EXPECT_EQ(later.due_tomorrow, 0);
  EXPECT_EQ(later.next_due, std::nullopt);
}

}  // namespace
}  // namespace tavo::kk
