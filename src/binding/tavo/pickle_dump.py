"""The store of collections and settings.

PickleDump keeps them in the application data directory; the module itself
uses the process-wide instance, tavo.karteikarten.pd.
"""
from tavo._core import PickleDump
