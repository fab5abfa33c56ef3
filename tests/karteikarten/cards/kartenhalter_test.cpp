// The holders of cards: Kartenhalter, Heap_umwandler and Karten_Identifier.
#include "karteikarten/cards/kartenhalter.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "captured_lines.hpp"
#include "karteikarten/cards/heap_umwandler.hpp"
#include "karteikarten/cards/karten_identifier.hpp"
#include "platform/diagnostics.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
using Names = std::vector<std::string>;
using Daten = Kartenhalter::Daten;
using Liste = Heap_umwandler::Liste;

CardRef card_with_fudge(std::optional<std::int64_t> fudge) {
  auto record = std::make_shared<CardRecord>();
  record->set_fudge(fudge);
  return record;
}

Entry pair_of(const CardRef& data, const std::string& name) {
  return Entry{std::nullopt, data, name};
}

TEST(Kartenhalter, PairsPutTheRecordFirstAndTheIdentifierIsBuiltOnce) {
  EXPECT_EQ(Kartenhalter().get_laenge(), 0u);
  EXPECT_TRUE(Kartenhalter().get_identifier().empty());
  const CardRef d = card_with_fudge(4);
  const CardRef e = card_with_fudge(1);
  Kartenhalter halter;
  halter.add_karte("A", d);
  EXPECT_EQ(*halter.get_daten(), (Daten{pair_of(d, "A")}));
  Daten& identifier = halter.get_identifier();
  EXPECT_EQ(identifier, (Daten{Entry{4, d, "A"}}));
  halter.add_karte("B", e);
  d.set_fudge(9);
  EXPECT_EQ(&halter.get_identifier(), &identifier);
  EXPECT_EQ(halter.get_identifier(), (Daten{Entry{4, d, "A"}}));
  EXPECT_EQ(halter.get_karten(), (std::vector<CardRef>{d, e}));

  halter.convert_to_identifier();
  EXPECT_EQ(halter.get_identifier(), (Daten{Entry{9, d, "A"}, Entry{1, e, "B"}}));
  // A record without fudge fails the conversion and keeps the old list.
  halter.add_karte("C", card_with_fudge(std::nullopt));
  EXPECT_THROW(halter.convert_to_identifier(), KeyError);
  EXPECT_EQ(halter.get_identifier().size(), 2u);
}

TEST(Kartenhalter, AddAppendsEveryPairEvenTwice) {
  Kartenhalter halter;
  halter.add_karte("A", card_with_fudge(1));
  Kartenhalter second;
  second.add_karte("A", card_with_fudge(1));
  second.add_karte("B", card_with_fudge(2));
  halter.add(second);
  halter.add(halter);
  EXPECT_EQ(halter.get_bezeichner(), (Names{"A", "A", "B", "A", "A", "B"}));
}

TEST(Kartenhalter, IntersectSharesTheListOfAnEmptyHolderOrAppendsTheMissingPairs) {
  const CardRef d = card_with_fudge(1);
  const CardRef e = card_with_fudge(2);
  const CardRef f = card_with_fudge(3);
  Kartenhalter empty;
  Kartenhalter other;
  other.add_karte("A", d);
  empty.intersect(other);
  empty.add_karte("B", e);
  EXPECT_EQ(other.get_bezeichner(), (Names{"A", "B"}));

  // The missing pairs are appended in the other's order; a pair holding an
  // equal copy of a held record is not missing.
  Kartenhalter more;
  for (const char* name : {"C", "A", "C", "B"}) more.add_karte(name, name[0] == 'A' ? d : f);
  more.add_karte("B", card_with_fudge(2));
  other.intersect(more);
  other.intersect(other);
  EXPECT_EQ(*empty.daten,
            (Daten{pair_of(d, "A"), pair_of(e, "B"), pair_of(f, "C"), pair_of(f, "B")}));
}

TEST(Heap_umwandler, PairsTakeTheirRecordsFudgeAndTheLowestComeFirst) {
  const CardRef d1 = card_with_fudge(7);
  const CardRef d2 = card_with_fudge(3);
  const Liste pairs{Entry{std::nullopt, d1, "a"}, Entry{std::nullopt, d2, "b"}};
  EXPECT_FALSE(Heap_umwandler(pairs).check_int());
  EXPECT_EQ(Heap_umwandler(pairs).do_from_list(), (Liste{Entry{3, d2, "b"}}));
  EXPECT_EQ(Heap_umwandler(pairs, 5).do_from_list(), (Liste{Entry{3, d2, "b"}, Entry{7, d1, "a"}}));
  EXPECT_TRUE(Heap_umwandler(Liste{}).do_from_list().empty());

  // It shares the holder's list: the card added later, without a fudge,
  // would not be picked, but all are converted.
  Kartenhalter halter;
  halter.add_karte("a", card_with_fudge(1));
  const Heap_umwandler umwandler(halter.daten);
  halter.add_karte("b", card_with_fudge(std::nullopt));
  EXPECT_THROW(umwandler.do_from_list(), KeyError);

  // Triples are ordered by their own fudge, then by name.
  const Liste triples{Entry{5, d1, "c"}, Entry{2, d1, "b"}, Entry{2, d1, "a"}, Entry{9, d1, "d"}};
  const Heap_umwandler drei(triples, 3);
  EXPECT_TRUE(drei.check_int());
  EXPECT_EQ(drei.do_from_list(), (Liste{Entry{2, d1, "a"}, Entry{2, d1, "b"}, Entry{5, d1, "c"}}));
  EXPECT_THAT([&] { static_cast<void>(drei.do_()); },
              ThrowsMessage<ValueError>(StrEq("too many values to unpack")));
}

TEST(Karten_Identifier, PairsTakeTheFudgeOfTheirRecordAndTriplesKeepTheirOwn) {
  const CardRef d = card_with_fudge(6);
  platform::Diagnostics diagnostics;
  Karten_Identifier identifier("S");
  identifier.add_two_tuple_list(diagnostics, {Entry{std::nullopt, d, "x"}, Entry{2, d, "y"}});
  EXPECT_EQ(identifier.liste, (std::vector<IdentifiedCard>{{6, d, "x", "S"}, {2, d, "y", "S"}}));
  EXPECT_EQ(identifier.get_3er_liste(), (std::vector<Entry>{{6, d, "x"}, {2, d, "y"}}));
  {
    const testing::CapturedLines output(diagnostics);
    identifier.print_liste(diagnostics);
    EXPECT_EQ(output.text(), "x\ny\n");
  }

  // Failures keep the entries added before.
  EXPECT_THROW(
      identifier.add_two_tuple_list(
          diagnostics, {Entry{1, d, "a"}, Entry{std::nullopt, card_with_fudge(std::nullopt), "b"}}),
      KeyError);
  diagnostics.debug_status = true;
  EXPECT_THROW(identifier.add_two_tuple_list(diagnostics, {Entry{4, nullptr, "e"}}),
               AssertionError);
  diagnostics.debug_status = false;
  EXPECT_THAT(
      [&] {
        identifier.add_liste({Entry{3, d, "c"}, Entry{std::nullopt, d, "d"}});
      },
      ThrowsMessage<IndexError>(StrEq("tuple index out of range")));
  EXPECT_EQ(identifier.get_3er_liste(),
            (std::vector<Entry>{{6, d, "x"}, {2, d, "y"}, {1, d, "a"}, {3, d, "c"}}));
}

}  // namespace
}  // namespace tavo::kk
