// Importing decks into stored collections and registering them again.
#include "support/test_environment.hpp"
#include "karteikarten/frame/decks.hpp"

#include <gtest/gtest.h>

#include "karteikarten/frame/learning_step.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using platform::DeckCard;

class DecksTest : public ::testing::Test {
 protected:
  DecksTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {
    test_environment().cf.set_fixed_now(1632297600);  // 2021-09-22 10:00
  }
  ~DecksTest() override { test_environment().cf.clear_fixed_now(); }

  static std::string card_name(const std::string& frage) {
    return "kk_deck-" + deck_card_key(frage);
  }

 private:
  testing::TemporaryDirectory directory_;
  testing::ScopedEnvironment data_dir_;
};

TEST_F(DecksTest, ReimportKeepsTheLearningStateOfCardsWhoseQuestionStayed) {
  {
    Karteikartenverwaltung kkv{test_environment()};
    const DeckImport first =
        import_deck(kkv, {{"Q1", "A1", 1}, {"Q2", "A2", 2}, {"Q3", "A3", 3}}, "kk_deck");
    EXPECT_EQ(first.added, 3U);
    std::optional<Karteikarte> card = kkv.get_card();
    ASSERT_TRUE(card);
    answer_card(kkv, *card, Antwort{"easy", 5});
  }
  const auto answered = [&] {
    Karteikartenverwaltung kkv{test_environment()};
    add_stored_haendesammlung(kkv, "kk_deck");
    for (const auto& [name, record] : kkv.hc.sammlung_named("kk_deck")->karten) {
      if (record->learnstatus == Learnstatus::learned) return name;
    }
    return std::string();
  }();
  ASSERT_FALSE(answered.empty());

  // The answered card stays with a new answer; another goes, a new one comes.
  std::vector<DeckCard> changed;
  for (const char* frage : {"Q1", "Q2", "Q3"}) {
    if (card_name(frage) == answered) changed.push_back({frage, "new answer", 1});
  }
  if (card_name("Q1") == answered) {
    changed.push_back({"Q2", "A2", 2});
  } else {
    changed.push_back({"Q1", "A1", 2});
  }
  changed.push_back({"Q4", "A4", 3});
  {
    Karteikartenverwaltung kkv{test_environment()};
    const DeckImport second = import_deck(kkv, changed, "kk_deck");
    EXPECT_EQ(second.added, 1U);
    EXPECT_EQ(second.changed, 1U);
    EXPECT_EQ(second.unchanged, 1U);
    EXPECT_EQ(second.removed, 1U);
  }
  Karteikartenverwaltung kkv{test_environment()};
  add_stored_haendesammlung(kkv, "kk_deck");
  const kk::Haendesammlung& sammlung = *kkv.hc.sammlung_named("kk_deck");
  ASSERT_EQ(sammlung.karten.size(), 3U);
  const CardRecord& kept = *sammlung.karten.at(answered);
  EXPECT_EQ(kept.learnstatus, Learnstatus::learned);
  EXPECT_EQ(kept.antworttext, "new answer");
  EXPECT_EQ(sammlung.karten.names().at(0), answered) << "the deck's order";
  EXPECT_TRUE(sammlung.karten.at(card_name("Q4"))->due.is_none());
}

TEST_F(DecksTest, APlanTellsWhatEachCardBecomesAndARenamedCardKeepsItsName) {
  {
    Karteikartenverwaltung kkv{test_environment()};
    import_deck(kkv, {{"Q1", "A1", 1}, {"Q2", "A2", 2}, {"Q3", "A3", 3}}, "kk_deck");
    std::optional<Karteikarte> card = kkv.get_card();
    ASSERT_TRUE(card);
    answer_card(kkv, *card, Antwort{"good", 5});
  }
  const std::string answered = [] {
    Karteikartenverwaltung kkv{test_environment()};
    add_stored_haendesammlung(kkv, "kk_deck");
    for (const auto& [name, record] : kkv.hc.sammlung_named("kk_deck")->karten) {
      if (!record->karte_ist_neu) return *record->fragetext;
    }
    return std::string();
  }();
  ASSERT_FALSE(answered.empty());
  const std::string other = answered == "Q1" ? "Q2" : "Q1";
  const std::string gone = answered == "Q3" ? "Q2" : "Q3";
  const std::vector<DeckCard> deck{{other, "changed", 1}, {answered + "!", "A", 2}};

  const auto kinds = [](const DeckImportPlan& plan) {
    std::string text;
    for (const PlannedDeckCard& card : plan.cards) {
      text += card.deck_card.fragetext + ":" + std::to_string(static_cast<int>(card.change)) + " ";
    }
    for (const RemovedDeckCard& card : plan.removed) {
      text += "-" + card.question + (card.answered ? "(answered) " : " ");
    }
    return text;
  };
  using C = DeckCardChange;
  const std::string added = std::to_string(static_cast<int>(C::added));
  const std::string changed = std::to_string(static_cast<int>(C::changed));
  const std::string renamed = std::to_string(static_cast<int>(C::renamed));
  const std::string unchanged = std::to_string(static_cast<int>(C::unchanged));
  const DeckImportPlan plain = plan_deck_import(test_environment(), deck, "kk_deck");
  const std::vector<RemovedDeckCard> lost = plain.answered_removed();
  ASSERT_EQ(lost.size(), 1U);
  EXPECT_EQ(lost[0].question, answered);
  const DeckImportPlan plan =
      plan_deck_import(test_environment(), deck, "kk_deck", {{answered, answered + "!"}});
  EXPECT_EQ(kinds(plan), other + ":" + changed + " " + answered + "!:" + renamed + " -" + gone + " ");
  EXPECT_EQ(plan.cards[1].old_question, answered);
  EXPECT_EQ(plan.cards[1].card_name, card_name(answered));
  {
    Karteikartenverwaltung kkv{test_environment()};
    const DeckImport counts = import_deck(kkv, plan);
    EXPECT_EQ(counts.renamed, 1U);
    EXPECT_EQ(counts.removed, 1U);
  }
  Karteikartenverwaltung kkv{test_environment()};
  add_stored_haendesammlung(kkv, "kk_deck");
  const CardRecord& kept = *kkv.hc.sammlung_named("kk_deck")->karten.at(card_name(answered));
  EXPECT_FALSE(kept.karte_ist_neu);
  EXPECT_EQ(kept.fragetext, answered + "!");
  EXPECT_EQ(kept.antworttext, "A");

  // The renamed card goes on by its new question; a new card asking the
  // old question again gets a name of its own.
  std::vector<DeckCard> again = deck;
  again.push_back({answered, "back", 3});
  const DeckImportPlan next = plan_deck_import(test_environment(), again, "kk_deck");
  EXPECT_EQ(kinds(next), other + ":" + unchanged + " " + answered + "!:" + unchanged + " " +
                             answered + ":" + added + " ");
  EXPECT_NE(next.cards[2].card_name, card_name(answered));
  EXPECT_EQ(next.cards[2].card_name.size(), card_name(answered).size());
}

TEST_F(DecksTest, BadNamesAndUnknownCollectionsAreRefusedWithoutStoringAnything) {
  Karteikartenverwaltung kkv{test_environment()};
  for (const char* name : {"", "kk deck", "kk-deck", "kk_deck_vergessen"}) {
    EXPECT_THROW(import_deck(kkv, {{"Q", "A", 1}}, name), ValueError) << name;
  }
  EXPECT_TRUE(stored_deck_collections(test_environment()).empty());
  try {
    add_stored_haendesammlung(kkv, "kk_deck");
    FAIL();
  } catch (const KeyError& error) {
    EXPECT_STREQ(error.what(), "no stored collection 'kk_deck'");
  }
  import_deck(kkv, {{"Q", "A", 1}}, "kk_deck");
  EXPECT_THROW(import_deck(kkv, {{"Q", "A", 1}}, "kk_deck"), ValueError) << "already registered";
  EXPECT_EQ(stored_deck_collections(test_environment()), std::vector<std::string>{"kk_deck"});
  EXPECT_EQ(deck_card_key("Q"), deck_card_key(std::string("Q")));
  EXPECT_EQ(deck_card_key("Q").size(), 12U);
}

}  // namespace
}  // namespace tavo::kk
