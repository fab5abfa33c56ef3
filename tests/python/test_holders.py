# The card holders, identifiers and candidate entries as the host sees them.
import unittest

from tavo import _core


def holder_of(*cards):
    """A Kartenhalter holding (fudge, name) cards, in order."""
    holder = _core.Kartenhalter()
    for fudge, name in cards:
        holder.add_karte(name, {"fudge": fudge})
    return holder


class KartenhalterTest(unittest.TestCase):
    def test_new_holder_is_empty(self):
        holder = _core.Kartenhalter()
        self.assertEqual((holder.get_laenge(), holder.get_bezeichner(), holder.get_karten()),
                         (0, [], []))
        self.assertEqual(holder.get_identifier(), [])
        self.assertEqual(holder.daten, [])

    def test_card_data_is_live(self):
        holder = holder_of((7, "a-1"))
        data, name = holder.get_daten()[0]
        self.assertEqual(name, "a-1")
        data["reps"] = 4
        self.assertEqual(holder.get_karten()[0]["reps"], 4)
        other = _core.Kartenhalter()
        other.add_karte("a-1", holder.get_karten()[0])
        other.daten[0][0]["lapses"] = 2
        self.assertEqual(holder.get_identifier()[0][1]["lapses"], 2)
        self.assertEqual(holder.get_identifier()[0][0], 7)

    def test_identifier_is_built_once(self):
        holder = holder_of((7, "a-1"))
        self.assertEqual([entry[0] for entry in holder.get_identifier()], [7])
        holder.add_karte("a-2", {"fudge": 3})
        self.assertEqual(len(holder.get_identifier()), 1)
        self.assertTrue(holder.enthaelt_bezeichner("a-2"))
        self.assertFalse(holder.enthaelt_bezeichner("a-3"))

    def test_identifier_needs_fudge(self):
        holder = _core.Kartenhalter()
        holder.add_karte("a-1", {})
        with self.assertRaises(KeyError) as raised:
            holder.convert_to_identifier()
        self.assertEqual(raised.exception.args, ("fudge",))

    def test_intersect_is_a_union_of_equal_pairs(self):
        held = holder_of((1, "a-1"), (2, "a-2"))
        held.intersect(holder_of((1, "a-1"), (3, "a-2"), (2, "a-2"), (4, "a-4")))
        self.assertEqual([(data["fudge"], name) for data, name in held.daten],
                         [(1, "a-1"), (2, "a-2"), (3, "a-2"), (4, "a-4")])

        empty, other = _core.Kartenhalter(), holder_of((1, "a-1"))
        empty.intersect(other)
        other.add_karte("a-2", {"fudge": 2})
        empty.add_karte("a-3", {"fudge": 3})
        self.assertEqual(empty.get_bezeichner(), ["a-1", "a-2", "a-3"])
        self.assertEqual(other.get_bezeichner(), ["a-1", "a-2", "a-3"])
        both = holder_of((4, "b-1"))
        both.add(both)
        self.assertEqual(both.get_bezeichner(), ["b-1", "b-1"])
        with self.assertRaises(TypeError):
            both.add([])


class HeapUmwandlerTest(unittest.TestCase):
    def test_lowest_fudge(self):
        pairs = holder_of((7, "a"), (3, "b")).get_daten()
        self.assertEqual([(f, n) for f, _, n in _core.Heap_umwandler(pairs).do_from_list()],
                         [(3, "b")])
        chosen = _core.Heap_umwandler(liste=pairs, anzahl=5).do_from_list()
        self.assertEqual([(f, n) for f, _, n in chosen], [(3, "b"), (7, "a")])
        self.assertEqual(chosen[0][1], pairs[1][0])
        triples = [(9, {}, "x"), (4, {}, "y"), (6, {}, "z")]
        self.assertEqual(_core.Heap_umwandler(triples, 2).do_from_list()[1][2], "z")
        empty = _core.Heap_umwandler([])
        self.assertEqual((empty.do_from_list(), empty.check_int()), ([], True))

    def test_do_wants_pairs(self):
        with self.assertRaises(ValueError) as raised:
            _core.Heap_umwandler([(1, {}, "x")]).do()
        self.assertEqual(str(raised.exception), "too many values to unpack")


class KartenIdentifierTest(unittest.TestCase):
    def test_pairs_and_triples(self):
        identifier = _core.Karten_Identifier("S")
        identifier.add_two_tuple_list([({"fudge": 5}, "S-1"), (2, {}, "S-2")])
        self.assertEqual([(f, n, s) for f, _, n, s in identifier.liste],
                         [(5, "S-1", "S"), (2, "S-2", "S")])
        self.assertEqual([(f, n) for f, _, n in identifier.get_3er_liste()],
                         [(5, "S-1"), (2, "S-2")])
        identifier.liste = identifier.liste[1:]
        self.assertEqual(identifier.liste[0][2], "S-2")
        identifier.add_liste([[7, {"fudge": 1}, "S-3"], (8, {}, "S-4", "ignored")])
        self.assertEqual([(f, n) for f, _, n, _ in identifier.liste],
                         [(2, "S-2"), (7, "S-3"), (8, "S-4")])

    def test_malformed_candidates(self):
        cases = [
            ((1, {}, "x", "y"), ValueError, "Element sollte Laenge 2 oder 3 haben"),
            ([1, {}, "x"], ValueError, "Element sollte Laenge 2 oder 3 haben"),
            (("1", {}, "x"), TypeError, "Element 0 sollte int sein"),
            ((1, 5, "x"), TypeError, "Element 1 sollte dict sein"),
            ((5, "x"), TypeError, "Element 1 sollte dict sein"),
            ((1, {}, 5), TypeError, "Element 2 sollte basestring sein"),
        ]
        for candidate, error, message in cases:
            identifier = _core.Karten_Identifier("S")
            with self.assertRaises(error) as raised:
                identifier.add_two_tuple_list([(1, {}, "S-0"), candidate, (2, {}, "S-2")])
            self.assertEqual(str(raised.exception), message)
            self.assertEqual([entry[2] for entry in identifier.liste], ["S-0"])
        identifier = _core.Karten_Identifier("S")
        with self.assertRaises(IndexError) as raised:
            identifier.add_liste([(1, {}, "S-1"), ({}, "S-2")])
        self.assertEqual(str(raised.exception), "tuple index out of range")
        self.assertEqual(len(identifier.liste), 1)
        with self.assertRaises(KeyError):
            identifier.add_two_tuple_list([({}, "S-3")])


class SmallClassesTest(unittest.TestCase):
    def test_reihenfolge_is_live(self):
        anzeige = _core.Reihenfolge_anzeigen()
        anzeige.reihenfolge["a"] = [1]
        anzeige.reihenfolge["a"].append(2)
        self.assertEqual(anzeige.reihenfolge, {"a": [1, 2]})

    def test_statistik_of_a_collection(self):
        with self.assertRaises(TypeError):
            _core.Statistik_erfolgreich_prozent_berechnen(10, 50, 0.0, None)
        sammlung = _core.Haendesammlung(
            zeitberechnung=_core.Zeitberechnungen(3), vorauslernen=0, name="kk_test",
            startzeit_tag=3, karten={"kk_test-1": {"fudge": 1}, "kk_test-2": {"fudge": 2}})
        statistik = _core.Statistik_erfolgreich_prozent_berechnen(
            grenzwert_neu=1, grenzwert_wiederholungen=50, voraus=0.0, sammlung=sammlung)
        figures = statistik.do()
        self.assertEqual((len(figures), figures["neue_verfuegbar"], figures["gesamt"]), (13, 2, 1))
        neue, faellig = statistik.bestimme_neue_karten_im_umlauf()
        self.assertEqual(sorted(neue.get_bezeichner()), ["kk_test-1", "kk_test-2"])
        self.assertEqual(faellig, [])
        self.assertEqual((statistik.sammlung, statistik.dict_return, statistik.startzeit_tag),
                         (sammlung, {}, 3))
        self.assertEqual(statistik.bestimme_noch_wiederholbar_grenzwert(15, 10), 15)
        self.assertEqual(statistik.bestimme_noch_wiederholbar_grenzwert(
            anzahl_wiederholbare_im_umlauf=5, wiederholungen_erfolgreich=60), 0)
        self.assertEqual(statistik.bestimme_tatsaechliche_wiederholungen(0, 60), 60)
        self.assertEqual(statistik.teile_erfolgreiche_auf(["a"], ["a", "b"]), (1, 1))
        self.assertEqual(statistik.teile_erfolgreiche_auf(None, ["a", "b"]), (2, 0))
        self.assertEqual(statistik.bestimme_anzahl_karten_im_umlauf(neue, {"x"}), (1, 3))
        self.assertEqual(statistik.bestimme_wiederholbare_anzahl(None), 0)


if __name__ == "__main__":
    unittest.main()
