// Containers, typed access, truthiness, equality, ordering, hashing and deep
// copy of Value.
#include "value/value.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>

#include "value/errors.hpp"

namespace tavo {
namespace detail {

// Entries in insertion order. Small dicts are searched linearly; from
// `indexed_size` entries on, a hash index maps keys to positions.
struct DictData {
  static constexpr std::size_t indexed_size = 9;

  std::vector<Dict::Entry> entries;
  std::unordered_map<Value, std::size_t, ValueHash> index;

  std::size_t position(const Value& key) const {
    if (entries.size() < indexed_size) {
      static_cast<void>(key.hash());  // rejects unhashable keys as the index would
      for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].first == key) return i;
      }
      return entries.size();
    }
    const auto found = index.find(key);
    return found == index.end() ? entries.size() : found->second;
  }

  void rebuild_index() {
    index.clear();
    if (entries.size() < indexed_size) return;
    for (std::size_t i = 0; i < entries.size(); ++i) index.emplace(entries[i].first, i);
  }

  void append(Value key, Value value) {
    entries.emplace_back(std::move(key), std::move(value));
    if (entries.size() == indexed_size) {
      rebuild_index();
    } else if (entries.size() > indexed_size) {
      index.emplace(entries.back().first, entries.size() - 1);
    }
  }

  // Moves the later entries up by one place and their index positions with
  // them, without rebuilding the index.
  void erase_at(std::size_t position) {
    if (entries.size() >= indexed_size) index.erase(entries[position].first);
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
    if (entries.size() < indexed_size) {
      index.clear();
      return;
    }
    for (std::size_t i = position; i < entries.size(); ++i) index[entries[i].first] = i;
  }
};

}  // namespace detail

// Lists hold many values: a value stays as small as a shared handle and its
// kind.
static_assert(sizeof(Value) <= 3 * sizeof(void*));

namespace {

std::size_t normalized_index(std::int64_t index, std::size_t size, const char* message) {
  const std::int64_t length = static_cast<std::int64_t>(size);
  const std::int64_t position = index < 0 ? index + length : index;
  if (position < 0 || position >= length) throw IndexError(message);
  return static_cast<std::size_t>(position);
}

[[noreturn]] void wrong_kind(const char* expected, const Value& actual) {
  throw TypeError(std::string("expected ") + expected + ", got " + type_name(actual));
}

}  // namespace

// ---- List ----

namespace {

// The items of every list that has none of its own: read, never changed.
std::vector<Value>& no_items() {
  static std::vector<Value> none;
  return none;
}

}  // namespace

List::List(std::initializer_list<Value> items)
    : items_(std::make_shared<std::vector<Value>>(items)) {}
List::List(std::vector<Value> items)
    : items_(std::make_shared<std::vector<Value>>(std::move(items))) {}
List::List(const List& other) : items_((other.shared_items(), other.items_)) {}

List& List::operator=(const List& other) {
  other.shared_items();
  items_ = other.items_;
  return *this;
}

std::vector<Value>& List::shared_items() const {
  if (items_ == nullptr) items_ = std::make_shared<std::vector<Value>>();
  return *items_;
}

std::size_t List::size() const { return items_ == nullptr ? 0 : items_->size(); }
bool List::empty() const { return size() == 0; }

Value& List::at(std::int64_t index) const {
  return (*items_)[normalized_index(index, size(), "list index out of range")];
}

void List::append(Value item) const { shared_items().push_back(std::move(item)); }

void List::insert(std::int64_t index, Value item) const {
  std::vector<Value>& items = shared_items();
  const std::int64_t length = static_cast<std::int64_t>(items.size());
  const std::int64_t position =
      std::clamp(index < 0 ? index + length : index, std::int64_t{0}, length);
  items.insert(items.begin() + position, std::move(item));
}

Value List::pop(std::int64_t index) const {
  if (empty()) throw IndexError("pop from empty list");
  const std::size_t position = normalized_index(index, items_->size(), "pop index out of range");
  Value item = std::move((*items_)[position]);
  items_->erase(items_->begin() + static_cast<std::ptrdiff_t>(position));
  return item;
}

void List::remove(const Value& item) const {
  const auto found = std::find(begin(), end(), item);
  if (found == end()) throw ValueError("list.remove(x): x not in list");
  items_->erase(found);
}

bool List::contains(const Value& item) const { return std::find(begin(), end(), item) != end(); }

void List::clear() const {
  if (items_ != nullptr) items_->clear();
}
std::vector<Value>::iterator List::begin() const {
  return items_ == nullptr ? no_items().begin() : items_->begin();
}
std::vector<Value>::iterator List::end() const {
  return items_ == nullptr ? no_items().end() : items_->end();
}

// ---- Tuple ----

Tuple::Tuple() : items_(std::make_shared<const std::vector<Value>>()) {}
Tuple::Tuple(std::initializer_list<Value> items)
    : items_(std::make_shared<const std::vector<Value>>(items)) {}
Tuple::Tuple(std::vector<Value> items)
    : items_(std::make_shared<const std::vector<Value>>(std::move(items))) {}

std::size_t Tuple::size() const { return items_->size(); }
bool Tuple::empty() const { return items_->empty(); }

const Value& Tuple::at(std::int64_t index) const {
  return (*items_)[normalized_index(index, items_->size(), "tuple index out of range")];
}

std::vector<Value>::const_iterator Tuple::begin() const { return items_->begin(); }
std::vector<Value>::const_iterator Tuple::end() const { return items_->end(); }

// ---- Dict ----

Dict::Dict(std::initializer_list<Entry> entries) {
  for (const Entry& entry : entries) set(entry.first, entry.second);
}

Dict::Dict(const Dict& other) : data_((other.shared_data(), other.data_)) {}

Dict& Dict::operator=(const Dict& other) {
  other.shared_data();
  data_ = other.data_;
  return *this;
}

detail::DictData& Dict::shared_data() const {
  if (data_ == nullptr) data_ = std::make_shared<detail::DictData>();
  return *data_;
}

const detail::DictData& Dict::readable_data() const {
  static const detail::DictData none;
  return data_ == nullptr ? none : *data_;
}

std::size_t Dict::size() const { return readable_data().entries.size(); }
bool Dict::empty() const { return size() == 0; }
bool Dict::contains(const Value& key) const { return find(key) != nullptr; }

Value* Dict::find(const Value& key) const {
  const detail::DictData& data = readable_data();
  const std::size_t position = data.position(key);
  return position == data.entries.size() ? nullptr : &data_->entries[position].second;
}

Value& Dict::at(const Value& key) const {
  Value* const found = find(key);
  if (found == nullptr) throw KeyError(key);
  return *found;
}

Value Dict::get(const Value& key, const Value& fallback) const {
  const Value* const found = find(key);
  return found == nullptr ? fallback : *found;
}

Value Dict::get(const Value& key) const { return get(key, None); }

void Dict::set(Value key, Value value) const {
  Value* const found = find(key);
  if (found != nullptr) {
    *found = std::move(value);
  } else {
    shared_data().append(std::move(key), std::move(value));
  }
}

Value& Dict::setdefault(const Value& key, const Value& fallback) const {
  Value* const found = find(key);
  if (found != nullptr) return *found;
  detail::DictData& data = shared_data();
  data.append(key, fallback);
  return data.entries.back().second;
}

void Dict::erase(const Value& key) const {
  const std::size_t position = readable_data().position(key);
  if (position == size()) throw KeyError(key);
  data_->erase_at(position);
}

Value Dict::pop(const Value& key, const Value& fallback) const {
  const std::size_t position = readable_data().position(key);
  if (position == size()) return fallback;
  Value value = std::move(data_->entries[position].second);
  data_->erase_at(position);
  return value;
}

void Dict::clear() const {
  if (data_ == nullptr) return;
  data_->entries.clear();
  data_->index.clear();
}

std::vector<Value> Dict::keys() const {
  std::vector<Value> keys;
  keys.reserve(size());
  for (const Entry& entry : *this) keys.push_back(entry.first);
  return keys;
}

const std::vector<Dict::Entry>& Dict::entries() const { return readable_data().entries; }
std::vector<Dict::Entry>::const_iterator Dict::begin() const { return entries().begin(); }
std::vector<Dict::Entry>::const_iterator Dict::end() const { return entries().end(); }

// ---- Value: typed access and truthiness ----

bool Value::is_number() const { return is_bool() || is_int() || is_float(); }

bool Value::as_bool() const {
  if (!is_bool()) wrong_kind("bool", *this);
  return std::get<bool>(storage_);
}

std::int64_t Value::as_int() const {
  if (is_bool()) return std::get<bool>(storage_) ? 1 : 0;
  if (!is_int()) wrong_kind("int", *this);
  return std::get<std::int64_t>(storage_);
}

double Value::as_float() const {
  if (is_float()) return std::get<double>(storage_);
  if (!is_number()) wrong_kind("float", *this);
  return static_cast<double>(as_int());
}

const std::string& Value::as_text() const {
  if (!is_text()) wrong_kind("str", *this);
  return *std::get<Text>(storage_);
}

List Value::as_list() const& {
  if (!is_list()) wrong_kind("list", *this);
  return std::get<List>(storage_);
}

List Value::as_list() && {
  if (!is_list()) wrong_kind("list", *this);
  return std::get<List>(std::move(storage_));
}

const Tuple& Value::as_tuple() const {
  if (!is_tuple()) wrong_kind("tuple", *this);
  return std::get<Tuple>(storage_);
}

Dict Value::as_dict() const& {
  if (!is_dict()) wrong_kind("dict", *this);
  return std::get<Dict>(storage_);
}

Dict Value::as_dict() && {
  if (!is_dict()) wrong_kind("dict", *this);
  return std::get<Dict>(std::move(storage_));
}

const DateTime& Value::as_date_time() const {
  if (!is_date_time()) wrong_kind("datetime.datetime", *this);
  return std::get<DateTime>(storage_);
}

bool Value::truthy() const {
  switch (kind()) {
    case Kind::none: return false;
    case Kind::boolean: return std::get<bool>(storage_);
    case Kind::integer: return std::get<std::int64_t>(storage_) != 0;
    case Kind::floating: return std::get<double>(storage_) != 0.0;
    case Kind::text: return !std::get<Text>(storage_)->empty();
    case Kind::list: return !std::get<List>(storage_).empty();
    case Kind::tuple: return !std::get<Tuple>(storage_).empty();
    case Kind::dict: return !std::get<Dict>(storage_).empty();
    case Kind::date_time: return true;
  }
  return false;
}

const char* type_name(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::none: return "NoneType";
    case Value::Kind::boolean: return "bool";
    case Value::Kind::integer: return "int";
    case Value::Kind::floating: return "float";
    case Value::Kind::text: return "str";
    case Value::Kind::list: return "list";
    case Value::Kind::tuple: return "tuple";
    case Value::Kind::dict: return "dict";
    case Value::Kind::date_time: return "datetime.datetime";
  }
  return "";
}

// ---- Value: ordering, equality and hashing ----

namespace {

// The position of a kind in the order across kinds.
int kind_rank(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::none: return 0;
    case Value::Kind::boolean:
    case Value::Kind::integer:
    case Value::Kind::floating: return 1;
    case Value::Kind::date_time: return 2;
    case Value::Kind::dict: return 3;
    case Value::Kind::list: return 4;
    case Value::Kind::text: return 5;
    case Value::Kind::tuple: return 6;
  }
  return 0;
}

template <class T>
std::weak_ordering order_of(const T& a, const T& b) {
  return a < b ? std::weak_ordering::less
               : (b < a ? std::weak_ordering::greater : std::weak_ordering::equivalent);
}

std::weak_ordering compare_floats(double a, double b) {
  const bool a_nan = std::isnan(a);
  const bool b_nan = std::isnan(b);
  if (a_nan || b_nan) return order_of(a_nan, b_nan);
  return order_of(a, b);
}

// Exact comparison of an integer with a float, without rounding the integer.
std::weak_ordering compare_integer_float(std::int64_t a, double b) {
  if (std::isnan(b) || b >= 9223372036854775808.0) return std::weak_ordering::less;
  if (b < -9223372036854775808.0) return std::weak_ordering::greater;
  const double whole = std::trunc(b);
  const std::int64_t whole_integer = static_cast<std::int64_t>(whole);
  if (a != whole_integer) return order_of(a, whole_integer);
  return order_of(0.0, b - whole);
}

std::weak_ordering compare_numbers(const Value& a, const Value& b) {
  if (!a.is_float() && !b.is_float()) return order_of(a.as_int(), b.as_int());
  if (a.is_float() && b.is_float()) return compare_floats(a.as_float(), b.as_float());
  if (a.is_float()) return 0 <=> compare_integer_float(b.as_int(), a.as_float());
  return compare_integer_float(a.as_int(), b.as_float());
}

template <class Sequence>
std::weak_ordering compare_sequences(const Sequence& a, const Sequence& b) {
  return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
}

std::vector<Dict::Entry> sorted_entries(const Dict& dict) {
  std::vector<Dict::Entry> entries = dict.entries();
  std::sort(entries.begin(), entries.end(),
            [](const Dict::Entry& x, const Dict::Entry& y) { return x.first < y.first; });
  return entries;
}

std::weak_ordering compare_dicts(const Dict& a, const Dict& b) {
  if (a.size() != b.size()) return order_of(a.size(), b.size());
  const auto x = sorted_entries(a);
  const auto y = sorted_entries(b);
  return std::lexicographical_compare_three_way(x.begin(), x.end(), y.begin(), y.end());
}

bool equal_dicts(const Dict& a, const Dict& b) {
  if (a.same(b)) return true;
  if (a.size() != b.size()) return false;
  for (const auto& [key, value] : a) {
    const Value* const other = b.find(key);
    if (other == nullptr || !(*other == value)) return false;
  }
  return true;
}

std::size_t combine(std::size_t seed, std::size_t hash) {
  return seed ^ (hash + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::size_t hash_float(double number) {
  if (std::isnan(number)) return 0x7ff8000000000000ULL;
  if (number == std::trunc(number) && number >= -9223372036854775808.0 &&
      number < 9223372036854775808.0) {
    return std::hash<std::int64_t>{}(static_cast<std::int64_t>(number));
  }
  return std::hash<double>{}(number);
}

}  // namespace

std::weak_ordering operator<=>(const Value& a, const Value& b) {
  const int rank_a = kind_rank(a);
  const int rank_b = kind_rank(b);
  if (rank_a != rank_b) return order_of(rank_a, rank_b);
  switch (a.kind()) {
    case Value::Kind::none: return std::weak_ordering::equivalent;
    case Value::Kind::boolean:
    case Value::Kind::integer:
    case Value::Kind::floating: return compare_numbers(a, b);
    case Value::Kind::text: return order_of(a.as_text(), b.as_text());
    case Value::Kind::list: return compare_sequences(a.as_list(), b.as_list());
    case Value::Kind::tuple: return compare_sequences(a.as_tuple(), b.as_tuple());
    case Value::Kind::dict: return compare_dicts(a.as_dict(), b.as_dict());
    case Value::Kind::date_time: return order_of(a.as_date_time(), b.as_date_time());
  }
  return std::weak_ordering::equivalent;
}

bool operator==(const Value& a, const Value& b) {
  if (a.is_dict() && b.is_dict()) return equal_dicts(a.as_dict(), b.as_dict());
  if (a.is_list() && b.is_list()) {
    const List x = a.as_list();
    const List y = b.as_list();
    return x.same(y) || std::equal(x.begin(), x.end(), y.begin(), y.end());
  }
  if (a.is_tuple() && b.is_tuple()) {
    const Tuple& x = a.as_tuple();
    const Tuple& y = b.as_tuple();
    return std::equal(x.begin(), x.end(), y.begin(), y.end());
  }
  return (a <=> b) == 0;
}

std::size_t Value::hash() const {
  switch (kind()) {
    case Kind::none: return 0x6e6f6e65ULL;
    case Kind::boolean:
    case Kind::integer: return std::hash<std::int64_t>{}(as_int());
    case Kind::floating: return hash_float(as_float());
    case Kind::text: return std::hash<std::string>{}(as_text());
    case Kind::tuple: {
      std::size_t seed = as_tuple().size();
      for (const Value& item : as_tuple()) seed = combine(seed, item.hash());
      return seed;
    }
    case Kind::date_time:
      return std::hash<std::int64_t>{}(
          (as_date_time() - DateTime(1970, 1, 1)).total_microseconds());
    case Kind::list:
    case Kind::dict: break;
  }
  throw TypeError(std::string("unhashable type: '") + type_name(*this) + "'");
}

// ---- deep copy ----

namespace {

using CopyMemo = std::unordered_map<const void*, Value>;

Value copy_with_memo(const Value& value, CopyMemo& memo) {
  if (value.is_list()) {
    const List original = value.as_list();
    if (const auto found = memo.find(original.identity()); found != memo.end())
      return found->second;
    List copy;
    memo.emplace(original.identity(), copy);
    for (const Value& item : original) copy.append(copy_with_memo(item, memo));
    return copy;
  }
  if (value.is_dict()) {
    const Dict original = value.as_dict();
    if (const auto found = memo.find(original.identity()); found != memo.end())
      return found->second;
    Dict copy;
    memo.emplace(original.identity(), copy);
    for (const auto& [key, item] : original) copy.set(key, copy_with_memo(item, memo));
    return copy;
  }
  if (value.is_tuple()) {
    std::vector<Value> items;
    items.reserve(value.as_tuple().size());
    for (const Value& item : value.as_tuple()) items.push_back(copy_with_memo(item, memo));
    return Tuple(std::move(items));
  }
  return value;
}

}  // namespace

Value deep_copy(const Value& value) {
  CopyMemo memo;
  return copy_with_memo(value, memo);
}

}  // namespace tavo
