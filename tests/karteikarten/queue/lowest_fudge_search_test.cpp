#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_environment.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk::testing {
namespace {

const std::vector<std::string> all_cards{"kk_test-1", "kk_test-2", "kk_test-3", "kk_zwei-1",
                                         "kk_zwei-2"};

// "kk_test" (fudges 5, 3, 7) and, after it, "kk_zwei" (fudges 2, 9); every
// card is due a minute ago.
class LowestFudgeTest : public SchedulingTest {
 protected:
  LowestFudgeTest() {
    kkv.add_haendesammlung(Dict{{1, Dict{{"fragetext", "F"}, {"antworttext", "A"}}},
                                {2, Dict{{"fragetext", "F"}, {"antworttext", "A"}}}},
                           "kk_zwei");
    set_fudges("kk_test", {5, 3, 7});
    set_fudges("kk_zwei", {2, 9});
    for (const std::string& name : all_cards) {
      record(name).edit().due = Due::at(a_morning - 60);
    }
  }

  SammlungRef sammlung(const std::string& name) const { return kkv.hc.sammlung_named(name); }
  CardRef record(const std::string& kartenname) const {
    return sammlung(kartenname.substr(0, kartenname.find('-')))->karten.at(kartenname);
  }
  void set_fudges(const std::string& name, const std::vector<std::int64_t>& fudges) const {
    for (std::size_t i = 0; i < fudges.size(); ++i) {
      record(name + "-" + std::to_string(i + 1)).set_fudge(fudges[i]);
    }
  }
  static std::string shown(const FoundCard& found) {
    return found.name.value_or("None") + " " + found.sammlungsname.value_or("None") + " " +
           std::to_string(found.index);
  }
  // The search over every collection up to `now`, without learning ahead.
  std::string find(double now = a_morning, std::int64_t fudge = 100,
                   bool nur_again_queue = false) const {
    return shown(kkv.finde_karte_due_niedrigster_fudge(now, a_morning, None, nur_again_queue, 0,
                                                       None, fudge));
  }
  std::string find_in(const std::string& name, std::int64_t ueberschuss) const {
    return shown(kkv.finde_karte_due_niedrigster_fudge_diese_sammlung(
        a_morning, a_morning, None, false, 0, None, 100, sammlung(name), ueberschuss));
  }
};

TEST_F(LowestFudgeTest, TheLowestFudgeBelowTheBoundWinsAndTiesKeepTheFirst) {
  EXPECT_EQ(find(), "kk_zwei-1 kk_zwei 1");
  // The bound is strict: a card must lie below it.
  EXPECT_EQ(find(a_morning, 2), "None None 0");
  EXPECT_EQ(find(a_morning, 1), "None None 0");

  record("kk_zwei-1").set_fudge(3);
  EXPECT_EQ(find(), "kk_test-2 kk_test 0");
  record("kk_test-1").set_fudge(3);
  EXPECT_EQ(find(), "kk_test-1 kk_test 0");

  // Finished, not yet due, new and fudge-less cards are left out.
  record("kk_test-1").edit().due = Due::done();
  record("kk_test-2").edit().due = Due::at(a_morning + 1);
  EXPECT_EQ(find(), "kk_zwei-1 kk_zwei 1");
  EXPECT_EQ(find(a_morning + 1), "kk_test-2 kk_test 0");
  record("kk_zwei-1").edit().due = Due();
  EXPECT_EQ(find(), "kk_test-3 kk_test 0");
  record("kk_test-3").set_fudge(std::nullopt);
  EXPECT_EQ(find(), "kk_zwei-2 kk_zwei 1");
}

TEST_F(LowestFudgeTest, TheAgainQueueRulesOnceTheCorrectReviewsReachTheLimit) {
  sammlung("kk_test")->set_metadata("again_in_queue", "kk_test-3");
  sammlung("kk_zwei")->set_metadata("again_in_queue", "kk_zwei-2");
  EXPECT_EQ(find(), "kk_zwei-1 kk_zwei 1");
  // Restricted from the start: kk_zwei-2 (9) does not beat kk_test-3 (7).
  EXPECT_EQ(find(a_morning, 100, true), "kk_test-3 kk_test 0");

  kkv.maximale_wiederholungen_pro_tag = 3;
  sammlung("kk_test")->set_metadata("wiederholt_richtig", 2);
  EXPECT_EQ(find(), "kk_zwei-1 kk_zwei 1");
  // 2 + 1 reach the limit in kk_test, and the restriction holds in kk_zwei too.
  sammlung("kk_test")->set_metadata("alt_richtig", 1);
  EXPECT_EQ(find(), "kk_test-3 kk_test 0");

  // An empty queue lifts the restriction in its own collection only.
  sammlung("kk_test")->remove_from_metadata("again_in_queue", "kk_test-3");
  EXPECT_EQ(find(), "kk_test-2 kk_test 0");
  sammlung("kk_zwei")->remove_from_metadata("again_in_queue", "kk_zwei-2");
  EXPECT_EQ(find(), "kk_zwei-1 kk_zwei 1");
}

TEST_F(LowestFudgeTest, ACardLearnedAheadAndFailedWaitsForItsRealDueMoment) {
  record("kk_zwei-1").edit().due = Due::at(a_morning + 300);
  record("kk_test-2").edit().due = Due::at(a_morning + 600);
  sammlung("kk_zwei")->set_metadata("vorauslernen_modus_gelernt_karte_auf_again", "kk_zwei-1");
  const auto ahead = [&](double old_now, double vorauslernen) {
    return shown(kkv.finde_karte_due_niedrigster_fudge(a_morning + a_day, old_now, None, false,
                                                       vorauslernen, None, 100));
  };
  EXPECT_EQ(ahead(a_morning, a_day), "kk_test-2 kk_test 0");
  EXPECT_EQ(ahead(a_morning + 300, a_day), "kk_zwei-1 kk_zwei 1");
  EXPECT_EQ(ahead(a_morning, 0), "kk_zwei-1 kk_zwei 1");
}

TEST_F(LowestFudgeTest, OnlyNewCardsFindsLearningCardsAlsoWithoutDue) {
  record("kk_zwei-1").edit().learnstatus = Learnstatus::learned;
  record("kk_test-2").edit().due = Due();
  kkv.nur_neue_karten_anzeigen = true;
  EXPECT_EQ(find(), "kk_test-2 kk_test 0");
  kkv.nur_neue_karten_anzeigen = false;
  EXPECT_EQ(find(), "kk_zwei-1 kk_zwei 1");
}

TEST_F(LowestFudgeTest, TheSearchInOneCollectionLeavesOutSurplusNewCards) {
  record("kk_zwei-1").edit().due = Due();
  record("kk_zwei-2").edit().due = Due();
  record("kk_zwei-2").set_fudge(1);
  kkv.make_karte_due("kk_zwei-2", sammlung("kk_zwei"));
  kkv.make_karte_due("kk_zwei-1", sammlung("kk_zwei"));
  EXPECT_EQ(find_in("kk_zwei", 0), "kk_zwei-2 kk_zwei 1");
  // kk_zwei-2 was put due first.
  EXPECT_EQ(find_in("kk_zwei", 1), "kk_zwei-1 kk_zwei 1");
  EXPECT_EQ(find_in("kk_zwei", 2), "None None 0");
  // An answered card is no surplus.
  record("kk_zwei-2").edit().letzte_antwort = "good";
  EXPECT_EQ(find_in("kk_zwei", 1), "kk_zwei-2 kk_zwei 1");
  EXPECT_EQ(find_in("kk_test", 1), "kk_test-2 kk_test 0");

  sammlung("kk_zwei")->set_metadata("again_in_queue", "kk_zwei-1");
  sammlung("kk_zwei")->set_metadata("wiederholt_richtig", 3);
  EXPECT_EQ(find_in("kk_zwei", 0), "kk_zwei-1 kk_zwei 1");
  EXPECT_THAT(
      [&] {
        kkv.finde_karte_due_niedrigster_fudge_diese_sammlung(a_morning, a_morning, None, false, 0,
                                                             None, 100, nullptr, 0);
      },
      ::testing::ThrowsMessage<AttributeError>(
          ::testing::StrEq("'NoneType' object has no attribute 'karten'")));
}

TEST_F(LowestFudgeTest, WaehleCardPutsANewCardDueAndWidensTheWindow) {
  for (const std::string& name : all_cards) {
    record(name).edit().due = Due();
  }
  const double day_start =
      test_environment().cf.get_startzeit_tag_today(kkv.startzeit_tag);
  kkv.durchlauf_10_erfolgreich = true;
  // Nothing due: the new card with the lowest fudge is put due and chosen.
  EXPECT_EQ(kkv.waehle_card(), CardAndCollection("kk_zwei-1", "kk_zwei"));
  EXPECT_FALSE(kkv.durchlauf_10_erfolgreich);
  EXPECT_EQ(record("kk_zwei-1")->due, Due::at(day_start));
  EXPECT_EQ(repr(sammlung("kk_zwei")->get_metadata_heute("neue_karte_heute_faellig_gestellt")),
            "['kk_zwei-1']");

  // Few due now: a review due in five minutes with a lower fudge comes
  // first, and one more new card is put due.
  record("kk_test-1").edit().due = Due::at(a_morning + 300);
  record("kk_test-1").set_fudge(1);
  EXPECT_EQ(kkv.waehle_card(), CardAndCollection("kk_test-1", "kk_test"));
  EXPECT_EQ(record("kk_test-2")->due, Due::at(day_start));

  // Only new cards, none left to put due today: a learning card without due
  // is chosen and becomes due now.
  kkv.neue_karten_nur_heute = 1;
  kkv.nur_neue_karten_anzeigen = true;
  record("kk_test-1").edit().learnstatus = Learnstatus::learned;
  record("kk_test-3").set_fudge(0);
  EXPECT_EQ(kkv.waehle_card(), CardAndCollection("kk_test-3", "kk_test"));
  EXPECT_EQ(record("kk_test-3")->due, Due::at(a_morning));
  EXPECT_EQ(record("kk_zwei-2")->due, Due());
}

}  // namespace
}  // namespace tavo::kk::testing
