# Shelf files as the host opens them with add_shelve_file: live, persistent,
# with their backup copy, and the day statistics store read-only.
import datetime
import os
import shutil
import tempfile
import unittest

from tavo import _core

# 2021-09-22 12:00 in Berlin.
NOON = 1632304800


def damage(path):
    with open(path, "wb") as damaged:
        damaged.write(b"not a database" * 300)


class ShelfCase(unittest.TestCase):
    def setUp(self):
        self.data_dir = tempfile.mkdtemp()
        os.environ["TAVO_DATA_DIR"] = self.data_dir
        _core._process_cf().set_fixed_now(NOON)
        self.kkv = _core.Karteikartenverwaltung()
        self.path = os.path.join(self.data_dir, "x.dat")

    def tearDown(self):
        _core._process_cf().clear_fixed_now()
        del os.environ["TAVO_DATA_DIR"]
        shutil.rmtree(self.data_dir)


class ShelfTest(ShelfCase):
    def test_what_the_host_writes_is_there_when_opened_again(self):
        moment = datetime.datetime(2021, 9, 22, 12, 0)
        with self.kkv.add_shelve_file(self.path) as shelf:
            shelf["k"] = [1, 2]
            shelf["d"] = {"a": (1, moment), 2: None}
            shelf["gone"] = 1.5
            del shelf["gone"]
            self.assertEqual((len(shelf), "k" in shelf, "gone" in shelf, shelf.has_key("d")),
                             (2, True, False, True))
            self.assertEqual(shelf.get("gone", "default"), "default")
        self.assertRaises(ValueError, shelf.keys)

        # The container opens the same file the same way.
        shelf = self.kkv.hc.add_shelve_file(filename=self.path)
        self.assertEqual(list(shelf), ["k", "d"])
        self.assertEqual(shelf.keys(), ["k", "d"])
        self.assertEqual(shelf.items(), [("k", [1, 2]), ("d", {"a": (1, moment), 2: None})])
        self.assertEqual(shelf.values()[0], [1, 2])
        for lookup in (shelf.__getitem__, shelf.__delitem__):
            with self.assertRaises(KeyError) as caught:
                lookup("gone")
            self.assertEqual(caught.exception.args, ("gone",))
        with self.assertRaises(TypeError):
            shelf["o"] = object()
        shelf.close()
        shelf.close()

    def test_writeback_stores_changes_made_in_place(self):
        for writeback, stored in [(False, [1]), (True, [1, 2])]:
            shelf = self.kkv.add_shelve_file(self.path, writeback)
            shelf["k"] = [1]
            shelf["k"].append(2)
            shelf.sync()
            shelf.close()
            self.assertEqual(self.kkv.add_shelve_file(self.path)["k"], stored)

    def test_backup_copy_and_the_way_back_to_it(self):
        backup = self.path + "old"
        for copy, copied in [(False, False), ("yes", False), (1, True), (True, True)]:
            if os.path.exists(backup):
                os.remove(backup)
            shelf = self.kkv.add_shelve_file(self.path, copy=copy)
            shelf["copy"] = repr(copy)
            shelf.close()
            self.assertEqual(os.path.exists(backup), copied, copy)

        # A damaged file is restored from its backup, copied when the file
        # was opened, and kept aside.
        damage(self.path)
        shelf = self.kkv.add_shelve_file(self.path)
        self.assertEqual(shelf["copy"], "1")
        shelf["after"] = 1
        shelf.close()
        self.assertTrue(os.path.exists(self.path + ".damaged"))
        os.remove(backup)
        self.assertEqual(self.kkv.add_shelve_file(self.path).keys(), ["copy", "after"])

        # Neither usable: an empty dict, not a shelf.
        damage(self.path)
        damage(backup)
        self.assertEqual(self.kkv.add_shelve_file(self.path), {})
        self.assertEqual(type(self.kkv.add_shelve_file(self.path)), dict)


class DayStatisticsShelfTest(ShelfCase):
    def test_the_store_reads_as_a_read_only_shelf_and_is_restored_from_its_backup(self):
        path = self.kkv.get_shelve_main_directory("kkv_alle.dat")
        self.kkv.add_to_shelve("kk_test", (2021, 9, 22, 3), "reps")
        shelf = self.kkv.add_shelve_file(path, copy=True)
        self.assertEqual(shelf["kk_test"], {"reps": [("2021-9-22", 3)]})
        for write in (lambda: shelf.__setitem__("kk_test", {}),
                      lambda: shelf.__delitem__("kk_test")):
            with self.assertRaises(TypeError) as raised:
                write()
            self.assertIn("written by the statistics operations", str(raised.exception))

        damage(path)
        self.assertEqual(self.kkv.add_shelve_file(path)["kk_test"], {"reps": [("2021-9-22", 3)]})
        os.remove(path + "old")
        self.assertEqual(self.kkv.get_data_from_shelve("kk_test"),
                         {"reps": [("2021-9-22", 3)]})
        self.assertTrue(os.path.exists(path + ".damaged"))


if __name__ == "__main__":
    unittest.main()
