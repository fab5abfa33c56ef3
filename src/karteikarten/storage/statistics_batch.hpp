// StatisticsBatch: the day statistics one answer records, written in one
// transaction of the statistics store.
//
// An answer records several statistics (its repetition, its card kind,
// the card's name in today's lists, ...). Each recording on its own opens
// the store and commits, a durable write each; within a batch they share
// one open store and one transaction, so that the answer costs one durable
// commit there and is recorded whole or not at all.
//
//   StatisticsBatch batch(kkv);
//   ...               // kkv.add_to_shelve records into the batch
//   batch.commit();   // leaving without commit() rolls the records back
//
// Reads of the store during a batch see what was committed before it. A
// manager has at most one batch at a time.
#pragma once

#include <optional>
#include <string>

#include "db/transaction.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class Karteikartenverwaltung;

class StatisticsBatch {
 public:
  // Routes the manager's recordings into this batch. ValueError when the
  // manager has a batch already.
  explicit StatisticsBatch(Karteikartenverwaltung& kkv);
  StatisticsBatch(const StatisticsBatch&) = delete;
  StatisticsBatch& operator=(const StatisticsBatch&) = delete;
  // Detaches from the manager; rolls back what was not committed.
  ~StatisticsBatch();

  // Records like DayStatisticsStore::record, opening the store and its
  // transaction at the first recording.
  void record(const std::string& collection, const std::string& name, const std::string& day,
              const Value& wert);
  // Makes the recordings durable. Nothing to do when none was made.
  void commit();

 private:
  Karteikartenverwaltung& kkv_;
  std::optional<DayStatisticsStore> store_;
  std::optional<db::Transaction> transaction_;
};

}  // namespace tavo::kk
