"""Date and time helpers of the module.

Common_functions is the module's clock and learning day, Zeitberechnungen
computes the start times of past learning days and the shift for learning
ahead, and MakeDailyCopy keeps a dated backup of a file per learning day.
The module itself reads the process-wide clock, tavo.karteikarten.cf.
"""
from tavo._core import Common_functions, Zeitberechnungen, MakeDailyCopy
