# Declarations of the library parts that take or hand out hand collections:
# the statistics of one collection and the collection store. Kept apart so
# that the declarations of the collections may use the holders and the
# platform without a cycle.
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional
from libcpp.pair cimport pair
from libcpp.string cimport string
from libcpp.vector cimport vector

from value_api cimport Dict, raise_py_error
from collections_api cimport CppHaendesammlung, SammlungRef
from holders_api cimport CppKartenhalter
from platform_api cimport FsPath, Environment


cdef extern from "karteikarten/queue/statistik_erfolgreich_prozent_berechnen.hpp" namespace "tavo::kk":
    cdef cppclass CppStatistik_erfolgreich_prozent_berechnen "tavo::kk::Statistik_erfolgreich_prozent_berechnen":
        CppStatistik_erfolgreich_prozent_berechnen(
            int64_t grenzwert_neu, int64_t grenzwert_wiederholungen, double voraus,
            SammlungRef sammlung) except +raise_py_error
        Dict do_() except +raise_py_error
        pair[CppKartenhalter, vector[string]] bestimme_neue_karten_im_umlauf() except +raise_py_error
        int64_t GW_neu_begrenzen_durch_karten_im_umlauf(int64_t neue_verfuegbar) except +raise_py_error
        int64_t gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(
            int64_t neue_begrenzt_durch_verfuegbare_karten,
            int64_t anzahl_neue_erfolgreich) except +raise_py_error
        vector[string] bestimme_wiederholbare_karten_im_umlauf(
            const vector[string]& neue) except +raise_py_error
        int64_t bestimme_wiederholbare_anzahl(
            const vector[string]& wiederholbare_im_umlauf) except +raise_py_error
        int64_t bestimme_noch_wiederholbar_grenzwert(
            int64_t anzahl_wiederholbare_im_umlauf,
            int64_t wiederholungen_erfolgreich) except +raise_py_error
        int64_t bestimme_tatsaechliche_wiederholungen(
            int64_t noch_wiederholbar_grenzwert,
            int64_t wiederholungen_erfolgreich) except +raise_py_error
        int64_t bestimme_erfolgreiche(int64_t wiederholungen_erfolgreich,
                                      int64_t anzahl_neue_erfolgreich) except +raise_py_error
        int64_t bestimme_gesamt(int64_t Wiederholungen,
                                int64_t neue_angehoben_durch_mehr_gelernt) except +raise_py_error
        pair[int64_t, int64_t] bestimme_anzahl_karten_im_umlauf(
            const CppKartenhalter& neue_karten,
            const vector[string]& heute_faellig_gestellt) except +raise_py_error
        pair[int64_t, int64_t] teile_erfolgreiche_auf(
            const vector[string]& heute_faellig_gestellt,
            const vector[string]& wiederholte_karten) except +raise_py_error
        vector[string] bestimme_erfolgreich_wiederholte_karten(
            const vector[string]& heute_faellig_gestellt) except +raise_py_error
        int64_t grenzwert_neu
        int64_t grenzwert_wiederholungen
        double voraus
        SammlungRef sammlung
        Dict dict_return
        int startzeit_tag


cdef extern from "karteikarten/collection/pickle_dump.hpp" namespace "tavo::kk":
    cdef cppclass SaveCounts "tavo::kk::SaveCounts":
        size_t cards_written
        size_t cards_removed
        bool metadata_written

    cdef cppclass CppPickleDump "tavo::kk::PickleDump":
        CppPickleDump(Environment& environment)
        pair[SammlungRef, bool] get_haendesammlung(const string& name) except +raise_py_error
        SaveCounts save_haendesammlung(const string& name,
                                       CppHaendesammlung& collection) except +raise_py_error
        vector[string] stored_collection_names() except +raise_py_error
        optional[Dict] get_kkv_settings() except +raise_py_error
        void save_default_values(const Dict& dictionary) except +raise_py_error
        FsPath collections_path() except +raise_py_error
        FsPath settings_path() except +raise_py_error
