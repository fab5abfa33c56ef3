#include "karteikarten/cards/card_map.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "value/errors.hpp"

namespace tavo::kk {
namespace {

CardRef record_with_reps(std::int64_t reps) {
  auto record = std::make_shared<CardRecord>();
  record->reps = reps;
  return record;
}

using Names = std::vector<std::string>;

TEST(CardMap, KeepsInsertionOrderThroughReplaceAndErase) {
  CardMap cards;
  for (const char* name : {"kk-1", "kk-2", "kk-3", "kk-4"}) cards.set(name, record_with_reps(0));
  const CardRef replacement = record_with_reps(5);
  cards.set("kk-2", replacement);
  cards.erase("kk-3");

  EXPECT_EQ(cards.names(), (Names{"kk-1", "kk-2", "kk-4"}));
  EXPECT_EQ(cards.size(), 3u);
  EXPECT_EQ(cards.at("kk-2"), replacement);
  EXPECT_EQ(cards.find("kk-3"), nullptr);
  EXPECT_FALSE(cards.contains("kk-3"));

  cards.set("kk-3", record_with_reps(1));
  EXPECT_EQ(cards.names(), (Names{"kk-1", "kk-2", "kk-4", "kk-3"}));

  try {
    cards.erase("kk-9");
    ADD_FAILURE() << "expected KeyError";
  } catch (const KeyError& error) {
    EXPECT_STREQ(error.what(), "'kk-9'");
  }
}

TEST(CardMap, ErasingAllButAFewOfALargeMapKeepsOrderAndLookup) {
  constexpr int count = 100'000;
  CardMap cards;
  for (int i = 0; i < count; ++i) cards.set("kk-" + std::to_string(i), record_with_reps(i));
  for (int i = 0; i < count; ++i) {
    if (i != 7 && i != 50'000 && i != count - 1) cards.erase("kk-" + std::to_string(i));
  }

  EXPECT_EQ(cards.names(), (Names{"kk-7", "kk-50000", "kk-99999"}));
  EXPECT_EQ(cards.at("kk-50000")->reps, 50'000);
  EXPECT_EQ(cards.at("kk-99999")->reps, count - 1);
  cards.erase("kk-7");
  cards.set("kk-1", record_with_reps(1));
  EXPECT_EQ(cards.names(), (Names{"kk-50000", "kk-99999", "kk-1"}));
}

TEST(CardMap, CopiesShareRecordsAndDeepCopiesDoNot) {
  CardMap cards;
  cards.set("kk-1", record_with_reps(0));
  cards.set("kk-2", record_with_reps(0));

  const CardMap shallow = cards;
  shallow.at("kk-1")->reps = 3;
  EXPECT_EQ(cards.at("kk-1")->reps, 3);

  CardMap deep = deep_copy(cards);
  deep.at("kk-1")->reps = 8;
  deep.at("kk-2")->beantwortungszeiten.append(12);
  deep.erase("kk-2");
  EXPECT_EQ(cards.at("kk-1")->reps, 3);
  EXPECT_TRUE(cards.at("kk-2")->beantwortungszeiten.empty());
  EXPECT_EQ(cards.names(), (Names{"kk-1", "kk-2"}));
}

}  // namespace
}  // namespace tavo::kk
