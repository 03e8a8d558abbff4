"""The library version this package is written for.

This is the one place the package names it: ``pyproject.toml`` reads it from
here, ``vesk.Library`` presents it to the current-level library at open, and a
test compares it with the version the CMake project declares.
"""

__version__ = "1.3.3.6"

#: The version as four numbers, in the order they are written.
VERSION = tuple(int(part) for part in __version__.split("."))
