# Declarations of the distribution analyzer and its attribute table.
from libc.stdint cimport int64_t
from libcpp.memory cimport shared_ptr
from libcpp.string cimport string
from libcpp.vector cimport vector

from std_optional cimport optional
from value_api cimport raise_py_error
from collections_api cimport SammlungRef
from holders_api cimport CppKartenhalter
from attributes_api cimport HostAttributes


cdef extern from "karteikarten/analysis/haendesammlung_verteilung_analyzer.hpp" namespace "tavo::kk":
    cdef cppclass CppAnalyzer "tavo::kk::HaendesammlungVerteilungAnalyzer":
        CppAnalyzer(SammlungRef sammlung) except +raise_py_error
        void set_grenzwert_neue_karten_heute(int64_t anzahl)
        void set_grenzwert_wiederholungen(int64_t anzahl)
        void analyse() except +raise_py_error
        void show() except +raise_py_error
        void do_()

        void get_neue_karten() except +raise_py_error
        void get_neue_karten_erfolgreich() except +raise_py_error
        void get_faellig_gestellt_noch_nie_angesehen() except +raise_py_error
        void get_heute_faellig_gestellt_bezeichner() except +raise_py_error
        void get_anzahl_neue_karten_faellig_stellbar_und_ausstehend() except +raise_py_error
        void get_beste_heute_neue() except +raise_py_error
        void get_grenzwert_maximale_wiederholungen() except +raise_py_error
        void get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich() except +raise_py_error
        void get_faellig_aber_nicht_heute() except +raise_py_error
        void get_faellige(double voraus) except +raise_py_error
        void get_faellig_wiederholt_nicht_mehr_faellig(
            const optional[vector[string]]& faellige) except +raise_py_error
        void get_wiederholte_karten() except +raise_py_error
        void get_heute_erstmalig_faellig_gestellt_noch_faellig() except +raise_py_error
        void get_heute_angesehen() except +raise_py_error
        void get_faellig_aber_nicht_heute_heute_nicht_angesehen() except +raise_py_error
        void get_faellig_aber_nicht_heute_heute_angesehen(
            const optional[vector[string]]& faellig_aber_nicht_heute_bezeichner) except +raise_py_error
        void get_heute_wiederholt_erfolgreich_noch_faellig() except +raise_py_error
        void get_heute_wiederholt_nicht_erfolgreich() except +raise_py_error
        void get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
            const optional[vector[string]]& vor_heute_faellig,
            const optional[vector[string]]& heute_faellig_gestellt) except +raise_py_error

        void assert_karten_nur_aus_sammlung() except +raise_py_error
        void assert_neue_karten() except +raise_py_error
        void assert_heute_faellig_gestellt() except +raise_py_error
        void assert_heute_faellige() except +raise_py_error
        void assert_faellige_aber_nicht_heute() except +raise_py_error
        void assert_faellig_heute_halter() except +raise_py_error
        void assert_wiederholte_karten() except +raise_py_error

        SammlungRef sammlung
        shared_ptr[CppKartenhalter] neue_karten
        shared_ptr[CppKartenhalter] heute_faellige
        shared_ptr[CppKartenhalter] faellig_aber_nicht_heute
        shared_ptr[CppKartenhalter] karten_faellig_heute_halter

    const HostAttributes[CppAnalyzer]& analyzer_attributes()
