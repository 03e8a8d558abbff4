"""``vesk.ensemble``: many basins through many storms, on a Dask cluster.

The library keeps one registry per process and runs one call at a time, so an
ensemble scales over processes.  The client checks every basin once with the
host core and splits the accepted ones into partitions; every partition is
one task for Dask's distributed scheduler.  A task opens a ``vesk.Library``
in its worker process, runs its basins through each storm with one call of
the host core's run loop (the one ``vesk run`` uses), leaving out and naming
the basins the library refuses, and copies the figures out of the core in
one call a storm.  Basins do not interact, so the numbers are those of a
serial run, bit for bit, whatever the partitions.

``run(basins, storms)`` uses a ``distributed.Client`` given as ``client=``,
or else starts a local cluster on 127.0.0.1 for the call (one
single-threaded worker process per core) when the work is large enough for
it to pay off, and otherwise runs in this process.  ``run_serial`` always
runs in this process.  ``python -m vesk.ensemble`` is the command-line
entry.

Results: a DataFrame indexed by (basin, storm) with the summary figures of
``vesk run --summary`` (names, units and meaning from the host core), the
``error`` class and ``message`` of a refused basin; with
``hydrographs=True`` also every outflow series, as an ``xarray.DataArray``
(basin x storm x time) or, without xarray, a long-form DataFrame.
"""

import math
import os
import warnings
from typing import NamedTuple

import numpy
import pandas

from ..errors import InputError
from ..storm import Storm, core_storm
from ._guard import MissingMainGuard, check_main_guard, check_not_in_worker_import
from ._partition import pack, run_partition, summary_fields

#: Seconds the host core takes for one basin through one minute of storm
#: (its drain after the storm and its sub-steps included), measured on a
#: 2-core machine with urban basins and storms of 288 five-minute steps in
#: runs of at most BASINS_PER_RUN basins (about 0.28 µs a basin and step):
#: what the partition size and the choice of a cluster are estimated from.
SECONDS_PER_BASIN_MINUTE = 6e-8
#: The most basins in one run of the core.  Its run loop steps every basin of
#: a run at each step, so a larger run's basins no longer stay in the
#: processor's cache and every basin and step costs more (measured on the
#: same machine, 32 MiB of L3 cache: 0.28 µs up to 2,000 basins a run, 0.35
#: at 4,000, 0.55 at 8,000, 0.70 at 16,000).
BASINS_PER_RUN = 2000
#: A task takes at least this long (the scheduler spends about 2 ms on each
#: task, and a task opens the library and packs its results) and at most
#: this long (a worker that dies loses little, results stay small).
TASK_SECONDS = (0.1, 10.0)
#: Tasks per worker when the work allows: they even out the workers' loads.
TASKS_PER_WORKER = 4
#: Seconds a 2-worker local cluster takes to start and stop on a 2-core
#: machine, the workers' imports included (measured: 1.5 to 2.2 s).
CLUSTER_START_SECONDS = 2.0
#: The most bytes of hydrographs one task sends back.
HYDROGRAPH_BYTES_PER_TASK = 256 * 2**20
#: The step assumed for a storm of depths without times (min).
ASSUMED_STEP = 5


class EnsembleResult(NamedTuple):
    """What ``run(..., hydrographs=True)`` returns: ``summary`` (the
    DataFrame ``run`` returns without hydrographs) and ``hydrographs`` (an
    ``xarray.DataArray``, or a long-form DataFrame without xarray)."""

    summary: pandas.DataFrame
    hydrographs: object


def __getattr__(name):
    # COLUMNS and UNITS come from the core, loaded on first use.
    if name == "COLUMNS":
        return [*summary_fields()[0], "error", "message"]
    if name == "UNITS":
        return dict(summary_fields()[1])
    raise AttributeError(name)


def named_storms(storms):
    """Storms as an ordered dict name -> Storm or depths (a list is named by position)."""
    if isinstance(storms, dict):
        named = {str(name): storm for name, storm in storms.items()}
    else:
        named = {str(index): storm for index, storm in enumerate(storms)}
    if not named:
        raise InputError("an ensemble needs at least one storm")
    return named


def _storm_minutes(storm):
    step = storm.step if isinstance(storm, Storm) and storm.step else ASSUMED_STEP
    return len(storm) * step


def estimated_seconds(basin_count, storms):
    """The host core's time for ``basin_count`` basins through ``storms`` in
    one process, estimated from SECONDS_PER_BASIN_MINUTE."""
    return basin_count * SECONDS_PER_BASIN_MINUTE * sum(_storm_minutes(s) for s in named_storms(storms).values())


def partition_size(basin_count, storms, workers=1, hydrographs=False):
    """Basins per task: TASKS_PER_WORKER tasks on each worker, more when a
    task would take longer than TASK_SECONDS[1] (estimated) or hold more
    than BASINS_PER_RUN basins, fewer when it would take less than
    TASK_SECONDS[0], the same number for every worker where the work allows,
    and no more than HYDROGRAPH_BYTES_PER_TASK of hydrographs a task."""
    storms = named_storms(storms)
    workers = max(1, workers)
    if basin_count < 1:
        return 1
    per_basin = estimated_seconds(1, storms)
    largest = max(1, min(BASINS_PER_RUN, math.floor(TASK_SECONDS[1] / per_basin)))
    smallest = math.ceil(TASK_SECONDS[0] / per_basin)
    tasks = max(workers * TASKS_PER_WORKER, math.ceil(basin_count / largest))
    tasks = math.ceil(tasks / workers) * workers
    tasks = max(1, min(tasks, basin_count // smallest))
    size = math.ceil(basin_count / tasks)
    if hydrographs:
        # Each series is the storm and its drain; twice the storm allows for it.
        steps = sum(2 * len(storm) for storm in storms.values())
        size = min(size, max(1, HYDROGRAPH_BYTES_PER_TASK // (8 * max(1, steps))))
    return size


def cluster_pays_off(basin_count, storms, workers):
    """True when ``workers`` local worker processes are estimated to finish
    sooner than this process alone, their start-up included: the estimated
    serial time exceeds CLUSTER_START_SECONDS * workers / (workers - 1)."""
    if workers < 2:
        return False
    return estimated_seconds(basin_count, storms) > CLUSTER_START_SECONDS * workers / (workers - 1)


def _checked_size(size):
    if isinstance(size, bool) or not isinstance(size, int) or size < 1:
        raise InputError(f"partition_size {size!r} is not a whole number of at least 1")
    return size


class _Ensemble:
    """The work of one call: the basins checked and packed, the storms
    checked, the options of every task."""

    def __init__(self, basins, storms, level, hydrographs, volume_tolerance):
        self.storms = named_storms(storms)
        for storm in self.storms.values():
            core_storm(storm).close()  # every storm's depths checked before any task starts
        self.names, self.packed, self.refused = pack(basins)
        self.level = level
        self.hydrographs = hydrographs
        self.volume_tolerance = volume_tolerance
        # Storms of different steps report their hydrographs on one grid.
        steps = {storm.step for storm in self.storms.values() if isinstance(storm, Storm) and storm.step}
        self.report_step = math.gcd(*steps) if hydrographs and len(steps) > 1 else None

    def size(self, given, workers):
        if given is not None:
            return _checked_size(given)
        return partition_size(max(1, len(self.packed)), self.storms, workers, self.hydrographs)

    def tasks(self, size):
        """(start, Packed) for each partition."""
        return [(start, self.packed.part(start, start + size)) for start in range(0, len(self.packed), size)]

    def arguments(self, start, part):
        return (self.level, start, part, self.storms, self.hydrographs, self.report_step, self.volume_tolerance)

    def results(self, parts, where, workers, size, task_count):
        summary = self._summary(parts)
        summary.attrs.update(scheduler=where, workers=workers, partition_size=size, tasks=task_count)
        if not self.hydrographs:
            return summary
        return EnsembleResult(summary, self._hydrographs(parts, summary.attrs))

    def _summary(self, parts):
        fields, units = summary_fields()
        storm_names = list(self.storms)
        n, m = len(self.names), len(storm_names)
        figures = numpy.full((n, m, len(fields)), numpy.nan)
        errors = numpy.full((n, m), None, dtype=object)
        messages = numpy.full((n, m), None, dtype=object)
        for position, (error, message) in self.refused.items():
            errors[position, :], messages[position, :] = error, message
        data_steps, tolerance = {}, None
        for part in parts:
            for s, name in enumerate(storm_names):
                found = part.storms[name]
                rows = self.packed.positions[part.start:part.start + len(found.figures)]
                figures[rows, s] = found.figures
                for row, (error, message) in found.refused.items():
                    errors[rows[row], s], messages[rows[row], s] = error, message
                data_steps.setdefault(name, found.data_step)
                tolerance = found.tolerance
        index = pandas.MultiIndex.from_product([pandas.Index(self.names, dtype=object), storm_names],
                                               names=["basin", "storm"])
        frame = pandas.DataFrame(figures.reshape(n * m, len(fields)), index=index, columns=fields)
        frame["error"] = errors.reshape(-1)
        frame["message"] = messages.reshape(-1)
        frame.attrs["units"] = dict(units)
        frame.attrs["data_step_min"] = data_steps
        frame.attrs["volume_tolerance"] = tolerance if tolerance is not None else self.volume_tolerance
        return frame

    def _hydrographs(self, parts, attrs):
        storm_names = list(self.storms)
        steps = {part.storms[name].report_step for part in parts for name in storm_names}
        if len(steps) > 1:
            raise InputError(f"the storms' hydrographs came at different steps ({sorted(steps)} min): a storm "
                             "without times takes the basins' uh_time_step, which differ; give each storm its step")
        step = steps.pop() if steps else 0
        length = max((part.storms[name].flows.shape[1] for part in parts for name in storm_names), default=0)
        # Each series ends when its run is dry: the rest of the common time
        # axis is that dry tail, outflow 0 (NaN after a run that ended wet).
        flows = numpy.full((len(self.names), len(storm_names), length), numpy.nan)
        for part in parts:
            for s, name in enumerate(storm_names):
                found = part.storms[name]
                rows = self.packed.positions[part.start:part.start + len(found.flows)]
                own = found.flows.shape[1]
                flows[rows, s, :own] = found.flows
                if found.dry:
                    ran = rows[~numpy.isnan(found.figures[:, 0])]
                    flows[ran, s, own:] = 0.0
        times = numpy.arange(1, length + 1, dtype=numpy.int64) * step
        starts = [_storm_start(storm) for storm in self.storms.values()]
        meta = {"units": "cfs", "time_step_min": step, "volume_tolerance": attrs["volume_tolerance"]}
        xarray = _xarray()
        if xarray is None:
            return _long_form(self.names, storm_names, times, flows, starts, meta)
        coords = {"basin": pandas.Index(self.names, dtype=object), "storm": pandas.Index(storm_names, dtype=object),
                  "time": times}
        if any(start is not None for start in starts):
            coords["datetime"] = (("storm", "time"), _datetimes(starts, times))
        array = xarray.DataArray(flows, dims=("basin", "storm", "time"), coords=coords, name="outflow_cfs",
                                 attrs=meta)
        array["time"].attrs.update(units="min", long_name="minutes from the storm's start to the end of each step")
        return array


def _storm_start(storm):
    """Where dated storms come in: the moment a storm's first step begins,
    as numpy.datetime64, when the storm is dated (its ``start``),
    else None.  The hydrographs then also carry each step's end as a date."""
    start = getattr(storm, "start", None)
    return None if start is None else numpy.datetime64(start, "s")


def _datetimes(starts, times):
    """(storm, time) -> the date at the end of each step (NaT for an undated storm)."""
    offsets = times.astype("timedelta64[m]")
    return numpy.array([numpy.full(len(times), numpy.datetime64("NaT", "s")) if start is None else start + offsets
                        for start in starts], dtype="datetime64[s]").reshape(len(starts), len(times))


def _xarray():
    try:
        import xarray
    except ImportError:
        return None
    return xarray


def _long_form(names, storm_names, times, flows, starts, meta):
    """The hydrographs as rows of (basin, storm, time_min, outflow_cfs)."""
    n, m, length = flows.shape
    columns = {
        "basin": numpy.repeat(numpy.asarray(names, dtype=object), m * length),
        "storm": numpy.tile(numpy.repeat(numpy.asarray(storm_names, dtype=object), length), n),
        "time_min": numpy.tile(times, n * m),
    }
    if any(start is not None for start in starts):
        columns["datetime"] = numpy.tile(_datetimes(starts, times).reshape(-1), n)
    columns["outflow_cfs"] = flows.reshape(-1)
    frame = pandas.DataFrame(columns)
    frame.attrs.update(meta, units={"time_min": "min", "outflow_cfs": "cfs"})
    return frame


def run_serial(basins, storms, partition_size=None, level="current", hydrographs=False, volume_tolerance=None):
    """The ensemble in this process, partition after partition: what ``run``
    does without a cluster, and its reference.  Arguments and results as
    ``run``'s."""
    return _in_this_process(_Ensemble(basins, storms, level, hydrographs, volume_tolerance), partition_size)


def _in_this_process(work, partition_size):
    size = work.size(partition_size, 1)
    tasks = work.tasks(size)
    parts = [run_partition(*work.arguments(start, part)) for start, part in tasks]
    return work.results(parts, "this process", 1, size, len(tasks))


def local_cluster(workers=None):
    """A LocalCluster on 127.0.0.1: ``workers`` single-threaded worker
    processes (one per core by default), no dashboard (the scheduler's
    health page on a free port of 127.0.0.1).  Refused (MissingMainGuard)
    from a script's top level outside ``if __name__ == "__main__":``."""
    check_main_guard("vesk.ensemble.local_cluster")
    from distributed import LocalCluster

    return LocalCluster(n_workers=workers or os.cpu_count() or 1, threads_per_worker=1, processes=True,
                        host="127.0.0.1", dashboard_address=None,
                        scheduler_kwargs={"dashboard_address": "127.0.0.1:0"})


def run(basins, storms, client=None, partition_size=None, level="current", hydrographs=False, progress=False,
        workers=None, volume_tolerance=None):
    """Every basin through every storm, on a Dask cluster.

    ``basins``: a BasinSet (``read_basin_table``), a dict name -> Basin or
    Basins with names.  ``storms``: dict name -> Storm (or depths), or a
    list (named "0", "1", ...).

    ``client``: a ``distributed.Client``.  None: when ``cluster_pays_off``
    (the estimated work exceeds what starting ``workers`` local worker
    processes costs; one per core by default) a local cluster is started for
    the call, else the work runs in this process.  A script that calls this
    must do it under ``if __name__ == "__main__":`` (else MissingMainGuard,
    at once, whichever way the work would run).

    ``partition_size``: basins per task; None chooses it from the workers
    and the work per basin (``partition_size()``).  ``volume_tolerance``: as
    ``Library.run``'s.  ``progress``: Dask's progress bar on standard error.

    Returns a DataFrame indexed by (basin, storm) with the summary figures of
    ``vesk run --summary`` (``area_sq_mi``, ..., ``computation_step_min``,
    ``peak_outflow_cfs``, ``peak_outflow_time_min``,
    ``rain_volume_acre_ft``, ..., ``runoff_coefficient``), then ``error``
    and ``message``: for a basin the checks or the library refuse, the
    exception's class name and the core's sentence saying which value or
    why, and no figures.  ``attrs``: ``units`` (by column),
    ``data_step_min`` (by storm), ``volume_tolerance``, ``scheduler`` (its
    address, or "this process"), ``workers`` (worker threads when the tasks
    were submitted; 1 in this process), ``partition_size`` and ``tasks``.

    ``hydrographs=True`` returns ``EnsembleResult(summary, hydrographs)``
    (a named tuple): with xarray an ``xarray.DataArray`` named
    ``outflow_cfs`` of dimensions (basin, storm, time), ``time`` in minutes
    from the storm's start to the end of each step (the storms' common step:
    the greatest common divisor of their steps), every series padded with
    its dry tail (zeros) to the longest, NaN for a refused basin; without
    xarray a DataFrame of the same values with columns ``basin``,
    ``storm``, ``time_min`` and ``outflow_cfs``.

    A worker that dies is replaced and its tasks rerun by the scheduler.
    """
    if client is None:
        check_main_guard("vesk.ensemble.run")
    else:
        check_not_in_worker_import("vesk.ensemble.run")
    work = _Ensemble(basins, storms, level, hydrographs, volume_tolerance)
    own_cluster = None
    if client is None:
        workers = workers or os.cpu_count() or 1
        if not cluster_pays_off(len(work.packed), work.storms, workers):
            return _in_this_process(work, partition_size)
        from distributed import Client

        own_cluster = local_cluster(workers)
        client = Client(own_cluster)
    try:
        workers = max(1, sum(client.nthreads().values()))
        size = work.size(partition_size, workers)
        tasks = work.tasks(size)
        # The partitions travel inside the tasks (not scattered), so a task
        # whose worker dies can be rerun anywhere; Dask's advice to scatter
        # them does not apply.
        with warnings.catch_warnings():
            warnings.filterwarnings("ignore", "Large object of size", UserWarning)
            futures = [client.submit(run_partition, *work.arguments(start, part), pure=False)
                       for start, part in tasks]
        if progress:
            _show_progress(futures)
        parts = client.gather(futures)
        where = client.scheduler.address
    finally:
        if own_cluster is not None:
            client.close()
            own_cluster.close()
    return work.results(parts, where, workers, size, len(tasks))


def _show_progress(futures):
    """Dask's text progress bar, on standard error."""
    import contextlib
    import sys

    from distributed import progress

    with contextlib.redirect_stdout(sys.stderr):
        progress(futures, notebook=False)
        sys.stderr.write("\n")


__all__ = ["run", "run_serial", "run_partition", "local_cluster", "named_storms", "partition_size",
           "cluster_pays_off", "estimated_seconds", "summary_fields", "EnsembleResult", "MissingMainGuard",
           "Storm", "COLUMNS", "UNITS"]
