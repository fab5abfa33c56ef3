"""The application data directory ($TAVO_DATA_DIR when it is set)."""
from tavo._core import GetCwd
