# HaendesammlungVerteilungAnalyzer: the distribution analyzer.
#
# The limits, counts and name lists are the library's attribute table; the
# collection and the four holders are properties handing out live wrappers.
# Every method delegates to the C++ analyzer and returns None.
from analysis_api cimport CppAnalyzer, analyzer_attributes


cdef optional[vector[string]] optional_names_from_py(object names) except *:
    """The card names of `names`; absent for None."""
    cdef optional[vector[string]] result
    cdef vector[string] given
    if names is not None:
        given = holder_names_from_py(names)
        result = given
    return result


cdef Kartenhalter share_kartenhalter(const shared_ptr[CppKartenhalter]& holder, name):
    """The live wrapper of `holder`; AttributeError while it is not filled."""
    if holder.get() == NULL:
        raise AttributeError(
            "'HaendesammlungVerteilungAnalyzer' object has no attribute '%s'" % name)
    cdef Kartenhalter wrapper = Kartenhalter.__new__(Kartenhalter)
    wrapper.holder = holder
    return wrapper


cdef shared_ptr[CppKartenhalter] kartenhalter_from_py(Kartenhalter holder) except *:
    if holder is None:
        raise TypeError("expected a Kartenhalter, not None")
    return holder.holder


cdef CppAnalyzer* analyzer_of(HaendesammlungVerteilungAnalyzer wrapper) except NULL:
    if wrapper.analyzer.get() == NULL:
        raise ValueError("the HaendesammlungVerteilungAnalyzer was never initialised")
    return wrapper.analyzer.get()


cdef class HaendesammlungVerteilungAnalyzer(object):
    """ analysiert Sammlung nach Kategorien von Karten, wie sie in
    datenmodell_karteikarten.txt genannt sind. 

    Takes one collection apart into the categories of cards the day's
    learning distinguishes, checks them against each other and reports their
    sizes. Built with `sammlung`, the Haendesammlung to analyse (TypeError
    for None); no card of it is changed. analyse() fills every category in a
    fixed order, each from one query of the collection, and show() prints
    the report. A category not filled yet is absent: reading it raises
    AttributeError.

    The holders neue_karten, heute_faellige, faellig_aber_nicht_heute and
    karten_faellig_heute_halter are properties. The other values are
    attributes, read and assigned through __getattr__ (TypeError for a value
    of the wrong kind); each list of names reads as a new list:
      name: the collection's name (set when built);
      grenzwert_neue_karten_heute, grenzwert_wiederholungen: the day's
        limits (2 each unless set);
      voraus: seconds, kept for the host (600);
      anzahl_neue_karten_faellig_stellbar and its copy
        anzahl_neue_karten_faellig_stellbar_echt: new cards that may still be
        put due today;
      neue_karten_heute_faellig_gestellt_ausstehend: cards put due today and
        still due;
      grenzwert_maximale_wiederholungen: reviews that may be shown now;
      anzahl_offene_heute_schon_angesehen_nicht_erfolgreich: cards seen
        today, failed and still due;
      neue_karten_erfolgreich: new cards learnt today;
      faellig_gestellt_noch_nie_angesehen: cards with a due never answered;
      heute_faellig_gestellt: new cards seen today;
      faellig_aber_nicht_heute_bezeichner, karten_faellig_heute: the names
        of the holders faellig_aber_nicht_heute and karten_faellig_heute_halter;
      heute_wiederholt_nicht_mehr_faellig: reviewed today, not failed, no
        longer due;
      wiederholte_karten: today's "karte_erfolgreich_wiederholt" names;
      wiederholte_karten_neu: cards reviewed today;
      heute_erstmalig_faellig_gestellt_noch_faellig: put due today, answered
        since, still due;
      heute_angesehen_bezeichner: cards seen today;
      faellig_aber_nicht_heute_heute_nicht_angesehen,
        faellig_aber_nicht_heute_heute_angesehen: of the cards due later,
        those not seen and those seen today;
      heute_wiederholt_erfolgreich_noch_faellig: reviewed today, not failed,
        still due;
      heute_wiederholt_nicht_erfolgreich: reviewed today and failed;
      heute_faellig_schon_laenger_faellig_noch_nicht_angesehen: cards due
        before today among heute_faellig_gestellt (empty after analyse()).
    """

    @cython.embedsignature(False)  # the class description comes first
    def __init__(self, sammlung):
        self.analyzer = make_shared[CppAnalyzer](sammlung_ref_from_py(sammlung))

    def __getattr__(self, name):
        return to_py(analyzer_attributes().get(analyzer_of(self)[0],
                                               text_from_py(name, "attribute name")), True)

    def __setattr__(self, name, value):
        cdef string key = text_from_py(name, "attribute name")
        if analyzer_attributes().contains(key):
            analyzer_attributes().set(analyzer_of(self)[0], key, from_py(value))
        else:
            PyObject_GenericSetAttr(self, name, value)

    def __dir__(self):
        return sorted(set(attribute_names_to_py(analyzer_attributes().names()) +
                          dir(type(self)) + list(self.__dict__)))

    property sammlung:
        """The collection analysed, as a wrapper of that very collection.

        Assigning another Haendesammlung analyses that one from then on.
        """
        def __get__(self):
            return wrap_sammlung(analyzer_of(self).sammlung)
        def __set__(self, sammlung):
            analyzer_of(self).sammlung = sammlung_ref_from_py(sammlung)

    property neue_karten:
        """The new cards, a live Kartenhalter; AttributeError until filled.

        Assigning a Kartenhalter shares it (TypeError for None).
        """
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).neue_karten, "neue_karten")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).neue_karten = kartenhalter_from_py(holder)

    property heute_faellige:
        """The new cards to put due today, a live Kartenhalter; AttributeError until filled.

        Assigning a Kartenhalter shares it (TypeError for None).
        """
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).heute_faellige, "heute_faellige")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).heute_faellige = kartenhalter_from_py(holder)

    property faellig_aber_nicht_heute:
        """The cards with a due that are not due now, a live Kartenhalter.

        AttributeError until filled. Assigning a Kartenhalter shares it
        (TypeError for None).
        """
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).faellig_aber_nicht_heute,
                                      "faellig_aber_nicht_heute")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).faellig_aber_nicht_heute = kartenhalter_from_py(holder)

    property karten_faellig_heute_halter:
        """The cards due now, a live Kartenhalter; AttributeError until filled.

        Assigning a Kartenhalter shares it (TypeError for None).
        """
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).karten_faellig_heute_halter,
                                      "karten_faellig_heute_halter")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).karten_faellig_heute_halter = kartenhalter_from_py(holder)

    def set_grenzwert_neue_karten_heute(self, anzahl):
        """Set grenzwert_neue_karten_heute, the day's limit of new cards, to `anzahl`."""
        analyzer_of(self).set_grenzwert_neue_karten_heute(anzahl)

    def set_grenzwert_wiederholungen(self, anzahl):
        """Set grenzwert_wiederholungen, the day's limit of reviews, to `anzahl`."""
        analyzer_of(self).set_grenzwert_wiederholungen(anzahl)

    def analyse(self):
        """Fill every category, in the order of the get_ methods below.

        After get_wiederholte_karten it runs assert_karten_nur_aus_sammlung
        (AssertionError for a card of another collection). Errors of the
        collection's queries propagate.
        """
        analyzer_of(self).analyse()

    def show(self):
        """Print the report of the category sizes to sys.stdout.

        AttributeError before analyse(). Prints "laenge falsch" and goes on when
        the new, later and due cards do not add up to the collection; raises
        AssertionError, ending the report, when the three groups of new cards
        overlap.
        """
        analyzer_of(self).show()

    def do(self):
        """Do nothing; kept for the host."""
        analyzer_of(self).do_()

    def get_neue_karten(self):
        """Fill neue_karten with the collection's new cards (those without a due)."""
        analyzer_of(self).get_neue_karten()

    def get_neue_karten_erfolgreich(self):
        """Fill neue_karten_erfolgreich: new cards put due today and no longer due."""
        analyzer_of(self).get_neue_karten_erfolgreich()

    def get_faellig_gestellt_noch_nie_angesehen(self):
        """Fill faellig_gestellt_noch_nie_angesehen: cards with a due never answered."""
        analyzer_of(self).get_faellig_gestellt_noch_nie_angesehen()

    def get_heute_faellig_gestellt_bezeichner(self):
        """Fill heute_faellig_gestellt: the new cards seen today."""
        analyzer_of(self).get_heute_faellig_gestellt_bezeichner()

    def get_anzahl_neue_karten_faellig_stellbar_und_ausstehend(self):
        """Fill the counts of new cards to put due today.

        anzahl_neue_karten_faellig_stellbar (and anzahl_neue_karten_faellig_stellbar_echt)
        is how many may still be put due under grenzwert_neue_karten_heute,
        neue_karten_heute_faellig_gestellt_ausstehend how many put due today are
        still due.
        """
        analyzer_of(self).get_anzahl_neue_karten_faellig_stellbar_und_ausstehend()

    def get_beste_heute_neue(self):
        """Fill heute_faellige with the first new cards in deck order.

        As many as neue_karten_heute_faellig_gestellt_ausstehend, which must be
        filled first (AttributeError otherwise).
        """
        analyzer_of(self).get_beste_heute_neue()

    def get_grenzwert_maximale_wiederholungen(self):
        """Fill grenzwert_maximale_wiederholungen: the reviews that may be shown now.

        Counted under grenzwert_wiederholungen, which the collection keeps as its
        review limit for its later review queries.
        """
        analyzer_of(self).get_grenzwert_maximale_wiederholungen()

    def get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich(self):
        """Fill anzahl_offene_heute_schon_angesehen_nicht_erfolgreich.

        That is the number of cards seen today, failed and still due.
        """
        analyzer_of(self).get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich()

    def get_faellig_aber_nicht_heute(self):
        """Fill faellig_aber_nicht_heute and its names.

        These are the cards with a due ("done" included) that are not due
        within 600 seconds.
        """
        analyzer_of(self).get_faellig_aber_nicht_heute()

    def get_faellige(self, voraus=600):
        """Fill karten_faellig_heute_halter and karten_faellig_heute.

        These are the cards due within `voraus` seconds, learning-ahead days
        included.
        """
        analyzer_of(self).get_faellige(voraus)

    def get_faellig_wiederholt_nicht_mehr_faellig(self, faellige=None):
        """Fill heute_wiederholt_nicht_mehr_faellig: reviewed today, not failed, no longer due.

        The names `faellige` are not used; without them karten_faellig_heute_halter
        must be filled (AttributeError otherwise).
        """
        analyzer_of(self).get_faellig_wiederholt_nicht_mehr_faellig(
            optional_names_from_py(faellige))

    def get_wiederholte_karten(self):
        """Fill wiederholte_karten and wiederholte_karten_neu.

        The first holds today's "karte_erfolgreich_wiederholt" names, the second
        the cards reviewed today.
        """
        analyzer_of(self).get_wiederholte_karten()

    def get_heute_erstmalig_faellig_gestellt_noch_faellig(self):
        """Fill heute_erstmalig_faellig_gestellt_noch_faellig.

        These are the cards put due today, answered since and still due.
        """
        analyzer_of(self).get_heute_erstmalig_faellig_gestellt_noch_faellig()

    def get_heute_angesehen(self):
        """Fill heute_angesehen_bezeichner: the cards seen today."""
        analyzer_of(self).get_heute_angesehen()

    def get_faellig_aber_nicht_heute_heute_nicht_angesehen(self):
        """Fill faellig_aber_nicht_heute_heute_nicht_angesehen.

        These are the names of faellig_aber_nicht_heute_bezeichner not in
        heute_angesehen_bezeichner; AttributeError until both are filled.
        """
        analyzer_of(self).get_faellig_aber_nicht_heute_heute_nicht_angesehen()

    def get_faellig_aber_nicht_heute_heute_angesehen(self, faellig_aber_nicht_heute_bezeichner=None):
        """Fill faellig_aber_nicht_heute_heute_angesehen.

        These are the names of `faellig_aber_nicht_heute_bezeichner` that are in
        heute_angesehen_bezeichner (AttributeError until that is filled). Without
        names, the cards with a due not due within 600 seconds are found afresh.
        """
        analyzer_of(self).get_faellig_aber_nicht_heute_heute_angesehen(
            optional_names_from_py(faellig_aber_nicht_heute_bezeichner))

    def get_heute_wiederholt_erfolgreich_noch_faellig(self):
        """Fill heute_wiederholt_erfolgreich_noch_faellig.

        These are the cards reviewed today, not failed and still due.
        """
        analyzer_of(self).get_heute_wiederholt_erfolgreich_noch_faellig()

    def get_heute_wiederholt_nicht_erfolgreich(self):
        """Fill heute_wiederholt_nicht_erfolgreich: the cards reviewed today and failed."""
        analyzer_of(self).get_heute_wiederholt_nicht_erfolgreich()

    def get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
            self, vor_heute_faellig=None, heute_faellig_gestellt=None):
        """Fill heute_faellig_schon_laenger_faellig_noch_nicht_angesehen.

        These are the names of `vor_heute_faellig` (by default the cards due
        before the learning day began) that are in `heute_faellig_gestellt`.
        Without `heute_faellig_gestellt` the category is empty, as analyse()
        leaves it, and the attribute heute_faellig_gestellt is refilled with the
        new cards seen today.
        """
        analyzer_of(self).get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
            optional_names_from_py(vor_heute_faellig), optional_names_from_py(heute_faellig_gestellt))

    def assert_karten_nur_aus_sammlung(self):
        """Run the six checks below, in their order.

        Each raises AssertionError (no message) when a name in its category
        does not begin with the collection's name, and AttributeError while the
        category is not filled; an empty category passes.
        """
        analyzer_of(self).assert_karten_nur_aus_sammlung()

    def assert_neue_karten(self):
        """Check that every name in neue_karten begins with the collection's name.

        AssertionError (no message) otherwise; AttributeError while it is not
        filled.
        """
        analyzer_of(self).assert_neue_karten()

    def assert_heute_faellig_gestellt(self):
        """Check that every name in heute_faellig_gestellt begins with the collection's name.

        AssertionError (no message) otherwise; AttributeError while it is not
        filled.
        """
        analyzer_of(self).assert_heute_faellig_gestellt()

    def assert_heute_faellige(self):
        """Check that every name in heute_faellige begins with the collection's name.

        AssertionError (no message) otherwise; AttributeError while it is not
        filled.
        """
        analyzer_of(self).assert_heute_faellige()

    def assert_faellige_aber_nicht_heute(self):
        """Check that every name in faellig_aber_nicht_heute begins with the collection's name.

        AssertionError (no message) otherwise; AttributeError while it is not
        filled.
        """
        analyzer_of(self).assert_faellige_aber_nicht_heute()

    def assert_faellig_heute_halter(self):
        """Check that every name in karten_faellig_heute_halter begins with the collection's name.

        AssertionError (no message) otherwise; AttributeError while it is not
        filled.
        """
        analyzer_of(self).assert_faellig_heute_halter()

    def assert_wiederholte_karten(self):
        """Check that every name in wiederholte_karten begins with the collection's name.

        AssertionError (no message) otherwise; AttributeError while it is not
        filled.
        """
        analyzer_of(self).assert_wiederholte_karten()
