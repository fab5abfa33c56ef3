#include "value/repr.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tavo {
namespace {

TEST(Repr, ContainersPrintAsTheHostDoes) {
  EXPECT_EQ(repr(List{1, 4.0, "a", None}), "[1, 4.0, 'a', None]");
  EXPECT_EQ(repr(Dict{{"x", 1}}), "{'x': 1}");
  EXPECT_EQ(repr(Tuple{2021, 9, 22, 1}), "(2021, 9, 22, 1)");
  EXPECT_EQ(repr(Tuple{1}), "(1,)");
  EXPECT_EQ(repr(Tuple{}), "()");
  EXPECT_EQ(repr(Dict{{Tuple{1, "b"}, List{true, false}}, {2.5, Dict{}}}),
            "{(1, 'b'): [True, False], 2.5: {}}");
  EXPECT_EQ(str(List{"a"}), "['a']");
  EXPECT_EQ(str("a"), "a");
  EXPECT_EQ(str(None), "None");

  const List self{1};
  self.append(self);
  EXPECT_EQ(repr(self), "[1, [...]]");
  self.clear();  // reference counting cannot free the cycle
}

TEST(Repr, TextsAreQuotedAndEscapedAsByteStrings) {
  EXPECT_EQ(repr("it's"), "\"it's\"");
  EXPECT_EQ(repr("say \"hi\""), "'say \"hi\"'");
  EXPECT_EQ(repr("both ' and \""), "'both \\' and \"'");
  EXPECT_EQ(repr("tab\tnew\nline\r\\"), "'tab\\tnew\\nline\\r\\\\'");
  EXPECT_EQ(repr("\xc3\xbc\x01"), "'\\xc3\\xbc\\x01'");
}

TEST(Repr, FloatsFollowTheHostsReprAndStr) {
  const struct {
    double number;
    const char* repr_text;
    const char* str_text;
  } cases[] = {
      {4.0, "4.0", "4.0"},
      {0.1, "0.1", "0.1"},
      {-2.5, "-2.5", "-2.5"},
      {1.0 / 3, "0.3333333333333333", "0.333333333333"},
      {1e16, "1e+16", "1e+16"},
      {1e15, "1000000000000000.0", "1e+15"},
      {99999999999.0, "99999999999.0", "99999999999.0"},
      {123456789012.0, "123456789012.0", "1.23456789012e+11"},
      {0.0001, "0.0001", "0.0001"},
      {0.00001, "1e-05", "1e-05"},
      {1.5e-7, "1.5e-07", "1.5e-07"},
      {1e100, "1e+100", "1e+100"},
      {-0.0, "-0.0", "-0.0"},
      {10.0 / 1440, "0.006944444444444444", "0.00694444444444"},
      {HUGE_VAL, "inf", "inf"},
      {-HUGE_VAL, "-inf", "-inf"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(float_repr(c.number), c.repr_text) << c.repr_text;
    EXPECT_EQ(float_str(c.number), c.str_text) << c.repr_text;
  }
  EXPECT_EQ(float_repr(std::nan("")), "nan");
}

TEST(Repr, DateTimes) {
  EXPECT_EQ(repr(DateTime(2021, 9, 22, 1)), "datetime.datetime(2021, 9, 22, 1, 0)");
  EXPECT_EQ(repr(DateTime(2021, 9, 22, 1, 2, 3)), "datetime.datetime(2021, 9, 22, 1, 2, 3)");
  EXPECT_EQ(repr(DateTime(2021, 9, 22, 1, 2, 0, 5)), "datetime.datetime(2021, 9, 22, 1, 2, 0, 5)");
  EXPECT_EQ(str(DateTime(2021, 9, 2, 1)), "2021-09-02 01:00:00");
  EXPECT_EQ(str(DateTime(2021, 9, 2, 1, 0, 0, 5)), "2021-09-02 01:00:00.000005");
}

}  // namespace
}  // namespace tavo
