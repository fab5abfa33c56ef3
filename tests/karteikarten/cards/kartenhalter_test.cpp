#include "karteikarten/cards/kartenhalter.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "holder_cards.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using testing::card_with_fudge;
using Names = std::vector<std::string>;

Entry pair_of(const CardRef& data, const std::string& name) {
  return Entry{std::nullopt, data, name};
}

TEST(Kartenhalter, NewHolderIsEmptyAndConvertsNothing) {
  Kartenhalter halter;
  EXPECT_EQ(halter.get_laenge(), 0u);
  EXPECT_TRUE(halter.get_bezeichner().empty());
  EXPECT_TRUE(halter.get_karten().empty());
  EXPECT_TRUE(halter.get_identifier().empty());
}

TEST(Kartenhalter, PairsPutTheRecordFirstAndTheIdentifierIsBuiltOnce) {
  const CardRef d = card_with_fudge(4);
  const CardRef e = card_with_fudge(1);
  Kartenhalter halter;
  halter.add_karte("A", d);

  EXPECT_EQ(*halter.get_daten(), (Kartenhalter::Daten{pair_of(d, "A")}));
  Kartenhalter::Daten& identifier = halter.get_identifier();
  EXPECT_EQ(identifier, (Kartenhalter::Daten{Entry{4, d, "A"}}));

  halter.add_karte("B", e);
  d->fudge = 9;
  EXPECT_EQ(&halter.get_identifier(), &identifier);
  EXPECT_EQ(halter.get_identifier(), (Kartenhalter::Daten{Entry{4, d, "A"}}));
  EXPECT_EQ(halter.get_karten(), (std::vector<CardRef>{d, e}));
  EXPECT_TRUE(halter.enthaelt_bezeichner("B"));

  halter.convert_to_identifier();
  EXPECT_EQ(halter.get_identifier(), (Kartenhalter::Daten{Entry{9, d, "A"}, Entry{1, e, "B"}}));

  // A record without fudge fails the conversion and keeps the old list.
  halter.add_karte("C", card_with_fudge(std::nullopt));
  EXPECT_THROW(halter.convert_to_identifier(), KeyError);
  EXPECT_EQ(halter.get_identifier().size(), 2u);
}

TEST(Kartenhalter, AddAppendsEveryPairEvenTwice) {
  const CardRef d = card_with_fudge(1);
  const CardRef e = card_with_fudge(2);
  Kartenhalter first;
  first.add_karte("A", d);
  Kartenhalter second;
  second.add_karte("A", d);
  second.add_karte("B", e);

  first.add(second);
  EXPECT_EQ(first.get_bezeichner(), (Names{"A", "A", "B"}));
  first.add(first);
  EXPECT_EQ(first.get_laenge(), 6u);
}

TEST(Kartenhalter, IntersectOnAnEmptyHolderSharesTheOtherList) {
  Kartenhalter empty;
  Kartenhalter other;
  other.add_karte("A", card_with_fudge(1));
  empty.intersect(other);

  EXPECT_EQ(empty.get_daten(), other.get_daten());
  empty.add_karte("B", card_with_fudge(2));
  other.add_karte("C", card_with_fudge(3));
  EXPECT_EQ(other.get_bezeichner(), (Names{"A", "B", "C"}));
  EXPECT_EQ(empty.get_bezeichner(), (Names{"A", "B", "C"}));
}

TEST(Kartenhalter, IntersectOtherwiseAppendsTheMissingPairsInTheOtherOrder) {
  const CardRef d = card_with_fudge(1);
  const CardRef e = card_with_fudge(2);
  const CardRef f = card_with_fudge(3);
  Kartenhalter halter;
  halter.add_karte("A", d);
  halter.add_karte("B", e);
  Kartenhalter other;
  other.add_karte("C", f);
  other.add_karte("A", d);
  other.add_karte("C", f);
  other.add_karte("B", f);  // another record under a held name

  halter.intersect(other);
  EXPECT_EQ(*halter.daten, (Kartenhalter::Daten{pair_of(d, "A"), pair_of(e, "B"), pair_of(f, "C"),
                                                pair_of(f, "B")}));
  halter.intersect(Kartenhalter());
  halter.intersect(halter);
  EXPECT_EQ(halter.get_laenge(), 4u);
}

}  // namespace
}  // namespace tavo::kk
