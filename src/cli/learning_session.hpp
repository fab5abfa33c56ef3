// An interactive learning session at the terminal: card after card, the
// question, the answer with the four buttons and their intervals, the
// person's choice, until no card is left or the person stops.
#pragma once

#include <cstddef>
#include <functional>

#include "cli/terminal.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/frame/learning_step.hpp"

namespace tavo::cli {

struct SessionOutcome {
  // The answers stored, less those taken back.
  std::size_t answered = 0;
  // The person stopped ("q" or the end of the input) before the cards ran
  // out.
  bool stopped = false;
};

// A learner standing in for the person: the answer to a shown card. It
// must choose a response the card takes (kk::accepts_response).
using ScriptedLearner =
    std::function<kk::Antwort(const kk::Karteikarte& card, const kk::ButtonIntervals& buttons)>;

// Runs learning steps on `kkv` until no card is left or the person stops.
// Every answer is stored before the next card is shown. An answer is "1"
// to "4" or the response word, optionally followed by the seconds taken
// (else the time from question to answer counts); "q" stops; "u" takes
// back the newest answer of the learning day and shows its card next, or
// says that there is none and asks again. With `learner`, it answers
// instead of the person and the transcript shows its answers.
SessionOutcome run_learning_session(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                                    const ScriptedLearner& learner = {});

// After a session: when the next card falls due and the day's figures.
void print_session_end(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                       const SessionOutcome& outcome);

}  // namespace tavo::cli
