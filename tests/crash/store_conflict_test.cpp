// A learning session and a re-import of its deck in another process at the
// same time: the session, paused with a card in hand, goes on after the
// deck removed that card's question or changed its answer. Its save must
// not bring the removed card back nor put the old answer back: it reports
// the conflict, keeps the store's version and goes on learning.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "crash/crash_deck.hpp"
#include "crash/session_check.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/frame/decks.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "support/child_process.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::testing {
namespace {

constexpr double start_moment = 1765105200;  // 2025-12-07 12:00 in Berlin

// What the paused session printed.
struct SessionLines {
  std::string next_card;
  // The card's answers so far at its last acknowledgement.
  std::map<std::string, std::int64_t> acked_reps;
  int acks = 0;
  std::vector<std::string> conflicts;
  std::string last_line;

  void read(const std::string& line) {
    last_line = line;
    std::istringstream words(line);
    std::string word, card;
    std::int64_t reps = 0;
    words >> word >> card >> reps;
    if (word == "next") next_card = card;
    if (word == "ack") {
      acked_reps[card] = reps;
      ++acks;
    }
    if (word == "conflict:") conflicts.push_back(line.substr(word.size() + 1));
  }
};

// The question of the crash deck's card `card_name`.
std::string question_of(const std::string& card_name) {
  for (const platform::DeckCard& card : crash_deck()) {
    if (card_name == std::string(crash_collection) + "-" + kk::deck_card_key(card.fragetext)) {
      return card.fragetext;
    }
  }
  ADD_FAILURE() << card_name << " is no card of the deck";
  return "";
}

// Imports `deck` into the collection in `app_dir`, in this process.
kk::DeckImport reimport(const TemporaryDirectory& app_dir,
                        const std::vector<platform::DeckCard>& deck) {
  platform::Environment environment(app_dir.path().string());
  environment.cf.set_fixed_now(start_moment);
  kk::Karteikartenverwaltung kkv(environment);
  return kk::import_deck(kkv, deck, crash_collection);
}

struct ReimportCase {
  const char* what;
  // The deck without the question `question`, or with another answer to it.
  std::function<void(std::vector<platform::DeckCard>&, const std::string& question)> edit;
  std::size_t removed;
  std::size_t changed;
  // The card's answer text in the store at the end; none when it is gone.
  std::optional<std::string> stored_answer;
};

const ReimportCase reimport_cases[] = {
    {"a question removed by the re-import stays removed",
     [](std::vector<platform::DeckCard>& deck, const std::string& question) {
       std::erase_if(deck,
                     [&](const platform::DeckCard& card) { return card.fragetext == question; });
     },
     1, 0, std::nullopt},
    {"an answer changed by the re-import stays changed",
     [](std::vector<platform::DeckCard>& deck, const std::string& question) {
       for (platform::DeckCard& card : deck) {
         if (card.fragetext == question) card.antworttext = "the new answer";
       }
     },
     0, 1, "the new answer"},
};

TEST(StoreConflictTest, ASessionNeverUndoesAReimportInAnotherProcess) {
  for (const ReimportCase& test : reimport_cases) {
    SCOPED_TRACE(test.what);
    const TemporaryDirectory app_dir;
    const std::string directory = app_dir.path().string();
    const std::string start = std::to_string(static_cast<long long>(start_moment));
    ChildProcess importing({LEARNING_SESSION_CHILD, directory, start, "0", "1"});
    while (importing.read_line()) {
    }
    ASSERT_EQ(importing.wait(), 0);

    const std::filesystem::path gate = app_dir.path() / "go";
    ChildProcess session({LEARNING_SESSION_CHILD, directory, start, "8", "2", "3", gate.string()});
    SessionLines lines;
    while (lines.next_card.empty()) {
      const std::optional<std::string> line = session.read_line();
      ASSERT_TRUE(line) << "the session ended before its pause: " << lines.last_line;
      lines.read(*line);
    }
    const std::string card = lines.next_card;

    std::vector<platform::DeckCard> deck = crash_deck();
    test.edit(deck, question_of(card));
    const kk::DeckImport imported = reimport(app_dir, deck);
    EXPECT_EQ(imported.removed, test.removed);
    EXPECT_EQ(imported.changed, test.changed);

    std::ofstream{gate};
    while (const std::optional<std::string> line = session.read_line()) lines.read(*line);
    ASSERT_EQ(session.wait(), 0) << lines.last_line;
    EXPECT_EQ(lines.last_line, "done");
    EXPECT_EQ(lines.acks, 8);
    EXPECT_EQ(lines.conflicts,
              std::vector<std::string>{"collection 'crash': 1 card was changed by another program "
                                       "since it was loaded and was not saved: " +
                                       card + " (the store keeps the other program's version)"});

    // Every stored card holds the session's last acknowledged answer, and
    // the answer in conflict is neither stored nor counted.
    const StoredAnswers stored = stored_answers(app_dir.path(), crash_collection);
    EXPECT_EQ(stored.reps.size(), test.removed == 1 ? 199u : 200u);
    for (const auto& [name, reps] : stored.reps) {
      const auto acked = lines.acked_reps.find(name);
      EXPECT_EQ(reps, acked == lines.acked_reps.end() ? 0 : acked->second) << name;
    }
    EXPECT_EQ(stored.in_statistics, 8);
    platform::Environment environment(directory);
    const kk::SammlungRef collection =
        kk::PickleDump(environment).get_haendesammlung(crash_collection).first;
    const kk::CardRef record = collection->karten.find(card);
    EXPECT_EQ(record ? record->antworttext : std::nullopt, test.stored_answer);
  }
}

}  // namespace
}  // namespace tavo::testing
