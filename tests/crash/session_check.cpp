#include "crash/session_check.hpp"

#include "db/connection.hpp"
#include "db/error.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/storage/answer_log_applier.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "platform/environment.hpp"

namespace tavo::testing {
namespace {

namespace fs = std::filesystem;

void check_file(const fs::path& path, std::vector<std::string>& problems) {
  if (!fs::exists(path)) return;
  try {
    db::Connection connection(path, db::OpenMode::read_write);
    for (const std::string& problem : connection.integrity_check(false)) {
      problems.push_back(path.string() + ": " + problem);
    }
  } catch (const db::Error& error) {
    problems.push_back(path.string() + ": " + error.what());
  }
}

}  // namespace

std::vector<std::string> store_problems(const fs::path& app_dir) {
  std::vector<std::string> problems;
  for (const char* file :
       {"collections.sqlite", "settings/kkv_alle.dat", "settings/kkv_alle.datold"}) {
    check_file(app_dir / file, problems);
  }
  for (const char* damaged :
       {"settings/kkv_alle.dat.damaged", "settings/kkv_settings.eps.damaged"}) {
    if (fs::exists(app_dir / damaged)) problems.push_back((app_dir / damaged).string() + " exists");
  }
  return problems;
}

StoredAnswers stored_answers(const fs::path& app_dir, const std::string& collection) {
  platform::Environment environment(app_dir.string());
  StoredAnswers answers;
  answers.applied_on_opening = kk::apply_answer_log(environment);
  const auto [sammlung, found] = kk::PickleDump(environment).get_haendesammlung(collection);
  if (found) {
    for (const auto& [name, record] : sammlung->karten) {
      answers.reps[name] = record->reps;
      answers.in_collection += record->reps;
    }
  }
  if (auto store = kk::DayStatisticsStore::open_for_reading(app_dir / "settings/kkv_alle.dat")) {
    const std::vector<kk::DayCount> counts = store->latest_counts(collection, "reps");
    if (!counts.empty()) answers.in_statistics = counts.back().total.as_int();
  }
  return answers;
}

}  // namespace tavo::testing
