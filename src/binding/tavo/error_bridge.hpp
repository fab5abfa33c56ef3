// Turns the C++ exception being handled into the Python exception of the
// same name, carrying its message (a KeyError its key, as Python's own
// mappings raise it).
//
// Called by the generated wrappers inside their catch block: the library's
// KeyError, IndexError, ValueError, TypeError, AssertionError,
// AttributeError and ZeroDivisionError become the built-in exceptions of
// those names; a file-system or store failure, and a save that met another
// program's change of its cards, become IOError (OSError on Python 3),
// memory exhaustion MemoryError, anything else RuntimeError. A
// Python exception raised in a Python callback of the library comes back as
// it was raised.
#pragma once

#include <Python.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <system_error>

#include "db/error.hpp"
#include "karteikarten/collection/collection_conflict.hpp"
#include "value/errors.hpp"

namespace tavo::binding {

// The Python error of a failed Python callback, fetched so that no error
// stays set while the library unwinds; released with the last copy when the
// library discards the exception.
class PythonErrorRaised : public std::exception {
 public:
  PythonErrorRaised() : error_(std::make_shared<Fetched>()) {}

  const char* what() const noexcept override { return "a Python callback raised an exception"; }

  // Makes the fetched error Python's current error again.
  void restore() const {
    Py_XINCREF(error_->type);
    Py_XINCREF(error_->value);
    Py_XINCREF(error_->traceback);
    PyErr_Restore(error_->type, error_->value, error_->traceback);
  }

 private:
  struct Fetched {
    Fetched() { PyErr_Fetch(&type, &value, &traceback); }
    ~Fetched() {
      Py_XDECREF(type);
      Py_XDECREF(value);
      Py_XDECREF(traceback);
    }
    Fetched(const Fetched&) = delete;
    Fetched& operator=(const Fetched&) = delete;

    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
  };

  std::shared_ptr<const Fetched> error_;
};

inline PyObject* python_text(const std::string& text) {
#if PY_MAJOR_VERSION < 3
  return PyString_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
#else
  return PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
#endif
}

inline void set_python_error(PyObject* type, PyObject* argument) {
  if (argument == nullptr) return;
  PyErr_SetObject(type, argument);
  Py_DECREF(argument);
}

inline void set_python_error(PyObject* type, const std::string& message) {
  set_python_error(type, python_text(message));
}

// The argument of the Python KeyError: the missing key itself when the
// message is only its repr and it is a text or a whole number, as Python's
// own mappings raise it; otherwise the message.
inline PyObject* key_error_argument(const KeyError& error) {
  const Value* key = error.message_is_key() ? error.key() : nullptr;
  if (key != nullptr && key->is_text()) return python_text(key->as_text());
  if (key != nullptr && key->is_int()) return PyLong_FromLongLong(key->as_int());
  return python_text(error.what());
}

inline void raise_py_error() {
  try {
    throw;
  } catch (const PythonErrorRaised& error) {
    error.restore();
  } catch (const KeyError& error) {
    set_python_error(PyExc_KeyError, key_error_argument(error));
  } catch (const IndexError& error) {
    set_python_error(PyExc_IndexError, error.what());
  } catch (const ValueError& error) {
    set_python_error(PyExc_ValueError, error.what());
  } catch (const TypeError& error) {
    set_python_error(PyExc_TypeError, error.what());
  } catch (const AssertionError& error) {
    if (*error.what() == '\0') {
      PyErr_SetNone(PyExc_AssertionError);
    } else {
      set_python_error(PyExc_AssertionError, error.what());
    }
  } catch (const AttributeError& error) {
    set_python_error(PyExc_AttributeError, error.what());
  } catch (const ZeroDivisionError& error) {
    set_python_error(PyExc_ZeroDivisionError, error.what());
  } catch (const db::Error& error) {
    set_python_error(PyExc_IOError, error.what());
  } catch (const kk::CollectionConflict& error) {
    set_python_error(PyExc_IOError, error.what());
  } catch (const std::filesystem::filesystem_error& error) {
    set_python_error(PyExc_IOError, error.what());
  } catch (const std::system_error& error) {
    set_python_error(PyExc_IOError, error.what());
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& error) {
    // The translator is the last frame before Python, which cannot take a
    // C++ exception: whatever else arrives becomes RuntimeError.
    set_python_error(PyExc_RuntimeError, error.what());
  } catch (...) {
    set_python_error(PyExc_RuntimeError, "unknown C++ exception");
  }
}

}  // namespace tavo::binding
