# Declarations of the host components the module relies on: time, places,
# stores and the hand import.
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional
from libcpp.pair cimport pair
from libcpp.string cimport string
from libcpp.vector cimport vector

from value_api cimport Value, List, Dict, Tuple, DateTime, raise_py_error


cdef extern from "<filesystem>" namespace "std::filesystem":
    cdef cppclass FsPath "std::filesystem::path":
        FsPath()
        FsPath(string text) except +raise_py_error
        string text "string"() except +raise_py_error


cdef extern from "platform/common_functions.hpp" namespace "tavo::platform":
    cdef cppclass TimeStruct "tavo::platform::TimeStruct":
        int tm_year
        int tm_mon
        int tm_mday
        int tm_hour
        int tm_min
        int tm_sec
        int tm_wday
        int tm_yday
        int tm_isdst

    cdef cppclass CppCommon_functions "tavo::platform::Common_functions":
        CppCommon_functions() except +raise_py_error
        void set_fixed_now(double seconds) except +raise_py_error
        void clear_fixed_now()
        double get_now() except +raise_py_error
        DateTime get_datetime_now() except +raise_py_error
        string get_datum_string_startzeit(int startzeit) except +raise_py_error
        double get_startzeit_tag_today(int startzeit_tag) except +raise_py_error
        double next_learning_day_start(int startzeit_tag) except +raise_py_error
        DateTime get_now_startzeit(int startzeit_tag) except +raise_py_error
        TimeStruct get_time_struct_now() except +raise_py_error


cdef extern from "platform/zeitberechnungen.hpp" namespace "tavo::platform":
    cdef cppclass CppZeitberechnungen "tavo::platform::Zeitberechnungen":
        CppZeitberechnungen(const CppCommon_functions& functions,
                            int startzeit_tag) except +raise_py_error
        int startzeit_tag()
        void set_time(const DateTime& zeit) except +raise_py_error
        double get_old_date(int64_t days) except +raise_py_error
        double vorauslernen_sekunden_berechnen(double vorauslernen_tage) except +raise_py_error


cdef extern from "platform/make_daily_copy.hpp" namespace "tavo::platform":
    cdef cppclass CppMakeDailyCopy "tavo::platform::MakeDailyCopy":
        CppMakeDailyCopy(const CppCommon_functions& functions,
                         int startzeit_tag) except +raise_py_error
        optional[FsPath] make_copy(const FsPath& filename) except +raise_py_error


cdef extern from "platform/getcwd.hpp" namespace "tavo::platform":
    cdef cppclass CppGetCwd "tavo::platform::GetCwd":
        CppGetCwd()
        string get_app_data_dir() except +raise_py_error


cdef extern from "platform/importiere_haende.hpp" namespace "tavo::platform":
    cdef cppclass CppImportiere_haende "tavo::platform::Importiere_haende":
        CppImportiere_haende()
        void register_hand(string modul_dat, Value hand) except +raise_py_error
        void register_modul(const string& modulname, const Dict& haende) except +raise_py_error
        List make_haendeliste(const List& namen) except +raise_py_error
        void clear()


cdef extern from "platform_helpers.hpp" namespace "tavo::binding":
    # Handles to the process-wide instances that never delete them.
    shared_ptr[CppCommon_functions] unowned_common_functions "tavo::binding::unowned"(
        CppCommon_functions& instance)
    shared_ptr[CppImportiere_haende] unowned_importiere_haende "tavo::binding::unowned"(
        CppImportiere_haende& instance)
    # The local date-time of now, and the present moment of the learning day.
    Value datetime_now_value(const CppCommon_functions& functions) except +raise_py_error
    Value now_startzeit_value(const CppCommon_functions& functions,
                              int startzeit_tag) except +raise_py_error


cdef extern from "platform/diagnostics.hpp" namespace "tavo::platform":
    cdef cppclass Diagnostics:
        bool debug_status


cdef extern from "platform/environment.hpp" namespace "tavo::platform":
    cdef cppclass Environment:
        CppCommon_functions cf
        Diagnostics diagnostics
        CppImportiere_haende hands
        DateTime start_date
        string legacy_collection_file(const string& name) except +raise_py_error


cdef extern from "platform_helpers.hpp" namespace "tavo::binding":
    Environment& create_package_environment "tavo::binding::package_environment"()


cdef extern from "python_hooks.hpp" namespace "tavo::binding":
    void connect_diagnostics(Diagnostics& diagnostics, object write_line, object debug_hook)
