// Connects the module's diagnostics to the Python host: every output line
// goes to a Python callable (which writes it to sys.stdout), and the debug
// hook calls another (which enters the host's debugger).
#pragma once

#include <Python.h>

#include <memory>
#include <string>

#include "error_bridge.hpp"
#include "platform/diagnostics.hpp"

namespace tavo::binding {

// A new reference, released when it goes out of scope.
struct ReleaseReference {
  void operator()(PyObject* object) const noexcept { Py_DECREF(object); }
};
using OwnedReference = std::unique_ptr<PyObject, ReleaseReference>;

// Calls `callable` with `argument` (with none when null); PythonErrorRaised
// when it raises.
inline void call_python(PyObject* callable, PyObject* argument) {
  PyObject* result = PyObject_CallFunctionObjArgs(callable, argument, nullptr);
  if (result == nullptr) throw PythonErrorRaised();
  Py_DECREF(result);
}

// Sends every output line of `diagnostics` to `write_line` (called with the
// line as str) and makes `debug_hook` (called without arguments) its debug
// hook. Both stay referenced for the life of the process: the process-wide
// diagnostics outlive the interpreter, so they must never release a Python
// object.
inline void connect_diagnostics(platform::Diagnostics& diagnostics, PyObject* write_line,
                                PyObject* debug_hook) {
  Py_INCREF(write_line);
  Py_INCREF(debug_hook);
  diagnostics.output_line = [write_line](const std::string& line) {
    const OwnedReference text(python_text(line));
    if (!text) throw PythonErrorRaised();
    call_python(write_line, text.get());
  };
  diagnostics.debug_hook = [debug_hook] { call_python(debug_hook, nullptr); };
}

}  // namespace tavo::binding
