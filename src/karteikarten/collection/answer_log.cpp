#include "karteikarten/collection/answer_log.hpp"

#include <sqlite3.h>

#include <algorithm>

#include "db/error.hpp"
#include "db/statement.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "value/errors.hpp"
#include "value/json_codec.hpp"
#include "value/quoted.hpp"

namespace tavo::kk {
namespace {

// The JSON columns hold values in the codec's lossless form; `seconds` and
// `interval` too, so that an integer stays an integer and "done" a text.
constexpr const char* row_columns =
    "seq, undoes, collection, card, moment, day, response, seconds, interval, state_after, "
    "state_way_back, metadata_way_back, recordings";

std::string select_rows(const std::string& condition) {
  return std::string("SELECT ") + row_columns + " FROM answer_log WHERE " + condition;
}

Value json_column(const db::Statement& statement, int column) {
  if (statement.column_is_null(column)) return None;
  return decode_json(statement.column_text(column));
}

Dict dict_column(const db::Statement& statement, int column) {
  const Value value = json_column(statement, column);
  return value.is_none() ? Dict() : value.as_dict();
}

AnswerLogRow read_row(db::Connection& connection, const db::Statement& statement) {
  AnswerLogRow row;
  row.seq = statement.column_int64(0);
  try {
    if (!statement.column_is_null(1)) row.undoes = statement.column_int64(1);
    LoggedAnswer& answer = row.answer;
    answer.collection = statement.column_text(2);
    answer.card = statement.column_text(3);
    answer.moment = statement.column_double(4);
    answer.day = statement.column_text(5);
    if (!statement.column_is_null(6)) answer.response = statement.column_text(6);
    answer.seconds = json_column(statement, 7);
    answer.interval = json_column(statement, 8);
    answer.state_after = dict_column(statement, 9);
    answer.state_before = went_back(answer.state_after, dict_column(statement, 10));
    answer.metadata_way_back = dict_column(statement, 11);
    const Value recordings = json_column(statement, 12);
    if (!recordings.is_none()) answer.recordings = recordings.as_list();
  } catch (const tavo::Error& error) {
    throw db::Error("damaged answer log in " + quoted(connection.path()) + ": row " +
                        std::to_string(row.seq) + ": " + error.what(),
                    SQLITE_CORRUPT, connection.path());
  }
  return row;
}

std::vector<AnswerLogRow> read_rows(db::Connection& connection, db::Statement& statement) {
  std::vector<AnswerLogRow> rows;
  while (statement.step()) rows.push_back(read_row(connection, statement));
  return rows;
}

void bind_json(db::Statement& statement, int index, const Value& value) {
  statement.bind(index, encode_json(value));
}

Value list_way_back(const List& before, const List& after) {
  std::size_t kept = 0;
  while (kept < before.size() && kept < after.size() &&
         before.at(static_cast<std::int64_t>(kept)) == after.at(static_cast<std::int64_t>(kept))) {
    ++kept;
  }
  List tail;
  for (std::size_t index = kept; index < before.size(); ++index) {
    tail.append(deep_copy(before.at(static_cast<std::int64_t>(index))));
  }
  return List{"+", static_cast<std::int64_t>(kept), tail};
}

Value turned_back(const Value& after, const List& step) {
  const std::string kind = step.at(0).as_text();
  if (kind == "=") return deep_copy(step.at(1));
  if (kind != "+" || !after.is_list()) throw ValueError("not a way back: " + encode_json(step));
  const List& items = after.as_list();
  const std::int64_t kept = step.at(1).as_int();
  if (kept < 0 || static_cast<std::size_t>(kept) > items.size()) {
    throw ValueError("a way back keeps more items than the list has");
  }
  List before;
  for (std::int64_t index = 0; index < kept; ++index) before.append(deep_copy(items.at(index)));
  for (const Value& item : step.at(2).as_list()) before.append(deep_copy(item));
  return before;
}

// The answer time the answer appended to the card's list, or None.
Value added_answer_time(const Dict& before, const Dict& after) {
  const Value* times_before = before.find(Value("beantwortungszeiten"));
  const Value* times_after = after.find(Value("beantwortungszeiten"));
  if (times_before == nullptr || times_after == nullptr || !times_after->is_list()) return None;
  const List& list = times_after->as_list();
  const std::size_t count_before = times_before->is_list() ? times_before->as_list().size() : 0;
  return list.size() > count_before ? list.at(static_cast<std::int64_t>(list.size()) - 1) : None;
}

void insert_row(db::Statement& insert, const AnswerLogRow& row) {
  const LoggedAnswer& answer = row.answer;
  insert.bind(1, row.undoes);
  insert.bind(2, answer.collection);
  insert.bind(3, answer.card);
  insert.bind(4, answer.moment);
  insert.bind(5, answer.day);
  if (row.undoes) {
    for (int index = 6; index <= 12; ++index) insert.bind(index, nullptr);
  } else {
    insert.bind(6, answer.response);
    bind_json(insert, 7, answer.seconds);
    bind_json(insert, 8, answer.interval);
    bind_json(insert, 9, answer.state_after);
    bind_json(insert, 10, way_back(answer.state_before, answer.state_after));
    bind_json(insert, 11, answer.metadata_way_back);
    bind_json(insert, 12, answer.recordings);
  }
  insert.run();
}

}  // namespace

Dict way_back(const Dict& before, const Dict& after) {
  Dict steps;
  for (const auto& [key, value] : before) {
    const Value* now = after.find(key);
    if (now != nullptr && *now == value) continue;
    steps.set(key, now != nullptr && now->is_list() && value.is_list()
                       ? list_way_back(value.as_list(), now->as_list())
                       : Value(List{"=", deep_copy(value)}));
  }
  for (const auto& [key, value] : after) {
    if (before.find(key) == nullptr) steps.set(key, List{"-"});
  }
  return steps;
}

Dict went_back(const Dict& after, const Dict& way_back) {
  Dict before = deep_copy(Value(after)).as_dict();
  for (const auto& [key, step] : way_back) {
    const List& parts = step.as_list();
    if (parts.at(0) == Value("-")) {
      before.erase(key);
      continue;
    }
    const Value* now = after.find(key);
    before.set(key, turned_back(now == nullptr ? Value(None) : *now, parts));
  }
  return before;
}

const std::string& answer_log_schema() {
  static const std::string schema = R"sql(
CREATE TABLE answer_log (
  seq INTEGER PRIMARY KEY,
  undoes INTEGER,
  undone INTEGER NOT NULL DEFAULT 0,
  collection TEXT NOT NULL,
  card TEXT NOT NULL,
  moment REAL NOT NULL,
  day TEXT NOT NULL,
  response TEXT,
  seconds TEXT,
  interval TEXT,
  state_after TEXT,
  state_way_back TEXT,
  metadata_way_back TEXT,
  recordings TEXT
);
CREATE INDEX answer_log_by_card ON answer_log (card, seq);
CREATE INDEX answer_log_by_day ON answer_log (day, seq);
)sql";
  return schema;
}

Dict todays_metadata(const Haendesammlung& collection) {
  const std::string today = collection.datum_heute();
  Dict values;
  for (const auto& [key, days] : collection.metadata) {
    if (!days.is_dict()) continue;
    const Value* value = days.as_dict().find(Value(today));
    if (value != nullptr) values.set(key, deep_copy(*value));
  }
  return values;
}

UnsavedLogEntry begin_logged_answer(const Haendesammlung& collection, const std::string& card,
                                    const CardRecord& record, const std::string& response,
                                    double moment) {
  UnsavedLogEntry entry;
  LoggedAnswer& answer = entry.row.answer;
  answer.collection = collection.name;
  answer.card = card;
  answer.moment = moment;
  answer.day = collection.datum_heute();
  answer.response = response;
  answer.state_before = learning_state_to_value(record);
  entry.todays_metadata_before = todays_metadata(collection);
  return entry;
}

void restore_todays_metadata(Haendesammlung& collection, const LoggedAnswer& answer) {
  const Dict before = went_back(todays_metadata(collection), answer.metadata_way_back);
  for (const auto& [key, step] : answer.metadata_way_back) {
    Value* days = collection.metadata.find(key);
    const Value* value = before.find(key);
    if (value == nullptr) {
      if (days == nullptr || !days->is_dict()) continue;
      days->as_dict().erase(Value(answer.day));
      // A key the answer brought in goes with its only day.
      if (days->as_dict().size() == 0) collection.metadata.erase(key);
      continue;
    }
    if (days == nullptr || !days->is_dict()) {
      collection.metadata.set(key, Dict());
      days = collection.metadata.find(key);
    }
    days->as_dict().set(Value(answer.day), *value);
  }
}

void append_unsaved_log(db::Connection& connection, const Haendesammlung& collection,
                        const std::vector<std::string>& skipped) {
  if (collection.unsaved_log.empty()) return;
  db::Statement insert = connection.prepare(
      "INSERT INTO answer_log (undoes, collection, card, moment, day, response, seconds, "
      "interval, state_after, state_way_back, metadata_way_back, recordings) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  db::Statement mark_undone = connection.prepare("UPDATE answer_log SET undone = 1 WHERE seq = ?");
  const Dict todays_metadata_now = todays_metadata(collection);
  for (const UnsavedLogEntry& entry : collection.unsaved_log) {
    AnswerLogRow row = entry.row;
    if (row.undoes) {
      insert_row(insert, row);
      mark_undone.bind(1, *row.undoes);
      mark_undone.run();
      continue;
    }
    const CardRef record = collection.karten.find(row.answer.card);
    if (record == nullptr ||
        std::find(skipped.begin(), skipped.end(), row.answer.card) != skipped.end()) {
      continue;
    }
    LoggedAnswer& answer = row.answer;
    answer.state_after = learning_state_to_value(*record);
    answer.metadata_way_back = way_back(entry.todays_metadata_before, todays_metadata_now);
    answer.seconds = added_answer_time(answer.state_before, answer.state_after);
    insert_row(insert, row);
  }
}

std::int64_t last_log_seq(db::Connection& connection) {
  db::Statement statement = connection.prepare("SELECT coalesce(max(seq), 0) FROM answer_log");
  statement.step();
  return statement.column_int64(0);
}

std::vector<AnswerLogRow> log_rows_after(db::Connection& connection, std::int64_t seq) {
  db::Statement statement = connection.prepare(select_rows("seq > ? ORDER BY seq"));
  statement.bind(1, seq);
  return read_rows(connection, statement);
}

std::optional<AnswerLogRow> latest_answer_of_day(db::Connection& connection, const std::string& day,
                                                 const std::vector<std::string>& collections) {
  db::Statement statement = connection.prepare(
      select_rows("day = ? AND undoes IS NULL AND undone = 0 ORDER BY seq DESC"));
  statement.bind(1, day);
  while (statement.step()) {
    const std::string collection = statement.column_text(2);
    if (std::find(collections.begin(), collections.end(), collection) != collections.end()) {
      return read_row(connection, statement);
    }
  }
  return std::nullopt;
}

std::vector<AnswerLogRow> answers_to_card(db::Connection& connection, const std::string& card) {
  db::Statement statement =
      connection.prepare(select_rows("card = ? AND undoes IS NULL AND undone = 0 ORDER BY seq"));
  statement.bind(1, card);
  return read_rows(connection, statement);
}

std::vector<AnswerLogRow> kept_answers(db::Connection& connection) {
  db::Statement statement =
      connection.prepare(select_rows("undoes IS NULL AND undone = 0 ORDER BY seq"));
  return read_rows(connection, statement);
}

}  // namespace tavo::kk
