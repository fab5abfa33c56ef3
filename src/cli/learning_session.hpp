// An interactive learning session at the terminal: card after card, a
// header saying what is left today, the question, the answer with the four
// buttons and their intervals, the person's choice, until no card is left
// or the person stops.
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
  // Of them, the answers "again".
  std::size_t again = 0;
  // The person stopped ("q", the end of the input or Ctrl-C) before the
  // cards ran out.
  bool stopped = false;
  // Ctrl-C stopped it.
  bool interrupted = false;
  // From the start of the session to its end, in seconds by the manager's
  // clock: real time, or the scripted time of a run with a frozen clock.
  double seconds = 0;
};

// A learner standing in for the person: the answer to a shown card. It
// must choose a response the card takes (kk::accepts_response).
using ScriptedLearner =
    std::function<kk::Antwort(const kk::Karteikarte& card, const kk::ButtonIntervals& buttons)>;

// Runs learning steps on `kkv` until no card is left or the person stops.
// Every answer is stored before the next card is shown. Each card's header
// reads "[5] kk_bridge · 18 due · 7 new · 2 learning" (kk::cards_left_today;
// in the forgotten-cards drill "· 2 left", kk::cards_left_in_drill). An
// answer is "1" to "4" or the response word, optionally followed by the
// seconds taken (else the time from question to answer counts); "q"
// stops; "u" takes back the newest answer of the learning day and shows
// its card next, or says that there is none and asks again; "?" lists the
// keys and asks again. At a terminal the answer is shown after Enter.
// Ctrl-C stops as "q" does, once the answer being stored is stored (an
// InterruptionWatch must be alive). With `learner`, it answers instead of
// the person and the transcript shows its answers.
SessionOutcome run_learning_session(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                                    const ScriptedLearner& learner = {});

// After a session: how it ended, its time and share of "again", when the
// next card falls due, and the day's figures.
void print_session_end(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                       const SessionOutcome& outcome);

// After a drill, back to the normal collections: its time and share of
// "again", and when the next card falls due.
void print_session_summary(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                           const SessionOutcome& outcome);

}  // namespace tavo::cli
