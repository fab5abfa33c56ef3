# Conversion between the library's dynamic values and Python objects.
#
# Texts are str on both interpreters: UTF-8 bytes on Python 2 (unicode is
# accepted and encoded), str on Python 3. Integers and floats stay apart,
# as the module keeps them. Lists and dicts the module shares with the host
# cross as live views (ValueList, ValueDict) when asked for; passing a view
# back hands over the very same list or dict. A view of a list or dict that
# belongs to a card record (also a nested one) knows that record as its
# owner and marks the card as changed when it changes.
from cpython.version cimport PY_MAJOR_VERSION
from libc.string cimport memchr
from libcpp.utility cimport move
import datetime as _datetime


cdef extern from "Python.h":
    # Gives 1, with RecursionError set, past the recursion limit.
    int Py_EnterRecursiveCall(const char* where) except 1
    void Py_LeaveRecursiveCall()


cdef object text_to_py(const string& text):
    cdef bytes raw = text.data()[:text.size()]
    if PY_MAJOR_VERSION < 3:
        return raw
    return raw.decode("utf-8", "surrogateescape")


cdef string text_from_py(object text, what="text") except *:
    if isinstance(text, bytes):
        return <bytes>text
    if isinstance(text, unicode):
        return (<unicode>text).encode("utf-8", "surrogateescape")
    raise TypeError("%s must be str, not %s" % (what, type(text).__name__))


cdef string file_name_from_py(object name, what) except *:
    """A file name; ValueError, as for Python's own files, for a name holding
    a NUL character, where the system would cut it off."""
    cdef string result = text_from_py(name, what)
    if memchr(result.data(), 0, result.size()) != NULL:
        raise ValueError("embedded null byte")
    return result


cdef object optional_text_to_py(const optional[string]& text):
    return text_to_py(text.value()) if text.has_value() else None


cdef optional[string] optional_text_from_py(object text, what="text") except *:
    cdef optional[string] result
    if text is not None:
        result = text_from_py(text, what)
    return result


cdef object date_time_to_py(const DateTime& moment):
    return _datetime.datetime(moment.year(), moment.month(), moment.day(), moment.hour(),
                              moment.minute(), moment.second(), moment.microsecond())


cdef Value date_time_from_py(object moment) except *:
    if not isinstance(moment, _datetime.datetime):
        raise TypeError("expected datetime.datetime, not %s" % type(moment).__name__)
    return date_time_value(DateTime(moment.year, moment.month, moment.day, moment.hour, moment.minute,
                    moment.second, moment.microsecond))


cdef object to_py(const Value& value, bint live=False, const CardRef* owner=NULL):
    """The Python object for `value`; with `live`, lists and dicts (also
    nested ones) are views of the module's own, belonging to the record
    `owner` when given."""
    if value.is_none():
        return None
    if value.is_bool():
        return True if value.as_bool() else False
    if value.is_int():
        return value.as_int()
    if value.is_float():
        return value.as_float()
    if value.is_text():
        return text_to_py(value.as_text())
    if value.is_list() or value.is_tuple() or value.is_dict():
        return nested_to_py(value, live, owner)
    return date_time_to_py(value.as_date_time())


cdef object nested_to_py(const Value& value, bint live, const CardRef* owner):
    """A list, tuple or dict, each level counted against the interpreter's
    recursion limit: a value nested too deep is a RecursionError, not the
    end of the process."""
    Py_EnterRecursiveCall(" while converting a value from the module")
    try:
        if value.is_list():
            return value_list(value.as_list(), owner) if live else list_to_py(value.as_list())
        if value.is_tuple():
            return tuple_to_py(value.as_tuple(), live, owner)
        return value_dict(value.as_dict(), owner) if live else dict_to_py(value.as_dict())
    finally:
        Py_LeaveRecursiveCall()


cdef list list_to_py(const List& items):
    cdef list result = []
    cdef size_t index
    for index in range(items.size()):
        result.append(to_py(items.items()[index]))
    return result


cdef list keys_to_py(const vector[Value]& keys):
    cdef list result = []
    cdef size_t index
    for index in range(keys.size()):
        result.append(to_py(keys[index]))
    return result


cdef tuple tuple_to_py(const Tuple& items, bint live, const CardRef* owner):
    cdef list result = []
    cdef size_t index
    for index in range(items.size()):
        result.append(to_py(items.items()[index], live, owner))
    return tuple(result)


cdef dict dict_to_py(const Dict& entries):
    cdef dict result = {}
    cdef size_t index
    for index in range(entries.size()):
        result[to_py(entries.entries()[index].first)] = to_py(entries.entries()[index].second)
    return result


cdef Value from_py(object obj) except *:
    """The value for the Python object `obj`; TypeError for an object the
    module cannot hold."""
    if obj is None:
        return none_value()
    if obj is True or obj is False:
        return bool_value(<bool>(obj is True))
    if isinstance(obj, float):
        return float_value(obj)
    if isinstance(obj, (int, long)):
        return int_value(obj)
    if isinstance(obj, (bytes, unicode)):
        return text_value(text_from_py(obj))
    if isinstance(obj, ValueList):
        return list_value((<ValueList>obj).items)
    if isinstance(obj, ValueDict):
        return dict_value((<ValueDict>obj).entries)
    if isinstance(obj, _datetime.datetime):
        return date_time_from_py(obj)
    if isinstance(obj, (list, tuple)) or hasattr(obj, "keys"):
        return nested_from_py(obj)
    raise TypeError("the module cannot hold a value of type %s" % type(obj).__name__)


cdef Value nested_from_py(object obj) except *:
    """The value of a list, tuple or mapping, each level counted against the
    interpreter's recursion limit: a value nested too deep, or containing
    itself, is a RecursionError, not the end of the process."""
    Py_EnterRecursiveCall(" while converting a value for the module")
    try:
        if isinstance(obj, list):
            return list_value(list_from_py(obj))
        if isinstance(obj, tuple):
            return tuple_value(tuple_from_py(obj))
        return dict_value(dict_from_py(obj))
    finally:
        Py_LeaveRecursiveCall()


cdef List list_from_py(object items) except *:
    if isinstance(items, ValueList):
        return (<ValueList>items).items
    cdef List result
    for item in items:
        result.append(from_py(item))
    return result


cdef Tuple tuple_from_py(object items) except *:
    cdef vector[Value] values
    for item in items:
        values.push_back(from_py(item))
    return Tuple(move(values))


cdef Dict dict_from_py(object mapping) except *:
    if isinstance(mapping, ValueDict):
        return (<ValueDict>mapping).entries
    cdef Dict result
    for key in mapping.keys():
        result.set(from_py(key), from_py(mapping[key]))
    return result


cdef ValueList value_list(const List& items, const CardRef* owner=NULL):
    cdef ValueList view = ValueList.__new__(ValueList)
    view.items = items
    if owner != NULL:
        view.owner = owner[0]
    return view


cdef ValueDict value_dict(const Dict& entries, const CardRef* owner=NULL):
    cdef ValueDict view = ValueDict.__new__(ValueDict)
    view.entries = entries
    if owner != NULL:
        view.owner = owner[0]
    return view


cdef void note_owner_change(const CardRef& owner):
    """Marks the card record a view belongs to as changed, if it has one."""
    if owner.get() != NULL:
        owner.note_change()


cdef int64_t checked_index(const List& items, index) except *:
    cdef int64_t size = items.size()
    cdef int64_t place = index
    if place < 0:
        place += size
    if place < 0 or place >= size:
        raise IndexError("list index out of range")
    return place


cdef class ValueList(object):
    """A list the module shares with the host, read and written in place.

    Changes through it reach the module, and the module's show here; items
    that are lists or mappings are live views too. A change of a card's list
    marks the card as changed, so that its collection's next save writes it.
    It supports len(),
    indexing (IndexError "list index out of range"), item assignment and
    deletion, iteration over a snapshot, `in` and ==; a slice reads as a new
    list. Passing the view back to the module hands over the very same list.
    Built without arguments, it is a new empty list shared with nothing.
    """

    def __len__(self):
        return self.items.size()

    def __getitem__(self, index):
        if isinstance(index, slice):
            return list(self)[index]
        return to_py(self.items.items()[checked_index(self.items, index)], True, &self.owner)

    def __setitem__(self, index, value):
        self.items.items()[checked_index(self.items, index)] = from_py(value)
        note_owner_change(self.owner)

    def __delitem__(self, index):
        self.items.pop(checked_index(self.items, index))
        note_owner_change(self.owner)

    def __iter__(self):
        return iter([self[index] for index in range(len(self))])

    def __contains__(self, item):
        return item in list(self)

    def append(self, item):
        """Append `item`; TypeError for an object the module cannot hold."""
        self.items.append(from_py(item))
        note_owner_change(self.owner)

    def extend(self, items):
        """Append every item of the iterable `items`, in order (the view itself included)."""
        for item in list(items):
            self.items.append(from_py(item))
            note_owner_change(self.owner)

    def insert(self, index, item):
        """Insert `item` before `index`; an index out of range inserts at the nearer end."""
        self.items.insert(index, from_py(item))
        note_owner_change(self.owner)

    def pop(self, index=-1):
        """Remove and return the item at `index`, the last by default.

        IndexError "list index out of range" when there is no such item, also
        for an empty list.
        """
        cdef Value item = self.items.pop(checked_index(self.items, index))
        note_owner_change(self.owner)
        return to_py(item, True, &self.owner)

    def __eq__(self, other):
        if isinstance(other, (ValueList, list)):
            return list(self) == list(other)
        return NotImplemented

    def __ne__(self, other):
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    def __repr__(self):
        return repr(list(self))


cdef class ValueDict(object):
    """A mapping the module shares with the host, read and written in place.

    Changes through it reach the module, and the module's show here; nested
    lists and mappings are live views too. A change of a card's mapping
    marks the card as changed. Keys keep their insertion order.
    It supports len(), [] (KeyError for a missing key), item assignment and
    deletion, iteration over the keys, `in` and ==. Passing the view back to
    the module hands over the very same mapping. Built without arguments, it
    is a new empty mapping shared with nothing.
    """

    def __len__(self):
        return self.entries.size()

    def __getitem__(self, key):
        cdef Value wanted = from_py(key)
        if not self.entries.contains(wanted):
            raise KeyError(key)
        return to_py(self.entries.at(wanted), True, &self.owner)

    def __setitem__(self, key, value):
        self.entries.set(from_py(key), from_py(value))
        note_owner_change(self.owner)

    def __delitem__(self, key):
        cdef Value wanted = from_py(key)
        if not self.entries.contains(wanted):
            raise KeyError(key)
        self.entries.erase(wanted)
        note_owner_change(self.owner)

    def __contains__(self, key):
        return self.entries.contains(from_py(key))

    def __iter__(self):
        return iter(self.keys())

    def keys(self):
        """Return the keys as a new list, in insertion order."""
        return keys_to_py(self.entries.keys())

    def values(self):
        """Return the values as a new list, in key order; lists and mappings are live."""
        return [self[key] for key in self.keys()]

    def items(self):
        """Return the pairs (key, value) as a new list, in key order."""
        return [(key, self[key]) for key in self.keys()]

    def get(self, key, default=None):
        """Return the value under `key`, or `default` when there is none."""
        return self[key] if key in self else default

    def setdefault(self, key, default=None):
        """Return the value under `key`, storing `default` there first when there is none."""
        if key not in self:
            self[key] = default
        return self[key]

    def pop(self, key, *default):
        """Remove `key` and return its value.

        For a missing key, return the default when one is given, else raise
        KeyError.
        """
        if key not in self:
            if default:
                return default[0]
            raise KeyError(key)
        value = self[key]
        del self[key]
        return value

    def update(self, other=(), **more):
        """Store the entries of `other` and of the keyword arguments, as dict.update does.

        `other` is a mapping or an iterable of pairs (key, value).
        """
        pairs = other.items() if hasattr(other, "items") else other
        for key, value in list(pairs) + list(more.items()):
            self[key] = value

    def copy(self):
        """Return an independent plain dict, nested lists and dicts copied."""
        return dict_to_py(self.entries)

    def __eq__(self, other):
        if isinstance(other, (ValueDict, dict)):
            return dict(self.items()) == dict(other.items())
        return NotImplemented

    def __ne__(self, other):
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    def __repr__(self):
        return repr(dict(self.items()))
