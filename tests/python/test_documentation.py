# The package documents itself: every public class, method, function and
# property carries a docstring, and every method shows its signature.
import importlib
import inspect
import pydoc
import sys
import unittest

from tavo import _core

MODULES = ["tavo", "tavo.karteikarten", "tavo.haendesammlung", "tavo.common_functions",
           "tavo.pickle_dump", "tavo.ih", "tavo.getcwd"]

# The fixed descriptions some classes begin with.
DESCRIPTIONS = {
    "Kartenhalter": u" haelt Karteikarten mit ihrem jeweiligen Namen, hier Bezeichner genannt ",
    "HaendesammlungContainer":
        u" stellt Funktionen bereit, die gleichzeitig \u00fcber alle Haendesammlungen iterieren ",
    "HaendesammlungVerteilungAnalyzer":
        u" analysiert Sammlung nach Kategorien von Karten, wie sie in\n"
        u"    datenmodell_karteikarten.txt genannt sind. ",
}


def native(text):
    """`text` as the interpreter's str, which docstrings are."""
    return text.encode("utf-8") if sys.version_info[0] < 3 else text


def public_classes():
    return [value for name, value in sorted(vars(_core).items())
            if isinstance(value, type) and not name.startswith("_")]


def public_members(cls):
    """(name, member) of what `cls` itself defines, methods and properties."""
    return [(name, member) for name, member in sorted(vars(cls).items())
            if not name.startswith("_")]


def is_method(member):
    return type(member).__name__ == "cython_function_or_method"


def described(member):
    """The docstring without the signature line a method's begins with."""
    doc = member.__doc__ or ""
    if is_method(member):
        doc = doc.split("\n", 1)[1] if "\n" in doc else ""
    return doc.strip()


def dynamic_attributes(instance):
    """The attributes an instance reads through __getattr__."""
    return sorted(set(dir(instance)) - set(dir(type(instance))))


class DocumentationTest(unittest.TestCase):
    def test_every_public_name_has_a_docstring(self):
        undocumented = []
        for name in MODULES:
            module = importlib.import_module(name)
            if not (module.__doc__ or "").strip():
                undocumented.append(name)
        for cls in public_classes():
            if not (cls.__doc__ or "").strip():
                undocumented.append(cls.__name__)
            for name, member in public_members(cls):
                if not described(member):
                    undocumented.append("%s.%s" % (cls.__name__, name))
        self.assertEqual(undocumented, [])

    def test_descriptions_come_first_and_dynamic_attributes_are_listed(self):
        for name, description in DESCRIPTIONS.items():
            self.assertTrue(getattr(_core, name).__doc__.startswith(native(description)), name)
        sammlung = _core.Haendesammlung(_core.Zeitberechnungen(3), 0, "kk_test", 3)
        for instance in (_core.Karteikartenverwaltung(),
                         _core.HaendesammlungVerteilungAnalyzer(sammlung)):
            doc = type(instance).__doc__
            missing = [name for name in dynamic_attributes(instance) if name not in doc]
            self.assertEqual(missing, [], type(instance).__name__)

    def test_methods_show_their_signatures(self):
        manager = _core.Karteikartenverwaltung
        self.assertIn("add_shelve_file(self, filename, writeback=False, copy=False)",
                      pydoc.render_doc(manager.add_shelve_file))
        self.assertIn("get_card(self)", pydoc.render_doc(manager.get_card))
        if sys.version_info[0] < 3:
            return
        self.assertEqual(str(inspect.signature(manager.add_shelve_file)),
                         "(self, filename, writeback=False, copy=False)")
        self.assertEqual(str(inspect.signature(manager().iterate_key_shelve)),
                         "(key, heute=False, alle=True)")
        for cls in public_classes():
            for name, member in public_members(cls):
                if not is_method(member):
                    continue
                line = member.__doc__.split("\n", 1)[0]
                self.assertTrue(line.startswith("%s.%s(" % (cls.__name__, name)), line)
                defaults = [parameter for parameter in inspect.signature(member).parameters.values()
                            if parameter.default is not inspect.Parameter.empty]
                self.assertEqual(len(defaults), line.count("="), line)


if __name__ == "__main__":
    unittest.main()
