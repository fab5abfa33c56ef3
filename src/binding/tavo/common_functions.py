"""Date and time helpers: the module's clock, the learning-day time
computations and the daily copy."""
from tavo._core import Common_functions, Zeitberechnungen, MakeDailyCopy
