# Karteikartenverwaltung: the manager.


cdef class Karteikartenverwaltung(object):

    def __init__(self, vorauslernen=0, nur_neue=False, neue_karten_pro_tag=None):
        cdef optional[int64_t] neue
        if neue_karten_pro_tag is not None:
            neue = <int64_t>neue_karten_pro_tag
        self.kkv = make_shared[Manager](<int64_t>(vorauslernen or 0), <bint>nur_neue, neue)

    property neue_karten_pro_tag:
        def __get__(self):
            return self.kkv.get().neue_karten_pro_tag
        def __set__(self, value):
            self.kkv.get().neue_karten_pro_tag = value
