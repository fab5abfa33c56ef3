# The manager's methods as the host calls them.
import datetime
import os
import shutil
import tempfile
import unittest

from tavo import _core

# 2021-09-22 12:00 in Berlin: learning day "2021-9-22", which began at 03:00.
NOON = 1632304800
DAY_START = NOON - 9 * 3600
HAND = {"fragetext": "2C?", "antworttext": "2D"}
REFUSED = "you can't press this button / we don't know how to deal with this case"


class ManagerCase(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir
        _core._process_cf().set_fixed_now(NOON)
        self.kkv = _core.Karteikartenverwaltung()

    def tearDown(self):
        _core._process_cf().clear_fixed_now()
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)

    def register_one_card(self):
        self.kkv.add_haendesammlung({7: dict(HAND)}, "kk_test")
        return self.kkv.bestimme_gegenwaertige_sammlung()


class ArgumentTest(ManagerCase):
    def test_keyword_and_positional_calls(self):
        self.assertEqual(self.kkv.iterate_key_shelve("anzahl"), {"anzahl": 0})
        self.assertEqual(sorted(self.kkv.iterate_key_shelve(key="zeitdauer_heute", heute=True,
                                                            alle=False)),
                         ["alleinspiel", "anzahl", "gegenspiel", "kk", "reizung"])
        self.assertEqual(self.kkv.minutes_to_days(minutes=1440), 1.0)
        self.assertEqual(self.kkv.aufteilung_5(10, 2, minimum_neue_karten=7), (3, 2))

    def test_operations_without_effect_take_any_object(self):
        sammlung = self.register_one_card()
        card = _core.Karteikarte(sammlung.karten["kk_test-7"], "kk_test-7", 3)
        calls = [(self.kkv.eintragen_ob_karte_erfolgreich, (card, "good")),
                 (self.kkv.bestimme_sammlungsort_name, (card,)),
                 (self.kkv.adjustiere_liste_haendesammlungen, ([sammlung, card, object()],)),
                 (self.kkv.add_frage_antwort_to_hand_objekt, (sammlung, {1: object()})),
                 (self.kkv.archiv_alle_sammlungen_erstellen, ()),
                 (self.kkv.sync_sammlungsort_liste_aller_sammlungen, ()),
                 (self.kkv.sortiere_nach_faelligkeit, ())]
        for operation, arguments in calls:
            self.assertIsNone(operation(*arguments))
        self.assertEqual(self.kkv.sammlungsort_name, "kk_test")

    def test_wrong_argument_counts_are_the_hosts_type_error(self):
        self.assertRaises(TypeError, setattr, self.kkv, "zeitberechnung", None)
        self.assertRaises(TypeError, self.kkv.minutes_to_days)
        self.assertRaises(TypeError, self.kkv.get_card, 1)
        self.assertRaises(TypeError, self.kkv.schedule, None, None, "good", False, 1)
        self.assertRaises(TypeError, self.kkv.schedule, antwort="good")

    def test_malformed_candidates(self):
        cases = [((1,), ValueError, "Element sollte Laenge 2 oder 3 haben"),
                 (("x", {}, "kk_test-1"), TypeError, "Element 0 sollte int sein"),
                 ((1, 5, "kk_test-1"), TypeError, "Element 1 sollte dict sein"),
                 ((1, {}, 5), TypeError, "Element 2 sollte basestring sein")]
        for candidate, error, message in cases:
            with self.assertRaises(error) as caught:
                self.kkv.finde_beste_karte_alle([candidate])
            self.assertEqual(str(caught.exception), message)
            # Unchecked while debug_status is off, whatever the list holds.
            self.assertIsNone(self.kkv.check_id_faehig([candidate, object(), 5]))
        _core._set_debug_status(True)
        try:
            with self.assertRaises(TypeError):
                self.kkv.check_id_faehig([("x", {}, "kk_test-1")])
        finally:
            _core._set_debug_status(False)

    def test_missing_card_or_collection(self):
        with self.assertRaises(TypeError):
            self.kkv.schedule(response="good")
        with self.assertRaises(AttributeError) as caught:
            self.kkv.waehle_card_eine_sammlung()
        self.assertEqual(str(caught.exception), "'NoneType' object has no attribute 'karten'")
        with self.assertRaises(ValueError) as caught:
            self.kkv.add_cardid_to_schon_gelernt(None, "heute_schon_gelernt")
        self.assertEqual(str(caught.exception),
                         "add_cardid_to_schon_gelernt needs a card or a name")


class TimeTest(ManagerCase):
    def test_worked_values(self):
        self.assertEqual(self.kkv.get_now(), datetime.datetime(2021, 9, 22, 12, 0))
        _core._process_cf().set_fixed_now(DAY_START - 1800)
        self.assertEqual(self.kkv.get_now(), datetime.datetime(2021, 9, 21, 2, 30))
        self.assertAlmostEqual(self.kkv.minutes_to_days(10), 0.006944, places=6)
        texts = [("done", "Ende"), ("", "Ende"), (0, "Ende"), (10 / 1440.0, "< 10min"),
                 (0.0003, "< 0min"), (1, "1 Tag"), (29.6, "30 Tage"), (45, "1.5 Monate"),
                 (30.4375, "1.0 Monat"), (400, "1.1 Jahre")]
        for days, text in texts:
            self.assertEqual(self.kkv.human_friendly_time(days=days), text)


class CardTest(ManagerCase):
    def test_registered_collection_gives_its_card(self):
        sammlung = self.register_one_card()
        self.assertEqual(sammlung.name, "kk_test")
        card = self.kkv.get_card()
        self.assertTrue(isinstance(card, _core.Karteikarte))
        self.assertEqual((card.get_name(), card.get_frage()), ("kk_test-7", "2C?"))
        self.assertEqual(self.kkv.waehle_card_eine_sammlung(sammlung, fudge=None),
                         ("kk_test-7", "kk_test"))
        self.assertEqual(self.kkv.vergleiche_card_eher_due(None, None, "kk_test-7", "kk_test"),
                         ("kk_test-7", "kk_test"))

    def test_preview_and_answer(self):
        self.register_one_card()
        card = self.kkv.get_card()
        self.assertEqual(self.kkv.get_interval_responses(card),
                         ("< 1min", "Ende", "< 10min", "4 Tage"))
        self.assertEqual(self.kkv.schedule(None, card, "good", True), 10 / 1440.0)
        self.assertEqual((card.reps, card.karte_ist_neu), (0, True))
        self.assertEqual(self.kkv.schedule(card=card, response="again"), 1 / 1440.0)
        self.assertEqual((card.reps, card.lapses, card.karte_ist_neu), (1, 1, False))
        with self.assertRaises(ValueError) as caught:
            self.kkv.schedule(card=card, response="hard")
        self.assertEqual(str(caught.exception), REFUSED)

    def test_make_one_due_puts_the_new_card_due_once(self):
        sammlung = self.register_one_card()
        self.kkv.get_card()
        self.assertEqual(self.kkv.make_one_due(5), "kk_test-7")
        self.assertEqual(sammlung.karten["kk_test-7"]["due"], DAY_START)
        self.assertEqual(self.kkv.bestimme_x_dues(x=3), [(DAY_START, "kk_test-7")])
        self.assertIsNone(self.kkv.make_one_due(grenzwert=5))

    def test_candidate_pick(self):
        sammlung = self.register_one_card()
        data = sammlung.karten["kk_test-7"]
        picked = self.kkv.finde_beste_karte_alle([(9, data, "kk_test-9"), (4, data, "kk_test-7"),
                                                  (7, data, "kk_test-8")])
        self.assertEqual(picked, [(4, data, "kk_test-7")])
        self.assertEqual(self.kkv.korrigiere_typ_ausgewaehlte_karte(picked), picked[0])
        self.assertIsNone(self.kkv.korrigiere_typ_ausgewaehlte_karte(None))
        self.assertEqual(self.kkv.bestimme_ausgewaehlte_karte_info_aus_alle([], None),
                         (None, None, None))
        self.assertEqual(self.kkv.bestimme_ausgewaehlte_karte_info_aus_alle(picked, sammlung),
                         (data, "kk_test-7", "kk_test"))


class LowestFudgeTest(ManagerCase):
    def test_search_and_the_earlier_choice(self):
        sammlung = self.register_one_card()
        self.kkv.hc.fudge_erneuern()
        sammlung.karten["kk_test-7"]["due"] = NOON - 60.0
        search = dict(now=NOON, old_now=NOON, rs=[1], nur_again_queue=False, vorauslernen=0,
                      position=0)
        self.assertEqual(self.kkv.finde_karte_due_niedrigster_fudge(fudge=1, **search),
                         (None, None, 0))
        self.assertEqual(self.kkv.finde_karte_due_niedrigster_fudge(fudge=2, **search),
                         ("kk_test-7", "kk_test", 0))
        self.assertEqual(self.kkv.finde_karte_due_niedrigster_fudge_diese_sammlung(
            fudge=2, sammlung=sammlung, ueberschuss_neue_karten=0, **search),
            ("kk_test-7", "kk_test", 0))
        self.assertEqual(self.kkv.waehle_card(), ("kk_test-7", "kk_test"))


class MetadataTest(ManagerCase):
    def test_card_names_recorded_in_the_current_collection(self):
        self.register_one_card()
        self.assertIsNone(self.kkv.get_metadaten("heute_schon_gelernt"))
        self.kkv.add_cardid_to_schon_gelernt(None, "heute_schon_gelernt", name="kk_test-7")
        self.assertEqual(self.kkv.get_metadaten("heute_schon_gelernt"), ["kk_test-7"])
        self.kkv.add_cardid_to_schon_gelernt(self.kkv.get_card(), key="heute_falsch")
        self.assertEqual(self.kkv.get_metadaten(key="heute_falsch"), ["kk_test-7"])


class SettingsTest(ManagerCase):
    def test_saved_settings_reach_a_new_manager(self):
        settings = self.kkv.make_default_values_dictionary()
        settings["neue_karten_pro_tag"] = 7
        self.kkv.save_default_values(dictionary=settings)
        self.assertEqual(_core.Karteikartenverwaltung().neue_karten_pro_tag, 7)

    def test_plain_dict_is_dated_in_place(self):
        settings = {"neue_karten_nur_heute": 4}
        self.assertEqual(self.kkv.get_heute_bezogener_wert_aus_dict(settings,
                                                                    "neue_karten_nur_heute"), 4)
        self.assertEqual(settings, {"neue_karten_nur_heute": {"2021-9-22": 4}})


if __name__ == "__main__":
    unittest.main()
