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
    return package_environment.diagnostics.debug_status


def _set_debug_status(flag):
    package_environment.diagnostics.debug_status = <bint>flag


def _start_date():
    """cf.get_datetime_now() when the module was first loaded."""
    return date_time_to_py(package_environment.start_date)


def _set_start_date(moment):
    package_environment.start_date = date_time_from_py(moment).as_date_time()


def _embedded_defaults(signature):
    """The default values of the signature line "Class.name(self, a, b=1)",
    in parameter order. A typed parameter ("Kartenhalter other") counts by
    its name."""
    import ast
    import re
    parameters = re.sub(r"\w+ (\w+)(?=[,=]|$)", r"\1",
                        signature[signature.index("(") + 1:signature.rindex(")")])
    function = ast.parse("def f(%s): pass" % parameters).body[0]
    return tuple(ast.literal_eval(default) for default in function.args.defaults)


def _complete_methods(namespace):
    """Completes every method of the classes in `namespace` as help() and
    inspect.signature read it. This Cython leaves the default values of the
    methods of extension classes out of their __defaults__: they are read
    back from the signature line that starts each docstring. The rest of the
    docstring, which follows that line unindented, is dedented, so that its
    lines line up."""
    import inspect
    for cls in list(namespace.values()):
        if not isinstance(cls, type) or cls.__module__ != __name__:
            continue
        for method in vars(cls).values():
            doc = getattr(method, "__doc__", None)
            if type(method).__name__ != "cython_function_or_method" or not doc:
                continue
            signature, _, text = doc.partition("\n")
            defaults = _embedded_defaults(signature)
            if defaults:
                method.__defaults__ = defaults
            method.__doc__ = signature + "\n" + inspect.cleandoc(text)


connect_diagnostics(package_environment.diagnostics, _write_line, _enter_debugger)
_complete_methods(globals())
