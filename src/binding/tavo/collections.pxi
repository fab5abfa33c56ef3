# Haendesammlung, Haendesammlung_vergessen and HaendesammlungContainer, and
# CardMapping, the live view of a collection's cards.
#
# A wrapper holds the C++ collection itself: every wrapper of the same
# collection acts on it and compares equal to the others. Name lists cross
# as Python lists of str, card records as live card data. Every method takes
# its arguments positionally or by keyword, a single one too.




# ---- conversions of the collections' argument and result kinds ----

cdef list sammlung_names_to_py(const vector[string]& names):
    cdef list result = []
    cdef size_t index
    for index in range(names.size()):
        result.append(text_to_py(names[index]))
    return result


cdef vector[string] sammlung_names_from_py(object names) except *:
    """The names of any iterable of texts; a bare text is not a list."""
    if isinstance(names, (bytes, unicode)):
        raise TypeError("expected a list of names, not %s" % type(names).__name__)
    cdef vector[string] result
    for name in names:
        result.push_back(text_from_py(name, "name"))
    return result


cdef optional[vector[string]] sammlung_optional_names(object names) except *:
    cdef optional[vector[string]] result
    if names is not None:
        result = sammlung_names_from_py(names)
    return result


cdef optional[int64_t] sammlung_optional_int(object number) except *:
    cdef optional[int64_t] result
    if number is not None:
        result = <int64_t>number
    return result


cdef object sammlung_optional_int_to_py(const optional[int64_t]& number):
    return number.value() if number.has_value() else None


cdef list sammlung_entries_to_py(const vector[Entry]& entries):
    cdef list result = []
    cdef size_t index
    for index in range(entries.size()):
        result.append(entry_to_py(entries[index]))
    return result


cdef list sammlung_records_to_py(const vector[CardRef]& records):
    cdef list result = []
    cdef size_t index
    for index in range(records.size()):
        result.append(card_data(records[index]))
    return result


cdef shared_ptr[CppZeitberechnungen] sammlung_zeit_from_py(object zeitberechnung) except *:
    """The time object behind a Zeitberechnungen wrapper; none for None."""
    cdef shared_ptr[CppZeitberechnungen] nothing
    if zeitberechnung is None:
        return nothing
    if not isinstance(zeitberechnung, Zeitberechnungen):
        raise TypeError("zeitberechnung must be Zeitberechnungen, not %s"
                        % type(zeitberechnung).__name__)
    return (<Zeitberechnungen>zeitberechnung).zeit


cdef object sammlung_zeit_to_py(const shared_ptr[CppZeitberechnungen]& zeit):
    return wrap_zeitberechnungen(zeit) if zeit.get() != NULL else None


# ---- cards ----

cdef CardMap karten_from_py(object karten) except *:
    """The card map of a mapping of card name to card data, in the mapping's
    order: live card data keeps its record, any other mapping becomes a new
    one. A CardMapping gives its map, sharing the records."""
    cdef CardMap result
    if karten is None:
        return result
    if isinstance(karten, CardMapping):
        return (<CardMapping>karten).cards.get()[0]
    if not hasattr(karten, "keys"):
        raise TypeError("karten must be a mapping, not %s" % type(karten).__name__)
    for name in karten.keys():
        result.set(text_from_py(name, "card name"), card_ref_from_py(karten[name]))
    return result


cdef CardMapping card_mapping(shared_ptr[CardMap] cards):
    cdef CardMapping view = CardMapping.__new__(CardMapping)
    view.cards = cards
    return view


cdef class CardMapping(object):
    """Card name to live card data, in the collection's card order, read and
    written in place: assigning a mapping stores it as the card's record,
    deleting removes the card."""

    def __init__(self, *args, **kwargs):
        raise TypeError("card mappings are handed out by the module, not created")

    def __len__(self):
        return self.cards.get().size()

    def __getitem__(self, name):
        if not isinstance(name, (bytes, unicode)):
            raise KeyError(name)
        return card_data(self.cards.get().at(text_from_py(name)))

    def __setitem__(self, name, data):
        self.cards.get().set(text_from_py(name, "card name"), card_ref_from_py(data))

    def __delitem__(self, name):
        if not isinstance(name, (bytes, unicode)):
            raise KeyError(name)
        self.cards.get().erase(text_from_py(name))

    def __contains__(self, name):
        return isinstance(name, (bytes, unicode)) and self.cards.get().contains(text_from_py(name))

    def __iter__(self):
        return iter(self.keys())

    def keys(self):
        return sammlung_names_to_py(self.cards.get().names())

    def values(self):
        return [self[name] for name in self.keys()]

    def items(self):
        return [(name, self[name]) for name in self.keys()]

    def get(self, name, default=None):
        return self[name] if name in self else default

    def pop(self, name, *default):
        if name not in self:
            if default:
                return default[0]
            raise KeyError(name)
        data = self[name]
        del self[name]
        return data

    def update(self, other=(), **more):
        pairs = other.items() if hasattr(other, "items") else other
        for name, data in list(pairs) + list(more.items()):
            self[name] = data

    def clear(self):
        self.cards.get().clear()

    def __eq__(self, other):
        if isinstance(other, (CardMapping, dict)):
            return dict(self.items()) == dict(other.items())
        return NotImplemented

    def __ne__(self, other):
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    def __repr__(self):
        return "{%s}" % ", ".join("%r: %r" % item for item in self.items())


# ---- collections ----

cdef CppHaendesammlung* sammlung_of(Haendesammlung wrapper) except NULL:
    if wrapper is None:
        raise TypeError("expected a Haendesammlung, not None")
    if wrapper.sammlung.get() == NULL:
        raise ValueError("the Haendesammlung was never initialised")
    return wrapper.sammlung.get()


cdef SammlungRef sammlung_ref_from_py(object sammlung) except *:
    sammlung_of(sammlung)
    return (<Haendesammlung>sammlung).sammlung


cdef Haendesammlung wrap_sammlung(const SammlungRef& sammlung):
    """The wrapper of `sammlung`, None for no collection; a Haendesammlung_vergessen
    for a forgotten-cards collection."""
    if sammlung.get() == NULL:
        return None
    cdef Haendesammlung wrapper
    if as_forgotten(sammlung.get()) != NULL:
        wrapper = Haendesammlung_vergessen.__new__(Haendesammlung_vergessen)
    else:
        wrapper = Haendesammlung.__new__(Haendesammlung)
    wrapper.sammlung = sammlung
    return wrapper


cdef class Haendesammlung(object):
    """One hand collection: its cards (`karten`, live), its per-day
    metadata (`metadata`, live) and the queries over both."""

    def __init__(self, zeitberechnung, vorauslernen, name, startzeit_tag, metadata=None,
                 karten=None):
        cdef Dict entries
        if metadata is not None:
            entries = dict_from_py(metadata)
        self.sammlung = make_shared[CppHaendesammlung](
            sammlung_zeit_from_py(zeitberechnung), <int64_t>vorauslernen,
            text_from_py(name, "name"), <int>startzeit_tag, entries, karten_from_py(karten))

    def __eq__(self, other):
        if isinstance(other, Haendesammlung):
            return (<Haendesammlung>other).sammlung.get() == self.sammlung.get()
        return NotImplemented

    def __ne__(self, other):
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    def __hash__(self):
        return hash(<size_t><void*>self.sammlung.get())

    def __repr__(self):
        return "<%s %r>" % (type(self).__name__, self.name)

    # ---- attributes ----

    property name:
        def __get__(self):
            return text_to_py(sammlung_of(self).name)
        def __set__(self, name):
            sammlung_of(self).name = text_from_py(name, "name")

    property karten:
        """Card name to live card data; assigning a mapping replaces every
        card."""
        def __get__(self):
            return card_mapping(shared_karten(self.sammlung, &sammlung_of(self).karten))
        def __set__(self, karten):
            sammlung_of(self).karten = karten_from_py(karten)

    property metadata:
        def __get__(self):
            return value_dict(sammlung_of(self).metadata)
        def __set__(self, metadata):
            sammlung_of(self).metadata = dict_from_py(metadata)

    property neue_dict:
        def __get__(self):
            return to_py(sammlung_of(self).neue_dict, True)
        def __set__(self, neue_dict):
            sammlung_of(self).neue_dict = from_py(neue_dict)

    property zeitberechnung:
        def __get__(self):
            return sammlung_zeit_to_py(sammlung_of(self).zeitberechnung)
        def __set__(self, zeitberechnung):
            sammlung_of(self).zeitberechnung = sammlung_zeit_from_py(zeitberechnung)

    property vorauslernen:
        def __get__(self):
            return sammlung_of(self).vorauslernen
        def __set__(self, vorauslernen):
            sammlung_of(self).vorauslernen = vorauslernen

    property startzeit_tag:
        def __get__(self):
            return sammlung_of(self).startzeit_tag
        def __set__(self, startzeit_tag):
            sammlung_of(self).startzeit_tag = startzeit_tag

    # ---- storage ----

    def haendesammlung_karteikarten_info_neu_erstellen(self, modul, name):
        """The fresh cards as a card mapping of their own, not yet part of
        any collection."""
        return card_mapping(make_shared[CardMap](
            sammlung_of(self).haendesammlung_karteikarten_info_neu_erstellen(
                dict_from_py(modul), text_from_py(name, "name"))))

    def dictionary_speichern(self, name, dictionary, modus):
        sammlung_of(self).dictionary_speichern(text_from_py(name, "name"),
                                               sammlung_of(dictionary)[0], from_py(modus))

    def set_permanent_fudge(self, key):
        sammlung_of(self).set_permanent_fudge(text_from_py(key, "key"))

    def fudge_erneuern(self, position, rs):
        sammlung_of(self).fudge_erneuern(<size_t>position, rs)

    def test_karten_enthaelt_falsche_bezeichner(self):
        return sammlung_of(self).test_karten_enthaelt_falsche_bezeichner()

    def clone(self):
        return wrap_sammlung(sammlung_of(self).clone())

    def remove_card(self, name):
        sammlung_of(self).remove_card(text_from_py(name, "name"))

    def aendere_karteikarte_in_dictionary(self, karteikarte):
        sammlung_of(self).aendere_karteikarte_in_dictionary(
            karteikarte_of(karteikarte)[0])

    def set_vorauslernen_tage(self, zahl):
        sammlung_of(self).set_vorauslernen_tage(zahl)

    # ---- counts ----

    def get_anzahl_karten(self):
        return sammlung_of(self).get_anzahl_karten()

    def anzahl_due_none(self):
        return sammlung_of(self).anzahl_due_none()

    def get_anzahl_vormals_neu_heute(self):
        return sammlung_of(self).get_anzahl_vormals_neu_heute()

    def get_anzahl_neue_karten_heute_angesehen(self):
        return sammlung_of(self).get_anzahl_neue_karten_heute_angesehen()

    def get_anzahl_karten_heute_zum_ersten_mal_angesehen(self):
        return sammlung_of(self).get_anzahl_karten_heute_zum_ersten_mal_angesehen()

    def anzahl_karte_erfolgreich_gelernt(self):
        return sammlung_of(self).anzahl_karte_erfolgreich_gelernt()

    def get_anzahl_karte_alt_erfolgreich_wiederholt_heute(self):
        return sammlung_of(self).get_anzahl_karte_alt_erfolgreich_wiederholt_heute()

    def anzahl_erfolgreich_wiederholte_karten(self):
        return sammlung_of(self).anzahl_erfolgreich_wiederholte_karten()

    def anzahl_wiederholte_karten(self):
        return sammlung_of(self).anzahl_wiederholte_karten()

    def anzahl_heute_planmaessig_wiederholte_karten(self):
        return sammlung_of(self).anzahl_heute_planmaessig_wiederholte_karten()

    def anzahl_insgesamt_planmaessig_wiederholte_karten(self):
        return sammlung_of(self).anzahl_insgesamt_planmaessig_wiederholte_karten()

    def anzahl_alte_karten_gleich_richtig_heute(self):
        return sammlung_of(self).anzahl_alte_karten_gleich_richtig_heute()

    def anzahl_alte_karten_gleich_richtig_alle_daten(self):
        return sammlung_of(self).anzahl_alte_karten_gleich_richtig_alle_daten()

    def anzahl_heute_falsch(self):
        return sammlung_of(self).anzahl_heute_falsch()

    def anzahl_karten_heute_falsch_alle_daten(self):
        return sammlung_of(self).anzahl_karten_heute_falsch_alle_daten()

    def get_anzahl_neue_karten_gleich_richtig(self):
        return sammlung_of(self).get_anzahl_neue_karten_gleich_richtig()

    def anzahl_again_in_queue(self):
        return sammlung_of(self).anzahl_again_in_queue()

    def get_due_today(self, voraus=0):
        return sammlung_of(self).get_due_today(voraus)

    def get_anzahl_moegliche_wiederholungen(self, grenzwert_wiederholungen,
                                            heute_erfolgreich_wiederholt=None, voraus=0):
        return sammlung_of(self).get_anzahl_moegliche_wiederholungen(
            grenzwert_wiederholungen, sammlung_optional_int(heute_erfolgreich_wiederholt), voraus)

    def wiederholbare_ueber_grenzwert(self, grenzwert_neu, grenzwert_wiederholungen, voraus):
        return sammlung_of(self).wiederholbare_ueber_grenzwert(grenzwert_neu,
                                                               grenzwert_wiederholungen, voraus)

    def berechne_anzahl_neue_karten_faellig_stellbar(self, grenzwert_neue_karten,
                                                     modus_vergessene_karten, neue_karten_soll):
        return sammlung_of(self).berechne_anzahl_neue_karten_faellig_stellbar(
            grenzwert_neue_karten, <bint>modus_vergessene_karten, neue_karten_soll)

    def anzahl_neue_karten_faellig_stellbar(self, grenzwert_neue_karten):
        return sammlung_of(self).anzahl_neue_karten_faellig_stellbar(grenzwert_neue_karten)

    def get_anzahl_karten_reizung_karteikarte(self):
        return sammlung_of(self).get_anzahl_karten_reizung_karteikarte()

    def heute_faellig_gestellt_kleiner_grenzwert(self, grenzwert):
        return sammlung_of(self).heute_faellig_gestellt_kleiner_grenzwert(grenzwert)

    def get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt(self):
        return sammlung_of(self).get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt()

    # ---- card names ----

    def get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner(self):
        return sammlung_names_to_py(
            sammlung_of(self).get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner())

    def get_bezeichner_neu_erfolgreich(self):
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_neu_erfolgreich())

    def get_bezeichner_neu_erfolglos(self):
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_neu_erfolglos())

    def get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig(self):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig())

    def get_bezeichner_heute_faellig_noch_nie_angesehen(self):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_faellig_noch_nie_angesehen())

    def get_bezeichner_heute_erstes_mal_angesehen(self):
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_heute_erstes_mal_angesehen())

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt(self):
        return sammlung_names_to_py(
            sammlung_of(self).get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt())

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute(self):
        return sammlung_names_to_py(
            sammlung_of(self).get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute())

    def get_heute_due_nicht_heute_faellig_gestellt(self, voraus=0):
        return sammlung_names_to_py(
            sammlung_of(self).get_heute_due_nicht_heute_faellig_gestellt(voraus))

    def get_bezeichner_wiederholte_karten(self):
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_wiederholte_karten())

    def get_bezeichner_wiederholt_erfolgreich(self, voraus=0):
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_wiederholt_erfolgreich(voraus))

    def get_bezeichner_wiederholt_erfolgreich_noch_faellig(self, faellig=None):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_wiederholt_erfolgreich_noch_faellig(
                sammlung_optional_names(faellig)))

    def get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig(self):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig())

    def get_bezeichner_heute_wiederholt_nicht_erfolgreich(self, faellig=None):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_wiederholt_nicht_erfolgreich(
                sammlung_optional_names(faellig)))

    def get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt(self):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt())

    def get_heute_angesehen(self):
        return sammlung_names_to_py(sammlung_of(self).get_heute_angesehen())

    def get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
            self, faellig_aber_nicht_heute_bezeichner=None, heute_angesehen=None):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
                sammlung_optional_names(faellig_aber_nicht_heute_bezeichner),
                sammlung_optional_names(heute_angesehen)))

    def get_bezeichner_heute_nicht_faellig_heute_angesehen(
            self, faellig_aber_nicht_heute_bezeichner=None, heute_angesehen=None):
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_nicht_faellig_heute_angesehen(
                sammlung_optional_names(faellig_aber_nicht_heute_bezeichner),
                sammlung_optional_names(heute_angesehen)))

    def get_vergessene_karten(self, zeitpunkt_vergangenheit):
        return sammlung_names_to_py(
            sammlung_of(self).get_vergessene_karten(zeitpunkt_vergangenheit))

    def get_neue_karten_im_umlauf(self):
        return dict_to_py(sammlung_of(self).get_neue_karten_im_umlauf())

    @staticmethod
    def set1_minus_set2(a, b):
        return sammlung_names_to_py(CppHaendesammlung.set1_minus_set2(
            sammlung_names_from_py(a), sammlung_names_from_py(b)))

    @staticmethod
    def set1_intersection_set2(a, b):
        return sammlung_names_to_py(CppHaendesammlung.set1_intersection_set2(
            sammlung_names_from_py(a), sammlung_names_from_py(b)))

    # ---- holders and candidates ----

    def get_due_none(self):
        return wrap_kartenhalter(sammlung_of(self).get_due_none())

    def get_faellige_cards(self, voraus=0, vorauslernen=True):
        return wrap_kartenhalter(sammlung_of(self).get_faellige_cards(voraus, <bint>vorauslernen))

    def get_due_aber_nicht_heute_faellig(self, voraus):
        return wrap_kartenhalter(sammlung_of(self).get_due_aber_nicht_heute_faellig(voraus))

    def get_due_vor_heute(self):
        return wrap_kartenhalter(sammlung_of(self).get_due_vor_heute())

    def finde_beste_neue_karte(self, anzahl, neue_im_umlauf=None):
        return sammlung_entries_to_py(sammlung_of(self).finde_beste_neue_karte(
            anzahl, sammlung_optional_int(neue_im_umlauf)))

    def finde_beste_neue(self, anzahl, voraus=0):
        return wrap_kartenhalter(sammlung_of(self).finde_beste_neue(anzahl, voraus))

    def finde_beste_wiederholbare_karte(self, anzahl, voraus=0,
                                        wiederholbare_im_umlauf_anzahl=None):
        return sammlung_entries_to_py(sammlung_of(self).finde_beste_wiederholbare_karte(
            anzahl, voraus, sammlung_optional_int(wiederholbare_im_umlauf_anzahl)))

    def bezeichner_liste_to_identifier_liste(self, liste):
        return sammlung_entries_to_py(sammlung_of(self).bezeichner_liste_to_identifier_liste(
            sammlung_names_from_py(liste)))

    def wandle_bezeichner_liste_in_karten_liste_um(self, liste):
        return sammlung_entries_to_py(sammlung_of(self).wandle_bezeichner_liste_in_karten_liste_um(
            sammlung_names_from_py(liste)))

    # ---- choice state ----

    def set_state_neue_dict(self):
        """The new neue_dict, the same live mapping as the attribute."""
        return value_dict(sammlung_of(self).set_state_neue_dict())

    def set_states_wiederholbare_in_x(self):
        sammlung_of(self).set_states_wiederholbare_in_x()

    def set_handinfo_nur_reizung(self, cardpointer, handinfo):
        sammlung_of(self).set_handinfo_nur_reizung(text_from_py(cardpointer, "cardpointer"),
                                                   from_py(handinfo))

    # ---- putting new cards due in bulk ----

    def reset_due_to_none_if_not_faellig(self):
        sammlung_of(self).reset_due_to_none_if_not_faellig()

    def fudge_liste_erstellen(self):
        return sammlung_of(self).fudge_liste_erstellen()

    def set_due_to_now(self, limit, minimum, diff):
        sammlung_of(self).set_due_to_now(limit, minimum, diff)

    # ---- today's metadata ----

    def datum_heute(self):
        return text_to_py(sammlung_of(self).datum_heute())

    def get_metadata_heute(self, key):
        """Today's value; a list or mapping is the stored one, live."""
        return to_py(sammlung_of(self).get_metadata_heute(text_from_py(key, "key")), True)

    def set_metadata(self, key, wert):
        sammlung_of(self).set_metadata(text_from_py(key, "key"), from_py(wert))

    def append_to_metadata(self, key, wert, now):
        sammlung_of(self).append_to_metadata(text_from_py(key, "key"), from_py(wert), from_py(now))

    def remove_from_metadata(self, key, card):
        sammlung_of(self).remove_from_metadata(text_from_py(key, "key"), text_from_py(card, "card"))


cdef class Haendesammlung_vergessen(Haendesammlung):
    """A forgotten-cards collection: a Haendesammlung that takes its cards
    and metadata from a reduced copy of a normal one."""

    def __init__(self, zeitberechnung, vorauslernen, name, startzeit_tag, metadata=None,
                 karten=None):
        self.sammlung = make_haendesammlung_vergessen(
            sammlung_zeit_from_py(zeitberechnung), text_from_py(name, "name"), <int>startzeit_tag)
        self.vorauslernen = vorauslernen
        if metadata is not None:
            self.metadata = metadata
        if karten is not None:
            self.karten = karten

    def clone_haendesammlung(self, haendesammlung):
        as_forgotten(sammlung_of(self)).clone_haendesammlung(sammlung_of(haendesammlung)[0])


# ---- the container ----

cdef CppHaendesammlungContainer* container_of(HaendesammlungContainer wrapper) except NULL:
    if wrapper.container.get() == NULL:
        raise ValueError("the HaendesammlungContainer was never initialised")
    return wrapper.container.get()


cdef HaendesammlungContainer wrap_container(shared_ptr[CppHaendesammlungContainer] container):
    cdef HaendesammlungContainer wrapper = HaendesammlungContainer.__new__(HaendesammlungContainer)
    wrapper.container = container
    return wrapper


cdef dict shelf_to_py(const CppShelf& shelf):
    cdef dict result = {}
    cdef vector[string] keys = shelf.keys()
    cdef size_t index
    for index in range(keys.size()):
        result[text_to_py(keys[index])] = to_py(shelf.get(keys[index]))
    return result


cdef list sammlungen_to_py(const vector[SammlungRef]& sammlungen):
    cdef list result = []
    cdef size_t index
    for index in range(sammlungen.size()):
        result.append(wrap_sammlung(sammlungen[index]))
    return result


cdef vector[SammlungRef] sammlungen_from_py(object sammlungen) except *:
    cdef vector[SammlungRef] liste
    for sammlung in sammlungen:
        liste.push_back(sammlung_ref_from_py(sammlung))
    return liste


cdef class HaendesammlungContainer(object):
    " stellt Funktionen bereit, die gleichzeitig über alle Haendesammlungen iterieren "

    def __init__(self, zeitberechnung, vorauslernen, startzeit_tag):
        self.container = make_shared[CppHaendesammlungContainer](
            sammlung_zeit_from_py(zeitberechnung), <int64_t>vorauslernen, <int>startzeit_tag)

    # ---- attributes ----

    property liste_aller_sammlungen:
        """A new list of the registered collections on each read: changing
        that list changes nothing, assigning a list replaces the registered
        collections."""
        def __get__(self):
            return sammlungen_to_py(container_of(self).liste_aller_sammlungen)
        def __set__(self, sammlungen):
            container_of(self).liste_aller_sammlungen = sammlungen_from_py(sammlungen)

    property archiv_liste_aller_sammlungen:
        """The parked collections, read and assigned like
        liste_aller_sammlungen."""
        def __get__(self):
            return sammlungen_to_py(container_of(self).archiv_liste_aller_sammlungen)
        def __set__(self, sammlungen):
            container_of(self).archiv_liste_aller_sammlungen = sammlungen_from_py(sammlungen)

    property zeitberechnung:
        def __get__(self):
            return sammlung_zeit_to_py(container_of(self).zeitberechnung)
        def __set__(self, zeitberechnung):
            container_of(self).zeitberechnung = sammlung_zeit_from_py(zeitberechnung)

    property vorauslernen:
        def __get__(self):
            return container_of(self).vorauslernen
        def __set__(self, vorauslernen):
            container_of(self).vorauslernen = vorauslernen

    property startzeit_tag:
        def __get__(self):
            return container_of(self).startzeit_tag
        def __set__(self, startzeit_tag):
            container_of(self).startzeit_tag = startzeit_tag

    property aktuelle_haendesammlung:
        def __get__(self):
            return wrap_sammlung(container_of(self).aktuelle_haendesammlung)
        def __set__(self, sammlung):
            cdef SammlungRef nothing
            container_of(self).aktuelle_haendesammlung = (
                nothing if sammlung is None else sammlung_ref_from_py(sammlung))

    property sammlungsort_name:
        def __get__(self):
            return optional_text_to_py(container_of(self).sammlungsort_name)
        def __set__(self, name):
            container_of(self).sammlungsort_name = optional_text_from_py(name, "sammlungsort_name")

    # ---- registry and lookup ----

    def add(self, sammlung):
        container_of(self).add(sammlung_ref_from_py(sammlung))

    def remove(self, sammlung):
        container_of(self).remove(sammlung_ref_from_py(sammlung))

    def remove_alle_haendesammlungen(self):
        container_of(self).remove_alle_haendesammlungen()

    def get_richtige_sammlung(self, name):
        return wrap_sammlung(container_of(self).get_richtige_sammlung(text_from_py(name, "name")))

    def get_index_from_name(self, name):
        return container_of(self).get_index_from_name(text_from_py(name, "name"))

    def sammlung_named(self, name):
        return wrap_sammlung(container_of(self).sammlung_named(text_from_py(name, "name")))

    def check_vergessen(self):
        return container_of(self).check_vergessen()

    def make_new(self):
        return wrap_sammlung(container_of(self).make_new())

    def make_aktuelle_sammlung(self):
        container_of(self).make_aktuelle_sammlung()

    def set_vorauslernen_tage(self, zahl):
        container_of(self).set_vorauslernen_tage(zahl)

    def add_shelve_file(self, filename, writeback=False, copy=False):
        """The shelf's entries as a new dict, read when the call is made."""
        return shelf_to_py(container_of(self).add_shelve_file(
            file_name_from_py(filename, "filename"), <bint>writeback, from_py(copy)))

    def get_shelve_main_directory(self, zusatz):
        return text_to_py(container_of(self).get_shelve_main_directory(
            text_from_py(zusatz, "zusatz")))

    def add_haendesammlung(self, modul, name):
        """Loads and registers the collection `name`. The keys of `modul`
        are normalised in place when it is one of the module's own
        mappings; a plain dict keeps its keys."""
        container_of(self).add_haendesammlung(dict_from_py(modul), text_from_py(name, "name"))

    def fudge_erneuern(self):
        container_of(self).fudge_erneuern()

    # ---- operations on the collections with a given name ----

    def set_metadaten_richtige_sammlung(self, name, key, wert):
        container_of(self).set_metadaten_richtige_sammlung(
            text_from_py(name, "name"), text_from_py(key, "key"), from_py(wert))

    def remove_from_again_in_queue_metadata_richtige_sammlung(self, name, key, wert):
        container_of(self).remove_from_again_in_queue_metadata_richtige_sammlung(
            text_from_py(name, "name"), text_from_py(key, "key"), text_from_py(wert, "wert"))

    def append_now_to_richtige_sammlung(self, key, wert, name=""):
        container_of(self).append_now_to_richtige_sammlung(
            text_from_py(key, "key"), from_py(wert), text_from_py(name, "name"))

    def aendere_karteikarte_in_dictionary_richtige_sammlung(self, name, karteikarte):
        container_of(self).aendere_karteikarte_in_dictionary_richtige_sammlung(
            text_from_py(name, "name"), karteikarte_of(karteikarte)[0])

    def dictionary_speichern_richtige_sammlung(self, name, modus):
        container_of(self).dictionary_speichern_richtige_sammlung(text_from_py(name, "name"),
                                                                  from_py(modus))

    def anzahl_karte_erfolgreich_gelernt_richtige_sammlung(self, name):
        return container_of(self).anzahl_karte_erfolgreich_gelernt_richtige_sammlung(
            text_from_py(name, "name"))

    def erfolgreich_wiederholte_karten_richtige_sammlung(self, name):
        return container_of(self).erfolgreich_wiederholte_karten_richtige_sammlung(
            text_from_py(name, "name"))

    def get_due_today_richtige_sammlung(self, name):
        return sammlung_optional_int_to_py(
            container_of(self).get_due_today_richtige_sammlung(text_from_py(name, "name")))

    def get_anzahl_neue_karte_heute_faellig_gestellt(self, name):
        return sammlung_optional_int_to_py(
            container_of(self).get_anzahl_neue_karte_heute_faellig_gestellt(
                text_from_py(name, "name")))

    def get_noch_nicht_due_richtige_sammlung(self, name):
        return sammlung_optional_int_to_py(
            container_of(self).get_noch_nicht_due_richtige_sammlung(text_from_py(name, "name")))

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung(self, name):
        cdef CppHaendesammlungContainer* container = container_of(self)
        return sammlung_names_to_py(
            container.get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung(
                text_from_py(name, "name")))

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung_due_heute(
            self, name):
        cdef CppHaendesammlungContainer* container = container_of(self)
        return sammlung_names_to_py(
            container.get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung_due_heute(
                text_from_py(name, "name")))

    def get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung(self, name, voraus):
        return sammlung_names_to_py(
            container_of(self).get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung(
                text_from_py(name, "name"), voraus))

    def get_faellige_richtige_sammlung(self, name, voraus):
        """The live card data of the cards due, each once, as a list."""
        return sammlung_records_to_py(container_of(self).get_faellige_richtige_sammlung(
            text_from_py(name, "name"), voraus))

    def get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung(self, name):
        cdef CppHaendesammlungContainer* container = container_of(self)
        return container.get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung(
            text_from_py(name, "name"))

    # ---- operations on every collection ----

    def dictionary_speichern_alle_sammlungen(self):
        container_of(self).dictionary_speichern_alle_sammlungen()

    def set_metadaten_alle_sammlungen(self, key, wert):
        container_of(self).set_metadaten_alle_sammlungen(text_from_py(key, "key"), from_py(wert))

    def iterate_change_name(self):
        container_of(self).iterate_change_name()

    def iterate_get_vergessene_karten(self, zeitpunkt_vergangenheit):
        container_of(self).iterate_get_vergessene_karten(zeitpunkt_vergangenheit)

    def iterate_get_cardpointer_vergessene_karten(self, zeitpunkt_vergangenheit):
        return sammlungen_to_py(
            container_of(self).iterate_get_cardpointer_vergessene_karten(zeitpunkt_vergangenheit))

    def update(self, d, u):
        """Merges `u` into `d` and returns `d`. A live mapping is merged in
        place; a plain dict receives the merged entries."""
        cdef Dict merged = container_of(self).update(dict_from_py(d), dict_from_py(u))
        if isinstance(d, ValueDict):
            return d
        d.update(dict_to_py(merged))
        return d

    def iterate_show_due(self):
        container_of(self).iterate_show_due()

    def iterate_show_fudge(self):
        container_of(self).iterate_show_fudge()

    # ---- aggregate queries ----

    def iterate_wiederholbare_ueber_grenzwert(self, grenzwert_neu, grenzwert_wiederholungen,
                                              voraus):
        return container_of(self).iterate_wiederholbare_ueber_grenzwert(
            grenzwert_neu, grenzwert_wiederholungen, voraus)

    def iterate_anzahl_heute_planmaessig_wiederholte_karten(self):
        return container_of(self).iterate_anzahl_heute_planmaessig_wiederholte_karten()

    def iterate_anzahl_insgesamt_planmaessig_wiederholte_karten(self):
        return container_of(self).iterate_anzahl_insgesamt_planmaessig_wiederholte_karten()

    def iterate_anzahl_neue_karten_heute(self):
        return to_py(container_of(self).iterate_anzahl_neue_karten_heute())

    def iterate_anzahl_wiederholt_richtig_karten_heute(self):
        return to_py(container_of(self).iterate_anzahl_wiederholt_richtig_karten_heute())

    def anzahl_wiederholt_richtig_karten_heute_richtige_sammlung(self):
        return to_py(container_of(self).anzahl_wiederholt_richtig_karten_heute_richtige_sammlung())

    def iterate_anzahl_wiederholte_karten_heute(self):
        return to_py(container_of(self).iterate_anzahl_wiederholte_karten_heute())

    def iterate_anzahl_alte_karten_heute(self):
        return to_py(container_of(self).iterate_anzahl_alte_karten_heute())

    def iterate_anzahl_alte_karten_heute_richtig(self):
        return to_py(container_of(self).iterate_anzahl_alte_karten_heute_richtig())

    def iterate_anzahl_erneut_gelernte_karten_heute(self):
        return to_py(container_of(self).iterate_anzahl_erneut_gelernte_karten_heute())

    def iterate_anzahl_erneut_gelernte_karten_heute_richtig(self):
        return to_py(container_of(self).iterate_anzahl_erneut_gelernte_karten_heute_richtig())

    def iterate_anzahl_karte_erfolgreich_gelernt(self):
        return container_of(self).iterate_anzahl_karte_erfolgreich_gelernt()

    def iterate_anzahl_erfolgreich_wiederholte_karten(self):
        return container_of(self).iterate_anzahl_erfolgreich_wiederholte_karten()

    def iterate_anzahl_wiederholte_karten(self):
        return container_of(self).iterate_anzahl_wiederholte_karten()

    def iterate_anzahl_alte_karten_gleich_richtig_alle(self):
        return container_of(self).iterate_anzahl_alte_karten_gleich_richtig_alle()

    def iterate_anzahl_alte_karten_gleich_richtig_heute(self):
        return container_of(self).iterate_anzahl_alte_karten_gleich_richtig_heute()

    def iterate_anzahl_heute_falsch(self):
        return container_of(self).iterate_anzahl_heute_falsch()

    def iterate_anzahl_heute_falsch_alle_daten(self, liste=None):
        """Summed over the collections of `liste`, the registered ones for
        None."""
        cdef vector[SammlungRef] sammlungen
        if liste is None:
            return container_of(self).iterate_anzahl_heute_falsch_alle_daten(NULL)
        for sammlung in liste:
            sammlungen.push_back(sammlung_ref_from_py(sammlung))
        return container_of(self).iterate_anzahl_heute_falsch_alle_daten(&sammlungen)

    def iterate_get_anzahl_neue_karten_heute_angesehen(self):
        return container_of(self).iterate_get_anzahl_neue_karten_heute_angesehen()

    def iterate_get_anzahl_vormals_neu_heute(self):
        return container_of(self).iterate_get_anzahl_vormals_neu_heute()

    def iterate_get_anzahl_neue_karten_gleich_richtig(self):
        return container_of(self).iterate_get_anzahl_neue_karten_gleich_richtig()

    def iterate_anzahl_again_in_queue(self):
        return container_of(self).iterate_anzahl_again_in_queue()

    def get_anzahl_karten(self):
        return container_of(self).get_anzahl_karten()

    def iterate_get_due_today(self, voraus=0):
        return container_of(self).iterate_get_due_today(voraus)

    def iterate_get_neue_karten(self):
        return container_of(self).iterate_get_neue_karten()

    def iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig(self):
        return container_of(self).iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig()

    def iterate_get_neue_karten_mit_erfolglos(self):
        return container_of(self).iterate_get_neue_karten_mit_erfolglos()

    def iterate_get_anzahl_karten_reizung_karteikarte(self):
        return container_of(self).iterate_get_anzahl_karten_reizung_karteikarte()

    def get_max_neue_karten_vorhanden(self):
        return container_of(self).get_max_neue_karten_vorhanden()

    def heute_faellig_gestellt_kleiner_grenzwert(self, grenzwert):
        return container_of(self).heute_faellig_gestellt_kleiner_grenzwert(grenzwert)

    def existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(self, grenzwert):
        cdef CppHaendesammlungContainer* container = container_of(self)
        return container.existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(
            grenzwert)

    def iterate_get_heute_wiederholt_nicht_erfolgreich(self, faellig=None):
        return sammlung_names_to_py(
            container_of(self).iterate_get_heute_wiederholt_nicht_erfolgreich(
                sammlung_optional_names(faellig)))

    def iterate_get_heute_wiederholt_erfolgreich_noch_faellig(self, faellig=None):
        return sammlung_names_to_py(
            container_of(self).iterate_get_heute_wiederholt_erfolgreich_noch_faellig(
                sammlung_optional_names(faellig)))

    def iterate_get_faellige_cards(self, voraus=0):
        """The live card data of every collection's cards due, each once, as
        a list."""
        return sammlung_records_to_py(container_of(self).iterate_get_faellige_cards(voraus))

    def iterate_get_neue_ueber_grenzwert(self, grenzwert):
        return container_of(self).iterate_get_neue_ueber_grenzwert(grenzwert)

    def iterate_get_anzahl_neu_wird_heute_nicht_gelernt(self):
        return container_of(self).iterate_get_anzahl_neu_wird_heute_nicht_gelernt()
