# Declarations of the library's card records, working cards and entries.
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional
from libcpp.string cimport string
from libcpp.vector cimport vector

from value_api cimport Value, List, Dict, Tuple, DateTime, raise_py_error
from platform_api cimport CppCommon_functions, Diagnostics


cdef extern from "karteikarten/cards/card_record.hpp" namespace "tavo::kk":
    cdef cppclass CardRecord:
        pass
    CardRecord card_record_from_value(const Dict& data) except +raise_py_error
    Dict card_record_to_value(const CardRecord& record) except +raise_py_error
    void set_card_data_item(CardRecord& record, const Value& key,
                            const Value& value) except +raise_py_error
    Value card_data_item(const CardRecord& record, const Value& key) except +raise_py_error

    cdef cppclass Due:
        Value to_value()


cdef extern from "karteikarten/cards/card_ref.hpp" namespace "tavo::kk":
    # A shared record: read through get(), changed through edit(), which
    # marks the card as changed in its collection; note_change() marks it
    # after a change made in place to one of its lists or mappings.
    cdef cppclass CardRef:
        CardRef()
        const CardRecord* get()
        CardRecord& edit()
        void note_change()


cdef extern from "karteikarten/cards/entry.hpp" namespace "tavo::kk":
    cdef cppclass Entry:
        Entry()
        optional[int64_t] fudge
        CardRef data
        string name


cdef extern from "karteikarten/cards/karteikarte.hpp" namespace "tavo::kk":
    cdef cppclass CppKarteikarte "tavo::kk::Karteikarte":
        CppKarteikarte(CardRef hand, optional[string] name, int startzeit_tag) except +raise_py_error
        CppKarteikarte(const CppKarteikarte& other)
        void create_testcard(const CppCommon_functions& clock) except +raise_py_error
        const string& get_name() except +raise_py_error
        const Due& get_due()
        const string& get_frage() except +raise_py_error
        const string& get_antwort() except +raise_py_error
        const optional[string]& get_letzte_antwort()
        int get_modus()
        void set_letzte_antwort(const string& response, bool test)
        void set_last_interval(const Value& due)
        void set_last_interval_no_lapse(const Value& interval, const string& response,
                                        bool test) except +raise_py_error
        Value get_last_interval_no_lapse() except +raise_py_error
        void set_beantwortungszeit(const Value& zeit) except +raise_py_error
        void show_info(const Diagnostics& diagnostics) except +raise_py_error
        void change_due(const CppCommon_functions& clock,
                        const Value& amount) except +raise_py_error
        void recalculate_next_due_status_learning(
            const CppCommon_functions& clock) except +raise_py_error
        CardRef reizung
        const CardRef& record()


cdef extern from "shared_member.hpp" namespace "tavo::binding":
    # A new shared record holding `record`.
    CardRef make_card_ref(CardRecord record) except +raise_py_error
    # A new shared test card, due at `clock`'s present moment.
    shared_ptr[CppKarteikarte] make_testcard(const CppCommon_functions& clock,
                                             int startzeit_tag) except +raise_py_error
