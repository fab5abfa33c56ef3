// Bringing the day statistics store up to date from the answer log: each
// row once, a damaged row refused with the store left as it was, a log put
// back from an earlier copy, and a store of the first version.
#include "karteikarten/storage/answer_log_applier.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "db/connection.hpp"
#include "db/database_file.hpp"
#include "db/error.hpp"
#include "db/statement.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "support/test_environment.hpp"
#include "value/json_codec.hpp"
#include "value/quoted.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

constexpr const char* today = "2021-9-22";

// The collection "kk_log" of three cards, stored; its saves log answers
// as a save after an answer does.
class AnswerLogApplierTest : public ::testing::Test {
 protected:
  AnswerLogApplierTest() {
    Dict modul;
    for (int hand = 1; hand <= 3; ++hand) {
      modul.set(hand, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
    }
    sammlung_->karten = sammlung_->haendesammlung_karteikarten_info_neu_erstellen(modul, "kk_log");
    dump_.save_haendesammlung("kk_log", *sammlung_);
  }

  // Stores an answer to `card` that counted a rep and saw the card.
  void log_answer(const std::string& card) {
    CardRecord& record = sammlung_->karten.at(card).edit();
    UnsavedLogEntry entry =
        begin_logged_answer(*sammlung_, card, record, "good", environment().cf.get_now());
    entry.row.answer.recordings = List{List{"kk_log", "reps", today, 1},
                                       List{"kk_log", "heute_schon_angesehen", today, List{card}}};
    record.reps += 1;
    sammlung_->unsaved_log.push_back(std::move(entry));
    dump_.save_haendesammlung("kk_log", *sammlung_);
  }

  // The statistics store's layout and the last log row it applied.
  std::string statistics() {
    std::optional<DayStatisticsStore> store =
        DayStatisticsStore::open_for_reading(day_statistics_path(environment()));
    if (!store) return "no store";
    return repr(store->layout()) + " applied up to " + std::to_string(store->applied_log_seq());
  }

  db::Connection collections() const {
    return db::Connection(dump_.collections_path(), db::OpenMode::read_write);
  }

  platform::Environment& environment() { return test_.environment; }

  testing::TestEnvironment test_{DateTime(2021, 9, 22, 12).to_epoch_seconds()};
  const PickleDump dump_{test_.environment};
  const SammlungRef sammlung_ = std::make_shared<Haendesammlung>(
      test_.environment, std::make_shared<platform::Zeitberechnungen>(test_.environment.cf, 3), 0,
      "kk_log", 3);
};

TEST_F(AnswerLogApplierTest, EachRowIsAppliedOnceInOrder) {
  EXPECT_EQ(apply_answer_log(environment()), 0u);
  EXPECT_EQ(statistics(), "no store") << "an empty log creates no store";

  log_answer("kk_log-1");
  log_answer("kk_log-2");
  EXPECT_EQ(apply_answer_log(environment()), 2u);
  const std::string applied = statistics();
  EXPECT_EQ(applied,
            "{'kk_log': {'reps': [('2021-9-22', 2)], "
            "'2021-9-22': {'heute_schon_angesehen': ['kk_log-1', 'kk_log-2']}}} applied up to 2");
  EXPECT_EQ(apply_answer_log(environment()), 0u);
  EXPECT_EQ(statistics(), applied);

  log_answer("kk_log-3");
  EXPECT_EQ(apply_answer_log(environment()), 1u);
  EXPECT_THAT(statistics(), HasSubstr("'reps': [('2021-9-22', 3)]"));
}

TEST_F(AnswerLogApplierTest, ADamagedRowIsRefusedAndTheStatisticsStoreKeptAsItWas) {
  log_answer("kk_log-1");
  apply_answer_log(environment());
  log_answer("kk_log-2");
  const struct {
    const char* what;
    std::string column;
    std::string text;
  } damages[] = {
      {"recordings that are not JSON", "recordings", "not json"},
      {"recordings that are not a list", "recordings", "42"},
      {"a recording of three values", "recordings",
       encode_json(List{List{"kk_log", "reps", today, 1}, List{"kk_log", "reps", today}})},
      {"card names that are not a list", "recordings",
       encode_json(List{List{"kk_log", "reps", today, 1},
                        List{"kk_log", "heute_schon_angesehen", today, "kk_log-2"}})},
      {"a state that is not a mapping", "state_after", "[1, 2]"},
      {"a way back of another kind", "state_way_back", R"({"reps": ["?", 1]})"},
  };
  const std::string before = statistics();
  for (const auto& damage : damages) {
    SCOPED_TRACE(damage.what);
    {
      db::Connection store = collections();
      db::Statement update =
          store.prepare("UPDATE answer_log SET " + damage.column + " = ? WHERE seq = 2");
      update.bind(1, damage.text);
      update.run();
    }
    EXPECT_THAT([&] { apply_answer_log(environment()); },
                ThrowsMessage<db::Error>(
                    AllOf(HasSubstr(quoted(dump_.collections_path())), HasSubstr("row 2"))));
    EXPECT_EQ(statistics(), before);
  }
}

// The collections store put back from an earlier copy holds a shorter log
// than the statistics store applied: the mark moves back to its end, and
// the answers stored after it are applied.
TEST_F(AnswerLogApplierTest, ALogPutBackFromAnEarlierCopyResetsTheMark) {
  log_answer("kk_log-1");
  apply_answer_log(environment());
  const fs::path copy = dump_.collections_path().string() + ".copy";
  db::copy_database_file(dump_.collections_path(), copy);
  log_answer("kk_log-2");
  log_answer("kk_log-3");
  EXPECT_EQ(apply_answer_log(environment()), 2u);

  db::copy_database_file(copy, dump_.collections_path());
  sammlung_->stored = dump_.get_haendesammlung("kk_log").first->stored;
  EXPECT_EQ(apply_answer_log(environment()), 0u);
  EXPECT_THAT(statistics(), HasSubstr(" applied up to 1"));
  log_answer("kk_log-3");
  EXPECT_EQ(apply_answer_log(environment()), 1u);
  EXPECT_THAT(statistics(), HasSubstr("'reps': [('2021-9-22', 4)]"));
  EXPECT_THAT(statistics(), HasSubstr(" applied up to 2"));
}

TEST_F(AnswerLogApplierTest, AStatisticsStoreOfTheFirstVersionIsUpgradedKeepingItsHistory) {
  const fs::path path = day_statistics_path(environment());
  {
    DayStatisticsStore store = DayStatisticsStore::open_for_recording(path);
    store.record("kk_log", "reps", "2021-9-21", 5);
    store.record("kk_log", "heute_schon_angesehen", "2021-9-21", List{"kk_log-3"});
  }
  {
    db::Connection first_version(path, db::OpenMode::read_write);
    first_version.execute(
        "DROP TABLE log_applied; DROP TABLE answer_undo; PRAGMA user_version = 1");
  }
  const std::string history =
      "{'kk_log': {'reps': [('2021-9-21', 5)], "
      "'2021-9-21': {'heute_schon_angesehen': ['kk_log-3']}}}";
  EXPECT_EQ(repr(DayStatisticsStore::open_for_reading(path)->layout()), history);

  log_answer("kk_log-1");
  EXPECT_EQ(apply_answer_log(environment()), 1u);
  EXPECT_EQ(statistics(),
            "{'kk_log': {'reps': [('2021-9-21', 5), ('2021-9-22', 6)], "
            "'2021-9-21': {'heute_schon_angesehen': ['kk_log-3']}, "
            "'2021-9-22': {'heute_schon_angesehen': ['kk_log-1']}}} applied up to 1");
  db::Connection upgraded(path, db::OpenMode::read_only);
  db::Statement version = upgraded.prepare("PRAGMA user_version");
  version.step();
  EXPECT_EQ(version.column_int64(0), 2);
}

}  // namespace
}  // namespace tavo::kk
