"""The basins of an ensemble packed for its tasks, and the work of one task.

The client checks every basin once with the host core and packs the ones it
accepts as the core's own records (a block of bytes, which travels to a
worker at the cost of a copy).  A task adds its partition's records to a
core basin set, runs it through each storm with one call of the core's run
loop, and copies every basin's summary figures (and outflows) out of the
core in one call each: no Python work per basin and step.
"""

import ctypes
import warnings
from dataclasses import dataclass

import numpy

from .. import _binding, _host
from .._binding import LOCK
from .._records import BasinInput
from ..basin import BasinSet, basin_set
from ..errors import InvalidBasin, VeskWarning, error_class
from ..library import Library
from ..library import summary_fields as library_summary_fields
from ..storm import core_storm

RECORD_BYTES = ctypes.sizeof(BasinInput)


def summary_fields():
    """The names of the summary figures, in the order of ``vesk run
    --summary``, and the unit of each: the host core's."""
    return library_summary_fields("us")


@dataclass
class Packed:
    """Basins checked by the core, in ensemble order: their names, their
    records as the core holds them (one row of bytes each), whether each
    gives its own unit-hydrograph step, the file or origin each came from
    (for the core's messages), and each one's position among all the basins
    given (the refused ones have none)."""

    names: list
    records: numpy.ndarray
    uh_given: numpy.ndarray
    origins: list
    positions: numpy.ndarray

    def __len__(self):
        return len(self.names)

    def part(self, start, stop):
        return Packed(self.names[start:stop], self.records[start:stop], self.uh_given[start:stop],
                      self.origins[start:stop], self.positions[start:stop])


def pack(basins):
    """Every basin given, checked once by the host core: (all names in
    order, the Packed basins it accepts, {position: (error class name,
    message)} for the ones it refuses).  A BasinSet read from a file is
    taken as the core read and checked it; other basins are checked now."""
    chosen = basin_set(basins)
    names = list(chosen)
    refused = {}
    with LOCK, warnings.catch_warnings():
        # Unusual values are legal; the rows say what each basin gave.
        warnings.simplefilter("ignore", VeskWarning)
        if chosen._handle is not None and not chosen._changed():
            checked, kept = chosen, list(range(len(names)))
        else:
            position = {name: i for i, name in enumerate(names)}
            checked = BasinSet({name: chosen[name] for name in names})
            checked.core_handle(refused=lambda name, error: refused.__setitem__(
                position[name], (type(error).__name__, str(error))))
            kept = [position[name] for name in checked]
        handle = checked.core_handle()
        count = len(kept)
        block = (BasinInput * count)()
        uh_given = numpy.empty(count, dtype=bool)
        origins, seen = [], {}
        c = _host.core()
        record, given, origin = (c.vesk_host_basins_record.function, c.vesk_host_basins_uh_step_given.function,
                                 c.vesk_host_basins_origin.function)
        for i in range(count):
            record(handle, i, ctypes.byref(block[i]))
            uh_given[i] = given(handle, i)
            text = _host.text(origin(handle, i))
            origins.append(seen.setdefault(text, text))
    records = numpy.frombuffer(block, dtype=numpy.uint8).reshape(count, RECORD_BYTES)
    packed = Packed([names[i] for i in kept], records, uh_given, origins, numpy.asarray(kept, dtype=numpy.int64))
    return names, packed, refused


@dataclass
class StormPart:
    """One storm's results for a partition, a row per basin of it.

    ``figures``: the summary figures (NaN where the library refused the
    basin); ``refused``: {row: (error class name, message)}; ``flows``: the
    outflows at each report step, or None; ``report_step`` and ``data_step``
    (min); ``dry``: the run ended with every outflow back at 0; and the
    volume tolerance the core chose the computation steps with.
    """

    figures: numpy.ndarray
    refused: dict
    flows: object
    report_step: int
    data_step: int
    dry: bool
    tolerance: float


@dataclass
class PartResult:
    """A task's results: the partition's first row among the packed basins
    and one StormPart per storm name."""

    start: int
    storms: dict


def _core_basins(part):
    """A core basin set of the partition's records (the client checked them)."""
    c = _host.core()
    handle = _host.Handle(c.vesk_host_basins_new(), "vesk_host_basins_free")
    block = (BasinInput * len(part)).from_buffer_copy(numpy.ascontiguousarray(part.records))
    status = _host.Status()
    add = c.vesk_host_basins_add.function
    origins = {}
    for i, name in enumerate(part.names):
        origin = part.origins[i]
        encoded = origins.get(origin) or origins.setdefault(origin, _binding.encode_text(origin, "origin"))
        add(handle.handle, _binding.encode_text(name, "basin name"), ctypes.byref(block[i]), int(part.uh_given[i]),
            encoded, None, ctypes.byref(status))
        if status.code != _host.OK:
            handle.close()
            _host.raise_for(status, InvalidBasin, export="vesk_host_basins_add")
    return handle


def _storm_part(run, names, width, hydrographs):
    """The results of a finished core run of the basins ``names``."""
    c = _host.core()
    count = len(names)
    refused = {}
    for i in range(c.vesk_host_run_refused_count(run)):
        refused[_host.text(c.vesk_host_run_refused_name(run, i))] = (
            error_class(c.vesk_host_run_refused_code(run, i)).__name__,
            _host.text(c.vesk_host_run_refused_message(run, i)))
    ran = c.vesk_host_run_basin_count(run)
    rows = None
    if refused:
        row_of = {name: i for i, name in enumerate(names)}
        refused = {row_of[name]: reason for name, reason in refused.items()}
        rows = numpy.array([i for i in range(count) if i not in refused], dtype=numpy.int64)
    if ran != count - len(refused):
        raise RuntimeError(f"the core ran {ran} of {count} basins and refused {len(refused)}")
    length = c.vesk_host_run_length(run)
    figures = numpy.full((count, width), numpy.nan)
    flows = numpy.full((count, length), numpy.nan) if hydrographs else None
    if ran:
        block = numpy.empty((ran, width))
        c.vesk_host_run_summaries(run, _host.address(block), block.size)
        figures[slice(None) if rows is None else rows] = block
        if hydrographs and length:
            block = numpy.empty((ran, length))
            c.vesk_host_run_outflows(run, _host.address(block), block.size)
            flows[slice(None) if rows is None else rows] = block
    return StormPart(figures, refused, flows, c.vesk_host_run_step(run), c.vesk_host_run_data_step(run),
                     c.vesk_host_run_end(run) == 0, c.vesk_host_run_volume_tolerance(run))


def run_partition(level, start, part, storms, hydrographs=False, report_step=None, volume_tolerance=None):
    """One task: the Packed basins ``part`` (rows ``start``... of the packed
    ensemble) through each of ``storms`` {name: Storm or depths}, one call of
    the host core's run loop a storm, from a fresh registry, leaving out and
    naming the basins the library refuses.  Returns a PartResult."""
    width = len(summary_fields()[0])
    found = {}
    with LOCK, Library(level):
        c = _host.core()
        with _core_basins(part) as basins:
            options = _host.run_options(level, None, None, "us", True, report_step, volume_tolerance)
            for name, storm in storms.items():
                with core_storm(storm) as rain:
                    status = _host.Status()
                    run = c.vesk_host_run(basins.handle, rain.handle, ctypes.byref(options), None,
                                          ctypes.byref(status))
                _host.raise_for(status, export="vesk_host_run")
                try:
                    found[name] = _storm_part(run, part.names, width, hydrographs)
                finally:
                    c.vesk_host_run_free(run)
    return PartResult(start, found)
