"""The hand import: the module reaches the host's hands through the one
process-wide `importiere_haende`."""
from tavo import _core
from tavo._core import Importiere_haende

importiere_haende = _core._process_ih()
