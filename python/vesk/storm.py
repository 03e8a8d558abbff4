"""Storms: rain depths in inches, one per step, as the host core reads them.

Storm files, storm sets, pandas Series of dated rain and design storms are all
read or made by the host core (``libvesk_host``), the same as the ``vesk``
program's; this module only hands their values across.
"""

import ctypes
import datetime
import os
from dataclasses import dataclass, field

from . import _binding, _host
from ._binding import LOCK

#: The civil date-time from which the core counts minutes.
EPOCH = datetime.datetime(1970, 1, 1)


@dataclass(frozen=True)
class Storm:
    """Rain depths in inches, one per step.

    ``step`` (minutes) is known when the file gave times, else None (a run
    then steps the basins' uh_time_step or the step it is given).
    ``units`` is the unit the values were given in ("us": inches, "si":
    millimetres, converted to inches on reading) and ``quantity`` how
    ("depth" in each step, or "intensity" over it).  ``start`` is the civil
    date-time (naive ``datetime.datetime``, no time zone) at which the first
    step starts for a dated record, else None; ``filled`` the dry steps put in
    for gaps; ``origin`` names the file in messages.
    """

    depths: tuple
    step: object = None
    units: str = "us"
    origin: object = field(default=None, compare=False, repr=False)
    start: object = None
    quantity: str = "depth"
    filled: int = 0

    def __len__(self):
        return len(self.depths)


def _reading(units, fill_gaps):
    code = _host.UNITS_FROM_FILE if units is None else _host.units_code(units)
    return code, _host.gaps_code(fill_gaps)


def read_storm(path, units=None, fill_gaps=None):
    """Reads a storm file: CSV with an optional header, two columns (the time
    at the end of each step, the value) or one column of depths.

    Times are minutes (``time_min``), hours (``time_h``) or civil date-times
    without a time zone (``2024-05-01T00:05`` or ``2024-05-01 00:05``, seconds
    only as 00; the first row ends the first step).  Values are depths
    (``depth_in``, ``depth_mm``) or mean intensities over each step
    (``intensity_in_h``, ``intensity_mm_h``).  ``units=None`` takes the unit
    the header names (inches without one); ``"us"`` or ``"si"`` insist on
    one.  A gap in the times is refused unless ``fill_gaps="zero"``, which
    fills it with dry steps and warns (``VeskWarning``, cause GAPS_FILLED).
    Depths come back in inches.  Raises InputError naming file and line.
    """
    code, gaps = _reading(units, fill_gaps)
    name = os.fspath(path)
    encoded = _binding.encode_text(name, "path")
    status = _host.Status()
    c = _host.core()
    with LOCK, _host.Warnings() as found:
        handle = c.vesk_host_storm_read_with(encoded, code, gaps, found.handle, ctypes.byref(status))
        _host.raise_for(status)
        try:
            storm = _storm_of(handle, name if isinstance(name, str) else os.fsdecode(name))
        finally:
            c.vesk_host_storm_free(handle)
        found.emit()
        return storm


def read_storms(path, units=None, fill_gaps=None):
    """The storms of a storm set (a CSV whose first column, ``storm``, names
    each row's storm), or the one storm of a plain storm file named after the
    file: a dict name -> Storm in the file's order.  Read as ``read_storm``
    reads."""
    code, gaps = _reading(units, fill_gaps)
    name = os.fspath(path)
    origin = name if isinstance(name, str) else os.fsdecode(name)
    status = _host.Status()
    c = _host.core()
    with LOCK, _host.Warnings() as found:
        handle = c.vesk_host_storms_read(_binding.encode_text(name, "path"), code, gaps, found.handle,
                                         ctypes.byref(status))
        _host.raise_for(status)
        try:
            storms = _storms_of(handle, origin)
        finally:
            c.vesk_host_storms_free(handle)
        found.emit()
        return storms


def _storms_of(handle, origin):
    c = _host.core()
    storms = {}
    for index in range(c.vesk_host_storms_count(handle)):
        one = c.vesk_host_storms_storm(handle, index)
        try:
            storms[_host.text(c.vesk_host_storms_name(handle, index))] = _storm_of(one, origin)
        finally:
            c.vesk_host_storm_free(one)
    return storms


def _storm_of(handle, origin):
    c = _host.core()
    length = c.vesk_host_storm_length(handle)
    depths, address = _host.doubles(length)
    c.vesk_host_storm_depths(handle, address, length)
    step = c.vesk_host_storm_step(handle)
    minute = ctypes.c_int64()
    start = EPOCH + datetime.timedelta(minutes=minute.value) \
        if c.vesk_host_storm_start(handle, ctypes.byref(minute)) else None
    quantity = "intensity" if c.vesk_host_storm_quantity(handle) == 1 else "depth"
    return Storm(tuple(_host.as_list(depths)), step or None, _host.units_name(c.vesk_host_storm_units(handle)),
                 origin, start, quantity, c.vesk_host_storm_filled(handle))


def civil_minute(moment):
    """A naive datetime as the core's civil minute (from 1970-01-01T00:00)."""
    if not isinstance(moment, datetime.datetime) or moment.tzinfo is not None:
        raise _host.InputError(f"a storm's start must be a datetime without a time zone, not {moment!r}")
    whole, rest = divmod(moment - EPOCH, datetime.timedelta(minutes=1))
    if rest:
        raise _host.InputError(f"a storm's start {moment} is not a whole minute")
    return whole


def series_storm(series, units=None, fill_gaps=None):
    """A pandas Series of rain indexed by a DatetimeIndex as a Storm, read by
    the core as a dated storm file's rows are: each index value the end of
    its step (civil time, no time zone), the step from the index's frequency
    or else the spacing most rows keep, the values as the Series' name says
    (``depth_mm``, ``intensity_in_h``, ...; another name: depths in inches,
    millimetres with ``units="si"``).  Gaps are refused unless
    ``fill_gaps="zero"``."""
    import pandas

    index = series.index
    if not isinstance(index, pandas.DatetimeIndex):
        raise _host.InputError("a Series storm needs a DatetimeIndex (the end of each step)")
    if index.tz is not None:
        raise _host.InputError("the Series' times carry a time zone; storms take civil times without one "
                               "(series.tz_localize(None))")
    nanoseconds = index.asi8
    seconds, rest = divmod(nanoseconds, 10**9)
    if (rest != 0).any():
        raise _host.InputError("the Series' times have fractions of a second; times are whole minutes")
    step = 0
    if index.freq is not None:
        try:
            step = pandas.tseries.frequencies.to_offset(index.freq).nanos // 10**9
        except ValueError:
            raise _host.InputError(f"the Series' frequency {index.freq} is not a fixed step") from None
    name = series.name if isinstance(series.name, str) else ""
    code, gaps = _reading(units, fill_gaps)
    times, times_address, count = _int64_array(seconds)
    values, values_address, _ = _host.double_array(series.to_numpy(dtype="float64", na_value=float("nan")),
                                                   "a Series storm's values")
    status = _host.Status()
    c = _host.core()
    with LOCK, _host.Warnings() as found:
        handle = c.vesk_host_storm_from_times(times_address, values_address, count, int(step),
                                              _binding.encode_text(name, "name"), code, gaps,
                                              b"series", found.handle, ctypes.byref(status))
        _host.raise_for(status)
        try:
            storm = _storm_of(handle, "series")
        finally:
            c.vesk_host_storm_free(handle)
        found.emit()
        return storm


def _int64_array(values):
    import numpy

    array = numpy.ascontiguousarray(numpy.asarray(values, dtype=numpy.int64))
    return array, _host.address(array), array.size


def core_storm(storm):
    """A core storm handle (a _host.Handle) of a Storm, a dated pandas Series
    or a sequence of depths in inches, checked as a file's depths are."""
    if _is_series(storm):
        storm = series_storm(storm)
    if isinstance(storm, Storm):
        depths, step, origin = storm.depths, storm.step, storm.origin
    elif isinstance(storm, (str, bytes, os.PathLike)):
        raise _host.InputError(f"storm {storm!r} is a path: read it with vesk.read_storm")
    else:
        depths, step, origin = storm, None, None
    values, address, count = _host.double_array(depths, "a storm's depths (inches, one per step)")
    status = _host.Status()
    c = _host.core()
    with LOCK:
        handle = c.vesk_host_storm_from_depths(address, count,
                                               _host.int32(step, "the storm's step", allow_none=True),
                                               _binding.encode_text(origin or "storm", "origin"),
                                               ctypes.byref(status))
        _host.raise_for(status)
        owned = _host.Handle(handle, "vesk_host_storm_free")
        if isinstance(storm, Storm) and storm.start is not None:
            c.vesk_host_storm_set_start(handle, civil_minute(storm.start), ctypes.byref(status))
            if status.code != _host.OK:
                owned.close()
                _host.raise_for(status)
        return owned


def _is_series(value):
    try:
        import pandas
    except ImportError:
        return False
    return isinstance(value, pandas.Series)
