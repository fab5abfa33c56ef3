"""The application data directory.

GetCwd locates it: $TAVO_DATA_DIR when it is set, else the user's data
directory.
"""
from tavo._core import GetCwd
