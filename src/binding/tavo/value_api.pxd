# Declarations of the library's dynamic values, and of the handler that
# turns its exceptions into Python's (every call that may throw names it).
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from libcpp.string cimport string
from libcpp.vector cimport vector
from libcpp.pair cimport pair
from std_optional cimport optional


cdef extern from "error_bridge.hpp" namespace "tavo::binding":
    cdef void raise_py_error()


cdef extern from "<memory>" namespace "std":
    # make_shared, with the library's exceptions raised as Python's.
    shared_ptr[T] make_shared[T](...) except +raise_py_error


cdef extern from "value/date_time.hpp" namespace "tavo":
    cdef cppclass DateTime:
        DateTime(int year, int month, int day, int hour, int minute, int second, int microsecond)
        int year() const
        int month() const
        int day() const
        int hour() const
        int minute() const
        int second() const
        int microsecond() const


cdef extern from "value/value.hpp" namespace "tavo":
    cdef cppclass NoneType:
        pass
    NoneType None "tavo::None"

    cdef cppclass Value

    cdef cppclass List:
        List()
        size_t size() const
        Value& at(int64_t index) except +raise_py_error
        void append(Value item) const
        void insert(int64_t index, Value item) const
        Value pop(int64_t index) except +raise_py_error
        void clear() const
        vector[Value]& items() const
        bool same(const List& other) const

    cdef cppclass Tuple:
        Tuple()
        Tuple(vector[Value] items)
        size_t size() const
        const vector[Value]& items() const

    cdef cppclass Dict:
        Dict()
        size_t size() const
        bool contains(const Value& key) except +raise_py_error
        Value& at(const Value& key) except +raise_py_error
        Value get(const Value& key, const Value& fallback) except +raise_py_error
        void set(Value key, Value value) except +raise_py_error
        void erase(const Value& key) except +raise_py_error
        void clear() const
        vector[Value] keys() const
        const vector[pair[Value, Value]]& entries() const
        bool same(const Dict& other) const

    cdef cppclass Value:
        Value()
        bool is_none() const
        bool is_bool() const
        bool is_int() const
        bool is_float() const
        bool is_text() const
        bool is_list() const
        bool is_tuple() const
        bool is_dict() const
        bool is_date_time() const
        bool as_bool() except +raise_py_error
        int64_t as_int() except +raise_py_error
        double as_float() except +raise_py_error
        const string& as_text() except +raise_py_error
        List as_list() except +raise_py_error
        const Tuple& as_tuple() except +raise_py_error
        Dict as_dict() except +raise_py_error
        const DateTime& as_date_time() except +raise_py_error
        size_t hash() except +raise_py_error

    # The value's constructors, one name per kind.
    Value none_value "tavo::Value"()
    Value bool_value "tavo::Value"(bool flag)
    Value int_value "tavo::Value"(int64_t number)
    Value float_value "tavo::Value"(double number)
    Value text_value "tavo::Value"(string text)
    Value list_value "tavo::Value"(List items)
    Value tuple_value "tavo::Value"(Tuple items)
    Value dict_value "tavo::Value"(Dict entries)
    Value date_time_value "tavo::Value"(DateTime moment)
    bool values_equal "operator=="(const Value& a, const Value& b)
    Value deep_copy(const Value& value)


cdef extern from "value/repr.hpp" namespace "tavo":
    string value_repr "tavo::repr"(const Value& value) except +raise_py_error
    string value_str "tavo::str"(const Value& value) except +raise_py_error


