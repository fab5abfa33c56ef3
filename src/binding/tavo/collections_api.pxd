# Declarations of the library's hand collections and their container.
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional
from libcpp.pair cimport pair
from libcpp.string cimport string
from libcpp.vector cimport vector

from value_api cimport Value, List, Dict, Tuple, raise_py_error
from cards_api cimport CardRecord, CardRef, Entry, CppKarteikarte
from holders_api cimport CppKartenhalter
from platform_api cimport CppZeitberechnungen, Environment


cdef extern from "karteikarten/cards/card_map.hpp" namespace "tavo::kk":
    cdef cppclass CardMap "tavo::kk::CardMap":
        CardMap()
        CardMap(const CardMap&)
        size_t size()
        bool contains(const string& name)
        CardRef find(const string& name)
        CardRef at(const string& name) except +raise_py_error
        void set(string name, CardRef record) except +raise_py_error
        void erase(const string& name) except +raise_py_error
        void clear()
        vector[string] names() except +raise_py_error


cdef extern from "platform/shelf.hpp" namespace "tavo::platform":
    cdef cppclass CppShelf "tavo::platform::Shelf":
        CppShelf()
        bool is_persistent()
        bool is_read_only()
        bool is_writeback()
        vector[string] keys() except +raise_py_error
        size_t size() except +raise_py_error
        bool contains(const string& key) except +raise_py_error
        Value get(const string& key) except +raise_py_error
        void set(const string& key, const Value& value) except +raise_py_error
        void erase(const string& key) except +raise_py_error
        void sync() except +raise_py_error
        void close() except +raise_py_error


cdef extern from "karteikarten/collection/haendesammlung.hpp" namespace "tavo::kk":
    # Card names.
    ctypedef vector[string] NameList

    cdef cppclass CppHaendesammlung "tavo::kk::Haendesammlung":
        CppHaendesammlung(Environment& environment,
                          shared_ptr[CppZeitberechnungen] zeitberechnung, int64_t vorauslernen,
                          string name, int startzeit_tag, Dict metadata,
                          CardMap karten) except +raise_py_error

        # storage
        CardMap haendesammlung_karteikarten_info_neu_erstellen(
            const Dict& modul, const string& name) except +raise_py_error
        void dictionary_speichern(const string& name, CppHaendesammlung& dictionary,
                                  const Value& modus) except +raise_py_error
        void set_permanent_fudge(const string& key) except +raise_py_error
        void fudge_erneuern(size_t position, const vector[int64_t]& rs) except +raise_py_error
        bool test_karten_enthaelt_falsche_bezeichner() except +raise_py_error
        shared_ptr[CppHaendesammlung] clone() except +raise_py_error
        void remove_card(const string& name) except +raise_py_error
        void aendere_karteikarte_in_dictionary(
            const CppKarteikarte& karteikarte) except +raise_py_error
        void set_vorauslernen_tage(int64_t zahl) except +raise_py_error

        # counts
        int64_t get_anzahl_karten() except +raise_py_error
        int64_t anzahl_due_none() except +raise_py_error
        int64_t get_anzahl_vormals_neu_heute() except +raise_py_error
        int64_t get_anzahl_neue_karten_heute_angesehen() except +raise_py_error
        int64_t get_anzahl_karten_heute_zum_ersten_mal_angesehen() except +raise_py_error
        int64_t anzahl_karte_erfolgreich_gelernt() except +raise_py_error
        int64_t get_anzahl_karte_alt_erfolgreich_wiederholt_heute() except +raise_py_error
        int64_t anzahl_erfolgreich_wiederholte_karten() except +raise_py_error
        int64_t anzahl_wiederholte_karten() except +raise_py_error
        int64_t anzahl_heute_planmaessig_wiederholte_karten() except +raise_py_error
        int64_t anzahl_insgesamt_planmaessig_wiederholte_karten() except +raise_py_error
        int64_t anzahl_alte_karten_gleich_richtig_heute() except +raise_py_error
        int64_t anzahl_alte_karten_gleich_richtig_alle_daten() except +raise_py_error
        int64_t anzahl_heute_falsch() except +raise_py_error
        int64_t anzahl_karten_heute_falsch_alle_daten() except +raise_py_error
        int64_t get_anzahl_neue_karten_gleich_richtig() except +raise_py_error
        int64_t anzahl_again_in_queue() except +raise_py_error
        int64_t get_due_today(double voraus) except +raise_py_error
        int64_t get_anzahl_moegliche_wiederholungen(
            int64_t grenzwert_wiederholungen, optional[int64_t] heute_erfolgreich_wiederholt,
            double voraus) except +raise_py_error
        int64_t wiederholbare_ueber_grenzwert(int64_t grenzwert_neu,
                                              int64_t grenzwert_wiederholungen,
                                              double voraus) except +raise_py_error
        int64_t berechne_anzahl_neue_karten_faellig_stellbar(
            int64_t grenzwert_neue_karten, bool modus_vergessene_karten,
            int64_t neue_karten_soll) except +raise_py_error
        pair[int64_t, int64_t] anzahl_neue_karten_faellig_stellbar(
            int64_t grenzwert_neue_karten) except +raise_py_error
        pair[int64_t, int64_t] get_anzahl_karten_reizung_karteikarte() except +raise_py_error
        bool heute_faellig_gestellt_kleiner_grenzwert(int64_t grenzwert) except +raise_py_error
        int64_t get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt() except +raise_py_error

        # card names
        NameList get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner() except +raise_py_error
        NameList get_bezeichner_neu_erfolgreich() except +raise_py_error
        NameList get_bezeichner_neu_erfolglos() except +raise_py_error
        NameList get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig() except +raise_py_error
        NameList get_bezeichner_heute_faellig_noch_nie_angesehen() except +raise_py_error
        NameList get_bezeichner_heute_erstes_mal_angesehen() except +raise_py_error
        NameList get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt() except +raise_py_error
        NameList get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute() except +raise_py_error
        NameList get_heute_due_nicht_heute_faellig_gestellt(double voraus) except +raise_py_error
        NameList get_bezeichner_wiederholte_karten() except +raise_py_error
        NameList get_bezeichner_wiederholt_erfolgreich(double voraus) except +raise_py_error
        NameList get_bezeichner_wiederholt_erfolgreich_noch_faellig(
            const optional[NameList]& faellig) except +raise_py_error
        NameList get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig() except +raise_py_error
        NameList get_bezeichner_heute_wiederholt_nicht_erfolgreich(
            const optional[NameList]& faellig) except +raise_py_error
        NameList get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt() except +raise_py_error
        NameList get_heute_angesehen() except +raise_py_error
        NameList get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
            const optional[NameList]& faellig_aber_nicht_heute_bezeichner,
            const optional[NameList]& heute_angesehen) except +raise_py_error
        NameList get_bezeichner_heute_nicht_faellig_heute_angesehen(
            const optional[NameList]& faellig_aber_nicht_heute_bezeichner,
            const optional[NameList]& heute_angesehen) except +raise_py_error
        NameList get_vergessene_karten(double zeitpunkt_vergangenheit) except +raise_py_error
        Dict get_neue_karten_im_umlauf() except +raise_py_error
        @staticmethod
        NameList set1_minus_set2(const NameList& a,
                                       const NameList& b) except +raise_py_error
        @staticmethod
        NameList set1_intersection_set2(const NameList& a,
                                              const NameList& b) except +raise_py_error

        # holders and candidates
        CppKartenhalter get_due_none() except +raise_py_error
        CppKartenhalter get_faellige_cards(double voraus, bool vorauslernen) except +raise_py_error
        CppKartenhalter get_due_aber_nicht_heute_faellig(double voraus) except +raise_py_error
        CppKartenhalter get_due_vor_heute() except +raise_py_error
        vector[Entry] finde_beste_neue_karte(
            int64_t anzahl, optional[int64_t] neue_im_umlauf) except +raise_py_error
        CppKartenhalter finde_beste_neue(int64_t anzahl, double voraus) except +raise_py_error
        vector[Entry] finde_beste_wiederholbare_karte(
            int64_t anzahl, double voraus,
            optional[int64_t] wiederholbare_im_umlauf_anzahl) except +raise_py_error
        vector[Entry] bezeichner_liste_to_identifier_liste(
            const NameList& liste) except +raise_py_error
        vector[Entry] wandle_bezeichner_liste_in_karten_liste_um(
            const NameList& liste) except +raise_py_error

        # choice state
        Dict set_state_neue_dict() except +raise_py_error
        void set_states_wiederholbare_in_x() except +raise_py_error
        void set_handinfo_nur_reizung(const string& cardpointer,
                                      const Value& handinfo) except +raise_py_error

        # putting new cards due in bulk
        void reset_due_to_none_if_not_faellig() except +raise_py_error
        vector[int64_t] fudge_liste_erstellen() except +raise_py_error
        void set_due_to_now(int64_t limit, int64_t minimum, int64_t diff) except +raise_py_error

        # today's metadata
        string datum_heute() except +raise_py_error
        Value get_metadata_heute(const string& key) except +raise_py_error
        void set_metadata(const string& key, const Value& wert) except +raise_py_error
        void append_to_metadata(const string& key, const Value& wert,
                                const Value& now) except +raise_py_error
        void remove_from_metadata(const string& key, const string& card) except +raise_py_error

        string name
        CardMap karten
        Dict metadata
        Value neue_dict
        shared_ptr[CppZeitberechnungen] zeitberechnung
        int64_t vorauslernen
        int startzeit_tag

    ctypedef shared_ptr[CppHaendesammlung] SammlungRef


cdef extern from "karteikarten/collection/haendesammlung_vergessen.hpp" namespace "tavo::kk":
    cdef cppclass CppHaendesammlung_vergessen "tavo::kk::Haendesammlung_vergessen"(
            CppHaendesammlung):
        void clone_haendesammlung(const CppHaendesammlung& haendesammlung) except +raise_py_error
    # A new forgotten-cards collection, held as a collection.
    SammlungRef make_haendesammlung_vergessen \
        "std::make_shared<tavo::kk::Haendesammlung_vergessen>"(
            Environment& environment, shared_ptr[CppZeitberechnungen] zeitberechnung, string name,
            int startzeit_tag) except +raise_py_error
    # The forgotten-cards collection `sammlung` is, or NULL.
    CppHaendesammlung_vergessen* as_forgotten \
        "dynamic_cast<tavo::kk::Haendesammlung_vergessen*>"(CppHaendesammlung* sammlung)


cdef extern from "karteikarten/storage/haendesammlung_container.hpp" namespace "tavo::kk":
    cdef cppclass CppHaendesammlungContainer "tavo::kk::HaendesammlungContainer":
        CppHaendesammlungContainer(Environment& env, shared_ptr[CppZeitberechnungen] zeitberechnung,
                                   int64_t vorauslernen, int startzeit_tag) except +raise_py_error

        # registry and lookup
        void add(SammlungRef sammlung) except +raise_py_error
        void remove(const SammlungRef& sammlung) except +raise_py_error
        void remove_alle_haendesammlungen() except +raise_py_error
        SammlungRef get_richtige_sammlung(const string& name) except +raise_py_error
        int64_t get_index_from_name(const string& name) except +raise_py_error
        SammlungRef sammlung_named(const string& name) except +raise_py_error
        bool check_vergessen() except +raise_py_error
        SammlungRef make_new() except +raise_py_error
        void make_aktuelle_sammlung() except +raise_py_error
        void set_vorauslernen_tage(int64_t zahl) except +raise_py_error
        CppShelf add_shelve_file(const string& filename, bool writeback,
                                 const Value& copy) except +raise_py_error
        string get_shelve_main_directory(const string& zusatz) except +raise_py_error
        void add_haendesammlung(Dict modul, const string& name) except +raise_py_error
        void fudge_erneuern() except +raise_py_error

        # operations on the collections with a given name
        void set_metadaten_richtige_sammlung(const string& name, const string& key,
                                             const Value& wert) except +raise_py_error
        void remove_from_again_in_queue_metadata_richtige_sammlung(
            const string& name, const string& key, const string& wert) except +raise_py_error
        void append_now_to_richtige_sammlung(const string& key, const Value& wert,
                                             const string& name) except +raise_py_error
        void aendere_karteikarte_in_dictionary_richtige_sammlung(
            const string& name, const CppKarteikarte& karteikarte) except +raise_py_error
        void dictionary_speichern_richtige_sammlung(const string& name,
                                                    const Value& modus) except +raise_py_error
        int64_t anzahl_karte_erfolgreich_gelernt_richtige_sammlung(
            const string& name) except +raise_py_error
        int64_t erfolgreich_wiederholte_karten_richtige_sammlung(
            const string& name) except +raise_py_error
        optional[int64_t] get_due_today_richtige_sammlung(const string& name) except +raise_py_error
        optional[int64_t] get_anzahl_neue_karte_heute_faellig_gestellt(
            const string& name) except +raise_py_error
        optional[int64_t] get_noch_nicht_due_richtige_sammlung(
            const string& name) except +raise_py_error
        NameList get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung(
            const string& name) except +raise_py_error
        NameList get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung_due_heute(
            const string& name) except +raise_py_error
        NameList get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung(
            const string& name, double voraus) except +raise_py_error
        vector[CardRef] get_faellige_richtige_sammlung(const string& name,
                                                       double voraus) except +raise_py_error
        int64_t get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung(
            const string& name) except +raise_py_error

        # operations on every collection
        void dictionary_speichern_alle_sammlungen() except +raise_py_error
        void set_metadaten_alle_sammlungen(const string& key,
                                           const Value& wert) except +raise_py_error
        void iterate_change_name() except +raise_py_error
        void iterate_get_vergessene_karten(double zeitpunkt_vergangenheit) except +raise_py_error
        vector[SammlungRef] iterate_get_cardpointer_vergessene_karten(
            double zeitpunkt_vergangenheit) except +raise_py_error
        Dict update(Dict d, const Dict& u) except +raise_py_error
        void iterate_show_due() except +raise_py_error
        void iterate_show_fudge() except +raise_py_error

        # aggregate queries
        int64_t iterate_wiederholbare_ueber_grenzwert(int64_t grenzwert_neu,
                                                      int64_t grenzwert_wiederholungen,
                                                      double voraus) except +raise_py_error
        int64_t iterate_anzahl_heute_planmaessig_wiederholte_karten() except +raise_py_error
        int64_t iterate_anzahl_insgesamt_planmaessig_wiederholte_karten() except +raise_py_error
        Value iterate_anzahl_neue_karten_heute() except +raise_py_error
        Value iterate_anzahl_wiederholt_richtig_karten_heute() except +raise_py_error
        Value anzahl_wiederholt_richtig_karten_heute_richtige_sammlung() except +raise_py_error
        Value iterate_anzahl_wiederholte_karten_heute() except +raise_py_error
        Value iterate_anzahl_alte_karten_heute() except +raise_py_error
        Value iterate_anzahl_alte_karten_heute_richtig() except +raise_py_error
        Value iterate_anzahl_erneut_gelernte_karten_heute() except +raise_py_error
        Value iterate_anzahl_erneut_gelernte_karten_heute_richtig() except +raise_py_error
        int64_t iterate_anzahl_karte_erfolgreich_gelernt() except +raise_py_error
        int64_t iterate_anzahl_erfolgreich_wiederholte_karten() except +raise_py_error
        int64_t iterate_anzahl_wiederholte_karten() except +raise_py_error
        int64_t iterate_anzahl_alte_karten_gleich_richtig_alle() except +raise_py_error
        int64_t iterate_anzahl_alte_karten_gleich_richtig_heute() except +raise_py_error
        int64_t iterate_anzahl_heute_falsch() except +raise_py_error
        int64_t iterate_anzahl_heute_falsch_alle_daten(
            const vector[SammlungRef]* liste) except +raise_py_error
        int64_t iterate_get_anzahl_neue_karten_heute_angesehen() except +raise_py_error
        int64_t iterate_get_anzahl_vormals_neu_heute() except +raise_py_error
        int64_t iterate_get_anzahl_neue_karten_gleich_richtig() except +raise_py_error
        int64_t iterate_anzahl_again_in_queue() except +raise_py_error
        int64_t get_anzahl_karten() except +raise_py_error
        int64_t iterate_get_due_today(double voraus) except +raise_py_error
        int64_t iterate_get_neue_karten() except +raise_py_error
        int64_t iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig() except +raise_py_error
        int64_t iterate_get_neue_karten_mit_erfolglos() except +raise_py_error
        pair[int64_t, int64_t] iterate_get_anzahl_karten_reizung_karteikarte() except +raise_py_error
        int64_t get_max_neue_karten_vorhanden() except +raise_py_error
        bool heute_faellig_gestellt_kleiner_grenzwert(int64_t grenzwert) except +raise_py_error
        bool existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(
            int64_t grenzwert) except +raise_py_error
        NameList iterate_get_heute_wiederholt_nicht_erfolgreich(
            const optional[NameList]& faellig) except +raise_py_error
        NameList iterate_get_heute_wiederholt_erfolgreich_noch_faellig(
            const optional[NameList]& faellig) except +raise_py_error
        vector[CardRef] iterate_get_faellige_cards(double voraus) except +raise_py_error
        int64_t iterate_get_neue_ueber_grenzwert(int64_t grenzwert) except +raise_py_error
        int64_t iterate_get_anzahl_neu_wird_heute_nicht_gelernt() except +raise_py_error

        vector[SammlungRef] liste_aller_sammlungen
        vector[SammlungRef] archiv_liste_aller_sammlungen
        shared_ptr[CppZeitberechnungen] zeitberechnung
        int64_t vorauslernen
        int startzeit_tag
        SammlungRef aktuelle_haendesammlung
        optional[string] sammlungsort_name


cdef extern from "shared_member.hpp" namespace "tavo::binding":
    shared_ptr[CppShelf] shared_shelf(CppShelf& shelf)
    # A handle to a collection's card map that keeps the collection alive.
    shared_ptr[CardMap] shared_karten "tavo::binding::shared_member"(
        const SammlungRef& owner, CardMap* member)
