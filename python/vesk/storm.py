"""Storms: rain depths in inches, one per step, as the host core reads them."""

import ctypes
import os
from dataclasses import dataclass, field

from . import _binding, _host
from ._binding import LOCK


@dataclass(frozen=True)
class Storm:
    """Rain depths in inches, one per step.

    ``step`` (minutes) is known when the file gave times, else None (a run
    then steps the basins' uh_time_step or the step it is given).
    ``units`` is the unit the depths were given in ("us": inches, "si":
    millimetres, converted to inches on reading); ``origin`` names the file
    in messages.
    """

    depths: tuple
    step: object = None
    units: str = "us"
    origin: object = field(default=None, compare=False, repr=False)

    def __len__(self):
        return len(self.depths)


def read_storm(path, units=None):
    """Reads a storm file: CSV with an optional header, two columns (the time
    at the end of each step, the depth) or one column of depths.

    The header's words name the units: ``time_min`` or ``time_h``, and
    ``depth_in`` or ``depth_mm``.  ``units=None`` takes the depth unit the
    header names (inches without one); ``"us"`` or ``"si"`` insist on inches
    or millimetres (a header naming the other is refused).  Depths come back
    in inches.  Raises InputError naming file and line: times not in equal
    steps of whole minutes, a depth below 0 or above 100 in, a file over 64
    MiB or with a NUL byte.
    """
    code = _host.UNITS_FROM_FILE if units is None else _host.units_code(units)
    name = os.fspath(path)
    encoded = _binding.encode_text(name, "path")
    status = _host.Status()
    c = _host.core()
    with LOCK:
        handle = c.vesk_host_storm_read(encoded, code, ctypes.byref(status))
        _host.raise_for(status)
        try:
            return _storm_of(handle, name if isinstance(name, str) else os.fsdecode(name))
        finally:
            c.vesk_host_storm_free(handle)


def _storm_of(handle, origin):
    c = _host.core()
    length = c.vesk_host_storm_length(handle)
    depths, address = _host.doubles(length)
    c.vesk_host_storm_depths(handle, address, length)
    step = c.vesk_host_storm_step(handle)
    return Storm(tuple(_host.as_list(depths)), step or None, _host.units_name(c.vesk_host_storm_units(handle)), origin)


def core_storm(storm):
    """A core storm handle (a _host.Handle) of a Storm or a sequence of depths
    in inches, checked as a file's depths are."""
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
        return _host.Handle(handle, "vesk_host_storm_free")
