# The forgotten-cards drill as a host runs it: start, answer the forgotten
# cards with the normal loop, leave, and find the normal collections as
# they were.
import os
import shutil
import tempfile
import unittest

from tavo import karteikarten

# 2021-10-20 10:00 in Berlin.
MORNING = 1634716800


def deck(count):
    return dict((number, {"fragetext": "Frage %d" % number, "antworttext": "Antwort"})
                for number in range(1, count + 1))


class DrillTest(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir
        karteikarten.cf.set_fixed_now(MORNING)
        # The drill looks back from the moment the module was loaded.
        self.loaded = karteikarten.start_date
        karteikarten.start_date = karteikarten.datetime.datetime(2021, 10, 20, 10)

    def tearDown(self):
        karteikarten.start_date = self.loaded
        karteikarten.cf.clear_fixed_now()
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)

    def test_drill_and_back(self):
        kkv = karteikarten.Karteikartenverwaltung()
        kkv.add_haendesammlung(deck(3), "kk_eins")
        kkv.add_haendesammlung(deck(2), "kk_zwei")
        for name in ("kk_eins-1", "kk_eins-3"):
            kkv.hc.sammlung_named("kk_eins").karten[name]["zuletzt_vergessen"] = MORNING - 3600.0
        kkv.hc.sammlung_named("kk_zwei").karten["kk_zwei-2"]["zuletzt_vergessen"] = MORNING - 60.0
        kkv.hc.dictionary_speichern_alle_sammlungen()
        before = dict((s.name, dict(s.karten.items())) for s in kkv.hc.liste_aller_sammlungen)
        before = dict((name, repr(sorted((k, sorted(dict(v).items())) for k, v in cards.items())))
                      for name, cards in before.items())

        kkv.setze_vergessen_modus(1)
        kkv.alle_sammlung_vergessene_karten(1)
        kkv.modus_vergessene_karten = True
        self.assertEqual([s.name for s in kkv.hc.liste_aller_sammlungen],
                         ["kk_eins_vergessen", "kk_zwei_vergessen"])
        self.assertTrue(isinstance(kkv.hc.liste_aller_sammlungen[0],
                                   karteikarten.Haendesammlung_vergessen))

        shown = []
        card = kkv.get_card()
        while card is not None and len(shown) < 10:
            response = "good" if card.get_name() in shown else "again"
            shown.append(card.get_name())
            tage = kkv.schedule(card=card, response=response)
            self.assertEqual(tage, "done" if response == "good" else 10 / 1440.0)
            card.change_due(tage)
            kkv.hc.aendere_karteikarte_in_dictionary_richtige_sammlung(kkv.sammlungsort_name, card)
            if response == "good":
                kkv.add_karte_vergessene_liste(card.get_name(), kkv.sammlungsort_name)
            kkv.dictionary_speichern(None, False)
            card = kkv.get_card()
        self.assertEqual(sorted(set(shown)), ["kk_eins-1", "kk_eins-3", "kk_zwei-2"])
        self.assertEqual(len(shown), 6)

        kkv.vergessen_zurueck_dict_herstellen(True)
        kkv.modus_vergessene_karten = False
        for sammlung in kkv.hc.liste_aller_sammlungen:
            cards = dict(sammlung.karten.items())
            self.assertEqual(repr(sorted((k, sorted(dict(v).items())) for k, v in cards.items())),
                             before[sammlung.name])

        again = karteikarten.Karteikartenverwaltung()
        again.add_haendesammlung(deck(3), "kk_eins")
        self.assertEqual(again.hc.sammlung_named("kk_eins").karten["kk_eins-1"]["due"], None)
        self.assertTrue(kkv.get_card() is not None)


if __name__ == "__main__":
    unittest.main()
