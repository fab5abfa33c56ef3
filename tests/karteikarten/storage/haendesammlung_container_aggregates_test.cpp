#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/test_environment.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"
#include "platform/common_functions.hpp"
#include "support/debug_mode.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Counts = std::pair<std::int64_t, std::int64_t>;

constexpr double now = 1632297600;             // 2021-09-22 10:00 CEST
constexpr double day_start = 1632272400;       // 03:00 that day
constexpr double next_day_start = 1632358800;  // 03:00 the next day

// Two collections:
//   kk_a: a-new new; a-due a review due since yesterday; a-learnt reviewed
//         today and right, due in two days; a-failed reviewed today and
//         failed, due in 10 minutes.
//   kk_b: b-new1, b-new2 (bidding only) new; b-put put due today, never
//         answered; b-learnt new today and learnt; b-failed reviewed today
//         and failed, due in 5 minutes; b-right reviewed today and right,
//         due in 5 minutes.
class ContainerAggregates : public ::testing::Test {
 protected:
  ContainerAggregates() {
    test_environment().cf.set_fixed_now(now);
    for (const char* name : {"a-new", "a-due", "a-learnt", "a-failed"}) card(*a, name);
    for (const char* name : {"b-new1", "b-new2", "b-put", "b-learnt", "b-failed", "b-right"})
      card(*b, name);
    b->karten.at("b-new2").edit().nur_reizung = true;
    answered(*a, "a-due", now - 86400, "good");
    reviewed(*a, "a-learnt", now + 2 * 86400, "good");
    reviewed(*a, "a-failed", now + 600, "again");
    b->karten.at("b-put").edit().due = Due::at(day_start);
    answered(*b, "b-learnt", next_day_start, "good");
    for (const char* name : {"b-put", "b-learnt"})
      b->set_metadata("neue_karte_heute_faellig_gestellt", name);
    b->set_metadata("neue_karten_heute_angesehen", "b-learnt");
    b->set_metadata("heute_schon_angesehen", "b-learnt");
    reviewed(*b, "b-failed", now + 300, "again");
    reviewed(*b, "b-right", now + 300, "good");
    a->set_metadata("heute_falsch", "a-failed");
    b->set_metadata("heute_falsch", "b-failed");
  }
  ~ContainerAggregates() override { test_environment().cf.clear_fixed_now(); }

  static void card(kk::Haendesammlung& sammlung, const std::string& name) {
    sammlung.karten.set(name, std::make_shared<CardRecord>());
  }
  static void answered(kk::Haendesammlung& sammlung, const std::string& name, double due,
                       const std::string& antwort) {
    CardRecord& record = sammlung.karten.at(name).edit();
    record.due = Due::at(due);
    record.karte_ist_neu = false;
    record.letzte_antwort = antwort;
  }
  static void reviewed(kk::Haendesammlung& sammlung, const std::string& name, double due,
                       const std::string& antwort) {
    answered(sammlung, name, due, antwort);
    sammlung.set_metadata("wiederholte_karten", name);
    sammlung.set_metadata("heute_schon_angesehen", name);
  }
  SammlungRef collection(const std::string& name) {
    return std::make_shared<kk::Haendesammlung>(test_environment(), zeit, 0, name, 3);
  }

  std::shared_ptr<platform::Zeitberechnungen> zeit =
      std::make_shared<platform::Zeitberechnungen>(test_environment().cf, 3);
  HaendesammlungContainer hc{test_environment(), zeit, 0, 3};
  SammlungRef a = collection("kk_a");
  SammlungRef b = collection("kk_b");
};

TEST_F(ContainerAggregates, WithoutCollectionsSumsAreZeroAndTestsFalse) {
  EXPECT_EQ(hc.get_anzahl_karten(), 0);
  EXPECT_EQ(hc.iterate_get_due_today(600), 0);
  EXPECT_EQ(hc.iterate_anzahl_neue_karten_heute(), Value(0));
  EXPECT_EQ(hc.iterate_get_anzahl_karten_reizung_karteikarte(), Counts(0, 0));
  EXPECT_EQ(hc.get_max_neue_karten_vorhanden(), 0);
  EXPECT_FALSE(hc.heute_faellig_gestellt_kleiner_grenzwert(5));
  EXPECT_FALSE(hc.existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(5));
  EXPECT_THAT(hc.iterate_get_faellige_cards(), IsEmpty());
  EXPECT_EQ(hc.iterate_get_neue_ueber_grenzwert(5), 0);
}

TEST_F(ContainerAggregates, SumsCombineTheCollectionsInListOrder) {
  hc.add(a);
  hc.add(b);
  EXPECT_EQ(hc.get_anzahl_karten(), 10);
  EXPECT_EQ(hc.get_max_neue_karten_vorhanden(), 2);
  EXPECT_EQ(hc.iterate_get_anzahl_karten_reizung_karteikarte(), Counts(1, 9));
  EXPECT_EQ(hc.iterate_anzahl_karte_erfolgreich_gelernt(), 2);
  EXPECT_EQ(hc.iterate_anzahl_heute_falsch(), 2);
  const std::vector<SammlungRef> only_b{b};
  EXPECT_EQ(hc.iterate_anzahl_heute_falsch_alle_daten(&only_b), 1);
  EXPECT_THAT(hc.iterate_get_heute_wiederholt_nicht_erfolgreich(),
              ElementsAre("a-failed", "b-failed"));
  EXPECT_THAT(hc.iterate_get_heute_wiederholt_erfolgreich_noch_faellig(), ElementsAre("b-right"));
  EXPECT_TRUE(hc.heute_faellig_gestellt_kleiner_grenzwert(1));
  EXPECT_FALSE(hc.heute_faellig_gestellt_kleiner_grenzwert(0));
  EXPECT_TRUE(hc.existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(1));
  EXPECT_FALSE(hc.existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(0));

  // Today's counters: a missing or zero value counts 0; floats make a float.
  a->set_metadata("neu", 2);
  EXPECT_EQ(hc.iterate_anzahl_neue_karten_heute(), Value(2));
  b->set_metadata("neu", 0.5);
  EXPECT_TRUE(hc.iterate_anzahl_neue_karten_heute().is_float());
  EXPECT_EQ(hc.iterate_anzahl_neue_karten_heute(), Value(2.5));
  a->set_metadata("alt", 0);
  EXPECT_TRUE(hc.iterate_anzahl_alte_karten_heute().is_int());
  EXPECT_EQ(hc.iterate_anzahl_alte_karten_heute(), Value(0));

  // The window is voraus plus the container's learning ahead.
  EXPECT_EQ(hc.iterate_get_due_today(), 2);
  EXPECT_EQ(hc.iterate_get_due_today(500), 4);
  hc.vorauslernen = 100;
  EXPECT_EQ(hc.iterate_get_due_today(500), 5);
}

TEST_F(ContainerAggregates, DueRecordsAndNewCardNamesCountOnce) {
  hc.add(a);
  hc.add(b);
  hc.add(a);
  EXPECT_THAT(hc.iterate_get_faellige_cards(),
              ElementsAre(a->karten.at("a-due"), b->karten.at("b-put")));
  EXPECT_EQ(hc.iterate_get_anzahl_neu_wird_heute_nicht_gelernt(), 4);
  const tavo::testing::DebugMode debug(test_environment().diagnostics);
  EXPECT_THROW(hc.iterate_get_anzahl_neu_wird_heute_nicht_gelernt(), AssertionError);
}

TEST_F(ContainerAggregates, NewCardsBeyondTheLimitAreCountedPerCollection) {
  hc.add(a);
  hc.add(b);
  // kk_a: 1 new card, none put due; kk_b: 2 new, 2 put due, 1 new seen.
  EXPECT_EQ(hc.iterate_get_neue_ueber_grenzwert(5), 0);
  EXPECT_EQ(hc.iterate_get_neue_ueber_grenzwert(3), -1);
  EXPECT_EQ(hc.iterate_get_neue_ueber_grenzwert(0), -3);
  EXPECT_EQ(a->neue_dict.as_dict().at("gesamt"), Value(List{"a-new"}));
  const tavo::testing::DebugMode debug(test_environment().diagnostics);
  EXPECT_THROW(hc.iterate_get_neue_ueber_grenzwert(0), AssertionError);
}

TEST_F(ContainerAggregates, ByNameQueriesAnswerForTheNamedCollection) {
  hc.add(a);
  hc.add(b);
  EXPECT_EQ(hc.anzahl_karte_erfolgreich_gelernt_richtige_sammlung("kk_b"), 1);
  EXPECT_EQ(hc.erfolgreich_wiederholte_karten_richtige_sammlung("kk_a"), 1);
  EXPECT_EQ(hc.get_due_today_richtige_sammlung("kk_a"), 1);
  EXPECT_EQ(hc.get_anzahl_neue_karte_heute_faellig_gestellt("kk_b"), 2);
  EXPECT_EQ(hc.get_noch_nicht_due_richtige_sammlung("kk_b"), 2);
  EXPECT_THAT(hc.get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung("kk_b"),
              ElementsAre("b-put"));
  EXPECT_THAT(hc.get_faellige_richtige_sammlung("kk_b", 0), ElementsAre(b->karten.at("b-put")));
  EXPECT_EQ(hc.get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung("kk_a"), 1);

  EXPECT_EQ(hc.anzahl_karte_erfolgreich_gelernt_richtige_sammlung("kk_x"), 0);
  EXPECT_EQ(hc.get_due_today_richtige_sammlung("kk_x"), std::nullopt);
  EXPECT_EQ(hc.get_anzahl_neue_karte_heute_faellig_gestellt("kk_x"), std::nullopt);
  EXPECT_EQ(hc.get_noch_nicht_due_richtige_sammlung("kk_x"), std::nullopt);
  EXPECT_THAT(hc.get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung("kk_x", 600),
              IsEmpty());
  EXPECT_THAT(hc.get_faellige_richtige_sammlung("kk_x", 600), IsEmpty());
  for (const auto& query :
       {&HaendesammlungContainer::erfolgreich_wiederholte_karten_richtige_sammlung,
        &HaendesammlungContainer::
            get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung}) {
    try {
      (hc.*query)("kk_x");
      ADD_FAILURE() << "no KeyError";
    } catch (const KeyError& error) {
      EXPECT_STREQ(error.what(), "no registered collection 'kk_x'");
    }
  }
}

}  // namespace
}  // namespace tavo::kk
