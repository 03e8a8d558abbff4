"""``vesk.Library``: one open library of one level, its basins and runs."""

import ctypes
import numbers
import warnings
from collections.abc import Mapping
from dataclasses import dataclass

from . import _binding
from ._records import VersionStamp, record_to_dict
from ._version import VERSION
from .basin import Basin
from .errors import (BasinNotFound, DuplicateBasin, LibraryInUse, VersionUnconfirmed, VeskError,
                     VeskWarning, error_for_code)
from .storm import Storm

try:
    import numpy
except ImportError:  # results come back as plain lists then
    numpy = None
try:
    import pandas
except ImportError:  # results come back as a dict then
    pandas = None

INT32_MAX = 2**31 - 1

#: The most rain (in) the library takes in one step; a deeper depth is refused.
MAX_STEP_DEPTH = 1000.0

#: How far the sampled unit hydrograph may stray from one inch over the basin
#: before ``add`` warns: the same 10 % as the ``vesk`` program.
UNIT_VOLUME_TOLERANCE = 0.10

# The library keeps one registry and one error code per process and level:
# the levels open in this process.
_OPEN_LEVELS = set()


def expected_stamp():
    """The stamp this package presents: 1.3.3.6 travels as {1, 3, 6, 3}."""
    major, minor, release, build = VERSION
    return VersionStamp(major, minor, build, release)


def _key(name):
    """Library names compare after ASCII upper-casing of their bytes."""
    return name.upper()


@dataclass(frozen=True)
class Step:
    """One simulation step: ``time`` (min, end of the step), ``rain`` (in)
    and ``outflows`` (cfs by basin name)."""

    time: int
    rain: float
    outflows: dict


class Library:
    """The vesk library of one level, open for the life of a ``with`` block.

    ``level="current"`` loads ``veskdll133`` and confirms its version;
    ``level="earlier"`` loads ``veskdll`` (no version handshake).  Only one
    ``Library`` per level may be open in a process: the library's registry
    and error code are process-wide, so a second one is refused (LibraryInUse).

    Errors: every failure raises a ``VeskError`` subclass named after the
    library's code.  The library keeps a failure's code pending and does
    nothing until it is cleared.  This class clears it before raising, so
    the next call works: at the current level by presenting the version again
    (a rejected and then accepted stamp clears any code; every basin and its
    state stay), at the earlier level, which can only clear a code by freeing
    everything, by freeing and reopening (every basin is dropped; the
    exception's ``basins_dropped`` is True).  Names of basins this object did
    not add are refused before the library is asked, so a misspelt name never
    costs the earlier level its basins.
    """

    def __init__(self, level="current"):
        self.level = _binding.check_level(level)
        self._raw = None
        self._names = {}
        self._records = _binding.RECORDS[level]

    # -- life -----------------------------------------------------------------

    def __enter__(self):
        return self.open()

    def __exit__(self, *exc):
        self.close()
        return False

    @property
    def is_open(self):
        return self._raw is not None

    @property
    def raw(self):
        """The library's exports with their types declared (vesk_open, ...):
        for what this class does not wrap.  Calls through it bypass this
        class's bookkeeping of names and error codes."""
        return self._raw if self._raw is not None else _binding.exports(self.level)

    def open(self):
        """Loads the library, opens its registry and confirms its version."""
        if self._raw is not None:
            raise LibraryInUse(f"this {self.level}-level Library is already open")
        if self.level in _OPEN_LEVELS:
            raise LibraryInUse(f"a {self.level}-level vesk.Library is already open in this process; the library "
                               "holds one registry per process: close the other one first")
        raw = _binding.exports(self.level)
        _OPEN_LEVELS.add(self.level)
        self._raw = raw
        try:
            self._open_registry()
        except BaseException:
            self.close()
            raise
        return self

    def close(self):
        """Frees every basin and the registry.  Harmless when not open."""
        if self._raw is None:
            return
        self._raw.vesk_free()
        self._raw = None
        self._names = {}
        _OPEN_LEVELS.discard(self.level)

    def _open_registry(self):
        self._raw.vesk_open()
        if self.level == "current":
            self._confirm_version()
        self._check("vesk_open", "the library could not open its basin registry")

    def _confirm_version(self):
        found = self.version
        if found[:3] != VERSION[:3]:
            raise VersionUnconfirmed(f"the library is version {'.'.join(map(str, found))}, this package is "
                                     f"written for {'.'.join(map(str, VERSION))}", "vesk_getversion")
        stamp = expected_stamp()
        self._raw.vesk_checkversion(ctypes.byref(stamp))

    @property
    def version(self):
        """The current-level library's version as four numbers in written
        order; None at the earlier level, which has no version export."""
        if self.level != "current":
            return None
        stamp = VersionStamp()
        self.raw.vesk_getversion(ctypes.byref(stamp))
        return (stamp.major, stamp.minor, stamp.release, stamp.build)

    def clear(self):
        """Drops every basin: frees the registry and opens a new one."""
        self._require_open()
        self._raw.vesk_free()
        self._names = {}
        self._open_registry()

    # -- errors ---------------------------------------------------------------

    def _require_open(self):
        if self._raw is None:
            raise RuntimeError(f"the {self.level}-level Library is not open: use it in a 'with' block or call open()")

    def _check(self, export, sentence):
        code = self._raw.vesk_geterror()
        if code == 0:
            return
        error = error_for_code(code, export, sentence)
        error.basins_dropped = self._clear_code()
        raise error

    def _clear_code(self):
        """Clears the pending code; True when that dropped every basin."""
        if self.level == "current":
            # A stamp of another version replaces any pending code by 7, which
            # the matching stamp then clears (a null stamp leaves a pending
            # code as it is).
            other = expected_stamp()
            other.major += 1
            self._raw.vesk_checkversion(ctypes.byref(other))
            stamp = expected_stamp()
            self._raw.vesk_checkversion(ctypes.byref(stamp))
            if self._raw.vesk_geterror() == 0:
                return False
        self._raw.vesk_free()
        self._names = {}
        self._raw.vesk_open()
        if self.level == "current":
            self._raw.vesk_checkversion(ctypes.byref(expected_stamp()))
        return True

    def _stored(self, name, export):
        self._require_open()
        encoded = _binding.encode_text(name, "basin name")
        if _key(encoded) not in self._names:
            raise BasinNotFound(f"no basin named {name!r} is stored", export)
        return encoded

    @property
    def basins(self):
        """The names of the stored basins, in the order they were added."""
        return list(self._names.values())

    # -- basins ---------------------------------------------------------------

    def add(self, name, basin, step=None):
        """Validates ``basin`` and stores it under ``name`` (ASCII case ignored).

        ``step`` is the simulation step in minutes; the basin steps in its
        unit-hydrograph step, so ``step`` and ``basin.uh_time_step`` must
        agree where both are given, and one of them must be.
        """
        self._require_open()
        encoded = _binding.encode_text(name, "basin name")
        if not encoded:
            raise ValueError("a basin name must not be empty")
        if _key(encoded) in self._names:
            raise DuplicateBasin(f"a basin named {self._names[_key(encoded)]!r} is already stored", "vesk_addbasin")
        if not isinstance(basin, Basin):
            raise TypeError(f"basin must be a vesk.Basin, not {type(basin).__name__}")
        basin.validate()
        time_step = _time_step(basin, step)
        record = basin.fill_record(self._records.basin(), time_step)
        self._raw.vesk_addbasin(ctypes.byref(record), encoded)
        self._check("vesk_addbasin", f"basin {name!r} was not stored")
        self._names[_key(encoded)] = name
        self._check_unit_volume(name, encoded)

    def _check_unit_volume(self, name, encoded):
        """Warns (VeskWarning) when the sampled unit hydrograph holds more or
        less than one inch over the basin by over 10 %.  The library does not
        check this (its ordinates are the method's); a uh_time_step coarse
        for the basin's time to peak is the usual cause."""
        record = self._records.basin()
        self._raw.vesk_getbasin(encoded, ctypes.byref(record))
        self._check("vesk_getbasin", f"basin {name!r} could not be read")
        length = self._raw.vesk_getuhlength(encoded)
        self._check("vesk_getuhlength", f"basin {name!r} has no unit hydrograph")
        step = record.shape.uhTimeStep
        # cfs x min per inch, in acre-ft (60 s a minute, 43,560 sq ft an acre)
        sampled = sum(self._raw.vesk_getuhordinatevalue(encoded, k) for k in range(length)) * step * 60.0 / 43560.0
        one_inch = record.unitRunoffVolume
        if abs(sampled - one_inch) <= UNIT_VOLUME_TOLERANCE * abs(one_inch):
            return
        share = f"{100.0 * sampled / one_inch:.1f} %" if one_inch else "-"
        warnings.warn(f"basin {name}: the sampled unit hydrograph holds {share} of one inch over the basin "
                      f"({sampled:.3f} of {one_inch:.3f} acre-ft); likely cause: the {step}-minute step is coarse "
                      f"for the basin's {record.uhPeakTime:.1f}-minute time to peak (try a smaller uh_time_step)",
                      VeskWarning, stacklevel=3)

    def step(self, name, depth, target):
        """Applies ``depth`` inches of rain to every step of basin ``name``
        until its clock reaches ``target`` minutes; returns the latest outflow
        in cfs.  At the earlier level every call is exactly one step."""
        encoded = self._stored(name, "vesk_execute")
        depth = _rain_depth(depth)
        if isinstance(target, bool) or not isinstance(target, numbers.Integral) or not 0 <= target <= INT32_MAX:
            raise ValueError(f"target {target!r} is not a whole number of minutes from 0 to {INT32_MAX}")
        outflow = self._raw.vesk_execute(encoded, depth, int(target))
        self._check("vesk_execute", f"basin {name!r} was not stepped")
        if outflow == -1.0:
            raise VeskError(f"basin {name!r} cannot step: its time step is below 1 minute", "vesk_execute", 0)
        return outflow

    def record(self, name):
        """The stored basin's parameters as the library prepared them (derived
        fractions, coefficients and shape in place of the requests, and the
        unit-hydrograph outputs), by record field name."""
        encoded = self._stored(name, "vesk_getbasin")
        record = self._records.basin()
        self._raw.vesk_getbasin(encoded, ctypes.byref(record))
        self._check("vesk_getbasin", f"basin {name!r} could not be read")
        return record_to_dict(record)

    def state(self, name):
        """The state of the basin's latest step, by record field name (depths
        in inches, times in minutes): the current level's PrecipState with a
        dict per sub-area, or the earlier level's StepState."""
        encoded = self._stored(name, "vesk_getbasin_precip")
        block = self._records.step()
        self._raw.vesk_getbasin_precip(encoded, ctypes.byref(block))
        self._check("vesk_getbasin_precip", f"the step of basin {name!r} could not be read")
        return record_to_dict(block)

    def unit_hydrograph(self, name):
        """The unit hydrograph's ordinates in cfs per inch of excess; ordinate
        k lies (k + 1) uhTimeStep minutes after the start of the unit rain.
        A pandas Series indexed by those minutes when pandas is installed."""
        encoded = self._stored(name, "vesk_getuhlength")
        length = self._raw.vesk_getuhlength(encoded)
        self._check("vesk_getuhlength", f"basin {name!r} has no unit hydrograph")
        ordinates = [self._raw.vesk_getuhordinatevalue(encoded, index) for index in range(length)]
        self._check("vesk_getuhordinatevalue", f"basin {name!r} has no unit hydrograph")
        if pandas is None:
            return ordinates
        step = self.record(name)["shape"]["uhTimeStep"]
        index = pandas.Index([(k + 1) * step for k in range(length)], name="time_min")
        series = pandas.Series(ordinates, index=index, name=name, dtype="float64")
        series.attrs["units"] = "cfs/in"
        return series

    # -- runs -----------------------------------------------------------------

    def simulate(self, basins, storm, step=None, duration=None):
        """Runs basins through a storm one step at a time, yielding a Step after
        each: for hosts that read ``state()`` or act between steps.

        Starts from fresh state (``clear()``), adds the basins with the run's
        step, applies the storm's depths and then dry steps until every
        outflow is back to exactly 0, or for ``duration`` minutes.  The basins
        stay stored after the run.
        """
        named = _named_basins(basins)
        depths, run_step = _storm_and_step(named, storm, step)
        self.clear()
        for name, basin in named.items():
            self.add(name, basin, run_step)
        yield from self._steps(list(named), depths, run_step, duration)

    def _steps(self, names, depths, run_step, duration=None):
        """Steps the stored basins ``names`` through ``depths``, then dry
        steps until every outflow is exactly 0 (or for ``duration`` min)."""
        limit = self._step_limit(names, depths, run_step, duration)
        outflows = {name: 0.0 for name in names}
        for k in range(limit):
            if duration is None and k >= len(depths) and k > 0 and all(v == 0.0 for v in outflows.values()):
                return
            rain = depths[k] if k < len(depths) else 0.0
            time = (k + 1) * run_step
            for name in names:
                outflows[name] = self.step(name, rain, time)
            yield Step(time, rain, dict(outflows))

    def _step_limit(self, names, depths, run_step, duration=None):
        """Steps a run may take: the storm, the longest unit hydrograph and
        one more (by then every outflow is 0), or ``duration`` minutes."""
        longest = max((self._raw.vesk_getuhlength(_binding.encode_text(n)) for n in names), default=0)
        limit = len(depths) + longest + 1
        if duration is not None:
            limit = -(-int(duration) // run_step)
        if limit * run_step > INT32_MAX:
            raise ValueError(f"the run would pass {INT32_MAX} minutes, the end of the library's clock")
        return limit

    def run(self, basins, storm, step=None, duration=None):
        """Runs basins through a storm and returns the hydrographs.

        ``basins``: a dict name -> Basin, or Basins that carry their names
        (``Basin.from_file``, ``read_basin_table``).  ``storm``: a Storm
        (``read_storm``) or a sequence of depths in inches, one per step.
        ``step``: the simulation step in minutes; by default the storm's, else
        the basins' common uh_time_step.

        Returns a pandas DataFrame indexed by ``time_min`` (end of each step),
        with ``rain_in`` and one column per basin in cfs (units in
        ``df.attrs["units"]``); without pandas a dict of numpy arrays (or of
        lists without numpy) with the same keys and ``time_min``.
        """
        named = _named_basins(basins)
        times, rain = [], []
        flows = {name: [] for name in named}
        for taken in self.simulate(named, storm, step, duration):
            times.append(taken.time)
            rain.append(taken.rain)
            for name, outflow in taken.outflows.items():
                flows[name].append(outflow)
        return _results(times, rain, flows, self._run_step(named, storm, step))

    def _run_step(self, named, storm, step):
        return _storm_and_step(named, storm, step)[1]


def _rain_depth(depth):
    depth = float(depth)
    if not 0 <= depth <= MAX_STEP_DEPTH:  # NaN fails too
        raise ValueError(f"rainfall depth {depth!r} in is not a depth from 0 to {MAX_STEP_DEPTH:g} in")
    return depth


def _time_step(basin, step):
    own = basin.uh_time_step
    if step is None and own is None:
        raise ValueError(f"basin {basin.name or ''}: give a step or a uh_time_step (minutes)".replace("  ", " "))
    if step is not None and (isinstance(step, bool) or not isinstance(step, numbers.Integral) or step < 1):
        raise ValueError(f"step {step!r} is not a whole number of minutes of at least 1")
    if step is not None and own is not None and own != step:
        raise ValueError(f"basin {basin.name or ''} has a {own}-minute unit-hydrograph step and the run steps "
                         f"{step} minutes; the library steps a basin in its unit-hydrograph step")
    return int(own if step is None else step)


def _named_basins(basins):
    if isinstance(basins, Basin):
        basins = [basins]
    if isinstance(basins, Mapping):
        named = dict(basins)
    else:
        named = {}
        for basin in basins:
            if not isinstance(basin, Basin) or not basin.name:
                raise ValueError("basins must be a dict name -> Basin or Basins that carry their names")
            named[basin.name] = basin
    if not named:
        raise ValueError("a run needs at least one basin")
    keys = {}
    for name in named:
        key = _key(_binding.encode_text(name, "basin name"))
        if key in keys:
            raise ValueError(f"basins {keys[key]!r} and {name!r} differ only in letter case")
        if name == "rain_in":
            raise ValueError("'rain_in' names the rainfall column of the results; rename the basin")
        keys[key] = name
    return named


def _storm_and_step(named, storm, step):
    if isinstance(storm, Storm):
        depths, storm_step = list(storm.depths), storm.step
    else:
        depths, storm_step = list(storm), None
    depths = [_rain_depth(depth) for depth in depths]
    if step is None:
        step = storm_step
    if step is None:
        own = {basin.uh_time_step for basin in named.values()} - {None}
        if len(own) != 1:
            raise ValueError("give the run's step: the basins' unit-hydrograph steps are "
                             + (", ".join(map(str, sorted(own))) if own else "not given"))
        step = own.pop()
    if storm_step is not None and storm_step != step:
        raise ValueError(f"the storm steps {storm_step} minutes, the run {step}")
    return depths, step


def _results(times, rain, flows, step):
    if pandas is not None:
        index = pandas.Index(times, name="time_min", dtype="int64")
        frame = pandas.DataFrame({"rain_in": rain, **flows}, index=index, dtype="float64")
        frame.attrs["units"] = {"time_min": "min", "rain_in": "in", **{name: "cfs" for name in flows}}
        frame.attrs["time_step_min"] = step
        return frame
    if numpy is not None:
        result = {"time_min": numpy.array(times, dtype=numpy.int64), "rain_in": numpy.array(rain)}
        result.update({name: numpy.array(values) for name, values in flows.items()})
        return result
    return {"time_min": times, "rain_in": rain, **flows}
