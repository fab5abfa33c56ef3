// The manager's learning reports: the "again" answers and the learning days
// of the whole history, read from the day statistics store.
//
// A store that cannot be opened reads as an empty one, so both reports then
// give the figures of an empty history.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"

namespace tavo::kk {
namespace {

const std::string again_statistic = "heute_falsch_anzahl";
const std::string repetition_statistic = "reps";

std::optional<DayStatisticsStore> open_store() {
  return DayStatisticsStore::open_for_reading(day_statistics_path());
}

// What one collection's "again" history adds: its newest total, and of it
// what was added on `today` (the newest total less the one before, or all
// of it when it is the first).
std::pair<std::int64_t, std::int64_t> again_share(const std::vector<DayCount>& pairs,
                                                  const std::string& today) {
  if (pairs.empty()) return {0, 0};
  const std::int64_t total = pairs.back().total.as_int();
  if (pairs.back().day != today) return {total, 0};
  const std::int64_t before = pairs.size() > 1 ? pairs.front().total.as_int() : 0;
  return {total, total - before};
}

// The dates of every pair of the "reps" history in `layout`.
void add_repetition_days(const Value& layout, std::set<std::string>& days) {
  if (!layout.is_dict()) return;
  const Value* history = layout.as_dict().find(repetition_statistic);
  if (history == nullptr) return;
  for (const Value& pair : history->as_list()) days.insert(pair.as_tuple().at(0).as_text());
}

}  // namespace

std::pair<std::int64_t, std::int64_t> Karteikartenverwaltung::get_anzahl_falsch() const {
  std::optional<DayStatisticsStore> store = open_store();
  if (!store || store->empty()) return {0, 0};
  const std::string today =
      platform::process_environment().cf.get_datum_string_startzeit(startzeit_tag);
  std::pair<std::int64_t, std::int64_t> anzahl{0, 0};
  for (const std::string& collection : store->collection_names()) {
    const auto [total, nur_heute] =
        again_share(store->latest_counts(collection, again_statistic), today);
    anzahl.first += total;
    anzahl.second += nur_heute;
  }
  return anzahl;
}

std::int64_t Karteikartenverwaltung::anzahl_lerntage_gesamt() const {
  std::optional<DayStatisticsStore> store = open_store();
  if (!store) return 0;
  std::set<std::string> days;
  for (const std::string& collection : store->collection_names()) {
    add_repetition_days(store->collection_layout(collection), days);
  }
  return static_cast<std::int64_t>(days.size());
}

}  // namespace tavo::kk
