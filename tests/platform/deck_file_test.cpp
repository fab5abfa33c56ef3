#include "platform/deck_file.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "support/temporary_directory.hpp"

namespace tavo::platform {

// Beside DeckCard, so that argument-dependent lookup finds them.
static bool operator==(const DeckCard& a, const DeckCard& b) {
  return a.fragetext == b.fragetext && a.antworttext == b.antworttext && a.line == b.line;
}

static void PrintTo(const DeckCard& card, std::ostream* out) {
  *out << card.line << ": " << ::testing::PrintToString(card.fragetext) << " / "
       << ::testing::PrintToString(card.antworttext);
}

namespace {

using namespace std::string_literals;

// The message of the DeckError that parsing `text` raises.
std::string fault(std::string_view text, DeckFormat format, std::string_view file) {
  try {
    parse_deck(text, format, file);
  } catch (const DeckError& error) {
    return error.what();
  }
  return "no fault";
}

std::string tsv_fault(std::string_view text) {
  return fault(text, DeckFormat::tab_separated, "deck.tsv");
}

std::string json_fault(std::string_view text) { return fault(text, DeckFormat::json, "deck.json"); }

void write_file(const std::filesystem::path& path, std::string_view contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

TEST(DeckFile, FormatFollowsTheFileName) {
  EXPECT_EQ(deck_format_of("decks/bridge.json"), DeckFormat::json);
  EXPECT_EQ(deck_format_of("BRIDGE.Json"), DeckFormat::json);
  EXPECT_EQ(deck_format_of("bridge.tsv"), DeckFormat::tab_separated);
  EXPECT_EQ(deck_format_of("bridge.json.txt"), DeckFormat::tab_separated);
  EXPECT_EQ(deck_format_of("json"), DeckFormat::tab_separated);
}

TEST(DeckFile, TabSeparatedCards) {
  const std::string text =
      "\xEF\xBB\xBF# a comment\tholding a tab\r\n"
      "\r\n"
      "  Q one \t A one  \r\n"
      "   \t  \n"
      "Line\\nbreak\tTab\\there, backslash \\\\n\n"
      "#\n"
      "K\xC3\xB6nig\t\xF0\x9F\x82\xA1 ace";
  const std::vector<DeckCard> expected{{"Q one", "A one", 3},
                                       {"Line\nbreak", "Tab\there, backslash \\n", 5},
                                       {"K\xC3\xB6nig", "\xF0\x9F\x82\xA1 ace", 7}};
  EXPECT_EQ(parse_deck(text, DeckFormat::tab_separated, "deck.tsv"), expected);
}

TEST(DeckFile, JsonCards) {
  const std::string text =
      "\xEF\xBB\xBF[\r\n"
      "  {\"fragetext\": \"Q [one], {x}\", \"antworttext\": \"A \\\"one\\\" \\\\\"},\r\n"
      "\r\n"
      "  {\n"
      "    \"antworttext\": \"Line\\nbreak \\u00e4\",\n"
      "    \"fragetext\": \"Q two\"\n"
      "  }, {\"fragetext\": \"Q three\", \"antworttext\": \"A three\"}\n"
      "]\n";
  const std::vector<DeckCard> expected{{"Q [one], {x}", "A \"one\" \\", 2},
                                       {"Q two", "Line\nbreak \xC3\xA4", 4},
                                       {"Q three", "A three", 7}};
  EXPECT_EQ(parse_deck(text, DeckFormat::json, "deck.json"), expected);
}

TEST(DeckFile, TabSeparatedFaults) {
  EXPECT_EQ(tsv_fault("Q\tA\nno tab here\n"),
            "deck.tsv:2: expected a question and an answer separated by one tab");
  EXPECT_EQ(tsv_fault("Q\tA\tmore\n"),
            "deck.tsv:1: expected a question and an answer separated by one tab");
  EXPECT_EQ(tsv_fault("\n   \tA\n"), "deck.tsv:2: the question is empty");
  EXPECT_EQ(tsv_fault("Q\t  \r\n"), "deck.tsv:1: the answer is empty");
  EXPECT_EQ(tsv_fault("Q\t\\n\n"), "deck.tsv:1: the answer is empty");
  EXPECT_EQ(tsv_fault("Q\tA \\x B\n"), "deck.tsv:1: unknown escape \"\\x\"");
  EXPECT_EQ(tsv_fault("Q \\\xC3\xA4\tA\n"), "deck.tsv:1: unknown escape \"\\\xC3\xA4\"");
  EXPECT_EQ(tsv_fault("Q \\\r\tA\n"), "deck.tsv:1: unknown escape \"\\<U+000D>\"");
  EXPECT_EQ(tsv_fault("Q\tA\\\n"), "deck.tsv:1: the answer ends in a backslash");
  EXPECT_EQ(tsv_fault("Q\tA\n\xFF\tB\n"), "deck.tsv:2: not valid UTF-8");
  EXPECT_EQ(tsv_fault("# only a comment\n\n"), "deck.tsv: the deck holds no cards");
  EXPECT_EQ(tsv_fault(""), "deck.tsv: the deck holds no cards");
  EXPECT_EQ(tsv_fault("\xEF\xBB\xBF"), "deck.tsv: the deck holds no cards");
}

TEST(DeckFile, JsonFaults) {
  const auto card = [](std::string_view members) { return "[\n{" + std::string(members) + "}\n]"; };
  EXPECT_EQ(json_fault(card(R"("fragetext": "Q")")), "deck.json:2: card 1 lacks \"antworttext\"");
  EXPECT_EQ(json_fault(card(R"("antworttext": "A")")), "deck.json:2: card 1 lacks \"fragetext\"");
  EXPECT_EQ(json_fault(card(R"("fragetext": 7, "antworttext": "A")")),
            "deck.json:2: \"fragetext\" must be a text");
  EXPECT_EQ(json_fault(card(R"("fragetext": "Q", "antworttext": null)")),
            "deck.json:2: \"antworttext\" must be a text");
  EXPECT_EQ(json_fault(card(R"("fragetext": "Q", "antwortext": "A")")),
            "deck.json:2: unknown member \"antwortext\"");
  EXPECT_EQ(json_fault(card(R"("fragetext": "Q", "antworttext": "A", "x\n": 1)")),
            "deck.json:2: unknown member \"x\\n\"");
  EXPECT_EQ(json_fault(card(R"("fragetext": " \n", "antworttext": "A")")),
            "deck.json:2: the question is empty");
  EXPECT_EQ(json_fault(card(R"("fragetext": "Q", "antworttext": "")")),
            "deck.json:2: the answer is empty");
  EXPECT_EQ(json_fault("[{\"fragetext\": \"Q\", \"antworttext\": \"A\"},\n\n  \"a text\"]"),
            "deck.json:3: card 2 must be an object");
  EXPECT_EQ(json_fault(R"({"fragetext": "Q", "antworttext": "A"})"),
            "deck.json: expected a list of cards");
  EXPECT_EQ(json_fault("[\n{\"fragetext\": \"Q\",\n \"antworttext\": tru}\n]"),
            "deck.json:3: not valid JSON: syntax error while parsing value - invalid literal");
  EXPECT_EQ(json_fault("[\n{\"fragetext\": \"Q\"\n"),
            "deck.json:2: not valid JSON: syntax error while parsing object - unexpected end of "
            "input; expected '}'");
  EXPECT_EQ(json_fault("[1e999]"), "deck.json: not valid JSON: number overflow parsing '1e999'");
  EXPECT_EQ(json_fault("[\n\"\xC0\x80\"]"), "deck.json:2: not valid UTF-8");
  EXPECT_EQ(json_fault("[ ]"), "deck.json: the deck holds no cards");
  EXPECT_EQ(json_fault(" \n"), "deck.json: the deck holds no cards");
}

TEST(DeckFile, RejectsMalformedUtf8) {
  for (const std::string& bad :
       {"\x80"s, "\xC1\xBF"s, "\xE0\x9F\xBF"s, "\xF0\x8F\xBF\xBF"s, "\xED\xA0\x80"s,
        "\xF4\x90\x80\x80"s, "\xF5\x80\x80\x80"s, "\xE2\x82"s, "\xE2\x28\xA1"s}) {
    EXPECT_EQ(tsv_fault("Q\tA\nQ2\tB " + bad), "deck.tsv:2: not valid UTF-8") << bad.size();
  }
  const std::string edges =
      "\xC2\x80\t\xDF\xBF\n\xE0\xA0\x80\t\xED\x9F\xBF\n\xEE\x80\x80\t\xF4\x8F\xBF\xBF\n";
  EXPECT_EQ(parse_deck(edges, DeckFormat::tab_separated, "deck.tsv").size(), 3);
}

TEST(DeckFile, RejectsRepeatedQuestions) {
  EXPECT_EQ(tsv_fault("Q\tA\n# c\nR\tB\n Q \tC\n"), "deck.tsv:4: the question of line 1 again");
  EXPECT_EQ(tsv_fault("a\\\\n\tA\na\\n\tB\n"), "no fault");
  EXPECT_EQ(json_fault("[{\"fragetext\": \"Q\\n\", \"antworttext\": \"A\"},\n"
                       " {\"fragetext\": \"Q\\u000a\", \"antworttext\": \"B\"}]"),
            "deck.json:2: the question of line 1 again");
}

TEST(DeckFile, ReadsFiles) {
  const testing::TemporaryDirectory directory;
  write_file(directory / "deck.TSV", "Q\tA\n");
  write_file(directory / "deck.JSON", R"([{"fragetext": "Q", "antworttext": "A"}])");
  write_file(directory / "empty.tsv", "");
  const std::vector<DeckCard> expected{{"Q", "A", 1}};
  EXPECT_EQ(read_deck_file(directory / "deck.TSV"), expected);
  EXPECT_EQ(read_deck_file(directory / "deck.JSON"), expected);

  const auto read_fault = [](const std::filesystem::path& path) {
    try {
      read_deck_file(path);
    } catch (const DeckError& error) {
      return std::string(error.what());
    }
    return "no fault"s;
  };
  const std::string base = directory.path().string();
  EXPECT_EQ(read_fault(directory / "empty.tsv"), base + "/empty.tsv: the deck holds no cards");
  EXPECT_EQ(read_fault(directory / "missing.tsv"),
            base + "/missing.tsv: cannot read the file: No such file or directory");
  EXPECT_EQ(read_fault(directory.path()), base + ": cannot read the file: Is a directory");
}

TEST(DeckFile, BundledDeckIsValid) {
  const std::vector<DeckCard> cards = read_deck_file(TAVO_BUNDLED_DECK);
  EXPECT_GE(cards.size(), 35);
  EXPECT_LE(cards.size(), 50);
  std::set<std::string> questions;
  for (const DeckCard& card : cards) questions.insert(card.fragetext);
  EXPECT_EQ(questions.size(), cards.size());
}

}  // namespace
}  // namespace tavo::platform
