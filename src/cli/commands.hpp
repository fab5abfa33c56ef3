// The kkv commands. Each prints to standard output and throws on failure;
// main turns a failure into one line on standard error.
//
// The commands that write (learn, drill, import, selfcheck, and settings
// when it changes something) hold the lock of the application data
// directory for their whole run, so that one writer works there at a time;
// stats, report, analyse, history and import --dry-run only read and take
// no lock. Before its first manager, every command that uses the data
// directory stores the default settings when none are stored yet (the
// learner's first run) and says so in one line on standard error.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/environment.hpp"

namespace tavo::cli {

// A mistake in the command line that only shows once the command runs,
// such as an option value outside what the stored settings allow. main
// reports it as it reports CLI11's own parse errors: exit status 2 and a
// pointer to the command's --help. The message begins with the option
// ("--now: ...").
class UsageError : public std::runtime_error {
 public:
  UsageError(const std::string& option, const std::string& reason)
      : std::runtime_error(option + ": " + reason), option_(option) {}

  const std::string& option() const noexcept { return option_; }

 private:
  std::string option_;
};

// Ctrl-C stopped a learning session or a drill. The command has stored
// every answer acknowledged and said what the session did; main exits with
// status 130 (128 + SIGINT, as a shell reports a program Ctrl-C stopped)
// and prints nothing more.
class Interrupted : public std::exception {
 public:
  const char* what() const noexcept override { return "interrupted by Ctrl-C"; }
};

// Options every command takes.
struct GlobalOptions {
  // The application data directory instead of the default one.
  std::optional<std::string> data_dir;
  // The present moment, frozen: seconds since the epoch or a local
  // "YYYY-MM-DD HH:MM" (for scripted runs).
  std::optional<std::string> now;
  // Makes the random order of equal cards repeatable.
  std::optional<std::uint64_t> seed;
};

// The one line kkv prints for `error`, without SQL: a store failure names
// the file and the reason. A damaged collections store of `environment` is
// never replaced; the line then says how to go back to a daily copy.
std::string failure_message(platform::Environment& environment, const std::exception& error);

// Makes the data directory of `options`, when it names one, the
// application data directory of `environment`.
void use_data_directory(platform::Environment& environment, const GlobalOptions& options);

// Applies `options` to `environment`: the data directory, the clock, the
// random source. UsageError for a moment that is malformed or does not
// exist; for a local time that occurs twice, says on standard error which
// of the two it took.
void apply(platform::Environment& environment, const GlobalOptions& options);

// Each command works in the application data directory of `environment`,
// by its clock and its random source.

struct LearnOptions {
  std::vector<std::string> collections;
  std::int64_t ahead = 0;
  bool only_new = false;
};

// Learning and the drill run a session at the terminal (learning_session.hpp)
// and end with its summary; Interrupted after the summary when Ctrl-C
// stopped it.
void learn(platform::Environment& environment, const LearnOptions& options);

struct DrillOptions {
  std::int64_t days = 7;
  std::vector<std::string> collections;
};

// The most days a drill looks back: the stored setting
// vergessen_in_letzten_tagen_groesstmoeglicher_wert (30 by default).
std::int64_t longest_drill_days(platform::Environment& environment);

// UsageError "--days: ..." when options.days is beyond
// longest_drill_days().
void drill(platform::Environment& environment, const DrillOptions& options);

struct ImportOptions {
  std::filesystem::path file;
  std::string name;
  // Stored cards kept under a corrected question: the old question as
  // stored, the new one as the deck asks it.
  std::vector<std::pair<std::string, std::string>> renames;
  // Only shows what the import would do.
  bool dry_run = false;
  // Goes ahead when the import removes cards that have been answered.
  bool yes = false;
};

// Imports the deck file into the collection (see kk::plan_deck_import and
// kk::import_deck) and says what it did. When that removes cards that have
// been answered, lists them, says how to keep them with --rename, and fails
// with nothing changed unless options.yes. With options.dry_run, shows
// what the import would do, card by card, and changes nothing: it takes no
// lock, stores no settings and makes no daily copy. UsageError "--rename:
// ..." for a rename that cannot be applied.
void import_deck_file(platform::Environment& environment, const ImportOptions& options);

// The day's figures; without `today_only` also the totals and the charts
// of the coming due cards, the answers per day and the "again" shares.
void stats(platform::Environment& environment, bool today_only);
// Writes the figures and charts of stats as one HTML page to `file`,
// replacing it whole; fails naming the file when it cannot be written.
void report(platform::Environment& environment, const std::filesystem::path& file);
// Prints the answers to the stored card that `card` names, by its question
// or its name: one line each, oldest first. Fails when no stored card is
// named so.
void history(platform::Environment& environment, const std::string& card);
// Prints the distribution report of the stored collection `name`, under
// the manager's limits for it.
void analyse(platform::Environment& environment, const std::string& name);

struct SelfCheckOptions {
  std::string scenario;
  std::string collection;
  // Without it nothing is changed.
  bool yes = false;
};

// Says what the scenario replaces; with `yes`, runs it on the collection
// and stores the result.
void selfcheck(platform::Environment& environment, const SelfCheckOptions& options);

struct SettingsOptions {
  std::optional<std::string> key;
  std::optional<std::string> value;
  // Puts every setting back to its default.
  bool reset = false;
  // Without it --reset changes nothing.
  bool yes = false;
};

// Shows every setting (or the one `key`) with its value, bounds and
// default; with a value, changes it first; with `reset`, says which
// settings go back to their defaults and, with `yes`, puts them back.
void settings(platform::Environment& environment, const SettingsOptions& options);
void demo(platform::Environment& environment, const std::filesystem::path& deck);

}  // namespace tavo::cli
