// The exception vocabulary of the whole project.
//
// The module is hosted by a Python application, so its failures mirror the
// host's built-in exceptions: each class carries the exact message the host
// would show, and the Python binding maps each one to the built-in exception
// of the same name.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "value/value.hpp"

namespace tavo {

// Base of every failure the module reports with a host exception name.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A lookup found no entry for its key. As the host's KeyError, it is either
// the bare key (a mapping's lookup: the message is the key's repr) or a
// sentence naming what is missing (a collection, a setting, a hand).
class KeyError : public Error {
 public:
  // No entry for `key`; the message is the key's repr.
  explicit KeyError(const Value& key);
  // No entry for `key`, told by `message`; `key` is empty when nothing
  // could be looked up (there is no current collection).
  KeyError(const std::string& message, std::optional<Value> key);
  // A text becomes a key only as a Value, so that a message is never taken
  // for a key.
  KeyError(const std::string&) = delete;
  KeyError(const char*) = delete;

  // The key looked up; null when there was none.
  const Value* key() const noexcept { return key_.get(); }

  // True when the message is only the key's repr: the host's KeyError then
  // carries the key itself, otherwise the message.
  bool message_is_key() const noexcept { return message_is_key_; }

 private:
  // Shared, so that copying the exception cannot throw.
  std::shared_ptr<const Value> key_;
  bool message_is_key_;
};

// A sequence index is out of range.
class IndexError : public Error {
 public:
  using Error::Error;
};

// An argument has the right type but an unusable value.
class ValueError : public Error {
 public:
  using Error::Error;
};

// An operation was applied to a value of the wrong type.
class TypeError : public Error {
 public:
  using Error::Error;
};

// A consistency check failed. Checks carry no message of their own.
class AssertionError : public Error {
 public:
  AssertionError() : Error("") {}
  using Error::Error;
};

// An object has no attribute of the requested name.
class AttributeError : public Error {
 public:
  using Error::Error;
};

// A division or modulo by zero.
class ZeroDivisionError : public Error {
 public:
  using Error::Error;
};

}  // namespace tavo
