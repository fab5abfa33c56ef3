// Taking answers back: the card, the day's metadata and the day statistics
// as they were before the answer, in this session and in the next.
#include "karteikarten/frame/undo.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/frame/forgotten_cards_drill.hpp"
#include "karteikarten/frame/learner.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk::testing {
namespace {

// What an answer changes and taking it back restores: the metadata and
// every card's learning state of the live collections, and the day
// statistics store (a missing store reads as an empty one).
std::string observed(const Karteikartenverwaltung& kkv) {
  std::string text;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    text += sammlung->name + " " + repr(sammlung->metadata) + "\n";
    for (const auto& [name, record] : sammlung->karten) {
      text += name + " " + repr(learning_state_to_value(*record)) + "\n";
    }
  }
  std::optional<DayStatisticsStore> store =
      DayStatisticsStore::open_for_reading(day_statistics_path(kkv.environment()));
  return text + "statistics " + (store ? repr(store->layout()) : "{}") + "\n";
}

std::int64_t log_length() { return PickleDump(test_environment()).answer_log_after(0).last_seq; }

TEST(UndoTest, AnAnswerTakenBackLeavesCardDayAndStatisticsAsBeforeForThisSessionAndTheNext) {
  Learner learner;
  Karteikartenverwaltung& kkv = *learner.kkv;
  const struct {
    const char* what;
    const char* card;
    // Brings the card into its phase, stored.
    std::function<void()> prepare;
    const char* response;
    // Checks that the answer did what the case is about.
    std::function<void(const CardRecord&, const Haendesammlung&)> answered;
  } cases[] = {
      {"a new card", "kk_test-1", [] {}, "good",
       [](const CardRecord& card, const Haendesammlung& sammlung) {
         EXPECT_FALSE(card.karte_ist_neu);
         EXPECT_EQ(sammlung.get_metadata_heute("reps"), Value(1));
       }},
      {"a learning card", "kk_test-2", [&] { learner.answer("kk_test-2", "again"); }, "good",
       [](const CardRecord& card, const Haendesammlung&) { EXPECT_EQ(card.steps_index, 1); }},
      {"a review card forgotten", "kk_test-3",
       [&] {
         learner.make_review("kk_test-3", learner_morning - one_day);
         kkv.dictionary_speichern(None, false);
       },
       "again",
       [](const CardRecord& card, const Haendesammlung& sammlung) {
         EXPECT_EQ(card.lapses, 1);
         EXPECT_EQ(card.learnstatus, Learnstatus::relearning);
         EXPECT_EQ(card.zuletzt_vergessen, learner_morning);
         EXPECT_TRUE(sammlung.get_metadata_heute("heute_falsch").as_list().contains("kk_test-3"));
       }},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    test.prepare();
    const std::string before = observed(kkv);
    learner.answer(test.card, test.response);
    test.answered(learner.record(test.card), *kkv.hc.sammlung_named("kk_test"));
    ASSERT_NE(observed(kkv), before);

    EXPECT_EQ(undo_last_answer(kkv), test.card);
    EXPECT_EQ(observed(kkv), before);
    EXPECT_EQ(observed(*learner.next_session()), before);
  }
}

TEST(UndoTest, RepeatedUndoWalksBackThroughTheDay) {
  Learner learner;
  Karteikartenverwaltung& kkv = *learner.kkv;
  const std::vector<std::pair<std::string, std::string>> answers{
      {"kk_test-1", "again"}, {"kk_test-2", "good"}, {"kk_test-1", "good"}};
  std::vector<std::string> before;
  for (const auto& [card, response] : answers) {
    before.push_back(observed(kkv));
    learner.answer(card, response);
    test_environment().cf.set_fixed_now(test_environment().cf.get_now() + 60);
  }
  for (std::size_t answer = answers.size(); answer-- > 0;) {
    EXPECT_EQ(undo_last_answer(kkv), answers[answer].first);
    EXPECT_EQ(observed(kkv), before[answer]) << "after taking back answer " << answer;
  }
  EXPECT_EQ(undo_last_answer(kkv), std::nullopt);
  EXPECT_EQ(observed(*learner.next_session()), before.front());
}

TEST(UndoTest, WithNothingToTakeBackNothingChanges) {
  const struct {
    const char* what;
    std::function<void(Learner&)> prepare;
    // The ValueError's message; none when the undo finds no answer.
    std::optional<std::string> refusal;
  } cases[] = {
      {"an empty log", [](Learner&) {}, std::nullopt},
      {"yesterday's answer",
       [](Learner& learner) {
         learner.answer("kk_test-1", "good");
         test_environment().cf.set_fixed_now(learner_morning + one_day);
       },
       std::nullopt},
      {"the day's only answer taken back",
       [](Learner& learner) {
         learner.answer("kk_test-1", "good");
         undo_last_answer(*learner.kkv);
       },
       std::nullopt},
      {"the card removed since",
       [](Learner& learner) {
         learner.answer("kk_test-1", "good");
         learner.kkv->hc.sammlung_named("kk_test")->remove_card("kk_test-1");
         learner.kkv->dictionary_speichern(None, false);
       },
       "the answer to 'kk_test-1' cannot be taken back: the card is no longer in collection "
       "'kk_test'"},
      {"an answer not stored yet",
       [](Learner& learner) {
         learner.answer("kk_test-1", "good");
         Karteikarte card(learner.kkv->hc.sammlung_named("kk_test")->karten.at("kk_test-2"),
                          "kk_test-2", learner.kkv->startzeit_tag);
         learner.kkv->schedule(None, card, "good");
       },
       "collection 'kk_test' holds an answer that is not stored yet: save it before taking an "
       "answer back"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    Learner learner;
    test.prepare(learner);
    const std::string before = observed(*learner.kkv);
    const std::string stored = observed(*learner.next_session());
    const std::int64_t logged = log_length();
    if (test.refusal) {
      try {
        undo_last_answer(*learner.kkv);
        ADD_FAILURE() << "no ValueError";
      } catch (const ValueError& error) {
        EXPECT_EQ(error.what(), *test.refusal);
      }
    } else {
      EXPECT_EQ(undo_last_answer(*learner.kkv), std::nullopt);
    }
    EXPECT_EQ(observed(*learner.kkv), before);
    EXPECT_EQ(observed(*learner.next_session()), stored);
    EXPECT_EQ(log_length(), logged);
  }
}

// The choice offers the card taken back again: a review that was due, and
// a card learnt ahead, which the session passed over once answered.
TEST(UndoTest, TheChoiceOffersTheCardAgain) {
  const struct {
    const char* what;
    std::int64_t days_ahead;
    double due;
  } cases[] = {
      {"a due review", 0, learner_morning - 3600},
      {"a card learnt ahead", 5, learner_morning + one_day},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    Learner learner;
    Karteikartenverwaltung& kkv = *learner.kkv;
    for (const char* card : {"kk_test-2", "kk_test-3"}) {
      learner.make_review(card, learner_morning + 30 * one_day);
    }
    learner.make_review("kk_test-1", test.due);
    // Due again the next day, inside the window of learning ahead.
    learner.record("kk_test-1").interval = 1;
    learner.record("kk_test-1").ease_factor = 130;
    kkv.dictionary_speichern(None, false);
    kkv.set_vorauslernen_tage(test.days_ahead);

    std::optional<Karteikarte> card = kkv.get_card();
    ASSERT_TRUE(card);
    ASSERT_EQ(card->get_name(), "kk_test-1");
    answer_card(kkv, *card, Antwort{"good", 8});
    EXPECT_FALSE(kkv.get_card());

    EXPECT_EQ(undo_last_answer(kkv), "kk_test-1");
    card = kkv.get_card();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->get_name(), "kk_test-1");
  }
}

// The drill looks back from the moment the module was loaded: `moment`,
// for the length of a scope.
class LoadedAt {
 public:
  explicit LoadedAt(double moment) {
    test_environment().start_date = DateTime::fromtimestamp(moment);
  }
  ~LoadedAt() { test_environment().start_date = earlier_; }
  LoadedAt(const LoadedAt&) = delete;
  LoadedAt& operator=(const LoadedAt&) = delete;

 private:
  const DateTime earlier_ = test_environment().start_date;
};

TEST(UndoTest, InTheForgottenCardsDrillUndoWorksAsInNormalLearning) {
  Learner learner;
  Karteikartenverwaltung& kkv = *learner.kkv;
  const LoadedAt loaded(learner_morning);
  learner.record("kk_test-1").zuletzt_vergessen = learner_morning - 3600;
  kkv.hc.dictionary_speichern_alle_sammlungen();
  const std::string normal_before = observed(kkv);
  {
    const ForgottenCardsDrill drill(kkv, 1);
    std::optional<Karteikarte> card = kkv.get_card();
    ASSERT_TRUE(card);
    ASSERT_EQ(card->get_name(), "kk_test-1");
    const std::string before = observed(kkv);
    answer_card(kkv, *card, Antwort{"good", 8});
    EXPECT_TRUE(learner.record("kk_test-1").due.is_done());
    EXPECT_TRUE(kkv.karte_in_vergessene_karten("kk_test-1", "kk_test"));
    EXPECT_FALSE(kkv.get_card()) << "the drill's only card is learnt";

    EXPECT_EQ(undo_last_answer(kkv), "kk_test-1");
    EXPECT_EQ(observed(kkv), before);
    EXPECT_FALSE(kkv.karte_in_vergessene_karten("kk_test-1", "kk_test"));
    const SammlungRef stored =
        PickleDump(test_environment()).get_haendesammlung("kk_test_vergessen").first;
    EXPECT_EQ(repr(learning_state_to_value(*stored->karten.at("kk_test-1"))),
              repr(learning_state_to_value(learner.record("kk_test-1"))));
    card = kkv.get_card();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->get_name(), "kk_test-1");
  }
  EXPECT_EQ(observed(kkv), normal_before);
}

}  // namespace
}  // namespace tavo::kk::testing
