#include "support/test_environment.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/environment.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

// 2021-09-22 10:00:00 in Europe/Berlin.
constexpr double a_morning = 1632297600;

Dict question(const std::string& text) {
  return Dict{{"fragetext", text + "?"}, {"antworttext", text + "!"}};
}

class ContainerTest : public ::testing::Test {
 protected:
  ContainerTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {
    test_environment().cf.set_fixed_now(a_morning);
  }
  ~ContainerTest() override { test_environment().cf.clear_fixed_now(); }

  testing::TemporaryDirectory directory_;
  testing::ScopedEnvironment data_dir_;
};

TEST_F(ContainerTest, NormalisesModuleKeysToCardNames) {
  Karteikartenverwaltung kkv{test_environment()};
  Dict modul{{"kk_test-1", question("one")}, {7, question("seven")}, {"x", question("x")}};
  kkv.add_haendesammlung(modul, "kk_test");
  EXPECT_EQ(modul.keys(), (std::vector<Value>{"kk_test-1", "kk_test-7", "kk_test-x"}));
  const SammlungRef sammlung = kkv.hc.get_richtige_sammlung("kk_test");
  EXPECT_EQ(sammlung->karten.names(),
            (std::vector<std::string>{"kk_test-1", "kk_test-7", "kk_test-x"}));
  const CardRecord& seven = *sammlung->karten.at("kk_test-7");
  EXPECT_EQ(seven.fragetext, "seven?");
  EXPECT_TRUE(seven.due.is_none());
  EXPECT_EQ(repr(seven.ease_factor), "130");
  EXPECT_TRUE(seven.permanent_fudge_neu.has_value());
  EXPECT_TRUE(seven.permanent_fudge_wdh.has_value());
}

TEST_F(ContainerTest, LookupOfUnknownNamesFindsNothing) {
  Karteikartenverwaltung kkv{test_environment()};
  EXPECT_EQ(kkv.hc.get_index_from_name("kk_test"), -1);
  kkv.add_haendesammlung(Dict{{1, question("one")}}, "kk_test");
  kkv.add_haendesammlung(Dict{{1, question("eins")}}, "kk_zwei");
  EXPECT_EQ(kkv.hc.get_index_from_name("kk_zwei"), 1);
  EXPECT_EQ(kkv.hc.get_index_from_name("kk_drei"), -1);
  EXPECT_EQ(kkv.hc.get_richtige_sammlung("kk_drei"), nullptr);
  EXPECT_FALSE(kkv.hc.check_vergessen());
  // By-name operations on an unknown name leave every collection alone.
  kkv.hc.set_metadaten_richtige_sammlung("kk_drei", "heute_falsch", "kk_drei-1");
  kkv.hc.append_now_to_richtige_sammlung("faellig_liste", 1, "kk_drei");
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    EXPECT_TRUE(sammlung->metadata.empty());
  }
  EXPECT_THROW(kkv.hc.remove(kkv.hc.make_new()), ValueError);
  kkv.hc.iterate_change_name();
  EXPECT_TRUE(kkv.hc.check_vergessen());
  EXPECT_EQ(kkv.hc.liste_aller_sammlungen[0]->name, "kk_test_vergessen");
}

TEST_F(ContainerTest, FudgeRenewalSharesOnePermutation) {
  Karteikartenverwaltung kkv{test_environment()};
  kkv.add_haendesammlung(Dict{{1, question("a")}, {2, question("b")}, {3, question("c")}}, "kk_a");
  kkv.add_haendesammlung(Dict{{1, question("d")}, {2, question("e")}}, "kk_b");
  kkv.hc.fudge_erneuern();
  std::vector<std::int64_t> fudges;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    for (const auto& [card_name, record] : sammlung->karten)
      fudges.push_back(record->fudge().value());
  }
  std::sort(fudges.begin(), fudges.end());
  EXPECT_EQ(fudges, (std::vector<std::int64_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(
      kkv.hc.liste_aller_sammlungen[0]->metadata.at("anzahl_neue_karten_in_sammlung_vorhanden"),
      Value(3));
  EXPECT_EQ(
      kkv.hc.liste_aller_sammlungen[1]->metadata.at("anzahl_neue_karten_in_sammlung_vorhanden"),
      Value(2));

  HaendesammlungContainer empty(test_environment(), nullptr, 0, 3);
  empty.fudge_erneuern();
}

TEST_F(ContainerTest, LearningStateSurvivesANewManager) {
  const auto modul = [] {
    return Dict{
        {1, question("one")},
        {2, Dict{{"fragetext", "two?"}, {"antworttext", "two!"}, {"hand", Dict{{"nord", "AKQ"}}}}}};
  };
  {
    Karteikartenverwaltung kkv{test_environment()};
    kkv.add_haendesammlung(modul(), "kk_test");
    const SammlungRef sammlung = kkv.bestimme_gegenwaertige_sammlung();
    Karteikarte card(sammlung->karten.at("kk_test-2"), "kk_test-2", kkv.startzeit_tag);
    card.learnstatus = Learnstatus::learned;
    card.reps = 3;
    card.interval = 2.5;
    card.due = Due::at(a_morning + 86400);
    card.set_beantwortungszeit(12);
    card.set_last_interval_no_lapse(1, "good", false);
    kkv.hc.aendere_karteikarte_in_dictionary_richtige_sammlung("kk_test", card);
    kkv.hc.set_metadaten_richtige_sammlung("kk_test", "heute_schon_angesehen", "kk_test-2");
    kkv.dictionary_speichern(None, false);
  }
  Dict grown = modul();
  grown.set(3, question("three"));
  Karteikartenverwaltung kkv{test_environment()};
  kkv.add_haendesammlung(grown, "kk_test");
  const SammlungRef sammlung = kkv.bestimme_gegenwaertige_sammlung();
  const CardRecord& two = *sammlung->karten.at("kk_test-2");
  EXPECT_EQ(two.learnstatus, Learnstatus::learned);
  EXPECT_EQ(two.reps, 3);
  EXPECT_EQ(repr(two.interval), "2.5");
  EXPECT_EQ(two.due, Due::at(a_morning + 86400));
  EXPECT_EQ(repr(two.beantwortungszeiten), "[12]");
  EXPECT_EQ(repr(two.last_interval_no_lapse), "[1]");
  EXPECT_EQ(repr(two.extra), "{'hand': {'nord': 'AKQ'}}");
  EXPECT_EQ(repr(sammlung->get_metadata_heute("heute_schon_angesehen")), "['kk_test-2']");
  // A hand added after the collection was first stored starts fresh.
  const CardRecord& three = *sammlung->karten.at("kk_test-3");
  EXPECT_TRUE(three.due.is_none());
  EXPECT_EQ(three.reps, 0);
  EXPECT_TRUE(three.karte_ist_neu);
  EXPECT_EQ(sammlung->karten.names(),
            (std::vector<std::string>{"kk_test-1", "kk_test-2", "kk_test-3"}));
}

TEST_F(ContainerTest, SavingAfterOneAnswerWritesOneCard) {
  Karteikartenverwaltung kkv{test_environment()};
  Dict modul;
  for (int i = 1; i <= 20; ++i) modul.set(i, question(std::to_string(i)));
  kkv.add_haendesammlung(modul, "kk_test");
  kkv.hc.dictionary_speichern_alle_sammlungen();

  Karteikartenverwaltung next{test_environment()};
  next.add_haendesammlung(modul, "kk_test");
  const SammlungRef sammlung = next.bestimme_gegenwaertige_sammlung();
  next.hc.fudge_erneuern();
  Karteikarte card(sammlung->karten.at("kk_test-5"), "kk_test-5", next.startzeit_tag);
  card.reps = 1;
  next.hc.aendere_karteikarte_in_dictionary_richtige_sammlung("kk_test", card);
  const kk::SaveCounts counts =
      kk::PickleDump(test_environment()).save_haendesammlung("kk_test", *sammlung);
  EXPECT_EQ(counts.cards_written, 1u);
  EXPECT_EQ(counts.cards_removed, 0u);
}

TEST_F(ContainerTest, ShowDuePrintsEveryCard) {
  Karteikartenverwaltung kkv{test_environment()};
  kkv.add_haendesammlung(Dict{{1, question("one")}, {2, question("two")}}, "kk_test");
  kkv.hc.liste_aller_sammlungen[0]->karten.at("kk_test-2").edit().due = Due::done();
  std::vector<std::string> lines;
  platform::Diagnostics& diagnostics = test_environment().diagnostics;
  const auto sink = diagnostics.output_line;
  diagnostics.output_line = [&lines](const std::string& line) { lines.push_back(line); };
  kkv.hc.iterate_show_due();
  diagnostics.output_line = sink;
  EXPECT_EQ(lines, (std::vector<std::string>{std::string(50, '*'), "kk_test-1\tNone",
                                             "kk_test-2\tdone", std::string(50, '*')}));
}

}  // namespace
}  // namespace tavo::kk
