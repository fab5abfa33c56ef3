#include "cli/commands.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "cli/card_history.hpp"
#include "cli/deck_import_report.hpp"
#include "cli/demo.hpp"
#include "cli/figures_report.hpp"
#include "cli/html_report.hpp"
#include "cli/interruption.hpp"
#include "cli/learning_session.hpp"
#include "cli/moment.hpp"
#include "cli/setting_texts.hpp"
#include "cli/terminal.hpp"
#include "cli/terminal_charts.hpp"
#include "cli/translation.hpp"
#include "db/durable_file.hpp"
#include "db/error.hpp"
#include "db/file_error.hpp"
#include "karteikarten/analysis/haendesammlung_verteilung_analyzer.hpp"
#include "karteikarten/analysis/self_check_catalogue.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/frame/answer_history.hpp"
#include "karteikarten/frame/day_figures.hpp"
#include "karteikarten/frame/decks.hpp"
#include "karteikarten/frame/forgotten_cards_drill.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/frame/learning_pictures.hpp"
#include "karteikarten/storage/setting_value.hpp"
#include "karteikarten/storage/settings.hpp"
#include "platform/daily_backups.hpp"
#include "platform/deck_file.hpp"
#include "platform/directory_lock.hpp"
#include "value/errors.hpp"
#include "value/quoted.hpp"
#include "value/repr.hpp"

namespace tavo::cli {
namespace {

// The application data directory. A command that writes holds its lock
// (platform::DirectoryLock) for its whole run: no other writer works there
// meanwhile.
std::filesystem::path data_directory(const platform::Environment& environment) {
  return environment.app_data_dir();
}

// On the learner's first run (no settings stored yet) stores the default
// settings, before a manager would store its own, and says so.
void start_with_default_settings(platform::Environment& environment) {
  if (!kk::store_default_settings_if_none_stored(environment)) return;
  std::cerr << "kkv: "
            << trf("no settings were stored yet; stored the default settings ({} new cards and "
                   "{} reviews a day); change them with kkv settings",
                   str(kk::stored_setting(environment, "neue_karten_pro_tag")),
                   str(kk::stored_setting(environment, "maximale_wiederholungen_pro_tag")))
            << "\n";
}

// The message of a store failure for a learner: the file and the reason in
// words, without the statement that met it.
std::string learner_text(const db::Error& error) {
  if (error.reason().empty()) return error.what();
  return error.is_damage() ? trf("damaged database {}: {}", quoted(error.path()), error.reason())
                           : trf("database {}: {}", quoted(error.path()), error.reason());
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// Makes the collections store's copy of the learning day, keeping a week
// of them. Learning goes on without it; the learner is warned.
void keep_daily_backup(platform::Environment& environment, const kk::Karteikartenverwaltung& kkv) {
  const platform::DailyBackups backups(kk::PickleDump(environment).collections_path());
  const std::string day = environment.cf.get_datum_string_startzeit(kkv.startzeit_tag);
  const std::string not_made = tr("no daily copy of the collections store was made: ");
  try {
    backups.make(day);
  } catch (const db::Error& error) {
    environment.diagnostics.warn(not_made + learner_text(error));
  } catch (const std::filesystem::filesystem_error& error) {
    environment.diagnostics.warn(not_made + error.what());
  }
}

// Registers `wanted` (every stored collection when empty) with `kkv`.
// Names them in the message when one is not stored.
void add_collections(platform::Environment& environment, kk::Karteikartenverwaltung& kkv,
                     std::vector<std::string> wanted) {
  const std::vector<std::string> stored = kk::stored_deck_collections(environment);
  const std::string directory = environment.app_data_dir();
  if (wanted.empty()) wanted = stored;
  if (wanted.empty()) {
    throw std::runtime_error(
        trf("no collection is stored in {}; import a deck first: kkv import FILE --name NAME",
            directory));
  }
  for (const std::string& name : wanted) {
    if (std::find(stored.begin(), stored.end(), name) == stored.end()) {
      throw std::runtime_error(
          stored.empty()
              ? trf("no collection '{}' is stored in {}; import one with: kkv import FILE "
                    "--name {}",
                    name, directory, name)
              : trf("no collection '{}' is stored in {} (stored: {}); import one with: kkv "
                    "import FILE --name {}",
                    name, directory, joined(stored), name));
    }
    kk::add_stored_haendesammlung(kkv, name);
  }
}

// add_collections after the daily copy of the collections store.
void register_collections(platform::Environment& environment, kk::Karteikartenverwaltung& kkv,
                          const std::vector<std::string>& wanted) {
  keep_daily_backup(environment, kkv);
  add_collections(environment, kkv, wanted);
}

// Fails with a line naming every setting unless `key` is one of `settings`.
void check_setting_name(const std::vector<kk::SettingDescription>& settings,
                        const std::string& key) {
  std::vector<std::string> names;
  for (const kk::SettingDescription& setting : settings) {
    if (setting.key == key) return;
    names.push_back(setting.key);
  }
  throw std::runtime_error(trf("no setting '{}'; the settings are: {}", key, joined(names)));
}

// Lists the settings that differ from their defaults and, with `yes`, puts
// them back. Without `yes` nothing changes and the learner is told how to
// go ahead.
void reset_settings(kk::Karteikartenverwaltung& kkv, bool yes) {
  std::vector<kk::SettingDescription> changed;
  for (kk::SettingDescription& setting : kkv.settings_store().describe_settings()) {
    if (!(setting.wert == setting.standard)) changed.push_back(std::move(setting));
  }
  if (changed.empty()) {
    std::cout << tr("Every setting has its default value already.") << "\n";
    return;
  }
  std::cout << trf_n("--reset puts {} setting back to the default:",
                     "--reset puts {} settings back to the default:", changed.size(),
                     changed.size())
            << "\n";
  for (const kk::SettingDescription& setting : changed) {
    std::cout << fmt::format("  {:<52}{} -> {}\n", setting.key, setting_value_text(setting.wert),
                             setting_value_text(setting.standard));
  }
  if (!yes) throw std::runtime_error(tr("nothing was changed; run again with --yes to go ahead"));
  kkv.settings_store().reset_to_default_settings();
  std::cout << tr("Done: every setting has its default value.") << "\n";
}

// The plan of importing the deck file of `options`. A rename that cannot
// be applied is a mistake in the command line.
kk::DeckImportPlan planned_import(platform::Environment& environment,
                                  const ImportOptions& options) {
  const std::vector<platform::DeckCard> deck = platform::read_deck_file(options.file);
  std::vector<kk::DeckRename> renames;
  for (const auto& [old_question, new_question] : options.renames) {
    renames.push_back({old_question, new_question});
  }
  try {
    return kk::plan_deck_import(environment, deck, options.name, renames);
  } catch (const kk::DeckRenameError& error) {
    throw UsageError("--rename", rename_mistake(error, options.name));
  }
}

// Writes `page` to `file` whole, or leaves nothing there: the page goes to
// a new file beside it that is then renamed into place.
void write_report(const std::filesystem::path& file, const std::string& page) {
  const std::filesystem::path directory = file.has_parent_path() ? file.parent_path() : ".";
  std::error_code unknown;
  if (!std::filesystem::exists(directory, unknown)) {
    throw std::runtime_error(trf("cannot write the report {}: there is no directory {}",
                                 quoted(file), quoted(directory)));
  }
  if (!std::filesystem::is_directory(directory, unknown)) {
    throw std::runtime_error(
        trf("cannot write the report {}: {} is not a directory", quoted(file), quoted(directory)));
  }
  try {
    db::write_file_durably(file, page);
  } catch (const db::FileError& error) {
    throw std::runtime_error(
        trf("cannot write the report {}: {}", quoted(file), error.code().message()));
  }
}

}  // namespace

std::string failure_message(platform::Environment& environment, const std::exception& error) {
  const auto* store_error = dynamic_cast<const db::Error*>(&error);
  if (store_error == nullptr) return error.what();
  const std::string line = learner_text(*store_error);
  if (!store_error->is_damage()) return line;
  const std::filesystem::path store = kk::PickleDump(environment).collections_path();
  const std::filesystem::path& file = store_error->path();
  std::error_code unknown;
  if (file != store && !std::filesystem::equivalent(file, store, unknown)) return line;
  return line + tr("; nothing was changed; ") + platform::DailyBackups(store).recovery_advice();
}

void use_data_directory(platform::Environment& environment, const GlobalOptions& options) {
  if (!options.data_dir) return;
  environment.use_app_data_dir(std::filesystem::absolute(*options.data_dir).string());
}

void apply(platform::Environment& environment, const GlobalOptions& options) {
  use_data_directory(environment, options);
  if (options.now) {
    Moment moment;
    try {
      moment = parse_moment(*options.now);
    } catch (const ValueError& error) {
      throw UsageError("--now", error.what());
    }
    if (moment.choice) std::cerr << "kkv: --now: " << *moment.choice << "\n";
    environment.cf.set_fixed_now(moment.seconds);
    // The run begins at that moment: the drill counts back from it.
    environment.start_date = environment.cf.get_datetime_now();
  }
  if (options.seed) environment.random.seed(*options.seed);
}

void learn(platform::Environment& environment, const LearnOptions& options) {
  const platform::DirectoryLock lock(data_directory(environment));
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment, options.ahead, options.only_new);
  register_collections(environment, kkv, options.collections);
  Terminal terminal = Terminal::standard();
  terminal.show(
      trf("Learning {}. Answer 1 to 4 (again, hard, good, easy); u undoes the last "
          "answer, q stops; ? lists the keys.",
          collections_line(kkv)));
  terminal.out() << "\n";
  const InterruptionWatch watch;
  const SessionOutcome outcome = run_learning_session(kkv, terminal);
  print_session_end(kkv, terminal, outcome);
  if (outcome.interrupted) throw Interrupted();
}

std::int64_t longest_drill_days(platform::Environment& environment) {
  return kk::integer_setting(
      "vergessen_in_letzten_tagen_groesstmoeglicher_wert",
      kk::stored_setting(environment, "vergessen_in_letzten_tagen_groesstmoeglicher_wert"));
}

void drill(platform::Environment& environment, const DrillOptions& options) {
  const platform::DirectoryLock lock(data_directory(environment));
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  const std::int64_t longest = kkv.vergessen_in_letzten_tagen_groesstmoeglicher_wert;
  if (options.days < 1 || options.days > longest) {
    throw UsageError("--days", fmt::format("the drill looks back 1 to {} days (the setting "
                                           "vergessen_in_letzten_tagen_groesstmoeglicher_wert), "
                                           "not {}",
                                           longest, options.days));
  }
  register_collections(environment, kkv, options.collections);
  Terminal terminal = Terminal::standard();
  const InterruptionWatch watch;
  SessionOutcome outcome;
  {
    const kk::ForgottenCardsDrill run(kkv, options.days);
    if (run.anzahl_karten() == 0) {
      terminal.show(trf_n("No card was answered \"again\" in the last {} day.",
                          "No card was answered \"again\" in the last {} days.",
                          static_cast<unsigned long>(options.days), options.days));
      return;
    }
    terminal.show(
        trf_n("Drilling {1}: the cards answered \"again\" in the last {0} day. Answer 1 "
              "(again) or 3 (good); u undoes the last answer, q stops; ? lists the keys.",
              "Drilling {1}: the cards answered \"again\" in the last {0} days. Answer "
              "1 (again) or 3 (good); u undoes the last answer, q stops; ? lists the "
              "keys.",
              static_cast<unsigned long>(options.days), options.days, collections_line(kkv)));
    terminal.out() << "\n";
    outcome = run_learning_session(kkv, terminal);
  }
  const unsigned long answered = outcome.answered;
  terminal.show(outcome.stopped
                    ? trf_n("Drill stopped after {} answer; back to normal learning with {}.",
                            "Drill stopped after {} answers; back to normal learning with {}.",
                            answered, answered, collections_line(kkv))
                    : trf_n("Drill done after {} answer; back to normal learning with {}.",
                            "Drill done after {} answers; back to normal learning with {}.",
                            answered, answered, collections_line(kkv)));
  print_session_summary(kkv, terminal, outcome);
  if (outcome.interrupted) throw Interrupted();
}

void import_deck_file(platform::Environment& environment, const ImportOptions& options) {
  kk::check_collection_name(options.name);
  if (options.dry_run) {
    show_import_plan(std::cout, planned_import(environment, options), options);
    return;
  }
  const platform::DirectoryLock lock(data_directory(environment));
  const kk::DeckImportPlan plan = planned_import(environment, options);
  refuse_losing_answered_cards(std::cout, plan, options);
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  keep_daily_backup(environment, kkv);
  const kk::DeckImport counts = kk::import_deck(kkv, plan);
  std::cout << trf_n("Imported {} card from {} into '{}': {}.",
                     "Imported {} cards from {} into '{}': {}.", plan.cards.size(),
                     plan.cards.size(), options.file.string(), options.name, counts_text(counts))
            << "\n";
}

void stats(platform::Environment& environment, bool today_only) {
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  register_collections(environment, kkv, {});
  const kk::DayFigures figures = kk::day_figures(kkv);
  std::cout << trf("Collections: {}", collections_line(kkv)) << "\n";
  print_figures(std::cout, figures, today_only);
  print_next_due(std::cout, figures, environment.cf.get_now());
  if (!today_only) print_charts(std::cout, kk::learning_pictures(kkv));
}

void report(platform::Environment& environment, const std::filesystem::path& file) {
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  register_collections(environment, kkv, {});
  const ReportContents contents{collections_line(kkv), kk::day_figures(kkv),
                                kk::learning_pictures(kkv), environment.cf.get_now()};
  write_report(file, html_report(contents));
  std::cout << trf("Wrote the report {}.", file.string()) << "\n";
}

void history(platform::Environment& environment, const std::string& card) {
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  add_collections(environment, kkv, {});
  std::vector<CardMatch> matches = cards_named_or_asked(kkv, card);
  // A card gone from its collection keeps its answers under its name.
  if (matches.empty() && !kk::answer_history(kkv, card).empty()) matches.push_back({card, "", ""});
  if (matches.empty()) {
    throw std::runtime_error(
        trf("no card '{}' in the stored collections: give its question, as kkv learn shows it, or "
            "its name",
            card));
  }
  for (const CardMatch& match : matches) {
    if (&match != &matches.front()) std::cout << "\n";
    std::cout << (match.collection.empty() ? match.name
                                           : trf("{} in {}", match.name, match.collection))
              << "\n";
    if (!match.question.empty()) std::cout << trf("Q: {}", match.question) << "\n";
    print_history(std::cout, kk::answer_history(kkv, match.name));
  }
}

void analyse(platform::Environment& environment, const std::string& name) {
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  register_collections(environment, kkv, {name});
  const kk::SammlungRef sammlung = kkv.hc.sammlung_named(name);
  kk::HaendesammlungVerteilungAnalyzer analyzer(sammlung);
  analyzer.set_grenzwert_neue_karten_heute(kkv.bestimme_grenzwert_neue_karten_heute(sammlung));
  analyzer.set_grenzwert_wiederholungen(kkv.bestimme_grenzwert_wiederholungen(sammlung));
  analyzer.analyse();
  analyzer.show();
}

void selfcheck(platform::Environment& environment, const SelfCheckOptions& options) {
  const platform::DirectoryLock lock(data_directory(environment));
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  register_collections(environment, kkv, {options.collection});
  std::cout << trf("Scenario {} replaces the learning state of every card of {} and its day "
                   "statistics.",
                   options.scenario, collections_line(kkv))
            << "\n";
  if (!options.yes)
    throw std::runtime_error(tr("nothing was changed; run again with --yes to go ahead"));
  kk::run_self_check_scenario(kkv.scenarios(), options.scenario);
  std::cout << trf("Done: '{}' is stored in the scenario's state.", options.collection) << "\n";
}

void settings(platform::Environment& environment, const SettingsOptions& options) {
  std::optional<platform::DirectoryLock> lock;
  if (options.value || (options.reset && options.yes)) {
    lock.emplace(data_directory(environment));
  }
  start_with_default_settings(environment);
  kk::Karteikartenverwaltung kkv(environment);
  if (options.reset) {
    reset_settings(kkv, options.yes);
    return;
  }
  const std::optional<std::string>& key = options.key;
  if (key) check_setting_name(kkv.settings_store().describe_settings(), *key);
  if (key && options.value) {
    kkv.settings_store().change_setting(*key, kk::setting_value_from_text(*key, *options.value));
  }
  for (const kk::SettingDescription& setting : kkv.settings_store().describe_settings()) {
    if (!key || setting.key == *key) print_setting(std::cout, setting);
  }
}

void demo(platform::Environment& environment, const std::filesystem::path& deck) {
  run_demo(environment, deck, environment.cf.get_now(), std::cout);
}

}  // namespace tavo::cli
