#include "support/test_environment.hpp"
#include "karteikarten/analysis/haendesammlung_verteilung_analyzer.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "karteikarten/cards/captured_lines.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"

namespace tavo::kk::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

class AnalyzerTest : public SchedulingTest {
 protected:
  SammlungRef sammlung() const { return kkv.hc.sammlung_named("kk_test"); }

  // A holder of `anzahl` cards of the collection.
  static HaendesammlungVerteilungAnalyzer::Holder holder(std::size_t anzahl,
                                                         const SammlungRef& sammlung) {
    auto result = std::make_shared<Kartenhalter>();
    for (const auto& [name, card] : sammlung->karten) {
      if (result->get_laenge() == anzahl) break;
      result->add_karte(name, card);
    }
    return result;
  }
};

TEST_F(AnalyzerTest, ReportOfASmallCollection) {
  // Card 1 put due and answered today; card 2 a review due tomorrow; card 3
  // new.
  kkv.get_card();
  Karteikarte first = card(1);
  answer_card(kkv, first, Antwort{"good", 5});
  sammlung()->karten.at("kk_test-2").edit().due = Due::at(a_morning + a_day);
  sammlung()->karten.at("kk_test-2").edit().karte_ist_neu = false;

  HaendesammlungVerteilungAnalyzer analyzer(sammlung());
  EXPECT_EQ(analyzer.grenzwert_neue_karten_heute, 2);
  EXPECT_EQ(analyzer.grenzwert_wiederholungen, 2);
  EXPECT_EQ(analyzer.voraus, 600);
  EXPECT_THROW(analyzer.show(), AttributeError);
  analyzer.analyse();
  const CapturedLines lines(test_environment().diagnostics);
  analyzer.show();
  // Card 1 is in its learning steps, due within ten minutes; card 2 is due
  // later; card 3 is the best new card.
  EXPECT_EQ(lines.text(),
            "**************************************************\n"
            "laenge sammlung:  3\n"
            "laenge neue_karten  1\n"
            "neue karten, noch nicht faellig gestellt:  1\n"
            "neue karte, faellig, noch nie angesehen:  0\n"
            "neue karten, heute erstmalig faellig gestellt, noch faellig:  1\n"
            "faellig_aber_nicht_heute laenge:  1\n"
            "faellig_heute laenge:  1\n"
            "wiederholte (nicht neue) gesamt:  []\n"
            "heute faellig, wiederholt, nicht mehr faellig heute todo: \n"
            "heute_wiederholt_erfolgreich:  0\n"
            "heute_wiederholt_nicht_erfolgreich:  0\n"
            "heute nicht faellig, heute nicht angesehen:  1\n"
            "heute nicht faellig, heute angesehen:  0\n"
            "heute wiederholt erfolgreich 0\n"
            "heute_wiederholt_erfolgreich_noch_faellig:  0\n"
            "heute_faellig_schon_laenger faellig noch_nicht_angesehen 0\n"
            "Zwischenwerte: \n"
            "neue_karten:\n"
            "neue karten, noch nicht faellig gestellt:  1\n"
            "neue karten, faellig gestellt, noch nie angesehen:  []\n"
            "neue karten, heute erstmalig faellig gestellt, noch faellig:  1\n"
            "neue karten, heute erfolgreich gelernt 0\n"
            "laenge neue_karten  1\n"
            "heute_faellig_gestellt_heute_estes_mal_angesehen Bezeichner:  ['kk_test-1']\n"
            "laenge heute_faellig_gestellt_heute_estes_mal_angesehen Bezeichner:  1\n"
            "anzahl_neue_karten_faellig_stellbar:  1\n"
            "neue_karten_heute_faellig_gestellt_ausstehend:  1\n"
            "anzahl_neue_karten_faellig_stellbar_echt:  1\n"
            "**************************************************\n"
            "heute_faellige beste:  ['kk_test-3']\n"
            "faellig_aber_nicht_heute bezeichner:  1\n"
            "**************************************************\n"
            "grenzwert_maximale_wiederholungen:  0\n"
            "anzahl_offene_heute_schon_angesehen_nicht_erfolgreich:  0\n");
}

TEST_F(AnalyzerTest, EmptyCollectionPassesEveryCheck) {
  kkv.hc.add(std::make_shared<kk::Haendesammlung>(test_environment(),
                                                  kkv.zeitberechnung, 0, "kk_leer", 3));
  HaendesammlungVerteilungAnalyzer analyzer(kkv.hc.sammlung_named("kk_leer"));
  analyzer.analyse();
  const CapturedLines lines(test_environment().diagnostics);
  analyzer.show();
  EXPECT_THAT(lines.text(), HasSubstr("laenge sammlung:  0\n"));
  EXPECT_THAT(lines.text(), Not(HasSubstr("laenge falsch")));

  const CapturedLines nothing(test_environment().diagnostics);
  kkv.zeige_haendesammlung_verteilung(sammlung(), 5, 5);
  EXPECT_EQ(nothing.text(), "");
}

TEST_F(AnalyzerTest, ChecksFindCardsOfAnotherCollection) {
  sammlung()->karten.set("kk_fremd-1", std::make_shared<CardRecord>());
  HaendesammlungVerteilungAnalyzer analyzer(sammlung());
  EXPECT_THROW(analyzer.analyse(), AssertionError);
}

TEST_F(AnalyzerTest, PartitionAndNewCardChecksOfTheReport) {
  for (int i = 4; i <= 10; ++i) {
    sammlung()->karten.set("kk_test-" + std::to_string(i), std::make_shared<CardRecord>());
  }
  HaendesammlungVerteilungAnalyzer analyzer(sammlung());
  analyzer.analyse();
  analyzer.neue_karten = holder(3, sammlung());
  analyzer.faellig_aber_nicht_heute = holder(4, sammlung());
  analyzer.karten_faellig_heute_halter = holder(2, sammlung());
  {
    const CapturedLines lines(test_environment().diagnostics);
    analyzer.show();
    EXPECT_THAT(lines.text(), HasSubstr("heute nicht faellig, heute angesehen:  0\n"
                                        "laenge falsch\n"
                                        "heute wiederholt erfolgreich 0\n"));
    EXPECT_THAT(lines.text(),
                EndsWith("anzahl_offene_heute_schon_angesehen_nicht_erfolgreich:  0\n"));
  }
  analyzer.faellig_gestellt_noch_nie_angesehen = kk::NameList{"kk_test-1"};
  const CapturedLines lines(test_environment().diagnostics);
  EXPECT_THROW(analyzer.show(), AssertionError);
  EXPECT_THAT(lines.text(), EndsWith("Zwischenwerte: \nneue_karten:\n"));
}

}  // namespace
}  // namespace tavo::kk::testing
