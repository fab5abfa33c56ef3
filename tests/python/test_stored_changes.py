# Every way the host or the module changes a card reaches the store: once a
# collection was stored, a save writes just the changed cards, and a new load
# reads each change back.
import os
import shutil
import tempfile
import unittest

from tavo import _core, karteikarten

# 2021-10-20 10:00 in Berlin: learning day "2021-10-20".
MORNING = 1634716800

DECK = dict((number, {"fragetext": "Frage %d" % number, "antworttext": "Antwort"})
            for number in range(1, 7))


def karteikarte(sammlung, name):
    return _core.Karteikarte(sammlung.karten[name], name, 3)


def write_back(sammlung):
    card = karteikarte(sammlung, "kk_test-1")
    card.reps = 4
    sammlung.aendere_karteikarte_in_dictionary(card)


def assign_item(sammlung):
    sammlung.karten["kk_test-2"]["lapses"] = 2


def append_to_live_list(sammlung):
    sammlung.karten["kk_test-3"]["beantwortungszeiten"].append(9)


def set_in_live_mapping(sammlung):
    sammlung.karten["kk_test-4"]["hand"]["S"] = "KJ"


def answer_time_through_karteikarte(sammlung):
    karteikarte(sammlung, "kk_test-5").set_beantwortungszeit(6)


def append_to_karteikarte_list(sammlung):
    karteikarte(sammlung, "kk_test-6").last_interval_no_lapse.append(3)


def replace_card(sammlung):
    sammlung.karten["kk_test-7"] = {"fragetext": "Neu", "antworttext": "Antwort", "reps": 1}


def set_handinfo(sammlung):
    sammlung.set_handinfo_nur_reizung("kk_test-8", "AK")


def remove_last_card(sammlung):
    del sammlung.karten["kk_test-9"]


def add_card(sammlung):
    sammlung.karten["kk_test-10"] = {"fragetext": "Zehn", "antworttext": "Antwort", "reps": 5}


class StoredChangesTest(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir
        karteikarten.cf.set_fixed_now(MORNING)

    def tearDown(self):
        karteikarten.cf.clear_fixed_now()
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)

    def loaded(self):
        """The stored collection as a new load finds it."""
        sammlung, found = _core.PickleDump().get_haendesammlung("kk_test")
        self.assertTrue(found)
        return sammlung

    def test_every_kind_of_change_reaches_the_store(self):
        sammlung = _core.Haendesammlung(_core.Zeitberechnungen(3), 0, "kk_test", 3)
        for number in range(1, 10):
            sammlung.karten["kk_test-%d" % number] = {
                "fragetext": "Frage", "antworttext": "Antwort", "hand": {"N": "AQ"}}
        karteikarten.pd.save_haendesammlung("kk_test", sammlung)
        # (change, card, key, value read back)
        changes = [
            (write_back, "kk_test-1", "reps", 4),
            (assign_item, "kk_test-2", "lapses", 2),
            (append_to_live_list, "kk_test-3", "beantwortungszeiten", [9]),
            (set_in_live_mapping, "kk_test-4", "hand", {"N": "AQ", "S": "KJ"}),
            (answer_time_through_karteikarte, "kk_test-5", "beantwortungszeiten", [6]),
            (append_to_karteikarte_list, "kk_test-6", "last_interval_no_lapse", [3]),
            (replace_card, "kk_test-7", "fragetext", "Neu"),
            (set_handinfo, "kk_test-8", "handinfo", "AK"),
            (remove_last_card, "kk_test-9", "reps", None),
            (add_card, "kk_test-10", "reps", 5),
        ]
        for change, _, _, _ in changes:
            change(sammlung)
        self.assertEqual(karteikarten.pd.save_haendesammlung("kk_test", sammlung),
                         {"cards_written": 9, "cards_removed": 1, "metadata_written": False})
        loaded = self.loaded()
        for change, name, key, value in changes:
            stored = loaded.karten[name][key] if name in loaded.karten else None
            self.assertEqual((change.__name__, stored), (change.__name__, value))

        loaded.set_permanent_fudge("permanent_fudge_neu")
        counts = karteikarten.pd.save_haendesammlung("kk_test", loaded)
        self.assertEqual(counts["cards_written"], 9)
        karten = self.loaded().karten
        self.assertEqual([karten[name]["permanent_fudge_neu"] for name in karten],
                         list(range(1, 10)))

    def test_what_the_manager_changes_reaches_the_store(self):
        kkv = karteikarten.Karteikartenverwaltung(neue_karten_pro_tag=3)
        kkv.add_haendesammlung(DECK, "kk_test")
        kkv.hc.dictionary_speichern_alle_sammlungen()
        card = kkv.get_card()
        put_due = kkv.make_one_due(3)
        kkv.answer_card(card, "good", 7)
        card.set_beantwortungszeit(5)
        kkv.dictionary_speichern(None, False)

        karten = kkv.hc.sammlung_named("kk_test").karten
        stored = self.loaded().karten
        self.assertNotEqual(stored[put_due]["due"], None)
        self.assertEqual(list(stored[card.get_name()]["beantwortungszeiten"]), [7, 5])
        # The fudge is renewed every session: no change of a card.
        for name in karten:
            held = dict((key, value) for key, value in karten[name].items() if key != "fudge")
            self.assertEqual(dict((key, stored[name][key]) for key in held), held)


if __name__ == "__main__":
    unittest.main()
