#include "karteikarten/cards/karten_identifier.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captured_lines.hpp"
#include "holder_cards.hpp"
#include "platform/diagnostics.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using testing::CapturedLines;
using testing::card_with_fudge;

TEST(Karten_Identifier, PairsTakeTheFudgeOfTheirRecordAndTriplesKeepTheirOwn) {
  const CardRef d = card_with_fudge(6);
  Karten_Identifier identifier("S");
  identifier.add_two_tuple_list({Entry{std::nullopt, d, "x"}, Entry{2, d, "y"}});

  EXPECT_EQ(identifier.liste, (std::vector<IdentifiedCard>{{6, d, "x", "S"}, {2, d, "y", "S"}}));
  EXPECT_EQ(identifier.get_3er_liste(), (std::vector<Entry>{{6, d, "x"}, {2, d, "y"}}));
}

TEST(Karten_Identifier, FailuresKeepTheEntriesAddedBefore) {
  const CardRef d = card_with_fudge(6);
  Karten_Identifier identifier("S");
  EXPECT_THROW(identifier.add_two_tuple_list(
                   {Entry{1, d, "a"}, Entry{std::nullopt, card_with_fudge(std::nullopt), "b"}}),
               KeyError);
  try {
    identifier.add_liste({Entry{3, d, "c"}, Entry{std::nullopt, d, "d"}});
    ADD_FAILURE() << "expected IndexError";
  } catch (const IndexError& error) {
    EXPECT_STREQ(error.what(), "tuple index out of range");
  }
  EXPECT_EQ(identifier.get_3er_liste(), (std::vector<Entry>{{1, d, "a"}, {3, d, "c"}}));
}

TEST(Karten_Identifier, DebugModeRejectsATripleWithoutRecord) {
  const std::vector<Entry> without_record{Entry{1, nullptr, "a"}};
  Karten_Identifier identifier("S");
  platform::diagnostics().debug_status = true;
  EXPECT_THROW(identifier.add_two_tuple_list(without_record), AssertionError);
  platform::diagnostics().debug_status = false;
  identifier.add_two_tuple_list(without_record);
  EXPECT_EQ(identifier.liste.size(), 1u);
}

TEST(Karten_Identifier, PrintsOneNamePerLine) {
  Karten_Identifier identifier("S");
  identifier.add(1, card_with_fudge(1), "S-1");
  identifier.add(2, card_with_fudge(2), "S-2");
  const CapturedLines output;
  identifier.print_liste();
  EXPECT_EQ(output.lines(), (std::vector<std::string>{"S-1", "S-2"}));
}

}  // namespace
}  // namespace tavo::kk
