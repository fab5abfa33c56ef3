# Common_functions, Zeitberechnungen, MakeDailyCopy, PickleDump, GetCwd and
# the hand import, and the wrappers of their process-wide instances. Every
# method takes its arguments by keyword too.

from collection_users_api cimport CppPickleDump, SaveCounts, pd, unowned_pickle_dump
import time as _time


cdef Zeitberechnungen wrap_zeitberechnungen(shared_ptr[CppZeitberechnungen] zeit):
    cdef Zeitberechnungen wrapper = Zeitberechnungen.__new__(Zeitberechnungen)
    wrapper.zeit = zeit
    return wrapper


def _process_cf():
    """The process-wide Common_functions, which every part of the module
    reads its time from."""
    cdef Common_functions wrapper = Common_functions.__new__(Common_functions)
    wrapper.functions = unowned_common_functions(cf())
    return wrapper


def _process_pd():
    """The process-wide PickleDump."""
    cdef PickleDump wrapper = PickleDump.__new__(PickleDump)
    wrapper.dump = unowned_pickle_dump(pd())
    return wrapper


def _process_ih():
    """The process-wide hand import, through which the module reaches the
    host's hands."""
    cdef Importiere_haende wrapper = Importiere_haende.__new__(Importiere_haende)
    wrapper.importer = unowned_importiere_haende(ih())
    return wrapper


cdef class Common_functions(object):

    def __init__(self):
        self.functions = make_shared[CppCommon_functions]()

    def set_fixed_now(self, seconds):
        self.functions.get().set_fixed_now(seconds)

    def clear_fixed_now(self):
        self.functions.get().clear_fixed_now()

    def get_now(self):
        return self.functions.get().get_now()

    def get_datetime_now(self):
        return to_py(datetime_now_value(self.functions.get()[0]))

    def get_datum_string_startzeit(self, startzeit):
        return text_to_py(self.functions.get().get_datum_string_startzeit(startzeit))

    def get_startzeit_tag_today(self, startzeit_tag):
        return self.functions.get().get_startzeit_tag_today(startzeit_tag)

    def next_learning_day_start(self, startzeit_tag):
        return self.functions.get().next_learning_day_start(startzeit_tag)

    def get_now_startzeit(self, startzeit_tag):
        return to_py(now_startzeit_value(self.functions.get()[0], startzeit_tag))

    def get_time_struct_now(self):
        cdef TimeStruct now = self.functions.get().get_time_struct_now()
        return _time.struct_time((now.tm_year, now.tm_mon, now.tm_mday, now.tm_hour, now.tm_min,
                                  now.tm_sec, now.tm_wday, now.tm_yday, now.tm_isdst))

    def get_modul_name(self, name):
        return text_to_py(self.functions.get().get_modul_name(text_from_py(name, "name")))


cdef class Zeitberechnungen(object):

    def __init__(self, startzeit_tag=3):
        cdef int start = startzeit_tag
        self.zeit = make_shared[CppZeitberechnungen](start)

    @property
    def startzeit_tag(self):
        return self.zeit.get().startzeit_tag()

    def set_time(self, zeit):
        cdef Value moment = date_time_from_py(zeit)
        self.zeit.get().set_time(moment.as_date_time())

    def get_old_date(self, days):
        return self.zeit.get().get_old_date(days)

    def vorauslernen_sekunden_berechnen(self, vorauslernen_tage):
        return self.zeit.get().vorauslernen_sekunden_berechnen(vorauslernen_tage)


cdef class MakeDailyCopy(object):

    def __init__(self, startzeit_tag=3):
        cdef int start = startzeit_tag
        self.copier = make_shared[CppMakeDailyCopy](start)

    def make_copy(self, filename):
        cdef optional[FsPath] copy = self.copier.get().make_copy(
            FsPath(file_name_from_py(filename, "filename")))
        return text_to_py(copy.value().text()) if copy.has_value() else None


cdef class PickleDump(object):

    def __init__(self):
        self.dump = make_shared[CppPickleDump]()

    def get_haendesammlung(self, name):
        cdef pair[SammlungRef, bool] stored = self.dump.get().get_haendesammlung(
            text_from_py(name, "name"))
        return (wrap_sammlung(stored.first), True if stored.second else False)

    def save_haendesammlung(self, name, Haendesammlung collection not None):
        """Stores `collection` under `name`; gives what was written, as a
        mapping of "cards_written", "cards_removed" and "metadata_written"."""
        cdef SaveCounts counts = self.dump.get().save_haendesammlung(
            text_from_py(name, "name"), collection.sammlung.get()[0])
        return {"cards_written": counts.cards_written, "cards_removed": counts.cards_removed,
                "metadata_written": True if counts.metadata_written else False}

    def stored_collection_names(self):
        return holder_names_to_py(self.dump.get().stored_collection_names())

    def get_kkv_settings(self):
        cdef optional[Dict] settings = self.dump.get().get_kkv_settings()
        return dict_to_py(settings.value()) if settings.has_value() else None

    def save_default_values(self, dictionary):
        self.dump.get().save_default_values(dict_from_py(dictionary))

    def collections_path(self):
        return text_to_py(self.dump.get().collections_path().text())

    def settings_path(self):
        return text_to_py(self.dump.get().settings_path().text())


cdef class GetCwd(object):

    def __init__(self):
        self.cwd = make_shared[CppGetCwd]()

    def get_app_data_dir(self):
        return text_to_py(self.cwd.get().get_app_data_dir())


cdef class Importiere_haende(object):

    def __init__(self):
        self.importer = make_shared[CppImportiere_haende]()

    def register_hand(self, modul_dat, hand):
        self.importer.get().register_hand(text_from_py(modul_dat, "modul_dat"), from_py(hand))

    def register_modul(self, modulname, haende):
        self.importer.get().register_modul(text_from_py(modulname, "modulname"),
                                           dict_from_py(haende))

    def make_haendeliste(self, namen):
        """The hands registered under `namen`, shared with the registry."""
        cdef List haende = self.importer.get().make_haendeliste(list_from_py(namen))
        cdef list result = []
        cdef size_t index
        for index in range(haende.size()):
            result.append(to_py(haende.items()[index], True))
        return result

    def clear(self):
        self.importer.get().clear()
