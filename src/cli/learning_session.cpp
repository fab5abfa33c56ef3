#include "cli/learning_session.hpp"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "cli/figures_report.hpp"
#include "cli/translation.hpp"
#include "karteikarten/frame/card_shown_again.hpp"
#include "karteikarten/frame/day_figures.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "karteikarten/frame/undo.hpp"
#include "platform/common_functions.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::cli {
namespace {

constexpr std::array<std::string_view, 4> responses{"again", "hard", "good", "easy"};

bool is_stop(std::string_view line) { return line == "q" || line == "quit"; }
bool is_undo(std::string_view line) { return line == "u" || line == "undo"; }

// The response named by `word`: its button number or the word itself.
std::optional<std::string> response_named(std::string_view word) {
  for (std::size_t i = 0; i < responses.size(); ++i) {
    if (word == responses[i] || word == std::to_string(i + 1)) return std::string(responses[i]);
  }
  return std::nullopt;
}

struct TypedAnswer {
  std::string response;
  std::optional<std::int64_t> seconds;
};

// "3", "good" or "good 12"; nothing for anything else.
std::optional<TypedAnswer> parse_answer(std::string_view line) {
  const std::size_t blank = line.find(' ');
  const std::optional<std::string> response = response_named(line.substr(0, blank));
  if (!response) return std::nullopt;
  if (blank == std::string_view::npos) return TypedAnswer{*response, std::nullopt};
  const std::string_view rest = trimmed(line.substr(blank));
  std::int64_t seconds = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), seconds);
  if (error != std::errc() || end != rest.data() + rest.size() || seconds < 0) return std::nullopt;
  return TypedAnswer{*response, seconds};
}

std::string phase_of(const kk::Karteikarte& card) {
  if (card.get_due().is_none()) return "new";
  switch (card.get_status()) {
    case kk::Learnstatus::learned: return "review";
    case kk::Learnstatus::relearning: return "relearning";
    case kk::Learnstatus::learning: break;
  }
  return "learning";
}

// `text` with its later lines indented under the first.
std::string indented(std::string_view text) {
  std::string result;
  for (const char c : text) {
    result += c;
    if (c == '\n') result += "   ";
  }
  return result;
}

std::string question_of(const kk::Karteikarte& card) {
  if (card.nur_reizung && card.reizung) return "Hand: " + str(card.reizung->extra.get("handinfo"));
  return indented(card.get_frage());
}

std::string answer_of(const kk::Karteikarte& card) {
  return card.fragetext ? indented(card.get_antwort()) : "(bid the hand)";
}

std::string button_line(const kk::ButtonIntervals& buttons) {
  std::string line;
  for (std::size_t i = 0; i < responses.size(); ++i) {
    if (i > 0) line += "   ";
    line += std::to_string(i + 1) + " " + std::string(responses[i]) + "  " +
            interval_text(buttons.at(i));
  }
  return line;
}

using SteadyClock = std::chrono::steady_clock;

std::int64_t whole_seconds_since(SteadyClock::time_point start) {
  const std::chrono::duration<double> elapsed = SteadyClock::now() - start;
  return static_cast<std::int64_t>(std::lround(elapsed.count()));
}

void show_question(std::ostream& out, const kk::Karteikartenverwaltung& kkv,
                   const kk::Karteikarte& card, std::size_t number) {
  out << "[" << number << "] " << kkv.sammlungsort_name.value_or("") << " (" << phase_of(card)
      << ")\n";
  out << "Q: " << question_of(card) << "\n";
}

void show_answer(std::ostream& out, const kk::Karteikarte& card, const kk::ButtonIntervals& buttons) {
  out << "A: " << answer_of(card) << "\n   " << button_line(buttons) << "\n";
}

// What the person did at a shown card: answered it, stopped, or took the
// last answer back.
struct Reply {
  std::optional<kk::Antwort> antwort;
  bool stopped = false;
  // The card whose answer was taken back.
  std::optional<std::string> taken_back;

  static Reply answered(kk::Antwort antwort) { return {std::move(antwort), false, std::nullopt}; }
  static Reply stop() { return {std::nullopt, true, std::nullopt}; }
  static Reply undone(std::string card) { return {std::nullopt, false, std::move(card)}; }
};

// The question of the card `name` in a registered collection.
std::string question_named(const kk::Karteikartenverwaltung& kkv, const std::string& name) {
  for (const kk::SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    const kk::CardRef record = sammlung->karten.find(name);
    if (record != nullptr) return question_of(kk::Karteikarte(record, name, kkv.startzeit_tag));
  }
  return name;
}

// Takes back the newest answer of the learning day and says which; its
// card's name, or nothing when there was none. A refusal (its card was
// removed) is said too and changes nothing.
std::optional<std::string> take_back_last_answer(kk::Karteikartenverwaltung& kkv,
                                                 std::ostream& out) {
  try {
    std::optional<std::string> name = kk::undo_last_answer(kkv);
    if (name) {
      out << "   undone: " << question_named(kkv, *name) << "\n\n";
    } else {
      out << "   No answer of today is left to undo.\n";
    }
    return name;
  } catch (const ValueError& refusal) {
    out << "   " << refusal.what() << "\n";
    return std::nullopt;
  }
}

// Shows `card` and reads what the person does with it.
Reply ask_answer(kk::Karteikartenverwaltung& kkv, Terminal& terminal, const kk::Karteikarte& card,
                 const kk::ButtonIntervals& buttons, std::size_t number) {
  std::ostream& out = terminal.out();
  show_question(out, kkv, card, number);
  const SteadyClock::time_point shown = SteadyClock::now();
  if (terminal.interactive()) {
    const std::optional<std::string> line = terminal.ask("   (Enter shows the answer, q stops) ");
    if (!line || is_stop(*line)) return Reply::stop();
  }
  show_answer(out, card, buttons);
  while (true) {
    const std::optional<std::string> line = terminal.ask("answer> ");
    if (!line || is_stop(*line)) return Reply::stop();
    if (is_undo(*line)) {
      if (std::optional<std::string> card = take_back_last_answer(kkv, out)) {
        return Reply::undone(std::move(*card));
      }
      continue;
    }
    const std::optional<TypedAnswer> typed = parse_answer(*line);
    if (!typed) {
      out << "   Answer 1 to 4 or again, hard, good, easy (optionally followed by the seconds "
             "taken), u to undo the last answer, or q to stop.\n";
    } else if (!kk::accepts_response(kkv, card, typed->response)) {
      out << "   This card does not take \"" << typed->response << "\" now.\n";
    } else {
      return Reply::answered(
          kk::Antwort{typed->response, typed->seconds.value_or(whole_seconds_since(shown))});
    }
  }
}

std::string due_text(const kk::Karteikarte& card, const Value& tage) {
  const kk::Due& due = card.get_due();
  if (due.is_done()) return "done for this drill";
  if (!due.is_moment()) return "not due";
  return "due " + local_time_text(due.seconds()) + " (" + interval_text(kk::interval_label(tage)) + ")";
}

}  // namespace

SessionOutcome run_learning_session(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                                    const ScriptedLearner& learner) {
  SessionOutcome outcome;
  Reply reply;
  const kk::AskAnswer ask = [&](const kk::Karteikarte& card, const kk::ButtonIntervals& buttons) {
    const std::size_t number = outcome.answered + 1;
    if (learner) {
      show_question(terminal.out(), kkv, card, number);
      show_answer(terminal.out(), card, buttons);
      kk::Antwort antwort = learner(card, buttons);
      terminal.out() << "answer> " << antwort.response << " (" << str(antwort.beantwortungszeit)
                     << " s)\n";
      return std::optional(std::move(antwort));
    }
    reply = ask_answer(kkv, terminal, card, buttons, number);
    return reply.antwort;
  };
  while (true) {
    // The card whose answer was just taken back comes before the next choice.
    const std::optional<std::string> again = std::exchange(reply, Reply()).taken_back;
    const auto step =
        again ? kk::learning_step_again(kkv, *again, ask) : kk::learning_step(kkv, ask);
    if (!step && reply.taken_back) {
      // The answer taken back may be one of an earlier session of the day.
      if (outcome.answered > 0) --outcome.answered;
      continue;
    }
    if (!step) {
      outcome.stopped = reply.stopped;
      return outcome;
    }
    ++outcome.answered;
    terminal.out() << "   " << step->antwort.response << ": " << due_text(step->card, step->tage)
                   << "\n\n";
  }
}

void print_session_end(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                       const SessionOutcome& outcome) {
  std::ostream& out = terminal.out();
  out << (outcome.stopped ? "Session stopped. " : "No more cards for now. ") << outcome.answered
      << (outcome.answered == 1 ? " answer" : " answers") << " stored.\n";
  const kk::DayFigures figures = kk::day_figures(kkv);
  if (!outcome.stopped && figures.due_now_in_choice > 0) {
    out << figures.due_now_in_choice << (figures.due_now_in_choice == 1 ? " card is" : " cards are")
        << " due but held back by today's limits.\n";
  }
  print_next_due(out, figures, kkv.get_seconds_since_epoch());
  out << "\n";
  print_figures(out, figures, true);
}

}  // namespace tavo::cli
