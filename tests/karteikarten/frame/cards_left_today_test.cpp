// What is left of a learning day on Friday 2021-10-29 at 10:00
// (Europe/Berlin): the next learning day begins on Saturday at 03:00.
#include "support/test_environment.hpp"
#include "karteikarten/frame/cards_left_today.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::kk {
namespace {

double at(int day, int hour) { return DateTime(2021, 10, day, hour).to_epoch_seconds(); }

class CardsLeftTodayTest : public ::testing::Test {
 protected:
  CardsLeftTodayTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {
    test_environment().cf.set_fixed_now(at(29, 10));
    Dict modul;
    for (int i = 1; i <= 8; ++i) {
      modul.set(i, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
    }
    kkv.add_haendesammlung(modul, "kk_test");
    kkv.neue_karten_pro_tag = 2;
    kkv.maximale_wiederholungen_pro_tag = 3;
  }
  ~CardsLeftTodayTest() override { test_environment().cf.clear_fixed_now(); }

  Haendesammlung& sammlung() const { return *kkv.hc.sammlung_named("kk_test"); }
  std::string name(int card) const { return "kk_test-" + std::to_string(card); }
  CardRef card(int number) const { return sammlung().karten.at(name(number)); }

  // Card `number`, answered before, in `status` and due at `due`.
  void answered(int number, Learnstatus status, double due) const {
    card(number).edit().karte_ist_neu = false;
    card(number).edit().learnstatus = status;
    card(number).edit().due = Due::at(due);
  }

 private:
  tavo::testing::TemporaryDirectory directory_;
  tavo::testing::ScopedEnvironment data_dir_;

 protected:
  Karteikartenverwaltung kkv{test_environment()};
};

TEST_F(CardsLeftTodayTest, ReviewsNewCardsAndLearningStepsUnderTodaysLimits) {
  struct Situation {
    std::string change;
    std::function<void()> make;
    std::int64_t due, new_cards, learning;
  };
  const std::vector<Situation> situations{
      {"eight new cards, two a day", [] {}, 0, 2, 0},
      {"four reviews due since yesterday, three a day, and one card put due today",
       [&] {
         for (int i = 1; i <= 4; ++i) answered(i, Learnstatus::learned, at(28, 10));
         card(5).edit().due = Due::at(at(29, 3));
         sammlung().set_metadata("neue_karte_heute_faellig_gestellt", name(5));
       },
       3, 2, 0},
      {"a card in a learning step in ten minutes, one relearning on Saturday after 03:00",
       [&] {
         answered(6, Learnstatus::learning, at(29, 10) + 600);
         answered(7, Learnstatus::relearning, at(30, 3) + 60);
       },
       3, 2, 1},
      {"one review begun today counts against the limit; one fresh review is left",
       [&] {
         sammlung().set_metadata("heute_schon_angesehen", name(1));
         sammlung().set_metadata("wiederholte_karten", List{name(2), name(8)});
       },
       2, 2, 1},
      {"the review begun today is passed over (answered ahead)",
       [&] { sammlung().pass_over_in_choices(name(1)); }, 1, 2, 1},
      {"learning a day ahead reaches the relearning card",
       [&] { kkv.vorauslernen_tage = 1; }, 1, 2, 2},
      {"only new cards", [&] { kkv.nur_neue_karten_anzeigen = true; }, 0, 2, 0},
  };
  for (const Situation& situation : situations) {
    situation.make();
    const CardsLeftToday left = cards_left_today(kkv);
    EXPECT_EQ(left.due, situation.due) << situation.change;
    EXPECT_EQ(left.new_cards, situation.new_cards) << situation.change;
    EXPECT_EQ(left.learning, situation.learning) << situation.change;
  }
}

}  // namespace
}  // namespace tavo::kk
