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
    """ haelt Karteikarten mit ihrem jeweiligen Namen, hier Bezeichner genannt 

    Holds cards as pairs (card data, name), in insertion order. Built without
    arguments, empty. The card data is live: a change made through it is a
    change of the card in its collection. Every list read from a holder is a
    new Python list of tuples; changing that list changes nothing.
    """

    @cython.embedsignature(False)  # the class description comes first
    def __init__(self):
        self.holder = make_shared[CppKartenhalter]()

    @property
    def daten(self):
        """The pairs (card data, name), as a new list.

        Assigning a list of pairs (or of tuples (fudge, card data, name)) gives
        the holder a list of its own, no longer shared with another holder. An
        element of another length raises ValueError "Element sollte Laenge 2 oder
        3 haben"; a member of the wrong kind raises TypeError.
        """
        return holder_entries_to_py(self.holder.get().daten.get()[0])

    @daten.setter
    def daten(self, daten):
        self.holder.get().daten = make_shared[vector[Entry]](entries_from_py(daten))

    @property
    def daten_identifier(self):
        """The triples (fudge, card data, name) built by convert_to_identifier, as a new list.

        Assigning a list of triples replaces them.
        """
        return holder_entries_to_py(self.holder.get().daten_identifier)

    @daten_identifier.setter
    def daten_identifier(self, daten_identifier):
        self.holder.get().daten_identifier = entries_from_py(daten_identifier)

    def add_karte(self, bezeichner, data):
        """Append the pair (`data`, `bezeichner`); the name comes first here.

        `data` is live card data (shared), any other mapping (stored as a new
        record) or None. TypeError when `bezeichner` is not a text or `data` is
        not a mapping.
        """
        self.holder.get().add_karte(text_from_py(bezeichner, "bezeichner"),
                                    optional_card_ref(data))

    def convert_to_identifier(self):
        """Rebuild daten_identifier from the pairs, each with the fudge its card data holds now.

        Does nothing while the holder is empty. KeyError 'fudge' for card data
        without one, leaving daten_identifier as it was.
        """
        self.holder.get().convert_to_identifier()

    def get_identifier(self):
        """Return the triples (fudge, card data, name), as a new list.

        They are built first while there are none (KeyError 'fudge' as in
        convert_to_identifier); once built they stay as they are, so cards added
        later do not appear in them.
        """
        return holder_entries_to_py(self.holder.get().get_identifier())

    def get_bezeichner(self):
        """Return the names, in order, as a new list."""
        return holder_names_to_py(self.holder.get().get_bezeichner())

    def get_karten(self):
        """Return the live card data of every pair, in order, as a new list.

        A pair without card data gives None.
        """
        cdef vector[CardRef] karten = self.holder.get().get_karten()
        cdef list result = []
        cdef size_t index
        for index in range(karten.size()):
            result.append(optional_card_data(karten[index]))
        return result

    def enthaelt_bezeichner(self, bezeichner):
        """Tell whether a pair carries the name `bezeichner`."""
        return self.holder.get().enthaelt_bezeichner(text_from_py(bezeichner, "bezeichner"))

    def get_laenge(self):
        """Return the number of pairs."""
        return self.holder.get().get_laenge()

    def get_daten(self):
        """Return the pairs (card data, name) as a new list, as `daten` does."""
        return holder_entries_to_py(self.holder.get().get_daten().get()[0])

    def add(self, Kartenhalter other not None):
        """Append every pair of the Kartenhalter `other`, in its order.

        A pair held by both then occurs twice. `other` may be this holder itself.
        """
        self.holder.get().add(other.holder.get()[0])

    def intersect(self, Kartenhalter other not None):
        """Merge the Kartenhalter `other` into this one: despite its name, the union.

        An empty holder takes `other`'s list itself, shared, so that pairs added
        later through either holder show in both. Otherwise each pair of `other`
        with no equal pair in `daten` is appended, in `other`'s order. Pairs are
        equal when their names are equal and their card data are equal mappings,
        whether or not they are the same record.
        """
        self.holder.get().intersect(other.holder.get()[0])


cdef class Karten_Identifier(object):
    """The identified cards of one collection, for the card choice.

    Built with `sammlungsname`, the name of the collection the cards belong
    to (TypeError when it is not a text). Each card is kept, in insertion
    order, as (fudge, card data, name, collection name); the card data is
    shared with the collection, never copied.
    """

    def __init__(self, sammlungsname):
        self.identifier = make_shared[CppKarten_Identifier](
            text_from_py(sammlungsname, "sammlungsname"))

    @property
    def sammlungsname(self):
        """The collection name recorded with each card added from now on."""
        return text_to_py(self.identifier.get().sammlungsname)

    @sammlungsname.setter
    def sammlungsname(self, sammlungsname):
        self.identifier.get().sammlungsname = text_from_py(sammlungsname, "sammlungsname")

    @property
    def liste(self):
        """The cards as tuples (fudge, card data, name, collection name), as a new list.

        Assigning a list of such four-item sequences replaces the cards; nothing
        is replaced when an item is wrong (ValueError for another length,
        TypeError for a member of the wrong kind).
        """
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
        """Append the card (`fudge`, `karte`, `kartenname`, sammlungsname).

        `karte` is live card data (shared), any other mapping (stored as a new
        record) or None. TypeError for an argument of the wrong kind.
        """
        self.identifier.get().add(fudge, optional_card_ref(karte),
                                  text_from_py(kartenname, "kartenname"))

    def add_liste(self, liste):
        """Add each item of `liste` in order as add(item[0], item[1], item[2]).

        An item is any sequence of three: fudge, card data, name. An error
        (IndexError for a shorter item, TypeError for a member of the wrong
        kind) leaves the items before it added.
        """
        for item in liste:
            self.add(item[0], item[1], item[2])

    def add_two_tuple_list(self, liste):
        """Add each element of `liste` in order, pairs and triples mixed.

        A tuple of three is taken as (fudge, card data, name); a pair as (card
        data, name), with the fudge its card data holds now (KeyError 'fudge'
        when it has none). Any other element, of another length or three items
        not in a tuple, raises ValueError "Element sollte Laenge 2 oder 3 haben";
        a member of the wrong kind raises TypeError ("Element 0 sollte int sein",
        ...). Elements added before a bad one stay added.
        """
        cdef vector[Entry] element
        for candidate in liste:
            element.assign(1, entry_from_py(candidate))
            self.identifier.get().add_two_tuple_list(package_environment.diagnostics, element)

    def print_liste(self):
        """Print the name of each card, one a line, to sys.stdout."""
        self.identifier.get().print_liste(package_environment.diagnostics)

    def get_3er_liste(self):
        """Return the cards as triples (fudge, card data, name), in order, as a new list."""
        return holder_entries_to_py(self.identifier.get().get_3er_liste())


cdef class Heap_umwandler(object):
    """Picks the entries with the smallest fudge out of a list.

    Built with `liste`, pairs (card data, name) or tuples (fudge, card data,
    name), of which it keeps a copy (the card data stays shared), and
    `anzahl`, how many entries to pick (default 1). The picks are a new list
    of triples in ascending fudge; equal fudges order by name, then by place
    in `liste`. A shorter list gives all its entries.
    """

    def __init__(self, liste, anzahl=1):
        cdef int64_t count = anzahl
        self.umwandler = make_shared[CppHeap_umwandler](entries_from_py(liste), count)

    @property
    def liste(self):
        """The entries picked from, as a new list; assigning stores a copy of the new list."""
        return holder_entries_to_py(heap_liste(self.umwandler.get()[0]))

    @liste.setter
    def liste(self, liste):
        set_heap_liste(self.umwandler.get()[0], entries_from_py(liste))

    @property
    def anzahl(self):
        """How many entries do and do_from_list pick."""
        return self.umwandler.get().anzahl

    @anzahl.setter
    def anzahl(self, anzahl):
        self.umwandler.get().anzahl = anzahl

    def do(self):
        """Return the `anzahl` smallest triples of a list of pairs.

        Each pair gets the fudge its card data holds now: KeyError 'fudge' for
        card data without one. ValueError "too many values to unpack" when an
        entry is already a triple.
        """
        return holder_entries_to_py(self.umwandler.get().do_())

    def do_from_list(self):
        """Return the `anzahl` smallest triples, whatever the form of `liste`.

        When every entry is a triple their own fudge counts; otherwise the
        entries are taken as pairs, as by do. An empty list gives an empty list.
        """
        return holder_entries_to_py(self.umwandler.get().do_from_list())

    def check_int(self):
        """Tell whether every entry is a triple (True for an empty list)."""
        return self.umwandler.get().check_int()


cdef class Statistik_erfolgreich_prozent_berechnen(object):
    """Today's figures of one collection against the day's limits.

    Built with `grenzwert_neu` and `grenzwert_wiederholungen`, the day's
    limits of new cards and of reviews, `voraus`, the look-ahead in seconds
    of the due-card queries, and `sammlung`, the Haendesammlung to read. The
    new-card limit is clipped to the new cards available and raised to the
    new cards already learnt; the review limit is lowered to the reviewable
    cards in circulation. Every call reads the collection afresh and changes
    nothing; errors of the collection's queries propagate.
    """

    def __init__(self, grenzwert_neu, grenzwert_wiederholungen, voraus,
                 Haendesammlung sammlung not None):
        cdef int64_t neu = grenzwert_neu
        cdef int64_t wiederholungen = grenzwert_wiederholungen
        cdef double vorausschau = voraus
        self.statistik = make_shared[CppStatistik_erfolgreich_prozent_berechnen](
            neu, wiederholungen, vorausschau, sammlung.sammlung)

    @property
    def grenzwert_neu(self):
        """The day's limit of new cards."""
        return self.statistik.get().grenzwert_neu

    @grenzwert_neu.setter
    def grenzwert_neu(self, grenzwert_neu):
        self.statistik.get().grenzwert_neu = grenzwert_neu

    @property
    def grenzwert_wiederholungen(self):
        """The day's limit of reviews."""
        return self.statistik.get().grenzwert_wiederholungen

    @grenzwert_wiederholungen.setter
    def grenzwert_wiederholungen(self, grenzwert_wiederholungen):
        self.statistik.get().grenzwert_wiederholungen = grenzwert_wiederholungen

    @property
    def voraus(self):
        """The look-ahead in seconds of the due-card queries."""
        return self.statistik.get().voraus

    @voraus.setter
    def voraus(self, voraus):
        self.statistik.get().voraus = voraus

    @property
    def sammlung(self):
        """The collection read, as a wrapper of that very collection.

        Assigning another Haendesammlung makes the figures read that one.
        """
        return wrap_sammlung(self.statistik.get().sammlung)

    @sammlung.setter
    def sammlung(self, Haendesammlung sammlung not None):
        self.statistik.get().sammlung = sammlung.sammlung

    @property
    def dict_return(self):
        """A live mapping kept for the host; do does not fill it. Assigning replaces it."""
        return value_dict(self.statistik.get().dict_return)

    @dict_return.setter
    def dict_return(self, dict_return):
        self.statistik.get().dict_return = dict_from_py(dict_return)

    @property
    def startzeit_tag(self):
        """A start hour kept for the host (3 by default); nothing here reads it."""
        return self.statistik.get().startzeit_tag

    @startzeit_tag.setter
    def startzeit_tag(self, startzeit_tag):
        self.statistik.get().startzeit_tag = startzeit_tag

    def do(self):
        """Return today's thirteen figures as a new dict.

        The keys, in order: neue_begrenzt_durch_verfuegbare_karten,
        anzahl_neu_erfolgreich, erfolgreich_wiederholte_karten (names),
        neue_verfuegbar, heute_faellig_gestellt_anzahl,
        anzahl_wiederholungen_erfolgreich, neue_angehoben_durch_mehr_gelernt,
        wiederholbare_im_umlauf (names), anzahl_wiederholbare_im_umlauf,
        noch_wiederholbar_grenzwert, tatsaechliche_Wiederholungen,
        anzahl_erfolgreich and gesamt. In debug mode AssertionError when the
        collection's two lists of new cards learnt today differ in size.
        """
        return dict_to_py(self.statistik.get().do_())

    def bestimme_neue_karten_im_umlauf(self):
        """Return the pair (new cards, names of the cards due within voraus).

        The first is a new Kartenhalter of the collection's new cards, with live
        card data; the second a new list, learning ahead included.
        """
        cdef pair[CppKartenhalter, vector[string]] result = \
            self.statistik.get().bestimme_neue_karten_im_umlauf()
        return (wrap_kartenhalter(result.first), holder_names_to_py(result.second))

    def GW_neu_begrenzen_durch_karten_im_umlauf(self, neue_verfuegbar):
        """Return the smaller of `neue_verfuegbar` and grenzwert_neu."""
        return self.statistik.get().GW_neu_begrenzen_durch_karten_im_umlauf(neue_verfuegbar)

    def gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(
            self, neue_begrenzt_durch_verfuegbare_karten, anzahl_neue_erfolgreich):
        """Return the larger of the two counts.

        That is the new-card limit `neue_begrenzt_durch_verfuegbare_karten`,
        raised to `anzahl_neue_erfolgreich` when more new cards were learnt.
        """
        return self.statistik.get().gw_anheben_mehr_erfolgreich_gelernt_als_vorgesehen(
            neue_begrenzt_durch_verfuegbare_karten, anzahl_neue_erfolgreich)

    def bestimme_wiederholbare_karten_im_umlauf(self, neue):
        """Return the names of the cards due within voraus that are not in `neue`, as a new list.

        Learning ahead is included; None for `neue` counts as no names.
        """
        return holder_names_to_py(self.statistik.get().bestimme_wiederholbare_karten_im_umlauf(
            holder_names_from_py(neue)))

    def bestimme_wiederholbare_anzahl(self, wiederholbare_im_umlauf):
        """Return the number of names in `wiederholbare_im_umlauf`."""
        return self.statistik.get().bestimme_wiederholbare_anzahl(
            holder_names_from_py(wiederholbare_im_umlauf))

    def bestimme_noch_wiederholbar_grenzwert(self, anzahl_wiederholbare_im_umlauf,
                                             wiederholungen_erfolgreich):
        """Return the reviews still allowed.

        That is `anzahl_wiederholbare_im_umlauf`, at most grenzwert_wiederholungen
        less `wiederholungen_erfolgreich`, and never below 0.
        """
        return self.statistik.get().bestimme_noch_wiederholbar_grenzwert(
            anzahl_wiederholbare_im_umlauf, wiederholungen_erfolgreich)

    def bestimme_tatsaechliche_wiederholungen(self, noch_wiederholbar_grenzwert,
                                              wiederholungen_erfolgreich):
        """Return the effective review limit: the reviews still allowed plus those done."""
        return self.statistik.get().bestimme_tatsaechliche_wiederholungen(
            noch_wiederholbar_grenzwert, wiederholungen_erfolgreich)

    def bestimme_erfolgreiche(self, wiederholungen_erfolgreich, anzahl_neue_erfolgreich):
        """Return all of today's successes: the sum of the two counts."""
        return self.statistik.get().bestimme_erfolgreiche(wiederholungen_erfolgreich,
                                                          anzahl_neue_erfolgreich)

    def bestimme_gesamt(self, Wiederholungen, neue_angehoben_durch_mehr_gelernt):
        """Return the day's total: `Wiederholungen` plus `neue_angehoben_durch_mehr_gelernt`."""
        return self.statistik.get().bestimme_gesamt(Wiederholungen,
                                                    neue_angehoben_durch_mehr_gelernt)

    def bestimme_anzahl_karten_im_umlauf(self, Kartenhalter neue_karten not None,
                                         heute_faellig_gestellt):
        """Return the pair (cards put due today, new cards available).

        The first is the number of names in `heute_faellig_gestellt`; the second
        adds to it the cards of the Kartenhalter `neue_karten`.
        """
        cdef pair[int64_t, int64_t] result = self.statistik.get().bestimme_anzahl_karten_im_umlauf(
            neue_karten.holder.get()[0], holder_names_from_py(heute_faellig_gestellt))
        return (result.first, result.second)

    def teile_erfolgreiche_auf(self, heute_faellig_gestellt, wiederholte_karten):
        """Split the successes `wiederholte_karten` into the pair (reviews, new cards).

        The names among `heute_faellig_gestellt` count as new cards, the rest as
        reviews; with no successes both are 0.
        """
        cdef pair[int64_t, int64_t] result = self.statistik.get().teile_erfolgreiche_auf(
            holder_names_from_py(heute_faellig_gestellt),
            holder_names_from_py(wiederholte_karten))
        return (result.first, result.second)

    def bestimme_erfolgreich_wiederholte_karten(self, heute_faellig_gestellt):
        """Return today's successful reviews, as a new list of names.

        These are today's "karte_erfolgreich_wiederholt" names without those in
        `heute_faellig_gestellt`.
        """
        return holder_names_to_py(self.statistik.get().bestimme_erfolgreich_wiederholte_karten(
            holder_names_from_py(heute_faellig_gestellt)))


cdef class Reihenfolge_anzeigen(object):
    """The manager's display-order record, kept for the host.

    Built without arguments, with an empty `reihenfolge`. The manager hands
    out its own record as a wrapper of that very record. Nothing in the
    module fills or reads it.
    """

    def __init__(self):
        self.anzeige = make_shared[CppReihenfolge_anzeigen]()

    @property
    def reihenfolge(self):
        """The display order, as a live mapping.

        Assigning a live mapping shares it; a plain dict is copied.
        """
        return value_dict(self.anzeige.get().reihenfolge)

    @reihenfolge.setter
    def reihenfolge(self, reihenfolge):
        self.anzeige.get().reihenfolge = dict_from_py(reihenfolge)
