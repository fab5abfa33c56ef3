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
    """Card name to live card data: the cards of one collection, read and written in place.

    Handed out by the module (Haendesammlung.karten, for one), never built
    directly: calling the class raises TypeError. The cards come in the
    collection's card order. Reading a card gives its live card data, so a
    change made there is a change of the card in its collection. Assigning a
    mapping to a name stores it as that card's record: live card data keeps its
    record (shared), any other mapping becomes a new record, anything else
    raises TypeError; a replaced card keeps its place, a new one comes last.
    `del` removes the card. A name that is absent or not a text raises
    KeyError. A CardMapping equals a CardMapping or dict holding the same names
    and card data.
    """

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
        """Return a new list of the card names, in card order."""
        return sammlung_names_to_py(self.cards.get().names())

    def values(self):
        """Return a new list of the cards' live card data, in card order."""
        return [self[name] for name in self.keys()]

    def items(self):
        """Return a new list of (name, live card data) pairs, in card order."""
        return [(name, self[name]) for name in self.keys()]

    def get(self, name, default=None):
        """Return the live card data of the card `name`, or `default` when it is absent."""
        return self[name] if name in self else default

    def pop(self, name, *default):
        """Remove the card `name` and return its live card data.

        When the card is absent, the `default` given is returned; without one,
        KeyError.
        """
        if name not in self:
            if default:
                return default[0]
            raise KeyError(name)
        data = self[name]
        del self[name]
        return data

    def update(self, other=(), **more):
        """Store every card of `other` and of the keyword arguments, as assigning each would.

        `other` is a mapping or an iterable of (name, card data) pairs.
        """
        pairs = other.items() if hasattr(other, "items") else other
        for name, data in list(pairs) + list(more.items()):
            self[name] = data

    def clear(self):
        """Remove every card from the collection."""
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
    """One hand collection: its cards, its per-day metadata and the queries over both.

    Built with `zeitberechnung` (a Zeitberechnungen, or None), `vorauslernen`
    (the days of learning ahead), `name` (the collection's name, with which its
    card names begin), `startzeit_tag` (the hour at which the learning day
    begins) and optionally `metadata` (a mapping: a live mapping is shared, a
    plain dict copied) and `karten` (card name to card data: live card data
    keeps its record, other mappings become new records). TypeError for a name
    that is not a text or `karten` that is not a mapping.

    Every wrapper of the same collection acts on it and compares equal to the
    others. Per-day values are kept in `metadata` under their statistic, then
    under the learning day's key: metadata["heute_falsch"]["2021-9-22"] lists
    the cards answered "again" that day. The queries read the present moment
    from the process-wide time functions. Their terms: a new card was never
    made due ("due" is None); a card put due today is in today's
    "neue_karte_heute_faellig_gestellt"; seen today means answered today;
    reviewed today means answered on an earlier day and again today; failed
    means its latest answer is "again"; learnt today means seen today and no
    longer due (its due is "done" or lies in a later learning day). Card names
    come back as new lists of str, in card order unless said otherwise.
    """

    def __init__(self, zeitberechnung, vorauslernen, name, startzeit_tag, metadata=None,
                 karten=None):
        cdef Dict entries
        if metadata is not None:
            entries = dict_from_py(metadata)
        self.sammlung = make_shared[CppHaendesammlung](
            package_environment[0], sammlung_zeit_from_py(zeitberechnung), <int64_t>vorauslernen,
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
        """The collection's name; its card names begin with it and "-"."""
        def __get__(self):
            return text_to_py(sammlung_of(self).name)
        def __set__(self, name):
            sammlung_of(self).name = text_from_py(name, "name")

    property karten:
        """Card name to live card data, as a CardMapping on the collection's own cards.

        Assigning a mapping replaces every card: live card data keeps its
        record (shared), any other mapping becomes a new record.
        """
        def __get__(self):
            return card_mapping(shared_karten(self.sammlung, &sammlung_of(self).karten))
        def __set__(self, karten):
            sammlung_of(self).karten = karten_from_py(karten)

    property metadata:
        """The per-day metadata as a live mapping: statistic, then learning day's key, then value.

        Assigning a mapping replaces it; a live mapping is shared, a plain dict
        copied.
        """
        def __get__(self):
            return value_dict(sammlung_of(self).metadata)
        def __set__(self, metadata):
            sammlung_of(self).metadata = dict_from_py(metadata)

    property neue_dict:
        """The new cards by category that the module keeps between its queries, or None.

        See get_neue_karten_im_umlauf. Lists and mappings read here are live;
        assigning stores any value the module can hold.
        """
        def __get__(self):
            return to_py(sammlung_of(self).neue_dict, True)
        def __set__(self, neue_dict):
            sammlung_of(self).neue_dict = from_py(neue_dict)

    property zeitberechnung:
        """The collection's Zeitberechnungen, shared with its other users, or None."""
        def __get__(self):
            return sammlung_zeit_to_py(sammlung_of(self).zeitberechnung)
        def __set__(self, zeitberechnung):
            sammlung_of(self).zeitberechnung = sammlung_zeit_from_py(zeitberechnung)

    property vorauslernen:
        """The days of learning ahead, which the review and candidate queries add."""
        def __get__(self):
            return sammlung_of(self).vorauslernen
        def __set__(self, vorauslernen):
            sammlung_of(self).vorauslernen = vorauslernen

    property startzeit_tag:
        """The hour at which the learning day begins."""
        def __get__(self):
            return sammlung_of(self).startzeit_tag
        def __set__(self, startzeit_tag):
            sammlung_of(self).startzeit_tag = startzeit_tag

    # ---- storage ----

    def haendesammlung_karteikarten_info_neu_erstellen(self, modul, name):
        """Build fresh cards for the hand module `modul`, not part of any collection.

        The result is a CardMapping of their own. `modul` maps card keys to
        hand data: a key without "-" becomes `name` + "-" + key, and each card
        gets the initial learning state on top of its hand data. TypeError when
        some hand data is not a mapping.
        """
        return card_mapping(make_shared[CardMap](
            sammlung_of(self).haendesammlung_karteikarten_info_neu_erstellen(
                dict_from_py(modul), text_from_py(name, "name"))))

    def dictionary_speichern(self, name, dictionary, modus):
        """Save the collection `dictionary` (a Haendesammlung) in the store under `name`.

        Only what changed since the last load or save is written. `modus` is
        accepted for the host and has no effect. IOError (OSError on Python 3)
        when the store cannot be written.
        """
        sammlung_of(self).dictionary_speichern(text_from_py(name, "name"),
                                               sammlung_of(dictionary)[0], from_py(modus))

    def set_permanent_fudge(self, key):
        """Give every card without one its permanent ordering value under `key`.

        For "permanent_fudge_neu" the next free numbers in card order (new
        cards come in deck order), for "permanent_fudge_wdh" the same numbers
        in random order. Values already set are kept, so they stay permanent.
        ValueError for any other key.
        """
        sammlung_of(self).set_permanent_fudge(text_from_py(key, "key"))

    def fudge_erneuern(self, position, rs):
        """Give card i of the collection the jitter value `rs[position + i]`.

        `rs` is a sequence of integers shared by all collections; IndexError
        when it is too short.
        """
        sammlung_of(self).fudge_erneuern(<size_t>position, rs)

    def test_karten_enthaelt_falsche_bezeichner(self):
        """Return True when some card name does not begin with the collection's name and "-".

        For a forgotten-cards collection the name is the one before
        "_vergessen".
        """
        return sammlung_of(self).test_karten_enthaelt_falsche_bezeichner()

    def clone(self):
        """Return an independent copy of the collection.

        Every card record and the metadata are copied; name, settings and the
        record of what the store holds are the same. A forgotten-cards
        collection gives a Haendesammlung_vergessen.
        """
        return wrap_sammlung(sammlung_of(self).clone())

    def remove_card(self, name):
        """Remove the card `name`; KeyError when it is absent."""
        sammlung_of(self).remove_card(text_from_py(name, "name"))

    def aendere_karteikarte_in_dictionary(self, karteikarte):
        """Write the learning state of the Karteikarte `karteikarte` into its card.

        The card is the one of the same name. The fields written are
        learnstatus, reps, lapses, due, ease_factor, steps_index, interval,
        zuletzt_vergessen, faellig_erstes_mal, last_interval_no_lapse,
        last_interval, beantwortungszeiten, karte_ist_neu and letzte_antwort.
        KeyError when the collection has no such card; TypeError when
        `karteikarte` is not a Karteikarte.
        """
        sammlung_of(self).aendere_karteikarte_in_dictionary(
            karteikarte_of(karteikarte)[0])

    def set_vorauslernen_tage(self, zahl):
        """Set the days of learning ahead to `zahl`."""
        sammlung_of(self).set_vorauslernen_tage(zahl)

    # ---- counts ----

    def get_anzahl_karten(self):
        """Return the number of cards in the collection."""
        return sammlung_of(self).get_anzahl_karten()

    def anzahl_due_none(self):
        """Return the number of new cards (their "due" is None)."""
        return sammlung_of(self).anzahl_due_none()

    def get_anzahl_vormals_neu_heute(self):
        """Return the number of cards put due today, which the daily new-card limit counts."""
        return sammlung_of(self).get_anzahl_vormals_neu_heute()

    def get_anzahl_neue_karten_heute_angesehen(self):
        """Return the number of new cards seen today (answered today for the first time ever)."""
        return sammlung_of(self).get_anzahl_neue_karten_heute_angesehen()

    def get_anzahl_karten_heute_zum_ersten_mal_angesehen(self):
        """Return the number of new cards seen today.

        The same count as get_anzahl_neue_karten_heute_angesehen.
        """
        return sammlung_of(self).get_anzahl_karten_heute_zum_ersten_mal_angesehen()

    def anzahl_karte_erfolgreich_gelernt(self):
        """Return the number of cards learnt today (seen and no longer due), new and reviewed."""
        return sammlung_of(self).anzahl_karte_erfolgreich_gelernt()

    def get_anzahl_karte_alt_erfolgreich_wiederholt_heute(self):
        """Return the number of cards reviewed today and learnt today."""
        return sammlung_of(self).get_anzahl_karte_alt_erfolgreich_wiederholt_heute()

    def anzahl_erfolgreich_wiederholte_karten(self):
        """Return the number of cards reviewed today, not failed and no longer due."""
        return sammlung_of(self).anzahl_erfolgreich_wiederholte_karten()

    def anzahl_wiederholte_karten(self):
        """Return the number of cards reviewed today (today's "wiederholte_karten")."""
        return sammlung_of(self).anzahl_wiederholte_karten()

    def anzahl_heute_planmaessig_wiederholte_karten(self):
        """Return the number of reviews begun on schedule today.

        That is the number of cards reviewed today.
        """
        return sammlung_of(self).anzahl_heute_planmaessig_wiederholte_karten()

    def anzahl_insgesamt_planmaessig_wiederholte_karten(self):
        """Return the number of reviews of every stored day.

        That is the length of the "wiederholte_karten" lists of all days.
        """
        return sammlung_of(self).anzahl_insgesamt_planmaessig_wiederholte_karten()

    def anzahl_alte_karten_gleich_richtig_heute(self):
        """Return the number of reviews answered right at the first attempt today.

        That is the cards in today's "alte_karten_gleich_richtig".
        """
        return sammlung_of(self).anzahl_alte_karten_gleich_richtig_heute()

    def anzahl_alte_karten_gleich_richtig_alle_daten(self):
        """Return the number of reviews answered right at the first attempt, on any stored day."""
        return sammlung_of(self).anzahl_alte_karten_gleich_richtig_alle_daten()

    def anzahl_heute_falsch(self):
        """Return the number of cards answered "again" today (today's "heute_falsch")."""
        return sammlung_of(self).anzahl_heute_falsch()

    def anzahl_karten_heute_falsch_alle_daten(self):
        """Return the number of cards answered "again", over every stored day."""
        return sammlung_of(self).anzahl_karten_heute_falsch_alle_daten()

    def get_anzahl_neue_karten_gleich_richtig(self):
        """Return the number of new cards seen today and never answered "again" today."""
        return sammlung_of(self).get_anzahl_neue_karten_gleich_richtig()

    def anzahl_again_in_queue(self):
        """Return the number of cards in today's "again_in_queue"."""
        return sammlung_of(self).anzahl_again_in_queue()

    def get_due_today(self, voraus=0):
        """Return the number of cards due within `voraus` seconds from now.

        The days of learning ahead are not added.
        """
        return sammlung_of(self).get_due_today(voraus)

    def get_anzahl_moegliche_wiederholungen(self, grenzwert_wiederholungen,
                                            heute_erfolgreich_wiederholt=None, voraus=0):
        """Return the number of reviews that may be shown within `voraus` seconds.

        That is the continuing cards due in that window (learning ahead
        included), plus the fresh reviews due in it up to today's allowance,
        max(0, `grenzwert_wiederholungen` - reviews today). Continuing cards
        are those seen today, or put due and never answered.
        `heute_erfolgreich_wiederholt`, when not None, replaces the count of
        reviews today. The limit is kept for set_states_wiederholbare_in_x.
        """
        return sammlung_of(self).get_anzahl_moegliche_wiederholungen(
            grenzwert_wiederholungen, sammlung_optional_int(heute_erfolgreich_wiederholt), voraus)

    def wiederholbare_ueber_grenzwert(self, grenzwert_neu, grenzwert_wiederholungen, voraus):
        """Return the number of fresh reviews that today's review limit holds back.

        These are the reviews due within `voraus` seconds (learning ahead
        included), not continuing, beyond the allowance max(0,
        `grenzwert_wiederholungen` - reviews today). `grenzwert_neu` is
        accepted for the host and not used.
        """
        return sammlung_of(self).wiederholbare_ueber_grenzwert(grenzwert_neu,
                                                               grenzwert_wiederholungen, voraus)

    def berechne_anzahl_neue_karten_faellig_stellbar(self, grenzwert_neue_karten,
                                                     modus_vergessene_karten, neue_karten_soll):
        """Return how many new cards may still be put due now.

        That is the number of new cards, at most `neue_karten_soll` and, unless
        `modus_vergessene_karten` is true, at most `grenzwert_neue_karten` less
        the cards put due today; never below 0.
        """
        return sammlung_of(self).berechne_anzahl_neue_karten_faellig_stellbar(
            grenzwert_neue_karten, <bint>modus_vergessene_karten, neue_karten_soll)

    def anzahl_neue_karten_faellig_stellbar(self, grenzwert_neue_karten):
        """Return the tuple (new cards that may still be put due, cards put due today, still due).

        The first count is berechne_anzahl_neue_karten_faellig_stellbar under
        the limit `grenzwert_neue_karten`.
        """
        return sammlung_of(self).anzahl_neue_karten_faellig_stellbar(grenzwert_neue_karten)

    def get_anzahl_karten_reizung_karteikarte(self):
        """Return the tuple (bidding-only cards, other cards).

        Bidding-only cards are those whose "nur_reizung" is True.
        """
        return sammlung_of(self).get_anzahl_karten_reizung_karteikarte()

    def heute_faellig_gestellt_kleiner_grenzwert(self, grenzwert):
        """Return True while fewer than `grenzwert` cards were put due today."""
        return sammlung_of(self).heute_faellig_gestellt_kleiner_grenzwert(grenzwert)

    def get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt(self):
        """Return the number of cards seen today, failed and still due (waiting to be relearnt)."""
        return sammlung_of(self).get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt()

    # ---- card names ----

    def get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner(self):
        """Return the names of the new cards learnt today: put due today and no longer due."""
        return sammlung_names_to_py(
            sammlung_of(self).get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner())

    def get_bezeichner_neu_erfolgreich(self):
        """Return the names of the new cards seen today and no longer due.

        They come in the order of today's list of new cards seen.
        """
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_neu_erfolgreich())

    def get_bezeichner_neu_erfolglos(self):
        """Return the names of the new cards seen today and failed."""
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_neu_erfolglos())

    def get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig(self):
        """Return the names of today's new cards in their learning steps.

        These are the cards put due today, answered since and still due.
        """
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig())

    def get_bezeichner_heute_faellig_noch_nie_angesehen(self):
        """Return the names of the cards with a due moment that were never answered."""
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_faellig_noch_nie_angesehen())

    def get_bezeichner_heute_erstes_mal_angesehen(self):
        """Return the names of the new cards seen today, in the order of today's list."""
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_heute_erstes_mal_angesehen())

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt(self):
        """Return the names (not a count) of the cards put due today and still due."""
        return sammlung_names_to_py(
            sammlung_of(self).get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt())

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute(self):
        """Return the names (not a count) of the cards put due today, still due and due now."""
        return sammlung_names_to_py(
            sammlung_of(self).get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute())

    def get_heute_due_nicht_heute_faellig_gestellt(self, voraus=0):
        """Return the names of the cards due within `voraus` seconds and not put due today."""
        return sammlung_names_to_py(
            sammlung_of(self).get_heute_due_nicht_heute_faellig_gestellt(voraus))

    def get_bezeichner_wiederholte_karten(self):
        """Return the names of the cards reviewed today, with or without success."""
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_wiederholte_karten())

    def get_bezeichner_wiederholt_erfolgreich(self, voraus=0):
        """Return the names of the cards reviewed today, not failed and not due again soon.

        Soon means within `voraus` seconds.
        """
        return sammlung_names_to_py(sammlung_of(self).get_bezeichner_wiederholt_erfolgreich(voraus))

    def get_bezeichner_wiederholt_erfolgreich_noch_faellig(self, faellig=None):
        """Return the names of the cards reviewed today, not failed and still due.

        With `faellig`, a list of card names, only those cards count; TypeError
        for a bare text.
        """
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_wiederholt_erfolgreich_noch_faellig(
                sammlung_optional_names(faellig)))

    def get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig(self):
        """Return the names of the cards reviewed today, not failed and no longer due."""
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig())

    def get_bezeichner_heute_wiederholt_nicht_erfolgreich(self, faellig=None):
        """Return the names of the cards reviewed today and failed.

        With `faellig`, a list of card names, only those cards count; TypeError
        for a bare text.
        """
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_wiederholt_nicht_erfolgreich(
                sammlung_optional_names(faellig)))

    def get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt(self):
        """Return the names of the cards seen today, failed and still due."""
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt())

    def get_heute_angesehen(self):
        """Return the names of the cards seen today, in the order of today's list."""
        return sammlung_names_to_py(sammlung_of(self).get_heute_angesehen())

    def get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
            self, faellig_aber_nicht_heute_bezeichner=None, heute_angesehen=None):
        """Return the names of `faellig_aber_nicht_heute_bezeichner` not in `heute_angesehen`.

        They come in the first list's order. For None the lists are the cards
        of get_due_aber_nicht_heute_faellig(600) and get_heute_angesehen().
        """
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
                sammlung_optional_names(faellig_aber_nicht_heute_bezeichner),
                sammlung_optional_names(heute_angesehen)))

    def get_bezeichner_heute_nicht_faellig_heute_angesehen(
            self, faellig_aber_nicht_heute_bezeichner=None, heute_angesehen=None):
        """Return the names of `faellig_aber_nicht_heute_bezeichner` that are in `heute_angesehen`.

        They come in the first list's order. For None the lists are the cards
        of get_due_aber_nicht_heute_faellig(600) and get_heute_angesehen().
        """
        return sammlung_names_to_py(
            sammlung_of(self).get_bezeichner_heute_nicht_faellig_heute_angesehen(
                sammlung_optional_names(faellig_aber_nicht_heute_bezeichner),
                sammlung_optional_names(heute_angesehen)))

    def get_vergessene_karten(self, zeitpunkt_vergangenheit):
        """Return the names of the cards last answered "again" after `zeitpunkt_vergangenheit`.

        The moment of that answer is the card's "zuletzt_vergessen";
        `zeitpunkt_vergangenheit` is in seconds since the epoch.
        """
        return sammlung_names_to_py(
            sammlung_of(self).get_vergessene_karten(zeitpunkt_vergangenheit))

    def get_neue_karten_im_umlauf(self):
        """Return the new cards by category, as a new dict of new lists of names.

        The keys: "gesamt" (the new cards), "gesamt_nicht_angesehen" (the new
        cards not seen today), "heute_erstmalig_faellig_gestellt_noch_faellig"
        (put due today, answered since, still due),
        "heute_erstmalig_faellig_gestellt_nicht_mehr_faellig" (the new cards
        learnt today) and "faellig_gestellt_noch_nie_angesehen" (a due moment,
        never answered).
        """
        return dict_to_py(sammlung_of(self).get_neue_karten_im_umlauf())

    @staticmethod
    def set1_minus_set2(a, b):
        """Return a new list of the names of `a` that are not in `b`, in `a`'s order, each once.

        TypeError when `a` or `b` is a bare text rather than a list of names.
        """
        return sammlung_names_to_py(CppHaendesammlung.set1_minus_set2(
            sammlung_names_from_py(a), sammlung_names_from_py(b)))

    @staticmethod
    def set1_intersection_set2(a, b):
        """Return a new list of the names of `a` that are in `b`, in `a`'s order, each once.

        TypeError when `a` or `b` is a bare text rather than a list of names.
        """
        return sammlung_names_to_py(CppHaendesammlung.set1_intersection_set2(
            sammlung_names_from_py(a), sammlung_names_from_py(b)))

    # ---- holders and candidates ----

    def get_due_none(self):
        """Return a new Kartenhalter of the new cards, with their live card data."""
        return wrap_kartenhalter(sammlung_of(self).get_due_none())

    def get_faellige_cards(self, voraus=0, vorauslernen=True):
        """Return a new Kartenhalter of the cards due within `voraus` seconds.

        When `vorauslernen` is true, the days of learning ahead are added to
        the window.
        """
        return wrap_kartenhalter(sammlung_of(self).get_faellige_cards(voraus, <bint>vorauslernen))

    def get_due_aber_nicht_heute_faellig(self, voraus):
        """Return a new Kartenhalter of the cards with a due that get_faellige_cards(voraus) lacks.

        Their due is a moment or "done". Together with get_due_none() and
        get_faellige_cards(voraus) that is every card once.
        """
        return wrap_kartenhalter(sammlung_of(self).get_due_aber_nicht_heute_faellig(voraus))

    def get_due_vor_heute(self):
        """Return a new Kartenhalter of the cards due before the current learning day began."""
        return wrap_kartenhalter(sammlung_of(self).get_due_vor_heute())

    def finde_beste_neue_karte(self, anzahl, neue_im_umlauf=None):
        """Return the first new cards in line as a new list of (live card data, name) pairs.

        At most `anzahl` of them and at most `neue_im_umlauf` (when not None),
        in the order of "permanent_fudge_neu" (deck order), cards without one
        last.
        """
        return sammlung_entries_to_py(sammlung_of(self).finde_beste_neue_karte(
            anzahl, sammlung_optional_int(neue_im_umlauf)))

    def finde_beste_neue(self, anzahl, voraus=0):
        """Return the cards of finde_beste_neue_karte(anzahl) in a new Kartenhalter.

        `voraus` is accepted for the host and not used.
        """
        return wrap_kartenhalter(sammlung_of(self).finde_beste_neue(anzahl, voraus))

    def finde_beste_wiederholbare_karte(self, anzahl, voraus=0,
                                        wiederholbare_im_umlauf_anzahl=None):
        """Return reviews for the current choice as a new list of (fudge, card data, name) triples.

        They are cards due within `voraus` seconds (learning ahead included)
        not yet handed out in this choice, at most `anzahl` and at most
        `wiederholbare_im_umlauf_anzahl` (when not None): continuing cards
        first, then fresh reviews within the allowance
        set_states_wiederholbare_in_x fixed (prepared first when it was not),
        each group by due moment, then fudge. The card data is live, and the
        cards returned count as handed out. KeyError 'fudge' for a chosen card
        without a jitter value.
        """
        return sammlung_entries_to_py(sammlung_of(self).finde_beste_wiederholbare_karte(
            anzahl, voraus, sammlung_optional_int(wiederholbare_im_umlauf_anzahl)))

    def bezeichner_liste_to_identifier_liste(self, liste):
        """Return the (fudge, card data, name) triples of the cards named in `liste`.

        The result is a new list in the order of `liste`, with live card data.
        KeyError for a name the collection lacks, or 'fudge' for a card without
        a jitter value.
        """
        return sammlung_entries_to_py(sammlung_of(self).bezeichner_liste_to_identifier_liste(
            sammlung_names_from_py(liste)))

    def wandle_bezeichner_liste_in_karten_liste_um(self, liste):
        """Return bezeichner_liste_to_identifier_liste(liste), counting those cards as handed out.

        The cards count as handed out in the current choice. KeyError for a
        name the collection lacks, or 'fudge' for a card without a jitter
        value.
        """
        return sammlung_entries_to_py(sammlung_of(self).wandle_bezeichner_liste_in_karten_liste_um(
            sammlung_names_from_py(liste)))

    # ---- choice state ----

    def set_state_neue_dict(self):
        """Start a card choice on this collection, setting neue_dict afresh.

        neue_dict becomes get_neue_karten_im_umlauf() and is returned as a live
        mapping, the same one the neue_dict attribute gives. No review counts
        as handed out any more.
        """
        return value_dict(sammlung_of(self).set_state_neue_dict())

    def set_states_wiederholbare_in_x(self):
        """Fix how many fresh reviews finde_beste_wiederholbare_karte may still hand out.

        That is max(0, the limit last given to
        get_anzahl_moegliche_wiederholungen - reviews today - fresh reviews
        handed out in this choice); 0 when no limit was ever given.
        """
        sammlung_of(self).set_states_wiederholbare_in_x()

    def set_handinfo_nur_reizung(self, cardpointer, handinfo):
        """Store `handinfo`, the hand to show, under "handinfo" on the card `cardpointer`.

        KeyError when the card is absent.
        """
        sammlung_of(self).set_handinfo_nur_reizung(text_from_py(cardpointer, "cardpointer"),
                                                   from_py(handinfo))

    # ---- putting new cards due in bulk ----

    def reset_due_to_none_if_not_faellig(self):
        """Make new again (due None) the cards that have a due but were never answered.

        Cards put due today keep their due.
        """
        sammlung_of(self).reset_due_to_none_if_not_faellig()

    def fudge_liste_erstellen(self):
        """Return a new list of the new cards' jitter values ("fudge"), ascending.

        Cards without one are left out.
        """
        return sammlung_of(self).fudge_liste_erstellen()

    def set_due_to_now(self, limit, minimum, diff):
        """Put new cards due at the start of the learning day, in ascending jitter value ("fudge").

        Only new cards whose fudge is at most `minimum` are taken: at most
        `diff` of them, and no more than `limit` put due today in all. Each is
        recorded in today's "neue_karte_heute_faellig_gestellt".
        """
        sammlung_of(self).set_due_to_now(limit, minimum, diff)

    # ---- today's metadata ----

    def datum_heute(self):
        """Return the current learning day's key, e.g. "2021-9-22"."""
        return text_to_py(sammlung_of(self).datum_heute())

    def get_metadata_heute(self, key):
        """Return today's value under `key`, or None when there is none.

        A list or mapping is the stored one as a live view, so that changing it
        changes the metadata.
        """
        return to_py(sammlung_of(self).get_metadata_heute(text_from_py(key, "key")), True)

    def set_metadata(self, key, wert):
        """Record `wert` for today under `key`.

        A text, or a list of texts, adds each name not yet in today's list; any
        other value (a number, a bool, a list of numbers, a mapping, ...)
        replaces today's value.
        """
        sammlung_of(self).set_metadata(text_from_py(key, "key"), from_py(wert))

    def append_to_metadata(self, key, wert, now):
        """Append the tuple (`wert`, `now`) to today's list under `key`."""
        sammlung_of(self).append_to_metadata(text_from_py(key, "key"), from_py(wert), from_py(now))

    def remove_from_metadata(self, key, card):
        """Remove the card name `card` from today's list under `key`, if it is there."""
        sammlung_of(self).remove_from_metadata(text_from_py(key, "key"), text_from_py(card, "card"))


cdef class Haendesammlung_vergessen(Haendesammlung):
    """A forgotten-cards collection, which the forgotten-cards drill works on.

    It holds copies of the recently forgotten cards of one normal collection.
    Built with the arguments of Haendesammlung: `zeitberechnung`,
    `vorauslernen`, `name`, `startzeit_tag`, and optionally `metadata` and
    `karten`, taken as Haendesammlung takes them. The module names it
    "<name>_vergessen" after its normal collection and stores it under that
    name, so that the drill's reduced copy never replaces the learner's
    collection; its cards keep their names, which begin with the normal
    collection's name.
    """

    def __init__(self, zeitberechnung, vorauslernen, name, startzeit_tag, metadata=None,
                 karten=None):
        self.sammlung = make_haendesammlung_vergessen(
            package_environment[0], sammlung_zeit_from_py(zeitberechnung),
            text_from_py(name, "name"), <int>startzeit_tag)
        self.vorauslernen = vorauslernen
        if metadata is not None:
            self.metadata = metadata
        if karten is not None:
            self.karten = karten

    def clone_haendesammlung(self, haendesammlung):
        """Take independent copies of the cards and metadata of the collection `haendesammlung`.

        Name and settings stay this collection's own.
        """
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
    """ stellt Funktionen bereit, die gleichzeitig über alle Haendesammlungen iterieren 

    Holds the registered hand collections and acts on all of them, or on those of a name.

    Built with `zeitberechnung` (a Zeitberechnungen, or None), `vorauslernen`
    (the days of learning ahead) and `startzeit_tag` (the hour at which the
    learning day begins), the settings of every collection it creates or loads.

    Collections are found by their name. The operations by name act on every
    registered collection of that name and do nothing when there is none; the
    queries by name answer for the last collection of that name. During the
    forgotten-cards drill the live collections are named "<name>_vergessen":
    the operations and lookups by a name that no registered collection carries
    then act on that drill collection. The aggregate queries ask every
    registered collection in list order and combine the answers.
    """

    @cython.embedsignature(False)  # the class description comes first
    def __init__(self, zeitberechnung, vorauslernen, startzeit_tag):
        self.container = make_shared[CppHaendesammlungContainer](
            package_environment[0], sammlung_zeit_from_py(zeitberechnung), <int64_t>vorauslernen, <int>startzeit_tag)

    # ---- attributes ----

    property liste_aller_sammlungen:
        """The registered collections, as a new list on each read.

        Changing that list changes nothing; assigning a list replaces the
        registered collections.
        """
        def __get__(self):
            return sammlungen_to_py(container_of(self).liste_aller_sammlungen)
        def __set__(self, sammlungen):
            container_of(self).liste_aller_sammlungen = sammlungen_from_py(sammlungen)

    property archiv_liste_aller_sammlungen:
        """The parked collections, read and assigned like liste_aller_sammlungen.

        These are the normal ones during the forgotten-cards drill, or the
        drill's ones while the host has switched back.
        """
        def __get__(self):
            return sammlungen_to_py(container_of(self).archiv_liste_aller_sammlungen)
        def __set__(self, sammlungen):
            container_of(self).archiv_liste_aller_sammlungen = sammlungen_from_py(sammlungen)

    property zeitberechnung:
        """The Zeitberechnungen of the collections the container creates or loads, or None."""
        def __get__(self):
            return sammlung_zeit_to_py(container_of(self).zeitberechnung)
        def __set__(self, zeitberechnung):
            container_of(self).zeitberechnung = sammlung_zeit_from_py(zeitberechnung)

    property vorauslernen:
        """The days of learning ahead of the collections the container creates or loads."""
        def __get__(self):
            return container_of(self).vorauslernen
        def __set__(self, vorauslernen):
            container_of(self).vorauslernen = vorauslernen

    property startzeit_tag:
        """The hour at which the learning day begins, for the collections the container makes."""
        def __get__(self):
            return container_of(self).startzeit_tag
        def __set__(self, startzeit_tag):
            container_of(self).startzeit_tag = startzeit_tag

    property aktuelle_haendesammlung:
        """The collection make_aktuelle_sammlung last created, or None."""
        def __get__(self):
            return wrap_sammlung(container_of(self).aktuelle_haendesammlung)
        def __set__(self, sammlung):
            cdef SammlungRef nothing
            container_of(self).aktuelle_haendesammlung = (
                nothing if sammlung is None else sammlung_ref_from_py(sammlung))

    property sammlungsort_name:
        """The name append_now_to_richtige_sammlung uses when given none, or None."""
        def __get__(self):
            return optional_text_to_py(container_of(self).sammlungsort_name)
        def __set__(self, name):
            container_of(self).sammlungsort_name = optional_text_from_py(name, "sammlungsort_name")

    # ---- registry and lookup ----

    def add(self, sammlung):
        """Register the collection `sammlung` at the end of the list.

        TypeError when it is not a Haendesammlung.
        """
        container_of(self).add(sammlung_ref_from_py(sammlung))

    def remove(self, sammlung):
        """Unregister the first entry that is the collection `sammlung` itself.

        ValueError "list.remove(x): x not in list" when it is not registered.
        """
        container_of(self).remove(sammlung_ref_from_py(sammlung))

    def remove_alle_haendesammlungen(self):
        """Unregister every collection; the parked ones stay."""
        container_of(self).remove_alle_haendesammlungen()

    def get_richtige_sammlung(self, name):
        """Return the first registered collection named `name`, or None when there is none."""
        return wrap_sammlung(container_of(self).get_richtige_sammlung(text_from_py(name, "name")))

    def get_index_from_name(self, name):
        """Return the position of the first collection named `name`, or -1 when there is none."""
        return container_of(self).get_index_from_name(text_from_py(name, "name"))

    def sammlung_named(self, name):
        """Return the first registered collection named `name`.

        KeyError "no registered collection '<name>'" when there is none.
        """
        return wrap_sammlung(container_of(self).sammlung_named(text_from_py(name, "name")))

    def check_vergessen(self):
        """Return True when some registered collection's name ends with "vergessen"."""
        return container_of(self).check_vergessen()

    def make_new(self):
        """Return a new empty collection with the container's settings, not registered.

        Its name is empty.
        """
        return wrap_sammlung(container_of(self).make_new())

    def make_aktuelle_sammlung(self):
        """Register a new empty collection and keep it as aktuelle_haendesammlung."""
        container_of(self).make_aktuelle_sammlung()

    def set_vorauslernen_tage(self, zahl):
        """Set the days of learning ahead of every registered collection to `zahl`."""
        container_of(self).set_vorauslernen_tage(zahl)

    def add_shelve_file(self, filename, writeback=False, copy=False):
        """Open the shelf file `filename`, or else its backup, and return it as a live Shelf.

        A missing file becomes a new empty shelf. When the file exists but
        cannot be opened, it is restored from its backup "<filename>old" (the
        damaged file is first kept aside as "<filename>.damaged") and returned
        open. When neither the file nor its backup can be opened, the result is
        an empty dict, which stores nothing.

        With `copy` equal to True (1 counts too, a non-empty text does not),
        the opened file is copied to its backup; a failed copy is ignored. With
        `writeback`, values read are cached so that changes made to them in
        place are written by sync() and close() (see Shelf). The day statistics
        store "kkv_alle.dat" opens read-only: a Shelf holding a copy of its
        contents, whose assignments raise TypeError. TypeError when `filename`
        is not a text, ValueError when it holds a NUL character.
        """
        return opened_shelf(container_of(self).add_shelve_file(
            file_name_from_py(filename, "filename"), <bint>writeback, from_py(copy)))

    def get_shelve_main_directory(self, zusatz):
        """Return the path of the file `zusatz` in the settings directory.

        That is the application data directory followed by "settings/" and
        `zusatz`. Nothing is created on disk.
        """
        return text_to_py(container_of(self).get_shelve_main_directory(
            text_from_py(zusatz, "zusatz")))

    def add_haendesammlung(self, modul, name):
        """Load the collection `name` for the hand module `modul` and register it.

        `modul` maps card keys to hand data. Every card of the module gets the
        initial learning state, and what the store holds for the card (learning
        state, texts, extra fields) is laid over it, so that a card keeps its
        learning state across sessions; cards only the store knows stay in the
        collection, and cards without permanent ordering values get them. The
        keys of `modul` are normalised in place to card names ("kk_test-7")
        when it is one of the module's own live mappings; a plain dict keeps
        its keys. TypeError when some hand data is not a mapping; IOError
        (OSError on Python 3) when the store cannot be read.
        """
        container_of(self).add_haendesammlung(dict_from_py(modul), text_from_py(name, "name"))

    def fudge_erneuern(self):
        """Give every card of every registered collection a new jitter value ("fudge").

        The collections share one random permutation of 1 to the number of all
        cards, each taking the slice that starts at the number of cards before
        it. Each collection's card count is also recorded in its metadata under
        "anzahl_neue_karten_in_sammlung_vorhanden".
        """
        container_of(self).fudge_erneuern()

    # ---- operations on the collections with a given name ----

    def set_metadaten_richtige_sammlung(self, name, key, wert):
        """Record `wert` for today under `key` in the collections named `name`.

        Each records it as Haendesammlung.set_metadata does.
        """
        container_of(self).set_metadaten_richtige_sammlung(
            text_from_py(name, "name"), text_from_py(key, "key"), from_py(wert))

    def remove_from_again_in_queue_metadata_richtige_sammlung(self, name, key, wert):
        """Remove the card `wert` from today's list under `key` in the collections named `name`.

        `wert` is a card name; a collection whose list lacks it is left as it
        is.
        """
        container_of(self).remove_from_again_in_queue_metadata_richtige_sammlung(
            text_from_py(name, "name"), text_from_py(key, "key"), text_from_py(wert, "wert"))

    def append_now_to_richtige_sammlung(self, key, wert, name=""):
        """Append (`wert`, now) to today's list under `key` in the collections named `name`.

        Now is the present moment of the learning day, as a datetime. An empty
        `name` stands for sammlungsort_name; when that is None, nothing is
        appended.
        """
        container_of(self).append_now_to_richtige_sammlung(
            text_from_py(key, "key"), from_py(wert), text_from_py(name, "name"))

    def aendere_karteikarte_in_dictionary_richtige_sammlung(self, name, karteikarte):
        """Write the learning state of `karteikarte` into its card in the collections named `name`.

        KeyError when such a collection lacks the card.
        """
        container_of(self).aendere_karteikarte_in_dictionary_richtige_sammlung(
            text_from_py(name, "name"), karteikarte_of(karteikarte)[0])

    def dictionary_speichern_richtige_sammlung(self, name, modus):
        """Save the collections named `name` in the store, each under its own name.

        `modus` is accepted for the host and has no effect.
        """
        container_of(self).dictionary_speichern_richtige_sammlung(text_from_py(name, "name"),
                                                                  from_py(modus))

    def anzahl_karte_erfolgreich_gelernt_richtige_sammlung(self, name):
        """Return the number of cards learnt today in the last collection named `name`.

        0 when there is none.
        """
        return container_of(self).anzahl_karte_erfolgreich_gelernt_richtige_sammlung(
            text_from_py(name, "name"))

    def erfolgreich_wiederholte_karten_richtige_sammlung(self, name):
        """Return the number of reviews learnt today in the last collection named `name`.

        These are the cards reviewed today, not failed and no longer due. When
        no collection carries that name, the one sammlung_named(name) finds
        answers; KeyError when there is none.
        """
        return container_of(self).erfolgreich_wiederholte_karten_richtige_sammlung(
            text_from_py(name, "name"))

    def get_due_today_richtige_sammlung(self, name):
        """Return the number of cards due now in the last collection named `name`.

        None when there is none.
        """
        return sammlung_optional_int_to_py(
            container_of(self).get_due_today_richtige_sammlung(text_from_py(name, "name")))

    def get_anzahl_neue_karte_heute_faellig_gestellt(self, name):
        """Return the number of cards put due today in the last collection named `name`.

        None when there is none.
        """
        return sammlung_optional_int_to_py(
            container_of(self).get_anzahl_neue_karte_heute_faellig_gestellt(
                text_from_py(name, "name")))

    def get_noch_nicht_due_richtige_sammlung(self, name):
        """Return the number of new cards in the last collection named `name`.

        None when there is none.
        """
        return sammlung_optional_int_to_py(
            container_of(self).get_noch_nicht_due_richtige_sammlung(text_from_py(name, "name")))

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung(self, name):
        """Return the names of the cards put due today and still due, as a new list.

        They are those of the last collection named `name`; empty when there is
        none.
        """
        cdef CppHaendesammlungContainer* container = container_of(self)
        return sammlung_names_to_py(
            container.get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung(
                text_from_py(name, "name")))

    def get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung_due_heute(
            self, name):
        """Return the names of the cards put due today, still due and due now, as a new list.

        They are those of the last collection named `name`; empty when there is
        none.
        """
        cdef CppHaendesammlungContainer* container = container_of(self)
        return sammlung_names_to_py(
            container.get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_richtige_sammlung_due_heute(
                text_from_py(name, "name")))

    def get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung(self, name, voraus):
        """Return the names of the cards due within `voraus` seconds and not put due today.

        They are those of the last collection named `name`, as a new list;
        empty when there is none.
        """
        return sammlung_names_to_py(
            container_of(self).get_heute_due_nicht_heute_faellig_gestellt_richtige_sammlung(
                text_from_py(name, "name"), voraus))

    def get_faellige_richtige_sammlung(self, name, voraus):
        """Return the live card data of the cards due in the last collection named `name`.

        The result is a new list holding each card once. Due means due within
        `voraus` seconds plus the collection's days of learning ahead. Empty
        when there is no such collection.
        """
        return sammlung_records_to_py(container_of(self).get_faellige_richtige_sammlung(
            text_from_py(name, "name"), voraus))

    def get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung(self, name):
        """Return the number of reviews learnt today in the first collection named `name`.

        These are the cards reviewed today and no longer due. KeyError "no
        registered collection '<name>'" when there is none.
        """
        cdef CppHaendesammlungContainer* container = container_of(self)
        return container.get_anzahl_karte_alt_erfolgreich_wiederholt_heute_richtige_sammlung(
            text_from_py(name, "name"))

    # ---- operations on every collection ----

    def dictionary_speichern_alle_sammlungen(self):
        """Save every registered collection in the store under its own name.

        IOError (OSError on Python 3) when the store cannot be written.
        """
        container_of(self).dictionary_speichern_alle_sammlungen()

    def set_metadaten_alle_sammlungen(self, key, wert):
        """Record `wert` for today under `key` in every registered collection.

        Each records it as Haendesammlung.set_metadata does.
        """
        container_of(self).set_metadaten_alle_sammlungen(text_from_py(key, "key"), from_py(wert))

    def iterate_change_name(self):
        """Append "_vergessen" to the name of every registered collection."""
        container_of(self).iterate_change_name()

    def iterate_get_vergessene_karten(self, zeitpunkt_vergangenheit):
        """Ask every registered collection for its forgotten cards, and discard the answers.

        The cards asked for are those forgotten after
        `zeitpunkt_vergangenheit`.
        """
        container_of(self).iterate_get_vergessene_karten(zeitpunkt_vergangenheit)

    def iterate_get_cardpointer_vergessene_karten(self, zeitpunkt_vergangenheit):
        """Return a new list with an independent copy of each registered collection, in list order.

        Each copy holds only the cards last answered "again"
        ("zuletzt_vergessen") after `zeitpunkt_vergangenheit`, in seconds since
        the epoch.
        """
        return sammlungen_to_py(
            container_of(self).iterate_get_cardpointer_vergessene_karten(zeitpunkt_vergangenheit))

    def update(self, d, u):
        """Lay the mapping `u` over the mapping `d`, recursively, and return `d`.

        A mapping in `u` is merged entry by entry into the mapping `d` holds
        under the same key (a new one when `d` holds none there); any other
        value replaces `d`'s. A live mapping `d` is merged in place; a plain
        dict receives the merged entries. `u` is not changed.
        """
        cdef Dict merged = container_of(self).update(dict_from_py(d), dict_from_py(u))
        if isinstance(d, ValueDict):
            return d
        d.update(dict_to_py(merged))
        return d

    def iterate_show_due(self):
        """Print the due value of every card of every registered collection.

        Between two lines of 50 asterisks, each card gets a line: its name, a
        tab and its due value.
        """
        container_of(self).iterate_show_due()

    def iterate_show_fudge(self):
        """Print the jitter value of every card of every registered collection.

        Between two lines of 50 asterisks, each card gets a line: its name, a
        tab and its jitter value ("fudge"), None when it has none.
        """
        container_of(self).iterate_show_fudge()

    # ---- aggregate queries ----

    def iterate_wiederholbare_ueber_grenzwert(self, grenzwert_neu, grenzwert_wiederholungen,
                                              voraus):
        """Return how many fresh reviews the review limit holds back today in all collections.

        See Haendesammlung.wiederholbare_ueber_grenzwert.
        """
        return container_of(self).iterate_wiederholbare_ueber_grenzwert(
            grenzwert_neu, grenzwert_wiederholungen, voraus)

    def iterate_anzahl_heute_planmaessig_wiederholte_karten(self):
        """Return the number of cards reviewed today in all collections."""
        return container_of(self).iterate_anzahl_heute_planmaessig_wiederholte_karten()

    def iterate_anzahl_insgesamt_planmaessig_wiederholte_karten(self):
        """Return the number of reviews of every stored day in all collections."""
        return container_of(self).iterate_anzahl_insgesamt_planmaessig_wiederholte_karten()

    def iterate_anzahl_neue_karten_heute(self):
        """Return today's counter "neu", summed over the registered collections.

        A missing or false value counts as 0; the sum is an int or a float.
        TypeError for a value that is not a number.
        """
        return to_py(container_of(self).iterate_anzahl_neue_karten_heute())

    def iterate_anzahl_wiederholt_richtig_karten_heute(self):
        """Return today's counter "wiederholt_richtig", summed over the registered collections.

        A missing or false value counts as 0; the sum is an int or a float.
        TypeError for a value that is not a number.
        """
        return to_py(container_of(self).iterate_anzahl_wiederholt_richtig_karten_heute())

    def anzahl_wiederholt_richtig_karten_heute_richtige_sammlung(self):
        """Return today's counter "wiederholt_richtig", summed over all registered collections.

        The same as iterate_anzahl_wiederholt_richtig_karten_heute, whatever
        the name says. A missing or false value counts as 0; the sum is an int
        or a float. TypeError for a value that is not a number.
        """
        return to_py(container_of(self).anzahl_wiederholt_richtig_karten_heute_richtige_sammlung())

    def iterate_anzahl_wiederholte_karten_heute(self):
        """Return today's counter "wiederholt", summed over the registered collections.

        A missing or false value counts as 0; the sum is an int or a float.
        TypeError for a value that is not a number.
        """
        return to_py(container_of(self).iterate_anzahl_wiederholte_karten_heute())

    def iterate_anzahl_alte_karten_heute(self):
        """Return today's counter "alt", summed over the registered collections.

        A missing or false value counts as 0; the sum is an int or a float.
        TypeError for a value that is not a number.
        """
        return to_py(container_of(self).iterate_anzahl_alte_karten_heute())

    def iterate_anzahl_alte_karten_heute_richtig(self):
        """Return today's counter "alt_richtig", summed over the registered collections.

        A missing or false value counts as 0; the sum is an int or a float.
        TypeError for a value that is not a number.
        """
        return to_py(container_of(self).iterate_anzahl_alte_karten_heute_richtig())

    def iterate_anzahl_erneut_gelernte_karten_heute(self):
        """Return today's counter "erneut_gelernt", summed over the registered collections.

        A missing or false value counts as 0; the sum is an int or a float.
        TypeError for a value that is not a number.
        """
        return to_py(container_of(self).iterate_anzahl_erneut_gelernte_karten_heute())

    def iterate_anzahl_erneut_gelernte_karten_heute_richtig(self):
        """Return today's counter "erneut_gelernt_richtig", summed over the registered collections.

        A missing or false value counts as 0; the sum is an int or a float.
        TypeError for a value that is not a number.
        """
        return to_py(container_of(self).iterate_anzahl_erneut_gelernte_karten_heute_richtig())

    def iterate_anzahl_karte_erfolgreich_gelernt(self):
        """Return the number of cards learnt today in all collections.

        New cards and reviews both count.
        """
        return container_of(self).iterate_anzahl_karte_erfolgreich_gelernt()

    def iterate_anzahl_erfolgreich_wiederholte_karten(self):
        """Return the number of reviews learnt today in all collections.

        These are the cards reviewed today, not failed and no longer due.
        """
        return container_of(self).iterate_anzahl_erfolgreich_wiederholte_karten()

    def iterate_anzahl_wiederholte_karten(self):
        """Return the number of cards reviewed today in all collections."""
        return container_of(self).iterate_anzahl_wiederholte_karten()

    def iterate_anzahl_alte_karten_gleich_richtig_alle(self):
        """Return how many reviews were right at the first try on any day, in all collections."""
        return container_of(self).iterate_anzahl_alte_karten_gleich_richtig_alle()

    def iterate_anzahl_alte_karten_gleich_richtig_heute(self):
        """Return the number of reviews right at the first attempt today in all collections."""
        return container_of(self).iterate_anzahl_alte_karten_gleich_richtig_heute()

    def iterate_anzahl_heute_falsch(self):
        """Return the number of cards answered "again" today in all collections."""
        return container_of(self).iterate_anzahl_heute_falsch()

    def iterate_anzahl_heute_falsch_alle_daten(self, liste=None):
        """Return the cards answered "again" on any stored day, summed over `liste`.

        `liste` is an iterable of Haendesammlung; None stands for the
        registered collections. TypeError for an item that is not a
        Haendesammlung.
        """
        cdef vector[SammlungRef] sammlungen
        if liste is None:
            return container_of(self).iterate_anzahl_heute_falsch_alle_daten(NULL)
        for sammlung in liste:
            sammlungen.push_back(sammlung_ref_from_py(sammlung))
        return container_of(self).iterate_anzahl_heute_falsch_alle_daten(&sammlungen)

    def iterate_get_anzahl_neue_karten_heute_angesehen(self):
        """Return the number of new cards seen today in all collections."""
        return container_of(self).iterate_get_anzahl_neue_karten_heute_angesehen()

    def iterate_get_anzahl_vormals_neu_heute(self):
        """Return the number of cards put due today in all collections."""
        return container_of(self).iterate_get_anzahl_vormals_neu_heute()

    def iterate_get_anzahl_neue_karten_gleich_richtig(self):
        """Return the number of new cards seen today and never failed today, in all collections.

        A card failed today is one in today's "heute_falsch".
        """
        return container_of(self).iterate_get_anzahl_neue_karten_gleich_richtig()

    def iterate_anzahl_again_in_queue(self):
        """Return the number of cards in today's "again_in_queue" in all collections."""
        return container_of(self).iterate_anzahl_again_in_queue()

    def get_anzahl_karten(self):
        """Return the number of cards of all registered collections."""
        return container_of(self).get_anzahl_karten()

    def iterate_get_due_today(self, voraus=0):
        """Return how many cards are due within `voraus` + vorauslernen seconds in all collections.

        The container's days of learning ahead are added to the seconds as they
        are, not turned into seconds.
        """
        return container_of(self).iterate_get_due_today(voraus)

    def iterate_get_neue_karten(self):
        """Return the number of today's new cards in their learning steps in all collections.

        These are the cards put due today, answered since and still due.
        """
        return container_of(self).iterate_get_neue_karten()

    def iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig(self):
        """Return the number of cards put due today, answered since, still due, in all collections.

        The same count as iterate_get_neue_karten.
        """
        return container_of(self).iterate_get_anzahl_heute_erstmalig_faellig_gestellt_noch_faellig()

    def iterate_get_neue_karten_mit_erfolglos(self):
        """Return the count of iterate_get_neue_karten plus the new cards seen today and failed.

        Both are counted in all collections.
        """
        return container_of(self).iterate_get_neue_karten_mit_erfolglos()

    def iterate_get_anzahl_karten_reizung_karteikarte(self):
        """Return the tuple (bidding-only cards, other cards), each counted in all collections."""
        return container_of(self).iterate_get_anzahl_karten_reizung_karteikarte()

    def get_max_neue_karten_vorhanden(self):
        """Return the largest number of new cards that one registered collection holds.

        0 without collections.
        """
        return container_of(self).get_max_neue_karten_vorhanden()

    def heute_faellig_gestellt_kleiner_grenzwert(self, grenzwert):
        """Return True when some collection put fewer than `grenzwert` cards due today."""
        return container_of(self).heute_faellig_gestellt_kleiner_grenzwert(grenzwert)

    def existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(self, grenzwert):
        """Return True when some collection learnt fewer than `grenzwert` new cards today.

        The new cards learnt today are the cards learnt today less the reviews
        learnt today.
        """
        cdef CppHaendesammlungContainer* container = container_of(self)
        return container.existiert_sammlung_heute_faellig_gestellt_kleiner_grenzwert_neue_karten(
            grenzwert)

    def iterate_get_heute_wiederholt_nicht_erfolgreich(self, faellig=None):
        """Return the names of the cards reviewed today and failed, as a new list.

        Each registered collection's names come in turn. `faellig` (None or a
        list of names) is accepted for the host and not used.
        """
        return sammlung_names_to_py(
            container_of(self).iterate_get_heute_wiederholt_nicht_erfolgreich(
                sammlung_optional_names(faellig)))

    def iterate_get_heute_wiederholt_erfolgreich_noch_faellig(self, faellig=None):
        """Return the names of the cards reviewed today, not failed and still due, as a new list.

        Each registered collection's names come in turn. `faellig` (None or a
        list of names) is accepted for the host and not used.
        """
        return sammlung_names_to_py(
            container_of(self).iterate_get_heute_wiederholt_erfolgreich_noch_faellig(
                sammlung_optional_names(faellig)))

    def iterate_get_faellige_cards(self, voraus=0):
        """Return the live card data of every registered collection's cards due, as a new list.

        Each card comes once. Due means due within `voraus` seconds plus the
        collection's days of learning ahead.
        """
        return sammlung_records_to_py(container_of(self).iterate_get_faellige_cards(voraus))

    def iterate_get_neue_ueber_grenzwert(self, grenzwert):
        """Return the sum over the collections of (new cards that may be put due - new cards).

        For each registered collection the new cards that may still be put due
        are counted under the limit max(`grenzwert`, new cards seen today), at
        most all its new cards, so no difference is positive. Each collection's
        neue_dict is left set to its get_neue_karten_im_umlauf(). In debug mode
        a negative difference raises AssertionError.
        """
        return container_of(self).iterate_get_neue_ueber_grenzwert(grenzwert)

    def iterate_get_anzahl_neu_wird_heute_nicht_gelernt(self):
        """Return the number of new cards not seen today in all collections.

        In debug mode a card name listed in two collections raises
        AssertionError.
        """
        return container_of(self).iterate_get_anzahl_neu_wird_heute_nicht_gelernt()
