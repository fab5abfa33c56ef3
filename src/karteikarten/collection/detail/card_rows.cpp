// Card rows: the column layout of the card table and the conversion of a
// CardRecord to and from one row, both made from the record's field tables.
#include "karteikarten/collection/detail/card_rows.hpp"

#include <cmath>
#include <cstddef>
#include <optional>
#include <tuple>
#include <type_traits>
#include <variant>

#include "value/errors.hpp"
#include "value/json_codec.hpp"

namespace tavo::kk::detail {
namespace {

constexpr std::string_view due_done = "done";

// One SQL value, as bound to a parameter.
using SqlValue = std::variant<std::nullptr_t, std::int64_t, double, std::string>;

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
  bool null() const { return statement_.column_is_null(column_); }
  std::int64_t integer() { return statement_.column_int64(column_++); }
  double real() { return statement_.column_double(column_++); }
  std::string text() { return statement_.column_text(column_++); }
  Value json() { return decode_json(statement_.column_text_view(column_++)); }

  kk::Due due() {
    switch (statement_.column_type(column_)) {
      case db::ColumnType::null: skip(); return kk::Due();
      case db::ColumnType::integer:
      case db::ColumnType::real: return kk::Due::at(real());
      default:
        if (text() == due_done) return kk::Due::done();
        throw ValueError("due must be NULL, a moment or 'done'");
    }
  }

  Value number() {
    switch (statement_.column_type(column_)) {
      case db::ColumnType::null: skip(); return None;
      case db::ColumnType::integer: return integer();
      case db::ColumnType::real: return real();
      default: return json();
    }
  }

 private:
  const db::Statement& statement_;
  int column_ = 0;
};

// ---- one column per field ----

// The declared type of a column: its affinity (none for a column that keeps
// whatever kind was bound) and whether it refuses NULL.
struct Declared {
  std::string_view affinity;
  bool not_null;
};

// How a field of type T, read as `reading` says, is kept in its column.
// Integers as INTEGER and floats as REAL, so that their kind survives; the
// lists, moments, `last_interval` and `extra` as lossless JSON text.
template <class T>
struct ColumnOf;

template <>
struct ColumnOf<kk::Learnstatus> {
  static Declared declared(kk::FieldReading) { return {"TEXT", true}; }
  static SqlValue bind(kk::Learnstatus status) { return std::string(kk::learnstatus_text(status)); }
  static kk::Learnstatus read(RowReader& row) { return kk::parse_learnstatus(row.text()); }
};

template <>
struct ColumnOf<std::int64_t> {
  static Declared declared(kk::FieldReading) { return {"INTEGER", true}; }
  static SqlValue bind(std::int64_t number) { return number; }
  static std::int64_t read(RowReader& row) { return row.integer(); }
};

template <>
struct ColumnOf<bool> {
  static Declared declared(kk::FieldReading) { return {"INTEGER", true}; }
  static SqlValue bind(bool flag) { return std::int64_t{flag}; }
  static bool read(RowReader& row) { return row.integer() != 0; }
};

template <>
struct ColumnOf<double> {
  static Declared declared(kk::FieldReading) { return {"REAL", true}; }
  static SqlValue bind(double number) { return number; }
  static double read(RowReader& row) { return row.real(); }
};

template <>
struct ColumnOf<std::string> {
  static Declared declared(kk::FieldReading) { return {"TEXT", true}; }
  static SqlValue bind(const std::string& text) { return text; }
  static std::string read(RowReader& row) { return row.text(); }
};

// NULL, a REAL moment or the text 'done'.
template <>
struct ColumnOf<kk::Due> {
  static Declared declared(kk::FieldReading) { return {"", false}; }
  static SqlValue bind(const kk::Due& due) { return due_column(due); }
  static kk::Due read(RowReader& row) { return row.due(); }
};

// A number keeps its kind in a column without declared type; any other
// value is JSON text.
template <>
struct ColumnOf<Value> {
  static bool is_number(kk::FieldReading reading) {
    return reading == kk::FieldReading::number || reading == kk::FieldReading::number_or_none;
  }
  static Declared declared(kk::FieldReading reading) {
    return is_number(reading) ? Declared{"", false} : Declared{"TEXT", true};
  }
  static SqlValue bind(const Value& value, kk::FieldReading reading) {
    return is_number(reading) ? number_column(value) : json_column(value);
  }
  static Value read(RowReader& row, kk::FieldReading reading) {
    return is_number(reading) ? row.number() : row.json();
  }
};

template <>
struct ColumnOf<DateTime> {
  static Declared declared(kk::FieldReading) { return {"TEXT", true}; }
  static SqlValue bind(const DateTime& moment) { return json_column(moment); }
  static DateTime read(RowReader& row) { return row.json().as_date_time(); }
};

template <>
struct ColumnOf<List> {
  static Declared declared(kk::FieldReading) { return {"TEXT", true}; }
  static SqlValue bind(const List& list) { return json_column(list); }
  static List read(RowReader& row) { return row.json().as_list(); }
};

template <>
struct ColumnOf<Dict> {
  static Declared declared(kk::FieldReading) { return {"TEXT", true}; }
  static SqlValue bind(const Dict& dict) { return json_column(dict); }
  static Dict read(RowReader& row) { return row.json().as_dict(); }
};

// An optional field: its value's column, with NULL when empty.
template <class T>
struct ColumnOf<std::optional<T>> {
  static Declared declared(kk::FieldReading reading) {
    return {ColumnOf<T>::declared(reading).affinity, false};
  }
  static SqlValue bind(const std::optional<T>& value) {
    if (!value) return nullptr;
    return ColumnOf<T>::bind(*value);
  }
  static std::optional<T> read(RowReader& row) {
    if (row.null()) {
      row.skip();
      return std::nullopt;
    }
    return ColumnOf<T>::read(row);
  }
};

template <class Field>
using ColumnOfField = ColumnOf<typename std::remove_cvref_t<Field>::Type>;

template <class Field>
Declared declared_type(const Field& field) {
  return ColumnOfField<Field>::declared(field.reading);
}

// Only a field holding any Value needs its reading to choose its column.
template <class Field, class Object>
SqlValue bound_value(const Field& field, const Object& object) {
  using Column = ColumnOfField<Field>;
  if constexpr (requires { Column::bind(object.*field.member, field.reading); }) {
    return Column::bind(object.*field.member, field.reading);
  } else {
    return Column::bind(object.*field.member);
  }
}

template <class Field, class Object>
void read_column(const Field& field, Object& object, RowReader& row) {
  using Column = ColumnOfField<Field>;
  if constexpr (requires { Column::read(row, field.reading); }) {
    object.*field.member = Column::read(row, field.reading);
  } else {
    object.*field.member = Column::read(row);
  }
}

// The columns that identify a card's row and place.
struct KeyColumns {
  std::string collection;
  std::string name;
  std::int64_t position;
};

constexpr auto key_columns() {
  return std::tuple{kk::field("collection", &KeyColumns::collection),
                    kk::field("name", &KeyColumns::name),
                    kk::field("position", &KeyColumns::position)};
}

// The record's columns after the key columns, in binding and reading order:
// the learning state, the session's fudge, the hand data.
constexpr auto learning_columns() {
  return std::tuple_cat(kk::learning_fields<kk::CardRecord>(),
                        kk::ordering_fields<kk::CardRecord>());
}

// The record's session values, which its map keeps (CardRecord::fudge).
struct SessionColumns {
  std::optional<std::int64_t> fudge;
};

constexpr auto session_columns() {
  return std::tuple{kk::field(kk::fudge_key, &SessionColumns::fudge)};
}

constexpr auto hand_columns() {
  return std::tuple_cat(kk::hand_fields(), std::tuple{kk::field("extra", &kk::CardRecord::extra)});
}

// The column names, each with its declared type when `with_types`.
std::string column_list(bool with_types) {
  std::string list;
  const auto add = [&](const auto& field) {
    if (!list.empty()) list += ", ";
    list += field.key;
    if (!with_types) return;
    const Declared declared = declared_type(field);
    if (!declared.affinity.empty()) (list += ' ') += declared.affinity;
    if (declared.not_null) list += " NOT NULL";
  };
  kk::for_each_field(key_columns(), add);
  kk::for_each_field(learning_columns(), add);
  kk::for_each_field(session_columns(), add);
  kk::for_each_field(hand_columns(), add);
  return list;
}

constexpr std::size_t column_count =
    std::tuple_size_v<decltype(key_columns())> + std::tuple_size_v<decltype(learning_columns())> +
    std::tuple_size_v<decltype(session_columns())> + std::tuple_size_v<decltype(hand_columns())>;

}  // namespace

const std::string& card_table_schema() {
  static const std::string sql =
      "CREATE TABLE card (" + column_list(true) + ", PRIMARY KEY (collection, name)) WITHOUT ROWID";
  return sql;
}

const std::string& upsert_card_sql() {
  static const std::string sql = [] {
    std::string parameters = "?";
    for (std::size_t i = 1; i < column_count; ++i) parameters += ", ?";
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
  const KeyColumns key{std::string(collection), std::string(name), position};
  int index = 0;
  const auto bind = [&](const auto& field, const auto& object) {
    std::visit([&](const auto& bound) { statement.bind(++index, bound); },
               bound_value(field, object));
  };
  kk::for_each_field(key_columns(), [&](const auto& field) { bind(field, key); });
  const SessionColumns session{record.fudge()};
  kk::for_each_field(learning_columns(), [&](const auto& field) { bind(field, record); });
  kk::for_each_field(session_columns(), [&](const auto& field) { bind(field, session); });
  kk::for_each_field(hand_columns(), [&](const auto& field) { bind(field, record); });
}

StoredCard read_card_row(const db::Statement& statement) {
  RowReader row(statement);
  KeyColumns key;
  auto stored = std::make_shared<kk::CardRecord>();
  kk::CardRecord& record = *stored;
  kk::for_each_field(key_columns(), [&](const auto& field) { read_column(field, key, row); });
  SessionColumns session;
  kk::for_each_field(learning_columns(),
                     [&](const auto& field) { read_column(field, record, row); });
  kk::for_each_field(session_columns(),
                     [&](const auto& field) { read_column(field, session, row); });
  kk::for_each_field(hand_columns(), [&](const auto& field) { read_column(field, record, row); });
  record.set_fudge(session.fudge);
  return {.name = std::move(key.name), .position = key.position, .record = std::move(stored)};
}

}  // namespace tavo::kk::detail
