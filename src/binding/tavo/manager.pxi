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
    """The card administration, which a host creates once to run its learning sessions.

    Built with `vorauslernen` (days of learning ahead, 0 or None for none),
    `nur_neue` (show only new cards) and `neue_karten_pro_tag` (new cards per
    day; a falsy value gives 10). The stored settings are then loaded over these
    values (and stored, when none are stored yet); a load that fails is ignored
    and leaves what it had not yet changed.

    The host registers its hand collections with add_haendesammlung and then
    loops: get_card() gives the next Karteikarte, or None when nothing is to be
    shown, and makes its collection sammlungsort_name;
    get_interval_responses(card) gives the four button texts (again, hard, good,
    easy); answer_card(card, response, seconds) schedules the answer, records it
    and stores the card; undo_last_answer() takes the newest answer of the day
    back and answer_history(name) lists a card's answers. A host that records
    an answer itself calls schedule(card=card, response=response),
    card.change_due(tage) and the card's setters,
    hc.aendere_karteikarte_in_dictionary_richtige_sammlung and
    dictionary_speichern(None, False). Texts are str; the library's errors
    arrive as the Python exceptions of the same names.

    The attributes below are read and assigned like Python attributes and listed
    by dir(). A list or dict read is a live view of the manager's own; a value
    of the wrong kind raises TypeError ("attribute 'x' must be int, not str")
    and changes nothing.

    Limits and counters: neue_karten_pro_tag (new cards per day),
    default_neue_karten_pro_tag (its fallback, 10), neue_karten_nur_heute
    (today's new-card limit, or None), maximale_wiederholungen_pro_tag (reviews
    per day), grenzwert_heute_due (due cards below which waehle_card puts a new
    card due), maximale_beantwortungszeit and maximale_beantwortungszeit_reizung
    (the most seconds an answer counts, for a card and for a bidding problem),
    anzahl_heute_gelernt (cards learnt today), gepruefte_neue_karten (new cards
    answered), anzahl_neue_karten_in_sammlung_vorhanden (kept for the host),
    vorauslernen_tage (days of learning ahead), nur_neue_karten_anzeigen (only
    new cards), startzeit_tag (the hour the learning day starts).

    Passes: continuous_learning (when False, no card is offered once
    durchlauf_10_counter exceeds 9, the pass limit), durchlauf_10_counter (the
    pass counter), durchlauf_10_erfolgreich (reset by every choice),
    make_karte_due_bool (the card just chosen is new).

    Scheduling constants: NEW_STEPS and LAPSE_STEPS (learning and relearning
    steps, minutes), NEW_STEPS_min and LAPSE_STEPS_min (bounds of one step, None
    until set_minimum_values), GRADUATING_INTERVAL (days after the last learning
    step), EASY_INTERVAL (days after "easy" while learning), STARTING_EASE
    (percent), EASY_BONUS (percent extra for "easy"), INTERVAL_MODIFIER (percent
    on every review interval), MAXIMUM_INTERVAL (days), NEW_INTERVAL (percent of
    the interval kept after a lapse), MINIMUM_INTERVAL (days, at least, after a
    lapse), hard_factor (percent for "hard" when learning ahead).

    Forgotten-cards drill: modus_vergessene_karten (the drill is on),
    vergessen_wie_weit_zurueck (days it looks back),
    vergessen_in_letzten_tagen_groesstmoeglicher_wert (the most days it may look
    back), vergessene_karten_erfolgreich_gelernt_liste (cards learnt in this
    run, by collection), fudge_nochmal (the next, ever lower fudge of a card
    just forgotten), vergessene_karten_liste (absent until
    leere_vergessene_karten_liste creates it).

    Collection location and the rest: sammlungsort_name (the current collection,
    or None), reihenfolge (a dict kept for the host), voraus_1_min and
    voraus_10_min (read-only: the look-ahead windows in seconds of the first and
    second learning step, at least 60 and 600).

    Properties: hc (the container of the registered collections),
    reihenfolge_anzeigen (the display-order record), zeitberechnung (the time
    computations).
    """

    def __init__(self, vorauslernen=0, nur_neue=False, neue_karten_pro_tag=None):
        cdef optional[int64_t] neue
        if neue_karten_pro_tag is not None:
            neue = <int64_t>neue_karten_pro_tag
        self.kkv = make_shared[Manager](package_environment[0], <int64_t>(vorauslernen or 0),
                                        <bint>nur_neue, neue)

    # ---- attributes ----

    def __getattr__(self, name):
        return manager_attribute(self, name)

    def __setattr__(self, name, value):
        set_manager_attribute(self, name, value)

    def __dir__(self):
        return manager_attribute_names(self)

    property hc:
        """The container of the registered collections: the manager's own, not a copy.

        Changes made through it act on the manager, and it keeps the manager alive."""
        def __get__(self):
            return manager_container(self)

    property reihenfolge_anzeigen:
        """The manager's display-order record, its own, not a copy.

        It starts empty, and nothing in the module fills or reads it."""
        def __get__(self):
            return manager_reihenfolge_anzeigen(self)

    property zeitberechnung:
        """The manager's time computations, as a Zeitberechnungen sharing its object.

        Assigning takes a Zeitberechnungen (TypeError for anything else) and
        replaces the manager's own only: the container and the collections keep
        theirs."""
        def __get__(self):
            return sammlung_zeit_to_py(self.kkv.get().zeitberechnung)
        def __set__(self, Zeitberechnungen zeitberechnung not None):
            self.kkv.get().zeitberechnung = zeitberechnung.zeit

    # ---- registration, current collection and small operations ----

    def create_temp_haendesammlung(self, zeitberechnung, vorauslernen, name, startzeit_tag,
                                   metadata, karten):
        """Make a collection with these settings and return it, not registered.

        `zeitberechnung` is a Zeitberechnungen or None, `vorauslernen` the days of
        learning ahead, `startzeit_tag` the hour its learning day starts, `metadata`
        a mapping or None and `karten` a mapping of card name to card data or None
        (live card data keeps its record)."""
        cdef Dict entries
        if metadata is not None:
            entries = dict_from_py(metadata)
        return wrap_sammlung(self.kkv.get().create_temp_haendesammlung(
            sammlung_zeit_from_py(zeitberechnung), vorauslernen, text_from_py(name, "name"),
            startzeit_tag, entries, karten_from_py(karten)))

    def add_shelve_file(self, filename, writeback=False, copy=False):
        """Open the shelf file `filename` and return it as a Shelf.

        The caller owns the Shelf and closes it. A missing file becomes a new empty
        shelf. With `copy` equal to True (1 counts, a non-empty text does not) the
        opened file is copied to its backup "<filename>old". A damaged file is
        restored from that backup and kept aside as "<filename>.damaged". When
        neither the file nor its backup can be opened, the result is an empty dict.
        The day statistics store "kkv_alle.dat" opens as a read-only snapshot.
        `writeback`: see Shelf."""
        return opened_shelf(self.kkv.get().add_shelve_file(
            file_name_from_py(filename, "filename"), <bint>writeback, from_py(copy)))

    def get_shelve_main_directory(self, zusatz):
        """Return the path of the file `zusatz` in the settings directory.

        That is the application data directory, "settings/" and `zusatz`; nothing is
        created on disk."""
        return text_to_py(self.kkv.get().get_shelve_main_directory(text_from_py(zusatz, "zusatz")))

    def add_haendesammlung(self, modul, name):
        """Register the collection `name` for the hand module `modul` and make it current.

        `modul` maps card keys to hand data; a key without "-" is prefixed with
        `name` and "-" to give the card's name. What the store holds for a card is
        laid over its initial learning state, so a card keeps its state across
        sessions. sammlungsort_name becomes `name`. The keys of `modul` are
        normalised in place only when it is one of the module's own mappings. In
        debug mode a key that already begins with `name` fails the consistency
        check."""
        self.kkv.get().add_haendesammlung(dict_from_py(modul), text_from_py(name, "name"))

    def set_sammlungsort_name(self, name, index):
        """Set sammlungsort_name to `name`, a text or None.

        `index` marks the call site and has no effect."""
        self.kkv.get().set_sammlungsort_name(optional_text_from_py(name, "name"), from_py(index))

    def bestimme_gegenwaertige_sammlung(self):
        """Return the registered collection named by sammlungsort_name, or None.

        The result wraps the collection itself (a Haendesammlung_vergessen for a
        forgotten-cards collection)."""
        return wrap_sammlung(self.kkv.get().bestimme_gegenwaertige_sammlung())

    def dictionary_speichern(self, name, modus):
        """Save the current collection, the one named by sammlungsort_name, to the store.

        Does nothing while sammlungsort_name is None; `name` and `modus` have no
        effect."""
        self.kkv.get().dictionary_speichern(from_py(name), from_py(modus))

    def remove_alle_haendesammlungen(self):
        """Unregister every collection; what is stored stays."""
        self.kkv.get().remove_alle_haendesammlungen()

    def nur_neue_einstellen(self):
        """Show only new cards: learning ahead off, nur_neue_karten_anzeigen on."""
        self.kkv.get().nur_neue_einstellen()

    def set_vorauslernen(self, wert):
        """Set vorauslernen_tage to `wert` days of learning ahead; the collections keep theirs."""
        self.kkv.get().set_vorauslernen(wert)

    def vorauslernen_einstellen(self, wert):
        """Learn `wert` days ahead, with old and new cards (nur_neue_karten_anzeigen off)."""
        self.kkv.get().vorauslernen_einstellen(wert)

    def heute_gelernt_hochsetzen(self):
        """Add 1 to anzahl_heute_gelernt."""
        self.kkv.get().heute_gelernt_hochsetzen()

    def set_durchlauf10_counter(self):
        """Add 1 to durchlauf_10_counter, the pass counter.

        A value that is not a number or a bool is reset to 0."""
        self.kkv.get().set_durchlauf10_counter()

    def eintragen_ob_karte_erfolgreich(self, card, response):
        """Do nothing, whatever `card` and `response`; kept so that a host may call it."""
        pass

    def bestimme_sammlungsort_name(self, ausgewaehlte_karte):
        """Do nothing, whatever `ausgewaehlte_karte`; kept so that a host may call it."""
        pass

    def adjustiere_liste_haendesammlungen(self, liste):
        """Do nothing, whatever `liste`; kept so that a host may call it."""
        pass

    def add_frage_antwort_to_hand_objekt(self, frage, antwort):
        """Do nothing, whatever `frage` and `antwort`; kept so that a host may call it."""
        pass

    def archiv_alle_sammlungen_erstellen(self):
        """Do nothing; kept so that a host may call it."""
        pass

    def sync_sammlungsort_liste_aller_sammlungen(self):
        """Do nothing; kept so that a host may call it."""
        pass

    def sortiere_nach_faelligkeit(self):
        """Do nothing; kept so that a host may call it."""
        pass

    # ---- time helpers ----

    def get_now(self):
        """Return the present moment of the learning day as a datetime.datetime.

        That is now, or the same time one day earlier while the hour is before
        startzeit_tag; the time comes from the module's clock."""
        return to_py(manager_now_value(self.kkv.get()[0]))

    def get_seconds_since_epoch(self):
        """Return the present time in seconds since the epoch, from the module's clock."""
        return self.kkv.get().get_seconds_since_epoch()

    def set_vorauslernen_tage(self, zahl):
        """Set the days of learning ahead to `zahl`, on the collections and the manager."""
        self.kkv.get().set_vorauslernen_tage(zahl)

    def minutes_to_days(self, minutes):
        """Return `minutes` as days, a float."""
        return self.kkv.get().minutes_to_days(minutes)

    def human_friendly_time(self, days):
        """Return the button label for an interval of `days`.

        "Ende" for "done" or a falsy value, "< 10min" (the minutes) under a day,
        "1 Tag" or "4 Tage" under 30 days, months of 30.4375 days ("1.5 Monate")
        under 365 days, else years of 365.25 days ("1.1 Jahre")."""
        return text_to_py(self.kkv.get().human_friendly_time(from_py(days)))

    # ---- answer scheduling ----

    def schedule(self, event=None, card=None, response=None, test=False):
        """Move `card` through its learning phases for `response`.

        Returns the days until it is due again: a number, "done" for "good" in the
        forgotten-cards drill, or None; `response` is "again", "hard", "good" or
        "easy". The card's phase, steps, interval and ease change and the answer is
        counted and recorded in today's lists and the day statistics; its due is
        left to card.change_due. With `test` it is a preview: the card still
        changes, nothing is counted or recorded. `event` has no effect. ValueError
        "you can't press this button / we don't know how to deal with this case" for
        a response the card's phase does not accept; TypeError when `card` is not a
        Karteikarte."""
        return to_py(self.kkv.get().schedule(from_py(event), karteikarte_of(card)[0],
                                             text_from_py(response, "response"), test))

    def get_interval_responses(self, card):
        """Return the four button labels (again, hard, good, easy) for `card` as a tuple of texts.

        Each is the human_friendly_time of a preview of that answer on a copy of
        `card`; nothing is recorded. A "hard" or "easy" preview that fails is
        labelled "Ende"."""
        return tuple_to_py(self.kkv.get().get_interval_responses(karteikarte_of(card)[0]), False,
                           NULL)

    def answer_card(self, card, response, beantwortungszeit=0):
        """Answer `card`, the card get_card handed out, with `response`.

        Returns the days until it is due again. Schedules the answer, sets the
        card's due and answer fields, adds `beantwortungszeit` (seconds, at most
        maximale_beantwortungszeit, or maximale_beantwortungszeit_reizung for a
        bidding problem) to today's time, writes the card back into its collection
        and stores it before it returns; the day statistics are recorded in one
        transaction. A right answer is also recorded in today's
        "karte_erfolgreich_wiederholt" and, in the forgotten-cards drill, as learnt
        in this run. ValueError for a response the card's phase does not accept (the
        drill takes only "again" and "good"), found before anything is recorded;
        KeyError when sammlungsort_name names no registered collection."""
        cdef Antwort antwort
        antwort.response = text_from_py(response, "response")
        antwort.beantwortungszeit = from_py(beantwortungszeit)
        return to_py(answer_card(self.kkv.get()[0], karteikarte_of(card)[0], antwort), False)

    # ---- taking answers back, and a card's history ----

    def undo_last_answer(self):
        """Take back the newest answer of today's learning day; return its card's name, or None.

        None when no answer of the day is left to take back. The card gets back its
        state from before the answer, today's metadata and day statistics lose what
        the answer recorded, and both are stored before it returns; get_card offers
        the card again, also in the forgotten-cards drill. Each call goes one answer
        further back. ValueError, with nothing changed, when the card is no longer
        in its collection or a registered collection holds an answer not stored yet
        (store it with dictionary_speichern first)."""
        return optional_text_to_py(undo_last_answer(self.kkv.get()[0]))

    def answer_history(self, name):
        """Return the answers to the card `name` that were not taken back, oldest first.

        Each is a dict: "moment" (seconds since the epoch), "response", "seconds"
        (the answer time counted, or None), and the card's "interval" (days),
        "ease_factor" and "learnstatus" after the answer. [] for a card never
        answered; the stored answers of every collection count."""
        return list_to_py(history_to_value(answer_history(self.kkv.get()[0],
                                                          text_from_py(name, "name"))))

    # ---- lateness, early review and due jitter ----

    def schedule_vorauslernen(self, card, response):
        """Return the early-review interval in days for `card`, answered before it is due.

        `response` is "hard" or "good"; any other counts as "easy". A card without
        an interval may first get its starting interval. make_karte_due_bool is
        reset."""
        return self.kkv.get().schedule_vorauslernen(karteikarte_of(card)[0],
                                                    text_from_py(response, "response"))

    def _tage_verspaetet(self, card):
        """Return the whole days `card` is overdue; 0 when it is not, has no due or is done."""
        return self.kkv.get()._tage_verspaetet(karteikarte_of(card)[0])

    def due_fudge_nochmal_aendern(self, card):
        """Mark `card` as just forgotten, so that it comes first once due.

        The card's zuletzt_vergessen becomes now, and its record in the current
        collection gets fudge_nochmal, which then goes down by 1. KeyError when the
        current collection is not registered or lacks the card."""
        self.kkv.get().due_fudge_nochmal_aendern(karteikarte_of(card)[0])

    def calculate_anzahl_press_good_bis_mature(self, card):
        """Return how many "good" answers `card` still needs to become mature.

        Mature is an interval of 21 days; learning steps still to go count too.
        ValueError when the card's interval is not a number; ZeroDivisionError when
        an answer would not grow the interval."""
        return to_py(self.kkv.get().calculate_anzahl_press_good_bis_mature(karteikarte_of(card)[0]))

    # ---- day statistics ----

    def update_um_1(self, key):
        """Add 1 to today's counter `key` of the current collection.

        A missing or falsy value counts as 0. Does nothing when sammlungsort_name
        names no registered collection."""
        self.kkv.get().update_um_1(text_from_py(key, "key"))

    def add_to_shelve(self, sammlungsname, key, name):
        """Record a statistic value of the collection `sammlungsname` in the day statistics.

        `key` is the tuple (year, month, day, wert) and `name` the statistic.
        IOError (OSError on Python 3) when neither the store nor its backup can be
        opened; nothing is recorded then."""
        self.kkv.get().add_to_shelve(text_from_py(sammlungsname, "sammlungsname"),
                                     tuple_from_py(key), text_from_py(name, "name"))

    def iterate_key_shelve(self, key, heute=False, alle=True):
        """Sum the statistic `key` over the day statistics store as {"anzahl": n}.

        The result is a new dict. With `alle` every stored collection counts, else
        only the registered ones; with `heute` only today's share, else the whole
        history. For "zeitdauer_heute" the result also holds the seconds of "kk",
        "reizung", "alleinspiel" and "gegenspiel". A store that cannot be read
        counts 0."""
        return dict_to_py(self.kkv.get().iterate_key_shelve(text_from_py(key, "key"), heute, alle))

    def get_data_from_shelve(self, key):
        """Return the day statistics of the collection `key` in their nested layout.

        The result is a new value; None when nothing is recorded."""
        return to_py(self.kkv.get().get_data_from_shelve(text_from_py(key, "key")))

    def get_value_from_shelve_heute(self, key):
        """Do nothing with `key` and return None; kept so that a host may call it."""
        self.kkv.get().get_value_from_shelve_heute(text_from_py(key, "key"))

    def get_liste_alle_from_alte_daten(self):
        """Return the collection names of the day statistics store as a new list.

        Those ending in "_vergessen" are left out."""
        return list_to_py(self.kkv.get().get_liste_alle_from_alte_daten())

    def erstelle_cashing(self, key, data):
        """Print "in erstelle_cashing" and the two values to sys.stdout; nothing is stored."""
        self.kkv.get().erstelle_cashing(from_py(key), from_py(data))

    def gesamte_zeitdauer_heute(self, heute=False):
        """Return the total answer time in minutes over the day statistics store.

        With `heute` today's time, else that of the whole history."""
        return self.kkv.get().gesamte_zeitdauer_heute(heute)

    def set_heute_bezogener_wert(self, key, wert):
        """Return {today's learning-day key: `wert`} as a new dict.

        For example {"2021-9-22": 5}; `key` is not used."""
        return dict_to_py(self.kkv.get().set_heute_bezogener_wert(from_py(key), from_py(wert)))

    def get_heute_bezogener_wert_aus_dict(self, dictionary, key):
        """Return today's value of the day-bound value `dictionary[key]`, or None.

        The day-bound value maps learning-day keys to values. A plain integer found
        there is first dated today, in place; a plain dict receives that change too.
        In debug mode an empty `dictionary` fails the consistency check."""
        cdef Dict entries = dict_from_py(dictionary)
        cdef Value heute = self.kkv.get().get_heute_bezogener_wert_aus_dict(
            entries, text_from_py(key, "key"))
        if not isinstance(dictionary, ValueDict) and key in dictionary:
            dictionary[key] = to_py(entries.at(from_py(key)))
        return to_py(heute, True)

    # ---- distribution of a collection ----

    def zeige_haendesammlung_verteilung(self, sammlung, grenzwert_neue_karten_heute,
                                        grenzwert_wiederholungen):
        """Analyse the distribution of `sammlung` with these daily limits; prints nothing.

        It creates a HaendesammlungVerteilungAnalyzer and calls its do()."""
        self.kkv.get().zeige_haendesammlung_verteilung(
            sammlung_ref_from_py(sammlung), grenzwert_neue_karten_heute, grenzwert_wiederholungen)

    # ---- learning reports ----

    def get_anzahl_falsch(self):
        """Return the "again" answers as the pair (anzahl, anzahl_nur_heute).

        Those over every collection of the day statistics store, and those given
        today. A store that cannot be opened counts as empty."""
        return self.kkv.get().get_anzahl_falsch()

    def anzahl_lerntage_gesamt(self):
        """Return the number of days on which the day statistics record repetitions."""
        return self.kkv.get().anzahl_lerntage_gesamt()

    # ---- self-check scenarios ----

    def test_frueh(self):
        """Make every card learned and due in three days, and store the collections.

        A development aid: it overwrites the cards' learning state and resets the
        collections' day metadata."""
        self.kkv.get().test_frueh()

    def test_karten_schon_faellig(self):
        """Make every card learned and due since one day, and store the collections.

        The cards get interval 8 and ease 265. A development aid: it overwrites the
        cards' learning state and resets the collections' day metadata."""
        self.kkv.get().test_karten_schon_faellig()

    def test_vorauslernen(self):
        """Make every card learned, due in three days and answered "good".

        The cards' histories are emptied. A development aid: it overwrites the
        cards' learning state and resets the collections' day metadata."""
        self.kkv.get().test_vorauslernen()

    def test_verspaetung(self):
        """Make every card learned and six days and ten minutes late.

        A development aid: it overwrites the cards' learning state and resets the
        collections' day metadata."""
        self.kkv.get().test_verspaetung()

    def test_verspaetung_und_neue(self):
        """Make every second card six days late and the others new again.

        A development aid: it overwrites the cards' learning state and resets the
        collections' day metadata."""
        self.kkv.get().test_verspaetung_und_neue()

    # ---- settings ----

    def update_default_values(self):
        """Load the stored settings into the attributes and store them again.

        A setting missing from the store takes its default. When nothing is stored,
        the current settings are stored; a settings file that holds no settings is
        first renamed aside with a warning. TypeError or ValueError for a stored
        value of the wrong kind."""
        self.kkv.get().update_default_values()

    def set_default_values(self):
        """Reset the settings, except neue_karten_nur_heute, to their defaults.

        anzahl_neue_karten_in_sammlung_vorhanden becomes None and
        anzahl_heute_gelernt 0; nothing is stored."""
        self.kkv.get().set_default_values()

    def set_minimum_values(self):
        """Set the settings, except neue_karten_nur_heute, to their minimum.

        The step bounds NEW_STEPS_min and LAPSE_STEPS_min too; nothing is stored."""
        self.kkv.get().set_minimum_values()

    def get_maximum_values(self):
        """Return the largest value of each setting and step bound, as a new dict.

        neue_karten_nur_heute has none."""
        return dict_to_py(self.kkv.get().get_maximum_values())

    def set_minimum_values_in_dict(self):
        """Set the minimum values and return make_default_values_dictionary()."""
        return dict_to_py(self.kkv.get().set_minimum_values_in_dict())

    def update_object_fields(self):
        """Read the three day limits back through get_metadaten.

        The limits are neue_karten_pro_tag, neue_karten_nur_heute and
        maximale_wiederholungen_pro_tag; get_metadaten answers these keys from the
        same attributes, so their values stay; TypeError when one of them is not an
        integer."""
        self.kkv.get().update_object_fields()

    def make_default_values_dictionary(self):
        """Return the eighteen settings from the attributes, in their fixed order, as a new dict.

        neue_karten_nur_heute is dated: {today's learning-day key: value}."""
        return dict_to_py(self.kkv.get().make_default_values_dictionary())

    def save_default_values(self, dictionary=None):
        """Store `dictionary` as the settings, or the current settings when it is None or empty."""
        cdef optional[Dict] entries
        if dictionary is not None:
            entries = dict_from_py(dictionary)
        self.kkv.get().save_default_values(entries)

    # ---- card metadata of the current collection ----

    def get_metadaten(self, key):
        """Return today's value under `key` in the current collection, or its default.

        A missing or falsy value gives [] for the card lists ("heute_falsch",
        "wiederholte_karten", ...), 0 for the "reps" counters, [0, 0, 0, 0] for
        "zeitdauer_heute", else None. "neue_karten_pro_tag", "neue_karten_nur_heute"
        and "wiederholungen_pro_tag" give the manager's settings. A stored list
        comes as a live view of today's list."""
        return to_py(self.kkv.get().get_metadaten(text_from_py(key, "key")), True)

    def set_metadaten(self, wert, key):
        """Record `wert` for today under `key` in the current collection.

        The day statistics store records it too. A text (a card name) is added to
        today's list, a "reps" counter replaced, and for "zeitdauer_heute" `wert` is
        a pair (slot, seconds) added to that slot (TypeError for no pair, IndexError
        for no slot). "neue_karten_pro_tag", "neue_karten_nur_heute" and
        "wiederholungen_pro_tag" set the manager's limit instead (an integer, at
        least 0) and store the settings. KeyError when sammlungsort_name is unset."""
        self.kkv.get().set_metadaten(from_py(wert), text_from_py(key, "key"))

    def add_cardid_to_schon_gelernt(self, card, key, name=None):
        """Add the name of `card` to today's list `key` of the current collection.

        `name` stands in when `card` is None. Nothing is recorded while
        sammlungsort_name is unset. ValueError
        "add_cardid_to_schon_gelernt needs a card or a name" when there is neither;
        in debug mode the card's name must begin with the collection's."""
        self.kkv.get().add_cardid_to_schon_gelernt(optional_karteikarte(card),
                                                   text_from_py(key, "key"),
                                                   optional_text_from_py(name, "name"))

    def add_bezeichner_to_kkv_info(self, bezeichner, key, name=""):
        """Add `bezeichner` to today's list `key` of the collection `name`.

        An empty `name` means the current collection."""
        self.kkv.get().add_bezeichner_to_kkv_info(text_from_py(bezeichner, "bezeichner"),
                                                  text_from_py(key, "key"),
                                                  text_from_py(name, "name"))

    def remove_cardid_from_metadata(self, card, key):
        """Remove the name of `card` from today's list `key` of the current collection.

        A name that is not there is no error."""
        self.kkv.get().remove_cardid_from_metadata(karteikarte_of(card)[0],
                                                   text_from_py(key, "key"))

    def remove_from_again_in_queue(self, card):
        """Remove the name of `card` from today's "again_in_queue" list.

        The list is the current collection's; a name not there is no error."""
        self.kkv.get().remove_from_again_in_queue(karteikarte_of(card)[0])

    def set_reps(self, reizung=False):
        """Add 1 to today's repetition counters of the current collection.

        They are "reps" and "reps_reizung" (with `reizung`) or "reps_kk", recorded
        as set_metadaten records them. KeyError when sammlungsort_name is unset."""
        self.kkv.get().set_reps(reizung)

    def set_karte_heute_schon_gelernt(self, card, test, response):
        """Record `card` in today's "karte_erfolgreich_wiederholt" list.

        The list is the current collection's; nothing is recorded with `test`, and
        `response` is not used."""
        self.kkv.get().set_karte_heute_schon_gelernt(karteikarte_of(card)[0], test,
                                                     text_from_py(response, "response"))

    def faellig_liste_eintragen(self, wert, now):
        """Append the pair (`wert`, `now`) to today's "faellig_liste" of the current collection."""
        self.kkv.get().faellig_liste_eintragen(from_py(wert), from_py(now))

    # ---- daily limits ----

    def bestimme_grenzwert_neue_karten_heute(self, sammlung):
        """Return today's new-card limit for `sammlung`.

        That is its own today-only value (0 counts as unset), else
        neue_karten_nur_heute, else neue_karten_pro_tag; in the forgotten-cards mode
        every card of a non-empty collection."""
        return self.kkv.get().bestimme_grenzwert_neue_karten_heute(sammlung_ref_from_py(sammlung))

    def bestimme_grenzwert_wiederholungen(self, sammlung):
        """Return today's review limit for `sammlung`.

        0 for an empty collection, every card in the forgotten-cards mode, else
        maximale_wiederholungen_pro_tag."""
        return self.kkv.get().bestimme_grenzwert_wiederholungen(sammlung_ref_from_py(sammlung))

    def get_grenzwert_neue_karten_heute(self):
        """Return the manager-wide new-card limit, or None when there is none.

        That is neue_karten_nur_heute, else neue_karten_pro_tag."""
        return sammlung_optional_int_to_py(self.kkv.get().get_grenzwert_neue_karten_heute())

    # ---- making cards due ----

    def make_karte_due(self, kartenname, sammlung):
        """Make the card `kartenname` of `sammlung` due at the start of the learning day.

        It is recorded as put due today in that collection. KeyError when the
        collection lacks the card, and nothing is recorded; TypeError when
        `sammlung` is None."""
        self.kkv.get().make_karte_due(text_from_py(kartenname, "kartenname"),
                                      optional_sammlung_ref(sammlung))

    def make_one_due(self, grenzwert):
        """Put due the new card with the lowest fudge and return its name.

        Only collections that have put fewer than `grenzwert` cards due today take
        part. Ties go to the card met first, in collection order, then card order.
        None when there is none; nothing changes then."""
        return optional_text_to_py(self.kkv.get().make_one_due(grenzwert))

    def make_one_due_eine_sammlung(self, grenzwert, sammlungsname):
        """Put due the lowest-fudge new card of the collection `sammlungsname`.

        Returns its name or None, as make_one_due does. KeyError when the collection
        is not registered."""
        return optional_text_to_py(self.kkv.get().make_one_due_eine_sammlung(
            grenzwert, text_from_py(sammlungsname, "sammlungsname")))

    def make_all_cards_for_today(self):
        """Put due the new cards today's limit leaves in the current collection.

        The collection is the container's aktuelle_haendesammlung, the limit the
        manager-wide one; lowest fudge first. Cards put due on an earlier day but
        never answered become new again first. Does nothing without a current
        collection or a limit."""
        self.kkv.get().make_all_cards_for_today()

    def sortiere_neue_karten_heute_nach_faellig_gestellt(self, element):
        """Return the sort key of `element`, a pair (card name, first-due datetime or None).

        The key is that moment in seconds since the epoch or, without one, 1000
        seconds after now, which sorts after all others."""
        cdef pair[string, optional[DateTime]] karte
        cdef Value faellig
        name, erstes_mal = element
        karte.first = text_from_py(name, "card name")
        if erstes_mal is not None:
            faellig = date_time_from_py(erstes_mal)
            karte.second = faellig.as_date_time()
        return self.kkv.get().sortiere_neue_karten_heute_nach_faellig_gestellt(karte)

    def korrigiere_ueberschuss(self, sammlung, ueberschuss):
        """Remove from `sammlung` the first `ueberschuss` of its cards put due today.

        The cards leave the collection. The order is that of
        sortiere_neue_karten_heute_nach_faellig_gestellt; a card that cannot be
        removed is skipped. TypeError when `sammlung` is None."""
        self.kkv.get().korrigiere_ueberschuss(optional_sammlung_ref(sammlung), ueberschuss)

    # ---- card choice ----

    def get_card(self):
        """Choose the next card to show and return it as a Karteikarte, or None.

        None when no collection offers a card. Every card's fudge is renewed first;
        each collection offers a card within today's limits and the one due earliest
        wins. sammlungsort_name becomes the card's collection (the base collection
        in the drill), or None. The Karteikarte is a working view of the card: its
        new state reaches the collection when written back, as answer_card does."""
        cdef optional[CppKarteikarte] card = self.kkv.get().get_card()
        return wrap_karteikarte(card.value()) if card.has_value() else None

    def waehle_card_aus_mehreren_sammlungen(self):
        """Return the card to show now as (card name, collection name).

        Both are None when no collection offers one. Each collection offers its card
        and the one due earliest wins; unlike get_card, no fudge is renewed."""
        return card_and_collection_to_py(self.kkv.get().waehle_card_aus_mehreren_sammlungen())

    def waehle_card_eine_sammlung(self, sammlung=None, fudge=None):
        """Return the card `sammlung` offers now as (card name, collection name).

        Both are None when there is none or the pass limit is reached. The choice
        keeps today's limits and at most five candidates (see aufteilung_5) and sets
        make_karte_due_bool when the card is new. In the forgotten-cards mode it is
        waehle_card_vergessene; `fudge` has no effect. AttributeError when
        `sammlung` is None outside that mode."""
        return card_and_collection_to_py(self.kkv.get().waehle_card_eine_sammlung(
            optional_sammlung_ref(sammlung), sammlung_optional_int(fudge)))

    def vergleiche_card_eher_due(self, cardpointer, sammlungsname1, otherpointer,
                                 sammlungsname2):
        """Return, of two chosen cards, the one to show first as (card name, collection name).

        A present card wins over an absent one, then the earlier due (None earliest,
        "done" latest), then the lower fudge; a tie goes to the second
        (`otherpointer`, `sammlungsname2`)."""
        return card_and_collection_to_py(self.kkv.get().vergleiche_card_eher_due(
            optional_text_from_py(cardpointer, "cardpointer"),
            optional_text_from_py(sammlungsname1, "sammlungsname1"),
            optional_text_from_py(otherpointer, "otherpointer"),
            optional_text_from_py(sammlungsname2, "sammlungsname2")))

    # ---- forgotten-cards drill ----

    def waehle_card_vergessene(self, sammlung=None, fudge=None):
        """Return the next forgotten card of `sammlung` as (card name, collection name).

        Both are None when there is none or the pass limit is reached. The
        candidates are its cards forgotten after the cut-off
        vergessen_wie_weit_zurueck learning days before the module was loaded and
        not yet learnt in this run: the five first in permanent review order, of
        them the one with the lowest fudge. `fudge` is not used. AttributeError when
        `sammlung` is None."""
        return card_and_collection_to_py(self.kkv.get().waehle_card_vergessene(
            optional_sammlung_ref(sammlung), sammlung_optional_int(fudge)))

    def karte_in_vergessene_karten(self, karte, sammlungsname):
        """Return True when the card `karte` of `sammlungsname` was learnt in this run.

        The run is that of the forgotten-cards drill. A collection and its
        forgotten-cards collection "<name>_vergessen" count as one."""
        return self.kkv.get().karte_in_vergessene_karten(
            text_from_py(karte, "karte"), text_from_py(sammlungsname, "sammlungsname"))

    def setze_vergessen_modus(self, wert):
        """Start a run of the forgotten-cards drill that looks `wert` days back.

        No card counts as learnt in it yet; the drill also needs
        alle_sammlung_vergessene_karten and modus_vergessene_karten = True."""
        self.kkv.get().setze_vergessen_modus(wert)

    def alle_sammlung_vergessene_karten(self, tage_zurueck):
        """Make a forgotten-cards collection live in place of each registered one.

        The normal collections are parked untouched. Each, a
        Haendesammlung_vergessen "<name>_vergessen", holds copies of the cards
        forgotten within the last `tage_zurueck` days and is stored under its own
        name first. When storing fails, nothing has changed."""
        self.kkv.get().alle_sammlung_vergessene_karten(tage_zurueck)

    def vergessen_zurueck_dict_herstellen(self, go_to_normal):
        """Swap the parked and the live collections while the forgotten-cards mode is on.

        With `go_to_normal` True (or 1) the normal collections come back when the
        forgotten-cards ones are live; otherwise the other way round. Does nothing
        when the mode is off or the asked-for ones are already live."""
        self.kkv.get().vergessen_zurueck_dict_herstellen(go_to_normal == True)

    def add_karte_vergessene_liste(self, karte, sammlungsort):
        """Record the card `karte` of `sammlungsort` as learnt in this run.

        Only while the forgotten-cards mode is on; otherwise it does nothing."""
        self.kkv.get().add_karte_vergessene_liste(text_from_py(karte, "karte"),
                                                  text_from_py(sammlungsort, "sammlungsort"))

    def modus_vergessene_karten_pruefen(self):
        """Return modus_vergessene_karten: True while the forgotten-cards mode is on."""
        return self.kkv.get().modus_vergessene_karten_pruefen()

    def leere_vergessene_karten_liste(self):
        """Set vergessene_karten_liste to a new empty list, creating the attribute.

        Nothing in the module reads it."""
        self.kkv.get().leere_vergessene_karten_liste()

    def make_neue_sammlung_vergessene_karten(self, wert):
        """Do nothing with `wert`; kept so that a host may call it."""
        self.kkv.get().make_neue_sammlung_vergessene_karten(from_py(wert))

    # ---- lowest-fudge search ----

    def finde_karte_due_niedrigster_fudge(self, now, old_now, rs, nur_again_queue, vorauslernen,
                                          position, fudge):
        """Find the due card with the lowest fudge below `fudge` over every collection.

        The result is (card name, collection name, collection position). A card
        counts when due no later than `now` (seconds since the epoch) and not left
        out by the only-new, again-queue (`nur_again_queue` True or 1) and
        learning-ahead (`vorauslernen`, `old_now`) filters. (None, None, 0) when
        there is none. `rs` and `position` are not read. Part of the earlier card
        choice, waehle_card."""
        return found_card_to_py(self.kkv.get().finde_karte_due_niedrigster_fudge(
            now, old_now, from_py(rs), nur_again_queue == True, vorauslernen, from_py(position),
            fudge))

    def finde_karte_due_niedrigster_fudge_diese_sammlung(self, now, old_now, rs, nur_again_queue,
                                                         vorauslernen, position, fudge, sammlung,
                                                         ueberschuss_neue_karten):
        """Find the due card with the lowest fudge below `fudge` within `sammlung`.

        The search is that of finde_karte_due_niedrigster_fudge; it also leaves out
        the first `ueberschuss_neue_karten` new cards put due today and never
        answered. The position is -1 when `sammlung` is not registered;
        AttributeError when it is None."""
        return found_card_to_py(self.kkv.get().finde_karte_due_niedrigster_fudge_diese_sammlung(
            now, old_now, from_py(rs), nur_again_queue == True, vorauslernen, from_py(position),
            fudge, optional_sammlung_ref(sammlung), ueberschuss_neue_karten))

    def waehle_card(self):
        """Choose a card the earlier way and return (card name, collection name).

        Both are None when there is none. A new card is put due when too few are
        due, then the lowest-fudge search runs in widening windows (now, one and ten
        minutes ahead)."""
        return card_and_collection_to_py(self.kkv.get().waehle_card())

    # ---- five-card split and candidate pick ----

    def aufteilung_5(self, grenzwert_neue_karten_heute, grenzwert_maximale_wiederholungen,
                     minimum_neue_karten):
        """Return the places (new cards, reviews) among the five cards in rotation.

        With `grenzwert_maximale_wiederholungen` under three the new cards take the
        places left, else at most two and no more than `minimum_neue_karten`; the
        reviews take the rest, at most three when the new cards have two. In debug
        mode a negative argument fails the consistency check."""
        return self.kkv.get().aufteilung_5(grenzwert_neue_karten_heute,
                                           grenzwert_maximale_wiederholungen, minimum_neue_karten)

    def finde_beste_karte_alle(self, liste):
        """Pick one candidate of `liste`, a list of candidate tuples (fudge, card data, name).

        Returns None for no candidate, the one of one, one of two at random (the
        module's random source), and of three or more a one-element list holding the
        one with the lowest fudge. Card data comes back live."""
        return picked_to_py(self.kkv.get().finde_beste_karte_alle(entries_from_py(liste)))

    def korrigiere_typ_ausgewaehlte_karte(self, ausgewaehlte_karte):
        """Return the first entry of a non-empty list `ausgewaehlte_karte`.

        Anything else comes back as it is."""
        return picked_to_py(self.kkv.get().korrigiere_typ_ausgewaehlte_karte(
            picked_from_py(ausgewaehlte_karte)))

    def bestimme_ausgewaehlte_karte_info_aus_alle(self, alle, sammlung):
        """Pick a candidate of `alle`, as finde_beste_karte_alle does.

        Returns (card data, card name, collection name). Each is None when `alle` is
        empty; the card data is live and the collection name that of `sammlung`.
        AttributeError when `sammlung` is None and a card was picked."""
        cdef ChosenCandidate chosen = self.kkv.get().bestimme_ausgewaehlte_karte_info_aus_alle(
            entries_from_py(alle), optional_sammlung_ref(sammlung))
        return (optional_card_data(chosen.data), optional_text_to_py(chosen.name),
                optional_text_to_py(chosen.sammlungsname))

    def ausgewaehlte_karte_ist_neu(self, kartenname, tupelliste):
        """Return True when some candidate of `tupelliste` is the card `kartenname`."""
        return self.kkv.get().ausgewaehlte_karte_ist_neu(
            optional_text_from_py(kartenname, "kartenname"), entries_from_py(tupelliste))

    def check_id_faehig(self, liste):
        """Check, in debug mode, that every candidate of `liste` is a triple with card data.

        A missing fudge fails the consistency check; missing card data raises
        TypeError "Element 1 sollte dict sein". Does nothing when debug_status is
        off or `liste` is empty."""
        if package_environment.diagnostics.debug_status and liste:
            self.kkv.get().check_id_faehig(entries_from_py(liste))

    def get_handinfo_from_cardpointer(self, cardpointer):
        """Return the hand of the card `cardpointer` from the hand importer, shared with it.

        "kk_test-7" names hand 7 of the hand module "kk_test". IndexError
        "list index out of range" for a name without "-"."""
        return to_py(self.kkv.get().get_handinfo_from_cardpointer(
            text_from_py(cardpointer, "cardpointer")), True)

    def get_reizungsdict_from_karteikarte(self, karteikarte):
        """Return the hand of `karteikarte`, as get_handinfo_from_cardpointer does."""
        return to_py(self.kkv.get().get_reizungsdict_from_karteikarte(
            karteikarte_of(karteikarte)[0]), True)

    def bestimme_x_dues(self, x):
        """Return the first `x` cards by due moment as a new list of (due, card name) pairs.

        The due is in seconds since the epoch; every card with a due moment in any
        collection counts, ties in collection order."""
        return dues_to_py(self.kkv.get().bestimme_x_dues(x))
