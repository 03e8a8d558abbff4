"""The host core (``libvesk_host``, ``vesk_host.h``) through ``ctypes``.

The core holds, once for every front end, the readers of storms, basin files
and basin tables, the checks of basins and rain, unit conversion, resampling,
the run loop, sessions and the summary figures.  This module declares every
function of its C interface with its argument and result types, and turns
its statuses into exceptions and its warnings into ``VeskWarning``.  Every
call takes the package's lock (``_binding.LOCK``).

The core links the current-level library; ``core()`` loads that library
first and makes sure both use one copy of it (one registry), which is what
lets ``Library.record`` and the other queries read the basins of a run.
"""

import ctypes
import os
import sys
import warnings
import weakref

from . import _binding
from ._binding import LOCK
from ._records import BasinInput
from .errors import InputError, LibraryNotFound, OutOfMemory, VeskWarning, error_for_code

_D = ctypes.c_double
_I = ctypes.c_int32
_L = ctypes.c_int64
_Z = ctypes.c_size_t
_S = ctypes.c_char_p
_H = ctypes.c_void_p  # an opaque handle, or the address of an array of doubles
_P = ctypes.POINTER

OK, INPUT_ERROR, LIBRARY_REFUSED, NO_MEMORY, BAD_ARGUMENT = 0, 1, 2, 3, 4
MESSAGE_BYTES = 2048
UNITS = {"us": 0, "si": 1}
UNITS_FROM_FILE = -1
GAPS = {None: 0, "zero": 1}
RUN_ENDS = {0: "dry", 1: "duration", 2: "not dry", 3: "limit"}


class Status(ctypes.Structure):
    """VeskHostStatus: what a call did."""

    _fields_ = [("code", _I), ("libraryCode", _I), ("message", ctypes.c_char * MESSAGE_BYTES)]


class EarlierLevel(ctypes.Structure):
    """VeskHostEarlierLevel: the earlier level's exports, by address."""

    _fields_ = [(name, _H) for name in ("open", "free", "geterror", "addbasin", "getbasin", "getbasinPrecip",
                                         "getuhlength", "getuhordinatevalue", "execute")]


#: The exports each field of EarlierLevel holds, in order.
EARLIER_EXPORTS = ("vesk_open", "vesk_free", "vesk_geterror", "vesk_addbasin", "vesk_getbasin",
                   "vesk_getbasin_precip", "vesk_getuhlength", "vesk_getuhordinatevalue", "vesk_execute")

Progress = ctypes.CFUNCTYPE(None, ctypes.c_void_p, _Z, _Z)


class RunOptions(ctypes.Structure):
    """VeskHostRunOptions."""

    _fields_ = [("timeStep", _I), ("duration", _I), ("units", _I), ("skipRefused", _I), ("reportStep", _I),
                ("reserved", _I), ("volumeTolerance", _D), ("progress", Progress),
                ("progressContext", ctypes.c_void_p), ("earlier", _P(EarlierLevel))]


_STATUS = _P(Status)

#: Every function of vesk_host.h: name -> (result, argument types).
DECLARATIONS = {
    "vesk_host_version": (_S, []),
    "vesk_host_units_named": (_I, [_S]),
    "vesk_host_warnings_new": (_H, []),
    "vesk_host_warnings_free": (None, [_H]),
    "vesk_host_warnings_count": (_Z, [_H]),
    "vesk_host_warning_cause": (_I, [_H, _Z]),
    "vesk_host_warning_basin": (_S, [_H, _Z]),
    "vesk_host_warning_text": (_S, [_H, _Z]),
    "vesk_host_storm_read": (_H, [_S, _I, _STATUS]),
    "vesk_host_storm_read_with": (_H, [_S, _I, _I, _H, _STATUS]),
    "vesk_host_storm_parse": (_H, [_S, _Z, _S, _I, _STATUS]),
    "vesk_host_storm_from_times": (_H, [_H, _H, _Z, _L, _S, _I, _I, _S, _H, _STATUS]),
    "vesk_host_storm_quantity": (_I, [_H]),
    "vesk_host_storm_start": (_I, [_H, _H]),
    "vesk_host_storm_set_start": (_I, [_H, _L, _STATUS]),
    "vesk_host_storm_filled": (_Z, [_H]),
    "vesk_host_storms_read": (_H, [_S, _I, _I, _H, _STATUS]),
    "vesk_host_storms_free": (None, [_H]),
    "vesk_host_storms_count": (_Z, [_H]),
    "vesk_host_storms_named": (_I, [_H]),
    "vesk_host_storms_name": (_S, [_H, _Z]),
    "vesk_host_storms_storm": (_H, [_H, _Z]),
    "vesk_host_design_relation": (_H, [_D, _D, _D, _D, _I, _I, _I, _D, _I, _STATUS]),
    "vesk_host_design_idf": (_H, [_S, _H, _Z, _H, _Z, _I, _D, _I, _D, _STATUS]),
    "vesk_host_design_distribution": (_H, [_S, _S, _D, _I, _I, _STATUS]),
    "vesk_host_storm_from_depths": (_H, [_H, _Z, _I, _S, _STATUS]),
    "vesk_host_storm_resample": (_H, [_H, _I, _STATUS]),
    "vesk_host_storm_free": (None, [_H]),
    "vesk_host_storm_step": (_I, [_H]),
    "vesk_host_storm_length": (_Z, [_H]),
    "vesk_host_storm_units": (_I, [_H]),
    "vesk_host_storm_depths": (_Z, [_H, _H, _Z]),
    "vesk_host_storm_events": (_H, [_H, _D, _STATUS]),
    "vesk_host_events_free": (None, [_H]),
    "vesk_host_events_count": (_Z, [_H]),
    "vesk_host_events_storm": (_H, [_H, _Z]),
    "vesk_host_events_start_minute": (_L, [_H, _Z]),
    "vesk_host_basins_new": (_H, []),
    "vesk_host_basins_free": (None, [_H]),
    "vesk_host_basins_read": (_I, [_H, _S, _I, _H, _STATUS]),
    "vesk_host_basins_add": (_I, [_H, _S, _P(BasinInput), _I, _S, _H, _STATUS]),
    "vesk_host_basins_count": (_Z, [_H]),
    "vesk_host_basins_name": (_S, [_H, _Z]),
    "vesk_host_basins_origin": (_S, [_H, _Z]),
    "vesk_host_basins_record": (_I, [_H, _Z, _P(BasinInput)]),
    "vesk_host_basins_uh_step_given": (_I, [_H, _Z]),
    "vesk_host_stored_basin_check": (_I, [_S, _P(EarlierLevel), _H, _STATUS]),
    "vesk_host_run_options_init": (None, [_P(RunOptions)]),
    "vesk_host_run": (_H, [_H, _H, _P(RunOptions), _H, _STATUS]),
    "vesk_host_run_free": (None, [_H]),
    "vesk_host_run_storms": (_H, [_H, _H, _H, _Z, _P(RunOptions), _H, _STATUS]),
    "vesk_host_storm_runs_free": (None, [_H]),
    "vesk_host_storm_runs_count": (_Z, [_H]),
    "vesk_host_storm_runs_name": (_S, [_H, _Z]),
    "vesk_host_storm_runs_run": (_H, [_H, _Z]),
    "vesk_host_run_start": (_I, [_H, _H]),
    "vesk_host_run_step": (_I, [_H]),
    "vesk_host_run_data_step": (_I, [_H]),
    "vesk_host_run_computation_step": (_I, [_H, _Z]),
    "vesk_host_run_volume_tolerance": (_D, [_H]),
    "vesk_host_run_outlet_peak": (_I, [_H, _H, _H]),
    "vesk_host_run_length": (_Z, [_H]),
    "vesk_host_run_end": (_I, [_H]),
    "vesk_host_run_units": (_I, [_H]),
    "vesk_host_run_basin_count": (_Z, [_H]),
    "vesk_host_run_basin_name": (_S, [_H, _Z]),
    "vesk_host_run_refused_count": (_Z, [_H]),
    "vesk_host_run_refused_name": (_S, [_H, _Z]),
    "vesk_host_run_refused_code": (_I, [_H, _Z]),
    "vesk_host_run_refused_message": (_S, [_H, _Z]),
    "vesk_host_run_rain": (_Z, [_H, _H, _Z]),
    "vesk_host_run_outflow": (_Z, [_H, _Z, _H, _Z]),
    "vesk_host_run_outflows": (_Z, [_H, _H, _Z]),
    "vesk_host_run_outlet": (_Z, [_H, _H, _Z]),
    "vesk_host_run_prepared": (_I, [_H, _Z, _P(BasinInput)]),
    "vesk_host_run_ordinates": (_Z, [_H, _Z, _H, _Z]),
    "vesk_host_summary_field_count": (_Z, []),
    "vesk_host_summary_field_name": (_S, [_Z, _I]),
    "vesk_host_summary_field_unit": (_S, [_Z, _I]),
    "vesk_host_run_summary": (_Z, [_H, _Z, _H, _Z]),
    "vesk_host_run_outlet_summary": (_Z, [_H, _H, _Z]),
    "vesk_host_run_summaries": (_Z, [_H, _H, _Z]),
    "vesk_host_session_start": (_H, [_H, _P(RunOptions), _STATUS]),
    "vesk_host_session_free": (None, [_H]),
    "vesk_host_session_step": (_I, [_H, _H, _Z, _H, _H, _STATUS]),
    "vesk_host_session_time": (_L, [_H]),
    "vesk_host_session_basin_count": (_Z, [_H]),
}

_CORE = []


def core():
    """The core's functions, typed and locked, loading it on first use.

    The current level is loaded first (as ``vesk.Library`` finds it); the
    core then finds it already loaded.  Should the core still link another
    copy (another file of the same name elsewhere), a run would fill a
    registry the package cannot read, so that is refused.
    """
    with LOCK:
        if not _CORE:
            level = _binding.exports("current")
            cdll = _binding.load_library("host")
            bound = _binding.bind(cdll, DECLARATIONS)
            ours = ctypes.cast(level.vesk_open.function, ctypes.c_void_p).value
            theirs = ctypes.cast(cdll.vesk_open, ctypes.c_void_p).value
            if ours != theirs:
                raise LibraryNotFound(
                    f"{_binding.library_file_name('host')} links another copy of "
                    f"{_binding.library_file_name('current')} than the one this package loaded; put both "
                    "in one folder and name that folder in VESK_LIBRARY")
            _CORE.append(bound)
        return _CORE[0]


def text(value):
    """A string the core returned, as str."""
    return value.decode("utf-8", "replace") if value is not None else ""


def raise_for(status, error=InputError, export=None):
    """Raises the exception for a status that is not OK: ``error`` (an
    InputError class) for faulty input, the library code's class when the
    runoff library refused."""
    if status.code == OK:
        return
    message = text(status.message)
    if status.code == LIBRARY_REFUSED:
        raise error_for_code(status.libraryCode, export, message, message=message)
    if status.code == NO_MEMORY:
        raise OutOfMemory(message, export, message=message)
    raise error(message, export)


def units_code(units, what="units"):
    """"us" or "si" (any letter case) as the core's code."""
    code = core().vesk_host_units_named(units.encode()) if isinstance(units, str) else -2
    if code < 0:
        raise InputError(f"{what} must be 'us' or 'si' (any letter case), not {units!r}")
    return code


def gaps_code(fill_gaps):
    """fill_gaps (None: a gap is refused, "zero": filled with dry steps) as the core's code."""
    try:
        return GAPS[fill_gaps]
    except (KeyError, TypeError):
        raise InputError(f"fill_gaps must be None (a gap is refused) or 'zero' (filled with dry steps), "
                         f"not {fill_gaps!r}") from None


def units_name(code):
    return "si" if code == UNITS["si"] else "us"


def int32(value, what, allow_none=False):
    """A whole number that fits the core's 32-bit integers."""
    if value is None and allow_none:
        return 0
    if isinstance(value, bool) or not hasattr(value, "__index__"):
        raise InputError(f"{what} {value!r} is not a whole number")
    value = value.__index__()
    if not -2**31 <= value < 2**31:
        raise InputError(f"{what} {value} is out of range")
    return value


# -- warnings ------------------------------------------------------------------

_PACKAGE = os.path.dirname(os.path.abspath(__file__)) + os.sep


def _user_stacklevel():
    """The stack level of the first caller outside this package, so a warning
    names the user's line."""
    frame, level = sys._getframe(1), 1
    while frame is not None and frame.f_code.co_filename.startswith(_PACKAGE):
        frame, level = frame.f_back, level + 1
    return level


class Warnings:
    """A VeskHostWarnings handle for one call; ``emit()`` issues each warning
    it gathered as a VeskWarning, in order."""

    def __init__(self):
        self.handle = core().vesk_host_warnings_new()
        if not self.handle:
            raise OutOfMemory("the core could not allocate a warnings list", "vesk_host_warnings_new")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        if self.handle:
            core().vesk_host_warnings_free(self.handle)
            self.handle = None

    def gathered(self):
        """Each warning as a VeskWarning."""
        c = core()
        with LOCK:
            return [VeskWarning(text(c.vesk_host_warning_text(self.handle, i)), c.vesk_host_warning_cause(self.handle, i),
                                text(c.vesk_host_warning_basin(self.handle, i)))
                    for i in range(c.vesk_host_warnings_count(self.handle))]

    def emit(self):
        found = self.gathered()
        if found:
            level = _user_stacklevel()
            for warning in found:
                warnings.warn(warning, stacklevel=level)


# -- owned handles ---------------------------------------------------------------

class Handle:
    """A core handle freed with its ``free`` function when closed or collected."""

    def __init__(self, handle, free):
        if not handle:
            raise OutOfMemory("the core returned no handle", free)
        self.handle = handle
        self._finalizer = weakref.finalize(self, getattr(core(), free), handle)

    def close(self):
        self._finalizer()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


def doubles(count):
    """An array of ``count`` doubles (numpy when installed) and its address."""
    try:
        import numpy
    except ImportError:
        array = (ctypes.c_double * count)()
        return array, ctypes.addressof(array)
    array = numpy.empty(count, dtype=numpy.float64)
    return array, address(array)


def double_array(values, what="values"):
    """``values`` (a sequence of numbers) as contiguous doubles: (the array,
    which must outlive the call, its address, its length)."""
    try:
        import numpy
    except ImportError:
        try:
            values = list(values)
            array = (ctypes.c_double * len(values))(*values)
        except TypeError:
            raise InputError(f"{what} must be numbers") from None
        return array, ctypes.addressof(array), len(values)
    try:
        array = numpy.ascontiguousarray(numpy.asarray(values, dtype=numpy.float64).reshape(-1))
    except (TypeError, ValueError):
        raise InputError(f"{what} must be numbers") from None
    return array, address(array), array.size


def address(array):
    """The address of a numpy array's first item (cheaper than array.ctypes)."""
    return array.__array_interface__["data"][0]


def as_list(array):
    return array.tolist() if hasattr(array, "tolist") else list(array)


def earlier_level():
    """The earlier level's exports as the core takes them (kept for the life
    of the process, like the loaded library)."""
    with LOCK:
        if not _EARLIER:
            raw = _binding.exports("earlier")
            exports = EarlierLevel(*(ctypes.cast(getattr(raw, name).function, ctypes.c_void_p).value
                                     for name in EARLIER_EXPORTS))
            _EARLIER.append(exports)
        return _EARLIER[0]


_EARLIER = []


def run_options(level="current", step=None, duration=None, units="us", skip_refused=False, report_step=None,
                volume_tolerance=None):
    """RunOptions for a run or session of ``level``; ``volume_tolerance`` is a
    fraction (0.02: each basin's sampled unit hydrograph within 2 % of one
    inch at the step it is computed at), None the core's default."""
    options = RunOptions()
    core().vesk_host_run_options_init(ctypes.byref(options))
    options.timeStep = int32(step, "step", allow_none=True)
    options.duration = int32(duration, "duration", allow_none=True)
    options.reportStep = int32(report_step, "report_step", allow_none=True)
    if volume_tolerance is not None:
        try:
            options.volumeTolerance = float(volume_tolerance)
        except (TypeError, ValueError):
            raise InputError(f"volume_tolerance {volume_tolerance!r} is not a number") from None
        if not options.volumeTolerance > 0.0:
            raise InputError(f"volume_tolerance {volume_tolerance!r} is not a fraction above 0 (0.02 is 2 %)")
    options.units = units_code(units)
    options.skipRefused = 1 if skip_refused else 0
    if _binding.check_level(level) == "earlier":
        options.earlier = ctypes.pointer(earlier_level())
    return options
