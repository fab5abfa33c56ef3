#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/test_environment.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk::testing {
namespace {

// "kk_test" (fudges 5, 3, 7) and, registered after it and current,
// "kk_zwei" (fudges 3, 9).
class MakingCardsDueTest : public SchedulingTest {
 protected:
  MakingCardsDueTest() {
    Dict modul;
    for (int i = 1; i <= 2; ++i) {
      modul.set(i, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
    }
    kkv.add_haendesammlung(modul, "kk_zwei");
    set_fudges("kk_test", {5, 3, 7});
    set_fudges("kk_zwei", {3, 9});
  }

  SammlungRef sammlung(const std::string& name) const { return kkv.hc.sammlung_named(name); }
  // The record of "<collection>-<number>".
  CardRef record(const std::string& kartenname) const {
    return sammlung(kartenname.substr(0, kartenname.find('-')))->karten.at(kartenname);
  }
  void set_fudges(const std::string& name, const std::vector<std::int64_t>& fudges) {
    for (std::size_t i = 0; i < fudges.size(); ++i) {
      record(name + "-" + std::to_string(i + 1)).set_fudge(fudges[i]);
    }
  }
  std::string put_due_today(const std::string& name) const {
    return repr(sammlung(name)->get_metadata_heute("neue_karte_heute_faellig_gestellt"));
  }
  double day_start() const {
    return test_environment().cf.get_startzeit_tag_today(kkv.startzeit_tag);
  }
};

TEST_F(MakingCardsDueTest, MakeOneDueTakesTheLowestFudgeOfTheCollectionsBelowTheLimit) {
  record("kk_test-3").set_fudge(0);
  record("kk_test-3").edit().due = Due::at(a_morning + a_day);
  // The tie at fudge 3 goes to the earlier collection; the due card is skipped.
  EXPECT_EQ(kkv.make_one_due(10), "kk_test-2");
  EXPECT_EQ(record("kk_test-2")->due, Due::at(day_start()));
  EXPECT_EQ(kkv.make_one_due(10), "kk_zwei-1");
  EXPECT_EQ(put_due_today("kk_test"), "['kk_test-2']");

  // Both collections have put one card due: none is below the limit 1.
  EXPECT_EQ(kkv.make_one_due(1), std::nullopt);
  EXPECT_TRUE(record("kk_test-1")->due.is_none());
  EXPECT_EQ(put_due_today("kk_test"), "['kk_test-2']");
}

TEST_F(MakingCardsDueTest, PuttingDueRecordsInTheCardsOwnCollection) {
  kkv.make_karte_due("kk_test-1", sammlung("kk_test"));
  EXPECT_EQ(kkv.sammlungsort_name, "kk_zwei");
  EXPECT_EQ(record("kk_test-1")->due, Due::at(day_start()));
  EXPECT_EQ(put_due_today("kk_test"), "['kk_test-1']");
  EXPECT_EQ(put_due_today("kk_zwei"), "None");

  EXPECT_THROW(kkv.make_karte_due("kk_test-9", sammlung("kk_test")), KeyError);
  EXPECT_EQ(put_due_today("kk_test"), "['kk_test-1']");
  EXPECT_THROW(kkv.make_one_due_eine_sammlung(10, "kk_fehlt"), KeyError);

  EXPECT_EQ(kkv.make_one_due_eine_sammlung(10, "kk_zwei"), "kk_zwei-1");
  EXPECT_EQ(put_due_today("kk_zwei"), "['kk_zwei-1']");
  EXPECT_EQ(kkv.make_one_due_eine_sammlung(1, "kk_zwei"), std::nullopt);
  record("kk_zwei-2").set_fudge(std::nullopt);
  EXPECT_THROW(kkv.make_one_due_eine_sammlung(10, "kk_zwei"), KeyError);

  // A failing record (the collection cannot tell its day) still switches
  // back to the current collection.
  sammlung("kk_test")->startzeit_tag = 24;
  EXPECT_THROW(kkv.make_karte_due("kk_test-2", sammlung("kk_test")), ValueError);
  EXPECT_EQ(kkv.sammlungsort_name, "kk_zwei");
}

TEST_F(MakingCardsDueTest, SurplusRemovesTheCardsPutDueFirst) {
  EXPECT_EQ(kkv.sortiere_neue_karten_heute_nach_faellig_gestellt(
                {"kk_test-1", DateTime(2021, 9, 22, 10)}),
            a_morning);
  EXPECT_EQ(kkv.sortiere_neue_karten_heute_nach_faellig_gestellt({"kk_test-1", std::nullopt}),
            a_morning + 1000);

  kkv.make_karte_due("kk_test-2", sammlung("kk_test"));
  kkv.make_karte_due("kk_test-3", sammlung("kk_test"));
  record("kk_test-1").edit().faellig_erstes_mal = DateTime(2021, 9, 22, 9);
  record("kk_test-2").edit().faellig_erstes_mal = DateTime(2021, 9, 22, 10, 5);
  kkv.korrigiere_ueberschuss(sammlung("kk_test"), 1);
  EXPECT_EQ(sammlung("kk_test")->karten.names(),
            (std::vector<std::string>{"kk_test-1", "kk_test-3"}));
  kkv.korrigiere_ueberschuss(sammlung("kk_test"), 5);
  EXPECT_EQ(sammlung("kk_test")->karten.names(), std::vector<std::string>{"kk_test-1"});
}

TEST_F(MakingCardsDueTest, MakeAllCardsForTodayFillsWhatTheLimitLeaves) {
  kkv.neue_karten_pro_tag = 2;
  kkv.make_all_cards_for_today();
  EXPECT_TRUE(record("kk_test-2")->due.is_none());

  kkv.hc.aktuelle_haendesammlung = sammlung("kk_test");
  kkv.make_karte_due("kk_test-1", sammlung("kk_test"));
  kkv.make_all_cards_for_today();
  kkv.make_all_cards_for_today();
  EXPECT_EQ(record("kk_test-2")->due, Due::at(day_start()));
  EXPECT_TRUE(record("kk_test-3")->due.is_none());
  EXPECT_EQ(put_due_today("kk_test"), "['kk_test-1', 'kk_test-2']");
}

}  // namespace
}  // namespace tavo::kk::testing
