# The distribution analyzer, the learning reports and the self-check
# scenarios as the host calls them.
import io
import os
import shutil
import sys
import tempfile
import unittest

from tavo import karteikarten

# 2021-10-20 10:00 in Berlin.
MORNING = 1634716800


def deck(count):
    return dict((number, {"fragetext": "Frage %d" % number, "antworttext": "Antwort"})
                for number in range(1, count + 1))


class CapturedOutput(object):
    """Collects what the module prints while the block runs."""

    def __enter__(self):
        self.saved = sys.stdout
        sys.stdout = io.BytesIO() if sys.version_info[0] == 2 else io.StringIO()
        return self

    def __exit__(self, *exception):
        self.text = sys.stdout.getvalue()
        sys.stdout = self.saved


class AnalysisTest(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir
        karteikarten.cf.set_fixed_now(MORNING)
        self.kkv = karteikarten.Karteikartenverwaltung()
        self.kkv.add_haendesammlung(deck(4), "kk_vier")
        self.sammlung = self.kkv.hc.sammlung_named("kk_vier")

    def tearDown(self):
        karteikarten.cf.clear_fixed_now()
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)

    def test_analyser_categories_attributes_and_report(self):
        analyzer = karteikarten.HaendesammlungVerteilungAnalyzer(self.sammlung)
        self.assertIsNone(analyzer.do())
        self.assertIn("analysiert Sammlung", analyzer.__doc__)
        self.assertEqual((analyzer.name, analyzer.grenzwert_neue_karten_heute, analyzer.voraus),
                         ("kk_vier", 2, 600))
        self.assertEqual(analyzer.sammlung.name, "kk_vier")
        self.assertRaises(AttributeError, getattr, analyzer, "neue_karten")
        self.assertRaises(AttributeError, getattr, analyzer, "karten_faellig_heute")
        self.assertRaises(AttributeError, analyzer.show)

        analyzer.set_grenzwert_neue_karten_heute(3)
        with CapturedOutput() as output:
            self.assertIsNone(analyzer.analyse())
        self.assertEqual(output.text, "")
        self.assertEqual(analyzer.neue_karten.get_laenge(), 4)
        self.assertEqual(sorted(analyzer.neue_karten.get_bezeichner()),
                         ["kk_vier-1", "kk_vier-2", "kk_vier-3", "kk_vier-4"])
        self.assertEqual(analyzer.anzahl_neue_karten_faellig_stellbar, 3)
        self.assertEqual(analyzer.karten_faellig_heute, [])
        self.assertEqual(analyzer.heute_faellig_schon_laenger_faellig_noch_nicht_angesehen, [])

        with CapturedOutput() as output:
            analyzer.show()
        lines = output.text.splitlines()
        self.assertEqual(lines[:3], ["*" * 50, "laenge sammlung:  4", "laenge neue_karten  4"])
        self.assertEqual(lines[-1], "anzahl_offene_heute_schon_angesehen_nicht_erfolgreich:  0")

        # Table attributes are typed; other names are the wrapper's own.
        analyzer.grenzwert_wiederholungen = 5
        self.assertEqual(analyzer.grenzwert_wiederholungen, 5)
        self.assertRaises(TypeError, setattr, analyzer, "grenzwert_wiederholungen", "viele")
        analyzer.notiz = "frei"
        self.assertEqual(analyzer.notiz, "frei")
        self.assertIn("heute_angesehen_bezeichner", dir(analyzer))

    def test_checks_find_a_card_of_another_collection(self):
        analyzer = karteikarten.HaendesammlungVerteilungAnalyzer(self.sammlung)
        analyzer.analyse()
        analyzer.assert_heute_faellige()
        fremd = karteikarten.Kartenhalter()
        fremd.add_karte("kk_fremd-1", {})
        analyzer.heute_faellige = fremd
        self.assertRaises(AssertionError, analyzer.assert_heute_faellige)
        self.assertRaises(AssertionError, analyzer.assert_karten_nur_aus_sammlung)

    def test_category_methods_take_their_arguments(self):
        analyzer = karteikarten.HaendesammlungVerteilungAnalyzer(self.sammlung)
        analyzer.analyse()
        analyzer.get_faellig_aber_nicht_heute_heute_angesehen(
            faellig_aber_nicht_heute_bezeichner=["kk_vier-1"])
        self.assertEqual(analyzer.faellig_aber_nicht_heute_heute_angesehen, [])
        analyzer.get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
            vor_heute_faellig=["kk_vier-2"], heute_faellig_gestellt=["kk_vier-2", "kk_vier-3"])
        self.assertEqual(analyzer.heute_faellig_schon_laenger_faellig_noch_nicht_angesehen,
                         ["kk_vier-2"])
        self.assertRaises(TypeError, analyzer.get_faellig_wiederholt_nicht_mehr_faellig, 5)

    def test_zeige_haendesammlung_verteilung_prints_nothing(self):
        with CapturedOutput() as output:
            self.assertIsNone(self.kkv.zeige_haendesammlung_verteilung(self.sammlung, 3, 4))
        self.assertEqual(output.text, "")

    def test_reports_of_an_empty_history(self):
        self.assertEqual(tuple(self.kkv.get_anzahl_falsch()), (0, 0))
        self.assertEqual(self.kkv.anzahl_lerntage_gesamt(), 0)

    def test_scenarios_rewrite_every_card(self):
        self.kkv.test_karten_schon_faellig()
        for name, karte in self.sammlung.karten.items():
            self.assertEqual((karte["due"], karte["interval"], karte["ease_factor"],
                              karte["learnstatus"]),
                             (MORNING - 86400, 8, 265, "learned"), name)

        self.kkv.test_verspaetung_und_neue()
        karten = self.sammlung.karten
        for number in (1, 3):
            self.assertEqual((karten["kk_vier-%d" % number]["due"],
                              karten["kk_vier-%d" % number]["ease_factor"]), (None, 130))
        for number in (2, 4):
            self.assertEqual(karten["kk_vier-%d" % number]["due"], MORNING - 6 * 86400)
        self.assertEqual(self.sammlung.anzahl_due_none(), 2)

        for scenario in (self.kkv.test_frueh, self.kkv.test_vorauslernen,
                         self.kkv.test_verspaetung):
            self.assertIsNone(scenario())


if __name__ == "__main__":
    unittest.main()
