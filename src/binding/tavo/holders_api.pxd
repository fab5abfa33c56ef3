# Declarations of the library's card holders, identifiers and helpers of
# the card choice.
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional
from libcpp.pair cimport pair
from libcpp.string cimport string
from libcpp.vector cimport vector

from value_api cimport Value, List, Dict, Tuple, raise_py_error
from cards_api cimport CardRecord, CardRef, Entry
from platform_api cimport Diagnostics


cdef extern from "karteikarten/cards/kartenhalter.hpp" namespace "tavo::kk":
    cdef cppclass CppKartenhalter "tavo::kk::Kartenhalter":
        CppKartenhalter()
        CppKartenhalter(const CppKartenhalter&)
        void add_karte(string bezeichner, CardRef data) except +raise_py_error
        void convert_to_identifier() except +raise_py_error
        vector[Entry]& get_identifier() except +raise_py_error
        vector[string] get_bezeichner() except +raise_py_error
        vector[CardRef] get_karten() except +raise_py_error
        bool enthaelt_bezeichner(string bezeichner) except +raise_py_error
        size_t get_laenge()
        shared_ptr[vector[Entry]] get_daten()
        void add(const CppKartenhalter& other) except +raise_py_error
        void intersect(const CppKartenhalter& other) except +raise_py_error
        shared_ptr[vector[Entry]] daten
        vector[Entry] daten_identifier


cdef extern from "karteikarten/cards/karten_identifier.hpp" namespace "tavo::kk":
    cdef cppclass IdentifiedCard "tavo::kk::IdentifiedCard":
        int64_t fudge
        CardRef data
        string name
        string sammlungsname

    cdef cppclass CppKarten_Identifier "tavo::kk::Karten_Identifier":
        CppKarten_Identifier(string sammlungsname) except +raise_py_error
        void add(int64_t fudge, CardRef karte, string kartenname) except +raise_py_error
        void add_liste(const vector[Entry]& liste) except +raise_py_error
        void add_two_tuple_list(const Diagnostics& diagnostics,
                                const vector[Entry]& liste) except +raise_py_error
        void print_liste(const Diagnostics& diagnostics) except +raise_py_error
        vector[Entry] get_3er_liste() except +raise_py_error
        string sammlungsname
        vector[IdentifiedCard] liste


cdef extern from "karteikarten/cards/heap_umwandler.hpp" namespace "tavo::kk":
    cdef cppclass CppHeap_umwandler "tavo::kk::Heap_umwandler":
        CppHeap_umwandler(vector[Entry] liste, int64_t anzahl) except +raise_py_error
        vector[Entry] do_() except +raise_py_error
        vector[Entry] do_from_list() except +raise_py_error
        bool check_int() except +raise_py_error
        int64_t anzahl


cdef extern from "holders_helpers.hpp" namespace "tavo::binding":
    # The list the selection picks from, and its replacement by a copy of
    # `liste`.
    const vector[Entry]& heap_liste(const CppHeap_umwandler& umwandler)
    void set_heap_liste(CppHeap_umwandler& umwandler, vector[Entry] liste) except +raise_py_error


cdef extern from "karteikarten/session/reihenfolge_anzeigen.hpp" namespace "tavo::kk":
    cdef cppclass CppReihenfolge_anzeigen "tavo::kk::Reihenfolge_anzeigen":
        Dict reihenfolge
