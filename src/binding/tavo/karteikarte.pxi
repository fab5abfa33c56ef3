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

    def __init__(self, hand, name, startzeit_tag):
        cdef CardRef record
        if hand:
            record = card_ref_from_py(hand)
        self.card = make_shared[CppKarteikarte](record, optional_text_from_py(name, "name"),
                                                <int>startzeit_tag)

    def __getattr__(self, name):
        return to_py(karteikarte_attributes().get(karteikarte_of(self)[0],
                                                  text_from_py(name, "attribute name")), True)

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
        """The card data of a bidding-only card, shared with its collection."""
        def __get__(self):
            if karteikarte_of(self).reizung.get() == NULL:
                raise AttributeError("'Karteikarte' object has no attribute 'reizung'")
            return card_data(karteikarte_of(self).reizung)
        def __set__(self, data):
            karteikarte_of(self).reizung = card_ref_from_py(data)

    def create_testcard(self):
        karteikarte_of(self).create_testcard()

    def get_name(self):
        return text_to_py(karteikarte_of(self).get_name())

    def get_status(self):
        return self.learnstatus

    def get_due(self):
        return to_py(karteikarte_of(self).get_due().to_value())

    def get_frage(self):
        return text_to_py(karteikarte_of(self).get_frage())

    def get_antwort(self):
        return text_to_py(karteikarte_of(self).get_antwort())

    def get_letzte_antwort(self):
        return optional_text_to_py(karteikarte_of(self).get_letzte_antwort())

    def get_modus(self):
        return karteikarte_of(self).get_modus()

    def set_letzte_antwort(self, response, test):
        karteikarte_of(self).set_letzte_antwort(text_from_py(response, "response"), <bint>(test == True))

    def set_last_interval(self, due):
        karteikarte_of(self).set_last_interval(from_py(due))

    def set_last_interval_no_lapse(self, interval, response, test):
        karteikarte_of(self).set_last_interval_no_lapse(
            from_py(interval), text_from_py(response, "response"), <bint>(test == True))

    def get_last_interval_no_lapse(self):
        return to_py(karteikarte_of(self).get_last_interval_no_lapse(), True)

    def set_beantwortungszeit(self, zeit):
        karteikarte_of(self).set_beantwortungszeit(from_py(zeit))

    def show_info(self):
        karteikarte_of(self).show_info()

    def recalculate_next_due_status_learning(self):
        karteikarte_of(self).recalculate_next_due_status_learning()

    def change_due(self, amount):
        karteikarte_of(self).change_due(from_py(amount))
