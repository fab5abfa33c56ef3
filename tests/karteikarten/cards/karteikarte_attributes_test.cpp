#include "karteikarten/cards/karteikarte_attributes.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/common_functions.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

const HostAttributes<Karteikarte>& attributes = karteikarte_attributes();

using Shown = std::pair<const char*, const char*>;

// Each attribute of `card` as the host reads it.
void expect_shown(const Karteikarte& card, std::initializer_list<Shown> shown) {
  for (const auto& [attribute, expected] : shown) {
    EXPECT_EQ(repr(attributes.get(card, attribute)), expected) << attribute;
  }
}

TEST(KarteikarteAttributes, ListEveryDataMemberButTheRecord) {
  std::vector<std::string_view> names = attributes.names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string_view>{
                       "STARTING_EASE", "antworttext", "beantwortungszeiten", "due", "ease_factor",
                       "faellig_erstes_mal", "fragetext", "interval", "karte_ist_neu", "lapses",
                       "last_interval", "last_interval_no_lapse", "learnstatus", "letzte_antwort",
                       "name", "nur_reizung", "permanent_fudge_neu", "permanent_fudge_wdh", "reps",
                       "startzeit_tag", "steps", "steps_index", "zuletzt_vergessen"}));
}

TEST(KarteikarteAttributes, ReadTheCardAndShareItsLists) {
  const auto record = std::make_shared<CardRecord>(card_record_from_value(Dict{
      {"fragetext", "Frage"}, {"antworttext", "Antwort"}, {"learnstatus", "learned"},
      {"due", 1632297600.5}, {"interval", 2.5}, {"beantwortungszeiten", List{7}},
      {"permanent_fudge_wdh", 4}}));
  Karteikarte card(record, "kk-1", 3);
  expect_shown(card, {{"learnstatus", "'learned'"},
                      {"due", "1632297600.5"},
                      {"interval", "2.5"},
                      {"name", "'kk-1'"},
                      {"letzte_antwort", "None"},
                      {"last_interval", "[]"},
                      {"permanent_fudge_wdh", "4"},
                      {"karte_ist_neu", "True"}});

  attributes.get(card, "beantwortungszeiten").as_list().append(9);
  EXPECT_EQ(repr(record->beantwortungszeiten), "[7, 9]");

  attributes.set(card, "due", "done");
  attributes.set(card, "learnstatus", "relearning");
  attributes.set(card, "interval", 4);
  EXPECT_TRUE(card.due.is_done());
  EXPECT_EQ(card.learnstatus, Learnstatus::relearning);
  EXPECT_EQ(repr(card.interval), "4");
  EXPECT_TRUE(record->due.is_moment()) << "scalars assigned on the card stay on the card";
}

TEST(KarteikarteAttributes, TestCardLacksWhatItHasNot) {
  Karteikarte card = Karteikarte::testcard(platform::Common_functions(), 3);
  expect_shown(card, {{"steps", "0"},
                      {"letzte_antwort", "'again'"},
                      {"last_interval", "None"},
                      {"permanent_fudge_neu", "None"}});
  for (const char* absent : {"name", "reps", "karte_ist_neu", "beantwortungszeiten",
                             "last_interval_no_lapse", "fragetext"}) {
    EXPECT_THAT([&] { attributes.get(card, absent); },
                ThrowsMessage<AttributeError>(
                    StrEq("'Karteikarte' object has no attribute '" + std::string(absent) + "'")));
  }
  attributes.set(card, "name", "neu");
  attributes.set(card, "reps", 2);
  EXPECT_EQ(card.name, "neu");
  EXPECT_EQ(card.reps, 2);
}

TEST(KarteikarteAttributes, WrongKindsLeaveTheCardUnchanged) {
  Karteikarte card = Karteikarte::testcard(platform::Common_functions(), 3);
  EXPECT_THAT([&] { attributes.set(card, "lapses", "3"); },
              ThrowsMessage<TypeError>(StrEq("attribute 'lapses' must be int, not str")));
  EXPECT_THAT([&] { attributes.set(card, "name", None); },
              ThrowsMessage<TypeError>(StrEq("attribute 'name' must be str, not NoneType")));
  EXPECT_THROW(attributes.set(card, "learnstatus", "gelernt"), ValueError);
  EXPECT_THROW(attributes.set(card, "due", List{}), TypeError);
  EXPECT_THAT([&] { attributes.set(card, "farbe", 1); },
              ThrowsMessage<AttributeError>(
                  StrEq("'Karteikarte' object has no attribute 'farbe'")));
  EXPECT_EQ(card.lapses, 0);
  EXPECT_EQ(card.learnstatus, Learnstatus::learning);
}

}  // namespace
}  // namespace tavo::kk
