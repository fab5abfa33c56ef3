# Card data: the host's mapping over one shared card record.


cdef CardData card_data(const CardRef& record):
    cdef CardData view = CardData.__new__(CardData)
    view.record = record
    return view


cdef CardRef card_ref_from_py(object data) except *:
    """The record behind `data`: the shared record of live card data, or a
    new record built from any other mapping."""
    if isinstance(data, CardData):
        return (<CardData>data).record
    if data is None or not hasattr(data, "keys"):
        raise TypeError("card data must be a mapping, not %s" % type(data).__name__)
    return make_card_ref(card_record_from_value(dict_from_py(data)))


cdef class CardData(object):
    """A card's learning state as a mapping, read and written in place.

    A change made here is a change of the card in its collection. Card data
    is handed out by the module: calling the class raises TypeError. Reading
    a missing key raises KeyError. Assigning a learning key checks its kind
    (TypeError or ValueError, the card unchanged then); any other key is kept
    as it is. Keys cannot be deleted (NotImplementedError). Lists and
    mappings read from it are live. It compares equal to card data of the
    same record, and to card data or a dict with equal items.
    """

    def __init__(self, *args, **kwargs):
        raise TypeError("card data is handed out by the module, not created")

    def __getitem__(self, key):
        return to_py(card_data_item(self.record.get()[0], from_py(key)), True, &self.record)

    def __setitem__(self, key, value):
        set_card_data_item(self.record.edit(), from_py(key), from_py(value))

    def __contains__(self, key):
        return card_record_to_value(self.record.get()[0]).contains(from_py(key))

    def __len__(self):
        return card_record_to_value(self.record.get()[0]).size()

    def __iter__(self):
        return iter(self.keys())

    def keys(self):
        """Return the keys as a new list: the module's own in a fixed order, then any others."""
        return keys_to_py(card_record_to_value(self.record.get()[0]).keys())

    def values(self):
        """Return the values as a new list, in the order of keys(); lists and mappings are live."""
        return [self[key] for key in self.keys()]

    def items(self):
        """Return the pairs (key, value) as a new list, in the order of keys()."""
        return [(key, self[key]) for key in self.keys()]

    def get(self, key, default=None):
        """Return the value under `key`, or `default` when there is none."""
        return self[key] if key in self else default

    def copy(self):
        """Return an independent plain dict of the card data, nested lists and dicts copied."""
        return dict_to_py(card_record_to_value(self.record.get()[0]))

    def __eq__(self, other):
        if isinstance(other, CardData):
            return (<CardData>other).record.get() == self.record.get() or \
                dict(self.items()) == dict(other.items())
        if isinstance(other, dict):
            return dict(self.items()) == other
        return NotImplemented

    def __ne__(self, other):
        equal = self.__eq__(other)
        return equal if equal is NotImplemented else not equal

    def __repr__(self):
        return repr(dict(self.items()))
