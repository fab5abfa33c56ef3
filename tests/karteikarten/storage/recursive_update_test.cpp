#include "karteikarten/storage/recursive_update.hpp"

#include <gtest/gtest.h>

#include "value/repr.hpp"

namespace tavo::kk {
namespace {

TEST(RecursiveUpdate, MergesMappingsEntryByEntry) {
  const Dict d{{"a", Dict{{"x", 1}, {"y", 2}}}, {"c", Dict{{"deep", 1}}}};
  const List shared{1};
  const Dict u{{"a", Dict{{"y", 3}}}, {"b", 4}, {"c", "flat"}, {"n", Dict{{"m", shared}}}};
  const Dict result = update(d, u);
  EXPECT_TRUE(result.same(d));
  EXPECT_EQ(repr(d), "{'a': {'x': 1, 'y': 3}, 'c': 'flat', 'b': 4, 'n': {'m': [1]}}");
  // Values that are not mappings are shared with `u`; `u` is unchanged.
  EXPECT_TRUE(d.at("n").as_dict().at("m").as_list().same(shared));
  EXPECT_EQ(repr(u), "{'a': {'y': 3}, 'b': 4, 'c': 'flat', 'n': {'m': [1]}}");
  // A mapping laid over something else replaces it with a merged mapping.
  update(d, Dict{{"b", Dict{{"z", 5}}}});
  EXPECT_EQ(repr(d.at("b")), "{'z': 5}");
}

}  // namespace
}  // namespace tavo::kk
