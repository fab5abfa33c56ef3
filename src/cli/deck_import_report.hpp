// How kkv import words its plan: what an import would do, the refusal to
// remove answered cards, and the mistakes of --rename.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/commands.hpp"
#include "karteikarten/frame/decks.hpp"

namespace tavo::cli {

// The line for a rename the deck and the store do not allow.
std::string rename_mistake(const kk::DeckRenameError& error, const std::string& collection);

// "1 new, 0 changed, 0 renamed, 2 unchanged, 0 removed".
std::string counts_text(const kk::DeckImport& counts);

// What the import of `options` would do, card by card; nothing is changed.
void show_import_plan(std::ostream& out, const kk::DeckImportPlan& plan,
                      const ImportOptions& options);

// Unless `options` says --yes: when the plan removes answered cards, lists
// them with the line that would keep a corrected one (--rename), and fails
// with nothing changed.
void refuse_losing_answered_cards(std::ostream& out, const kk::DeckImportPlan& plan,
                                  const ImportOptions& options);

}  // namespace tavo::cli
