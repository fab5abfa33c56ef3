#include "karteikarten/cards/karteikarte_attributes.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/common_functions.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

const HostAttributes<Karteikarte>& attributes = karteikarte_attributes();

TEST(KarteikarteAttributes, ReadTheCardAndShareItsLists) {
  const auto record = std::make_shared<CardRecord>(card_record_from_value(Dict{
      {"fragetext", "Frage"}, {"antworttext", "Antwort"}, {"learnstatus", "learned"},
      {"due", 1632297600.5}, {"interval", 2.5}, {"beantwortungszeiten", List{7}}}));
  Karteikarte card(record, "kk-1", 3);

  EXPECT_EQ(repr(attributes.get(card, "learnstatus")), "'learned'");
  EXPECT_EQ(repr(attributes.get(card, "due")), "1632297600.5");
  EXPECT_EQ(repr(attributes.get(card, "interval")), "2.5");
  EXPECT_EQ(repr(attributes.get(card, "name")), "'kk-1'");
  EXPECT_EQ(repr(attributes.get(card, "letzte_antwort")), "None");

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
  EXPECT_EQ(repr(attributes.get(card, "steps")), "0");
  EXPECT_EQ(repr(attributes.get(card, "letzte_antwort")), "'again'");
  for (const char* absent : {"name", "reps", "karte_ist_neu", "beantwortungszeiten",
                             "last_interval_no_lapse", "fragetext"}) {
    EXPECT_THAT([&] { attributes.get(card, absent); },
                ThrowsMessage<AttributeError>(
                    StrEq("'Karteikarte' object has no attribute '" + std::string(absent) + "'")));
  }
  attributes.set(card, "name", "neu");
  EXPECT_EQ(card.name, "neu");
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
