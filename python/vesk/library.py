"""``vesk.Library``: one open library of one level, its basins, runs and sessions."""

import ctypes
import weakref
from dataclasses import dataclass

from . import _binding, _host
from ._binding import LOCK
from ._records import VersionStamp, record_to_dict
from ._version import VERSION
from .basin import Basin, basin_set
from .errors import (BasinNotFound, DuplicateBasin, InputError, LibraryInUse, VersionUnconfirmed, error_for_code)
from .storm import core_storm

try:
    import numpy
except ImportError:  # results come back as plain lists then
    numpy = None
try:
    import pandas
except ImportError:  # results come back as a dict then
    pandas = None

INT32_MAX = 2**31 - 1

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
    """One simulation step: ``time`` (min, end of the step), ``rain`` (in, or
    mm in SI) and ``outflows`` (cfs, or m3/s in SI, by basin name)."""

    time: int
    rain: float
    outflows: dict


class Library:
    """The vesk library of one level, open for the life of a ``with`` block.

    ``level="current"`` loads ``veskdll133`` and confirms its version;
    ``level="earlier"`` loads ``veskdll`` (no version handshake).  Only one
    ``Library`` per level may be open in a process: the library's registry
    and error code are process-wide, so a second one is refused (LibraryInUse).

    Runs (``run``, ``summary``, ``simulate``) and sessions go through the host
    core, as the ``vesk`` program's do: each starts from a fresh registry and
    leaves its basins stored, so ``record``, ``state`` and
    ``unit_hydrograph`` read them afterwards.  ``add`` and ``step`` call the
    library directly.

    Threads: every method may be called from any thread; the package's lock
    (``vesk.LOCK``) lets one call into the libraries run at a time.  A run,
    a session or ``clear()`` replaces the stored basins, whichever thread
    calls it.

    Errors: every failure raises a ``VeskError``.  The library keeps a
    failure's code pending and does nothing until it is cleared.  This class
    clears it before raising, so the next call works: at the current level
    by presenting the version again (a rejected and then accepted stamp
    clears any code; every basin and its state stay), at the earlier level,
    which can only clear a code by freeing everything, by freeing and
    reopening (every basin is dropped; the exception's ``basins_dropped`` is
    True).  Names of basins this object did not add are refused before the
    library is asked, so a misspelt name never costs the earlier level its
    basins.  A run or session the core refuses leaves no basin stored.
    """

    def __init__(self, level="current"):
        self.level = _binding.check_level(level)
        self._raw = None
        self._names = {}
        self._records = _binding.RECORDS[level]
        self._sessions = weakref.WeakSet()

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
        for what this class does not wrap.  Each call takes the package's
        lock; calls through it bypass this class's bookkeeping of names and
        error codes."""
        return self._raw if self._raw is not None else _binding.exports(self.level)

    def open(self):
        """Loads the library, opens its registry and confirms its version."""
        with LOCK:
            if self._raw is not None:
                raise LibraryInUse(f"this {self.level}-level Library is already open")
            if self.level in _OPEN_LEVELS:
                raise LibraryInUse(f"a {self.level}-level vesk.Library is already open in this process; the "
                                   "library holds one registry per process: close the other one first")
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
        with LOCK:
            if self._raw is None:
                return
            self._end_sessions()
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
        with LOCK:
            self._require_open()
            self._end_sessions()
            self._raw.vesk_free()
            self._names = {}
            self._open_registry()

    def _end_sessions(self):
        for session in list(self._sessions):
            session.close("a run, another session, clear() or close() replaced the library's basins")

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
        with LOCK:
            return list(self._names.values())

    def _earlier(self):
        return ctypes.pointer(_host.earlier_level()) if self.level == "earlier" else None

    # -- basins ---------------------------------------------------------------

    def add(self, name, basin, step=None):
        """Checks ``basin`` as every run does and stores it under ``name``
        (ASCII case ignored).

        ``step`` is the simulation step in minutes; the basin steps in its
        unit-hydrograph step, so ``step`` and ``basin.uh_time_step`` must
        agree where both are given, and one of them must be.  Warns
        (VeskWarning) of unusual values and of a sampled unit hydrograph more
        than 10 % off one inch over the basin.
        """
        with LOCK:
            self._require_open()
            encoded = _binding.encode_text(name, "basin name")
            if _key(encoded) in self._names:
                raise DuplicateBasin(f"a basin named {self._names[_key(encoded)]!r} is already stored",
                                     "vesk_addbasin")
            if not isinstance(basin, Basin):
                raise InputError(f"basin must be a vesk.Basin, not {type(basin).__name__}")
            with basin_set({name: basin}) as checked:
                checked.core_handle()
            time_step = _time_step(name, basin, step)
            record = basin.fill_record(self._records.basin(), time_step)
            self._raw.vesk_addbasin(ctypes.byref(record), encoded)
            self._check("vesk_addbasin", f"basin {name!r} was not stored")
            self._names[_key(encoded)] = name
            status = _host.Status()
            with _host.Warnings() as found:
                _host.core().vesk_host_stored_basin_check(encoded, self._earlier(), found.handle,
                                                          ctypes.byref(status))
                _host.raise_for(status, export="vesk_host_stored_basin_check")
                found.emit()

    def step(self, name, depth, target):
        """Applies ``depth`` inches of rain to every step of basin ``name``
        until its clock reaches ``target`` minutes; returns the latest outflow
        in cfs.  At the earlier level every call is exactly one step.  This is
        the library's own call: it takes 0 to 1,000 in per step (a run, 0 to
        100 in)."""
        with LOCK:
            encoded = self._stored(name, "vesk_execute")
            if isinstance(target, bool) or not hasattr(target, "__index__") or not 0 <= target <= INT32_MAX:
                raise InputError(f"target {target!r} is not a whole number of minutes from 0 to {INT32_MAX}")
            try:
                depth = float(depth)
            except (TypeError, ValueError):
                raise InputError(f"rainfall depth {depth!r} is not a number") from None
            outflow = self._raw.vesk_execute(encoded, depth, int(target))
            self._check("vesk_execute", f"basin {name!r} was not stepped")
            if outflow == -1.0:
                raise InputError(f"basin {name!r} was not stepped: the library takes a rain depth from 0 to 1,000 in "
                                 f"per step (got {depth!r}) and a basin whose time step is at least 1 minute",
                                 "vesk_execute")
            return outflow

    def record(self, name):
        """The stored basin's parameters as the library prepared them (derived
        fractions, coefficients and shape in place of the requests, and the
        unit-hydrograph outputs), by record field name."""
        with LOCK:
            encoded = self._stored(name, "vesk_getbasin")
            record = self._records.basin()
            self._raw.vesk_getbasin(encoded, ctypes.byref(record))
            self._check("vesk_getbasin", f"basin {name!r} could not be read")
            return record_to_dict(record)

    def state(self, name):
        """The state of the basin's latest step, by record field name (depths
        in inches, times in minutes): the current level's PrecipState with a
        dict per sub-area, or the earlier level's StepState."""
        with LOCK:
            encoded = self._stored(name, "vesk_getbasin_precip")
            block = self._records.step()
            self._raw.vesk_getbasin_precip(encoded, ctypes.byref(block))
            self._check("vesk_getbasin_precip", f"the step of basin {name!r} could not be read")
            return record_to_dict(block)

    def unit_hydrograph(self, name):
        """The unit hydrograph's ordinates in cfs per inch of excess; ordinate
        k lies (k + 1) uhTimeStep minutes after the start of the unit rain.
        A pandas Series indexed by those minutes when pandas is installed."""
        with LOCK:
            encoded = self._stored(name, "vesk_getuhlength")
            length = self._raw.vesk_getuhlength(encoded)
            self._check("vesk_getuhlength", f"basin {name!r} has no unit hydrograph")
            ordinates = [self._raw.vesk_getuhordinatevalue(encoded, index) for index in range(length)]
            self._check("vesk_getuhordinatevalue", f"basin {name!r} has no unit hydrograph")
            step = self.record(name)["shape"]["uhTimeStep"]
        if pandas is None:
            return ordinates
        index = pandas.Index([(k + 1) * step for k in range(length)], name="time_min")
        series = pandas.Series(ordinates, index=index, name=name, dtype="float64")
        series.attrs["units"] = "cfs/in"
        return series

    # -- runs -----------------------------------------------------------------

    def run(self, basins, storm, step=None, duration=None, units="us", report_step=None, volume_tolerance=None):
        """Runs basins through a storm and returns the hydrographs.

        ``basins``: a BasinSet (``read_basin_table``, ``read_basins``), a dict
        name -> Basin, Basins that carry their names (``Basin.from_file``) or
        one Basin.  ``storm``: a Storm (``read_storm``) or a sequence of depths
        in inches, one per step.  ``step``: the simulation step in minutes
        (1 to 1440); a storm with times is resampled to it (split evenly or
        summed); by default the storm's step, else the basins' common
        uh_time_step.  ``duration``: minutes to simulate; by default until
        every outflow is back to exactly 0 after the storm.  ``units``: "us"
        (in, cfs) or "si" (mm, m3/s) for the results.

        Each basin is computed at its own step: the largest whole-minute step
        dividing the run's step at which its sampled unit hydrograph holds one
        inch within ``volume_tolerance`` (a fraction, default 0.02) and which
        is at most half its time to peak, the rain of each step split evenly
        over its sub-steps; a basin no step holds is refused (InputError) with
        the reason.  The hydrographs are reported at the run's step, or every
        ``report_step`` minutes (a divisor of it); peaks and volumes do not
        depend on that.

        One call of the host core, as ``vesk run``: the same checks (rain at
        most 100 in a step, basins), the same warnings (VeskWarning: volume
        checks, unusual steps, a long record run as one event), the same bits.

        Returns a pandas DataFrame indexed by ``time_min`` (end of each step),
        with ``rain_in`` (``rain_mm``), one column per basin and, with several
        basins, ``outlet`` (their sum); units in ``df.attrs["units"]``, the
        report step in ``df.attrs["time_step_min"]``, the data step in
        ``"data_step_min"``, each basin's computation step in
        ``"computation_step_min"`` and the tolerance in ``"volume_tolerance"``.
        Without pandas a dict of numpy arrays (of lists without numpy) with
        the same keys and ``time_min``.
        """
        with LOCK, self._run(basins, storm, step, duration, units, report_step=report_step,
                             volume_tolerance=volume_tolerance) as result:
            return result.frame()

    def summary(self, basins, storm, step=None, duration=None, units="us", volume_tolerance=None):
        """Runs as ``run`` does and returns each basin's summary figures: a
        DataFrame indexed by ``basin`` with the columns of ``vesk run
        --summary`` (``area_sq_mi``, ``peak_outflow_cfs``,
        ``rain_volume_acre_ft``, ``runoff_coefficient``, ...; their SI names
        with ``units="si"``; ``computation_step_min`` among them), units and the
        steps in ``df.attrs``.  Without pandas a dict with ``basin`` and a list
        per figure."""
        with LOCK, self._run(basins, storm, step, duration, units, volume_tolerance=volume_tolerance) as result:
            return result.summary()

    def run_storms(self, basins, storms, step=None, duration=None, units="us", volume_tolerance=None):
        """Runs the basins through each storm, each from fresh basins, and
        returns the table of ``vesk run --rain A --rain B ... --summary``: one
        row per storm and basin (storm by storm, each storm's ``outlet`` first
        where several basins meet) with every summary figure, indexed by
        (``basin``, ``storm``).

        ``storms``: a dict name -> storm (a Storm, a dated Series or depths in
        inches), as ``read_storms`` and ``idf_storms`` return, or a list of
        Storms read from files (named after them).  Each run is the one
        ``summary`` would make of that storm alone, to the bit; each basin's
        computation step is chosen once per data step.  ``df.attrs`` holds
        the units, and ``"outlet_peak"`` and ``"outlet_peak_time_min"``: each
        storm's peak at the outlet (the sum of the basins' outflows) and its
        time.  Without pandas a dict of lists with ``basin`` and ``storm``.
        """
        if not isinstance(storms, dict):
            storms = {_storm_name(storm, i): storm for i, storm in enumerate(storms)}
        names = list(storms)
        with LOCK:
            self._require_open()
            options = _host.run_options(self.level, step, duration, units, False, None, volume_tolerance)
            chosen = basin_set(basins)
            handles = []
            try:
                for storm in storms.values():
                    handles.append(core_storm(storm))
                array = (ctypes.c_void_p * len(handles))(*[h.handle for h in handles])
                encoded = (ctypes.c_char_p * len(names))(*[_binding.encode_text(str(n), "storm name") for n in names])
                with _host.Warnings() as found:
                    basins_handle = chosen.core_handle()
                    self._end_sessions()
                    status = _host.Status()
                    c = _host.core()
                    runs = c.vesk_host_run_storms(basins_handle, ctypes.addressof(array), ctypes.addressof(encoded),
                                                  len(names), ctypes.byref(options), found.handle,
                                                  ctypes.byref(status))
                    if status.code != _host.OK:
                        self._after_refusal()
                        _host.raise_for(status, export="vesk_host_run_storms")
                    try:
                        table = _storm_table(runs, units)
                    finally:
                        c.vesk_host_storm_runs_free(runs)
                    self._names = {_key(_binding.encode_text(name)): name for name in table.pop("_basins")}
                    found.emit()
            finally:
                for handle in handles:
                    handle.close()
                if chosen is not basins:
                    chosen.close()
        return _storm_frame(table)

    def _run(self, basins, storm, step=None, duration=None, units="us", skip_refused=False, report_step=None,
             volume_tolerance=None):
        """The core's run as a RunResult (to be closed); the basins stay stored."""
        with LOCK:
            self._require_open()
            options = _host.run_options(self.level, step, duration, units, skip_refused, report_step,
                                        volume_tolerance)
            chosen = basin_set(basins)
            try:
                with core_storm(storm) as storm_handle, _host.Warnings() as found:
                    basins_handle = chosen.core_handle()
                    self._end_sessions()
                    status = _host.Status()
                    handle = _host.core().vesk_host_run(basins_handle, storm_handle.handle, ctypes.byref(options),
                                                        found.handle, ctypes.byref(status))
                    if status.code != _host.OK:
                        self._after_refusal()
                        _host.raise_for(status, export="vesk_host_run")
                    result = RunResult(handle)
                    self._names = {_key(_binding.encode_text(name)): name for name in result.names}
                    found.emit()
                    return result
            finally:
                if chosen is not basins:
                    chosen.close()

    def _after_refusal(self):
        """After a run or session the core refused: no basin stored, no code pending."""
        self._raw.vesk_free()
        self._names = {}
        self._open_registry()

    def simulate(self, basins, storm, step=None, duration=None, units="us"):
        """Runs basins through a storm one step at a time, yielding a Step after
        each: for hosts that read ``state()`` or act between steps.

        The steps are those of ``run`` with the same arguments, to the bit:
        the core computes the run, then a session steps the basins through
        the same rain, one call a step, so while a Step is being handled the
        stored basins stand at its end.  The basins stay stored after the
        run.  A run, a session or ``clear()`` started before the iteration
        ends stops it (InputError at the next step).
        """
        chosen = basin_set(basins)
        try:
            with self._run(chosen, storm, step, duration, units) as plan:
                names, run_step, length = plan.names, plan.data_step, plan.length
                rain = _host.as_list(plan.rain())
                flows = [_host.as_list(series) for series in plan.outflow_rows()]
            depths = _depths_at(storm, run_step)
            with self.session(chosen, run_step) as session:
                for k in range(length):
                    session.advance(depths[k] if k < len(depths) else 0.0, outflows=False)
                    yield Step((k + 1) * run_step, rain[k], {name: flows[b][k] for b, name in enumerate(names)})
        finally:
            if chosen is not basins:
                chosen.close()

    def session(self, basins, step):
        """A stepwise session: the basins added to a fresh registry with their
        unit hydrographs and simulation at ``step`` minutes, then stepped one
        step of rain at a time (``Session.advance``), each basin its own
        depth or all one.  Only the latest step is kept, so a session may
        step for years.  Use it in a ``with`` block (or ``close()`` it)."""
        with LOCK:
            self._require_open()
            options = _host.run_options(self.level, step, None, "us")
            chosen = basin_set(basins)
            try:
                basins_handle = chosen.core_handle()
                self._end_sessions()
                status = _host.Status()
                handle = _host.core().vesk_host_session_start(basins_handle, ctypes.byref(options),
                                                              ctypes.byref(status))
                if status.code != _host.OK:
                    self._after_refusal()
                    _host.raise_for(status, export="vesk_host_session_start")
                session = Session(self, handle, list(chosen), int(step))
            finally:
                if chosen is not basins:
                    chosen.close()
            self._names = {_key(_binding.encode_text(name)): name for name in session.names}
            self._sessions.add(session)
            return session


def _time_step(name, basin, step):
    own = basin.uh_time_step
    if step is None and own is None:
        raise InputError(f"basin {name}: give a step or a uh_time_step (minutes)")
    chosen = _host.int32(own if step is None else step, "step")
    if chosen < 1:
        raise InputError(f"basin {name}: the step {chosen} is not a whole number of minutes of at least 1")
    if step is not None and own is not None and own != step:
        raise InputError(f"basin {name} has a {own}-minute unit-hydrograph step and the call steps {step} minutes; "
                         "the library steps a basin in its unit-hydrograph step")
    return chosen


def _depths_at(storm, step):
    """The storm's depths in inches at ``step`` minutes, as the core resamples
    them for a run."""
    c = _host.core()
    status = _host.Status()
    with LOCK, core_storm(storm) as handle:
        resampled = c.vesk_host_storm_resample(handle.handle, step, ctypes.byref(status))
        _host.raise_for(status)
        with _host.Handle(resampled, "vesk_host_storm_free") as stepped:
            length = c.vesk_host_storm_length(stepped.handle)
            depths, address = _host.doubles(length)
            c.vesk_host_storm_depths(stepped.handle, address, length)
    return _host.as_list(depths)


class Session:
    """Basins stepped one step of rain at a time through the host core
    (``Library.session``): ``names`` in the order of every array, ``step``
    (min), ``time`` (min at the end of the latest step)."""

    def __init__(self, library, handle, names, step):
        self._library = library
        self._handle = _host.Handle(handle, "vesk_host_session_free")
        self._ended = None
        self.names = names
        self.step = step

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self, why="the session was closed"):
        with LOCK:
            if self._ended is None:
                self._ended = why
                self._handle.close()

    @property
    def time(self):
        with LOCK:
            self._require_live()
            return _host.core().vesk_host_session_time(self._handle.handle)

    def _require_live(self):
        if self._ended is not None:
            raise InputError(f"the session takes no more steps: {self._ended}")

    def advance(self, inches, outflows=None, excess=None):
        """One step: ``inches`` of rain, one depth for all basins or one for each
        (0 to 100 in).  Writes each basin's outflow (cfs) into ``outflows`` and
        its excess depth (in) into ``excess`` when they are float64 numpy
        arrays of one item per basin; returns the outflows (a new array, or a
        list without numpy, when ``outflows`` is None; nothing when it is
        False).  Rain outside its
        range is refused (InputError) before any basin steps, and the session
        goes on; a refusal by the library ends it."""
        count = len(self.names)
        if isinstance(inches, (int, float)) and not isinstance(inches, bool):
            rain = ctypes.c_double(inches)
            rain_address, rain_count = ctypes.addressof(rain), 1
        else:
            rain, rain_address, rain_count = _host.double_array(inches, "rain depths")
        made = None
        if outflows is None:
            made, out_address = _host.doubles(count)
        elif outflows is False:
            out_address = None
        else:
            out_address = _writable(outflows, count, "outflows")
        excess_address = None if excess is None else _writable(excess, count, "excess")
        status = _host.Status()
        with LOCK:
            self._require_live()
            _host.core().vesk_host_session_step(self._handle.handle, rain_address, rain_count, out_address,
                                                excess_address, ctypes.byref(status))
            if status.code != _host.OK:
                if status.code == _host.LIBRARY_REFUSED:
                    self.close("the library refused a step")
                    self._library._clear_code()
                _host.raise_for(status, export="vesk_host_session_step")
        if made is not None:
            return made if numpy is not None else list(made)
        return None if outflows is False else outflows


def _storm_name(storm, index):
    from .storm import Storm
    origin = storm.origin if isinstance(storm, Storm) else None
    if not origin:
        return f"storm {index + 1}"
    name = str(origin).replace("\\", "/").rsplit("/", 1)[-1]
    return name[:-4] if name.lower().endswith(".csv") else name


def _storm_table(runs, units):
    """The figures of every run of a VeskHostStormRuns handle, storm by storm."""
    c = _host.core()
    fields, field_units = summary_fields(units)
    width = len(fields)
    table = {"basin": [], "storm": [], "rows": [], "outlet_peak": {}, "outlet_peak_time_min": {},
             "units": field_units, "fields": fields}
    peak, minutes = ctypes.c_double(), ctypes.c_double()
    for index in range(c.vesk_host_storm_runs_count(runs)):
        name = _host.text(c.vesk_host_storm_runs_name(runs, index))
        run = c.vesk_host_storm_runs_run(runs, index)
        c.vesk_host_run_outlet_peak(run, ctypes.byref(peak), ctypes.byref(minutes))
        table["outlet_peak"][name] = peak.value
        table["outlet_peak_time_min"][name] = minutes.value
        basins = [_host.text(c.vesk_host_run_basin_name(run, b)) for b in range(c.vesk_host_run_basin_count(run))]
        if len(basins) > 1:
            # The outlet leads each storm's rows, as in the summary file.
            figures = (ctypes.c_double * width)()
            c.vesk_host_run_outlet_summary(run, ctypes.addressof(figures), width)
            table["basin"].append("outlet")
            table["storm"].append(name)
            table["rows"].append(list(figures))
        for b, basin in enumerate(basins):
            figures = (ctypes.c_double * width)()
            c.vesk_host_run_summary(run, b, ctypes.addressof(figures), width)
            table["basin"].append(basin)
            table["storm"].append(name)
            table["rows"].append(list(figures))
        table["_basins"] = basins
    return table


def _storm_frame(table):
    fields = table["fields"]
    attrs = {"units": table["units"], "outlet_peak": table["outlet_peak"],
             "outlet_peak_time_min": table["outlet_peak_time_min"]}
    if pandas is None:
        return {"basin": table["basin"], "storm": table["storm"],
                **{name: [row[i] for row in table["rows"]] for i, name in enumerate(fields)}}
    index = pandas.MultiIndex.from_arrays([table["basin"], table["storm"]], names=["basin", "storm"])
    frame = pandas.DataFrame(table["rows"], index=index, columns=fields, dtype="float64")
    frame.attrs.update(attrs)
    return frame


def _date_of(minute):
    from .storm import EPOCH
    import datetime
    return EPOCH + datetime.timedelta(minutes=minute)


def _writable(array, count, what):
    if (numpy is None or not isinstance(array, numpy.ndarray) or array.dtype != numpy.float64
            or not array.flags.c_contiguous or not array.flags.writeable or array.size != count):
        raise InputError(f"{what} must be a writable, contiguous float64 numpy array of {count} items")
    return _host.address(array)


def summary_fields(units="us"):
    """The names of the summary figures in ``units`` ("us" or "si"), as ``vesk
    run --summary`` writes them, and the unit of each: (names, {name: unit})."""
    c, code = _host.core(), _host.units_code(units)
    with LOCK:
        names = [_host.text(c.vesk_host_summary_field_name(i, code)) for i in range(c.vesk_host_summary_field_count())]
        return names, {name: _host.text(c.vesk_host_summary_field_unit(i, code)) for i, name in enumerate(names)}


class RunResult:
    """A finished run of the host core: its step, basins and results."""

    def __init__(self, handle):
        c = _host.core()
        self._handle = _host.Handle(handle, "vesk_host_run_free")
        with LOCK:
            self.step = c.vesk_host_run_step(handle)
            self.data_step = c.vesk_host_run_data_step(handle)
            self.volume_tolerance = c.vesk_host_run_volume_tolerance(handle)
            self.length = c.vesk_host_run_length(handle)
            self.units = _host.units_name(c.vesk_host_run_units(handle))
            self.end = _host.RUN_ENDS.get(c.vesk_host_run_end(handle), "dry")
            self.names = [_host.text(c.vesk_host_run_basin_name(handle, b))
                          for b in range(c.vesk_host_run_basin_count(handle))]
            self.computation_steps = {name: c.vesk_host_run_computation_step(handle, b)
                                      for b, name in enumerate(self.names)}

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        self._handle.close()

    def refusals(self):
        """The basins the library refused (with skip_refused): (name, code, message)."""
        c, h = _host.core(), self._handle.handle
        with LOCK:
            return [(_host.text(c.vesk_host_run_refused_name(h, i)), c.vesk_host_run_refused_code(h, i),
                     _host.text(c.vesk_host_run_refused_message(h, i)))
                    for i in range(c.vesk_host_run_refused_count(h))]

    def rain(self):
        array, address = _host.doubles(self.length)
        _host.core().vesk_host_run_rain(self._handle.handle, address, self.length)
        return array

    def outflow_rows(self):
        """Every basin's outflow, one row per basin (numpy: one 2-D array)."""
        count, length = len(self.names), self.length
        if numpy is not None:
            rows = numpy.empty((count, length), dtype=numpy.float64)
            if count * length:
                _host.core().vesk_host_run_outflows(self._handle.handle, _host.address(rows), count * length)
            return rows
        flat, address = _host.doubles(count * length)
        if count * length:
            _host.core().vesk_host_run_outflows(self._handle.handle, address, count * length)
        return [list(flat[b * length:(b + 1) * length]) for b in range(count)]

    def outlet(self):
        array, address = _host.doubles(self.length)
        _host.core().vesk_host_run_outlet(self._handle.handle, address, self.length)
        return array

    def provenance(self, target):
        """Writes where the numbers come from into ``target`` (a dict such as
        ``DataFrame.attrs``): the report and data steps, each basin's
        computation step and the volume tolerance they were chosen with."""
        target["time_step_min"] = self.step
        target["data_step_min"] = self.data_step
        target["computation_step_min"] = dict(self.computation_steps)
        target["volume_tolerance"] = self.volume_tolerance

    def _labels(self):
        si = self.units == "si"
        return ("rain_mm" if si else "rain_in"), ("mm" if si else "in"), ("m3/s" if si else "cfs")

    def frame(self):
        """The hydrographs: a DataFrame (see Library.run)."""
        rain_name, depth_unit, flow_unit = self._labels()
        names = list(self.names)
        outlet = len(names) > 1
        columns = [rain_name, *names, *(["outlet"] if outlet else [])]
        units = {"time_min": "min", rain_name: depth_unit, **{name: flow_unit for name in columns[1:]}}
        times = [(k + 1) * self.step for k in range(self.length)]
        if numpy is None:
            result = {"time_min": times, rain_name: list(self.rain()),
                      **dict(zip(names, self.outflow_rows()))}
            if outlet:
                result["outlet"] = list(self.outlet())
            return result
        # One block, a row per column, as pandas keeps a frame of one dtype:
        # the outflows are copied once, from the core into place.
        block = numpy.empty((len(columns), self.length), dtype=numpy.float64)
        c, h, length = _host.core(), self._handle.handle, self.length
        with LOCK:
            if length:
                c.vesk_host_run_rain(h, _host.address(block), length)
                c.vesk_host_run_outflows(h, _host.address(block[1:]), len(names) * length)
                if outlet:
                    c.vesk_host_run_outlet(h, _host.address(block[-1]), length)
        index = numpy.arange(1, length + 1, dtype=numpy.int64) * self.step
        start = self.start()
        if pandas is None:
            dated = {} if start is None else {"time": [_date_of(start + minutes) for minutes in index.tolist()]}
            return {**dated, "time_min": index, **{name: block[i] for i, name in enumerate(columns)}}
        if start is None:
            rows = pandas.Index(index, name="time_min")
        else:
            try:
                rows = pandas.DatetimeIndex(pandas.to_datetime(start + index, unit="m"), name="time")
            except (OverflowError, pandas.errors.OutOfBoundsDatetime):
                raise InputError("the storm's dates lie beyond what pandas can index (years 1678 to 2261)") from None
        frame = pandas.DataFrame(block.T, index=rows, columns=columns, copy=False)
        frame.attrs["units"] = units
        self.provenance(frame.attrs)
        return frame

    def start(self):
        """The civil minute (from 1970-01-01T00:00) the run starts at, for a
        dated storm; else None."""
        minute = ctypes.c_int64()
        with LOCK:
            if _host.core().vesk_host_run_start(self._handle.handle, ctypes.byref(minute)):
                return minute.value
        return None

    def figures(self):
        """(field names, units by name, one row of figures per basin)."""
        c, h = _host.core(), self._handle.handle
        fields, units = summary_fields(self.units)
        count, width = len(self.names), len(fields)
        figures, address = _host.doubles(count * width)
        with LOCK:
            for b in range(count):
                c.vesk_host_run_summary(h, b, address + 8 * b * width, width)
        figures = _host.as_list(figures)
        return fields, units, [figures[b * width:(b + 1) * width] for b in range(count)]

    def outlet_figures(self):
        """The outlet's figures in the order of the fields (NaN where only a
        basin has one)."""
        width = len(summary_fields(self.units)[0])
        figures, address = _host.doubles(width)
        _host.core().vesk_host_run_outlet_summary(self._handle.handle, address, width)
        return _host.as_list(figures)

    def summary(self):
        """Each basin's summary figures, led by the outlet's where several
        basins run: a DataFrame (see Library.summary)."""
        fields, units, rows = self.figures()
        names = list(self.names)
        if len(names) > 1:
            names, rows = ["outlet", *names], [self.outlet_figures(), *rows]
        if pandas is None:
            return {"basin": names, **{name: [row[i] for row in rows] for i, name in enumerate(fields)}}
        frame = pandas.DataFrame(rows, index=pandas.Index(names, name="basin", dtype=object), columns=fields,
                                 dtype="float64")
        frame.attrs["units"] = units
        self.provenance(frame.attrs)
        return frame
