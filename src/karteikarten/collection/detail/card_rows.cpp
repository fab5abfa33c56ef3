// Card rows: the column layout of the card table and the conversion of a
// CardRecord to and from one row.
#include "karteikarten/collection/detail/card_rows.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <variant>

#include "value/errors.hpp"
#include "value/json_codec.hpp"

namespace tavo::kk::detail {
namespace {

struct Column {
  std::string_view name;
  std::string_view type;
};

// The columns in binding and reading order.
constexpr std::array<Column, 24> columns = {{
    {"collection", "TEXT NOT NULL"},
    {"name", "TEXT NOT NULL"},
    {"position", "INTEGER NOT NULL"},
    {"learnstatus", "TEXT NOT NULL"},
    {"reps", "INTEGER NOT NULL"},
    {"lapses", "INTEGER NOT NULL"},
    {"due", ""},
    {"ease_factor", ""},
    {"steps_index", "INTEGER NOT NULL"},
    {"interval", ""},
    {"zuletzt_vergessen", "REAL"},
    {"faellig_erstes_mal", "TEXT"},
    {"last_interval_no_lapse", "TEXT NOT NULL"},
    {"last_interval", "TEXT NOT NULL"},
    {"beantwortungszeiten", "TEXT NOT NULL"},
    {"karte_ist_neu", "INTEGER NOT NULL"},
    {"letzte_antwort", "TEXT"},
    {"permanent_fudge_neu", "INTEGER"},
    {"permanent_fudge_wdh", "INTEGER"},
    {"fudge", "INTEGER"},
    {"fragetext", "TEXT"},
    {"antworttext", "TEXT"},
    {"nur_reizung", "INTEGER"},
    {"extra", "TEXT NOT NULL"},
}};

constexpr std::string_view due_done = "done";

std::string column_list(bool with_types) {
  std::string list;
  for (const Column& column : columns) {
    if (!list.empty()) list += ", ";
    list += column.name;
    if (with_types && !column.type.empty()) (list += ' ') += column.type;
  }
  return list;
}

// One SQL value, as bound to a parameter.
using SqlValue = std::variant<std::nullptr_t, std::int64_t, double, std::string>;

template <typename T>
SqlValue optional_column(const std::optional<T>& value) {
  if (!value) return nullptr;
  return *value;
}

SqlValue flag_column(const std::optional<bool>& flag) {
  if (!flag) return nullptr;
  return std::int64_t{*flag};
}

SqlValue due_column(const kk::Due& due) {
  if (due.is_none()) return nullptr;
  if (due.is_done()) return std::string(due_done);
  return due.seconds();
}

// Integers as INTEGER and floats as REAL, so that their kind survives;
// anything else (and NaN, which SQLite would store as NULL) as JSON text.
SqlValue number_column(const Value& number) {
  if (number.is_none()) return nullptr;
  if (number.is_int()) return number.as_int();
  if (number.is_float() && !std::isnan(number.as_float())) return number.as_float();
  return encode_json(number);
}

SqlValue json_column(const Value& value) { return encode_json(value); }

// Reads the columns of the current row from left to right.
class RowReader {
 public:
  explicit RowReader(const db::Statement& statement) : statement_(statement) {}

  void skip() { ++column_; }
  std::int64_t integer() { return statement_.column_int64(column_++); }
  std::string text() { return statement_.column_text(column_++); }
  Value json() { return decode_json(text()); }

  bool null() const { return statement_.column_is_null(column_); }

  std::optional<std::int64_t> optional_integer() {
    if (null()) return skip_null<std::int64_t>();
    return integer();
  }
  std::optional<double> optional_real() {
    if (null()) return skip_null<double>();
    return statement_.column_double(column_++);
  }
  std::optional<std::string> optional_text() {
    if (null()) return skip_null<std::string>();
    return text();
  }
  std::optional<bool> optional_flag() {
    if (null()) return skip_null<bool>();
    return integer() != 0;
  }

  kk::Due due() {
    switch (statement_.column_type(column_)) {
      case db::ColumnType::null: skip(); return kk::Due();
      case db::ColumnType::integer:
      case db::ColumnType::real: return kk::Due::at(*optional_real());
      default:
        if (text() == due_done) return kk::Due::done();
        throw ValueError("due must be NULL, a moment or 'done'");
    }
  }

  Value number() {
    switch (statement_.column_type(column_)) {
      case db::ColumnType::null: skip(); return None;
      case db::ColumnType::integer: return integer();
      case db::ColumnType::real: return *optional_real();
      default: return json();
    }
  }

 private:
  template <typename T>
  std::optional<T> skip_null() {
    skip();
    return std::nullopt;
  }

  const db::Statement& statement_;
  int column_ = 0;
};

}  // namespace

const std::string& card_table_schema() {
  static const std::string sql =
      "CREATE TABLE card (" + column_list(true) + ", PRIMARY KEY (collection, name)) WITHOUT ROWID";
  return sql;
}

const std::string& upsert_card_sql() {
  static const std::string sql = [] {
    std::string parameters = "?";
    for (std::size_t i = 1; i < columns.size(); ++i) parameters += ", ?";
    return "INSERT OR REPLACE INTO card (" + column_list(false) + ") VALUES (" + parameters + ")";
  }();
  return sql;
}

const std::string& select_cards_sql() {
  static const std::string sql = "SELECT " + column_list(false) + " FROM card WHERE collection = ?";
  return sql;
}

const std::string& select_card_sql() {
  static const std::string sql = select_cards_sql() + " AND name = ?";
  return sql;
}

void bind_card_row(db::Statement& statement, std::string_view collection, std::string_view name,
                   std::int64_t position, const kk::CardRecord& record) {
  const std::array<SqlValue, columns.size()> row = {
      std::string(collection),
      std::string(name),
      position,
      std::string(kk::learnstatus_text(record.learnstatus)),
      record.reps,
      record.lapses,
      due_column(record.due),
      number_column(record.ease_factor),
      record.steps_index,
      number_column(record.interval),
      optional_column(record.zuletzt_vergessen),
      record.faellig_erstes_mal ? json_column(*record.faellig_erstes_mal) : nullptr,
      json_column(record.last_interval_no_lapse),
      json_column(record.last_interval),
      json_column(record.beantwortungszeiten),
      std::int64_t{record.karte_ist_neu},
      optional_column(record.letzte_antwort),
      optional_column(record.permanent_fudge_neu),
      optional_column(record.permanent_fudge_wdh),
      optional_column(record.fudge),
      optional_column(record.fragetext),
      optional_column(record.antworttext),
      flag_column(record.nur_reizung),
      json_column(record.extra),
  };
  int index = 0;
  for (const SqlValue& value : row) {
    std::visit([&](const auto& bound) { statement.bind(++index, bound); }, value);
  }
}

StoredCard read_card_row(const db::Statement& statement) {
  RowReader row(statement);
  row.skip();
  StoredCard card{.name = row.text(), .position = row.integer(), .record = {}};
  kk::CardRecord& record = card.record;
  record.learnstatus = kk::parse_learnstatus(row.text());
  record.reps = row.integer();
  record.lapses = row.integer();
  record.due = row.due();
  record.ease_factor = row.number();
  record.steps_index = row.integer();
  record.interval = row.number();
  record.zuletzt_vergessen = row.optional_real();
  const std::optional<std::string> faellig_erstes_mal = row.optional_text();
  if (faellig_erstes_mal)
    record.faellig_erstes_mal = decode_json(*faellig_erstes_mal).as_date_time();
  record.last_interval_no_lapse = row.json().as_list();
  record.last_interval = row.json();
  record.beantwortungszeiten = row.json().as_list();
  record.karte_ist_neu = row.integer() != 0;
  record.letzte_antwort = row.optional_text();
  record.permanent_fudge_neu = row.optional_integer();
  record.permanent_fudge_wdh = row.optional_integer();
  record.fudge = row.optional_integer();
  record.fragetext = row.optional_text();
  record.antworttext = row.optional_text();
  record.nur_reizung = row.optional_flag();
  record.extra = row.json().as_dict();
  return card;
}

}  // namespace tavo::kk::detail
