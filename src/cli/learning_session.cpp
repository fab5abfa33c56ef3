#include "cli/learning_session.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/figures_report.hpp"
#include "cli/interruption.hpp"
#include "cli/translation.hpp"
#include "cli/wrapped_text.hpp"
#include "karteikarten/frame/card_shown_again.hpp"
#include "karteikarten/frame/cards_left_today.hpp"
#include "karteikarten/frame/day_figures.hpp"
#include "karteikarten/frame/forgotten_cards_drill.hpp"
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
bool is_help(std::string_view line) { return line == "?"; }

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

unsigned long count_of(std::int64_t number) {
  return static_cast<unsigned long>(std::max<std::int64_t>(number, 0));
}

// What is left today: "18 due · 7 new · 2 learning", or in the drill
// "2 left".
std::string cards_left_text(const kk::Karteikartenverwaltung& kkv) {
  if (kkv.modus_vergessene_karten) {
    const std::int64_t left = kk::cards_left_in_drill(kkv);
    return trf_n("{} left", "{} left", count_of(left), left);
  }
  const kk::CardsLeftToday left = kk::cards_left_today(kkv);
  return trf_n("{} due", "{} due", count_of(left.due), left.due) + " · " +
         trf_n("{} new", "{} new", count_of(left.new_cards), left.new_cards) + " · " +
         trf_n("{} learning", "{} learning", count_of(left.learning), left.learning);
}

// `text` with its later lines indented under the first.
std::string indented(std::string_view text) {
  std::string result;
  for (const char c : text) {
    result += c;
    if (c == '\n') result += continuation_indent;
  }
  return result;
}

std::string question_of(const kk::Karteikarte& card) {
  if (card.nur_reizung && card.reizung) {
    return trf("Hand: {}", str(card.reizung->extra.get("handinfo")));
  }
  return indented(card.get_frage());
}

std::string answer_of(const kk::Karteikarte& card) {
  return card.fragetext ? indented(card.get_antwort()) : tr("(bid the hand)");
}

std::string button_line(const kk::ButtonIntervals& buttons) {
  std::string line;
  for (std::size_t i = 0; i < responses.size(); ++i) {
    line += fmt::format("   {} {}  {}", i + 1, responses[i], interval_text(buttons.at(i)));
  }
  return line;
}

using SteadyClock = std::chrono::steady_clock;

std::int64_t whole_seconds_since(SteadyClock::time_point start) {
  const std::chrono::duration<double> elapsed = SteadyClock::now() - start;
  return static_cast<std::int64_t>(std::lround(elapsed.count()));
}

void show_question(Terminal& terminal, const kk::Karteikartenverwaltung& kkv,
                   const kk::Karteikarte& card, std::size_t number) {
  terminal.show(
      trf("[{}] {} · {}", number, kkv.sammlungsort_name.value_or(""), cards_left_text(kkv)),
      Style::header);
  terminal.show(trf("Q: {}", question_of(card)), Style::question);
}

void show_answer(Terminal& terminal, const kk::Karteikarte& card,
                 const kk::ButtonIntervals& buttons) {
  terminal.show(trf("A: {}", answer_of(card)), Style::answer);
  terminal.show(button_line(buttons), Style::buttons, Breaks::between_items);
}

void show_keys(Terminal& terminal) {
  terminal.show(
      tr("   1-4 or again, hard, good, easy   answer; a number after it gives the "
         "seconds taken"));
  terminal.show(tr("   Enter   show the answer"));
  terminal.show(tr("   u       undo the last answer and show its card again"));
  terminal.show(tr("   q       stop (Ctrl-D and Ctrl-C stop too)"));
  terminal.show(tr("   ?       this list"));
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
                                                 Terminal& terminal) {
  try {
    std::optional<std::string> name = kk::undo_last_answer(kkv);
    if (name) {
      terminal.show(trf("   undone: {}", question_named(kkv, *name)));
      terminal.out() << "\n";
    } else {
      terminal.show(tr("   No answer of today is left to undo."));
    }
    return name;
  } catch (const ValueError& refusal) {
    terminal.show(std::string(continuation_indent) + refusal.what());
    return std::nullopt;
  }
}

// Asks until the person wants the answer shown (Enter, or anything else
// but "?"): false when they stop instead.
bool wants_answer_shown(Terminal& terminal) {
  while (true) {
    const std::optional<std::string> line =
        terminal.ask(tr("   (Enter shows the answer, q stops) "));
    if (!line || is_stop(*line)) return false;
    if (!is_help(*line)) return true;
    show_keys(terminal);
  }
}

// Shows `card` and reads what the person does with it.
Reply ask_answer(kk::Karteikartenverwaltung& kkv, Terminal& terminal, const kk::Karteikarte& card,
                 const kk::ButtonIntervals& buttons, std::size_t number) {
  show_question(terminal, kkv, card, number);
  const SteadyClock::time_point shown = SteadyClock::now();
  if (terminal.interactive() && !wants_answer_shown(terminal)) return Reply::stop();
  show_answer(terminal, card, buttons);
  while (true) {
    const std::optional<std::string> line = terminal.ask(tr("answer> "));
    if (!line || is_stop(*line)) return Reply::stop();
    if (is_help(*line)) {
      show_keys(terminal);
      continue;
    }
    if (is_undo(*line)) {
      if (std::optional<std::string> card = take_back_last_answer(kkv, terminal)) {
        return Reply::undone(std::move(*card));
      }
      continue;
    }
    const std::optional<TypedAnswer> typed = parse_answer(*line);
    if (!typed) {
      terminal.show(
          tr("   Answer 1 to 4 or again, hard, good, easy (optionally followed by the "
             "seconds taken), u to undo the last answer, or q to stop."));
    } else if (!kk::accepts_response(kkv, card, typed->response)) {
      terminal.show(trf("   This card does not take \"{}\" now.", typed->response));
    } else {
      return Reply::answered(
          kk::Antwort{typed->response, typed->seconds.value_or(whole_seconds_since(shown))});
    }
  }
}

std::string due_text(const kk::Karteikarte& card, const Value& tage) {
  const kk::Due& due = card.get_due();
  if (due.is_done()) return tr("done for this drill");
  if (!due.is_moment()) return tr("not due");
  return trf("due {} ({})", local_time_text(due.seconds()),
             interval_text(kk::interval_label(tage)));
}

// "Time: 4.5 min; "again": 20% of the answers."
std::string time_and_again_text(const SessionOutcome& outcome) {
  const std::string minutes = fmt::format("{:.1f}", outcome.seconds / 60);
  if (outcome.answered == 0) return trf("Time: {} min.", minutes);
  const long percent = std::lround(100.0 * static_cast<double>(outcome.again) /
                                   static_cast<double>(outcome.answered));
  // The percent sign stays out of the text, which a catalogue tool would
  // otherwise take for a printf format.
  return trf("Time: {} min; \"again\": {} of the answers.", minutes, fmt::format("{}%", percent));
}

}  // namespace

SessionOutcome run_learning_session(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                                    const ScriptedLearner& learner) {
  const double start = kkv.get_seconds_since_epoch();
  // The responses stored in this session, oldest first.
  std::vector<std::string> stored;
  Reply reply;
  const kk::AskAnswer ask = [&](const kk::Karteikarte& card, const kk::ButtonIntervals& buttons) {
    const std::size_t number = stored.size() + 1;
    if (learner) {
      show_question(terminal, kkv, card, number);
      show_answer(terminal, card, buttons);
      kk::Antwort antwort = learner(card, buttons);
      terminal.show(trf("answer> {} ({} s)", antwort.response, str(antwort.beantwortungszeit)));
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
      if (!stored.empty()) stored.pop_back();
      continue;
    }
    if (!step) {
      return SessionOutcome{
          stored.size(),
          static_cast<std::size_t>(std::count(stored.begin(), stored.end(), "again")),
          reply.stopped, interruption_requested(), kkv.get_seconds_since_epoch() - start};
    }
    stored.push_back(step->antwort.response);
    terminal.show(trf("   {}: {}", step->antwort.response, due_text(step->card, step->tage)));
    terminal.out() << "\n";
  }
}

void print_session_end(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                       const SessionOutcome& outcome) {
  const unsigned long answered = outcome.answered;
  terminal.show(outcome.stopped
                    ? trf_n("Session stopped. {} answer stored.",
                            "Session stopped. {} answers stored.", answered, answered)
                    : trf_n("No more cards for now. {} answer stored.",
                            "No more cards for now. {} answers stored.", answered, answered));
  terminal.show(time_and_again_text(outcome));
  const kk::DayFigures figures = kk::day_figures(kkv);
  if (!outcome.stopped && figures.due_now_in_choice > 0) {
    terminal.show(trf_n("{} card is due but held back by today's limits.",
                        "{} cards are due but held back by today's limits.",
                        count_of(figures.due_now_in_choice), figures.due_now_in_choice));
  }
  print_next_due(terminal.out(), figures, kkv.get_seconds_since_epoch());
  terminal.out() << "\n";
  print_figures(terminal.out(), figures, true);
}

void print_session_summary(kk::Karteikartenverwaltung& kkv, Terminal& terminal,
                           const SessionOutcome& outcome) {
  terminal.show(time_and_again_text(outcome));
  print_next_due(terminal.out(), kk::day_figures(kkv), kkv.get_seconds_since_epoch());
}

}  // namespace tavo::cli
