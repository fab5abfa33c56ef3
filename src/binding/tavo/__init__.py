"""The spaced-repetition scheduler of the card-game trainer.

`tavo.karteikarten` is the module the host loads; `haendesammlung`,
`common_functions`, `pickle_dump`, `ih` and `getcwd` hold the components it
works with. Every class comes from the one extension `tavo._core`.
"""

from tavo._version import __version__  # noqa: F401
