#include "cli/deck_import_report.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "cli/translation.hpp"

namespace tavo::cli {
namespace {

// `text` as one word of a POSIX shell: as it is when it needs no quotes,
// else in single quotes.
std::string shell_word(const std::string& text) {
  const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view("_./-:,+=@%").find(c) != std::string_view::npos;
  });
  if (plain) return text;
  std::string word = "'";
  for (const char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

void print_questions(std::ostream& out, const std::string& heading,
                     const std::vector<std::string>& questions) {
  if (questions.empty()) return;
  out << heading << "\n";
  for (const std::string& question : questions) out << "  " << question << "\n";
}

// The questions of the plan's cards of the kind `change`; of a renamed
// card, the old and the new question.
std::vector<std::string> questions_of(const kk::DeckImportPlan& plan, kk::DeckCardChange change) {
  std::vector<std::string> questions;
  for (const kk::PlannedDeckCard& card : plan.cards) {
    if (card.change != change) continue;
    const std::string& question = card.deck_card.fragetext;
    questions.push_back(change == kk::DeckCardChange::renamed
                            ? fmt::format("{} -> {}", card.old_question, question)
                            : question);
  }
  return questions;
}

std::vector<std::string> removed_questions(const std::vector<kk::RemovedDeckCard>& removed) {
  std::vector<std::string> questions;
  for (const kk::RemovedDeckCard& card : removed) {
    questions.push_back(card.answered ? trf("{} (answered)", card.question) : card.question);
  }
  return questions;
}

}  // namespace

// The line for a rename the deck and the store do not allow.
std::string rename_mistake(const kk::DeckRenameError& error, const std::string& collection) {
  using Problem = kk::DeckRenameError::Problem;
  const std::string& question = error.question();
  switch (error.problem()) {
    case Problem::old_question_not_stored:
      return trf("no card of '{}' has the question '{}' (give it as it is stored)", collection,
                 question);
    case Problem::old_question_in_deck:
      return trf("the deck still has the question '{}', so its card stays as it is", question);
    case Problem::old_question_twice: return trf("the question '{}' is renamed twice", question);
    case Problem::new_question_not_in_deck: return trf("the deck has no question '{}'", question);
    case Problem::new_question_taken:
      return trf("the question '{}' belongs to another card already", question);
  }
  return error.what();
}

std::string counts_text(const kk::DeckImport& counts) {
  return trf("{} new, {} changed, {} renamed, {} unchanged, {} removed", counts.added,
             counts.changed, counts.renamed, counts.unchanged, counts.removed);
}

// What the import of `options` would do, card by card; nothing is changed.
void show_import_plan(std::ostream& out, const kk::DeckImportPlan& plan,
                      const ImportOptions& options) {
  out << trf_n("Importing {} card from {} into '{}' would give: {}.",
               "Importing {} cards from {} into '{}' would give: {}.", plan.cards.size(),
               plan.cards.size(), options.file.string(), options.name, counts_text(plan.counts()))
      << "\n";
  using Change = kk::DeckCardChange;
  print_questions(out, tr("New cards:"), questions_of(plan, Change::added));
  print_questions(out, tr("Changed answers:"), questions_of(plan, Change::changed));
  print_questions(out, tr("Renamed cards:"), questions_of(plan, Change::renamed));
  print_questions(out, tr("Removed cards:"), removed_questions(plan.removed));
  out << tr("Nothing was changed (--dry-run).") << "\n";
}

// Unless `options` says --yes: when the plan removes answered cards, lists
// them, says how to keep or remove them, and fails with nothing changed.
void refuse_losing_answered_cards(std::ostream& out, const kk::DeckImportPlan& plan,
                                  const ImportOptions& options) {
  const std::vector<kk::RemovedDeckCard> answered = plan.answered_removed();
  if (answered.empty() || options.yes) return;
  out << trf_n("Importing removes {} card that has been answered, with its learning state:",
               "Importing removes {} cards that have been answered, with their learning "
               "state:",
               answered.size(), answered.size())
      << "\n";
  for (const kk::RemovedDeckCard& card : answered) out << "  " << card.question << "\n";
  const std::vector<std::string> added = questions_of(plan, kk::DeckCardChange::added);
  if (!added.empty()) {
    out << tr("To keep a card whose question was only corrected, give its old and its "
              "new question:")
        << "\n  kkv import " << shell_word(options.file.string()) << " --name " << options.name
        << " --rename " << shell_word(answered.front().question) << " " << shell_word(added.front())
        << "\n";
  }
  throw std::runtime_error(
      tr("nothing was changed; run again with --yes to remove these cards, or keep them with "
         "--rename OLD NEW"));
}

}  // namespace tavo::cli
