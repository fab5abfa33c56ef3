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
    datenmodell_karteikarten.txt genannt sind. """

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
        def __get__(self):
            return wrap_sammlung(analyzer_of(self).sammlung)
        def __set__(self, sammlung):
            analyzer_of(self).sammlung = sammlung_ref_from_py(sammlung)

    property neue_karten:
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).neue_karten, "neue_karten")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).neue_karten = kartenhalter_from_py(holder)

    property heute_faellige:
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).heute_faellige, "heute_faellige")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).heute_faellige = kartenhalter_from_py(holder)

    property faellig_aber_nicht_heute:
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).faellig_aber_nicht_heute,
                                      "faellig_aber_nicht_heute")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).faellig_aber_nicht_heute = kartenhalter_from_py(holder)

    property karten_faellig_heute_halter:
        def __get__(self):
            return share_kartenhalter(analyzer_of(self).karten_faellig_heute_halter,
                                      "karten_faellig_heute_halter")
        def __set__(self, Kartenhalter holder):
            analyzer_of(self).karten_faellig_heute_halter = kartenhalter_from_py(holder)

    def set_grenzwert_neue_karten_heute(self, anzahl):
        analyzer_of(self).set_grenzwert_neue_karten_heute(anzahl)

    def set_grenzwert_wiederholungen(self, anzahl):
        analyzer_of(self).set_grenzwert_wiederholungen(anzahl)

    def analyse(self):
        analyzer_of(self).analyse()

    def show(self):
        analyzer_of(self).show()

    def do(self):
        analyzer_of(self).do_()

    def get_neue_karten(self):
        analyzer_of(self).get_neue_karten()

    def get_neue_karten_erfolgreich(self):
        analyzer_of(self).get_neue_karten_erfolgreich()

    def get_faellig_gestellt_noch_nie_angesehen(self):
        analyzer_of(self).get_faellig_gestellt_noch_nie_angesehen()

    def get_heute_faellig_gestellt_bezeichner(self):
        analyzer_of(self).get_heute_faellig_gestellt_bezeichner()

    def get_anzahl_neue_karten_faellig_stellbar_und_ausstehend(self):
        analyzer_of(self).get_anzahl_neue_karten_faellig_stellbar_und_ausstehend()

    def get_beste_heute_neue(self):
        analyzer_of(self).get_beste_heute_neue()

    def get_grenzwert_maximale_wiederholungen(self):
        analyzer_of(self).get_grenzwert_maximale_wiederholungen()

    def get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich(self):
        analyzer_of(self).get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich()

    def get_faellig_aber_nicht_heute(self):
        analyzer_of(self).get_faellig_aber_nicht_heute()

    def get_faellige(self, voraus=600):
        analyzer_of(self).get_faellige(voraus)

    def get_faellig_wiederholt_nicht_mehr_faellig(self, faellige=None):
        analyzer_of(self).get_faellig_wiederholt_nicht_mehr_faellig(
            optional_names_from_py(faellige))

    def get_wiederholte_karten(self):
        analyzer_of(self).get_wiederholte_karten()

    def get_heute_erstmalig_faellig_gestellt_noch_faellig(self):
        analyzer_of(self).get_heute_erstmalig_faellig_gestellt_noch_faellig()

    def get_heute_angesehen(self):
        analyzer_of(self).get_heute_angesehen()

    def get_faellig_aber_nicht_heute_heute_nicht_angesehen(self):
        analyzer_of(self).get_faellig_aber_nicht_heute_heute_nicht_angesehen()

    def get_faellig_aber_nicht_heute_heute_angesehen(self, faellig_aber_nicht_heute_bezeichner=None):
        analyzer_of(self).get_faellig_aber_nicht_heute_heute_angesehen(
            optional_names_from_py(faellig_aber_nicht_heute_bezeichner))

    def get_heute_wiederholt_erfolgreich_noch_faellig(self):
        analyzer_of(self).get_heute_wiederholt_erfolgreich_noch_faellig()

    def get_heute_wiederholt_nicht_erfolgreich(self):
        analyzer_of(self).get_heute_wiederholt_nicht_erfolgreich()

    def get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
            self, vor_heute_faellig=None, heute_faellig_gestellt=None):
        analyzer_of(self).get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
            optional_names_from_py(vor_heute_faellig), optional_names_from_py(heute_faellig_gestellt))

    def assert_karten_nur_aus_sammlung(self):
        analyzer_of(self).assert_karten_nur_aus_sammlung()

    def assert_neue_karten(self):
        analyzer_of(self).assert_neue_karten()

    def assert_heute_faellig_gestellt(self):
        analyzer_of(self).assert_heute_faellig_gestellt()

    def assert_heute_faellige(self):
        analyzer_of(self).assert_heute_faellige()

    def assert_faellige_aber_nicht_heute(self):
        analyzer_of(self).assert_faellige_aber_nicht_heute()

    def assert_faellig_heute_halter(self):
        analyzer_of(self).assert_faellig_heute_halter()

    def assert_wiederholte_karten(self):
        analyzer_of(self).assert_wiederholte_karten()
