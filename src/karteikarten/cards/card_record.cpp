// Conversion of card records to and from the host's card data mapping, their
// fingerprint and their deep copy.
#include "karteikarten/cards/card_record.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

constexpr std::string_view learnstatus_names[] = {"learning", "learned", "relearning"};

// The due moment that `value` stands for, or nullopt when it stands for none.
std::optional<Due> due_of(const Value& value) {
  if (value.is_none()) return Due();
  if (value.is_int() || value.is_float()) return Due::at(value.as_float());
  if (value.is_text() && value.as_text() == "done") return Due::done();
  return std::nullopt;
}

// ---- reading the mapping ----

// One entry of the card data mapping, read as the kind its key requires.
// Each accessor throws TypeError naming the key when the kind is wrong.
class Field {
 public:
  Field(std::string_view key, const Value& value) : key_(key), value_(value) {}

  const Value& value() const { return value_; }

  std::string text() const {
    if (!value_.is_text()) wrong_kind("str");
    return value_.as_text();
  }
  std::int64_t integer() const {
    if (!value_.is_int()) wrong_kind("int");
    return value_.as_int();
  }
  // None (a card made new again), or else a number.
  Value optional_number() const { return value_.is_none() ? value_ : number(); }
  // An int or a float, kept as it is.
  Value number() const {
    if (!value_.is_int() && !value_.is_float()) wrong_kind("int or float");
    return value_;
  }
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
    const std::optional<Due> due = due_of(value_);
    if (!due) wrong_kind("None, a number or 'done'");
    return *due;
  }

  // None as nullopt, anything else as `read` reads it.
  template <class T>
  std::optional<T> optional(T (Field::*read)() const) const {
    if (value_.is_none()) return std::nullopt;
    return (this->*read)();
  }

 private:
  [[noreturn]] void wrong_kind(const char* expected) const {
    throw TypeError("card data '" + std::string(key_) + "' must be " + expected + ", got " +
                    type_name(value_));
  }

  std::string_view key_;
  const Value& value_;
};

using FieldReader = void (*)(const Field&, CardRecord&);

// How each known key is stored in a record.
const std::unordered_map<std::string_view, FieldReader>& field_readers() {
  static const std::unordered_map<std::string_view, FieldReader> readers = {
      {"fragetext", [](const Field& f, CardRecord& r) { r.fragetext = f.text(); }},
      {"antworttext", [](const Field& f, CardRecord& r) { r.antworttext = f.text(); }},
      {"nur_reizung",
       [](const Field& f, CardRecord& r) { r.nur_reizung = f.value() == Value(true); }},
      {"learnstatus",
       [](const Field& f, CardRecord& r) { r.learnstatus = parse_learnstatus(f.text()); }},
      {"reps", [](const Field& f, CardRecord& r) { r.reps = f.integer(); }},
      {"lapses", [](const Field& f, CardRecord& r) { r.lapses = f.integer(); }},
      {"due", [](const Field& f, CardRecord& r) { r.due = f.due(); }},
      {"ease_factor", [](const Field& f, CardRecord& r) { r.ease_factor = f.number(); }},
      {"steps_index", [](const Field& f, CardRecord& r) { r.steps_index = f.integer(); }},
      {"interval", [](const Field& f, CardRecord& r) { r.interval = f.optional_number(); }},
      {"zuletzt_vergessen",
       [](const Field& f, CardRecord& r) { r.zuletzt_vergessen = f.optional(&Field::seconds); }},
      {"faellig_erstes_mal",
       [](const Field& f, CardRecord& r) { r.faellig_erstes_mal = f.optional(&Field::date_time); }},
      {"last_interval_no_lapse",
       [](const Field& f, CardRecord& r) { r.last_interval_no_lapse = f.list(); }},
      {"last_interval", [](const Field& f, CardRecord& r) { r.last_interval = f.value(); }},
      {"beantwortungszeiten",
       [](const Field& f, CardRecord& r) { r.beantwortungszeiten = f.list(); }},
      {"karte_ist_neu", [](const Field& f, CardRecord& r) { r.karte_ist_neu = f.boolean(); }},
      {"letzte_antwort",
       [](const Field& f, CardRecord& r) { r.letzte_antwort = f.optional(&Field::text); }},
      {"permanent_fudge_neu",
       [](const Field& f, CardRecord& r) { r.permanent_fudge_neu = f.optional(&Field::integer); }},
      {"permanent_fudge_wdh",
       [](const Field& f, CardRecord& r) { r.permanent_fudge_wdh = f.optional(&Field::integer); }},
      {"fudge", [](const Field& f, CardRecord& r) { r.fudge = f.optional(&Field::integer); }},
  };
  return readers;
}

// ---- writing the mapping ----

template <class T>
void set_if_present(const Dict& data, std::string_view key, const std::optional<T>& value) {
  if (value) data.set(Value(key), Value(*value));
}

template <class T>
Value or_none(const std::optional<T>& value) {
  return value ? Value(*value) : Value(None);
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
  void add(const std::optional<T>& value) {
    add(static_cast<std::uint64_t>(value.has_value()));
    if (value) add_field(*value);
  }
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

std::string_view learnstatus_text(Learnstatus status) {
  return learnstatus_names[static_cast<std::size_t>(status)];
}

Learnstatus parse_learnstatus(std::string_view text) {
  for (std::size_t i = 0; i < std::size(learnstatus_names); ++i) {
    if (learnstatus_names[i] == text) return static_cast<Learnstatus>(i);
  }
  throw ValueError("unknown learnstatus " + repr(Value(text)));
}

Due Due::from_value(const Value& value) {
  const std::optional<Due> due = due_of(value);
  if (!due) {
    throw TypeError(std::string("due must be None, a number or 'done', got ") + type_name(value));
  }
  return *due;
}

double Due::seconds() const {
  if (!is_moment()) {
    throw TypeError(std::string("due has no moment, it is ") + (is_done() ? "'done'" : "None"));
  }
  return seconds_;
}

Value Due::to_value() const {
  switch (kind_) {
    case Kind::none: return None;
    case Kind::moment: return seconds_;
    case Kind::done: return "done";
  }
  return None;
}

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
    reader->second(Field(key.as_text(), value), record);
  }
}

Value card_data_item(const CardRecord& record, const Value& key) {
  return card_record_to_value(record).at(key);
}

Dict card_record_to_value(const CardRecord& record) {
  Dict data;
  set_if_present(data, "fragetext", record.fragetext);
  set_if_present(data, "antworttext", record.antworttext);
  set_if_present(data, "nur_reizung", record.nur_reizung);
  data.set("learnstatus", learnstatus_text(record.learnstatus));
  data.set("reps", record.reps);
  data.set("lapses", record.lapses);
  data.set("due", record.due.to_value());
  data.set("ease_factor", record.ease_factor);
  data.set("steps_index", record.steps_index);
  data.set("interval", record.interval);
  data.set("zuletzt_vergessen", or_none(record.zuletzt_vergessen));
  data.set("faellig_erstes_mal", or_none(record.faellig_erstes_mal));
  data.set("last_interval_no_lapse", record.last_interval_no_lapse);
  data.set("last_interval", record.last_interval);
  data.set("beantwortungszeiten", record.beantwortungszeiten);
  data.set("karte_ist_neu", record.karte_ist_neu);
  data.set("letzte_antwort", or_none(record.letzte_antwort));
  set_if_present(data, "permanent_fudge_neu", record.permanent_fudge_neu);
  set_if_present(data, "permanent_fudge_wdh", record.permanent_fudge_wdh);
  set_if_present(data, "fudge", record.fudge);
  for (const auto& [key, value] : record.extra) data.set(key, value);
  return data;
}

std::uint64_t stored_fingerprint(const CardRecord& record) {
  Digest digest;
  digest.add(record.fragetext);
  digest.add(record.antworttext);
  digest.add(record.nur_reizung);
  digest.add_field(static_cast<std::int64_t>(record.learnstatus));
  digest.add_field(record.reps);
  digest.add_field(record.lapses);
  digest.add_field(record.due);
  digest.add_field(record.ease_factor);
  digest.add_field(record.steps_index);
  digest.add_field(record.interval);
  digest.add(record.zuletzt_vergessen);
  digest.add(record.faellig_erstes_mal);
  digest.add_field(record.last_interval_no_lapse);
  digest.add_field(record.last_interval);
  digest.add_field(record.beantwortungszeiten);
  digest.add_field(record.karte_ist_neu);
  digest.add(record.letzte_antwort);
  digest.add(record.permanent_fudge_neu);
  digest.add(record.permanent_fudge_wdh);
  digest.add_field(record.extra);
  return digest.finish();
}

CardRecord deep_copy(const CardRecord& record) {
  // One copy of everything shared, so that a list reached through two
  // fields stays one list in the copy.
  const Tuple copied = deep_copy(Value(Tuple{record.last_interval_no_lapse, record.last_interval,
                                             record.beantwortungszeiten, record.extra}))
                           .as_tuple();
  CardRecord copy = record;
  copy.last_interval_no_lapse = copied.at(0).as_list();
  copy.last_interval = copied.at(1);
  copy.beantwortungszeiten = copied.at(2).as_list();
  copy.extra = copied.at(3).as_dict();
  return copy;
}

}  // namespace tavo::kk
