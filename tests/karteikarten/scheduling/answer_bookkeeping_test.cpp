#include <gtest/gtest.h>

#include <string>

#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::a_day;
using testing::a_morning;

class Bookkeeping : public testing::SchedulingTest {
 protected:
  // Today's value under `key` in "kk_test", as the host prints it.
  std::string heute(const std::string& key) {
    return repr(kkv.hc.sammlung_named("kk_test")->get_metadata_heute(key));
  }

  // "kk_test-<number>" as a review card with `interval`, due now.
  Karteikarte review(int number, const Value& interval) {
    Karteikarte karte = card(number);
    karte.learnstatus = Learnstatus::learned;
    karte.interval = interval;
    karte.ease_factor = 250;
    karte.due = Due::at(a_morning);
    karte.karte_ist_neu = false;
    return karte;
  }
};

TEST_F(Bookkeeping, PreviewRecordsNothing) {
  const std::string before = repr(kkv.hc.sammlung_named("kk_test")->metadata);
  kkv.make_karte_due_bool = true;
  Karteikarte neu = card();
  Karteikarte alt = review(2, 30);
  for (const char* response : {"again", "good"}) {
    kkv.schedule(None, neu, response, true);
    kkv.schedule(None, alt, response, true);
  }
  EXPECT_EQ(repr(kkv.hc.sammlung_named("kk_test")->metadata), before);
  EXPECT_TRUE(kkv.make_karte_due_bool);
  EXPECT_EQ(repr(kkv.get_data_from_shelve("kk_test")), "None");
}

TEST_F(Bookkeeping, NewCardAnsweredGoodThenLeavesTheQueue) {
  kkv.make_karte_due_bool = true;
  Karteikarte neu = card();
  kkv.schedule(None, neu, "good");
  EXPECT_EQ(heute("neue_karte_heute_faellig_gestellt"), "['kk_test-1']");
  EXPECT_FALSE(kkv.make_karte_due_bool);
  EXPECT_EQ(heute("neue_karten_heute_angesehen"), "['kk_test-1']");
  EXPECT_EQ(heute("heute_schon_angesehen"), "['kk_test-1']");
  EXPECT_EQ(heute("neu"), "1");
  EXPECT_EQ(heute("neu_richtig"), "1");
  EXPECT_EQ(heute("again_in_queue"), "['kk_test-1']");
  EXPECT_EQ(heute("reps"), "1");
  EXPECT_EQ(heute("reps_kk"), "1");
  EXPECT_EQ(heute("alte_karten_gleich_richtig"), "None");

  kkv.schedule(None, neu, "good");  // the last learning step
  EXPECT_EQ(heute("again_in_queue"), "[]");
  EXPECT_EQ(heute("neu"), "1");
  EXPECT_EQ(heute("erneut_gelernt"), "1");
  EXPECT_EQ(heute("alte_karten_gleich_richtig"), "None");
}

TEST_F(Bookkeeping, MatureReviewFailedThenAnsweredAgainTheSameDay) {
  Karteikarte alt = review(2, 30);
  kkv.schedule(None, alt, "again");
  EXPECT_EQ(heute("wiederholte_karten"), "['kk_test-2']");
  EXPECT_EQ(heute("heute_schon_angesehen"), "['kk_test-2']");
  EXPECT_EQ(heute("alt"), "1");
  EXPECT_EQ(heute("alt_richtig"), "None");
  EXPECT_EQ(heute("again_in_queue"), "['kk_test-2']");
  EXPECT_EQ(heute("heute_falsch"), "['kk_test-2']");
  EXPECT_EQ(heute("heute_falsch_anzahl"), "1");
  // The answer's statistics reach the store with its save.
  kkv.dictionary_speichern(None, false);
  EXPECT_EQ(repr(kkv.get_data_from_shelve("kk_test").as_dict().at("heute_falsch_anzahl")),
            "[('2021-9-22', 1)]");

  kkv.schedule(None, alt, "good");
  EXPECT_EQ(heute("erneut_gelernt"), "1");
  EXPECT_EQ(heute("erneut_gelernt_richtig"), "1");
  EXPECT_EQ(heute("wiederholte_karten"), "['kk_test-2']");
  EXPECT_EQ(heute("alt"), "1");
  EXPECT_EQ(heute("alte_karten_gleich_richtig"), "None");

  kkv.schedule(None, alt, "again");
  EXPECT_EQ(heute("erneut_gelernt"), "2");
  EXPECT_EQ(heute("erneut_gelernt_richtig"), "1");

  Karteikarte gleich_richtig = review(3, 30);
  kkv.schedule(None, gleich_richtig, "good");
  EXPECT_EQ(heute("alte_karten_gleich_richtig"), "['kk_test-3']");
  EXPECT_EQ(heute("alt_richtig"), "1");
}

TEST_F(Bookkeeping, RightFirstTimeOnADayWithoutFailuresYet) {
  // Lists of earlier days only: today nobody was seen new or failed yet.
  const Dict metadata = kkv.hc.sammlung_named("kk_test")->metadata;
  metadata.set("neue_karten_heute_angesehen", Dict{{"2021-9-21", List{"kk_test-2"}}});
  metadata.set("heute_falsch", Dict{{"2021-9-21", List{"kk_test-2"}}});
  Karteikarte alt = review(2, 30);
  kkv.schedule(None, alt, "good");
  EXPECT_EQ(heute("alte_karten_gleich_richtig"), "['kk_test-2']");
}

TEST_F(Bookkeeping, YoungReviewsAnsweredAgainAreNotRight) {
  for (const auto& [number, interval] : {std::pair{1, Value(0.5)}, std::pair{2, Value(2)}}) {
    Karteikarte jung = review(number, interval);
    kkv.schedule(None, jung, "again");
  }
  EXPECT_EQ(heute("wiederholt"), "2");
  EXPECT_EQ(heute("wiederholt_richtig"), "None");
  EXPECT_EQ(heute("alt"), "None");
}

TEST_F(Bookkeeping, ForgottenCardsModeKeepsNoReviewQueueOrLapseRecords) {
  kkv.modus_vergessene_karten = true;
  Karteikarte alt = review(2, 30);
  kkv.schedule(None, alt, "again");
  for (const char* key :
       {"wiederholte_karten", "alt", "again_in_queue", "heute_falsch", "heute_falsch_anzahl"}) {
    EXPECT_EQ(heute(key), "None") << key;
  }
  EXPECT_EQ(heute("heute_schon_angesehen"), "['kk_test-2']");
}

TEST_F(Bookkeeping, LearningAheadRecordsTheCard) {
  kkv.vorauslernen_tage = 2;
  Karteikarte alt = review(2, 30);
  alt.due = Due::at(a_morning + 5 * a_day);
  kkv.schedule(None, alt, "good");
  EXPECT_EQ(heute("vorauslernen_modus_gelernt_karte_auf_again"), "['kk_test-2']");
}

}  // namespace
}  // namespace tavo::kk
