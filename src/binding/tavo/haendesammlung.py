"""The hand collections.

Haendesammlung is one collection of cards with its per-day metadata;
Haendesammlung_vergessen is the reduced copy of one that the
forgotten-cards drill works on.
"""
from tavo._core import Haendesammlung, Haendesammlung_vergessen
