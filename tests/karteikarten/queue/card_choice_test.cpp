#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "support/test_environment.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/environment.hpp"
#include "platform/importiere_haende.hpp"
#include "platform/random_source.hpp"
#include "value/errors.hpp"

namespace tavo::kk::testing {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

class CardChoiceTest : public SchedulingTest {
 protected:
  ~CardChoiceTest() override { test_environment().hands.clear(); }

  SammlungRef sammlung(const std::string& name = "kk_test") const {
    return kkv.hc.sammlung_named(name);
  }
  // The record of "<collection>-<number>".
  CardRef record(const std::string& kartenname) const {
    return sammlung(kartenname.substr(0, kartenname.find('-')))->karten.at(kartenname);
  }
  // Makes the card a review (answered on an earlier day), due at `due`.
  void make_review(const std::string& kartenname, double due) const {
    record(kartenname).edit().karte_ist_neu = false;
    record(kartenname).edit().due = Due::at(due);
  }
  // The name of the card get_card() offers under `seed`, or "" for none.
  std::string card_name(std::uint64_t seed) {
    test_environment().random.seed(seed);
    const std::optional<Karteikarte> card = kkv.get_card();
    return card ? card->get_name() : "";
  }
  // The card vergleiche_card_eher_due puts first, of two named cards.
  std::string first_of(const std::string& a, const std::string& b) {
    const auto collection = [](const std::string& name) { return name.substr(0, name.find('-')); };
    return *kkv.vergleiche_card_eher_due(a, collection(a), b, collection(b)).first;
  }
};

TEST_F(CardChoiceTest, NothingToShowClearsTheCollection) {
  kkv.continuous_learning = false;
  kkv.durchlauf_10_counter = 10;
  kkv.make_karte_due_bool = true;
  EXPECT_EQ(kkv.waehle_card_eine_sammlung(sammlung()), CardAndCollection());
  EXPECT_FALSE(kkv.make_karte_due_bool);
  EXPECT_EQ(kkv.get_card(), std::nullopt);
  EXPECT_EQ(kkv.sammlungsort_name, std::nullopt);

  kkv.durchlauf_10_counter = 9;
  EXPECT_NE(card_name(1), "");
  kkv.durchlauf_10_counter = 10;
  kkv.continuous_learning = true;
  EXPECT_NE(card_name(1), "");
  EXPECT_EQ(kkv.sammlungsort_name, "kk_test");

  kkv.remove_alle_haendesammlungen();
  EXPECT_EQ(kkv.waehle_card_aus_mehreren_sammlungen(), CardAndCollection());
  EXPECT_EQ(kkv.get_card(), std::nullopt);
  EXPECT_EQ(kkv.sammlungsort_name, std::nullopt);
}

TEST_F(CardChoiceTest, EarlierDueThenLowerFudgeThenLaterCollectionComesFirst) {
  kkv.add_haendesammlung(Dict{{1, Dict{{"fragetext", "F"}, {"antworttext", "A"}}}}, "kk_zwei");
  make_review("kk_test-1", a_morning - 100);
  make_review("kk_zwei-1", a_morning - 100);
  record("kk_test-1").set_fudge(4);
  record("kk_zwei-1").set_fudge(4);
  EXPECT_EQ(kkv.vergleiche_card_eher_due("kk_test-1", "kk_test", "kk_zwei-1", "kk_zwei"),
            CardAndCollection("kk_zwei-1", "kk_zwei"));
  EXPECT_EQ(first_of("kk_zwei-1", "kk_test-1"), "kk_test-1");

  // Lower fudge, then earlier due, then None before and "done" after moments.
  record("kk_zwei-1").set_fudge(5);
  EXPECT_EQ(first_of("kk_test-1", "kk_zwei-1"), "kk_test-1");
  record("kk_zwei-1").edit().due = Due::at(a_morning - 200);
  EXPECT_EQ(first_of("kk_test-1", "kk_zwei-1"), "kk_zwei-1");
  record("kk_test-2").set_fudge(9);
  EXPECT_EQ(first_of("kk_test-2", "kk_zwei-1"), "kk_test-2");
  record("kk_test-3").edit().due = Due::done();
  record("kk_test-3").set_fudge(1);
  EXPECT_EQ(first_of("kk_test-3", "kk_zwei-1"), "kk_zwei-1");
  EXPECT_EQ(kkv.vergleiche_card_eher_due(std::nullopt, std::nullopt, "kk_zwei-1", "kk_zwei"),
            CardAndCollection("kk_zwei-1", "kk_zwei"));
  EXPECT_EQ(kkv.vergleiche_card_eher_due("kk_test-1", "kk_test", std::nullopt, std::nullopt),
            CardAndCollection("kk_test-1", "kk_test"));

  // Across collections the new card of the later one beats the reviews.
  for (int i = 1; i <= 3; ++i) make_review("kk_test-" + std::to_string(i), a_morning - 60);
  make_review("kk_zwei-1", a_morning - 60);
  kkv.add_haendesammlung(Dict{{1, Dict{{"fragetext", "F"}, {"antworttext", "A"}}}}, "kk_drei");
  for (std::uint64_t seed = 0; seed < 8; ++seed) EXPECT_EQ(card_name(seed), "kk_drei-1") << seed;
  EXPECT_EQ(kkv.sammlungsort_name, "kk_drei");
}

TEST_F(CardChoiceTest, OnlyNewCardsLeavesDueReviewsOut) {
  make_review("kk_test-1", a_morning - 60);
  std::set<std::string> chosen;
  kkv.nur_neue_karten_anzeigen = true;
  for (std::uint64_t seed = 0; seed < 16; ++seed) chosen.insert(card_name(seed));
  EXPECT_EQ(chosen, (std::set<std::string>{"kk_test-2", "kk_test-3"}));

  kkv.nur_neue_karten_anzeigen = false;
  for (std::uint64_t seed = 0; seed < 16; ++seed) chosen.insert(card_name(seed));
  EXPECT_TRUE(chosen.contains("kk_test-1"));
}

TEST_F(CardChoiceTest, OnlyAChosenNewCardIsToBePutDue) {
  make_review("kk_test-1", a_morning - 60);
  record("kk_test-1").set_fudge(1);
  record("kk_test-2").set_fudge(5);
  record("kk_test-3").set_fudge(6);
  EXPECT_EQ(kkv.waehle_card_eine_sammlung(sammlung()), CardAndCollection("kk_test-1", "kk_test"));
  EXPECT_FALSE(kkv.make_karte_due_bool);

  record("kk_test-1").set_fudge(9);
  EXPECT_EQ(kkv.waehle_card_eine_sammlung(sammlung()), CardAndCollection("kk_test-2", "kk_test"));
  EXPECT_TRUE(kkv.make_karte_due_bool);
  EXPECT_TRUE(record("kk_test-2")->due.is_none());
  EXPECT_EQ(sammlung()->neue_dict, Value(None));
}

TEST_F(CardChoiceTest, AHandCardGetsItsHandBeforeItIsShown) {
  const std::string question = card_name(3);
  EXPECT_EQ(kkv.sammlungsort_name, "kk_test");
  EXPECT_FALSE(record(question)->extra.contains("handinfo"));

  kkv.remove_alle_haendesammlungen();
  kkv.add_haendesammlung(Dict{{1, Dict{{"nur_reizung", true}}}}, "kk_hand");
  EXPECT_THAT([&] { kkv.get_card(); },
              ThrowsMessage<KeyError>(StrEq("no hand registered as 'kk_hand.hand1'")));
  const Dict hand{{"reizung", List{"1C", "pass"}}};
  test_environment().hands.register_modul("kk_hand", Dict{{1, hand}});
  const std::optional<Karteikarte> card = kkv.get_card();
  ASSERT_TRUE(card);
  EXPECT_EQ(card->get_name(), "kk_hand-1");
  EXPECT_EQ(card->get_modus(), 1);
  EXPECT_EQ(kkv.sammlungsort_name, "kk_hand");
  EXPECT_EQ(record("kk_hand-1")->extra.get("handinfo"), Value(hand));
}

TEST_F(CardChoiceTest, LearningAheadIsRestoredAfterTheChoice) {
  for (int i = 1; i <= 3; ++i) {
    make_review("kk_test-" + std::to_string(i), a_morning + a_day);
    record("kk_test-" + std::to_string(i)).set_fudge(i);
  }
  EXPECT_EQ(kkv.waehle_card_eine_sammlung(sammlung()), CardAndCollection());
  kkv.vorauslernen_tage = 2;
  sammlung()->set_vorauslernen_tage(2);
  EXPECT_EQ(kkv.waehle_card_eine_sammlung(sammlung()), CardAndCollection("kk_test-1", "kk_test"));
  EXPECT_EQ(kkv.vorauslernen_tage, 2);
  EXPECT_EQ(sammlung()->vorauslernen, 2);

  // Showing only new cards keeps learning ahead off until the new card
  // without a fudge fails the choice.
  kkv.nur_neue_karten_anzeigen = true;
  record("kk_test-2").edit().due = Due();
  record("kk_test-2").set_fudge(std::nullopt);
  EXPECT_THAT([&] { kkv.waehle_card_eine_sammlung(sammlung()); },
              ThrowsMessage<KeyError>(StrEq("'fudge'")));
  EXPECT_EQ(kkv.vorauslernen_tage, 2);
  EXPECT_EQ(sammlung()->vorauslernen, 2);
}

TEST_F(CardChoiceTest, NoNewCardBeyondTodaysLimit) {
  kkv.neue_karten_pro_tag = 2;
  for (const char* name : {"kk_test-1", "kk_test-2"}) {
    sammlung()->set_metadata("neue_karte_heute_faellig_gestellt", name);
    record(name).edit().due = Due::at(a_morning + a_day);
  }
  EXPECT_EQ(card_name(1), "");

  // A card put due today continues even without reviews left for today.
  kkv.maximale_wiederholungen_pro_tag = 0;
  record("kk_test-1").edit().due = Due::at(a_morning);
  EXPECT_EQ(card_name(1), "kk_test-1");
  EXPECT_FALSE(kkv.make_karte_due_bool);

  kkv.neue_karten_pro_tag = 3;
  record("kk_test-1").edit().due = Due::at(a_morning + a_day);
  EXPECT_EQ(card_name(1), "kk_test-3");
  EXPECT_TRUE(kkv.make_karte_due_bool);
}

}  // namespace
}  // namespace tavo::kk::testing
