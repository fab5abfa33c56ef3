// Host attributes: typed C++ data members that the host reads and assigns
// as if they were attributes of a Python object.
//
// A class lists its attributes once, in a HostAttributes table; a binding
// then needs only the table's get, set and names. Reading gives the member
// as a Value (lists and dicts are the member's own, shared). Assigning
// checks the kind and leaves the member unchanged on a wrong one:
// TypeError "attribute 'reps' must be int, not str". A flag takes the
// host's truthiness; an optional member is cleared by None.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "value/date_time.hpp"
#include "value/errors.hpp"
#include "value/value.hpp"

namespace tavo {

[[noreturn]] inline void wrong_attribute_kind(std::string_view name, const char* expected,
                                              const Value& value) {
  throw TypeError("attribute '" + std::string(name) + "' must be " + expected + ", not " +
                  type_name(value));
}

// How a member of type T crosses as a Value. Specialise it for a type of
// your own (an enum, a small value class) next to that type's table.
template <class T>
struct AttributeKind;

template <>
struct AttributeKind<std::int64_t> {
  static Value to_value(std::int64_t number) { return number; }
  static std::int64_t from_value(const Value& value, std::string_view name) {
    if (!value.is_int() && !value.is_bool()) wrong_attribute_kind(name, "int", value);
    return value.as_int();
  }
};

template <>
struct AttributeKind<int> {
  static Value to_value(int number) { return number; }
  static int from_value(const Value& value, std::string_view name) {
    const std::int64_t number = AttributeKind<std::int64_t>::from_value(value, name);
    if (number < INT_MIN || number > INT_MAX) {
      throw ValueError("attribute '" + std::string(name) + "' is out of range");
    }
    return static_cast<int>(number);
  }
};

template <>
struct AttributeKind<bool> {
  static Value to_value(bool flag) { return flag; }
  static bool from_value(const Value& value, std::string_view) { return value.truthy(); }
};

template <>
struct AttributeKind<double> {
  static Value to_value(double number) { return number; }
  static double from_value(const Value& value, std::string_view name) {
    if (!value.is_number()) wrong_attribute_kind(name, "a number", value);
    return value.as_float();
  }
};

template <>
struct AttributeKind<std::string> {
  static Value to_value(const std::string& text) { return text; }
  static std::string from_value(const Value& value, std::string_view name) {
    if (!value.is_text()) wrong_attribute_kind(name, "str", value);
    return value.as_text();
  }
};

template <>
struct AttributeKind<Value> {
  static Value to_value(const Value& value) { return value; }
  static Value from_value(const Value& value, std::string_view) { return value; }
};

template <>
struct AttributeKind<List> {
  static Value to_value(const List& list) { return list; }
  static List from_value(const Value& value, std::string_view name) {
    if (!value.is_list()) wrong_attribute_kind(name, "list", value);
    return value.as_list();
  }
};

template <>
struct AttributeKind<Dict> {
  static Value to_value(const Dict& dict) { return dict; }
  static Dict from_value(const Value& value, std::string_view name) {
    if (!value.is_dict()) wrong_attribute_kind(name, "dict", value);
    return value.as_dict();
  }
};

template <>
struct AttributeKind<DateTime> {
  static Value to_value(const DateTime& moment) { return moment; }
  static DateTime from_value(const Value& value, std::string_view name) {
    if (!value.is_date_time()) wrong_attribute_kind(name, "datetime.datetime", value);
    return value.as_date_time();
  }
};

// An optional member: None when empty, and None assigned empties it.
template <class T>
struct AttributeKind<std::optional<T>> {
  static Value to_value(const std::optional<T>& member) {
    return member ? AttributeKind<T>::to_value(*member) : Value(None);
  }
  static std::optional<T> from_value(const Value& value, std::string_view name) {
    if (value.is_none()) return std::nullopt;
    return AttributeKind<T>::from_value(value, name);
  }
};

// One attribute: its name, how to read it and, unless it is read-only, how
// to assign it.
template <class Object>
struct HostAttribute {
  std::string_view name;
  std::function<Value(const Object&)> get;
  std::function<void(Object&, const Value&)> set;
};

// The attribute `name` over the data member `member`.
template <class Object, class T>
HostAttribute<Object> member_attribute(std::string_view name, T Object::*member) {
  return {name, [member](const Object& object) { return AttributeKind<T>::to_value(object.*member); },
          [name, member](Object& object, const Value& value) {
            object.*member = AttributeKind<T>::from_value(value, name);
          }};
}

// The attribute `name` over an optional member whose emptiness means that
// the object lacks the attribute: reading it then throws AttributeError,
// and None cannot be assigned.
template <class Object, class T>
HostAttribute<Object> present_attribute(std::string_view name, std::optional<T> Object::*member) {
  return {name,
          [name, member](const Object& object) {
            if (!(object.*member)) throw AttributeError(std::string(name));
            return AttributeKind<T>::to_value(*(object.*member));
          },
          [name, member](Object& object, const Value& value) {
            object.*member = AttributeKind<T>::from_value(value, name);
          }};
}

// The table of a class's attributes, in the order the host lists them.
template <class Object>
class HostAttributes {
 public:
  HostAttributes(std::string class_name, std::vector<HostAttribute<Object>> attributes)
      : class_name_(std::move(class_name)), attributes_(std::move(attributes)) {}

  bool contains(std::string_view name) const { return find(name) != nullptr; }

  // AttributeError "'Karteikarte' object has no attribute 'name'" when the
  // object has no such attribute (or lacks it at the moment).
  Value get(const Object& object, std::string_view name) const {
    const HostAttribute<Object>& attribute = known(name);
    try {
      return attribute.get(object);
    } catch (const AttributeError&) {
      missing(name);
    }
  }

  // AttributeError for an unknown or read-only attribute; the kind errors
  // of AttributeKind for a value of the wrong kind.
  void set(Object& object, std::string_view name, const Value& value) const {
    const HostAttribute<Object>& attribute = known(name);
    if (!attribute.set) {
      throw AttributeError("attribute '" + std::string(name) + "' of '" + class_name_ +
                           "' objects is not writable");
    }
    attribute.set(object, value);
  }

  std::vector<std::string_view> names() const {
    std::vector<std::string_view> result;
    result.reserve(attributes_.size());
    for (const auto& attribute : attributes_) result.push_back(attribute.name);
    return result;
  }

 private:
  const HostAttribute<Object>* find(std::string_view name) const {
    for (const auto& attribute : attributes_) {
      if (attribute.name == name) return &attribute;
    }
    return nullptr;
  }

  const HostAttribute<Object>& known(std::string_view name) const {
    const HostAttribute<Object>* attribute = find(name);
    if (attribute == nullptr) missing(name);
    return *attribute;
  }

  [[noreturn]] void missing(std::string_view name) const {
    throw AttributeError("'" + class_name_ + "' object has no attribute '" + std::string(name) +
                         "'");
  }

  std::string class_name_;
  std::vector<HostAttribute<Object>> attributes_;
};

}  // namespace tavo
