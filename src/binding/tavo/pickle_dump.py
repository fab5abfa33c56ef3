"""The store of collections and settings."""
from tavo._core import PickleDump
