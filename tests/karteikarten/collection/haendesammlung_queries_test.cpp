#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "karteikarten/collection/haendesammlung.hpp"
#include "support/test_environment.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr double now = 1632297600;             // 2021-09-22 10:00 CEST
constexpr double day_start = 1632272400;       // 03:00 that day
constexpr double next_day_start = 1632358800;  // 03:00 the next day

std::vector<std::string> names_of(const kk::Kartenhalter& holder) {
  return holder.get_bezeichner();
}

std::vector<std::string> names_of(const std::vector<kk::Entry>& entries) {
  std::vector<std::string> names;
  for (const kk::Entry& entry : entries) names.push_back(entry.name);
  return names;
}

// One card of every kind, in this card order:
//   n1, n2  new;
//   p       put due today by the bulk operation, never answered;
//   l       new today, in its learning steps (due in 5 minutes);
//   g       new today, learnt (due at the next day's start);
//   r_now   a review due since yesterday, not begun today;
//   r_5     a review due in 5 minutes, not begun today;
//   t       due in two days;
//   f       reviewed today and failed, due again in 10 minutes;
//   w       reviewed today and right, due in 5 days.
class HaendesammlungQueries : public ::testing::Test {
 protected:
  HaendesammlungQueries() {
    std::int64_t fudge = 11;
    for (const char* name : {"n1", "n2", "p", "l", "g", "r_now", "r_5", "t", "f", "w"}) {
      auto card = std::make_shared<kk::CardRecord>();
      card->set_fudge(fudge++);
      sammlung.karten.set(name, card);
    }
    card("n1").permanent_fudge_neu = 2;
    card("n2").permanent_fudge_neu = 1;
    answered("p", kk::Due::at(day_start), "");
    card("p").karte_ist_neu = true;
    answered("l", kk::Due::at(now + 300), "good");
    answered("g", kk::Due::at(next_day_start), "good");
    answered("r_now", kk::Due::at(now - 86400), "good");
    answered("r_5", kk::Due::at(now + 300), "good");
    answered("t", kk::Due::at(now + 2 * 86400), "good");
    answered("f", kk::Due::at(now + 600), "again");
    answered("w", kk::Due::at(now + 5 * 86400), "good");
    for (const char* name : {"p", "l", "g"})
      sammlung.set_metadata("neue_karte_heute_faellig_gestellt", name);
    for (const char* name : {"l", "g"}) sammlung.set_metadata("neue_karten_heute_angesehen", name);
    for (const char* name : {"f", "w"}) sammlung.set_metadata("wiederholte_karten", name);
    for (const char* name : {"l", "g", "f", "w"})
      sammlung.set_metadata("heute_schon_angesehen", name);
    sammlung.set_metadata("heute_falsch", "f");
  }
  kk::CardRecord& card(const std::string& name) { return sammlung.karten.at(name).edit(); }

  void answered(const std::string& name, kk::Due due, const std::string& antwort) {
    card(name).due = due;
    card(name).karte_ist_neu = false;
    if (!antwort.empty()) card(name).letzte_antwort = antwort;
  }

  testing::TestEnvironment test_{now};
  Haendesammlung sammlung{test_.environment,
                          std::make_shared<platform::Zeitberechnungen>(test_.environment.cf, 3), 0,
                          "kk", 3};
};

TEST_F(HaendesammlungQueries, EveryCardIsNewDueWithinTheWindowOrDueLater) {
  EXPECT_THAT(names_of(sammlung.get_due_none()), ElementsAre("n1", "n2"));
  EXPECT_THAT(names_of(sammlung.get_faellige_cards(0)), ElementsAre("p", "r_now"));
  EXPECT_THAT(names_of(sammlung.get_faellige_cards(600)),
              ElementsAre("p", "l", "r_now", "r_5", "f"));
  EXPECT_THAT(names_of(sammlung.get_due_aber_nicht_heute_faellig(600)), ElementsAre("g", "t", "w"));
  EXPECT_THAT(names_of(sammlung.get_due_vor_heute()), ElementsAre("r_now"));
  EXPECT_EQ(sammlung.anzahl_due_none(), 2);
  EXPECT_EQ(sammlung.get_due_today(600), 5);

  // Learning ahead two days brings everything due within two days forward,
  // for the candidate queries only.
  sammlung.set_vorauslernen_tage(2);
  EXPECT_THAT(names_of(sammlung.get_faellige_cards(0)),
              ElementsAre("p", "l", "g", "r_now", "r_5", "t", "f"));
  EXPECT_THAT(names_of(sammlung.get_faellige_cards(0, false)), ElementsAre("p", "r_now"));
  EXPECT_THAT(names_of(sammlung.get_due_aber_nicht_heute_faellig(600)), ElementsAre("w"));
  EXPECT_EQ(sammlung.get_due_today(0), 2);
}

TEST_F(HaendesammlungQueries, NewCardsSplitIntoAvailablePutDueInStepsAndLearnt) {
  EXPECT_EQ(sammlung.get_anzahl_vormals_neu_heute(), 3);
  EXPECT_EQ(sammlung.get_anzahl_neue_karten_heute_angesehen(), 2);
  EXPECT_THAT(sammlung.get_bezeichner_heute_faellig_noch_nie_angesehen(), ElementsAre("p"));
  EXPECT_THAT(sammlung.get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig(),
              ElementsAre("l"));
  EXPECT_THAT(sammlung.get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner(),
              ElementsAre("g"));
  EXPECT_THAT(sammlung.get_bezeichner_neu_erfolgreich(), ElementsAre("g"));
  EXPECT_THAT(sammlung.get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt(),
              ElementsAre("p", "l"));
  EXPECT_THAT(sammlung.get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute(),
              ElementsAre("p"));
  EXPECT_EQ(sammlung.get_anzahl_neue_karten_gleich_richtig(), 2);

  const Dict neue = sammlung.set_state_neue_dict();
  EXPECT_EQ(sammlung.neue_dict, Value(neue));
  EXPECT_EQ(neue.at("gesamt"), Value(List{"n1", "n2"}));
  EXPECT_EQ(neue.at("gesamt_nicht_angesehen"), Value(List{"n1", "n2"}));
  EXPECT_EQ(neue.at("heute_erstmalig_faellig_gestellt_noch_faellig"), Value(List{"l"}));
  EXPECT_EQ(neue.at("faellig_gestellt_noch_nie_angesehen"), Value(List{"p"}));

  // New cards come in deck order (permanent_fudge_neu), at most as many as asked.
  EXPECT_THAT(names_of(sammlung.finde_beste_neue_karte(5)), ElementsAre("n2", "n1"));
  EXPECT_THAT(names_of(sammlung.finde_beste_neue_karte(5, 1)), ElementsAre("n2"));
  EXPECT_FALSE(sammlung.finde_beste_neue_karte(1).front().fudge.has_value());

  // Three put due today: a limit of 4 leaves one, a limit of 3 none; the
  // drill ignores the day's record.
  EXPECT_EQ(sammlung.berechne_anzahl_neue_karten_faellig_stellbar(10, false, 5), 2);
  EXPECT_EQ(sammlung.berechne_anzahl_neue_karten_faellig_stellbar(4, false, 5), 1);
  EXPECT_EQ(sammlung.berechne_anzahl_neue_karten_faellig_stellbar(3, false, 5), 0);
  EXPECT_EQ(sammlung.berechne_anzahl_neue_karten_faellig_stellbar(0, true, 5), 2);
  EXPECT_EQ(sammlung.anzahl_neue_karten_faellig_stellbar(4),
            (std::pair<std::int64_t, std::int64_t>(1, 2)));
  EXPECT_FALSE(sammlung.heute_faellig_gestellt_kleiner_grenzwert(3));
  EXPECT_TRUE(sammlung.heute_faellig_gestellt_kleiner_grenzwert(4));
}

TEST_F(HaendesammlungQueries, TodaysReviewsSplitIntoFailedStillDueAndDone) {
  EXPECT_THAT(sammlung.get_bezeichner_wiederholte_karten(), ElementsAre("f", "w"));
  EXPECT_THAT(sammlung.get_bezeichner_heute_wiederholt_nicht_erfolgreich(), ElementsAre("f"));
  EXPECT_THAT(sammlung.get_bezeichner_wiederholt_erfolgreich_noch_faellig(), IsEmpty());
  EXPECT_THAT(sammlung.get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig(),
              ElementsAre("w"));
  EXPECT_THAT(sammlung.get_bezeichner_wiederholt_erfolgreich(600), ElementsAre("w"));
  EXPECT_THAT(sammlung.get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt(),
              ElementsAre("f"));
  EXPECT_EQ(sammlung.anzahl_karte_erfolgreich_gelernt(), 2);  // g and w
  EXPECT_EQ(sammlung.get_anzahl_karte_alt_erfolgreich_wiederholt_heute(), 1);
  EXPECT_EQ(sammlung.anzahl_erfolgreich_wiederholte_karten(), 1);
  EXPECT_THAT(sammlung.get_heute_due_nicht_heute_faellig_gestellt(600),
              ElementsAre("r_now", "r_5", "f"));
  EXPECT_THAT(sammlung.get_bezeichner_heute_nicht_faellig_heute_angesehen(), ElementsAre("g", "w"));
  EXPECT_THAT(sammlung.get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(),
              ElementsAre("t"));

  // A name the collection does not hold is ignored; earlier days count in
  // the all-days totals only.
  sammlung.set_metadata("wiederholte_karten", "elsewhere");
  sammlung.metadata.at("wiederholte_karten").as_dict().set("2021-9-21", List{"x", "y"});
  EXPECT_EQ(sammlung.anzahl_wiederholte_karten(), 2);
  EXPECT_EQ(sammlung.anzahl_insgesamt_planmaessig_wiederholte_karten(), 5);

  card("f").zuletzt_vergessen = now - 100;
  card("w").zuletzt_vergessen = 0;
  EXPECT_THAT(sammlung.get_vergessene_karten(now - 1000), ElementsAre("f"));
}

TEST_F(HaendesammlungQueries, FreshReviewsStayWithinTheDaysAllowanceAcrossOneChoice) {
  // Due within 10 minutes: p, l and f continue (3), r_now and r_5 are fresh
  // (2); two reviews are done today.
  EXPECT_EQ(sammlung.get_anzahl_moegliche_wiederholungen(10, std::nullopt, 600), 5);
  EXPECT_EQ(sammlung.get_anzahl_moegliche_wiederholungen(2, std::nullopt, 600), 3);
  EXPECT_EQ(sammlung.get_anzahl_moegliche_wiederholungen(2, 0, 600), 5);
  EXPECT_EQ(sammlung.wiederholbare_ueber_grenzwert(0, 3, 600), 1);

  sammlung.set_state_neue_dict();
  EXPECT_EQ(sammlung.get_anzahl_moegliche_wiederholungen(3, std::nullopt, 600), 4);
  sammlung.set_states_wiederholbare_in_x();
  const std::vector<kk::Entry> now_due = sammlung.finde_beste_wiederholbare_karte(5, 0, 4);
  EXPECT_THAT(names_of(now_due), ElementsAre("p", "r_now"));
  EXPECT_EQ(now_due.front().fudge, 13);
  // The one fresh review allowed is handed out: r_5 must wait.
  sammlung.set_states_wiederholbare_in_x();
  EXPECT_THAT(names_of(sammlung.finde_beste_wiederholbare_karte(5, 600, 4)), ElementsAre("l", "f"));
  EXPECT_THAT(sammlung.finde_beste_wiederholbare_karte(5, 600, 4), IsEmpty());

  // A new choice starts afresh.
  sammlung.set_state_neue_dict();
  EXPECT_THAT(names_of(sammlung.finde_beste_wiederholbare_karte(2, 600)), ElementsAre("p", "l"));
  EXPECT_THAT(names_of(sammlung.wandle_bezeichner_liste_in_karten_liste_um({"f", "r_5"})),
              ElementsAre("f", "r_5"));
  EXPECT_THAT(names_of(sammlung.finde_beste_wiederholbare_karte(5, 600)), ElementsAre("r_now"));
  EXPECT_THROW(sammlung.bezeichner_liste_to_identifier_liste({"missing"}), KeyError);
  card("t").set_fudge(std::nullopt);
  EXPECT_THROW(sammlung.bezeichner_liste_to_identifier_liste({"t"}), KeyError);
}

TEST_F(HaendesammlungQueries, BulkPutDueResetsStaleCardsAndKeepsToTheLimit) {
  card("t").karte_ist_neu = true;  // put due on an earlier day, never shown
  sammlung.reset_due_to_none_if_not_faellig();
  EXPECT_TRUE(card("t").due.is_none());
  EXPECT_TRUE(card("p").due.is_moment());
  EXPECT_THAT(sammlung.fudge_liste_erstellen(), ElementsAre(11, 12, 18));

  sammlung.set_due_to_now(5, 18, 5);  // two more fit under the limit of 5
  EXPECT_EQ(card("n1").due, kk::Due::at(day_start));
  EXPECT_EQ(card("n2").due, kk::Due::at(day_start));
  EXPECT_TRUE(card("t").due.is_none());
  EXPECT_EQ(sammlung.get_anzahl_vormals_neu_heute(), 5);

  EXPECT_EQ(sammlung.get_anzahl_karten_reizung_karteikarte(),
            (std::pair<std::int64_t, std::int64_t>(0, 10)));
  sammlung.set_handinfo_nur_reizung("n1", List{"hand"});
  EXPECT_EQ(*card("n1").extra.find("handinfo"), Value(List{"hand"}));
  EXPECT_THROW(sammlung.set_handinfo_nur_reizung("missing", None), KeyError);
}

}  // namespace
}  // namespace tavo::kk
