// The kkv commands. Each prints to standard output and throws on failure;
// main turns a failure into one line on standard error.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavo::cli {

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

// The one line kkv prints for `error`. A damaged collections store is
// never replaced; the line then says how to go back to a daily copy.
std::string failure_message(const std::exception& error);

// Applies `options` to the process: the data directory, the clock, the
// random generator. ValueError for a malformed moment.
void apply(const GlobalOptions& options);

struct LearnOptions {
  std::vector<std::string> collections;
  std::int64_t ahead = 0;
  bool only_new = false;
};

void learn(const LearnOptions& options);

struct DrillOptions {
  std::int64_t days = 7;
  std::vector<std::string> collections;
};

void drill(const DrillOptions& options);
void import_deck_file(const std::filesystem::path& file, const std::string& name);
void stats(bool today_only);
// Prints the distribution report of the stored collection `name`, under
// the manager's limits for it.
void analyse(const std::string& name);

struct SelfCheckOptions {
  std::string scenario;
  std::string collection;
  // Without it nothing is changed.
  bool yes = false;
};

// Says what the scenario replaces; with `yes`, runs it on the collection
// and stores the result.
void selfcheck(const SelfCheckOptions& options);
void settings(const std::optional<std::string>& key, const std::optional<std::string>& value);
void demo(const std::filesystem::path& deck);

// The moment `text` names: seconds since the epoch ("1765100000") or local
// time ("2026-12-07 10:00", "2026-12-07T10:00:30", "2026-12-07").
// ValueError otherwise.
double parse_moment(const std::string& text);

}  // namespace tavo::cli
