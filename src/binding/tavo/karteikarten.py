"""The card administration of the tavo package: the scheduler hosts learn with.

It decides the daily limits, the cards in rotation, the answers' learning
phases, intervals and due moments, and keeps the forgotten-cards drill, the
day statistics and the settings. The module offers Karteikartenverwaltung,
the manager a host creates once, and the classes around it from the
compiled core (Karteikarte, Kartenhalter, HaendesammlungContainer,
HaendesammlungVerteilungAnalyzer, ...). A host registers its hand
collections and then runs the learning loop:

    from tavo import karteikarten

    kkv = karteikarten.Karteikartenverwaltung(neue_karten_pro_tag=10)
    kkv.add_haendesammlung({1: {"fragetext": "1NT - 2C?",
                                "antworttext": "Stayman"}}, "kk_deck")
    card = kkv.get_card()                    # None: nothing to learn now
    while card is not None:
        print(card.get_frage())
        again, hard, good, easy = kkv.get_interval_responses(card)
        tage = kkv.answer_card(card, "good", 12)   # the answer, 12 seconds
        card = kkv.get_card()

answer_card schedules the answer, records it on the card and in the day
statistics, and stores the card before it returns. The library's errors
arrive as the Python exceptions of the same names: answer_card raises
ValueError for an answer the card does not take, KeyError when its
collection is not registered.

The module's globals: `cf` is the clock every date and time comes from;
cf.set_fixed_now(seconds) freezes it and cf.clear_fixed_now() releases it.
`pd` stores the collections and settings. `debug_status` may be switched at
any time; while it is True a failed consistency check enters
pdb.set_trace() and then raises AssertionError. `start_date`, the moment the
module was loaded, is where the forgotten-cards drill looks back from;
assigning it moves that point.
"""
import sys as _sys
import types as _types

import pdb
import shelve
import os.path
try:
    import cPickle as pickle
except ImportError:
    import pickle
import time
try:
    import pytz
except ImportError:
    pytz = None
import random
import datetime
import collections
import math
import heapq

from copy import deepcopy
from shutil import copyfile
from datetime import timedelta
try:
    from natsort import natsorted
except ImportError:
    natsorted = None

from tavo import _core
from tavo.getcwd import GetCwd
from tavo.common_functions import Common_functions, MakeDailyCopy as mdf, Zeitberechnungen
from tavo.ih import importiere_haende as ih
from tavo.pickle_dump import PickleDump
from tavo.haendesammlung import Haendesammlung_vergessen, Haendesammlung

pd = _core._process_pd()
cf = _core._process_cf()
set_date = False
start_date = None
debug_status = False

from tavo._core import (Heap_umwandler, Karten_Identifier,
                        Statistik_erfolgreich_prozent_berechnen, Kartenhalter, Karteikarte,
                        Reihenfolge_anzeigen, HaendesammlungVerteilungAnalyzer,
                        HaendesammlungContainer, Karteikartenverwaltung)


class _KarteikartenModule(_types.ModuleType):
    """This module, with `debug_status` and `start_date` read from and
    written to the library's own, so that assigning them here changes what
    the module does."""

    @property
    def debug_status(self):
        return _core._debug_status()

    @debug_status.setter
    def debug_status(self, flag):
        _core._set_debug_status(flag)

    @property
    def start_date(self):
        return _core._start_date()

    @start_date.setter
    def start_date(self, moment):
        _core._set_start_date(moment)


def _install_debug_switch():
    module = _sys.modules[__name__]
    switched = _KarteikartenModule(__name__, __doc__)
    for name, value in vars(module).items():
        if name not in ("debug_status", "start_date", "__dict__"):
            switched.__dict__[name] = value
    # Kept, so that the original module's globals, which the functions
    # above refer to, stay alive.
    switched.__dict__["_original_module"] = module
    _sys.modules[__name__] = switched
    switched.debug_status = False


_install_debug_switch()
