// The self-check scenarios, on a manager with the collection "kk_test" of
// three cards and the clock at 2021-09-22 10:00 (Europe/Berlin). Card 2 is
// under review and the day metadata holds a failed card before each case.
#include <gtest/gtest.h>

#include <string>

#include "support/test_environment.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/environment.hpp"

namespace tavo::kk {
namespace {

using testing::a_day;
using testing::a_morning;

Dict question_cards(int count) {
  Dict modul;
  for (int i = 1; i <= count; ++i) {
    modul.set(i, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
  }
  return modul;
}

class SelfCheckScenariosTest : public testing::SchedulingTest {
 protected:
  SelfCheckScenariosTest() {
    CardRecord& reviewed = record(2);
    reviewed.due = Due::at(a_morning + 5 * a_day);
    reviewed.learnstatus = Learnstatus::relearning;
    reviewed.karte_ist_neu = false;
    reviewed.letzte_antwort = "again";
    sammlung()->set_metadata("heute_falsch", "kk_test-2");
    sammlung()->metadata.set("alte_statistik", 1);
  }

  SammlungRef sammlung(const std::string& name = "kk_test") const {
    return kkv.hc.get_richtige_sammlung(name);
  }
  CardRecord& record(int number, const std::string& name = "kk_test") const {
    return sammlung(name)->karten.at(name + "-" + std::to_string(number)).edit();
  }
  // The per-day values of `key` in the metadata of "kk_test".
  Value days(const std::string& key) const { return sammlung()->metadata.at(key); }
  Value today(const std::string& key) const { return sammlung()->get_metadata_heute(key); }
  std::int64_t days_late(int number, const std::string& name = "kk_test") {
    const std::string card_name = name + "-" + std::to_string(number);
    return kkv._tage_verspaetet(
        Karteikarte(sammlung(name)->karten.at(card_name), card_name, kkv.startzeit_tag));
  }
};

// Learned, interval 8 and ease 265 (both integers), with its short history.
void expect_reviewed(const CardRecord& card, double due) {
  EXPECT_EQ(card.due, Due::at(due));
  EXPECT_EQ(card.learnstatus, Learnstatus::learned);
  EXPECT_TRUE(card.interval.is_int());
  EXPECT_EQ(card.interval, Value(8));
  EXPECT_TRUE(card.ease_factor.is_int());
  EXPECT_EQ(card.ease_factor, Value(265));
  EXPECT_EQ(Value(card.last_interval_no_lapse), Value(List{1, 4}));
  EXPECT_EQ(card.last_interval, Value(List{4}));
  EXPECT_EQ(Value(card.beantwortungszeiten), Value(List{10, 14, 8, 17}));
}

// Learned six days late, interval 4 and ease 250, first answered at `due`.
void expect_late(const CardRecord& card, double due) {
  EXPECT_EQ(card.due, Due::at(due));
  EXPECT_EQ(card.faellig_erstes_mal, DateTime::fromtimestamp(due));
  EXPECT_EQ(card.learnstatus, Learnstatus::learned);
  EXPECT_EQ(card.interval, Value(4));
  EXPECT_EQ(card.ease_factor, Value(250));
  EXPECT_FALSE(card.karte_ist_neu);
  EXPECT_EQ(Value(card.last_interval_no_lapse), Value(List{1, 4, 8, 17}));
  EXPECT_EQ(card.last_interval, Value(List{17}));
  EXPECT_EQ(Value(card.beantwortungszeiten), Value(List{10, 14, 8, 17}));
}

TEST_F(SelfCheckScenariosTest, AlreadyDueMakesEveryCardDueSinceOneDayAndStoresIt) {
  kkv.test_karten_schon_faellig();

  for (int number = 1; number <= 3; ++number) expect_reviewed(record(number), a_morning - a_day);
  // The answer fields are not written.
  EXPECT_TRUE(record(1).karte_ist_neu);
  EXPECT_FALSE(record(2).karte_ist_neu);
  EXPECT_EQ(record(2).letzte_antwort, "again");
  EXPECT_FALSE(record(1).faellig_erstes_mal.has_value());
  // Every card has lists of its own.
  EXPECT_FALSE(record(1).last_interval_no_lapse.same(record(3).last_interval_no_lapse));
  EXPECT_EQ(sammlung()->get_due_today(), 3);

  // A fresh day without the cards put due; the old metadata is gone.
  EXPECT_EQ(sammlung()->metadata.size(), 17u);
  EXPECT_FALSE(sammlung()->metadata.contains("neue_karte_heute_faellig_gestellt"));
  EXPECT_FALSE(sammlung()->metadata.contains("alte_statistik"));
  EXPECT_EQ(today("heute_falsch"), Value(List{}));
  EXPECT_EQ(days("reps"), Value(Dict{{"2021-9-22", 0}}));
  EXPECT_EQ(days("erneut_gelernt_richtig"), Value(Dict{{"2021-9-22", 0}}));
  EXPECT_FALSE(today("heute_falsch").as_list().same(today("again_in_queue").as_list()));

  Karteikartenverwaltung reopened{test_environment()};
  reopened.add_haendesammlung(question_cards(3), "kk_test");
  const SammlungRef stored = reopened.hc.get_richtige_sammlung("kk_test");
  expect_reviewed(*stored->karten.at("kk_test-3"), a_morning - a_day);
  EXPECT_EQ(stored->get_metadata_heute("reps"), Value(0));
  EXPECT_FALSE(stored->metadata.contains("alte_statistik"));
}

TEST_F(SelfCheckScenariosTest, EarlyLeavesNothingDueForThreeDaysAndDatesTheResetThen) {
  kkv.test_frueh();

  for (int number = 1; number <= 3; ++number)
    expect_reviewed(record(number), a_morning + 3 * a_day);
  EXPECT_EQ(sammlung()->get_due_today(3 * a_day - 1), 0);
  EXPECT_EQ(sammlung()->get_due_today(3 * a_day), 3);

  // Ten values, all under the learning day three days ahead; none today.
  EXPECT_EQ(sammlung()->metadata.size(), 10u);
  EXPECT_FALSE(sammlung()->metadata.contains("alte_statistik"));
  EXPECT_EQ(days("heute_falsch"), Value(Dict{{"2021-9-25", List{}}}));
  EXPECT_EQ(days("reps_kk"), Value(Dict{{"2021-9-25", 0}}));
  EXPECT_EQ(days("wiederholungen_pro_tag"), Value(Dict{{"2021-9-25", 3}}));
  EXPECT_EQ(today("heute_falsch"), Value(None));

  const SammlungRef stored =
      kk::PickleDump(test_environment()).get_haendesammlung("kk_test").first;
  ASSERT_NE(stored, nullptr);
  expect_reviewed(*stored->karten.at("kk_test-2"), a_morning + 3 * a_day);
  EXPECT_EQ(stored->metadata.at("wiederholungen_pro_tag"), Value(Dict{{"2021-9-25", 3}}));
}

TEST_F(SelfCheckScenariosTest, LearningAheadAnswersEveryCardGoodWithoutHistory) {
  kkv.test_vorauslernen();

  for (int number = 1; number <= 3; ++number) {
    const CardRecord& card = record(number);
    EXPECT_EQ(card.due, Due::at(a_morning + 3 * a_day));
    EXPECT_EQ(card.faellig_erstes_mal, DateTime(2021, 9, 19, 10));
    EXPECT_EQ(card.learnstatus, Learnstatus::learned);
    EXPECT_EQ(card.interval, Value(4));
    EXPECT_EQ(card.ease_factor, Value(250));
    EXPECT_FALSE(card.karte_ist_neu);
    EXPECT_EQ(card.letzte_antwort, "good");
    EXPECT_TRUE(card.last_interval_no_lapse.empty());
    EXPECT_EQ(card.last_interval, Value(List{}));
    EXPECT_TRUE(card.beantwortungszeiten.empty());
  }
  EXPECT_EQ(sammlung()->get_due_today(3 * a_day - 1), 0);

  EXPECT_EQ(sammlung()->metadata.size(), 18u);
  EXPECT_EQ(today("neue_karte_heute_faellig_gestellt"), Value(List{}));
  EXPECT_EQ(today("heute_falsch"), Value(List{}));
  // Storing is left to the normal flow.
  EXPECT_EQ(kk::PickleDump(test_environment()).get_haendesammlung("kk_test").first,
            nullptr);
}

TEST_F(SelfCheckScenariosTest, LateMakesEveryCardSixDaysAndTenMinutesLate) {
  kkv.test_verspaetung();

  const double due = a_morning - 600 - 6 * a_day;
  for (int number = 1; number <= 3; ++number) expect_late(record(number), due);
  EXPECT_EQ(record(1).faellig_erstes_mal, DateTime(2021, 9, 16, 9, 50));
  EXPECT_EQ(days_late(1), 6);
  // The last answer is not written.
  EXPECT_EQ(record(2).letzte_antwort, "again");
  EXPECT_FALSE(record(1).letzte_antwort.has_value());

  // Thirteen values under the learning day of ten minutes ago: today.
  EXPECT_EQ(sammlung()->metadata.size(), 13u);
  EXPECT_FALSE(sammlung()->metadata.contains("alte_statistik"));
  EXPECT_EQ(today("heute_falsch"), Value(List{}));
  EXPECT_EQ(days("reps"), Value(Dict{{"2021-9-22", 0}}));
  EXPECT_EQ(today("wiederholungen_pro_tag"), Value(3));
  EXPECT_EQ(kk::PickleDump(test_environment()).get_haendesammlung("kk_test").first,
            nullptr);
}

TEST_F(SelfCheckScenariosTest, LateAndNewAlternatesNewCardsAndLateOnes) {
  kkv.add_haendesammlung(question_cards(4), "kk_vier");
  kkv.test_verspaetung_und_neue();

  const double due = a_morning - 6 * a_day;
  for (const int number : {1, 3}) {
    const CardRecord& card = record(number, "kk_vier");
    EXPECT_TRUE(card.due.is_none());
    EXPECT_FALSE(card.faellig_erstes_mal.has_value());
    EXPECT_TRUE(card.interval.is_none());
    EXPECT_EQ(card.learnstatus, Learnstatus::learning);
    EXPECT_TRUE(card.karte_ist_neu);
    EXPECT_TRUE(card.ease_factor.is_int());
    EXPECT_EQ(card.ease_factor, Value(130));
    EXPECT_FALSE(card.letzte_antwort.has_value());
    EXPECT_TRUE(card.beantwortungszeiten.empty());
  }
  for (const int number : {2, 4}) {
    expect_late(record(number, "kk_vier"), due);
    EXPECT_EQ(record(number, "kk_vier").letzte_antwort, "good");
    EXPECT_EQ(days_late(number, "kk_vier"), 6);
  }
  EXPECT_EQ(record(2, "kk_vier").faellig_erstes_mal, DateTime(2021, 9, 16, 10));
  EXPECT_EQ(sammlung("kk_vier")->anzahl_due_none(), 2);

  // Each collection counts its cards from 1: the reviewed card 2 of
  // "kk_test" is late, card 3 new again.
  expect_late(record(2), due);
  EXPECT_TRUE(record(3).due.is_none());
  EXPECT_EQ(sammlung()->metadata.size(), 18u);
  EXPECT_EQ(today("heute_falsch"), Value(List{}));
  EXPECT_EQ(sammlung("kk_vier")->get_metadata_heute("reps"), Value(0));

  // A card made new again reads back from its stored form and learns on.
  const std::shared_ptr<CardRecord> stored =
      std::make_shared<CardRecord>(card_record_from_value(card_record_to_value(record(3))));
  EXPECT_TRUE(stored->interval.is_none());
  Karteikarte card(stored, "kk_test-3", kkv.startzeit_tag);
  kkv.get_interval_responses(card);
  kkv.schedule(None, card, "good");
  EXPECT_EQ(card.learnstatus, Learnstatus::learning);
}

}  // namespace
}  // namespace tavo::kk
