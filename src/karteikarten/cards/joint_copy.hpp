// JointCopy: deep copies of the lists and dicts held in several fields, made
// in one go, so that a list reached through two fields (or through a working
// card and its record) stays one list in the copies.
//
// Register the fields of the shallow copies, then replace_with_copies()
// swaps each for its deep copy.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "karteikarten/cards/field_table.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class JointCopy {
 public:
  // Registers every field of `object` that `table` lists.
  template <class Object, class Table>
  void add_fields(Object& object, const Table& table) {
    for_each_field(table, [&](const auto& field) { add(object.*field.member); });
  }

  void add(Value& value);
  void add(List& list);
  void add(std::optional<List>& list);
  void add(Dict& dict);
  // Numbers, texts, moments and the like hold no list: nothing to copy.
  template <class T>
  void add(T&) {}

  // Replaces every registered field by its deep copy.
  void replace_with_copies();

 private:
  void keep(Value original, std::function<void(const Value&)> replace);

  std::vector<Value> originals_;
  std::vector<std::function<void(const Value&)>> replacements_;
};

}  // namespace tavo::kk
