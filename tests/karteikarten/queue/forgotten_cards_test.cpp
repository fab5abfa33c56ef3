#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/test_environment.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "karteikarten/collection/haendesammlung_vergessen.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/environment.hpp"
#include "value/repr.hpp"

namespace tavo::kk::testing {
namespace {

// "kk_test" (three cards) and "kk_zwei" (seven cards), the drill looking
// two learning days back from the moment the module was loaded, a
// morning: the cut-off is 2021-09-20 03:00.
class ForgottenCardsTest : public SchedulingTest {
 protected:
  ForgottenCardsTest() {
    Dict modul;
    for (int i = 1; i <= 7; ++i) {
      modul.set(i, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
    }
    kkv.add_haendesammlung(modul, "kk_zwei");
    kkv.hc.fudge_erneuern();
    kkv.environment().start_date = DateTime::fromtimestamp(a_morning);
    kkv.setze_vergessen_modus(2);
  }

  CardRef record(const std::string& name) const {
    return kkv.hc.sammlung_named(name.substr(0, name.find('-')))->karten.at(name);
  }
  // Marks the card as forgotten `days_ago` days before the morning, with
  // the given permanent review order and fudge.
  void forget(const std::string& name, double days_ago, std::int64_t wdh = 1,
              std::int64_t fudge = 1) const {
    record(name).edit().zuletzt_vergessen = a_morning - days_ago * a_day;
    record(name).edit().permanent_fudge_wdh = wdh;
    record(name).set_fudge(fudge);
  }
  std::optional<std::string> choice(const std::string& sammlung) {
    return kkv.waehle_card_vergessene(kkv.hc.sammlung_named(sammlung)).first;
  }
  // The learning state of every card of `sammlung`, as stored.
  static std::map<std::string, std::uint64_t> fingerprints(const kk::Haendesammlung& s) {
    std::map<std::string, std::uint64_t> result;
    for (const auto& [name, card] : s.karten) result[name] = stored_fingerprint(*card);
    return result;
  }
};

TEST_F(ForgottenCardsTest, ChoiceTakesRecentlyForgottenCardsOnce) {
  forget("kk_test-1", 1);
  record("kk_test-2").edit().zuletzt_vergessen = 0.0;
  forget("kk_test-3", 2.5);  // before the cut-off
  EXPECT_EQ(choice("kk_test"), "kk_test-1");

  kkv.durchlauf_10_counter = 10;
  EXPECT_EQ(choice("kk_test"), std::nullopt) << "the pass limit holds";
  kkv.continuous_learning = true;
  EXPECT_EQ(choice("kk_test"), "kk_test-1");

  kkv.add_karte_vergessene_liste("kk_test-1", "kk_test");
  EXPECT_FALSE(kkv.karte_in_vergessene_karten("kk_test-1", "kk_test")) << "the mode is off";
  kkv.modus_vergessene_karten = true;
  kkv.add_karte_vergessene_liste("kk_test-1", "kk_test");
  EXPECT_TRUE(kkv.karte_in_vergessene_karten("kk_test-1", "kk_test_vergessen"));
  EXPECT_EQ(choice("kk_test"), std::nullopt);
  kkv.setze_vergessen_modus(2);
  EXPECT_EQ(choice("kk_test"), "kk_test-1");
}

TEST_F(ForgottenCardsTest, FiveLowestInReviewOrderCompete) {
  const std::vector<std::int64_t> wdh = {7, 1, 6, 2, 5, 3, 4};
  for (int i = 0; i < 7; ++i) {
    // The lower the review order, the higher the fudge: wdh 7 has fudge 1.
    forget("kk_zwei-" + std::to_string(i + 1), 1, wdh[i], 8 - wdh[i]);
  }
  EXPECT_EQ(choice("kk_zwei"), "kk_zwei-5") << "wdh 5, the lowest fudge of wdh 1 to 5";
  kkv.hc.sammlung_named("kk_zwei")->remove_card("kk_zwei-3");  // wdh 6
  kkv.hc.sammlung_named("kk_zwei")->remove_card("kk_zwei-7");  // wdh 4
  EXPECT_EQ(choice("kk_zwei"), "kk_zwei-1") << "five candidates are taken as they are";
}

TEST_F(ForgottenCardsTest, DrillCollectionsAreSeparateAndSwap) {
  forget("kk_test-2", 1);
  kkv.hc.dictionary_speichern_alle_sammlungen();
  const SammlungRef normal = kkv.hc.sammlung_named("kk_test");
  kkv.alle_sammlung_vergessene_karten(2);

  ASSERT_EQ(kkv.hc.liste_aller_sammlungen.size(), 2u);
  const SammlungRef drill = kkv.hc.liste_aller_sammlungen[0];
  EXPECT_EQ(drill->name, "kk_test_vergessen");
  EXPECT_NE(std::dynamic_pointer_cast<kk::Haendesammlung_vergessen>(drill), nullptr);
  EXPECT_EQ(drill->karten.size(), 1u);
  EXPECT_TRUE(drill->karten.contains("kk_test-2"));
  EXPECT_NE(drill->karten.at("kk_test-2"), normal->karten.at("kk_test-2")) << "a copy";
  EXPECT_EQ(kkv.hc.liste_aller_sammlungen[1]->karten.size(), 0u) << "kk_zwei forgot nothing";
  EXPECT_EQ(kkv.hc.archiv_liste_aller_sammlungen[0], normal);
  EXPECT_EQ(kkv.hc.sammlung_named("kk_test"), drill) << "the base name finds the drill";
  EXPECT_EQ(kk::PickleDump(test_environment())
                .get_haendesammlung("kk_test_vergessen")
                .first->karten.size(),
            1u);
  EXPECT_EQ(kk::PickleDump(test_environment())
                .get_haendesammlung("kk_test")
                .first->karten.size(),
            3u);

  kkv.vergessen_zurueck_dict_herstellen(true);
  EXPECT_EQ(kkv.hc.liste_aller_sammlungen[0], drill) << "the mode is off: no swap";
  kkv.modus_vergessene_karten = true;
  kkv.vergessen_zurueck_dict_herstellen(false);
  EXPECT_EQ(kkv.hc.liste_aller_sammlungen[0], drill) << "the drill is already live";
  kkv.vergessen_zurueck_dict_herstellen(true);
  EXPECT_EQ(kkv.hc.liste_aller_sammlungen[0], normal);
  kkv.vergessen_zurueck_dict_herstellen(false);
  EXPECT_EQ(kkv.hc.liste_aller_sammlungen[0], drill);
}

TEST_F(ForgottenCardsTest, DrillLeavesTheNormalCollectionsAsTheyWere) {
  forget("kk_test-1", 1, 1, 2);
  forget("kk_test-3", 0.5, 2, 3);
  forget("kk_zwei-4", 1, 1, 1);
  kkv.hc.dictionary_speichern_alle_sammlungen();
  std::map<std::string, std::string> in_memory;
  std::map<std::string, std::map<std::string, std::uint64_t>> stored;
  for (const SammlungRef& s : kkv.hc.liste_aller_sammlungen) {
    in_memory[s->name] = repr(s->metadata);
    for (const auto& [name, card] : s->karten) in_memory[name] = repr(card_record_to_value(*card));
    stored[s->name] = fingerprints(*s);
  }

  kkv.setze_vergessen_modus(2);
  kkv.alle_sammlung_vergessene_karten(2);
  kkv.modus_vergessene_karten = true;
  std::vector<std::string> drilled;
  std::optional<Karteikarte> card = kkv.get_card();
  bool again_given = false;
  while (card && drilled.size() < 10) {
    drilled.push_back(card->get_name());
    const std::string response = again_given ? "good" : "again";
    const Value tage = answer_card(kkv, *card, Antwort{response, 5});
    EXPECT_EQ(repr(tage), again_given ? "'done'" : repr(Value(10.0 / 1440)));
    again_given = !again_given;
    card = kkv.get_card();
  }
  EXPECT_EQ(drilled.size(), 6u) << "three cards, each again and then good";
  EXPECT_THAT(drilled, ::testing::IsSupersetOf({"kk_test-1", "kk_test-3", "kk_zwei-4"}));
  const auto drill_store =
      kk::PickleDump(test_environment()).get_haendesammlung("kk_test_vergessen").first;
  EXPECT_TRUE(drill_store->karten.at("kk_test-1")->due.is_done()) << "answers land in the drill";

  kkv.vergessen_zurueck_dict_herstellen(true);
  kkv.modus_vergessene_karten = false;
  for (const SammlungRef& s : kkv.hc.liste_aller_sammlungen) {
    EXPECT_EQ(repr(s->metadata), in_memory[s->name]);
    for (const auto& [name, card] : s->karten) {
      EXPECT_EQ(repr(card_record_to_value(*card)), in_memory[name]) << name;
    }
    EXPECT_EQ(
        fingerprints(
            *kk::PickleDump(test_environment()).get_haendesammlung(s->name).first),
        stored[s->name]);
  }
  EXPECT_TRUE(kkv.get_card().has_value()) << "normal learning goes on";
}

}  // namespace
}  // namespace tavo::kk::testing
