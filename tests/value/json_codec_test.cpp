#include "value/json_codec.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

// Equality alone would accept 1 for 1.0 or True; the repr tells kinds apart.
void expect_exact_round_trip(const Value& value) {
  const Value decoded = decode_json(encode_json(value));
  EXPECT_EQ(repr(decoded), repr(value)) << encode_json(value);
  EXPECT_EQ(decoded, value);
}

TEST(JsonCodec, RoundTripsEveryKindExactly) {
  expect_exact_round_trip(None);
  expect_exact_round_trip(true);
  expect_exact_round_trip(INT64_MIN);
  expect_exact_round_trip(4.0);
  expect_exact_round_trip(0.1);
  expect_exact_round_trip(1e300);
  expect_exact_round_trip(-0.0);
  expect_exact_round_trip(HUGE_VAL);
  expect_exact_round_trip("Karteikarte \xc3\xbc \"quoted\"\n");
  expect_exact_round_trip("\xff\xfe latin bytes");
  expect_exact_round_trip(DateTime(2021, 9, 22, 1, 2, 3, 456789));

  const Dict nested{
      {"ints", List{1, 1.0, true}},
      {"tuple", Tuple{2021, 9, 22, Tuple{1}}},
      {"empty", Dict{}},
      {"when", List{DateTime(2021, 3, 28, 2, 30)}},
      {"mixed keys", Dict{{1, "one"}, {Tuple{1, 2}, "pair"}, {None, 0.5}, {"text", 1}}},
      {"tag lookalike", Dict{{"__tuple__", List{1}}}},
  };
  expect_exact_round_trip(nested);
  // Insertion order survives.
  const Dict order{{"b", 1}, {"a", 2}, {"c", 3}};
  EXPECT_EQ(decode_json(encode_json(order)).as_dict().keys(), (std::vector<Value>{"b", "a", "c"}));
}

// Compact lists of numbers and date-time tags are read without the
// parser; spaced out, the same texts go through it. Both must agree on
// every value and kind, and on every rejection.
TEST(JsonCodec, ReadsCompactTextsAsTheParserDoes) {
  const std::vector<std::pair<std::string, std::string>> texts{
      {"[1,2.5,-3]", "[ 1, 2.5, -3 ]"},
      {"[-0,-0.0,0.1,1e-05,2E+3]", "[ -0, -0.0, 0.1, 1e-05, 2E+3 ]"},
      {"[9223372036854775807,-9223372036854775808]",
       "[ 9223372036854775807, -9223372036854775808 ]"},
      {"[99999999999999999999]", "[ 99999999999999999999 ]"},
      {"{\"__datetime__\":[2021,9,22,1,2,3,456789]}",
       "{ \"__datetime__\": [2021, 9, 22, 1, 2, 3, 456789] }"},
  };
  for (const auto& [compact, spaced] : texts) {
    EXPECT_EQ(repr(decode_json(compact)), repr(decode_json(spaced))) << compact;
  }
  const std::vector<std::pair<std::string, std::string>> rejected{
      {"[01]", "[ 01 ]"},
      {"[1,]", "[ 1, ]"},
      {"[1.]", "[ 1. ]"},
      {"[1e400]", "[ 1e400 ]"},
      {"[18446744073709551615]", "[ 18446744073709551615 ]"},
      {"{\"__datetime__\":[2021,13,1,0,0,0,0]}", "{ \"__datetime__\": [2021, 13, 1, 0, 0, 0, 0] }"},
      {"{\"__datetime__\":[2021,1,1]}", "{ \"__datetime__\": [2021, 1, 1] }"},
  };
  for (const auto& [compact, spaced] : rejected) {
    EXPECT_THROW(decode_json(spaced), ValueError) << spaced;
    EXPECT_THROW(decode_json(compact), ValueError) << compact;
  }
}

TEST(JsonCodec, RejectsMalformedInput) {
  EXPECT_THROW(decode_json("{\"a\": "), ValueError);
  EXPECT_THROW(decode_json("{\"__datetime__\": [2021, 13, 1, 0, 0, 0, 0]}"), ValueError);
  EXPECT_THROW(decode_json("{\"__datetime__\": \"soon\"}"), ValueError);
  EXPECT_THROW(decode_json("{\"__dict__\": [[1]]}"), ValueError);
  EXPECT_THROW(decode_json("18446744073709551615"), ValueError);
  EXPECT_THROW(decode_json("[1e400]"), ValueError);
  // A field beyond int must not wrap into range (2^32 + 2021 wraps to 2021).
  EXPECT_THROW(decode_json("{\"__datetime__\": [4294969317, 1, 1, 0, 0, 0, 0]}"), ValueError);
  const List self;
  self.append(self);
  EXPECT_THROW(encode_json(self), ValueError);
  self.clear();  // reference counting cannot free the cycle
}

TEST(JsonCodec, RefusesNestingDeeperThanAThousand) {
  const auto lists_nested = [](std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
  };
  EXPECT_EQ(encode_json(decode_json(lists_nested(1000))), lists_nested(1000));
  EXPECT_THAT([&] { decode_json("[" + lists_nested(1000) + "]"); },
              ThrowsMessage<ValueError>(StrEq("a list, tuple or dict nested more than 1000 deep")));
  // Far deeper text is refused before the stack runs out.
  EXPECT_THROW(decode_json(lists_nested(1'000'000)), ValueError);
  EXPECT_THROW(decode_json("{\"__tuple__\": [" + lists_nested(1000) + "]}"), ValueError);

  Value deepest = List{};
  for (int level = 1; level <= 1000; ++level) deepest = Tuple({deepest});
  EXPECT_THROW(encode_json(deepest), ValueError);
}

}  // namespace
}  // namespace tavo
