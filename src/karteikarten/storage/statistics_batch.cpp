#include "karteikarten/storage/statistics_batch.hpp"

#include "db/transaction.hpp"
#include "karteikarten/storage/statistics_recorder.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

StatisticsBatch::StatisticsBatch(StatisticsRecorder& recorder) : recorder_(recorder) {
  if (recorder_.statistics_batch_ != nullptr) {
    throw ValueError("the manager is recording a batch of statistics already");
  }
  recorder_.statistics_batch_ = this;
}

StatisticsBatch::~StatisticsBatch() { recorder_.statistics_batch_ = nullptr; }

void StatisticsBatch::record(const std::string& collection, const std::string& name,
                             const std::string& day, const Value& wert) {
  // A copy, as the caller may change a list after handing it over.
  recordings_.push_back({collection, name, day, deep_copy(wert)});
}

void StatisticsBatch::commit() {
  if (recordings_.empty()) return;
  DayStatisticsStore store = DayStatisticsStore::open_for_recording(day_statistics_path(recorder_.env_));
  db::Transaction transaction(store.connection());
  for (const Recording& recording : recordings_) {
    store.record(recording.collection, recording.name, recording.day, recording.wert);
  }
  transaction.commit();
  recordings_.clear();
}

}  // namespace tavo::kk
