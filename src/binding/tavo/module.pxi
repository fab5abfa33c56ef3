# The module's globals kept by the library: the debug switch, the moment the
# module was loaded, and the diagnostics connected to the host.
import sys as _sys


def _write_line(line):
    """Writes one diagnostic line to whatever sys.stdout is at the time, so
    that a host redirecting it captures the module's output."""
    _sys.stdout.write(line + "\n")


def _enter_debugger():
    import pdb
    pdb.set_trace()


def _debug_status():
    return diagnostics().debug_status


def _set_debug_status(flag):
    cdef Diagnostics* switch = &diagnostics()
    switch.debug_status = <bint>flag


def _start_date():
    """cf.get_datetime_now() when the module was first loaded."""
    return date_time_to_py(module_context().start_date)


def _set_start_date(moment):
    cdef ModuleContext* context = &module_context()
    context.start_date = date_time_from_py(moment).as_date_time()


connect_diagnostics(_write_line, _enter_debugger)
