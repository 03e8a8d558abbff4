"""Design storms, made by the host core as ``vesk storm`` makes them.

``relation_storm`` uses one intensity relation i = factor * a / (b + t)^c,
``idf_storms`` a table of relations by return period, ``distribution_storm``
a dimensionless distribution (the NRCS 24-hour Types I and II built in, or a
CSV of cumulative fractions) scaled to a depth.  A storm a run could not take
(a step above 100 in, depths that are not finite, a relation whose depth
falls or whose mean intensity rises with the duration) is refused with
InputError.  Storms come back in inches, their ``units`` the unit asked in.
"""

import ctypes
import os

from . import _binding, _host
from ._binding import LOCK
from .storm import _storm_of, _storms_of


def _made(handle, status, origin):
    _host.raise_for(status)
    try:
        return _storm_of(handle, origin)
    finally:
        _host.core().vesk_host_storm_free(handle)


def relation_storm(a, b, c, duration, step, factor=1.0, peak_position=0.5, uniform=False, units="us"):
    """The alternating-block storm of i = factor * a / (b + t)^c (in/h, or
    mm/h with ``units="si"``; t in minutes) over ``duration`` minutes in
    steps of ``step``, the deepest block at ``peak_position`` (0 first step
    .. 1 last), or with ``uniform`` the duration's depth spread evenly."""
    status = _host.Status()
    with LOCK:
        handle = _host.core().vesk_host_design_relation(
            float(a), float(b), float(c), float(factor), _host.units_code(units), _host.int32(duration, "duration"),
            _host.int32(step, "step"), float(peak_position), 1 if uniform else 0, ctypes.byref(status))
        return _made(handle, status, "storm")


def idf_storms(path, return_periods, durations, step, peak_position=0.5, uniform=False, factor=1.0):
    """The storms of an IDF table (CSV: ``return_period_yr``, ``a_in_h`` or
    ``a_mm_h``, ``b_min``, ``c``) for every return period and duration,
    return periods outer: a dict ``"10yr_120min"`` -> Storm."""
    periods, periods_address, period_count = _host.double_array(list(return_periods), "return periods")
    chosen = [_host.int32(d, "duration") for d in durations]
    minutes = (ctypes.c_int32 * len(chosen))(*chosen)
    name = os.fspath(path)
    status = _host.Status()
    c = _host.core()
    with LOCK:
        handle = c.vesk_host_design_idf(_binding.encode_text(name, "path"), periods_address, period_count,
                                        ctypes.addressof(minutes), len(chosen), _host.int32(step, "step"),
                                        float(peak_position), 1 if uniform else 0, float(factor),
                                        ctypes.byref(status))
        _host.raise_for(status)
        try:
            return _storms_of(handle, name if isinstance(name, str) else os.fsdecode(name))
        finally:
            c.vesk_host_storms_free(handle)


def distribution_storm(name, depth, step, units="us", path=None):
    """``depth`` (inches, mm with ``units="si"``) spread over the distribution
    ``name`` in steps of ``step`` minutes (dividing its duration), its
    cumulative fractions interpolated linearly to the end of each step:
    ``"nrcs_type_I"`` or ``"nrcs_type_II"`` built in, or a column of the
    distribution file ``path`` (CSV: ``hour`` or ``minute``, then one column
    of cumulative fractions per distribution)."""
    status = _host.Status()
    with LOCK:
        handle = _host.core().vesk_host_design_distribution(
            None if path is None else _binding.encode_text(os.fspath(path), "path"),
            _binding.encode_text(name, "name"), float(depth), _host.units_code(units), _host.int32(step, "step"),
            ctypes.byref(status))
        return _made(handle, status, name)
