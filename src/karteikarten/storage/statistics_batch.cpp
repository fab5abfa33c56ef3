#include "karteikarten/storage/statistics_batch.hpp"

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

StatisticsBatch::StatisticsBatch(Karteikartenverwaltung& kkv) : kkv_(kkv) {
  if (kkv_.statistics_batch_ != nullptr) {
    throw ValueError("the manager is recording a batch of statistics already");
  }
  kkv_.statistics_batch_ = this;
}

// The transaction, declared after the store, ends first: rolled back
// unless committed.
StatisticsBatch::~StatisticsBatch() { kkv_.statistics_batch_ = nullptr; }

void StatisticsBatch::record(const std::string& collection, const std::string& name,
                             const std::string& day, const Value& wert) {
  if (!store_) {
    store_.emplace(DayStatisticsStore::open_for_recording(day_statistics_path()));
    transaction_.emplace(store_->connection());
  }
  store_->record(collection, name, day, wert);
}

void StatisticsBatch::commit() {
  if (transaction_) transaction_->commit();
}

}  // namespace tavo::kk
