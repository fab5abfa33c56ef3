"""The hand collections: a collection of cards and the reduced copy the
forgotten-cards drill works on."""
from tavo._core import Haendesammlung, Haendesammlung_vergessen
