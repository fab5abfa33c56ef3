#include "karteikarten/cards/karteikarte.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "captured_lines.hpp"
#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::CapturedLines;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

CardRef record_of(const Dict& data) {
  return std::make_shared<CardRecord>(card_record_from_value(data));
}

CardRef question_card() {
  return record_of(Dict{{"fragetext", "Frage"},
                        {"antworttext", "Antwort"},
                        {"learnstatus", "learned"},
                        {"reps", 3},
                        {"lapses", 1},
                        {"due", 1632297600},
                        {"interval", 2.5},
                        {"letzte_antwort", "good"},
                        {"permanent_fudge_neu", 4}});
}

TEST(KarteikarteConstruction, CopiesScalarsAndSharesTheLists) {
  const CardRef record = question_card();
  Karteikarte card(record, "kk-1", 3);
  EXPECT_EQ(card.get_modus(), 0);
  EXPECT_EQ(card.reizung, nullptr);
  card.interval = 9;
  card.set_letzte_antwort("again", false);
  card.set_beantwortungszeit(12);
  EXPECT_EQ(repr(record->interval), "2.5");
  EXPECT_EQ(record->letzte_antwort, "good");
  EXPECT_EQ(repr(record->beantwortungszeiten), "[12]");
}

TEST(KarteikarteConstruction, TestCardIsDueNowAndHasNoRecord) {
  platform::Common_functions clock;
  clock.set_fixed_now(1632297600.25);
  const Karteikarte card = Karteikarte::testcard(clock, 3);
  EXPECT_EQ(card.get_status(), Learnstatus::learning);
  EXPECT_EQ(repr(card.ease_factor), "130");
  EXPECT_EQ(card.get_letzte_antwort(), "again");
  EXPECT_EQ(card.get_due(), Due::at(1632297600.25));
  EXPECT_THAT([&] { card.get_name(); },
              ThrowsMessage<AttributeError>(StrEq("'Karteikarte' object has no attribute 'name'")));
  EXPECT_THROW(card.get_last_interval_no_lapse(), AttributeError);
  EXPECT_THROW(Karteikarte(nullptr, "kk-1", 3), std::invalid_argument);
}

TEST(KarteikarteConstruction, OnlyBiddingCardsNeedNoTexts) {
  const CardRef record = record_of(Dict{{"nur_reizung", true}});
  const Karteikarte card(record, "kk-2", 3);
  EXPECT_EQ(card.get_modus(), 1);
  EXPECT_EQ(card.reizung, record);
  // A deep copy has its own record.
  Karteikarte copy = deep_copy(card);
  copy.set_beantwortungszeit(3);
  EXPECT_NE(copy.reizung, record);
  EXPECT_TRUE(record->beantwortungszeiten.empty());
  EXPECT_EQ(repr(copy.reizung->beantwortungszeiten), "[3]");

  // Other cards need both texts.
  const auto build = [](const Dict& data) {
    return [=] { Karteikarte(record_of(data), "kk-3", 3); };
  };
  EXPECT_THAT(build(Dict{{"antworttext", "A"}}), ThrowsMessage<KeyError>(StrEq("'fragetext'")));
  EXPECT_THAT(build(Dict{{"nur_reizung", false}, {"fragetext", "F"}}),
              ThrowsMessage<KeyError>(StrEq("'antworttext'")));
}

TEST(KarteikarteAnswers, LastIntervalNoLapseGrowsAndShrinksOutsideTests) {
  const CardRef record = question_card();
  Karteikarte card(record, "kk-1", 3);
  EXPECT_THAT([&] { card.get_last_interval_no_lapse(); },
              ThrowsMessage<IndexError>(StrEq("list index out of range")));
  card.set_last_interval_no_lapse(5, "again", false);
  EXPECT_TRUE(record->last_interval_no_lapse.empty());
  card.set_last_interval_no_lapse(5, "good", false);
  card.set_last_interval_no_lapse(7, "hard", false);
  EXPECT_EQ(repr(record->last_interval_no_lapse), "[5, 7]");
  EXPECT_EQ(card.get_last_interval_no_lapse(), Value(5));
  card.set_last_interval_no_lapse(9, "again", false);
  EXPECT_EQ(repr(record->last_interval_no_lapse), "[5]");

  card.set_last_interval_no_lapse(8, "easy", true);
  card.set_last_interval_no_lapse(8, "again", true);
  card.set_letzte_antwort("easy", true);
  EXPECT_EQ(repr(record->last_interval_no_lapse), "[5]");
  EXPECT_EQ(card.get_letzte_antwort(), "good");
}

TEST(KarteikarteInfo, PrintsEveryValueAsTheHostDoes) {
  const CardRef record = question_card();
  record.edit().faellig_erstes_mal = DateTime(2021, 9, 22, 3);
  record->last_interval_no_lapse.append(1);
  record->last_interval_no_lapse.append(2);
  Karteikarte card(record, "kk-1", 3);
  card.set_beantwortungszeit(12.5);

  platform::Diagnostics diagnostics;
  const CapturedLines output(diagnostics);
  card.show_info(diagnostics);
  const std::string rule(50, '*');
  EXPECT_EQ(output.text(),
            rule +
                "\nWerte der Karte\nname:  kk-1\nnur_reizung:  False\nstatus:  learned\nreps:  3\n"
                "lapses:  1\ndue:  1632297600.0\nease_factor:  130\nsteps_index:  0\n"
                "interval:  2.5\nzuletzt_vergessen:  None\n"
                "faellig_erstes_mal:  2021-09-22 03:00:00\nlast_interval_no_lapse:  [1, 2]\n"
                "last_interval:  []\nbeantwortungszeiten:  [12.5]\nletzte Antwort:  good\n"
                "permanent_fudge_neu :  4\npermanent_fudge_wdh :  None\n" +
                rule + "\n");
}

// Due moments from a number of days, with TZ=Europe/Berlin.
class ChangeDue : public ::testing::Test {
 protected:
  // A bidding card, with the clock frozen at `now`.
  Karteikarte card_at(double now) {
    clock_.set_fixed_now(now);
    return Karteikarte(record_of(Dict{{"nur_reizung", true}}), "kk_test-1", 3);
  }
  // The due moment a card gets for `amount` days at `now`.
  double due_after(double now, const Value& amount) {
    Karteikarte card = card_at(now);
    card.change_due(clock_, amount);
    return card.due.seconds();
  }

  platform::Common_functions clock_;
};

TEST_F(ChangeDue, DaysBecomeAMomentAtTheStartHour) {
  const double morning = 1632297600;  // 2021-09-22 10:00:00
  EXPECT_EQ(due_after(morning + 0.25, 10.0 / 1440), morning + 600);
  EXPECT_EQ(due_after(morning, 1), 1632358800);    // 2021-09-23 03:00
  EXPECT_EQ(due_after(morning, 2.5), 1632445200);  // 2021-09-24 03:00
  // One hour is more than ten minutes past a step: the start hour, with the
  // minutes and seconds of the moment an hour ahead.
  EXPECT_EQ(due_after(morning + 125, 1.0 / 24), 1632272525);  // 2021-09-22 03:02:05
  // Before the start hour the learning day is still yesterday's.
  EXPECT_EQ(due_after(1632270600, 1), 1632272400);  // 02:30 on the 22nd: 03:00 on the 22nd
  // The start hour holds across daylight saving changes.
  EXPECT_EQ(due_after(1616835600, 1), 1616893200);  // 2021-03-27 10:00 CET: 03:00 CEST
  EXPECT_EQ(due_after(1635580800, 1), 1635645600);  // 2021-10-30 10:00 CEST: 03:00 CET
}

TEST_F(ChangeDue, DoneBadAmountsAndRecalculation) {
  Karteikarte card = card_at(1632297600);
  card.change_due(clock_, "done");
  EXPECT_THROW(card.change_due(clock_, None), TypeError);
  EXPECT_TRUE(card.due.is_done());
  card.recalculate_next_due_status_learning(clock_);
  EXPECT_EQ(card.due, Due::at(1632297600));
  card.learnstatus = Learnstatus::learned;
  card.due = Due::at(5);
  card.recalculate_next_due_status_learning(clock_);
  EXPECT_EQ(card.due, Due::at(5));
}

}  // namespace
}  // namespace tavo::kk
