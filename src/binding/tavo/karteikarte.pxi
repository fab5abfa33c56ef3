# Karteikarte: the working card of one answer.
#
# Its attributes are read and assigned through the library's attribute
# table (the lists are the card's own, live); `reizung` is the shared card
# data of a bidding-only card. Attributes the table does not know are kept
# on the wrapper, as on any Python object.
from cpython.object cimport PyObject_GenericSetAttr
from attributes_api cimport karteikarte_attributes, string_view


cdef Karteikarte wrap_karteikarte(const CppKarteikarte& card):
    """A wrapper holding its own copy of `card`."""
    cdef Karteikarte wrapper = Karteikarte.__new__(Karteikarte)
    wrapper.card = make_shared[CppKarteikarte](card)
    return wrapper


cdef CppKarteikarte* karteikarte_of(object karteikarte) except NULL:
    cdef Karteikarte wrapper = <Karteikarte?>karteikarte
    if wrapper.card.get() == NULL:
        raise ValueError("the Karteikarte holds no card")
    return wrapper.card.get()


cdef list attribute_names_to_py(const vector[string_view]& names):
    cdef list result = []
    cdef size_t index
    for index in range(names.size()):
        result.append(text_to_py(string(names[index].data(), names[index].size())))
    return result


cdef class Karteikarte(object):
    """The working view of one card for one answer.

    Built with `hand`, the card data (live card data shares its record, any
    other mapping becomes a new record, and a false value such as None makes
    a test card), `name`, the card's name or None, and `startzeit_tag`, the
    hour at which the learning day begins. A card that is not bidding-only
    needs both texts: KeyError 'fragetext' or 'antworttext' otherwise.

    The card's values are attributes: nur_reizung, STARTING_EASE,
    startzeit_tag, fragetext, antworttext, learnstatus ("learning", "learned"
    or "relearning"), reps, lapses, due (None, seconds since the epoch or
    "done"), ease_factor, steps_index, interval, zuletzt_vergessen,
    faellig_erstes_mal, last_interval_no_lapse, last_interval,
    beantwortungszeiten, name, karte_ist_neu, letzte_antwort,
    permanent_fudge_wdh, permanent_fudge_neu and steps. Scalar values are
    copies: assigning one here does not reach the card data. The lists
    last_interval_no_lapse and beantwortungszeiten are the record's own, so
    appending to them changes live card data at once. Assigning a value of
    the wrong kind raises TypeError. A test card has steps (0) but no name,
    reps, karte_ist_neu, texts or lists; a missing attribute raises
    AttributeError. Other names are kept on the object, as on any Python
    object.
    """

    def __init__(self, hand, name, startzeit_tag):
        cdef optional[string] card_name = optional_text_from_py(name, "name")
        cdef int start = startzeit_tag
        if hand:
            self.card = make_shared[CppKarteikarte](card_ref_from_py(hand), card_name, start)
        else:
            self.card = make_testcard(package_environment.cf, start)

    def __getattr__(self, name):
        cdef CppKarteikarte* card = karteikarte_of(self)
        return to_py(karteikarte_attributes().get(card[0], text_from_py(name, "attribute name")),
                     True, &card.record())

    def __setattr__(self, name, value):
        cdef string key = text_from_py(name, "attribute name")
        if karteikarte_attributes().contains(key):
            karteikarte_attributes().set(karteikarte_of(self)[0], key, from_py(value))
        else:
            PyObject_GenericSetAttr(self, name, value)

    def __dir__(self):
        return sorted(set(attribute_names_to_py(karteikarte_attributes().names()) +
                          dir(type(self)) + list(self.__dict__)))

    property reizung:
        """The live card data of a bidding-only card, shared with its collection.

        AttributeError for any other card. Assigning live card data shares it;
        any other mapping is stored as a new record (TypeError for a non-mapping).
        """
        def __get__(self):
            if karteikarte_of(self).reizung.get() == NULL:
                raise AttributeError("'Karteikarte' object has no attribute 'reizung'")
            return card_data(karteikarte_of(self).reizung)
        def __set__(self, data):
            karteikarte_of(self).reizung = card_ref_from_py(data)

    def create_testcard(self):
        """Turn this card into a test card.

        Sets learnstatus "learning", steps 0, lapses 0, steps_index 0,
        ease_factor 130, interval 0, due now (by the module's clock) and
        letzte_antwort "again".
        """
        karteikarte_of(self).create_testcard(package_environment.cf)

    def get_name(self):
        """Return the card's name; AttributeError when it has none (a test card)."""
        return text_to_py(karteikarte_of(self).get_name())

    def get_status(self):
        """Return the learning phase: "learning", "learned" or "relearning"."""
        return self.learnstatus

    def get_due(self):
        """Return when the card is due: None, seconds since the epoch, or "done"."""
        return to_py(karteikarte_of(self).get_due().to_value())

    def get_frage(self):
        """Return the question text; AttributeError when the card has none."""
        return text_to_py(karteikarte_of(self).get_frage())

    def get_antwort(self):
        """Return the answer text; AttributeError when the card has none."""
        return text_to_py(karteikarte_of(self).get_antwort())

    def get_letzte_antwort(self):
        """Return the last answer given, or None."""
        return optional_text_to_py(karteikarte_of(self).get_letzte_antwort())

    def get_modus(self):
        """Return 1 for a bidding-only card, 0 for an index card."""
        return karteikarte_of(self).get_modus()

    def set_letzte_antwort(self, response, test):
        """Remember `response` as the last answer, unless `test` is True."""
        karteikarte_of(self).set_letzte_antwort(text_from_py(response, "response"), <bint>(test == True))

    def set_last_interval(self, due):
        """Remember `due` as last_interval, whatever value it is."""
        karteikarte_of(self).set_last_interval(from_py(due))

    def set_last_interval_no_lapse(self, interval, response, test):
        """Record the interval of an answer, unless `test` is True.

        For any `response` but "again", `interval` is appended to
        last_interval_no_lapse; "again" removes the newest interval when there is
        one. AttributeError for a test card.
        """
        karteikarte_of(self).set_last_interval_no_lapse(
            from_py(interval), text_from_py(response, "response"), <bint>(test == True))

    def get_last_interval_no_lapse(self):
        """Return the second-newest interval of last_interval_no_lapse.

        With only one interval, that one. IndexError when there is none;
        AttributeError for a test card.
        """
        cdef CppKarteikarte* card = karteikarte_of(self)
        return to_py(card.get_last_interval_no_lapse(), True, &card.record())

    def set_beantwortungszeit(self, zeit):
        """Append the answer time `zeit`, of whatever kind, to beantwortungszeiten.

        AttributeError for a test card.
        """
        karteikarte_of(self).set_beantwortungszeit(from_py(zeit))

    def show_info(self):
        """Print the card's values to sys.stdout.

        A line of 50 asterisks, "Werte der Karte", seventeen "label value" lines
        and the asterisks again. AttributeError for a test card.
        """
        karteikarte_of(self).show_info(package_environment.diagnostics)

    def recalculate_next_due_status_learning(self):
        """Make the card due now (by the module's clock) while its learnstatus is "learning"."""
        karteikarte_of(self).recalculate_next_due_status_learning(package_environment.cf)

    def change_due(self, amount):
        """Move the due moment `amount` days ahead; "done" marks the card finished.

        Less than a day counts from now, a day or more from the start of the
        learning day. The new moment takes the start hour unless the move is
        within 600 seconds of whole days, and a move of a day or more lands on
        the full hour. TypeError for anything but a number or "done".
        """
        karteikarte_of(self).change_due(package_environment.cf, from_py(amount))
