// Dynamic data shaped by the host: None, bool, integer, float, text, list,
// tuple, dict and date-time, with the host language's semantics.
//
// `List` and `Dict` are handles: copying one shares the same items, as two
// names for one host object do, and `deep_copy` makes an independent copy.
// `Tuple` is immutable, so sharing it is never observable. `Dict` keeps its
// entries in insertion order and takes any hashable value as a key.
//
// Equality and ordering:
//   * bool, integer and float compare by numeric value (True == 1 == 1.0),
//     and equal numbers hash alike, so they are one dictionary key;
//   * values of different kinds order None < numbers < DateTime < Dict <
//     List < text < Tuple (None and numbers first, the rest by the host's type
//     name);
//   * lists and tuples compare item by item, texts by their bytes, dicts by
//     size and then by their entries sorted by key (equal dicts hold equal
//     entries in any order);
//   * NaN equals itself and orders after every other number, so the order
//     is total.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "value/date_time.hpp"

namespace tavo {

class Value;

// The host's None.
struct NoneType {
  friend constexpr bool operator==(NoneType, NoneType) { return true; }
};
inline constexpr NoneType None{};

namespace detail {
struct DictData;
}

// A mutable sequence shared by reference.
//
// An empty list takes no memory of its own until it is changed, copied or
// asked for its identity: a copy of the handle first gives it its items, so
// that both handles refer to one list, as they always do.
class List {
 public:
  List() = default;
  List(std::initializer_list<Value> items);
  explicit List(std::vector<Value> items);
  List(const List& other);
  List(List&& other) noexcept = default;
  List& operator=(const List& other);
  List& operator=(List&& other) noexcept = default;
  ~List() = default;

  std::size_t size() const;
  bool empty() const;
  // Negative indexes count from the end; IndexError when out of range.
  Value& at(std::int64_t index) const;
  void append(Value item) const;
  void insert(std::int64_t index, Value item) const;
  // Removes and returns the item at `index` (the last by default).
  Value pop(std::int64_t index = -1) const;
  // Removes the first item equal to `item`; ValueError when there is none.
  void remove(const Value& item) const;
  bool contains(const Value& item) const;
  void clear() const;

  std::vector<Value>& items() const { return shared_items(); }
  std::vector<Value>::iterator begin() const;
  std::vector<Value>::iterator end() const;
  // True when both handles refer to the same list.
  bool same(const List& other) const {
    return this == &other || (items_ != nullptr && items_ == other.items_);
  }
  // The address of the shared items: equal for handles of one list.
  const void* identity() const { return &shared_items(); }

 private:
  // The items, made when the list has none of its own yet.
  std::vector<Value>& shared_items() const;

  mutable std::shared_ptr<std::vector<Value>> items_;
};

// An immutable sequence.
class Tuple {
 public:
  Tuple();
  Tuple(std::initializer_list<Value> items);
  explicit Tuple(std::vector<Value> items);

  std::size_t size() const;
  bool empty() const;
  // Negative indexes count from the end; IndexError when out of range.
  const Value& at(std::int64_t index) const;
  const std::vector<Value>& items() const { return *items_; }
  std::vector<Value>::const_iterator begin() const;
  std::vector<Value>::const_iterator end() const;

 private:
  std::shared_ptr<const std::vector<Value>> items_;
};

// An insertion-ordered mapping shared by reference. Keys must be hashable:
// every kind but List and Dict (a Tuple only when its items are hashable);
// an unhashable key throws TypeError.
//
// Like a List, an empty dict takes no memory of its own until it is
// changed, copied or asked for its identity.
class Dict {
 public:
  using Entry = std::pair<Value, Value>;

  Dict() = default;
  Dict(std::initializer_list<Entry> entries);
  Dict(const Dict& other);
  Dict(Dict&& other) noexcept = default;
  Dict& operator=(const Dict& other);
  Dict& operator=(Dict&& other) noexcept = default;
  ~Dict() = default;

  std::size_t size() const;
  bool empty() const;
  bool contains(const Value& key) const;
  // The value under `key`; KeyError (message: the key's repr) when absent.
  Value& at(const Value& key) const;
  // The value under `key`, or nullptr when absent.
  Value* find(const Value& key) const;
  // The value under `key`, or `fallback` when absent.
  Value get(const Value& key, const Value& fallback) const;
  Value get(const Value& key) const;
  // Inserts or replaces; a replaced entry keeps its position.
  void set(Value key, Value value) const;
  // The value under `key`, inserting `fallback` first when absent.
  Value& setdefault(const Value& key, const Value& fallback) const;
  // Removes the entry; KeyError when absent.
  void erase(const Value& key) const;
  // Removes the entry and returns its value, or `fallback` when absent.
  Value pop(const Value& key, const Value& fallback) const;
  void clear() const;

  std::vector<Value> keys() const;
  const std::vector<Entry>& entries() const;
  std::vector<Entry>::const_iterator begin() const;
  std::vector<Entry>::const_iterator end() const;
  // True when both handles refer to the same dict.
  bool same(const Dict& other) const {
    return this == &other || (data_ != nullptr && data_ == other.data_);
  }
  // The address of the shared entries: equal for handles of one dict.
  const void* identity() const { return &shared_data(); }

 private:
  // The entries, made when the dict has none of its own yet.
  detail::DictData& shared_data() const;
  // The entries to read: the dict's own, or none.
  const detail::DictData& readable_data() const;

  mutable std::shared_ptr<detail::DictData> data_;
};

template <class T>
concept plain_integer = std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                        !std::is_same_v<T, char> && !std::is_same_v<T, char8_t>;

// One dynamic value. Cheap to copy: lists and dicts are shared, and so is
// text, which never changes once made; a Value is three words.
class Value {
 public:
  enum class Kind { none, boolean, integer, floating, text, list, tuple, dict, date_time };
  // Text is held behind a pointer so that the variant is no larger than a
  // shared handle; most values in a collection are numbers and lists.
  using Text = std::shared_ptr<const std::string>;
  using Storage =
      std::variant<NoneType, bool, std::int64_t, double, Text, List, Tuple, Dict, DateTime>;

  Value() = default;
  Value(NoneType) {}
  Value(bool flag) : storage_(flag) {}
  template <plain_integer T>
  Value(T number) : storage_(static_cast<std::int64_t>(number)) {}
  Value(double number) : storage_(number) {}
  Value(const char* text) : storage_(std::make_shared<const std::string>(text)) {}
  Value(std::string_view text) : storage_(std::make_shared<const std::string>(text)) {}
  Value(std::string text) : storage_(std::make_shared<const std::string>(std::move(text))) {}
  Value(List list) : storage_(std::move(list)) {}
  Value(Tuple tuple) : storage_(std::move(tuple)) {}
  Value(Dict dict) : storage_(std::move(dict)) {}
  Value(DateTime moment) : storage_(moment) {}

  Kind kind() const { return static_cast<Kind>(storage_.index()); }
  const Storage& storage() const { return storage_; }

  bool is_none() const { return kind() == Kind::none; }
  bool is_bool() const { return kind() == Kind::boolean; }
  bool is_int() const { return kind() == Kind::integer; }
  bool is_float() const { return kind() == Kind::floating; }
  // bool, integer or float.
  bool is_number() const;
  bool is_text() const { return kind() == Kind::text; }
  bool is_list() const { return kind() == Kind::list; }
  bool is_tuple() const { return kind() == Kind::tuple; }
  bool is_dict() const { return kind() == Kind::dict; }
  bool is_date_time() const { return kind() == Kind::date_time; }

  // Typed access; each throws TypeError naming the expected and actual kind.
  bool as_bool() const;
  // An integer, or a bool as 0 or 1.
  std::int64_t as_int() const;
  // Any number, converted to double.
  double as_float() const;
  const std::string& as_text() const;
  // A handle of the value's list or dict. An expiring value hands over its
  // own, so that an empty one is not given memory only to be shared.
  List as_list() const&;
  List as_list() &&;
  const Tuple& as_tuple() const;
  Dict as_dict() const&;
  Dict as_dict() &&;
  const DateTime& as_date_time() const;

  // The host's truthiness: None, False, 0, 0.0 and empty containers are
  // false; every DateTime is true.
  bool truthy() const;

  // TypeError ("unhashable type: 'list'") for lists, dicts and tuples that
  // hold them.
  std::size_t hash() const;

  friend bool operator==(const Value& a, const Value& b);
  friend std::weak_ordering operator<=>(const Value& a, const Value& b);

 private:
  Storage storage_;
};

// The host's type name: "NoneType", "bool", "int", "float", "str", "list",
// "tuple", "dict" or "datetime.datetime".
const char* type_name(const Value& value);

// An independent copy: nested lists and dicts are copied too, and a list or
// dict reached twice is copied once, so shared structure stays shared.
Value deep_copy(const Value& value);

struct ValueHash {
  std::size_t operator()(const Value& value) const { return value.hash(); }
};

}  // namespace tavo
