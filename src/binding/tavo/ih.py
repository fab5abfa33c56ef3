"""The hand import.

The module reaches the host's hands through the one process-wide
Importiere_haende, `importiere_haende`, where the host registers them
before their cards are shown.
"""
from tavo import _core
from tavo._core import Importiere_haende

importiere_haende = _core._process_ih()
