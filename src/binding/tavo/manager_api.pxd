# Declarations of the manager, Karteikartenverwaltung, and of the results of
# its card choice.
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional
from libcpp.string cimport string
from libcpp.vector cimport vector
from libcpp.pair cimport pair

from value_api cimport Value, List, Dict, Tuple, DateTime, raise_py_error
from cards_api cimport CardRef, Entry, CppKarteikarte
from collections_api cimport CardMap, CppShelf, SammlungRef, CppHaendesammlungContainer
from holders_api cimport CppReihenfolge_anzeigen
from platform_api cimport CppZeitberechnungen, Environment


cdef extern from "karteikarten/queue/picked_candidate.hpp" namespace "tavo::kk":
    # Nothing, one entry, or a list of entries.
    cdef cppclass PickedCandidate "tavo::kk::PickedCandidate":
        PickedCandidate()
        PickedCandidate(Entry entry)
        PickedCandidate(vector[Entry] liste)

    cdef cppclass ChosenCandidate "tavo::kk::ChosenCandidate":
        CardRef data
        optional[string] name
        optional[string] sammlungsname

    # (card name, collection name)
    ctypedef pair[optional[string], optional[string]] CardAndCollection

    cdef cppclass FoundCard "tavo::kk::FoundCard":
        optional[string] name
        optional[string] sammlungsname
        int64_t index


cdef extern from "<variant>" namespace "std":
    bool picked_is_entry "std::holds_alternative<tavo::kk::Entry>"(const PickedCandidate& picked)
    bool picked_is_list "std::holds_alternative<std::vector<tavo::kk::Entry>>"(
        const PickedCandidate& picked)
    const Entry& picked_entry "std::get<tavo::kk::Entry>"(const PickedCandidate& picked)
    const vector[Entry]& picked_list "std::get<std::vector<tavo::kk::Entry>>"(
        const PickedCandidate& picked)


cdef extern from "karteikarten/frame/karteikartenverwaltung.hpp" namespace "tavo::kk":
    cdef cppclass Manager "tavo::kk::Karteikartenverwaltung":
        Manager(Environment& env, int64_t vorauslernen, bool nur_neue,
                optional[int64_t] neue_karten_pro_tag) except +raise_py_error

        # registration, current collection and small operations
        SammlungRef create_temp_haendesammlung(
            shared_ptr[CppZeitberechnungen] zeitberechnung, int64_t vorauslernen,
            const string& name, int startzeit_tag, const Dict& metadata,
            const CardMap& karten) except +raise_py_error
        CppShelf add_shelve_file(const string& filename, bool writeback,
                                 const Value& copy) except +raise_py_error
        string get_shelve_main_directory(const string& zusatz) except +raise_py_error
        void add_haendesammlung(Dict modul, const string& name) except +raise_py_error
        void set_sammlungsort_name(const optional[string]& name,
                                   const Value& index) except +raise_py_error
        SammlungRef bestimme_gegenwaertige_sammlung() except +raise_py_error
        void dictionary_speichern(const Value& name, const Value& modus) except +raise_py_error
        void remove_alle_haendesammlungen() except +raise_py_error
        void nur_neue_einstellen()
        void set_vorauslernen(int64_t wert)
        void vorauslernen_einstellen(int64_t wert)
        void heute_gelernt_hochsetzen()
        void set_durchlauf10_counter() except +raise_py_error
        void eintragen_ob_karte_erfolgreich(const Value& card, const Value& response)
        void bestimme_sammlungsort_name(const Value& ausgewaehlte_karte)
        void adjustiere_liste_haendesammlungen(const Value& liste)
        void add_frage_antwort_to_hand_objekt(const Value& frage, const Value& antwort)
        void archiv_alle_sammlungen_erstellen()
        void sync_sammlungsort_liste_aller_sammlungen()
        void sortiere_nach_faelligkeit()

        # time helpers
        double get_seconds_since_epoch() except +raise_py_error
        void set_vorauslernen_tage(int64_t zahl) except +raise_py_error
        double minutes_to_days(double minutes)
        string human_friendly_time(const Value& days) except +raise_py_error

        # answer scheduling
        Value schedule(const Value& event, CppKarteikarte& card, const string& response,
                       bool test) except +raise_py_error
        Tuple get_interval_responses(const CppKarteikarte& card) except +raise_py_error

        # lateness, early review and due jitter
        double schedule_vorauslernen(CppKarteikarte& card,
                                     const string& response) except +raise_py_error
        int64_t _tage_verspaetet(const CppKarteikarte& card) except +raise_py_error
        void due_fudge_nochmal_aendern(CppKarteikarte& card) except +raise_py_error
        Value calculate_anzahl_press_good_bis_mature(
            const CppKarteikarte& card) except +raise_py_error

        # day statistics
        void update_um_1(const string& key) except +raise_py_error
        void add_to_shelve(const string& sammlungsname, const Tuple& key,
                           const string& name) except +raise_py_error
        Dict iterate_key_shelve(const string& key, bool heute, bool alle) except +raise_py_error
        Value get_data_from_shelve(const string& key) except +raise_py_error
        void get_value_from_shelve_heute(const string& key) except +raise_py_error
        List get_liste_alle_from_alte_daten() except +raise_py_error
        void erstelle_cashing(const Value& key, const Value& data) except +raise_py_error
        double gesamte_zeitdauer_heute(bool heute) except +raise_py_error
        Dict set_heute_bezogener_wert(const Value& key, const Value& wert) except +raise_py_error
        Value get_heute_bezogener_wert_aus_dict(const Dict& dictionary,
                                                const string& key) except +raise_py_error

        # distribution of a collection
        void zeige_haendesammlung_verteilung(const SammlungRef& sammlung,
                                             int64_t grenzwert_neue_karten_heute,
                                             int64_t grenzwert_wiederholungen) except +raise_py_error

        # learning reports
        pair[int64_t, int64_t] get_anzahl_falsch() except +raise_py_error
        int64_t anzahl_lerntage_gesamt() except +raise_py_error

        # self-check scenarios
        void test_frueh() except +raise_py_error
        void test_karten_schon_faellig() except +raise_py_error
        void test_vorauslernen() except +raise_py_error
        void test_verspaetung() except +raise_py_error
        void test_verspaetung_und_neue() except +raise_py_error

        # settings
        void update_default_values() except +raise_py_error
        void set_default_values() except +raise_py_error
        void set_minimum_values() except +raise_py_error
        Dict get_maximum_values() except +raise_py_error
        Dict set_minimum_values_in_dict() except +raise_py_error
        void update_object_fields() except +raise_py_error
        Dict make_default_values_dictionary() except +raise_py_error
        void save_default_values(const optional[Dict]& dictionary) except +raise_py_error

        # card metadata of the current collection
        Value get_metadaten(const string& key) except +raise_py_error
        void set_metadaten(const Value& wert, const string& key) except +raise_py_error
        void add_cardid_to_schon_gelernt(const CppKarteikarte* card, const string& key,
                                         const optional[string]& name) except +raise_py_error
        void add_bezeichner_to_kkv_info(const string& bezeichner, const string& key,
                                        const string& name) except +raise_py_error
        void remove_cardid_from_metadata(const CppKarteikarte& card,
                                         const string& key) except +raise_py_error
        void remove_from_again_in_queue(const CppKarteikarte& card) except +raise_py_error
        void set_reps(bool reizung) except +raise_py_error
        void set_karte_heute_schon_gelernt(const CppKarteikarte& card, bool test,
                                           const string& response) except +raise_py_error
        void faellig_liste_eintragen(const Value& wert, const Value& now) except +raise_py_error

        # daily limits
        int64_t bestimme_grenzwert_neue_karten_heute(
            const SammlungRef& sammlung) except +raise_py_error
        int64_t bestimme_grenzwert_wiederholungen(const SammlungRef& sammlung) except +raise_py_error
        optional[int64_t] get_grenzwert_neue_karten_heute() except +raise_py_error

        # making cards due
        void make_karte_due(const string& kartenname,
                            const SammlungRef& sammlung) except +raise_py_error
        optional[string] make_one_due(int64_t grenzwert) except +raise_py_error
        optional[string] make_one_due_eine_sammlung(int64_t grenzwert,
                                                    const string& sammlungsname) except +raise_py_error
        void make_all_cards_for_today() except +raise_py_error
        double sortiere_neue_karten_heute_nach_faellig_gestellt(
            const pair[string, optional[DateTime]]& element) except +raise_py_error
        void korrigiere_ueberschuss(const SammlungRef& sammlung,
                                    int64_t ueberschuss) except +raise_py_error

        # card choice; a Karteikarte has no empty state, hence the optional
        optional[CppKarteikarte] get_card() except +raise_py_error
        CardAndCollection waehle_card_aus_mehreren_sammlungen() except +raise_py_error
        CardAndCollection waehle_card_eine_sammlung(const SammlungRef& sammlung,
                                                    optional[int64_t] fudge) except +raise_py_error
        CardAndCollection vergleiche_card_eher_due(
            const optional[string]& cardpointer, const optional[string]& sammlungsname1,
            const optional[string]& otherpointer,
            const optional[string]& sammlungsname2) except +raise_py_error

        # forgotten-cards drill
        CardAndCollection waehle_card_vergessene(const SammlungRef& sammlung,
                                                 optional[int64_t] fudge) except +raise_py_error
        bool karte_in_vergessene_karten(const string& karte,
                                        const string& sammlungsname) except +raise_py_error
        void setze_vergessen_modus(int64_t wert) except +raise_py_error
        void alle_sammlung_vergessene_karten(double tage_zurueck) except +raise_py_error
        void vergessen_zurueck_dict_herstellen(bool go_to_normal) except +raise_py_error
        void add_karte_vergessene_liste(const string& karte,
                                        const string& sammlungsort) except +raise_py_error
        bool modus_vergessene_karten_pruefen()
        void leere_vergessene_karten_liste()
        void make_neue_sammlung_vergessene_karten(const Value& wert)

        # lowest-fudge search
        FoundCard finde_karte_due_niedrigster_fudge(
            double now, double old_now, const Value& rs, bool nur_again_queue,
            double vorauslernen, const Value& position, int64_t fudge) except +raise_py_error
        FoundCard finde_karte_due_niedrigster_fudge_diese_sammlung(
            double now, double old_now, const Value& rs, bool nur_again_queue,
            double vorauslernen, const Value& position, int64_t fudge,
            const SammlungRef& sammlung, int64_t ueberschuss_neue_karten) except +raise_py_error
        CardAndCollection waehle_card() except +raise_py_error

        # five-card split and candidate pick
        pair[int64_t, int64_t] aufteilung_5(int64_t grenzwert_neue_karten_heute,
                                            int64_t grenzwert_maximale_wiederholungen,
                                            int64_t minimum_neue_karten) except +raise_py_error
        PickedCandidate finde_beste_karte_alle(const vector[Entry]& liste) except +raise_py_error
        PickedCandidate korrigiere_typ_ausgewaehlte_karte(
            const PickedCandidate& ausgewaehlte_karte) except +raise_py_error
        ChosenCandidate bestimme_ausgewaehlte_karte_info_aus_alle(
            const vector[Entry]& alle, const SammlungRef& sammlung) except +raise_py_error
        bool ausgewaehlte_karte_ist_neu(const optional[string]& kartenname,
                                        const vector[Entry]& tupelliste) except +raise_py_error
        void check_id_faehig(const vector[Entry]& liste) except +raise_py_error
        Value get_handinfo_from_cardpointer(const string& cardpointer) except +raise_py_error
        Value get_reizungsdict_from_karteikarte(
            const CppKarteikarte& karteikarte) except +raise_py_error
        vector[pair[double, string]] bestimme_x_dues(int64_t x) except +raise_py_error

        # the objects the manager holds, and the daily new-card target
        CppReihenfolge_anzeigen reihenfolge_anzeigen
        shared_ptr[CppZeitberechnungen] zeitberechnung
        CppHaendesammlungContainer hc
        int64_t neue_karten_pro_tag


cdef extern from "manager_helpers.hpp" namespace "tavo::binding":
    # The present moment of the learning day as a value, which the wrapper
    # can hold before converting it (a DateTime has no empty state).
    Value manager_now_value(const Manager& kkv) except +raise_py_error


cdef extern from "karteikarten/frame/learning_step.hpp" namespace "tavo::kk":
    cdef cppclass Antwort "tavo::kk::Antwort":
        string response
        Value beantwortungszeit

    Value answer_card(Manager& kkv, CppKarteikarte& card, const Antwort& antwort) except +raise_py_error


cdef extern from "karteikarten/frame/undo.hpp" namespace "tavo::kk":
    optional[string] undo_last_answer(Manager& kkv) except +raise_py_error


cdef extern from "karteikarten/frame/answer_history.hpp" namespace "tavo::kk":
    cdef cppclass PastAnswer "tavo::kk::PastAnswer":
        pass

    vector[PastAnswer] answer_history(Manager& kkv, const string& name) except +raise_py_error
    List history_to_value(const vector[PastAnswer]& history) except +raise_py_error
