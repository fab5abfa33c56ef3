// The exception vocabulary of the whole project.
//
// The module is hosted by a Python application, so its failures mirror the
// host's built-in exceptions: each class carries the exact message the host
// would show, and the Python binding maps each one to the built-in exception
// of the same name.
#pragma once

#include <stdexcept>
#include <string>

namespace tavo {

// Base of every failure the module reports with a host exception name.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A mapping has no entry for the key; the message is the key's repr.
class KeyError : public Error {
 public:
  using Error::Error;
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
