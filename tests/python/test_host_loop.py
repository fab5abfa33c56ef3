# The package as the host uses it: the module's globals, a learning session
# through the host loop, a new manager continuing from what was stored,
# taking answers back and a card's history, live card data, captured output
# and the debug switch.
import os
import shutil
import sys
import tempfile
import unittest

from tavo import karteikarten

try:
    from StringIO import StringIO
except ImportError:
    from io import StringIO

# 2021-10-20 10:00 in Berlin: learning day "2021-10-20".
MORNING = 1634716800

DECK = dict((number, {"fragetext": "Frage %d" % number, "antworttext": "Antwort"})
            for number in range(1, 7))


def plain(value):
    """`value` with a live list read as a copy of it."""
    return list(value) if hasattr(value, "append") else value


def answer(kkv, card, response, seconds=8):
    """Schedules and records one answer and stores the card, as the host
    does after each button press; returns the days until it is due."""
    tage = kkv.schedule(card=card, response=response)
    card.change_due(tage)
    card.set_letzte_antwort(response, False)
    card.set_last_interval_no_lapse(tage, response, False)
    card.set_beantwortungszeit(seconds)
    card.set_last_interval(tage)
    kkv.hc.aendere_karteikarte_in_dictionary_richtige_sammlung(kkv.sammlungsort_name, card)
    kkv.dictionary_speichern(None, False)
    return tage


class HostCase(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir
        karteikarten.cf.set_fixed_now(MORNING)

    def tearDown(self):
        karteikarten.cf.clear_fixed_now()
        karteikarten.debug_status = False
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)

    def manager(self):
        kkv = karteikarten.Karteikartenverwaltung(neue_karten_pro_tag=3)
        kkv.add_haendesammlung(DECK, "kk_test")
        return kkv


class ModuleTest(HostCase):
    def test_globals_and_classes(self):
        self.assertEqual((karteikarten.set_date, karteikarten.debug_status), (False, False))
        self.assertTrue(isinstance(karteikarten.pd, karteikarten.PickleDump))
        self.assertTrue(isinstance(karteikarten.cf, karteikarten.Common_functions))
        self.assertTrue(hasattr(karteikarten.ih, "make_haendeliste"))
        self.assertEqual(karteikarten.mdf.__name__, "MakeDailyCopy")
        self.assertTrue(karteikarten.os.path.sep)
        self.assertTrue(isinstance(karteikarten.start_date, karteikarten.datetime.datetime))
        names = ["Heap_umwandler", "Karten_Identifier", "Statistik_erfolgreich_prozent_berechnen",
                 "Kartenhalter", "Karteikarte", "Reihenfolge_anzeigen",
                 "HaendesammlungVerteilungAnalyzer", "HaendesammlungContainer",
                 "Karteikartenverwaltung"]
        for name in names:
            self.assertEqual(getattr(karteikarten, name).__bases__, (object,))

    def test_manager_attributes(self):
        kkv = karteikarten.Karteikartenverwaltung()
        self.assertEqual((kkv.neue_karten_pro_tag, kkv.vorauslernen_tage,
                          kkv.nur_neue_karten_anzeigen, kkv.sammlungsort_name),
                         (10, 0, False, None))
        self.assertEqual(list(kkv.NEW_STEPS), [1, 10])
        self.assertEqual((kkv.voraus_1_min, kkv.voraus_10_min), (60.0, 600.0))
        self.assertRaises(AttributeError, setattr, kkv, "voraus_1_min", 1)
        kkv.LAPSE_STEPS.append(2880)
        self.assertEqual(list(kkv.LAPSE_STEPS), [10, 1440, 2880])
        kkv.neue_karten_nur_heute = 4
        self.assertEqual(kkv.get_grenzwert_neue_karten_heute(), 4)
        self.assertRaises(TypeError, setattr, kkv, "hard_factor", "120")
        self.assertEqual(kkv.hc.startzeit_tag, kkv.zeitberechnung.startzeit_tag)
        self.assertEqual(karteikarten.Karteikartenverwaltung(neue_karten_pro_tag=0)
                         .neue_karten_pro_tag, 10)


class HostLoopTest(HostCase):
    def test_a_session_and_a_new_manager_continuing(self):
        kkv = self.manager()
        shown = []
        card = kkv.get_card()
        while card is not None and len(shown) < 20:
            buttons = kkv.get_interval_responses(card)
            self.assertEqual(len(buttons), 4)
            shown.append(card.get_name())
            answer(kkv, card, "good" if card.learnstatus == "learning" else "easy")
            karteikarten.cf.set_fixed_now(MORNING + 60 * 11 * len(shown))
            card = kkv.get_card()
        # Three new cards a day, each through the two learning steps.
        self.assertEqual(len(set(shown)), 3)
        karten = kkv.hc.sammlung_named("kk_test").karten
        learned = [name for name in karten if karten[name]["learnstatus"] == "learned"]
        self.assertEqual(sorted(learned), sorted(set(shown)))
        stored = dict((name, karten[name]["due"]) for name in learned)

        again = self.manager()
        karten = again.hc.sammlung_named("kk_test").karten
        self.assertEqual(dict((name, karten[name]["due"]) for name in learned), stored)
        self.assertEqual(list(karten[learned[0]]["beantwortungszeiten"]), [8, 8])
        self.assertEqual(again.get_card(), None)

        karteikarten.cf.set_fixed_now(MORNING + 86400)
        tomorrow = again.get_card()
        self.assertTrue(tomorrow is not None)

    def test_answer_card_stores_the_answer_and_its_statistics(self):
        kkv = self.manager()
        card = kkv.get_card()
        self.assertEqual(kkv.answer_card(card, "good", 7), 0.006944444444444444)
        self.assertRaises(ValueError, kkv.answer_card, card, "maybe")
        again = self.manager()
        stored = again.hc.sammlung_named("kk_test").karten[card.get_name()]
        self.assertEqual((stored["letzte_antwort"], list(stored["beantwortungszeiten"])),
                         ("good", [7]))
        self.assertEqual(again.iterate_key_shelve("reps")["anzahl"], 1)

    def test_undo_takes_the_answers_back_newest_first_and_a_new_manager_sees_it(self):
        kkv = karteikarten.Karteikartenverwaltung()
        kkv.add_haendesammlung({1: DECK[1], 2: DECK[2]}, "kk_test")
        karten = kkv.hc.sammlung_named("kk_test").karten

        def state(karten, name):
            # The fudge is renewed by every choice.
            return dict((key, plain(value)) for key, value in karten[name].items()
                        if key != "fudge")

        def day(kkv):
            kkv.sammlungsort_name = "kk_test"
            return [kkv.iterate_key_shelve("reps", heute=True)["anzahl"]] + [
                plain(kkv.get_metadaten(key))
                for key in ("neue_karten_heute_angesehen", "zeitdauer_heute", "reps")]

        before = dict((name, state(karten, name)) for name in karten)
        days = [day(kkv)]
        answered = []
        for seconds in (7, 9):
            card = kkv.get_card()
            kkv.answer_card(card, "easy", seconds)
            answered.append(card.get_name())
            days.append(day(kkv))
        self.assertEqual(kkv.get_card(), None)
        self.assertEqual(days[2], [2, answered, [16, 0, 0, 0], 2])

        # Each undo goes one answer further back, and the choice offers the
        # cards taken back again.
        for undone, earlier_day, offered in ((answered[1], days[1], answered[1:]),
                                             (answered[0], days[0], answered)):
            self.assertEqual(kkv.undo_last_answer(), undone)
            self.assertEqual(state(karten, undone), before[undone])
            self.assertEqual(day(kkv), earlier_day)
            self.assertTrue(kkv.get_card().get_name() in offered)
        self.assertEqual(kkv.undo_last_answer(), None)

        again = karteikarten.Karteikartenverwaltung()
        again.add_haendesammlung({1: DECK[1], 2: DECK[2]}, "kk_test")
        karten = again.hc.sammlung_named("kk_test").karten
        self.assertEqual(dict((name, state(karten, name)) for name in karten), before)
        self.assertEqual(day(again), days[0])
        self.assertEqual(again.answer_history(answered[0]), [])

    def test_answer_history_lists_a_cards_answers_oldest_first(self):
        kkv = karteikarten.Karteikartenverwaltung()
        kkv.add_haendesammlung({1: DECK[1]}, "kk_test")
        for moment, seconds in ((MORNING, 7), (MORNING + 660, 9)):
            karteikarten.cf.set_fixed_now(moment)
            kkv.answer_card(kkv.get_card(), "good", seconds)
        first = {"moment": float(MORNING), "response": "good", "seconds": 7, "interval": 0,
                 "ease_factor": 130, "learnstatus": "learning"}
        second = {"moment": MORNING + 660.0, "response": "good", "seconds": 9, "interval": 1,
                  "ease_factor": 250, "learnstatus": "learned"}
        self.assertEqual(kkv.answer_history("kk_test-1"), [first, second])
        self.assertEqual(kkv.answer_history("kk_test-9"), [])
        kkv.undo_last_answer()
        self.assertEqual(karteikarten.Karteikartenverwaltung().answer_history("kk_test-1"),
                         [first])

    def test_live_card_data_reaches_the_next_choice(self):
        kkv = karteikarten.Karteikartenverwaltung()
        kkv.add_haendesammlung({1: DECK[1]}, "kk_test")
        first = kkv.get_card()
        answer(kkv, first, "easy")
        self.assertEqual(kkv.get_card(), None)
        karten = kkv.hc.sammlung_named("kk_test").karten
        self.assertEqual(karten["kk_test-1"]["learnstatus"], "learned")
        karten["kk_test-1"]["due"] = MORNING - 3600.0
        self.assertEqual(kkv.get_card().get_due(), MORNING - 3600.0)

    def test_texts_are_str_and_unicode_is_accepted(self):
        kkv = karteikarten.Karteikartenverwaltung()
        kkv.add_haendesammlung({1: {u"fragetext": u"Gr\u00fc\u00dfe?", u"antworttext": u"2\u2663"}},
                               u"kk_test")
        card = kkv.get_card()
        self.assertEqual((type(card.get_frage()), type(card.get_name())), (str, str))
        self.assertEqual(card.get_antwort(), u"2\u2663".encode("utf-8")
                         if str is bytes else u"2\u2663")
        self.assertEqual(kkv.sammlungsort_name, "kk_test")

    def test_show_info_goes_to_sys_stdout(self):
        card = self.manager().get_card()
        captured, sys.stdout = sys.stdout, StringIO()
        try:
            card.show_info()
        finally:
            captured, sys.stdout = sys.stdout.getvalue(), captured
        lines = captured.splitlines()
        self.assertEqual((lines[0], lines[1], lines[2]),
                         ("*" * 50, "Werte der Karte", "name:  " + card.get_name()))
        self.assertEqual(len(lines), 20)

    def test_debug_switch_enters_the_debugger_then_fails(self):
        stops = []
        original = karteikarten.pdb.set_trace
        karteikarten.pdb.set_trace = lambda: stops.append(1)
        try:
            kkv = karteikarten.Karteikartenverwaltung()
            kkv.add_haendesammlung({"kk_test-1": {}}, "kk_test")
            self.assertEqual(stops, [])
            karteikarten.debug_status = True
            self.assertTrue(karteikarten.debug_status)
            self.assertRaises(AssertionError, kkv.add_haendesammlung, {"kk_test-1": {}}, "kk_test")
            self.assertEqual(stops, [1])
        finally:
            karteikarten.pdb.set_trace = original

    def test_an_exception_in_the_output_sink_reaches_the_caller(self):
        card = self.manager().get_card()

        class Broken(object):
            def write(self, text):
                raise IOError("disk full")

        captured, sys.stdout = sys.stdout, Broken()
        try:
            self.assertRaises(IOError, card.show_info)
        finally:
            sys.stdout = captured


if __name__ == "__main__":
    unittest.main()
