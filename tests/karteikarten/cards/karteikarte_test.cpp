#include "karteikarten/cards/karteikarte.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "captured_lines.hpp"
#include "platform/common_functions.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::CapturedLines;

constexpr double a_morning = 1632297600.25;  // 2021-09-22 10:00:00.25 in Berlin

CardRef question_card() {
  return std::make_shared<CardRecord>(card_record_from_value(Dict{{"fragetext", "Frage"},
                                                                  {"antworttext", "Antwort"},
                                                                  {"learnstatus", "learned"},
                                                                  {"reps", 3},
                                                                  {"lapses", 1},
                                                                  {"due", 1632297600},
                                                                  {"ease_factor", 250},
                                                                  {"interval", 2.5},
                                                                  {"karte_ist_neu", false},
                                                                  {"letzte_antwort", "good"},
                                                                  {"permanent_fudge_neu", 4},
                                                                  {"permanent_fudge_wdh", 7}}));
}

template <class Call>
std::string error_of(Call call) {
  try {
    call();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no error";
}

TEST(KarteikarteConstruction, CopiesScalarsAndSharesTheLists) {
  const CardRef record = question_card();
  Karteikarte card(record, "kk-1", 3);
  EXPECT_EQ(card.get_antwort(), "Antwort");
  EXPECT_EQ(card.get_modus(), 0);
  EXPECT_EQ(card.reizung, nullptr);

  card.interval = 9;
  card.set_letzte_antwort("again", false);
  card.set_beantwortungszeit(12);
  EXPECT_EQ(repr(record->interval), "2.5");
  EXPECT_EQ(record->letzte_antwort, "good");
  EXPECT_EQ(repr(record->beantwortungszeiten), "[12]");
}

TEST(KarteikarteConstruction, WithoutRecordMakesATestCardDueNow) {
  platform::cf().set_fixed_now(a_morning);
  const Karteikarte card(nullptr, std::nullopt, 3);
  platform::cf().clear_fixed_now();

  EXPECT_EQ(card.get_status(), Learnstatus::learning);
  EXPECT_EQ(repr(card.ease_factor), "130");
  EXPECT_EQ(repr(card.interval), "0");
  EXPECT_EQ(card.get_letzte_antwort(), "again");
  EXPECT_EQ(card.get_due(), Due::at(a_morning));
  EXPECT_EQ(error_of([&] { card.get_name(); }), "'Karteikarte' object has no attribute 'name'");
  EXPECT_THROW(card.get_last_interval_no_lapse(), AttributeError);
}

TEST(KarteikarteConstruction, BiddingOnlyCardNeedsNoTextsAndKeepsItsRecord) {
  const CardRef record =
      std::make_shared<CardRecord>(card_record_from_value(Dict{{"nur_reizung", true}}));
  const Karteikarte card(record, "kk-2", 3);
  EXPECT_EQ(card.get_modus(), 1);
  EXPECT_EQ(card.reizung, record);
}

TEST(KarteikarteConstruction, OtherCardsNeedBothTexts) {
  const auto build = [](const Dict& data) {
    return error_of([&] {
      Karteikarte(std::make_shared<CardRecord>(card_record_from_value(data)), "kk-3", 3);
    });
  };
  EXPECT_EQ(build(Dict{{"antworttext", "A"}}), "'fragetext'");
  EXPECT_EQ(build(Dict{{"nur_reizung", false}, {"fragetext", "F"}}), "'antworttext'");
  EXPECT_THROW(Karteikarte(std::make_shared<CardRecord>(card_record_from_value(Dict{})), "kk-3", 3),
               KeyError);
}

TEST(KarteikarteAnswers, LastIntervalNoLapseGrowsAndShrinksOutsideTests) {
  const CardRef record = question_card();
  Karteikarte card(record, "kk-1", 3);
  EXPECT_EQ(error_of([&] { card.get_last_interval_no_lapse(); }), "list index out of range");

  card.set_last_interval_no_lapse(5, "again", false);
  EXPECT_TRUE(record->last_interval_no_lapse.empty());
  card.set_last_interval_no_lapse(5, "good", false);
  card.set_last_interval_no_lapse(7, "hard", false);
  EXPECT_EQ(repr(record->last_interval_no_lapse), "[5, 7]");
  EXPECT_EQ(card.get_last_interval_no_lapse(), Value(5));

  card.set_last_interval_no_lapse(9, "again", false);
  EXPECT_EQ(repr(record->last_interval_no_lapse), "[5]");
  EXPECT_EQ(card.get_last_interval_no_lapse(), Value(5));

  card.set_last_interval_no_lapse(8, "easy", true);
  card.set_last_interval_no_lapse(8, "again", true);
  card.set_letzte_antwort("easy", true);
  EXPECT_EQ(repr(record->last_interval_no_lapse), "[5]");
  EXPECT_EQ(card.get_letzte_antwort(), "good");
}

TEST(KarteikarteInfo, PrintsEveryValueAsTheHostDoes) {
  const CardRef record = question_card();
  record->faellig_erstes_mal = DateTime(2021, 9, 22, 3);
  record->last_interval_no_lapse.append(1);
  record->last_interval_no_lapse.append(2);
  Karteikarte card(record, "kk-1", 3);
  card.set_beantwortungszeit(12.5);

  const CapturedLines output;
  card.show_info();
  const std::string rule(50, '*');
  EXPECT_EQ(output.lines(), (std::vector<std::string>{rule,
                                                      "Werte der Karte",
                                                      "name:  kk-1",
                                                      "nur_reizung:  False",
                                                      "status:  learned",
                                                      "reps:  3",
                                                      "lapses:  1",
                                                      "due:  1632297600.0",
                                                      "ease_factor:  250",
                                                      "steps_index:  0",
                                                      "interval:  2.5",
                                                      "zuletzt_vergessen:  None",
                                                      "faellig_erstes_mal:  2021-09-22 03:00:00",
                                                      "last_interval_no_lapse:  [1, 2]",
                                                      "last_interval:  []",
                                                      "beantwortungszeiten:  [12.5]",
                                                      "letzte Antwort:  good",
                                                      "permanent_fudge_neu :  4",
                                                      "permanent_fudge_wdh :  7",
                                                      rule}));
}

TEST(KarteikarteInfo, TestCardStopsAtItsMissingName) {
  const Karteikarte card(nullptr, std::nullopt, 3);
  const CapturedLines output;
  EXPECT_THROW(card.show_info(), AttributeError);
  EXPECT_EQ(output.lines(), (std::vector<std::string>{std::string(50, '*'), "Werte der Karte"}));
}

TEST(KarteikarteCopy, SharesNothingWithTheStoredCard) {
  const CardRef record = question_card();
  const Karteikarte card(record, "kk-1", 3);
  deep_copy(card).set_beantwortungszeit(3);
  EXPECT_TRUE(record->beantwortungszeiten.empty());

  const CardRef bidding =
      std::make_shared<CardRecord>(card_record_from_value(Dict{{"nur_reizung", true}}));
  Karteikarte bidding_copy = deep_copy(Karteikarte(bidding, "kk-2", 3));
  bidding_copy.set_beantwortungszeit(3);
  EXPECT_NE(bidding_copy.reizung, bidding);
  EXPECT_TRUE(bidding->beantwortungszeiten.empty());
  EXPECT_EQ(repr(bidding_copy.reizung->beantwortungszeiten), "[3]");
}

}  // namespace
}  // namespace tavo::kk
