# Shelf: a shelf file as add_shelve_file hands it to the host.


cdef object opened_shelf(CppShelf& shelf):
    """The result of the shelf opening routine for the host: the opened shelf,
    or an empty dict when neither the file nor its backup could be opened."""
    if not shelf.is_persistent() and not shelf.is_read_only():
        return {}
    cdef Shelf wrapper = Shelf.__new__(Shelf)
    wrapper.shelf = shared_shelf(shelf)
    return wrapper


cdef class Shelf(object):
    """A persistent mapping of text keys to values, opened with
    add_shelve_file and owned by the caller.

    It reads like a dict (``shelf[key]``, ``key in shelf``, ``keys()``,
    ``values()``, ``items()``, ``get()``, ``len()``, iteration) and every
    assignment or ``del`` is stored in the file at once, so that what was
    written is there when the file is opened again. Values are the module's
    data: None, bool, int, float, text, list, tuple, dict and
    datetime.datetime, nested as deep as needed.

    Opened with ``writeback=True``, values read are cached and handed out as
    live views, so that a change made to a list or dict in place is written
    back by ``sync()`` and ``close()``; without it, every read gives a fresh
    copy and changes made in place are not stored (assign the value again).

    ``close()`` (or leaving a ``with`` block) ends its use; any later use
    raises ValueError. The day statistics store "kkv_alle.dat" opens as a
    read-only shelf: it is written only through the statistics operations,
    and an assignment or ``del`` raises TypeError.
    """

    def __init__(self, *args, **kwargs):
        raise TypeError("a shelf is opened with add_shelve_file, not created")

    def __getitem__(self, key):
        """The value stored under `key`; KeyError when there is none."""
        cdef CppShelf* shelf = self.shelf.get()
        return to_py(shelf.get(text_from_py(key, "a shelf key")), shelf.is_writeback())

    def __setitem__(self, key, value):
        """Stores `value` under `key` in the file; TypeError for a value the
        module cannot store, or on a read-only shelf."""
        self.shelf.get().set(text_from_py(key, "a shelf key"), from_py(value))

    def __delitem__(self, key):
        """Removes `key` from the file; KeyError when it is not there."""
        self.shelf.get().erase(text_from_py(key, "a shelf key"))

    def __contains__(self, key):
        return self.shelf.get().contains(text_from_py(key, "a shelf key"))

    def has_key(self, key):
        """Whether `key` is stored, as `key in shelf` (for Python 2 hosts)."""
        return key in self

    def __len__(self):
        return self.shelf.get().size()

    def __iter__(self):
        return iter(self.keys())

    def __enter__(self):
        return self

    def __exit__(self, exc_type, exc_value, traceback):
        self.close()
        return False

    def keys(self):
        """The keys, in the order they were first stored."""
        return holder_names_to_py(self.shelf.get().keys())

    def values(self):
        """The values, in key order."""
        return [self[key] for key in self.keys()]

    def items(self):
        """The (key, value) pairs, in key order."""
        return [(key, self[key]) for key in self.keys()]

    def get(self, key, default=None):
        """The value stored under `key`, or `default` when there is none."""
        return self[key] if key in self else default

    def sync(self):
        """Writes the cached values of a writeback shelf back to the file;
        nothing to do for any other shelf."""
        self.shelf.get().sync()

    def close(self):
        """Writes cached values back and releases the file. Closing again
        does nothing; any other use afterwards raises ValueError."""
        self.shelf.get().close()
