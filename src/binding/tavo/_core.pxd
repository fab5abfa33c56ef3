# The wrapper classes of the extension and the C++ objects each one holds.
# Each class is defined in the .pxi file named beside it.
from libcpp.memory cimport shared_ptr

from value_api cimport List, Dict
from cards_api cimport CardRef, CppKarteikarte
from collections_api cimport CardMap, SammlungRef, CppHaendesammlungContainer, CppShelf
from holders_api cimport (CppKartenhalter, CppKarten_Identifier, CppHeap_umwandler,
                          CppReihenfolge_anzeigen)
from platform_api cimport (CppCommon_functions, CppZeitberechnungen, CppMakeDailyCopy,
                           CppGetCwd, CppImportiere_haende)
from collection_users_api cimport CppStatistik_erfolgreich_prozent_berechnen, CppPickleDump
from manager_api cimport Manager
from analysis_api cimport CppAnalyzer


# conversions.pxi
cdef class ValueList:
    cdef List items
    cdef CardRef owner

cdef class ValueDict:
    cdef Dict entries
    cdef CardRef owner

# card_data.pxi
cdef class CardData:
    cdef CardRef record

# karteikarte.pxi
cdef class Karteikarte:
    cdef shared_ptr[CppKarteikarte] card
    cdef dict __dict__

# manager.pxi
cdef class Karteikartenverwaltung:
    cdef shared_ptr[Manager] kkv
    cdef dict __dict__

# collections.pxi
cdef class CardMapping:
    cdef shared_ptr[CardMap] cards

cdef class Haendesammlung:
    cdef SammlungRef sammlung

cdef class Haendesammlung_vergessen(Haendesammlung):
    pass

cdef class HaendesammlungContainer:
    cdef shared_ptr[CppHaendesammlungContainer] container

# shelf.pxi
cdef class Shelf:
    cdef shared_ptr[CppShelf] shelf

# holders.pxi
cdef class Kartenhalter:
    cdef shared_ptr[CppKartenhalter] holder

cdef class Karten_Identifier:
    cdef shared_ptr[CppKarten_Identifier] identifier

cdef class Heap_umwandler:
    cdef shared_ptr[CppHeap_umwandler] umwandler

cdef class Statistik_erfolgreich_prozent_berechnen:
    cdef shared_ptr[CppStatistik_erfolgreich_prozent_berechnen] statistik

cdef class Reihenfolge_anzeigen:
    cdef shared_ptr[CppReihenfolge_anzeigen] anzeige


# analyzer.pxi
cdef class HaendesammlungVerteilungAnalyzer:
    cdef shared_ptr[CppAnalyzer] analyzer
    cdef dict __dict__

# platform.pxi
cdef class Common_functions:
    cdef shared_ptr[CppCommon_functions] functions

cdef class Zeitberechnungen:
    cdef shared_ptr[CppZeitberechnungen] zeit

cdef class MakeDailyCopy:
    cdef shared_ptr[CppMakeDailyCopy] copier

cdef class PickleDump:
    cdef shared_ptr[CppPickleDump] dump

cdef class GetCwd:
    cdef shared_ptr[CppGetCwd] cwd

cdef class Importiere_haende:
    cdef shared_ptr[CppImportiere_haende] importer
