# Declarations of the manager, Karteikartenverwaltung.
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional
from libcpp.string cimport string
from libcpp.vector cimport vector
from libcpp.pair cimport pair

from value_api cimport Value, List, Dict, Tuple, DateTime, raise_py_error
from cards_api cimport CardRef, Entry, CppKarteikarte
from collections_api cimport SammlungRef, CppHaendesammlungContainer


cdef extern from "karteikarten/frame/karteikartenverwaltung.hpp" namespace "tavo::kk":
    cdef cppclass Manager "tavo::kk::Karteikartenverwaltung":
        Manager(int64_t vorauslernen, bool nur_neue,
                optional[int64_t] neue_karten_pro_tag) except +raise_py_error
        CppHaendesammlungContainer hc
        int64_t neue_karten_pro_tag
