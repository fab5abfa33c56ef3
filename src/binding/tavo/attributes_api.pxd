# Declarations of the attribute tables through which the host reads and
# assigns the attributes of working cards and of the manager.
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from libcpp.string cimport string
from libcpp.vector cimport vector

from value_api cimport Value, raise_py_error
from cards_api cimport CppKarteikarte
from manager_api cimport Manager
from collections_api cimport CppHaendesammlungContainer
from holders_api cimport CppReihenfolge_anzeigen


cdef extern from "<string_view>" namespace "std":
    cdef cppclass string_view:
        const char* data()
        size_t size()


cdef extern from "value/host_attribute.hpp" namespace "tavo":
    cdef cppclass HostAttributes[Object]:
        bool contains(const string& name)
        Value get(const Object& object, const string& name) except +raise_py_error
        void set(Object& object, const string& name, const Value& value) except +raise_py_error
        vector[string_view] names()


cdef extern from "karteikarten/cards/karteikarte_attributes.hpp" namespace "tavo::kk":
    const HostAttributes[CppKarteikarte]& karteikarte_attributes()


cdef extern from "karteikarten/frame/manager_attributes.hpp" namespace "tavo::kk":
    const HostAttributes[Manager]& manager_attributes()


cdef extern from "shared_member.hpp" namespace "tavo::binding":
    # Handles to the objects a manager holds that keep the manager alive.
    shared_ptr[CppHaendesammlungContainer] shared_container "tavo::binding::shared_member"(
        const shared_ptr[Manager]& owner, CppHaendesammlungContainer* member)
    shared_ptr[CppReihenfolge_anzeigen] shared_reihenfolge_anzeigen "tavo::binding::shared_member"(
        const shared_ptr[Manager]& owner, CppReihenfolge_anzeigen* member)
