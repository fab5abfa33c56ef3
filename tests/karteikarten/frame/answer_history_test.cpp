// A card's history, read from the answer log.
#include "karteikarten/frame/answer_history.hpp"

#include <gtest/gtest.h>

#include "karteikarten/frame/learner.hpp"
#include "karteikarten/frame/undo.hpp"
#include "value/repr.hpp"

namespace tavo::kk::testing {
namespace {

TEST(AnswerHistoryTest, HoldsTheAnswersNotTakenBackOldestFirstWithTheStateAfterEach) {
  Learner learner;
  Karteikartenverwaltung& kkv = *learner.kkv;
  learner.make_review("kk_test-1", learner_morning - one_day);
  kkv.dictionary_speichern(None, false);
  for (const auto& [card, response] : {std::pair("kk_test-1", "good"),
                                       {"kk_test-2", "good"},
                                       {"kk_test-1", "again"},
                                       {"kk_test-1", "good"}}) {
    learner.answer(card, response);
    test_environment().cf.set_fixed_now(test_environment().cf.get_now() + 60);
  }
  EXPECT_EQ(undo_last_answer(kkv), "kk_test-1");

  // A day late, "good" gives (10 + 1 / 2) * 250 % days; "again" costs 20
  // points of ease and starts relearning. The answer taken back is gone.
  EXPECT_EQ(repr(history_to_value(answer_history(kkv, "kk_test-1"))),
            "[{'moment': 1632297600.0, 'response': 'good', 'seconds': 8, 'interval': 26.25, "
            "'ease_factor': 250, 'learnstatus': 'learned'}, "
            "{'moment': 1632297720.0, 'response': 'again', 'seconds': 8, 'interval': 26.25, "
            "'ease_factor': 230, 'learnstatus': 'relearning'}]");
  EXPECT_EQ(answer_history(kkv, "kk_test-2").size(), 1u);
  EXPECT_TRUE(answer_history(kkv, "kk_test-3").empty());
  EXPECT_TRUE(answer_history(kkv, "kk_anders-1").empty());
}

}  // namespace
}  // namespace tavo::kk::testing
