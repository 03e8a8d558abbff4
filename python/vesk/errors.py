"""Exceptions and warnings of the package.

Every refusal raises a ``VeskError``, so ``except vesk.VeskError`` catches
them all:

- ``InputError`` (also a ``ValueError``): faulty input -- a file, a value or
  an argument -- with the host core's message, the same as the ``vesk``
  program's ("basins.csv:3: column 5 (imperviousPct): ...").
  ``InvalidBasin`` and ``BasinTableError`` narrow it down.
- one class per error code of the runoff library (``BasinNotFound``,
  ``UnitHydrographError``, ...), carrying the code; ``error_for_code`` picks
  it.

Warnings are ``VeskWarning`` objects carrying their ``cause`` (a
``WarningCause``) and the ``basin`` they concern.
"""

import enum


class VeskError(Exception):
    """A refusal: of the input, by the runoff library, or of the libraries
    themselves (not found, in use).

    Attributes: ``code`` (the runoff library's integer code where it refused,
    else None), ``export`` (the export or core call after which it was read)
    and ``sentence`` (what it means here).
    """

    code = None
    name = "VESK_ERR"

    def __init__(self, sentence, export=None, code=None, message=None):
        if code is not None:
            self.code = code
        self.export = export
        self.sentence = sentence
        if message is None:
            where = f" after {export}" if export else ""
            message = f"{self.name} (code {self.code}){where}: {sentence}"
        super().__init__(message)

    def __reduce__(self):
        # As raised, with every attribute: an ensemble's worker sends its
        # exceptions to the client.
        return _rebuilt, (type(self), self.args, dict(self.__dict__))


def _rebuilt(cls, args, attributes):
    error = cls.__new__(cls)
    Exception.__init__(error, *args)
    error.__dict__.update(attributes)
    return error


class InputError(VeskError, ValueError):
    """Faulty input (a file, a value or an argument); the message names it,
    with file, line and column where there are some."""

    name = "input"

    def __init__(self, message, export=None):
        super().__init__(message, export, message=message)


class InvalidBasin(InputError):
    """A basin's parameters are impossible (or not numbers); the message names
    the basin and the value."""


class BasinTableError(InputError):
    """A basin table that cannot be read or holds an impossible basin; the
    message names file, line and column."""


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
    """A memory allocation inside the libraries failed."""

    code = 3
    name = "VESK_ERR_NO_MEMORY"


class BasinFileError(VeskError, OSError):
    """The library's own basin-file loader cannot open the file or finds no
    basin name in it."""

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


def error_class(code):
    """The exception class of a library code."""
    return _BY_CODE.get(code, UnknownCode)


def error_for_code(code, export, sentence, message=None):
    """The exception for a library code, read after ``export``; ``message``
    replaces the whole text (the host core's messages are complete)."""
    cls = error_class(code)
    if cls is UnknownCode:
        return UnknownCode(sentence, export, code, message=message)
    return cls(sentence, export, message=message)


class LibraryNotFound(VeskError, OSError):
    """A shared library could not be loaded; the message lists every path tried."""

    def __init__(self, message):
        super().__init__(message, message=message)


class LibraryInUse(VeskError, RuntimeError):
    """A ``vesk.Library`` of that level is already open in this process: the
    library keeps one registry per process, so a second would share it."""

    def __init__(self, message):
        super().__init__(message, message=message)


class WarningCause(enum.IntEnum):
    """Why the host core warned (its VESK_HOST_WARN_ codes)."""

    UNUSUAL_VALUE = 1  #: a basin value that is legal but unusual (steep slope, vast area)
    UNIT_HYDROGRAPH_STEP = 2  #: a note: the unit hydrograph is built at the run's step, not the file's
    UNIT_HYDROGRAPH_VOLUME = 3  #: the sampled unit hydrograph is more than 10 % off one inch
    OUTFLOW_VOLUME = 4  #: the outflow is more than 10 % off the run's excess rain
    STILL_FLOWING = 5  #: an outflow did not come back to 0 after its unit hydrograph
    RUN_LIMIT = 6  #: the run stopped at its longest length with water draining
    STORM_CUT = 7  #: storm steps beyond the chosen duration were not applied
    LONG_RECORD = 8  #: a long record with dry spells runs as one event
    PEAK_UNRESOLVED = 9  #: no step that holds the volume is short enough for the peak
    GAPS_FILLED = 10  #: a note: gaps in a storm's times were filled with dry steps, as asked


class VeskWarning(UserWarning):
    """Something worth saying but not worth refusing: an unusual basin value, a
    volume check that fails, a long record run as one event.

    Attributes: ``cause`` (a ``WarningCause``, or None for a cause this
    package does not know) and ``basin`` (the basin it concerns, "" for the
    whole run)."""

    def __init__(self, text, cause=None, basin=""):
        super().__init__(text)
        try:
            self.cause = None if cause is None else WarningCause(cause)
        except ValueError:
            self.cause = None
        self.basin = basin
