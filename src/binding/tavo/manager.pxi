# Karteikartenverwaltung: the manager.
#
# Every method delegates to the C++ manager; the attributes are the
# library's attribute table (manager_attributes.pxi). A chosen card crosses as the
# tuple (card name, collection name), a Karteikarte as its wrapper, card
# data as live card data and candidates as the tuples of the holders.


cdef tuple card_and_collection_to_py(const CardAndCollection& chosen):
    return (optional_text_to_py(chosen.first), optional_text_to_py(chosen.second))


cdef tuple found_card_to_py(const FoundCard& found):
    return (optional_text_to_py(found.name), optional_text_to_py(found.sammlungsname),
            found.index)


cdef SammlungRef optional_sammlung_ref(object sammlung) except *:
    """The collection behind `sammlung`; no collection for None, which the
    manager reports in its own words."""
    cdef SammlungRef nothing
    if sammlung is None:
        return nothing
    return sammlung_ref_from_py(sammlung)


cdef const CppKarteikarte* optional_karteikarte(object card) except? NULL:
    if card is None:
        return NULL
    return karteikarte_of(card)


cdef object picked_to_py(const PickedCandidate& picked):
    """One candidate tuple, a list of them, or None."""
    if picked_is_entry(picked):
        return entry_to_py(picked_entry(picked))
    if picked_is_list(picked):
        return holder_entries_to_py(picked_list(picked))
    return None


cdef PickedCandidate picked_from_py(object picked) except *:
    if picked is None:
        return PickedCandidate()
    if isinstance(picked, list):
        return PickedCandidate(entries_from_py(picked))
    return PickedCandidate(entry_from_py(picked))


cdef list dues_to_py(const vector[pair[double, string]]& dues):
    cdef list result = []
    cdef size_t index
    for index in range(dues.size()):
        result.append((dues[index].first, text_to_py(dues[index].second)))
    return result


cdef class Karteikartenverwaltung(object):

    def __init__(self, vorauslernen=0, nur_neue=False, neue_karten_pro_tag=None):
        cdef optional[int64_t] neue
        if neue_karten_pro_tag is not None:
            neue = <int64_t>neue_karten_pro_tag
        self.kkv = make_shared[Manager](<int64_t>(vorauslernen or 0), <bint>nur_neue, neue)

    # ---- attributes ----

    def __getattr__(self, name):
        return manager_attribute(self, name)

    def __setattr__(self, name, value):
        set_manager_attribute(self, name, value)

    def __dir__(self):
        return manager_attribute_names(self)

    property hc:
        """The container of the registered collections (the manager's own)."""
        def __get__(self):
            return manager_container(self)

    property reihenfolge_anzeigen:
        def __get__(self):
            return manager_reihenfolge_anzeigen(self)

    property zeitberechnung:
        def __get__(self):
            return sammlung_zeit_to_py(self.kkv.get().zeitberechnung)
        def __set__(self, zeitberechnung):
            self.kkv.get().zeitberechnung = sammlung_zeit_from_py(zeitberechnung)

    # ---- registration, current collection and small operations ----

    def create_temp_haendesammlung(self, zeitberechnung, vorauslernen, name, startzeit_tag,
                                   metadata, karten):
        cdef Dict entries
        if metadata is not None:
            entries = dict_from_py(metadata)
        return wrap_sammlung(self.kkv.get().create_temp_haendesammlung(
            sammlung_zeit_from_py(zeitberechnung), vorauslernen, text_from_py(name, "name"),
            startzeit_tag, entries, karten_from_py(karten)))

    def add_shelve_file(self, filename, writeback=False, copy=False):
        """The shelf's entries as a new dict, read when the call is made."""
        return shelf_to_py(self.kkv.get().add_shelve_file(
            file_name_from_py(filename, "filename"), writeback, from_py(copy)))

    def get_shelve_main_directory(self, zusatz):
        return text_to_py(self.kkv.get().get_shelve_main_directory(text_from_py(zusatz, "zusatz")))

    def add_haendesammlung(self, modul, name):
        self.kkv.get().add_haendesammlung(dict_from_py(modul), text_from_py(name, "name"))

    def set_sammlungsort_name(self, name, index):
        self.kkv.get().set_sammlungsort_name(optional_text_from_py(name, "name"), from_py(index))

    def bestimme_gegenwaertige_sammlung(self):
        return wrap_sammlung(self.kkv.get().bestimme_gegenwaertige_sammlung())

    def dictionary_speichern(self, name, modus):
        self.kkv.get().dictionary_speichern(from_py(name), from_py(modus))

    def remove_alle_haendesammlungen(self):
        self.kkv.get().remove_alle_haendesammlungen()

    def nur_neue_einstellen(self):
        self.kkv.get().nur_neue_einstellen()

    def set_vorauslernen(self, wert):
        self.kkv.get().set_vorauslernen(wert)

    def vorauslernen_einstellen(self, wert):
        self.kkv.get().vorauslernen_einstellen(wert)

    def heute_gelernt_hochsetzen(self):
        self.kkv.get().heute_gelernt_hochsetzen()

    def set_durchlauf10_counter(self):
        self.kkv.get().set_durchlauf10_counter()

    def eintragen_ob_karte_erfolgreich(self, card, response):
        self.kkv.get().eintragen_ob_karte_erfolgreich(from_py(card), from_py(response))

    def bestimme_sammlungsort_name(self, ausgewaehlte_karte):
        self.kkv.get().bestimme_sammlungsort_name(from_py(ausgewaehlte_karte))

    def adjustiere_liste_haendesammlungen(self, liste):
        self.kkv.get().adjustiere_liste_haendesammlungen(from_py(liste))

    def add_frage_antwort_to_hand_objekt(self, frage, antwort):
        self.kkv.get().add_frage_antwort_to_hand_objekt(from_py(frage), from_py(antwort))

    def archiv_alle_sammlungen_erstellen(self):
        self.kkv.get().archiv_alle_sammlungen_erstellen()

    def sync_sammlungsort_liste_aller_sammlungen(self):
        self.kkv.get().sync_sammlungsort_liste_aller_sammlungen()

    def sortiere_nach_faelligkeit(self):
        self.kkv.get().sortiere_nach_faelligkeit()

    # ---- time helpers ----

    def get_now(self):
        return to_py(manager_now_value(self.kkv.get()[0]))

    def get_seconds_since_epoch(self):
        return self.kkv.get().get_seconds_since_epoch()

    def set_vorauslernen_tage(self, zahl):
        self.kkv.get().set_vorauslernen_tage(zahl)

    def minutes_to_days(self, minutes):
        return self.kkv.get().minutes_to_days(minutes)

    def human_friendly_time(self, days):
        return text_to_py(self.kkv.get().human_friendly_time(from_py(days)))

    # ---- answer scheduling ----

    def schedule(self, event=None, card=None, response=None, test=False):
        return to_py(self.kkv.get().schedule(from_py(event), karteikarte_of(card)[0],
                                             text_from_py(response, "response"), test))

    def get_interval_responses(self, card):
        return tuple_to_py(self.kkv.get().get_interval_responses(karteikarte_of(card)[0]), False)

    # ---- lateness, early review and due jitter ----

    def answer_card(self, card, response, beantwortungszeit=0):
        """The whole answer to `card`, the card get_card handed out: schedules
        it, records it on the card and in the day statistics (in one
        transaction) and stores the card before it returns. Returns the days
        until the card is due again."""
        cdef Antwort antwort
        antwort.response = text_from_py(response, "response")
        antwort.beantwortungszeit = from_py(beantwortungszeit)
        return to_py(answer_card(self.kkv.get()[0], karteikarte_of(card)[0], antwort), False)

    def schedule_vorauslernen(self, card, response):
        return self.kkv.get().schedule_vorauslernen(karteikarte_of(card)[0],
                                                    text_from_py(response, "response"))

    def _tage_verspaetet(self, card):
        return self.kkv.get()._tage_verspaetet(karteikarte_of(card)[0])

    def due_fudge_nochmal_aendern(self, card):
        self.kkv.get().due_fudge_nochmal_aendern(karteikarte_of(card)[0])

    def calculate_anzahl_press_good_bis_mature(self, card):
        return to_py(self.kkv.get().calculate_anzahl_press_good_bis_mature(karteikarte_of(card)[0]))

    # ---- day statistics ----

    def update_um_1(self, key):
        self.kkv.get().update_um_1(text_from_py(key, "key"))

    def add_to_shelve(self, sammlungsname, key, name):
        self.kkv.get().add_to_shelve(text_from_py(sammlungsname, "sammlungsname"),
                                     tuple_from_py(key), text_from_py(name, "name"))

    def iterate_key_shelve(self, key, heute=False, alle=True):
        return dict_to_py(self.kkv.get().iterate_key_shelve(text_from_py(key, "key"), heute, alle))

    def get_data_from_shelve(self, key):
        return to_py(self.kkv.get().get_data_from_shelve(text_from_py(key, "key")))

    def get_value_from_shelve_heute(self, key):
        self.kkv.get().get_value_from_shelve_heute(text_from_py(key, "key"))

    def get_liste_alle_from_alte_daten(self):
        return list_to_py(self.kkv.get().get_liste_alle_from_alte_daten())

    def erstelle_cashing(self, key, data):
        self.kkv.get().erstelle_cashing(from_py(key), from_py(data))

    def gesamte_zeitdauer_heute(self, heute=False):
        return self.kkv.get().gesamte_zeitdauer_heute(heute)

    def set_heute_bezogener_wert(self, key, wert):
        return dict_to_py(self.kkv.get().set_heute_bezogener_wert(from_py(key), from_py(wert)))

    def get_heute_bezogener_wert_aus_dict(self, dictionary, key):
        """Today's value. The manager dates a plain number in place; a plain
        dict receives that change too."""
        cdef Dict entries = dict_from_py(dictionary)
        cdef Value heute = self.kkv.get().get_heute_bezogener_wert_aus_dict(
            entries, text_from_py(key, "key"))
        if not isinstance(dictionary, ValueDict) and key in dictionary:
            dictionary[key] = to_py(entries.at(from_py(key)))
        return to_py(heute, True)

    # ---- distribution of a collection ----

    def zeige_haendesammlung_verteilung(self, sammlung, grenzwert_neue_karten_heute,
                                        grenzwert_wiederholungen):
        self.kkv.get().zeige_haendesammlung_verteilung(
            sammlung_ref_from_py(sammlung), grenzwert_neue_karten_heute, grenzwert_wiederholungen)

    # ---- learning reports ----

    def get_anzahl_falsch(self):
        return self.kkv.get().get_anzahl_falsch()

    def anzahl_lerntage_gesamt(self):
        return self.kkv.get().anzahl_lerntage_gesamt()

    # ---- self-check scenarios ----

    def test_frueh(self):
        self.kkv.get().test_frueh()

    def test_karten_schon_faellig(self):
        self.kkv.get().test_karten_schon_faellig()

    def test_vorauslernen(self):
        self.kkv.get().test_vorauslernen()

    def test_verspaetung(self):
        self.kkv.get().test_verspaetung()

    def test_verspaetung_und_neue(self):
        self.kkv.get().test_verspaetung_und_neue()

    # ---- settings ----

    def update_default_values(self):
        self.kkv.get().update_default_values()

    def set_default_values(self):
        self.kkv.get().set_default_values()

    def set_minimum_values(self):
        self.kkv.get().set_minimum_values()

    def get_maximum_values(self):
        return dict_to_py(self.kkv.get().get_maximum_values())

    def set_minimum_values_in_dict(self):
        return dict_to_py(self.kkv.get().set_minimum_values_in_dict())

    def update_object_fields(self):
        self.kkv.get().update_object_fields()

    def make_default_values_dictionary(self):
        return dict_to_py(self.kkv.get().make_default_values_dictionary())

    def save_default_values(self, dictionary=None):
        cdef optional[Dict] entries
        if dictionary is not None:
            entries = dict_from_py(dictionary)
        self.kkv.get().save_default_values(entries)

    # ---- card metadata of the current collection ----

    def get_metadaten(self, key):
        return to_py(self.kkv.get().get_metadaten(text_from_py(key, "key")), True)

    def set_metadaten(self, wert, key):
        self.kkv.get().set_metadaten(from_py(wert), text_from_py(key, "key"))

    def add_cardid_to_schon_gelernt(self, card, key, name=None):
        self.kkv.get().add_cardid_to_schon_gelernt(optional_karteikarte(card),
                                                   text_from_py(key, "key"),
                                                   optional_text_from_py(name, "name"))

    def add_bezeichner_to_kkv_info(self, bezeichner, key, name=""):
        self.kkv.get().add_bezeichner_to_kkv_info(text_from_py(bezeichner, "bezeichner"),
                                                  text_from_py(key, "key"),
                                                  text_from_py(name, "name"))

    def remove_cardid_from_metadata(self, card, key):
        self.kkv.get().remove_cardid_from_metadata(karteikarte_of(card)[0],
                                                   text_from_py(key, "key"))

    def remove_from_again_in_queue(self, card):
        self.kkv.get().remove_from_again_in_queue(karteikarte_of(card)[0])

    def set_reps(self, reizung=False):
        self.kkv.get().set_reps(reizung)

    def set_karte_heute_schon_gelernt(self, card, test, response):
        self.kkv.get().set_karte_heute_schon_gelernt(karteikarte_of(card)[0], test,
                                                     text_from_py(response, "response"))

    def faellig_liste_eintragen(self, wert, now):
        self.kkv.get().faellig_liste_eintragen(from_py(wert), from_py(now))

    # ---- daily limits ----

    def bestimme_grenzwert_neue_karten_heute(self, sammlung):
        return self.kkv.get().bestimme_grenzwert_neue_karten_heute(sammlung_ref_from_py(sammlung))

    def bestimme_grenzwert_wiederholungen(self, sammlung):
        return self.kkv.get().bestimme_grenzwert_wiederholungen(sammlung_ref_from_py(sammlung))

    def get_grenzwert_neue_karten_heute(self):
        return sammlung_optional_int_to_py(self.kkv.get().get_grenzwert_neue_karten_heute())

    # ---- making cards due ----

    def make_karte_due(self, kartenname, sammlung):
        self.kkv.get().make_karte_due(text_from_py(kartenname, "kartenname"),
                                      optional_sammlung_ref(sammlung))

    def make_one_due(self, grenzwert):
        return optional_text_to_py(self.kkv.get().make_one_due(grenzwert))

    def make_one_due_eine_sammlung(self, grenzwert, sammlungsname):
        return optional_text_to_py(self.kkv.get().make_one_due_eine_sammlung(
            grenzwert, text_from_py(sammlungsname, "sammlungsname")))

    def make_all_cards_for_today(self):
        self.kkv.get().make_all_cards_for_today()

    def sortiere_neue_karten_heute_nach_faellig_gestellt(self, element):
        """`element`: (card name, first-due datetime or None)."""
        cdef pair[string, optional[DateTime]] karte
        cdef Value faellig
        name, erstes_mal = element
        karte.first = text_from_py(name, "card name")
        if erstes_mal is not None:
            faellig = date_time_from_py(erstes_mal)
            karte.second = faellig.as_date_time()
        return self.kkv.get().sortiere_neue_karten_heute_nach_faellig_gestellt(karte)

    def korrigiere_ueberschuss(self, sammlung, ueberschuss):
        self.kkv.get().korrigiere_ueberschuss(optional_sammlung_ref(sammlung), ueberschuss)

    # ---- card choice ----

    def get_card(self):
        """The next card as a Karteikarte, or None."""
        cdef optional[CppKarteikarte] card = self.kkv.get().get_card()
        return wrap_karteikarte(card.value()) if card.has_value() else None

    def waehle_card_aus_mehreren_sammlungen(self):
        return card_and_collection_to_py(self.kkv.get().waehle_card_aus_mehreren_sammlungen())

    def waehle_card_eine_sammlung(self, sammlung=None, fudge=None):
        return card_and_collection_to_py(self.kkv.get().waehle_card_eine_sammlung(
            optional_sammlung_ref(sammlung), sammlung_optional_int(fudge)))

    def vergleiche_card_eher_due(self, cardpointer, sammlungsname1, otherpointer,
                                 sammlungsname2):
        return card_and_collection_to_py(self.kkv.get().vergleiche_card_eher_due(
            optional_text_from_py(cardpointer, "cardpointer"),
            optional_text_from_py(sammlungsname1, "sammlungsname1"),
            optional_text_from_py(otherpointer, "otherpointer"),
            optional_text_from_py(sammlungsname2, "sammlungsname2")))

    # ---- forgotten-cards drill ----

    def waehle_card_vergessene(self, sammlung=None, fudge=None):
        return card_and_collection_to_py(self.kkv.get().waehle_card_vergessene(
            optional_sammlung_ref(sammlung), sammlung_optional_int(fudge)))

    def karte_in_vergessene_karten(self, karte, sammlungsname):
        return self.kkv.get().karte_in_vergessene_karten(
            text_from_py(karte, "karte"), text_from_py(sammlungsname, "sammlungsname"))

    def setze_vergessen_modus(self, wert):
        self.kkv.get().setze_vergessen_modus(wert)

    def alle_sammlung_vergessene_karten(self, tage_zurueck):
        self.kkv.get().alle_sammlung_vergessene_karten(tage_zurueck)

    def vergessen_zurueck_dict_herstellen(self, go_to_normal):
        self.kkv.get().vergessen_zurueck_dict_herstellen(go_to_normal == True)

    def add_karte_vergessene_liste(self, karte, sammlungsort):
        self.kkv.get().add_karte_vergessene_liste(text_from_py(karte, "karte"),
                                                  text_from_py(sammlungsort, "sammlungsort"))

    def modus_vergessene_karten_pruefen(self):
        return self.kkv.get().modus_vergessene_karten_pruefen()

    def leere_vergessene_karten_liste(self):
        self.kkv.get().leere_vergessene_karten_liste()

    def make_neue_sammlung_vergessene_karten(self, wert):
        self.kkv.get().make_neue_sammlung_vergessene_karten(from_py(wert))

    # ---- lowest-fudge search ----

    def finde_karte_due_niedrigster_fudge(self, now, old_now, rs, nur_again_queue, vorauslernen,
                                          position, fudge):
        return found_card_to_py(self.kkv.get().finde_karte_due_niedrigster_fudge(
            now, old_now, from_py(rs), nur_again_queue == True, vorauslernen, from_py(position),
            fudge))

    def finde_karte_due_niedrigster_fudge_diese_sammlung(self, now, old_now, rs, nur_again_queue,
                                                         vorauslernen, position, fudge, sammlung,
                                                         ueberschuss_neue_karten):
        return found_card_to_py(self.kkv.get().finde_karte_due_niedrigster_fudge_diese_sammlung(
            now, old_now, from_py(rs), nur_again_queue == True, vorauslernen, from_py(position),
            fudge, optional_sammlung_ref(sammlung), ueberschuss_neue_karten))

    def waehle_card(self):
        return card_and_collection_to_py(self.kkv.get().waehle_card())

    # ---- five-card split and candidate pick ----

    def aufteilung_5(self, grenzwert_neue_karten_heute, grenzwert_maximale_wiederholungen,
                     minimum_neue_karten):
        return self.kkv.get().aufteilung_5(grenzwert_neue_karten_heute,
                                           grenzwert_maximale_wiederholungen, minimum_neue_karten)

    def finde_beste_karte_alle(self, liste):
        """One candidate tuple, a one-element list holding one, or None."""
        return picked_to_py(self.kkv.get().finde_beste_karte_alle(entries_from_py(liste)))

    def korrigiere_typ_ausgewaehlte_karte(self, ausgewaehlte_karte):
        return picked_to_py(self.kkv.get().korrigiere_typ_ausgewaehlte_karte(
            picked_from_py(ausgewaehlte_karte)))

    def bestimme_ausgewaehlte_karte_info_aus_alle(self, alle, sammlung):
        """(card data, card name, collection name), each None when `alle`
        is empty."""
        cdef ChosenCandidate chosen = self.kkv.get().bestimme_ausgewaehlte_karte_info_aus_alle(
            entries_from_py(alle), optional_sammlung_ref(sammlung))
        return (optional_card_data(chosen.data), optional_text_to_py(chosen.name),
                optional_text_to_py(chosen.sammlungsname))

    def ausgewaehlte_karte_ist_neu(self, kartenname, tupelliste):
        return self.kkv.get().ausgewaehlte_karte_ist_neu(
            optional_text_from_py(kartenname, "kartenname"), entries_from_py(tupelliste))

    def check_id_faehig(self, liste):
        self.kkv.get().check_id_faehig(entries_from_py(liste))

    def get_handinfo_from_cardpointer(self, cardpointer):
        """The hand, shared with the hand import."""
        return to_py(self.kkv.get().get_handinfo_from_cardpointer(
            text_from_py(cardpointer, "cardpointer")), True)

    def get_reizungsdict_from_karteikarte(self, karteikarte):
        return to_py(self.kkv.get().get_reizungsdict_from_karteikarte(
            karteikarte_of(karteikarte)[0]), True)

    def bestimme_x_dues(self, x):
        """The first `x` cards by due moment, as (due, card name)."""
        return dues_to_py(self.kkv.get().bestimme_x_dues(x))
