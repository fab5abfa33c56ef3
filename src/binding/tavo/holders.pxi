# Kartenhalter, Karten_Identifier, Heap_umwandler,
# Statistik_erfolgreich_prozent_berechnen and Reihenfolge_anzeigen, and the
# conversion of candidate entries.
#
# Every method takes its arguments by keyword too. Holders hand out their
# lists as new Python lists of tuples; the card data in them is live, so a
# change made through it is a change of the card.

from collection_users_api cimport CppStatistik_erfolgreich_prozent_berechnen


cdef object optional_card_data(const CardRef& record):
    """Live card data of `record`, None when there is no record."""
    if record.get() == NULL:
        return None
    return card_data(record)


cdef CardRef optional_card_ref(object data) except *:
    """The record behind `data`; no record for None."""
    cdef CardRef nothing
    if data is None:
        return nothing
    return card_ref_from_py(data)


cdef object entry_to_py(const Entry& entry):
    if entry.fudge.has_value():
        return (entry.fudge.value(), optional_card_data(entry.data), text_to_py(entry.name))
    return (optional_card_data(entry.data), text_to_py(entry.name))


cdef list holder_entries_to_py(const vector[Entry]& entries):
    cdef list result = []
    cdef size_t index
    for index in range(entries.size()):
        result.append(entry_to_py(entries[index]))
    return result


cdef Entry entry_from_py(object candidate) except *:
    """The entry of the candidate tuple (fudge, card data, name) or pair
    (card data, name). A member of the wrong kind is reported by its place
    in the triple."""
    cdef Entry entry
    cdef int64_t fudge
    if type(candidate) is tuple and len(candidate) == 3:
        if not isinstance(candidate[0], (int, long)):
            raise TypeError("Element 0 sollte int sein")
        fudge = candidate[0]
        entry.fudge = fudge
        data, name = candidate[1], candidate[2]
    elif len(candidate) == 2:
        data, name = candidate[0], candidate[1]
    else:
        raise ValueError("Element sollte Laenge 2 oder 3 haben")
    if data is not None and not isinstance(data, CardData) and not hasattr(data, "keys"):
        raise TypeError("Element 1 sollte dict sein")
    if not isinstance(name, (bytes, unicode)):
        raise TypeError("Element 2 sollte basestring sein")
    entry.data = optional_card_ref(data)
    entry.name = text_from_py(name)
    return entry


cdef vector[Entry] entries_from_py(object candidates) except *:
    cdef vector[Entry] entries
    for candidate in candidates:
        entries.push_back(entry_from_py(candidate))
    return entries


cdef list holder_names_to_py(const vector[string]& names):
    cdef list result = []
    cdef size_t index
    for index in range(names.size()):
        result.append(text_to_py(names[index]))
    return result


cdef vector[string] holder_names_from_py(object names) except *:
    """The card names of any iterable of texts; None holds none."""
    cdef vector[string] result
    if names is None:
        return result
    for name in names:
        result.push_back(text_from_py(name, "a card name"))
    return result


cdef Kartenhalter wrap_kartenhalter(const CppKartenhalter& holder):
    cdef Kartenhalter wrapper = Kartenhalter.__new__(Kartenhalter)
    wrapper.holder = make_shared[CppKartenhalter](holder)
    return wrapper


cdef Reihenfolge_anzeigen wrap_reihenfolge_anzeigen(shared_ptr[CppReihenfolge_anzeigen] anzeige):
    cdef Reihenfolge_anzeigen wrapper = Reihenfolge_anzeigen.__new__(Reihenfolge_anzeigen)
    wrapper.anzeige = anzeige
    return wrapper


cdef class Kartenhalter(object):
    " haelt Karteikarten mit ihrem jeweiligen Namen, hier Bezeichner genannt "

    def __init__(self):
        self.holder = make_shared[CppKartenhalter]()

    @property
    def daten(self):
        return holder_entries_to_py(self.holder.get().daten.get()[0])

    @daten.setter
    def daten(self, daten):
        self.holder.get().daten = make_shared[vector[Entry]](entries_from_py(daten))

    @property
    def daten_identifier(self):
        return holder_entries_to_py(self.holder.get().daten_identifier)

    @daten_identifier.setter
    def daten_identifier(self, daten_identifier):
        self.holder.get().daten_identifier = entries_from_py(daten_identifier)

    def add_karte(self, bezeichner, data):
        self.holder.get().add_karte(text_from_py(bezeichner, "bezeichner"),
                                    optional_card_ref(data))

    def convert_to_identifier(self):
        self.holder.get().convert_to_identifier()

    def get_identifier(self):
        return holder_entries_to_py(self.holder.get().get_identifier())

    def get_bezeichner(self):
        return holder_names_to_py(self.holder.get().get_bezeichner())

    def get_karten(self):
        cdef vector[CardRef] karten = self.holder.get().get_karten()
        cdef list result = []
        cdef size_t index
        for index in range(karten.size()):
            result.append(optional_card_data(karten[index]))
        return result

    def enthaelt_bezeichner(self, bezeichner):
        return self.holder.get().enthaelt_bezeichner(text_from_py(bezeichner, "bezeichner"))

    def get_laenge(self):
        return self.holder.get().get_laenge()

    def get_daten(self):
        return holder_entries_to_py(self.holder.get().get_daten().get()[0])

    def add(self, Kartenhalter other not None):
        self.holder.get().add(other.holder.get()[0])

    def intersect(self, Kartenhalter other not None):
        self.holder.get().intersect(other.holder.get()[0])


cdef class Karten_Identifier(object):

    def __init__(self, sammlungsname):
        self.identifier = make_shared[CppKarten_Identifier](
            text_from_py(sammlungsname, "sammlungsname"))

    @property
    def sammlungsname(self):
        return text_to_py(self.identifier.get().sammlungsname)

    @sammlungsname.setter
    def sammlungsname(self, sammlungsname):
        self.identifier.get().sammlungsname = text_from_py(sammlungsname, "sammlungsname")

    @property
    def liste(self):
        cdef list result = []
        cdef const IdentifiedCard* card
        cdef size_t index
        for index in range(self.identifier.get().liste.size()):
            card = &self.identifier.get().liste[index]
            result.append((card.fudge, optional_card_data(card.data), text_to_py(card.name),
                           text_to_py(card.sammlungsname)))
        return result

    @liste.setter
    def liste(self, liste):
        cdef vector[IdentifiedCard] cards
        cdef IdentifiedCard card
        for item in liste:
            fudge, data, name, sammlungsname = item
            card.fudge = fudge
            card.data = optional_card_ref(data)
            card.name = text_from_py(name, "kartenname")
            card.sammlungsname = text_from_py(sammlungsname, "sammlungsname")
            cards.push_back(card)
        self.identifier.get().liste = cards

    def add(self, fudge, karte, kartenname):
        self.identifier.get().add(fudge, optional_card_ref(karte),
                                  text_from_py(kartenname, "kartenname"))

    def add_liste(self, liste):
        self.identifier.get().add_liste(entries_from_py(liste))

    def add_two_tuple_list(self, liste):
        self.identifier.get().add_two_tuple_list(entries_from_py(liste))

    def print_liste(self):
        self.identifier.get().print_liste()

    def get_3er_liste(self):
        return holder_entries_to_py(self.identifier.get().get_3er_liste())


cdef class Heap_umwandler(object):

    def __init__(self, liste, anzahl=1):
        cdef int64_t count = anzahl
        self.umwandler = make_shared[CppHeap_umwandler](entries_from_py(liste), count)

    @property
    def liste(self):
        return holder_entries_to_py(heap_liste(self.umwandler.get()[0]))

    @liste.setter
    def liste(self, liste):
        set_heap_liste(self.umwandler.get()[0], entries_from_py(liste))

    @property
    def anzahl(self):
        return self.umwandler.get().anzahl

    @anzahl.setter
    def anzahl(self, anzahl):
        self.umwandler.get().anzahl = anzahl

    def do(self):
        return holder_entries_to_py(self.umwandler.get().do_())

    def do_from_list(self):
        return holder_entries_to_py(self.umwandler.get().do_from_list())

    def check_int(self):
        return self.umwandler.get().check_int()


cdef class Statistik_erfolgreich_prozent_berechnen(object):

    def __init__(self, grenzwert_neu, grenzwert_wiederholungen, voraus,
                 Haendesammlung sammlung not None):
        cdef int64_t neu = grenzwert_neu
        cdef int64_t wiederholungen = grenzwert_wiederholungen
        cdef double vorausschau = voraus
        self.statistik = make_shared[CppStatistik_erfolgreich_prozent_berechnen](
            neu, wiederholungen, vorausschau, sammlung.sammlung)

    @property
    def grenzwert_neu(self):
        return self.statistik.get().grenzwert_neu

    @grenzwert_neu.setter
    def grenzwert_neu(self, grenzwert_neu):
        self.statistik.get().grenzwert_neu = grenzwert_neu

    @property
    def grenzwert_wiederholungen(self):
        return self.statistik.get().grenzwert_wiederholungen

    @grenzwert_wiederholungen.setter
    def grenzwert_wiederholungen(self, grenzwert_wiederholungen):
        self.statistik.get().grenzwert_wiederholungen = grenzwert_wiederholungen

    @property
    def voraus(self):
        return self.statistik.get().voraus

    @voraus.setter
    def voraus(self, voraus):
        self.statistik.get().voraus = voraus

    @property
    def sammlung(self):
        return wrap_sammlung(self.statistik.get().sammlung)

    @sammlung.setter
    def sammlung(self, Haendesammlung sammlung not None):
        self.statistik.get().sammlung = sammlung.sammlung

    @property
    def dict_return(self):
        return value_dict(self.statistik.get().dict_return)

    @dict_return.setter
    def dict_return(self, dict_return):
        self.statistik.get().dict_return = dict_from_py(dict_return)

    @property
    def startzeit_tag(self):
        return self.statistik.get().startzeit_tag

    @startzeit_tag.setter
    def startzeit_tag(self, startzeit_tag):
        self.statistik.get().startzeit_tag = startzeit_tag

    def do(self):
        return dict_to_py(self.statistik.get().do_())

    def bestimme_neue_karten_im_umlauf(self):
        cdef pair[CppKartenhalter, vector[string]] result = \
            self.statistik.get().bestimme_neue_karten_im_umlauf()
        return (wrap_kartenhalter(result.first), holder_names_to_py(result.second))

    def GW_neu_begrenzen_durch_karten_im_umlauf(self, neue_verfuegbar):
        return self.statistik.get().GW_neu_begrenzen_durch_karten_im_umlauf(neue_verfuegbar)

    def gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(
            self, neue_begrenzt_durch_verfuegbare_karten, anzahl_neue_erfolgreich):
        return self.statistik.get().gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(
            neue_begrenzt_durch_verfuegbare_karten, anzahl_neue_erfolgreich)

    def bestimme_wiederholbare_karten_im_umlauf(self, neue):
        return holder_names_to_py(self.statistik.get().bestimme_wiederholbare_karten_im_umlauf(
            holder_names_from_py(neue)))

    def bestimme_wiederholbare_anzahl(self, wiederholbare_im_umlauf):
        return self.statistik.get().bestimme_wiederholbare_anzahl(
            holder_names_from_py(wiederholbare_im_umlauf))

    def bestimme_noch_wiederholbar_grenzwert(self, anzahl_wiederholbare_im_umlauf,
                                             wiederholungen_erfolgreich):
        return self.statistik.get().bestimme_noch_wiederholbar_grenzwert(
            anzahl_wiederholbare_im_umlauf, wiederholungen_erfolgreich)

    def bestimme_tatsaechliche_wiederholungen(self, noch_wiederholbar_grenzwert,
                                              wiederholungen_erfolgreich):
        return self.statistik.get().bestimme_tatsaechliche_wiederholungen(
            noch_wiederholbar_grenzwert, wiederholungen_erfolgreich)

    def bestimme_erfolgreiche(self, wiederholungen_erfolgreich, anzahl_neue_erfolgreich):
        return self.statistik.get().bestimme_erfolgreiche(wiederholungen_erfolgreich,
                                                          anzahl_neue_erfolgreich)

    def bestimme_gesamt(self, Wiederholungen, neue_angehoben_durch_mehr_gelernt):
        return self.statistik.get().bestimme_gesamt(Wiederholungen,
                                                    neue_angehoben_durch_mehr_gelernt)

    def bestimme_anzahl_karten_im_umlauf(self, Kartenhalter neue_karten not None,
                                         heute_faellig_gestellt):
        cdef pair[int64_t, int64_t] result = self.statistik.get().bestimme_anzahl_karten_im_umlauf(
            neue_karten.holder.get()[0], holder_names_from_py(heute_faellig_gestellt))
        return (result.first, result.second)

    def teile_erfolgreiche_auf(self, heute_faellig_gestellt, wiederholte_karten):
        cdef pair[int64_t, int64_t] result = self.statistik.get().teile_erfolgreiche_auf(
            holder_names_from_py(heute_faellig_gestellt),
            holder_names_from_py(wiederholte_karten))
        return (result.first, result.second)

    def bestimme_erfolgreich_wiederholte_karten(self, heute_faellig_gestellt):
        return holder_names_to_py(self.statistik.get().bestimme_erfolgreich_wiederholte_karten(
            holder_names_from_py(heute_faellig_gestellt)))


cdef class Reihenfolge_anzeigen(object):

    def __init__(self):
        self.anzeige = make_shared[CppReihenfolge_anzeigen]()

    @property
    def reihenfolge(self):
        return value_dict(self.anzeige.get().reihenfolge)

    @reihenfolge.setter
    def reihenfolge(self, reihenfolge):
        self.anzeige.get().reihenfolge = dict_from_py(reihenfolge)
