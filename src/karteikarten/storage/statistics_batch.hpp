// StatisticsBatch: the day statistics one answer records, written in one
// transaction of the statistics store.
//
// An answer records several statistics (its repetition, its card kind,
// the card's name in today's lists, ...). Each recording on its own opens
// the store and commits, a durable write each; within a batch they are
// kept in memory and written together by commit(), in one transaction, so
// that the answer costs one durable commit there and is recorded whole or
// not at all. Nothing touches the store before commit(), so a failing disk
// cannot interrupt the scheduling that records into the batch.
//
//   StatisticsBatch batch(recorder);
//   ...               // recorder.add_to_shelve records into the batch
//   batch.commit();   // leaving without commit() drops the records
//
// Reads of the store during a batch see what was committed before it. A
// recorder has at most one batch at a time.
#pragma once

#include <string>
#include <vector>

#include "value/value.hpp"

namespace tavo::kk {

class StatisticsRecorder;

class StatisticsBatch {
 public:
  // Routes the recorder's recordings into this batch. ValueError when the
  // recorder has a batch already.
  explicit StatisticsBatch(StatisticsRecorder& recorder);
  StatisticsBatch(const StatisticsBatch&) = delete;
  StatisticsBatch& operator=(const StatisticsBatch&) = delete;
  // Detaches from the recorder; drops what was not committed.
  ~StatisticsBatch();

  // Keeps a copy of the recording for commit().
  void record(const std::string& collection, const std::string& name, const std::string& day,
              const Value& wert);
  // Records everything kept, in order, as DayStatisticsStore::record does,
  // in one transaction, and forgets it. Nothing to do when nothing was
  // recorded. On failure (db::Error, or the TypeError or IndexError of a
  // value of the wrong shape) nothing is recorded and the recordings stay
  // kept.
  void commit();

 private:
  struct Recording {
    std::string collection;
    std::string name;
    std::string day;
    Value wert;
  };

  StatisticsRecorder& recorder_;
  std::vector<Recording> recordings_;
};

}  // namespace tavo::kk
