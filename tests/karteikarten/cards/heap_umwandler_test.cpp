#include "karteikarten/cards/heap_umwandler.hpp"

#include <gtest/gtest.h>

#include <string>

#include "holder_cards.hpp"
#include "karteikarten/cards/kartenhalter.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using testing::card_with_fudge;
using Liste = Heap_umwandler::Liste;

TEST(Heap_umwandler, PicksTheLowestFudgeOfPairs) {
  const CardRef d1 = card_with_fudge(7);
  const CardRef d2 = card_with_fudge(3);
  const Liste pairs{Entry{std::nullopt, d1, "a"}, Entry{std::nullopt, d2, "b"}};

  EXPECT_FALSE(Heap_umwandler(pairs).check_int());
  EXPECT_EQ(Heap_umwandler(pairs).do_from_list(), (Liste{Entry{3, d2, "b"}}));
  EXPECT_EQ(Heap_umwandler(pairs, 5).do_from_list(), (Liste{Entry{3, d2, "b"}, Entry{7, d1, "a"}}));
}

TEST(Heap_umwandler, TriplesAreOrderedByTheirOwnFudgeThenByName) {
  const CardRef d = card_with_fudge(1);
  const Liste triples{Entry{5, d, "c"}, Entry{2, d, "b"}, Entry{2, d, "a"}, Entry{9, d, "d"}};
  const Heap_umwandler umwandler(triples, 3);

  EXPECT_TRUE(umwandler.check_int());
  EXPECT_EQ(umwandler.do_from_list(),
            (Liste{Entry{2, d, "a"}, Entry{2, d, "b"}, Entry{5, d, "c"}}));
  try {
    static_cast<void>(umwandler.do_());
    ADD_FAILURE() << "expected ValueError";
  } catch (const ValueError& error) {
    EXPECT_STREQ(error.what(), "too many values to unpack");
  }
}

TEST(Heap_umwandler, EmptyListGivesNothingAndEveryPairNeedsAFudge) {
  const Heap_umwandler empty{Liste{}};
  EXPECT_TRUE(empty.check_int());
  EXPECT_TRUE(empty.do_from_list().empty());

  // The card without a fudge would not be picked, but all are converted.
  Kartenhalter halter;
  halter.add_karte("a", card_with_fudge(1));
  const Heap_umwandler umwandler(halter.daten);
  halter.add_karte("b", card_with_fudge(std::nullopt));
  EXPECT_THROW(umwandler.do_from_list(), KeyError);
}

}  // namespace
}  // namespace tavo::kk
