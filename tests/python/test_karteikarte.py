# The working card: attributes read through the library, the lists shared
# with the card data, the setters, and the test card.
import unittest

from tavo import _core

# 2021-09-22 12:00 in Berlin.
NOON = 1632304800


class KarteikarteTest(unittest.TestCase):
    def setUp(self):
        _core._process_cf().set_fixed_now(NOON)
        self.sammlung = _core.Haendesammlung(_core.Zeitberechnungen(3), 0, "kk_test", 3)
        self.sammlung.karten["kk_test-1"] = {"fragetext": "1NT?", "antworttext": "2C",
                                             "learnstatus": "learned", "reps": 3,
                                             "interval": 2.5, "due": NOON - 60.0}
        self.data = self.sammlung.karten["kk_test-1"]

    def tearDown(self):
        _core._process_cf().clear_fixed_now()

    def test_attributes_come_from_the_card_data_and_the_lists_are_shared(self):
        card = _core.Karteikarte(self.data, "kk_test-1", 3)
        self.assertEqual((card.get_name(), card.get_frage(), card.get_antwort()),
                         ("kk_test-1", "1NT?", "2C"))
        self.assertEqual((card.get_status(), card.reps, card.interval, card.get_due()),
                         ("learned", 3, 2.5, NOON - 60.0))
        self.assertTrue(isinstance(card.reps, int) and isinstance(card.interval, float))
        self.assertEqual(card.get_modus(), 0)

        card.set_beantwortungszeit(12)
        card.set_last_interval_no_lapse(5, "good", False)
        card.set_last_interval_no_lapse(7, "hard", False)
        self.assertEqual(list(self.data["beantwortungszeiten"]), [12])
        self.assertEqual(list(self.data["last_interval_no_lapse"]), [5, 7])
        self.assertEqual(card.get_last_interval_no_lapse(), 5)
        card.set_last_interval_no_lapse(9, "again", False)
        self.assertEqual(card.get_last_interval_no_lapse(), 5)

        card.interval = 4
        card.set_letzte_antwort("easy", True)
        card.set_last_interval_no_lapse(9, "good", True)
        self.assertEqual((self.data["interval"], card.letzte_antwort), (2.5, None))
        self.assertEqual(list(card.last_interval_no_lapse), [5])

    def test_wrong_kinds_and_unknown_attributes(self):
        card = _core.Karteikarte(self.data, "kk_test-1", 3)
        with self.assertRaises(TypeError) as raised:
            card.lapses = "1"
        self.assertEqual(str(raised.exception), "attribute 'lapses' must be int, not str")
        self.assertRaises(ValueError, setattr, card, "learnstatus", "gelernt")
        self.assertRaises(TypeError, card.change_due, [1])
        card.farbe = "rot"
        self.assertEqual(card.farbe, "rot")
        self.assertTrue("reps" in dir(card) and "farbe" in dir(card))

    def test_test_card_and_bidding_card(self):
        for hand in (None, {}):
            card = _core.Karteikarte(hand, None, 3)
            self.assertEqual((card.learnstatus, card.ease_factor, card.interval, card.steps,
                              card.get_letzte_antwort(), card.get_due()),
                             ("learning", 130, 0, 0, "again", float(NOON)))
            with self.assertRaises(AttributeError) as raised:
                card.get_name()
            self.assertEqual(str(raised.exception), "'Karteikarte' object has no attribute 'name'")
            self.assertRaises(AttributeError, getattr, card, "reizung")

        self.sammlung.karten["kk_test-2"] = {"nur_reizung": True, "hand": [1, 2]}
        reizung = self.sammlung.karten["kk_test-2"]
        card = _core.Karteikarte(reizung, "kk_test-2", 3)
        self.assertEqual(card.get_modus(), 1)
        card.reizung["hand"] = [3]
        self.assertEqual(self.sammlung.karten["kk_test-2"]["hand"], [3])
        self.assertRaises(KeyError, _core.Karteikarte, {"fragetext": "nur Frage"}, "x", 3)

    def test_change_due_from_the_learning_day(self):
        card = _core.Karteikarte(self.data, "kk_test-1", 3)
        card.change_due(5 / 1440.0)
        self.assertAlmostEqual(card.due, NOON + 300.0, places=3)
        # Longer moves land on the start hour.
        card.change_due(0.5)
        self.assertEqual(card.due, 1632358800.0)
        card.change_due(1)
        # Tomorrow at the start hour, 03:00 in Berlin.
        self.assertEqual(card.due, 1632358800.0)
        card.change_due("done")
        self.assertEqual(card.get_due(), "done")


if __name__ == "__main__":
    unittest.main()
