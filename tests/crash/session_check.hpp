// What the crash and concurrency tests check in an application directory
// after its learning sessions ended, however they ended.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tavo::testing {

// The answers a store holds: the sum of the cards' answer counts in the
// collection store and the "reps" counter of the statistics store.
struct StoredAnswers {
  std::int64_t in_collection = 0;
  std::int64_t in_statistics = 0;
  // The answers of the log that the statistics store lacked until opened.
  std::size_t applied_on_opening = 0;
  // Each card's answers so far, as the collection store holds them.
  std::map<std::string, std::int64_t> reps;
};

// The problems SQLite's integrity check finds in every store file of
// `app_dir` (the collections store, the statistics store and its backup),
// each prefixed by its file; empty when all are sound. Each file is opened
// read-write, as the next session would, so that a journal left by a
// killed writer is rolled back first.
std::vector<std::string> store_problems(const std::filesystem::path& app_dir);

// The answers stored for the collection `collection` in `app_dir`, once
// the statistics store is opened as the next session opens it (it applies
// the answers of the log it lacks).
StoredAnswers stored_answers(const std::filesystem::path& app_dir, const std::string& collection);

}  // namespace tavo::testing
