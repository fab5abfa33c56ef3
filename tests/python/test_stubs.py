# The type stubs beside the package's modules name exactly what the modules
# and their classes offer: every public name has an entry, and no entry names
# something that does not exist.
#
# Public means not starting with "_". A module's names are those dir() lists,
# with the properties of its module type (debug_status, start_date), less the
# package's submodules, which have stubs of their own. A class's names are
# those dir() lists for it, less what every object has, with the attributes
# an instance reads through its class's attribute table. A stub class
# inherits the entries of the stub classes it names as bases, as the class
# inherits their members, so that Haendesammlung_vergessen needs entries only
# for what it adds.
import ast
import importlib
import os
import shutil
import sys
import tempfile
import types
import unittest

MODULES = ["tavo", "tavo._core", "tavo.karteikarten", "tavo.haendesammlung",
           "tavo.common_functions", "tavo.pickle_dump", "tavo.ih", "tavo.getcwd"]


def public(names):
    return set(name for name in names if not name.startswith("_"))


def stub_of(module):
    path = os.path.join(os.path.dirname(module.__file__),
                        module.__name__.rpartition(".")[2] + ".pyi")
    if module.__name__ == "tavo":
        path = os.path.join(os.path.dirname(module.__file__), "__init__.pyi")
    with open(path) as source:
        return ast.parse(source.read(), path)


def bound_names(statement):
    """The names a top-level or class-level stub statement offers."""
    if isinstance(statement, (ast.FunctionDef, ast.ClassDef)):
        return [statement.name]
    if isinstance(statement, ast.AnnAssign):
        return [statement.target.id]
    if isinstance(statement, ast.Assign):
        return [target.id for target in statement.targets]
    if isinstance(statement, (ast.Import, ast.ImportFrom)):
        # A stub re-exports only what it imports as "X as X".
        return [alias.asname for alias in statement.names if alias.asname == alias.name]
    return []


def stub_classes(trees):
    """Class name to its stub definition, over all stubs (a class is declared once)."""
    return dict((statement.name, statement) for tree in trees for statement in tree.body
                if isinstance(statement, ast.ClassDef))


def class_entries(name, classes):
    """The entries of the stub class `name`, with those of its stub bases."""
    definition = classes[name]
    entries = set(entry for statement in definition.body for entry in bound_names(statement))
    for base in definition.bases:
        if isinstance(base, ast.Name) and base.id in classes:
            entries |= class_entries(base.id, classes)
    return public(entries)


def module_names(module):
    names = public(dir(module))
    if type(module) is not types.ModuleType:
        names |= public(name for name, value in vars(type(module)).items()
                        if isinstance(value, property))
    return set(name for name in names
               if getattr(getattr(module, name), "__name__", None) != module.__name__ + "." + name)


@unittest.skipIf(sys.version_info[0] < 3, "the stubs are for Python 3 editors")
class StubsTest(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir

    def tearDown(self):
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)

    def instances_with_table_attributes(self):
        """An instance of each class whose instances have attributes beyond dir(cls)."""
        from tavo import _core
        sammlung = _core.Haendesammlung(_core.Zeitberechnungen(3), 0, "kk_test", 3)
        return [_core.Karteikarte(None, None, 3), _core.Karteikartenverwaltung(),
                _core.HaendesammlungVerteilungAnalyzer(sammlung)]

    def test_stubs_name_exactly_the_public_names(self):
        modules = [importlib.import_module(name) for name in MODULES]
        trees = dict((module.__name__, stub_of(module)) for module in modules)
        classes = stub_classes(trees.values())
        table_attributes = dict((type(instance), public(dir(instance)))
                                for instance in self.instances_with_table_attributes())
        mismatches = []
        for module in modules:
            entries = public(entry for statement in trees[module.__name__].body
                             for entry in bound_names(statement))
            mismatches += [(module.__name__, sorted(module_names(module) - entries),
                            sorted(entries - module_names(module)))]
        from tavo import _core
        for name in public(vars(_core)):
            cls = getattr(_core, name)
            members = public(dir(cls)) - set(dir(object)) | table_attributes.get(cls, set())
            entries = class_entries(name, classes)
            mismatches += [(name, sorted(members - entries), sorted(entries - members))]
        self.assertEqual([mismatch for mismatch in mismatches if mismatch[1] or mismatch[2]], [])

    def test_the_package_is_marked_as_typed(self):
        import tavo
        self.assertTrue(os.path.isfile(os.path.join(os.path.dirname(tavo.__file__), "py.typed")))


if __name__ == "__main__":
    unittest.main()
