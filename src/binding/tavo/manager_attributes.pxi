# The manager's attributes: its typed values through the library's attribute
# table, and the three objects it holds as wrappers of those very objects.
from attributes_api cimport manager_attributes, shared_container, shared_reihenfolge_anzeigen


cdef object manager_attribute(Karteikartenverwaltung wrapper, name):
    return to_py(manager_attributes().get(wrapper.kkv.get()[0],
                                          text_from_py(name, "attribute name")), True)


cdef set_manager_attribute(Karteikartenverwaltung wrapper, name, value):
    """Assigns a table attribute; any other name is an attribute of the
    wrapper itself, as on any Python object."""
    cdef string key = text_from_py(name, "attribute name")
    if manager_attributes().contains(key):
        manager_attributes().set(wrapper.kkv.get()[0], key, from_py(value))
    else:
        PyObject_GenericSetAttr(wrapper, name, value)


cdef list manager_attribute_names(Karteikartenverwaltung wrapper):
    return sorted(set(attribute_names_to_py(manager_attributes().names()) +
                      dir(type(wrapper)) + list(wrapper.__dict__)))


cdef HaendesammlungContainer manager_container(Karteikartenverwaltung wrapper):
    return wrap_container(shared_container(wrapper.kkv, &wrapper.kkv.get().hc))


cdef Reihenfolge_anzeigen manager_reihenfolge_anzeigen(Karteikartenverwaltung wrapper):
    return wrap_reihenfolge_anzeigen(
        shared_reihenfolge_anzeigen(wrapper.kkv, &wrapper.kkv.get().reihenfolge_anzeigen))
