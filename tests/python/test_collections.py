# The hand collections and their container as the host sees them.
import os
import shutil
import tempfile
import unittest

from tavo import _core

# 2021-09-22 12:00 in Berlin: learning day "2021-9-22".
NOON = 1632304800


class CollectionCase(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir
        _core._process_cf().set_fixed_now(NOON)
        self.zeit = _core.Zeitberechnungen(3)

    def tearDown(self):
        _core._process_cf().clear_fixed_now()
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)

    def sammlung(self, name="kk_test", cards=("1", "2", "3"), cls=None):
        sammlung = (cls or _core.Haendesammlung)(zeitberechnung=self.zeit, vorauslernen=0,
                                                 name=name, startzeit_tag=3)
        for card in cards:
            sammlung.karten[name + "-" + card] = {"due": None}
        return sammlung


class HaendesammlungTest(CollectionCase):
    def test_built_from_plain_dicts(self):
        sammlung = _core.Haendesammlung(self.zeit, 2, "kk_test", 3, {"neu": {"2021-9-22": 4}},
                                        {"kk_test-1": {"due": None, "frage": "1NT?"}})
        self.assertEqual((sammlung.name, sammlung.vorauslernen, sammlung.startzeit_tag),
                         ("kk_test", 2, 3))
        self.assertTrue(isinstance(sammlung.zeitberechnung, _core.Zeitberechnungen))
        card = sammlung.karten["kk_test-1"]
        self.assertEqual((card["reps"], card["ease_factor"], card["frage"]), (0, 130, "1NT?"))
        self.assertEqual(sammlung.get_metadata_heute(key="neu"), 4)
        with self.assertRaises(TypeError) as caught:
            _core.Haendesammlung(self.zeit, 0, "kk_test", 3, karten={"kk_test-1": 5})
        self.assertEqual(str(caught.exception), "card data must be a mapping, not int")

    def test_karten_is_live(self):
        sammlung = self.sammlung()
        karten = sammlung.karten
        self.assertEqual(karten.keys(), ["kk_test-1", "kk_test-2", "kk_test-3"])
        self.assertEqual(sammlung.anzahl_due_none(), 3)
        karten["kk_test-2"]["due"] = 5.0
        self.assertEqual(sammlung.anzahl_due_none(), 2)
        self.assertEqual(sammlung.karten["kk_test-2"]["due"], 5.0)
        with self.assertRaises(TypeError) as caught:
            karten["kk_test-1"]["reps"] = "x"
        self.assertEqual(str(caught.exception), "card data 'reps' must be int, got str")

        del karten["kk_test-1"]
        self.assertFalse("kk_test-1" in karten)
        self.assertEqual((len(karten), sammlung.get_anzahl_karten()), (2, 2))
        self.assertEqual([name for name, card in karten.items()], ["kk_test-2", "kk_test-3"])
        self.assertEqual(karten.get("kk_test-9", "none"), "none")

        # Live card data handed to another collection is the same card.
        andere = self.sammlung("kk_andere", cards=())
        andere.karten = {"kk_test-2": karten["kk_test-2"]}
        andere.karten["kk_test-2"]["reps"] = 7
        self.assertEqual(karten["kk_test-2"]["reps"], 7)
        sammlung.remove_card("kk_test-3")
        self.assertEqual(list(karten), ["kk_test-2"])

    def test_a_missing_key_arrives_as_the_key_itself(self):
        sammlung = self.sammlung()
        karten, card = sammlung.karten, sammlung.karten["kk_test-1"]
        lookups = [(card.__getitem__, key) for key in ("missing", 7, "it's", "a\nb")]
        lookups += [(karten.__getitem__, "kk_test-9"), (karten.__delitem__, "kk_test-9"),
                    (sammlung.remove_card, "kk_test-9")]
        for lookup, key in lookups:
            with self.assertRaises(KeyError) as caught:
                lookup(key)
            self.assertEqual(caught.exception.args, (key,))

    def test_metadata_is_live(self):
        sammlung = self.sammlung()
        sammlung.set_metadata("heute_falsch", "kk_test-1")
        self.assertEqual(sammlung.metadata["heute_falsch"], {"2021-9-22": ["kk_test-1"]})
        sammlung.metadata["heute_falsch"]["2021-9-22"].append("kk_test-2")
        self.assertEqual(sammlung.anzahl_heute_falsch(), 2)
        heute = sammlung.get_metadata_heute("heute_falsch")
        heute.append("kk_test-3")
        self.assertEqual(sammlung.anzahl_heute_falsch(), 3)
        sammlung.metadata = {}
        self.assertEqual((sammlung.anzahl_heute_falsch(), sammlung.get_metadata_heute("x")),
                         (0, None))

    def test_arguments_and_results(self):
        sammlung = self.sammlung()
        self.assertEqual(sammlung.get_faellige_cards().get_bezeichner(), [])
        karten = sammlung.karten
        karten["kk_test-1"]["due"] = float(NOON - 60)
        self.assertEqual(sammlung.get_faellige_cards(voraus=0, vorauslernen=True).get_bezeichner(),
                         ["kk_test-1"])
        self.assertEqual(sammlung.get_due_today(600), 1)
        new = sammlung.finde_beste_neue_karte(anzahl=5, neue_im_umlauf=1)
        self.assertEqual([(card is not None, name) for card, name in new], [(True, "kk_test-2")])
        self.assertEqual(_core.Haendesammlung.set1_minus_set2(("a", "b", "a"), iter(["b"])), ["a"])
        self.assertEqual(sammlung.get_bezeichner_heute_nicht_faellig_heute_angesehen(
            heute_angesehen=["kk_test-1"]), [])
        with self.assertRaises(TypeError):
            sammlung.set1_intersection_set2("ab", ["a"])
        with self.assertRaises(TypeError):
            sammlung.get_due_today(0, 1)
        with self.assertRaises(TypeError):
            sammlung.set_metadata("key")
        with self.assertRaises(ValueError) as caught:
            sammlung.set_permanent_fudge(key="permanent_fudge_x")
        self.assertEqual(str(caught.exception), "unknown permanent fudge key 'permanent_fudge_x'")

    def test_fresh_cards_candidates_and_choice_state(self):
        sammlung = _core.Haendesammlung(self.zeit, 0, "kk_test", 3)
        sammlung.karten = sammlung.haendesammlung_karteikarten_info_neu_erstellen(
            modul={1: {"frage": "a"}, 2: {"frage": "b"}}, name="kk_test")
        self.assertEqual(sammlung.karten.keys(), ["kk_test-1", "kk_test-2"])
        sammlung.fudge_erneuern(position=1, rs=[9, 4, 2])
        self.assertEqual(sammlung.fudge_liste_erstellen(), [2, 4])
        [(fudge, card, name)] = sammlung.bezeichner_liste_to_identifier_liste(["kk_test-2"])
        self.assertEqual((fudge, card["frage"], name), (2, "b", "kk_test-2"))
        card["reps"] = 1
        self.assertEqual(sammlung.karten["kk_test-2"]["reps"], 1)

        neue = sammlung.set_state_neue_dict()
        self.assertEqual(neue["gesamt"], ["kk_test-1", "kk_test-2"])
        neue["gesamt"].pop()
        self.assertEqual(sammlung.neue_dict["gesamt"], ["kk_test-1"])
        sammlung.neue_dict = None
        self.assertTrue(sammlung.neue_dict is None)

        kopie = sammlung.clone()
        kopie.karten["kk_test-1"]["reps"] = 5
        self.assertEqual((kopie == sammlung, sammlung.karten["kk_test-1"]["reps"]), (False, 0))

    def test_forgotten_cards_collection(self):
        normal = self.sammlung()
        normal.metadata["heute_falsch"] = {"2021-9-22": ["kk_test-1"]}
        vergessen = _core.Haendesammlung_vergessen(zeitberechnung=self.zeit, vorauslernen=0,
                                                   name="kk_test_vergessen", startzeit_tag=3)
        vergessen.clone_haendesammlung(normal)
        self.assertEqual(vergessen.karten.keys(), normal.karten.keys())
        vergessen.karten["kk_test-1"]["reps"] = 3
        vergessen.metadata["heute_falsch"]["2021-9-22"].append("kk_test-2")
        self.assertEqual(normal.karten["kk_test-1"]["reps"], 0)
        self.assertEqual(normal.anzahl_heute_falsch(), 1)

        container = _core.HaendesammlungContainer(self.zeit, 0, 3)
        container.add(vergessen)
        self.assertTrue(isinstance(container.liste_aller_sammlungen[0],
                                   _core.Haendesammlung_vergessen))
        self.assertTrue(container.check_vergessen())


class HaendesammlungContainerTest(CollectionCase):
    def test_registry(self):
        container = _core.HaendesammlungContainer(zeitberechnung=self.zeit, vorauslernen=0,
                                                  startzeit_tag=3)
        self.assertEqual((container.liste_aller_sammlungen, container.aktuelle_haendesammlung,
                          container.sammlungsort_name), ([], None, None))
        erste, zweite = self.sammlung("kk_a"), self.sammlung("kk_b", cards=("1",))
        container.add(erste)
        container.add(zweite)
        self.assertEqual(container.get_index_from_name("kk_b"), 1)
        self.assertEqual(container.get_index_from_name("kk_c"), -1)
        self.assertEqual(container.get_richtige_sammlung("kk_b"), zweite)
        self.assertTrue(container.get_richtige_sammlung("kk_c") is None)
        self.assertEqual((container.get_anzahl_karten(), container.get_max_neue_karten_vorhanden()),
                         (4, 3))
        self.assertEqual(container.get_noch_nicht_due_richtige_sammlung("kk_c"), None)

        container.get_richtige_sammlung("kk_a").karten["kk_a-1"]["due"] = 1.0
        self.assertEqual(erste.anzahl_due_none(), 2)

        with self.assertRaises(KeyError) as caught:
            container.sammlung_named("kk_c")
        self.assertEqual(caught.exception.args, ("no registered collection 'kk_c'",))
        with self.assertRaises(ValueError) as caught:
            container.remove(self.sammlung("kk_a"))
        self.assertEqual(str(caught.exception), "list.remove(x): x not in list")

        container.remove(container.liste_aller_sammlungen[0])
        self.assertEqual([s.name for s in container.liste_aller_sammlungen], ["kk_b"])
        container.liste_aller_sammlungen = [zweite, erste]
        self.assertEqual(container.get_index_from_name("kk_a"), 1)
        container.make_aktuelle_sammlung()
        self.assertEqual(container.liste_aller_sammlungen[2], container.aktuelle_haendesammlung)

    def test_loads_a_collection_for_a_hand_module(self):
        container = _core.HaendesammlungContainer(self.zeit, 0, 3)
        container.add_haendesammlung({7: {"frage": "2C?"}, "kk_test-8": {"frage": "3H?"}},
                                     "kk_test")
        sammlung = container.sammlung_named("kk_test")
        self.assertEqual(sorted(sammlung.karten), ["kk_test-7", "kk_test-8"])
        self.assertEqual(sammlung.karten["kk_test-7"]["frage"], "2C?")
        container.set_metadaten_richtige_sammlung("kk_test", "neu", 2)
        container.append_now_to_richtige_sammlung(key="zeit", wert=1, name="kk_test")
        self.assertEqual(container.iterate_anzahl_neue_karten_heute(), 2)
        self.assertEqual(len(sammlung.get_metadata_heute("zeit")), 1)
        self.assertEqual(container.iterate_get_heute_wiederholt_nicht_erfolgreich(), [])
        self.assertEqual(container.iterate_anzahl_heute_falsch_alle_daten(liste=[sammlung]), 0)

    def test_aggregates_over_collections(self):
        container = _core.HaendesammlungContainer(self.zeit, 0, 3)
        self.assertEqual((container.iterate_anzahl_neue_karten_heute(),
                          container.heute_faellig_gestellt_kleiner_grenzwert(grenzwert=1),
                          container.check_vergessen()), (0, False, False))
        erste, zweite = self.sammlung("kk_a"), self.sammlung("kk_b", cards=("1",))
        container.liste_aller_sammlungen = [erste, zweite]
        erste.set_metadata("neu", 2)
        zweite.set_metadata("neu", 0.5)
        self.assertEqual(container.iterate_anzahl_neue_karten_heute(), 2.5)
        erste.karten["kk_a-2"]["due"] = float(NOON - 60)
        self.assertEqual([card["due"] for card in container.iterate_get_faellige_cards()],
                         [NOON - 60.0])
        self.assertEqual(container.get_due_today_richtige_sammlung("kk_a"), 1)
        self.assertEqual(container.iterate_get_anzahl_karten_reizung_karteikarte(), (0, 4))
        container.iterate_change_name()
        self.assertEqual([s.name for s in container.liste_aller_sammlungen],
                         ["kk_a_vergessen", "kk_b_vergessen"])
        self.assertTrue(container.check_vergessen())


if __name__ == "__main__":
    unittest.main()
