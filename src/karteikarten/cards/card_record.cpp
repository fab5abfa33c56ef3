// Conversion of card records to and from the host's card data mapping, their
// fingerprint and their deep copy, all walking the record's field tables.
#include "karteikarten/cards/card_record.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "karteikarten/cards/joint_copy.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

// ---- reading the mapping ----

// One entry of the card data mapping, read as the kind its key requires.
// Each accessor throws TypeError naming the key when the kind is wrong.
class DataEntry {
 public:
  DataEntry(std::string_view key, const Value& value) : key_(key), value_(value) {}

  const Value& value() const { return value_; }

  std::string text() const {
    if (!value_.is_text()) wrong_kind("str");
    return value_.as_text();
  }
  std::int64_t integer() const {
    if (!value_.is_int()) wrong_kind("int");
    return value_.as_int();
  }
  // An int or a float, kept as it is.
  Value number() const {
    if (!value_.is_int() && !value_.is_float()) wrong_kind("int or float");
    return value_;
  }
  // None (a card made new again), or else a number.
  Value optional_number() const { return value_.is_none() ? value_ : number(); }
  double seconds() const { return number().as_float(); }
  bool boolean() const {
    if (!value_.is_bool()) wrong_kind("bool");
    return value_.as_bool();
  }
  List list() const {
    if (!value_.is_list()) wrong_kind("list");
    return value_.as_list();
  }
  DateTime date_time() const {
    if (!value_.is_date_time()) wrong_kind("datetime.datetime");
    return value_.as_date_time();
  }
  Due due() const {
    const std::optional<Due> due = Due::of_value(value_);
    if (!due) wrong_kind("None, a number or 'done'");
    return *due;
  }

 private:
  [[noreturn]] void wrong_kind(const char* expected) const {
    throw TypeError("card data '" + std::string(key_) + "' must be " + expected + ", got " +
                    type_name(value_));
  }

  std::string_view key_;
  const Value& value_;
};

// The value of `entry` for a field of type T read as `reading` says.
template <class T>
T read_entry(const DataEntry& entry, FieldReading reading) {
  if constexpr (std::is_same_v<T, Learnstatus>) {
    return parse_learnstatus(entry.text());
  } else if constexpr (std::is_same_v<T, std::int64_t>) {
    return entry.integer();
  } else if constexpr (std::is_same_v<T, Due>) {
    return entry.due();
  } else if constexpr (std::is_same_v<T, bool>) {
    return entry.boolean();
  } else if constexpr (std::is_same_v<T, double>) {
    return entry.seconds();
  } else if constexpr (std::is_same_v<T, std::string>) {
    return entry.text();
  } else if constexpr (std::is_same_v<T, DateTime>) {
    return entry.date_time();
  } else if constexpr (std::is_same_v<T, List>) {
    return entry.list();
  } else if constexpr (std::is_same_v<T, Value>) {
    switch (reading) {
      case FieldReading::number: return entry.number();
      case FieldReading::number_or_none: return entry.optional_number();
      default: return entry.value();
    }
  } else {
    using Held = typename T::value_type;
    if constexpr (std::is_same_v<Held, bool>) {
      if (reading == FieldReading::exactly_true) return entry.value() == Value(true);
    }
    if (entry.value().is_none()) return std::nullopt;
    return read_entry<Held>(entry, reading);
  }
}

using FieldReader = std::function<void(const DataEntry&, CardRecord&)>;

// How each known key is stored in a record.
const std::unordered_map<std::string_view, FieldReader>& field_readers() {
  static const std::unordered_map<std::string_view, FieldReader> readers = [] {
    std::unordered_map<std::string_view, FieldReader> by_key;
    for_each_field(record_fields(), [&](const auto& field) {
      using T = typename std::remove_cvref_t<decltype(field)>::Type;
      by_key.emplace(field.key, [field](const DataEntry& entry, CardRecord& record) {
        record.*field.member = read_entry<T>(entry, field.reading);
      });
    });
    by_key.emplace(fudge_key, [](const DataEntry& entry, CardRecord& record) {
      record.set_fudge(read_entry<std::optional<std::int64_t>>(entry, FieldReading::by_type));
    });
    return by_key;
  }();
  return readers;
}

// ---- writing the mapping ----

template <class T>
Value host_value(const T& member) {
  return AttributeKind<T>::to_value(member);
}

// Sets the key of every field of `table`, an empty one to None.
template <class Table>
void put_fields(const Dict& data, const CardRecord& record, const Table& table) {
  for_each_field(table, [&](const auto& field) {
    data.set(Value(field.key), host_value(record.*field.member));
  });
}

// Sets the key of every field of `table` that holds a value.
template <class Table>
void put_set_fields(const Dict& data, const CardRecord& record, const Table& table) {
  for_each_field(table, [&](const auto& field) {
    if ((record.*field.member).has_value()) {
      data.set(Value(field.key), host_value(record.*field.member));
    }
  });
}

// ---- fingerprint ----

// A 64-bit FNV-1a digest with a final avalanche, fed field by field. Every
// value is fed with its kind and, for texts and containers, its length, so
// that different contents never feed the same bytes.
class Digest {
 public:
  // Mixes in one word: a multiply and a rotation, so that both the value
  // and the order of the words count.
  void add(std::uint64_t word) { state_ = std::rotl((state_ ^ word) * 0x9e3779b97f4a7c15ULL, 29); }
  // The length, then the bytes eight at a time.
  void add(std::string_view text) {
    add(static_cast<std::uint64_t>(text.size()));
    for (std::size_t at = 0; at < text.size(); at += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + at, std::min<std::size_t>(8, text.size() - at));
      add(word);
    }
  }
  template <class T>
  void add_field(const std::optional<T>& value) {
    add(static_cast<std::uint64_t>(value.has_value()));
    if (value) add_field(*value);
  }
  void add_field(Learnstatus status) { add_field(static_cast<std::int64_t>(status)); }
  void add_field(std::int64_t number) { add(static_cast<std::uint64_t>(number)); }
  void add_field(double number) { add(std::bit_cast<std::uint64_t>(number)); }
  void add_field(bool flag) { add(static_cast<std::uint64_t>(flag)); }
  void add_field(const std::string& text) { add(std::string_view(text)); }
  void add_field(const DateTime& moment) { add_field(microseconds_of(moment)); }
  void add_field(const Value& value) { add_value(value); }
  void add_field(const List& list) {
    add(static_cast<std::uint64_t>(Value::Kind::list));
    add_container(list);
  }
  void add_field(const Dict& dict) {
    add(static_cast<std::uint64_t>(Value::Kind::dict));
    add_container(dict);
  }
  void add_field(const Due& due) {
    add(static_cast<std::uint64_t>(due.is_none() ? 0 : due.is_done() ? 1 : 2));
    if (due.is_moment()) add_field(due.seconds());
  }

  template <class Table>
  void add_fields(const CardRecord& record, const Table& table) {
    for_each_field(table, [&](const auto& field) { add_field(record.*field.member); });
  }

  std::uint64_t finish() const {
    std::uint64_t h = state_;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb3fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
  }

 private:
  static std::int64_t microseconds_of(const DateTime& moment) {
    return (moment - DateTime(1970, 1, 1)).total_microseconds();
  }

  void add_value(const Value& value) {
    add(static_cast<std::uint64_t>(value.kind()));
    switch (value.kind()) {
      case Value::Kind::none: break;
      case Value::Kind::boolean: add_field(value.as_bool()); break;
      case Value::Kind::integer: add_field(value.as_int()); break;
      case Value::Kind::floating: add_field(value.as_float()); break;
      case Value::Kind::text: add(std::string_view(value.as_text())); break;
      case Value::Kind::date_time: add_field(value.as_date_time()); break;
      case Value::Kind::tuple: add_items(value.as_tuple()); break;
      case Value::Kind::list: add_container(value.as_list()); break;
      case Value::Kind::dict: add_container(value.as_dict()); break;
    }
  }

  // A list or dict, fed as a back reference when it contains itself.
  template <class Container>
  void add_container(const Container& container) {
    if (container.empty()) {
      add(0);
      return;
    }
    const auto open = std::find(path_.begin(), path_.end(), container.identity());
    if (open != path_.end()) {
      add(static_cast<std::uint64_t>(open - path_.begin()));
      return;
    }
    path_.push_back(container.identity());
    add_items(container);
    path_.pop_back();
  }

  template <class Sequence>
  void add_items(const Sequence& items) {
    add(static_cast<std::uint64_t>(items.size()));
    for (const auto& item : items) add_item(item);
  }
  void add_item(const Value& item) { add_value(item); }
  void add_item(const Dict::Entry& entry) {
    add_value(entry.first);
    add_value(entry.second);
  }

  std::uint64_t state_ = 0xcbf29ce484222325ULL;
  // The lists and dicts being fed, outermost first.
  std::vector<const void*> path_;
};

}  // namespace

CardRecord card_record_from_value(const Dict& data) {
  CardRecord record;
  for (const auto& [key, value] : data) set_card_data_item(record, key, value);
  return record;
}

void set_card_data_item(CardRecord& record, const Value& key, const Value& value) {
  const auto& readers = field_readers();
  const auto reader = key.is_text() ? readers.find(key.as_text()) : readers.end();
  if (reader == readers.end()) {
    record.extra.set(key, value);
  } else {
    reader->second(DataEntry(key.as_text(), value), record);
  }
}

Value card_data_item(const CardRecord& record, const Value& key) {
  return card_record_to_value(record).at(key);
}

Dict card_record_to_value(const CardRecord& record) {
  Dict data;
  put_set_fields(data, record, hand_fields());
  put_fields(data, record, learning_fields<CardRecord>());
  put_set_fields(data, record, ordering_fields<CardRecord>());
  if (const std::optional<std::int64_t> fudge = record.fudge()) data.set(Value(fudge_key), *fudge);
  for (const auto& [key, value] : record.extra) data.set(key, value);
  return data;
}

Dict learning_state_to_value(const CardRecord& record) {
  Dict state;
  put_fields(state, record, learning_fields<CardRecord>());
  return deep_copy(Value(state)).as_dict();
}

void set_learning_state(CardRecord& record, const Dict& state) {
  CardRecord changed = record;
  for (const auto& [key, value] : state) set_card_data_item(changed, key, value);
  static_cast<LearningState&>(record) = static_cast<LearningState&>(changed);
}

std::uint64_t stored_fingerprint(const CardRecord& record) {
  Digest digest;
  digest.add_fields(record, hand_fields());
  digest.add_fields(record, learning_fields<CardRecord>());
  digest.add_fields(record, ordering_fields<CardRecord>());
  digest.add_field(record.extra);
  return digest.finish();
}

CardRecord deep_copy(const CardRecord& record) {
  CardRecord copy = record;
  JointCopy copies;
  copies.add_fields(copy, record_fields());
  copies.add(copy.extra);
  copies.replace_with_copies();
  return copy;
}

}  // namespace tavo::kk
