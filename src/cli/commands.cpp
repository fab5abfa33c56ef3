#include "cli/commands.hpp"

#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "cli/demo.hpp"
#include "cli/figures_report.hpp"
#include "cli/learning_session.hpp"
#include "cli/terminal.hpp"
#include "db/error.hpp"
#include "karteikarten/analysis/day_figures.hpp"
#include "karteikarten/analysis/haendesammlung_verteilung_analyzer.hpp"
#include "karteikarten/analysis/self_check_catalogue.hpp"
#include "karteikarten/frame/decks.hpp"
#include "karteikarten/frame/forgotten_cards_drill.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/storage/settings.hpp"
#include "platform/common_functions.hpp"
#include "platform/daily_backups.hpp"
#include "platform/deck_file.hpp"
#include "platform/diagnostics.hpp"
#include "platform/getcwd.hpp"
#include "platform/pickle_dump.hpp"
#include "platform/random_source.hpp"
#include "value/date_time.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::cli {
namespace {

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// Makes the collections store's copy of the learning day, keeping a week
// of them. Learning goes on without it; the learner is warned.
void keep_daily_backup(const kk::Karteikartenverwaltung& kkv) {
  try {
    platform::DailyBackups(platform::pd().collections_path())
        .make(platform::cf().get_datum_string_startzeit(kkv.startzeit_tag));
  } catch (const std::exception& error) {
    platform::warn(std::string("no daily copy of the collections store was made: ") + error.what());
  }
}

// Registers `wanted` (every stored collection when empty) with `kkv`.
// Names them in the message when one is not stored.
void register_collections(kk::Karteikartenverwaltung& kkv, std::vector<std::string> wanted) {
  keep_daily_backup(kkv);
  const std::vector<std::string> stored = kk::stored_deck_collections();
  const std::string directory = platform::GetCwd().get_app_data_dir();
  if (wanted.empty()) wanted = stored;
  if (wanted.empty()) {
    throw std::runtime_error("no collection is stored in " + directory +
                             "; import a deck first: kkv import FILE --name NAME");
  }
  for (const std::string& name : wanted) {
    if (std::find(stored.begin(), stored.end(), name) == stored.end()) {
      throw std::runtime_error("no collection '" + name + "' is stored in " + directory +
                               (stored.empty() ? "" : " (stored: " + joined(stored) + ")") +
                               "; import one with: kkv import FILE --name " + name);
    }
    kk::add_stored_haendesammlung(kkv, name);
  }
}

std::string collections_line(const kk::Karteikartenverwaltung& kkv) {
  std::string line;
  for (const platform::SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    line += fmt::format("{}{} ({} cards)", line.empty() ? "" : ", ", sammlung->name,
                        sammlung->karten.size());
  }
  return line;
}

bool is_seconds_text(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

void print_setting(const kk::SettingDescription& setting) {
  std::cout << fmt::format("{:<52}{:<12}{:<10}{}\n", setting.key, str(setting.wert),
                           str(setting.minimum), str(setting.maximum));
}

}  // namespace

double parse_moment(const std::string& text) {
  if (is_seconds_text(text)) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error == std::errc() && end == text.data() + text.size()) return seconds;
  }
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char separator = ' ';
  int consumed = 0;
  const int fields =
      std::sscanf(text.c_str(), "%4d-%2d-%2d%n%c%2d:%2d%n:%2d%n", &year, &month, &day, &consumed,
                  &separator, &hour, &minute, &consumed, &second, &consumed);
  const bool shape = (fields == 3 || fields == 6 || fields == 7) &&
                     consumed == static_cast<int>(text.size()) &&
                     (fields == 3 || separator == ' ' || separator == 'T');
  if (!shape || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
      second > 59 || hour < 0 || minute < 0 || second < 0) {
    throw ValueError("'" + text +
                     "' is not a moment: give seconds since the epoch or a local time such as "
                     "2026-12-07 10:00");
  }
  return DateTime(year, month, day, hour, minute, second).to_epoch_seconds();
}

std::string failure_message(const std::exception& error) {
  const auto* store_error = dynamic_cast<const db::Error*>(&error);
  const std::filesystem::path store = platform::pd().collections_path();
  if (store_error == nullptr || !store_error->is_damage() ||
      std::string_view(error.what()).find(store.string()) == std::string_view::npos) {
    return error.what();
  }
  return std::string(error.what()) + "; nothing was changed; " +
         platform::DailyBackups(store).recovery_advice();
}

void apply(const GlobalOptions& options) {
  if (options.data_dir) {
    const std::string directory = std::filesystem::absolute(*options.data_dir).string();
    ::setenv("TAVO_DATA_DIR", directory.c_str(), 1);
  }
  if (options.now) platform::cf().set_fixed_now(parse_moment(*options.now));
  if (options.seed) platform::seed_random(*options.seed);
}

void learn(const LearnOptions& options) {
  kk::Karteikartenverwaltung kkv(options.ahead, options.only_new);
  register_collections(kkv, options.collections);
  Terminal terminal(std::cin, std::cout, ::isatty(STDIN_FILENO) == 1);
  std::cout << "Learning " << collections_line(kkv)
            << ". Answer 1 to 4 (again, hard, good, easy); q stops.\n\n";
  const SessionOutcome outcome = run_learning_session(kkv, terminal);
  print_session_end(kkv, terminal, outcome);
}

void drill(const DrillOptions& options) {
  kk::Karteikartenverwaltung kkv;
  register_collections(kkv, options.collections);
  Terminal terminal(std::cin, std::cout, ::isatty(STDIN_FILENO) == 1);
  SessionOutcome outcome;
  {
    const kk::ForgottenCardsDrill run(kkv, options.days);
    if (run.anzahl_karten() == 0) {
      std::cout << "No card was answered \"again\" in the last " << options.days << " days.\n";
      return;
    }
    std::cout << "Drilling " << collections_line(kkv)
              << ": the cards answered \"again\" in the last " << options.days
              << " days. Answer 1 (again) or 3 (good); q stops.\n\n";
    outcome = run_learning_session(kkv, terminal);
  }
  std::cout << (outcome.stopped ? "Drill stopped" : "Drill done") << " after " << outcome.answered
            << (outcome.answered == 1 ? " answer" : " answers") << "; back to normal learning with "
            << collections_line(kkv) << ".\n";
}

void import_deck_file(const std::filesystem::path& file, const std::string& name) {
  kk::check_collection_name(name);
  const std::vector<platform::DeckCard> deck = platform::read_deck_file(file);
  kk::Karteikartenverwaltung kkv;
  keep_daily_backup(kkv);
  const kk::DeckImport result = kk::import_deck(kkv, deck, name);
  std::cout << fmt::format(
      "Imported {} cards from {} into '{}': {} new, {} changed, {} unchanged, {} removed.\n",
      deck.size(), file.string(), name, result.added, result.changed, result.unchanged,
      result.removed);
}

void stats(bool today_only) {
  kk::Karteikartenverwaltung kkv;
  register_collections(kkv, {});
  const kk::DayFigures figures = kk::day_figures(kkv);
  std::cout << "Collections: " << collections_line(kkv) << "\n";
  print_figures(std::cout, figures, today_only);
  print_next_due(std::cout, figures, platform::cf().get_now());
}

void analyse(const std::string& name) {
  kk::Karteikartenverwaltung kkv;
  register_collections(kkv, {name});
  const platform::SammlungRef sammlung = kkv.hc.sammlung_named(name);
  kk::HaendesammlungVerteilungAnalyzer analyzer(sammlung);
  analyzer.set_grenzwert_neue_karten_heute(kkv.bestimme_grenzwert_neue_karten_heute(sammlung));
  analyzer.set_grenzwert_wiederholungen(kkv.bestimme_grenzwert_wiederholungen(sammlung));
  analyzer.analyse();
  analyzer.show();
}

void selfcheck(const SelfCheckOptions& options) {
  kk::Karteikartenverwaltung kkv;
  register_collections(kkv, {options.collection});
  std::cout << "Scenario " << options.scenario << " replaces the learning state of every card of "
            << collections_line(kkv) << " and its day statistics.\n";
  if (!options.yes) {
    throw std::runtime_error("nothing was changed; run again with --yes to go ahead");
  }
  kk::run_self_check_scenario(kkv, options.scenario);
  std::cout << "Done: '" << options.collection << "' is stored in the scenario's state.\n";
}

void settings(const std::optional<std::string>& key, const std::optional<std::string>& value) {
  kk::Karteikartenverwaltung kkv;
  if (key && value) kk::change_setting(kkv, *key, kk::setting_value_from_text(*key, *value));
  const std::vector<kk::SettingDescription> all = kk::describe_settings(kkv);
  if (!key) {
    std::cout << fmt::format("{:<52}{:<12}{:<10}{}\n", "setting", "value", "minimum", "maximum");
  }
  bool found = false;
  for (const kk::SettingDescription& setting : all) {
    if (key && setting.key != *key) continue;
    print_setting(setting);
    found = true;
  }
  if (!found) throw KeyError("no setting '" + *key + "'");
}

void demo(const std::filesystem::path& deck) {
  run_demo(deck, platform::cf().get_now(), std::cout);
}

}  // namespace tavo::cli
