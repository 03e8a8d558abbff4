"""Exceptions raised by the package.

The library reports every failure as one process-wide integer code.  Each code
has its own ``VeskError`` subclass here, carrying the code, the export that
reported it and a sentence saying what happened; ``error_for_code`` picks it.
"""


class VeskError(Exception):
    """A failure the library reported through its error code.

    Attributes: ``code`` (the library's integer code), ``export`` (the export
    after which it was read) and ``sentence`` (what it means here).
    """

    code = None
    name = "VESK_ERR"

    def __init__(self, sentence, export=None, code=None):
        if code is not None:
            self.code = code
        self.export = export
        self.sentence = sentence
        where = f" after {export}" if export else ""
        super().__init__(f"{self.name} (code {self.code}){where}: {sentence}")


class BasinNotFound(VeskError, KeyError):
    """No basin is stored under that name (names compare ignoring ASCII case)."""

    code = 1
    name = "VESK_ERR_BASIN_NOT_FOUND"

    def __str__(self):  # KeyError would quote the message
        return self.args[0]


class UnitHydrographError(VeskError):
    """The unit hydrograph cannot be built for the basin: a time step coarse
    for its time to peak, a slope of 0, a shape the method cannot fit."""

    code = 2
    name = "VESK_ERR_UH_FIT"


class OutOfMemory(VeskError, MemoryError):
    """A memory allocation inside the library failed."""

    code = 3
    name = "VESK_ERR_NO_MEMORY"


class BasinFileError(VeskError, OSError):
    """The basin input file cannot be opened or holds no basin name."""

    code = 4
    name = "VESK_ERR_FILE_OPEN"


class NoRegistry(VeskError):
    """The library has no basin registry (not open, or freed), or was given a
    null name or record."""

    code = 5
    name = "VESK_ERR_NULL"


class DuplicateBasin(VeskError):
    """A basin of that name (in any letter case) is already stored."""

    code = 6
    name = "VESK_ERR_DUPLICATE_BASIN"


class VersionUnconfirmed(VeskError):
    """The current-level library has not accepted the version this package
    presented (it is another version)."""

    code = 7
    name = "VESK_ERR_VERSION_UNCONFIRMED"


class UnknownCode(VeskError):
    """The library reported a code this package does not know."""

    name = "VESK_ERR_UNKNOWN"


_BY_CODE = {cls.code: cls for cls in (BasinNotFound, UnitHydrographError, OutOfMemory, BasinFileError,
                                       NoRegistry, DuplicateBasin, VersionUnconfirmed)}


def error_for_code(code, export, sentence):
    """The exception for a library code, read after ``export``."""
    cls = _BY_CODE.get(code)
    if cls is None:
        return UnknownCode(sentence, export, code)
    return cls(sentence, export)


class LibraryNotFound(OSError):
    """The shared library could not be loaded; the message lists every path tried."""


class LibraryInUse(RuntimeError):
    """A ``vesk.Library`` of that level is already open in this process: the
    library keeps one registry per process, so a second would share it."""


class InvalidBasin(ValueError):
    """A basin's parameters are physically impossible; the message lists each problem."""


class VeskWarning(UserWarning):
    """A basin's parameters are possible but unusual (a steep slope, a very large area)."""
