# Karteikarte: the working card of one answer.


cdef class Karteikarte(object):
    pass
