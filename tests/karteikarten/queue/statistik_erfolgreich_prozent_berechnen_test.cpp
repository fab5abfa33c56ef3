#include "support/test_environment.hpp"
#include "karteikarten/queue/statistik_erfolgreich_prozent_berechnen.hpp"

#include <gtest/gtest.h>

#include <string>

#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/environment.hpp"
#include "support/debug_mode.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::a_day;
using testing::a_morning;
using Pair = std::pair<std::int64_t, std::int64_t>;

class Statistik : public testing::SchedulingTest {
 protected:
  // "stat-1" new; "stat-2" put due today, answered and still in its steps;
  // "stat-3" reviewed today with success; "stat-4" a review due since
  // yesterday; "stat-5" put due today and learnt.
  Statistik() {
    Dict modul;
    for (int i = 1; i <= 5; ++i) modul.set(i, Dict{{"fragetext", "F"}, {"antworttext", "A"}});
    kkv.add_haendesammlung(modul, "stat");
    sammlung = kkv.hc.get_richtige_sammlung("stat");
    answered("stat-2", a_morning + 60);
    answered("stat-3", a_morning + 3 * a_day);
    answered("stat-4", a_morning - a_day);
    answered("stat-5", a_morning + 2 * a_day);
    for (const char* neu : {"stat-2", "stat-5"}) {
      sammlung->set_metadata("neue_karte_heute_faellig_gestellt", neu);
      sammlung->set_metadata("neue_karten_heute_angesehen", neu);
      sammlung->set_metadata("heute_schon_angesehen", neu);
    }
    sammlung->set_metadata("wiederholte_karten", "stat-3");
    sammlung->set_metadata("heute_schon_angesehen", "stat-3");
  }

  void answered(const std::string& name, double due) {
    CardRecord& record = sammlung->karten.at(name).edit();
    record.due = Due::at(due);
    record.karte_ist_neu = false;
    record.letzte_antwort = "good";
  }

  SammlungRef sammlung;
};

TEST_F(Statistik, Helpers) {
  const Statistik_erfolgreich_prozent_berechnen zehn_fuenfzig(10, 50, 600, sammlung);
  EXPECT_EQ(zehn_fuenfzig.GW_neu_begrenzen_durch_karten_im_umlauf(4), 4);
  EXPECT_EQ(zehn_fuenfzig.gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(4, 6), 6);
  EXPECT_EQ(zehn_fuenfzig.bestimme_noch_wiederholbar_grenzwert(15, 60), 0);
  EXPECT_EQ(zehn_fuenfzig.bestimme_tatsaechliche_wiederholungen(0, 60), 60);
  EXPECT_EQ(zehn_fuenfzig.bestimme_noch_wiederholbar_grenzwert(15, 10), 15);
  EXPECT_EQ(zehn_fuenfzig.bestimme_tatsaechliche_wiederholungen(15, 10), 25);
  EXPECT_EQ(zehn_fuenfzig.bestimme_anzahl_karten_im_umlauf(sammlung->get_due_none(), {"a", "b"}),
            Pair(2, 3));
  EXPECT_EQ(zehn_fuenfzig.teile_erfolgreiche_auf({"a", "b"}, {"b", "c", "d"}), Pair(2, 1));
  EXPECT_EQ(zehn_fuenfzig.teile_erfolgreiche_auf({}, {"b", "c"}), Pair(2, 0));
  sammlung->set_metadata("karte_erfolgreich_wiederholt", List{"stat-3", "stat-4"});
  EXPECT_EQ(zehn_fuenfzig.bestimme_erfolgreich_wiederholte_karten({"stat-4"}),
            kk::NameList{"stat-3"});
}

TEST_F(Statistik, FiguresOfTheDay) {
  // A limit of no new cards, raised to the one learnt today.
  const Statistik_erfolgreich_prozent_berechnen statistik(0, 50, 600, sammlung);
  EXPECT_EQ(repr(statistik.do_()),
            "{'neue_begrenzt_durch_verfuegbare_karten': 0, 'anzahl_neu_erfolgreich': 1, "
            "'erfolgreich_wiederholte_karten': ['stat-3'], 'neue_verfuegbar': 1, "
            "'heute_faellig_gestellt_anzahl': 1, 'anzahl_wiederholungen_erfolgreich': 1, "
            "'neue_angehoben_durch_mehr_gelernt': 1, 'wiederholbare_im_umlauf': ['stat-2'], "
            "'anzahl_wiederholbare_im_umlauf': 1, 'noch_wiederholbar_grenzwert': 1, "
            "'tatsaechliche_Wiederholungen': 2, 'anzahl_erfolgreich': 2, 'gesamt': 3}");
  EXPECT_TRUE(statistik.dict_return.empty());

  // A card put due today and learnt without being recorded as seen splits
  // the two lists of new cards learnt today.
  answered("stat-1", a_morning + 2 * a_day);
  sammlung->set_metadata("neue_karte_heute_faellig_gestellt", "stat-1");
  EXPECT_EQ(statistik.do_().at("anzahl_neu_erfolgreich"), Value(2));
  const tavo::testing::DebugMode debug(test_environment().diagnostics);
  EXPECT_THROW(statistik.do_(), AssertionError);
}

}  // namespace
}  // namespace tavo::kk
