# Common_functions, Zeitberechnungen, MakeDailyCopy, PickleDump, GetCwd and
# the hand import, and the wrappers of the package environment's parts.
# Every method takes its arguments by keyword too.

from collection_users_api cimport CppPickleDump, SaveCounts
import time as _time


cdef Zeitberechnungen wrap_zeitberechnungen(shared_ptr[CppZeitberechnungen] zeit):
    cdef Zeitberechnungen wrapper = Zeitberechnungen.__new__(Zeitberechnungen)
    wrapper.zeit = zeit
    return wrapper


def _process_cf():
    """The process-wide Common_functions, which every part of the module
    reads its time from."""
    cdef Common_functions wrapper = Common_functions.__new__(Common_functions)
    wrapper.functions = unowned_common_functions(package_environment.cf)
    return wrapper


def _process_pd():
    """The process-wide PickleDump."""
    cdef PickleDump wrapper = PickleDump.__new__(PickleDump)
    wrapper.dump = package_store
    return wrapper


def _process_ih():
    """The process-wide hand import, through which the module reaches the
    host's hands."""
    cdef Importiere_haende wrapper = Importiere_haende.__new__(Importiere_haende)
    wrapper.importer = unowned_importiere_haende(package_environment.hands)
    return wrapper


cdef class Common_functions(object):
    """The module's source of dates and times.

    Built without arguments, it reads the system clock. A learning day
    begins at a start hour (`startzeit`, `startzeit_tag`: 0..23, ValueError
    otherwise); before that hour the previous calendar day is still today.
    Local time follows the process's TZ. The module reads the process-wide
    instance, tavo.karteikarten.cf; freezing the time of another instance
    changes nothing for the module.
    """

    def __init__(self):
        self.functions = make_shared[CppCommon_functions]()

    def set_fixed_now(self, seconds):
        """Freeze time at `seconds` since the epoch; ValueError unless it is finite."""
        self.functions.get().set_fixed_now(seconds)

    def clear_fixed_now(self):
        """Return to the system clock."""
        self.functions.get().clear_fixed_now()

    def get_now(self):
        """Return the present moment in seconds since the epoch, with microsecond resolution."""
        return self.functions.get().get_now()

    def get_datetime_now(self):
        """Return the local date-time of get_now() as a datetime.datetime without time zone."""
        return to_py(datetime_now_value(self.functions.get()[0]))

    def get_datum_string_startzeit(self, startzeit):
        """Return the text key of the current learning day, e.g. "2021-9-22".

        The day begins at hour `startzeit`; the numbers have no leading zeros.
        """
        return text_to_py(self.functions.get().get_datum_string_startzeit(startzeit))

    def get_startzeit_tag_today(self, startzeit_tag):
        """Return the start of the current learning day, in seconds since the epoch.

        That is its date at `startzeit_tag`:00:00 local time.
        """
        return self.functions.get().get_startzeit_tag_today(startzeit_tag)

    def next_learning_day_start(self, startzeit_tag):
        """Return when the next learning day begins, in seconds since the epoch."""
        return self.functions.get().next_learning_day_start(startzeit_tag)

    def get_now_startzeit(self, startzeit_tag):
        """Return the present moment of the learning day as a datetime.datetime.

        That is now, or exactly 24 hours earlier while the hour is before
        `startzeit_tag`.
        """
        return to_py(now_startzeit_value(self.functions.get()[0], startzeit_tag))

    def get_time_struct_now(self):
        """Return the local time of now as a time.struct_time.

        tm_wday is 0 for Monday, tm_yday 1 for the first of January.
        """
        cdef TimeStruct now = self.functions.get().get_time_struct_now()
        return _time.struct_time((now.tm_year, now.tm_mon, now.tm_mday, now.tm_hour, now.tm_min,
                                  now.tm_sec, now.tm_wday, now.tm_yday, now.tm_isdst))

    def get_modul_name(self, name):
        """Return the path of the legacy file of the collection `name`.

        That is the application data directory + "legacy/" + `name` + ".dat".
        ValueError when `name` is not a plain file name: empty, "." or "..", or
        holding a slash, a backslash or a NUL character.
        """
        return text_to_py(package_environment.legacy_collection_file(text_from_py(name, "name")))


cdef class Zeitberechnungen(object):
    """Time calculations relative to a reference moment.

    Built with `startzeit_tag` (default 3), the hour at which a learning day
    begins (ValueError unless in 0..23). The reference moment is the one set
    with set_time, else the present moment of the module's clock,
    tavo.karteikarten.cf, at each call.
    """

    def __init__(self, startzeit_tag=3):
        cdef int start = startzeit_tag
        self.zeit = make_shared[CppZeitberechnungen](package_environment.cf, start)

    @property
    def startzeit_tag(self):
        """The hour at which a learning day begins (read-only)."""
        return self.zeit.get().startzeit_tag()

    def set_time(self, zeit):
        """Make the local moment `zeit`, a datetime.datetime, the reference for all later calls.

        TypeError for any other object.
        """
        cdef Value moment = date_time_from_py(zeit)
        self.zeit.get().set_time(moment.as_date_time())

    def get_old_date(self, days):
        """Return the start of a past learning day, in seconds since the epoch.

        That is the day `days` days before the reference moment's learning day,
        at startzeit_tag o'clock local time; 0 gives that day's own start.
        ValueError when `days` is negative.
        """
        return self.zeit.get().get_old_date(days)

    def vorauslernen_sekunden_berechnen(self, vorauslernen_tage):
        """Return the shift in seconds for learning `vorauslernen_tage` days ahead.

        A day is 86400 seconds. ValueError unless `vorauslernen_tage` is finite
        and not negative.
        """
        return self.zeit.get().vorauslernen_sekunden_berechnen(vorauslernen_tage)


cdef class MakeDailyCopy(object):
    """Keeps a backup of a file for each learning day on which it is used.

    Built with `startzeit_tag` (default 3), the hour at which a learning day
    begins (ValueError unless in 0..23); the day is read from the module's
    clock, tavo.karteikarten.cf.
    """

    def __init__(self, startzeit_tag=3):
        cdef int start = startzeit_tag
        self.copier = make_shared[CppMakeDailyCopy](package_environment.cf, start)

    def make_copy(self, filename):
        """Copy `filename` to "<filename>.<day key>" beside it, once a learning day.

        Returns the copy's path ("kkv_alle.dat.2021-9-22"), also when the copy
        already exists, or None when `filename` does not exist. The copy appears
        complete or not at all. IOError (OSError) when reading or writing fails;
        ValueError for a name holding a NUL character.
        """
        cdef optional[FsPath] copy = self.copier.get().make_copy(
            FsPath(file_name_from_py(filename, "filename")))
        return text_to_py(copy.value().text()) if copy.has_value() else None


cdef class PickleDump(object):
    """The store of collections and settings, in the application data directory.

    Built without arguments. Collections are kept in one database file, one
    record per collection and one per card; a save writes only what changed.
    The settings are kept as JSON in "settings/kkv_settings.eps". Nothing
    stays open between calls, and nothing stored is executed when read. The
    module uses the process-wide instance, tavo.karteikarten.pd.
    """

    def __init__(self):
        self.dump = make_shared[CppPickleDump](package_environment[0])

    def get_haendesammlung(self, name):
        """Return the pair (stored collection `name`, True), or (None, False).

        (None, False) when nothing is stored under that name. The collection
        comes with learning-day start 3 and no learning ahead. IOError (OSError)
        when the store exists but cannot be read.
        """
        cdef pair[SammlungRef, bool] stored = self.dump.get().get_haendesammlung(
            text_from_py(name, "name"))
        return (wrap_sammlung(stored.first), True if stored.second else False)

    def save_haendesammlung(self, name, Haendesammlung collection not None):
        """Store the Haendesammlung `collection` under `name`, writing only what changed.

        Writes the metadata when it changed and each card whose data or place
        changed, and removes stored cards that are gone; everything is written
        when the collection was not last loaded or saved under `name`. Returns a
        new dict of "cards_written", "cards_removed" and "metadata_written".
        IOError (OSError) on failure, with the store left as it was.
        """
        cdef SaveCounts counts = self.dump.get().save_haendesammlung(
            text_from_py(name, "name"), collection.sammlung.get()[0])
        return {"cards_written": counts.cards_written, "cards_removed": counts.cards_removed,
                "metadata_written": True if counts.metadata_written else False}

    def stored_collection_names(self):
        """Return the names of the stored collections, in name order, as a new list.

        Empty when nothing is stored; IOError (OSError) when the store exists but
        cannot be read.
        """
        return holder_names_to_py(self.dump.get().stored_collection_names())

    def get_kkv_settings(self):
        """Return the stored settings as a new dict, or None when none were saved.

        ValueError when the file does not hold a settings mapping; IOError
        (OSError) when it cannot be read.
        """
        cdef optional[Dict] settings = self.dump.get().get_kkv_settings()
        return dict_to_py(settings.value()) if settings.has_value() else None

    def save_default_values(self, dictionary):
        """Store the mapping `dictionary` as the settings, replacing the file atomically.

        get_kkv_settings() then returns it unchanged. IOError (OSError) when the
        file cannot be written.
        """
        self.dump.get().save_default_values(dict_from_py(dictionary))

    def collections_path(self):
        """Return the path of the collections database file."""
        return text_to_py(self.dump.get().collections_path().text())

    def settings_path(self):
        """Return the path of the settings file."""
        return text_to_py(self.dump.get().settings_path().text())


cdef class GetCwd(object):
    """Locates the application's data directory from the environment.

    Built without arguments.
    """

    def __init__(self):
        self.cwd = make_shared[CppGetCwd]()

    def get_app_data_dir(self):
        """Return the data directory, always ending in one "/".

        $TAVO_DATA_DIR when it is set and not empty; else $XDG_DATA_HOME/tavo/
        when that is set and not empty; else $HOME/.local/share/tavo/, with the
        home directory of the user's account entry when HOME is unset or empty.
        Creates nothing. RuntimeError when no home directory can be found
        (IOError when the lookup itself fails).
        """
        return text_to_py(self.cwd.get().get_app_data_dir())


cdef class Importiere_haende(object):
    """The registry of the host's hands, through which the module shows cards.

    The card "kk_test-7" stands for hand 7 of the hand module "kk_test"; its
    hand is registered as "kk_test.hand7". Built without arguments, a new
    registry is empty and the module never reads it: the module reads the
    process-wide registry, tavo.ih.importiere_haende.
    """

    def __init__(self):
        self.importer = make_shared[CppImportiere_haende]()

    def register_hand(self, modul_dat, hand):
        """Register `hand` under `modul_dat` ("kk_test.hand7"), replacing any hand there.

        A live list or mapping is kept itself; a plain one is converted into one
        of the module's own. TypeError for a value the module cannot hold.
        """
        self.importer.get().register_hand(text_from_py(modul_dat, "modul_dat"), from_py(hand))

    def register_modul(self, modulname, haende):
        """Register each hand of the mapping `haende` as "<modulname>.hand<number>".

        `haende` maps a hand number, an int or a text, to the hand's data; any
        other key raises TypeError and registers nothing.
        """
        self.importer.get().register_modul(text_from_py(modulname, "modulname"),
                                           dict_from_py(haende))

    def make_haendeliste(self, namen):
        """Return the hands registered under the names `namen`, in order, as a new list.

        Lists and mappings among them are live views of the registered hands.
        TypeError for a name that is not a text; KeyError "no hand registered as
        'kk_test.hand7'" for a name without a hand.
        """
        cdef List haende = self.importer.get().make_haendeliste(list_from_py(namen))
        cdef list result = []
        cdef size_t index
        for index in range(haende.size()):
            result.append(to_py(haende.items()[index], True))
        return result

    def clear(self):
        """Forget every registered hand."""
        self.importer.get().clear()
