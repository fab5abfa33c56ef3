# The host components: time, places, stores and the hand import.
import datetime
import os
import shutil
import tempfile
import time
import unittest

from tavo import _core

# 2021-09-22 02:30:00.25 in Berlin (CEST), before the default day start.
NIGHT = 1632270600.25


class TimeTest(unittest.TestCase):
    def tearDown(self):
        _core._process_cf().clear_fixed_now()

    def test_fixed_now_freezes_the_process_clock(self):
        cf = _core._process_cf()
        cf.set_fixed_now(NIGHT)
        other = _core._process_cf()
        self.assertEqual(other.get_now(), NIGHT)
        self.assertEqual(other.get_datetime_now(), datetime.datetime(2021, 9, 22, 2, 30, 0, 250000))
        self.assertEqual(_core.Zeitberechnungen(3).get_old_date(1), 1632099600.0)
        cf.clear_fixed_now()
        self.assertLess(abs(other.get_now() - time.time()), 60)

    def test_learning_day(self):
        cf = _core._process_cf()
        cf.set_fixed_now(NIGHT)
        self.assertEqual(cf.get_datum_string_startzeit(3), "2021-9-21")
        self.assertEqual(cf.get_datum_string_startzeit(startzeit=2), "2021-9-22")
        self.assertEqual(cf.get_startzeit_tag_today(3), 1632186000.0)
        self.assertEqual(cf.next_learning_day_start(startzeit_tag=3), 1632272400.0)
        self.assertEqual(cf.get_now_startzeit(3), datetime.datetime(2021, 9, 21, 2, 30, 0, 250000))
        now = cf.get_time_struct_now()
        self.assertEqual((now.tm_year, now.tm_mon, now.tm_mday, now.tm_hour, now.tm_wday,
                          now.tm_yday, now.tm_isdst), (2021, 9, 22, 2, 2, 265, 1))
        with self.assertRaises(ValueError):
            cf.get_datum_string_startzeit(24)

    def test_own_instance_and_zeitberechnungen(self):
        own = _core.Common_functions()
        own.set_fixed_now(100.0)
        self.assertEqual(own.get_now(), 100.0)
        self.assertNotEqual(_core._process_cf().get_now(), 100.0)
        zeit = _core.Zeitberechnungen(startzeit_tag=5)
        zeit.set_time(datetime.datetime(2021, 9, 22, 4, 0))
        self.assertEqual((zeit.startzeit_tag, zeit.get_old_date(0)), (5, 1632193200.0))
        self.assertEqual(zeit.vorauslernen_sekunden_berechnen(0.5), 43200.0)
        with self.assertRaises(ValueError):
            _core.Zeitberechnungen(24)


class FilesTest(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.directory

    def tearDown(self):
        _core._process_cf().clear_fixed_now()
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.directory)

    def test_data_dir_and_names(self):
        self.assertEqual(_core.GetCwd().get_app_data_dir(), self.directory + "/")
        self.assertEqual(_core._process_cf().get_modul_name("kk_test"),
                         self.directory + "/legacy/kk_test.dat")
        with self.assertRaises(ValueError):
            _core._process_cf().get_modul_name("../x")

    def test_settings_round_trip(self):
        dump = _core._process_pd()
        self.assertIsNone(dump.get_kkv_settings())
        settings = {"NEW_STEPS": [1, 10], "EASY_BONUS": 1.3, "neue_karten_nur_heute": None,
                    "nested": {"a": True}}
        dump.save_default_values(settings)
        stored = _core.PickleDump().get_kkv_settings()
        self.assertEqual(stored, settings)
        self.assertIs(stored["nested"]["a"], True)
        self.assertTrue(dump.settings_path().startswith(self.directory))
        self.assertEqual(dump.get_haendesammlung("missing"), (None, False))
        self.assertEqual(dump.stored_collection_names(), [])

    def test_collection_round_trip(self):
        dump = _core._process_pd()
        sammlung = _core.Haendesammlung(
            zeitberechnung=_core.Zeitberechnungen(3), vorauslernen=0, name="kk_test",
            startzeit_tag=3, karten={"kk_test-1": {"reps": 2}})
        counts = dump.save_haendesammlung("kk_test", sammlung)
        self.assertEqual((counts["cards_written"], counts["cards_removed"]), (1, 0))
        loaded, found = dump.get_haendesammlung(name="kk_test")
        self.assertTrue(found)
        self.assertEqual(loaded.karten["kk_test-1"]["reps"], 2)
        self.assertEqual(dump.stored_collection_names(), ["kk_test"])

    def test_daily_copy(self):
        _core._process_cf().set_fixed_now(NIGHT)
        path = os.path.join(self.directory, "kkv_alle.dat")
        copier = _core.MakeDailyCopy()
        self.assertIsNone(copier.make_copy(path))
        with open(path, "w") as stored:
            stored.write("x")
        self.assertEqual(copier.make_copy(filename=path), path + ".2021-9-21")
        self.assertTrue(os.path.exists(path + ".2021-9-21"))


class HandImportTest(unittest.TestCase):
    def tearDown(self):
        _core._process_ih().clear()

    def test_make_haendeliste(self):
        ih = _core._process_ih()
        ih.register_modul("kk_test", {7: {"nord": ["AK"]}, "8": "x"})
        ih.register_hand(modul_dat="kk_test.hand9", hand=[1])
        haende = _core._process_ih().make_haendeliste(["kk_test.hand7", "kk_test.hand9"])
        self.assertEqual(haende, [{"nord": ["AK"]}, [1]])
        haende[0]["nord"].append("D")
        self.assertEqual(ih.make_haendeliste(["kk_test.hand7"])[0]["nord"], ["AK", "D"])
        with self.assertRaises(KeyError) as raised:
            ih.make_haendeliste(["kk_test.hand1"])
        self.assertEqual(raised.exception.args, ("no hand registered as 'kk_test.hand1'",))
        with self.assertRaises(TypeError):
            ih.register_modul("kk_test", {1.5: "x"})
        self.assertEqual(_core.Importiere_haende().make_haendeliste([]), [])


if __name__ == "__main__":
    unittest.main()
