# std::optional, which this Cython's standard declarations lack.
from libcpp cimport bool


cdef extern from "<optional>" namespace "std" nogil:
    cdef cppclass nullopt_t:
        pass
    nullopt_t nullopt

    cdef cppclass optional[T]:
        optional()
        optional(T&)
        bool has_value()
        T& value()
        void reset()
        optional& operator=(T&)
