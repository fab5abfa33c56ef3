// Field tables: a struct's fields listed once, as (key, member) pairs, so
// that every conversion of the struct (the host's mapping and attributes,
// the store's rows, copies and digests) walks the same list.
//
// A table is a std::tuple of Field descriptors; for_each_field visits them
// in order. Two tables of one list over different structs (a record and a
// working card) are walked side by side with for_each_field_pair.
#pragma once

#include <cstddef>
#include <string_view>
#include <tuple>
#include <utility>

namespace tavo::kk {

// How the host's value of a field is read when the member's type alone does
// not say: a member holding any Value may be limited to numbers (with or
// without None), and a flag may be set by exactly True and cleared by
// anything else.
enum class FieldReading { by_type, number, number_or_none, any_value, exactly_true };

// One field: the host's key for it and the member that holds it.
template <class Object, class T>
struct Field {
  using Type = T;

  std::string_view key;
  T Object::*member;
  FieldReading reading = FieldReading::by_type;
};

template <class Object, class T>
constexpr Field<Object, T> field(std::string_view key, T Object::*member,
                                 FieldReading reading = FieldReading::by_type) {
  return {key, member, reading};
}

// Calls `visit(field)` for every field of `table`, in order.
template <class Table, class Visit>
constexpr void for_each_field(const Table& table, Visit&& visit) {
  std::apply([&](const auto&... fields) { (visit(fields), ...); }, table);
}

// Calls `visit(first_field, second_field)` for the fields at the same place
// of two tables of one list.
template <class FirstTable, class SecondTable, class Visit>
constexpr void for_each_field_pair(const FirstTable& first, const SecondTable& second,
                                   Visit&& visit) {
  constexpr std::size_t size = std::tuple_size_v<FirstTable>;
  static_assert(size == std::tuple_size_v<SecondTable>, "the tables list different fields");
  [&]<std::size_t... place>(std::index_sequence<place...>) {
    (visit(std::get<place>(first), std::get<place>(second)), ...);
  }
  (std::make_index_sequence<size>{});
}

}  // namespace tavo::kk
