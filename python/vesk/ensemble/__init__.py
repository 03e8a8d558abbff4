"""``vesk.ensemble``: many basins through many storms on a Dask cluster.

The library keeps one registry per process and runs one call at a time, so an
ensemble scales over processes: the basins are split into partitions, and
every (partition, storm) pair is one task for Dask's distributed scheduler.
A task opens its own ``vesk.Library`` in the worker process, adds its
partition from fresh state, runs the storm and frees the library.  Basins do
not interact, so the numbers are those of a serial run, bit for bit.

``run(basins, storms)`` starts a local cluster on 127.0.0.1 with one
single-threaded worker process per core; pass ``client=`` a
``distributed.Client`` to use any cluster.  ``run_serial`` does the same work
in this process.  ``python -m vesk.ensemble`` is the command-line entry.
"""

import ctypes
import os
import threading
import warnings

from .. import _binding
from ..errors import VeskError, VeskWarning
from ..library import Library, _named_basins, _storm_and_step
from ..storm import Storm

try:
    import pandas
except ImportError:  # pragma: no cover - the ensemble's results need pandas
    pandas = None

#: One inch over one square mile in acre-feet (640 acres, 12 inches a foot).
ACRE_FT_PER_INCH_SQ_MI = 640.0 / 12.0
#: One cfs for one minute in acre-feet (60 s, 43,560 sq ft an acre).
ACRE_FT_PER_CFS_MINUTE = 60.0 / 43560.0

COLUMNS = ["error", "peak_outflow_cfs", "peak_time_min", "rain_volume_acft", "runoff_volume_acft",
           "outflow_volume_acft"]
UNITS = {"peak_outflow_cfs": "cfs", "peak_time_min": "min", "rain_volume_acft": "acre-ft",
         "runoff_volume_acft": "acre-ft", "outflow_volume_acft": "acre-ft", "hydrograph_cfs": "cfs"}

# A worker process may run several threads; the library may not.
_PROCESS_LOCK = threading.Lock()


def named_storms(storms):
    """Storms as an ordered dict name -> Storm or depths (a list is named by position)."""
    if isinstance(storms, dict):
        named = dict(storms)
    else:
        named = {str(index): storm for index, storm in enumerate(storms)}
    if not named:
        raise ValueError("an ensemble needs at least one storm")
    return named


def partitions(items, size):
    """Consecutive slices of at most ``size`` items."""
    if size < 1:
        raise ValueError(f"partition_size {size} is not at least 1")
    return [items[start:start + size] for start in range(0, len(items), size)]


def _trimmed(series, storm_steps):
    """A hydrograph without the dry steps that only the run's length adds."""
    end = len(series)
    while end > storm_steps and series[end - 1] == 0.0:
        end -= 1
    return series[:end]


def _add_partition(lib, partition, step):
    """Adds each basin, collecting refusals by name instead of stopping."""
    added, errors = [], {}
    for name, basin in partition:
        try:
            lib.add(name, basin, step)
            added.append((name, basin))
        except (VeskError, ValueError, TypeError) as error:
            errors[name] = type(error).__name__
            if getattr(error, "basins_dropped", False):  # the earlier level started afresh
                for kept, kept_basin in added:
                    lib.add(kept, kept_basin, step)
    return [name for name, _ in added], errors


def _step_partition(lib, names, depths, step):
    """Outflow series and summed excess depth of each stored basin.

    The same library calls as ``Library.run`` (so the same bits), made
    straight through the typed exports: an ensemble takes millions of steps
    and the per-call bookkeeping of ``Library.step`` would dominate them.
    """
    raw, block = lib.raw, lib._records.step()
    block_ref = ctypes.byref(block)
    encoded = [_binding.encode_text(name) for name in names]
    flows = [[] for _ in names]
    excess = [0.0] * len(names)
    limit = lib._step_limit(names, depths, step)
    for k in range(limit):
        if k >= len(depths) and k > 0 and all(series[-1] == 0.0 for series in flows):
            break
        rain = depths[k] if k < len(depths) else 0.0
        time = (k + 1) * step
        for index, name in enumerate(encoded):
            flows[index].append(raw.vesk_execute(name, rain, time))
            raw.vesk_getbasin_precip(name, block_ref)
            excess[index] += block.stepExcess
        lib._check("vesk_execute", "a basin of the partition was not stepped")
    return dict(zip(names, flows)), dict(zip(names, excess))


def run_partition(level, partition, storm_name, depths, step, hydrographs=False):
    """One task: the basins of ``partition`` [(name, Basin)] through one storm.

    Returns one row per basin: (basin, storm, error name or None, peak outflow
    cfs, peak time min, rain, runoff and outflow volumes acre-ft[, hydrograph]).
    """
    with _PROCESS_LOCK, warnings.catch_warnings(), Library(level) as lib:
        warnings.simplefilter("ignore", VeskWarning)
        names, errors = _add_partition(lib, partition, step)
        flows, excess = _step_partition(lib, names, depths, step)
    rain_depth = sum(depths)
    rows = []
    for name, basin in partition:
        if name in errors:
            rows.append((name, storm_name, errors[name], *([None] * 5), *([None] if hydrographs else [])))
            continue
        series = flows[name]
        peak = max(series, default=0.0)
        per_inch = basin.area * ACRE_FT_PER_INCH_SQ_MI
        row = (name, storm_name, None, peak, (series.index(peak) + 1) * step, rain_depth * per_inch,
               excess[name] * per_inch, sum(series) * step * ACRE_FT_PER_CFS_MINUTE)
        if hydrographs:
            row += (_trimmed(series, len(depths)),)
        rows.append(row)
    return rows


def _tasks(basins, storms, partition_size):
    named = _named_basins(basins)
    storms = named_storms(storms)
    plans = {}
    for storm_name, storm in storms.items():
        depths, step = _storm_and_step(named, storm, None)
        plans[storm_name] = (depths, step)
    return named, storms, partitions(list(named.items()), partition_size), plans


def _frame(named, storms, results, hydrographs):
    rows = {(row[0], row[1]): row[2:] for rows in results for row in rows}
    index = pandas.MultiIndex.from_product([list(named), list(storms)], names=["basin", "storm"])
    columns = COLUMNS + (["hydrograph_cfs"] if hydrographs else [])
    frame = pandas.DataFrame([rows[key] for key in index], index=index, columns=columns)
    for column in COLUMNS[1:]:
        frame[column] = frame[column].astype("float64")
    frame.attrs["units"] = {column: UNITS[column] for column in columns if column in UNITS}
    return frame


def run_serial(basins, storms, partition_size=1000, level="current", hydrographs=False):
    """The ensemble in this process, task after task: the reference for ``run``."""
    named, storms, parts, plans = _tasks(basins, storms, partition_size)
    results = [run_partition(level, part, storm_name, depths, step, hydrographs)
               for part in parts for storm_name, (depths, step) in plans.items()]
    return _frame(named, storms, results, hydrographs)


def local_cluster(workers=None):
    """A LocalCluster on 127.0.0.1: ``workers`` single-threaded worker
    processes (one per core by default), no dashboard."""
    from distributed import LocalCluster

    return LocalCluster(n_workers=workers or os.cpu_count() or 1, threads_per_worker=1, processes=True,
                        host="127.0.0.1", dashboard_address=None)


def run(basins, storms, client=None, partition_size=1000, level="current", hydrographs=False, progress=False):
    """Every basin through every storm on a Dask cluster.

    ``basins``: dict name -> Basin or Basins with names (``read_basin_table``).
    ``storms``: dict name -> Storm (or depths), or a list (named "0", "1", ...).
    ``client``: a ``distributed.Client``; None starts a local cluster for the
    call.  ``partition_size``: basins per task.  ``hydrographs``: also return
    each outflow series (cfs per step, trailing dry steps after the storm cut).

    Returns a DataFrame indexed by (basin, storm) with ``error`` (the
    exception's name where a basin was refused, else None) and the peak
    outflow (cfs), its time (min), and the rain, runoff and outflow volumes
    (acre-ft); units in ``frame.attrs["units"]``.  A worker that dies is
    replaced and its tasks rerun by the scheduler.
    """
    from distributed import Client

    named, storms, parts, plans = _tasks(basins, storms, partition_size)
    own_cluster = None
    if client is None:
        own_cluster = local_cluster()
        client = Client(own_cluster)
    try:
        # The partitions travel inside the tasks (not scattered), so a task
        # whose worker dies can be rerun anywhere.
        futures = [client.submit(run_partition, level, part, storm_name, depths, step, hydrographs, pure=False)
                   for part in parts for storm_name, (depths, step) in plans.items()]
        if progress:
            _show_progress(futures)
        results = client.gather(futures)
    finally:
        if own_cluster is not None:
            client.close()
            own_cluster.close()
    return _frame(named, storms, results, hydrographs)


def _show_progress(futures):
    """Dask's text progress bar, on standard error."""
    import contextlib
    import sys

    from distributed import progress

    with contextlib.redirect_stdout(sys.stderr):
        progress(futures, notebook=False)
        sys.stderr.write("\n")


__all__ = ["run", "run_serial", "run_partition", "local_cluster", "named_storms", "partitions", "Storm",
           "COLUMNS", "UNITS"]
