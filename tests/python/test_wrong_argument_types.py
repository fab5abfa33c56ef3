# Every public callable and attribute of the package, found by
# introspection, given arguments of wrong types: each call must return or
# raise an Exception; none may end the interpreter. The sweep runs in a
# child interpreter, so that a crash fails this test naming the call that
# caused it.
import datetime
import importlib
import inspect
import os
import pkgutil
import re
import shutil
import subprocess
import sys
import tempfile
import types
import unittest

# 2021-09-22 12:00 in Berlin.
NOON = 1632304800
NESTING = 100000
# Low, so that the RecursionError of each deep value, raised at this depth,
# unwinds quickly.
RECURSION_LIMIT = 200
TOO_MANY = 30
SOURCE = os.path.splitext(os.path.abspath(__file__))[0] + ".py"

# Names that cannot be called in a test, each with its reason.
SKIPPED = {
    "_core._enter_debugger": "enters pdb and waits for input on stdin",
}


class FailingMapping(object):
    """Looks like a mapping, but every look-up fails."""

    def keys(self):
        raise RuntimeError("keys of a failing mapping")

    def __getitem__(self, key):
        raise RuntimeError("item of a failing mapping")


def nested(wrap):
    value = wrap(None)
    for _ in range(NESTING):
        value = wrap(value)
    return value


DEEP_LIST = nested(lambda inner: [inner])
DEEP_DICT = nested(lambda inner: {"a": inner})
LOOP = []
LOOP.append(LOOP)


def hostile_values(fixture):
    """(label, value) pairs of arguments no public callable expects."""
    return [("None", None), ("object()", object()), ("nan", float("nan")),
            ("inf", float("inf")), ("2**70", 2 ** 70), ("-1", -1), ("True", True),
            ("text", "kk_fremd"), ("empty text", ""),
            ("non-UTF-8 bytes", b"\xff\xfe\x80"),
            ("odd unicode", u"\udcff\u2663\x00\U0001f0a1"),
            ("list", [1, "a", None]), ("tuple", (1, 2.5, "x")),
            ("dict with non-text keys", {1.5: "x", None: [1], (1, 2): {}}),
            ("deep list", DEEP_LIST), ("deep dict", DEEP_DICT), ("self-containing list", LOOP),
            ("far datetime", datetime.datetime(9999, 12, 31, 23, 59, 59)),
            ("failing mapping", FailingMapping()),
            ("Karteikarte", fixture["Karteikarte"]),
            ("Haendesammlung", fixture["Haendesammlung"])]


def filler_values(fixture):
    """The arguments of the other places while one place gets a hostile
    value: a count, a registered collection's name, a card, a collection."""
    return [("1", 1), ("name", "kk_eins"), ("Karteikarte", fixture["Karteikarte"]),
            ("Haendesammlung", fixture["Haendesammlung"])]


def deck(count, name):
    return dict((number, {"fragetext": "%s %d?" % (name, number), "antworttext": "2C"})
                for number in range(1, count + 1))


def package_modules():
    import tavo
    names = sorted(name for _, name, _ in pkgutil.iter_modules(tavo.__path__))
    return [tavo] + [importlib.import_module("tavo." + name) for name in names]


def module_label(module):
    return module.__name__.replace("tavo.", "", 1)


def is_own(value):
    return (not isinstance(value, types.ModuleType) and
            (getattr(value, "__module__", None) or "").startswith("tavo"))


def public_names(owner):
    return [name for name in dir(owner) if not name.startswith("__")]


def build_fixture(data_dir):
    """Label to object: an instance of every public class, the package's
    modules and the instances they hold."""
    from tavo import _core, karteikarten
    os.environ["TAVO_DATA_DIR"] = data_dir
    kkv = karteikarten.Karteikartenverwaltung()
    kkv.add_haendesammlung(deck(3, "eins"), "kk_eins")
    kkv.add_haendesammlung(deck(2, "zwei"), "kk_zwei")
    sammlung = kkv.hc.sammlung_named("kk_eins")
    data = sammlung.karten["kk_eins-1"]
    vergessen = _core.Haendesammlung_vergessen(_core.Zeitberechnungen(3), 0, "kk_eins", 3)
    vergessen.clone_haendesammlung(sammlung)
    analyzer = _core.HaendesammlungVerteilungAnalyzer(sammlung)
    analyzer.do()
    fixture = {
        "Karteikartenverwaltung": kkv, "HaendesammlungContainer": kkv.hc,
        "Haendesammlung": sammlung, "Haendesammlung_vergessen": vergessen,
        "Karteikarte": kkv.get_card(), "Kartenhalter": sammlung.get_due_none(),
        "Karten_Identifier": _core.Karten_Identifier("kk_eins"),
        "Heap_umwandler": _core.Heap_umwandler([(1, data, "kk_eins-1")]),
        "Statistik_erfolgreich_prozent_berechnen":
            _core.Statistik_erfolgreich_prozent_berechnen(5, 10, 600, sammlung),
        "Reihenfolge_anzeigen": kkv.reihenfolge_anzeigen,
        "HaendesammlungVerteilungAnalyzer": analyzer,
        "Zeitberechnungen": _core.Zeitberechnungen(3), "MakeDailyCopy": _core.MakeDailyCopy(3),
        "Common_functions": _core.Common_functions(), "PickleDump": _core.PickleDump(),
        "GetCwd": _core.GetCwd(), "Importiere_haende": _core.Importiere_haende(),
        "CardData": data, "CardMapping": sammlung.karten, "ValueDict": sammlung.metadata,
        "ValueList": data["last_interval"],
        "Shelf": kkv.add_shelve_file(os.path.join(data_dir, "shelf.dat")),
    }
    for module in package_modules():
        fixture[module_label(module)] = module
        for name in public_names(module):
            value = getattr(module, name)
            if is_own(value) and not callable(value):
                fixture["%s.%s" % (module_label(module), name)] = value
    return fixture


def targets(fixture):
    """(owner label, name) of every public callable and every attribute of
    an instance; a module's callable, and an owner held under two labels,
    once."""
    seen, found = set(), []
    for label in sorted(fixture):
        owner = fixture[label]
        if id(owner) in seen:
            continue
        seen.add(id(owner))
        for name in public_names(owner):
            if isinstance(owner, types.ModuleType):
                value = getattr(owner, name)
                if not (is_own(value) and callable(value)) or id(value) in seen:
                    continue
                seen.add(id(value))
            found.append((label, name))
    return found


ARGUMENT_COUNT = re.compile(r"takes (?:exactly |at most )?(\d+|no|one) (?:positional )?argument")


def parameter_count(function, error):
    """How many positional arguments `function` takes, read from its code or
    from `error`, what a call with too many gave; 4 when neither says."""
    code = getattr(function, "__code__", None)
    if code is not None:
        return code.co_argcount - (1 if inspect.ismethod(function) else 0)
    match = ARGUMENT_COUNT.search(str(error))
    if match:
        return {"no": 0, "one": 1}.get(match.group(1)) or int(match.group(1))
    return 4


def argument_lists(count, hostile, fillers):
    """(labels, arguments): for each arity up to `count`, the hostile values
    rotated through every place, and each hostile value in each place among
    each filler."""
    yield (), ()
    for arity in range(1, count + 1):
        for shift in range(len(hostile)):
            chosen = [hostile[(shift + place) % len(hostile)] for place in range(arity)]
            yield tuple(label for label, _ in chosen), tuple(value for _, value in chosen)
        for place in range(arity):
            for filler_label, filler in fillers:
                for label, value in hostile:
                    labels = [filler_label] * arity
                    arguments = [filler] * arity
                    labels[place], arguments[place] = label, value
                    yield tuple(labels), tuple(arguments)


class Sweep(object):
    """Makes the calls, writing each one to `progress` before it is made."""

    def __init__(self, progress, data_dir):
        from tavo import _core
        self.core = _core
        self.progress = progress
        self.data_dir = data_dir
        self.calls = 0
        self.start_date = _core._start_date()

    def restore(self):
        """The process-wide state later calls rely on."""
        self.core._set_debug_status(False)
        self.core._process_cf().set_fixed_now(NOON)
        self.core._set_start_date(self.start_date)

    def attempt(self, description, call):
        """The exception `call` raised, None when it returned."""
        self.progress.write(description + "\n")
        self.progress.flush()
        self.calls += 1
        try:
            call()
            return None
        except Exception as error:
            return error
        finally:
            self.restore()

    def fresh_fixture(self):
        return build_fixture(tempfile.mkdtemp(dir=self.data_dir))

    def run(self):
        self.restore()
        for label, name in targets(self.fresh_fixture()):
            if "%s.%s" % (label, name) in SKIPPED:
                continue
            fixture = self.fresh_fixture()
            owner = fixture[label]
            try:
                value = getattr(owner, name)
            except Exception:
                value = None
            if callable(value):
                self.call_with_hostile_arguments(label, name, value, fixture)
            else:
                self.assign_hostile_values(label, name, owner, fixture)

    def call_with_hostile_arguments(self, label, name, function, fixture):
        description = "%s.%s" % (label, name)
        error = self.attempt(description + "(None x %d)" % TOO_MANY,
                             lambda: function(*([None] * TOO_MANY)))
        count = parameter_count(function, error)
        for labels, arguments in argument_lists(count, hostile_values(fixture),
                                                filler_values(fixture)):
            self.attempt("%s(%s)" % (description, ", ".join(labels)),
                         lambda: function(*arguments))

    def assign_hostile_values(self, label, name, owner, fixture):
        for value_label, value in hostile_values(fixture):
            self.attempt("%s.%s = %s" % (label, name, value_label),
                         lambda: (setattr(owner, name, value), getattr(owner, name)))


def sweep_in_this_process(work_dir):
    """The child's part: the whole sweep, in `work_dir`, where the files that
    calls name relative to the working directory end up."""
    try:
        import faulthandler
        faulthandler.enable()
    except ImportError:
        pass
    sys.setrecursionlimit(RECURSION_LIMIT)
    os.chdir(work_dir)
    with open(os.path.join(work_dir, "progress"), "w") as progress:
        sweep = Sweep(progress, work_dir)
        sweep.run()
        progress.write("done after %d calls\n" % sweep.calls)


def read_lines(path):
    if not os.path.exists(path):
        return []
    with open(path) as text:
        return text.read().splitlines()


class WrongArgumentTypesTest(unittest.TestCase):
    def test_no_call_ends_the_interpreter(self):
        work_dir = tempfile.mkdtemp()
        try:
            with open(os.devnull, "w") as discarded:
                child = subprocess.Popen([sys.executable, SOURCE, work_dir],
                                         stdout=discarded, stderr=subprocess.PIPE)
                errors = child.communicate()[1]
            lines = read_lines(os.path.join(work_dir, "progress"))
        finally:
            shutil.rmtree(work_dir)
        last = lines[-1] if lines else "<no call made>"
        self.assertEqual(child.returncode, 0,
                         "the interpreter ended (%s) during %s\n%s"
                         % (child.returncode, last, errors.decode("utf-8", "replace")[-3000:]))
        self.assertTrue(last.startswith("done after"), last)

    def test_every_public_class_has_an_instance_in_the_fixture(self):
        from tavo import _core
        work_dir = tempfile.mkdtemp()
        _core._process_cf().set_fixed_now(NOON)
        try:
            fixture = build_fixture(work_dir)
        finally:
            _core._process_cf().clear_fixed_now()
            del os.environ["TAVO_DATA_DIR"]
            shutil.rmtree(work_dir)
        classes = set(name for name in public_names(_core)
                      if isinstance(getattr(_core, name), type) and not name.startswith("_"))
        self.assertEqual(classes - set(type(value).__name__ for value in fixture.values()),
                         set())


class ConversionLimitTest(unittest.TestCase):
    """The limits whose absence ended the interpreter or stalled it."""

    def setUp(self):
        from tavo import _core
        self.core = _core
        sammlung = _core.Haendesammlung(_core.Zeitberechnungen(3), 0, "kk_test", 3)
        sammlung.karten["kk_test-1"] = {"fragetext": "1NT?", "notizen": []}
        self.data = sammlung.karten["kk_test-1"]

    def test_too_deep_or_self_containing_values_are_refused(self):
        for value in (DEEP_LIST, DEEP_DICT, LOOP):
            with self.assertRaises(RuntimeError) as raised:
                self.data["notizen"] = value
            self.assertTrue(str(raised.exception).startswith("maximum recursion depth exceeded"))
        self.assertEqual(list(self.data["notizen"]), [])

    def test_a_value_nested_too_deep_through_live_lists_is_not_read(self):
        inner = self.data["notizen"]
        for _ in range(2 * sys.getrecursionlimit()):
            inner.append([])
            inner = inner[-1]
        with self.assertRaises(RuntimeError) as raised:
            self.data.copy()
        self.assertEqual(str(raised.exception), "maximum recursion depth exceeded while "
                                                "converting a value from the module")

    def test_file_names_holding_a_nul_character_are_refused(self):
        container = self.core.HaendesammlungContainer(None, 0, 3)
        for call in (lambda: container.add_shelve_file("kk\x00test", True, True),
                     lambda: self.core.MakeDailyCopy(3).make_copy("kk\x00test")):
            with self.assertRaises(ValueError) as raised:
                call()
            self.assertEqual(str(raised.exception), "embedded null byte")


if __name__ == "__main__":
    sweep_in_this_process(sys.argv[1])
