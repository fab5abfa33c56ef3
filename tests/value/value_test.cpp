#include "value/value.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "value/errors.hpp"

namespace tavo {
namespace {

TEST(Value, NumbersCompareAndHashAcrossKinds) {
  EXPECT_EQ(Value(1), Value(1.0));
  EXPECT_EQ(Value(true), Value(1));
  EXPECT_LT(Value(1), Value(1.5));
  EXPECT_GT(Value(2.5), Value(2));
  EXPECT_EQ(Value(1).hash(), Value(1.0).hash());
  // Exact comparison where a double cannot hold the integer.
  EXPECT_LT(Value(std::int64_t{9007199254740993}), Value(9007199254740994.0));
  EXPECT_GT(Value(std::int64_t{9007199254740993}), Value(9007199254740992.0));
  EXPECT_LT(Value(INT64_MAX), Value(9.3e18));

  Dict keys;
  keys.set(1, "a");
  keys.set(1.0, "b");
  keys.set(true, "c");
  EXPECT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys.at(1), Value("c"));
}

TEST(Value, TotalOrderAcrossKinds) {
  const double nan = std::nan("");
  EXPECT_LT(Value(None), Value(-1e300));
  EXPECT_LT(Value(1e300), Value(nan));
  EXPECT_EQ(Value(nan), Value(nan));
  EXPECT_LT(Value(nan), Value(DateTime(2021, 1, 1)));
  EXPECT_LT(Value(DateTime(2021, 1, 1)), Value(Dict{}));
  EXPECT_LT(Value(Dict{}), Value(List{}));
  EXPECT_LT(Value(List{}), Value(""));
  EXPECT_LT(Value("zzz"), Value(Tuple{}));
  EXPECT_LT(Value(List{1, 2}), Value(List{1, 3}));
  EXPECT_LT(Value(List{1, 2}), Value(List{1, 2, 0}));
  EXPECT_LT(Value(Tuple{2021, 9}), Value(Tuple{2021, 10}));
}

TEST(Value, DictsEqualRegardlessOfOrderAndOrderConsistently) {
  const Dict a{{"x", 1}, {"y", 2}};
  const Dict b{{"y", 2}, {"x", 1.0}};
  EXPECT_EQ(Value(a), Value(b));
  EXPECT_EQ(Value(a) <=> Value(b), std::weak_ordering::equivalent);
  EXPECT_NE(Value(a), Value(Dict{{"x", 1}, {"y", 3}}));
  EXPECT_LT(Value(Dict{{"z", 0}}), Value(a));
}

TEST(Value, Truthiness) {
  EXPECT_FALSE(Value().truthy());
  EXPECT_FALSE(Value(0).truthy());
  EXPECT_FALSE(Value(0.0).truthy());
  EXPECT_FALSE(Value("").truthy());
  EXPECT_FALSE(Value(List{}).truthy());
  EXPECT_FALSE(Value(Tuple{}).truthy());
  EXPECT_FALSE(Value(Dict{}).truthy());
  EXPECT_FALSE(Value(false).truthy());
  EXPECT_TRUE(Value(-1).truthy());
  EXPECT_TRUE(Value(std::nan("")).truthy());
  EXPECT_TRUE(Value("0").truthy());
  EXPECT_TRUE(Value(List{None}).truthy());
  EXPECT_TRUE(Value(DateTime(1, 1, 1)).truthy());
}

TEST(Value, ListsAndDictsAreSharedUntilDeepCopied) {
  const List inner{1, 2};
  const Dict outer{{"inner", inner}, {"again", inner}};
  const Value shared = outer;
  shared.as_dict().at("inner").as_list().append(3);
  EXPECT_EQ(inner.size(), 3u);

  const Value copy = deep_copy(shared);
  EXPECT_EQ(copy, shared);
  copy.as_dict().at("inner").as_list().append(4);
  EXPECT_EQ(inner.size(), 3u);
  // Structure shared inside the original stays shared inside the copy.
  EXPECT_TRUE(copy.as_dict().at("inner").as_list().same(copy.as_dict().at("again").as_list()));
}

// An empty list or dict takes memory of its own only when needed: every
// way of sharing it must still give one list or dict.
TEST(Value, EmptyContainersStayOneObjectWhenShared) {
  const List list;
  const List list_copy = list;
  list_copy.append(1);
  EXPECT_EQ(Value(list), Value(List{1}));
  List assigned{2};
  assigned = List();
  const List held = assigned;
  assigned.append(3);
  EXPECT_EQ(Value(held), Value(List{3}));
  const Value list_value = List();
  list_value.as_list().append(4);
  EXPECT_EQ(list_value, Value(List{4}));
  const List fresh;
  EXPECT_TRUE(fresh.same(fresh));
  EXPECT_FALSE(fresh.same(List()));
  EXPECT_EQ(fresh.identity(), List(fresh).identity());

  const Dict dict;
  const Dict dict_copy = dict;
  dict_copy.set("k", 1);
  EXPECT_EQ(dict.get("k"), Value(1));
  const Value dict_value = Dict();
  dict_value.as_dict().set("k", 2);
  EXPECT_EQ(dict_value, Value(Dict{{"k", 2}}));
  const Dict empty;
  EXPECT_TRUE(empty.same(empty));
  EXPECT_FALSE(empty.same(Dict()));
  // An empty list reached twice is copied once.
  const List inner;
  const Value twice = List{inner, inner};
  const List copies = deep_copy(twice).as_list();
  EXPECT_TRUE(copies.at(0).as_list().same(copies.at(1).as_list()));
}

TEST(Value, ContainerErrorsCarryTheHostMessages) {
  const List list{1, 2, 3};
  EXPECT_EQ(list.at(-1), Value(3));
  EXPECT_THROW(list.at(3), IndexError);
  EXPECT_EQ(list.pop(0), Value(1));
  try {
    list.remove(42);
    FAIL();
  } catch (const ValueError& error) {
    EXPECT_STREQ(error.what(), "list.remove(x): x not in list");
  }
  try {
    Dict{}.set(List{}, 1);
    FAIL();
  } catch (const TypeError& error) {
    EXPECT_STREQ(error.what(), "unhashable type: 'list'");
  }
  EXPECT_THROW(Value("text").as_int(), TypeError);
  EXPECT_EQ(Value(true).as_int(), 1);
}

TEST(Value, KeyErrorCarriesTheMissingKey) {
  static_assert(std::is_nothrow_copy_constructible_v<KeyError>);
  const Dict dict{{"present", 1}};
  const std::vector<std::pair<Value, std::string>> missing = {
      {"missing", "'missing'"}, {7, "7"}, {"it's", "\"it's\""}, {Tuple{1, "a"}, "(1, 'a')"}};
  for (const auto& [key, message] : missing) {
    for (const bool erasing : {false, true}) {
      try {
        if (erasing) {
          dict.erase(key);
        } else {
          static_cast<void>(dict.at(key));
        }
        ADD_FAILURE() << message;
      } catch (const KeyError& error) {
        EXPECT_EQ(error.what(), message);
        ASSERT_NE(error.key(), nullptr);
        EXPECT_EQ(*error.key(), key);
        EXPECT_TRUE(error.message_is_key());
      }
    }
  }

  const KeyError described("no setting 'x'", Value("x"));
  EXPECT_STREQ(described.what(), "no setting 'x'");
  EXPECT_EQ(*described.key(), Value("x"));
  EXPECT_FALSE(described.message_is_key());
  EXPECT_EQ(KeyError("no current collection", std::nullopt).key(), nullptr);
}

TEST(Value, DictKeepsInsertionOrderThroughGrowthAndErasure) {
  Dict dict;
  for (int i = 20; i > 0; --i) dict.set(i, i * 10);
  dict.set(15, "replaced");
  dict.erase(20);
  dict.erase(3);
  std::vector<Value> expected;
  for (int i = 19; i > 0; --i) {
    if (i != 3) expected.push_back(i);
  }
  EXPECT_EQ(dict.keys(), expected);
  EXPECT_EQ(dict.at(15), Value("replaced"));
  EXPECT_EQ(dict.get(3), Value());
  EXPECT_EQ(dict.pop(4, None), Value(40));
  EXPECT_FALSE(dict.contains(4));
  EXPECT_EQ(dict.setdefault("new", List{}), Value(List{}));
  EXPECT_EQ(dict.keys().back(), Value("new"));
}

}  // namespace
}  // namespace tavo
