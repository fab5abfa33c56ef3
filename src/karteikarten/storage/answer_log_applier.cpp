#include "karteikarten/storage/answer_log_applier.hpp"

#include <filesystem>
#include <limits>
#include <string>

#include "db/error.hpp"
#include "db/transaction.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "value/errors.hpp"
#include "value/quoted.hpp"

namespace tavo::kk {
namespace {

void apply_row(DayStatisticsStore& store, const AnswerLogRow& row) {
  if (row.undoes) {
    store.take_back_answer(*row.undoes);
  } else {
    store.apply_answer(row.seq, row.answer.day, row.answer.recordings);
  }
}

}  // namespace

std::size_t apply_answer_log(platform::Environment& env) {
  const std::filesystem::path statistics_path = day_statistics_path(env);
  const PickleDump dump(env);
  if (!std::filesystem::exists(statistics_path) &&
      dump.answer_log_after(std::numeric_limits<std::int64_t>::max()).last_seq == 0) {
    return 0;
  }
  DayStatisticsStore store = DayStatisticsStore::open_for_recording(statistics_path);
  // The mark is read under the write lock, so that another process cannot
  // apply the same rows meanwhile.
  db::Transaction transaction(store.connection());
  const std::int64_t applied = store.applied_log_seq();
  const AnswerLogTail tail = dump.answer_log_after(applied);
  if (tail.last_seq == applied) return 0;
  for (const AnswerLogRow& row : tail.rows) {
    try {
      apply_row(store, row);
    } catch (const tavo::Error& error) {
      throw db::Error("row " + std::to_string(row.seq) + " of the answer log in " +
                          quoted(dump.collections_path()) + " cannot be applied to " +
                          quoted(statistics_path) + ": " + error.what(),
                      SQLITE_CORRUPT, dump.collections_path());
    }
  }
  store.set_applied_log_seq(tail.last_seq);
  transaction.commit();
  return tail.rows.size();
}

}  // namespace tavo::kk
