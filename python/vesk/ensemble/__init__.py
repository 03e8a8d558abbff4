"""``vesk.ensemble``: many basins through many storms on a Dask cluster.

The library keeps one registry per process and runs one call at a time, so an
ensemble scales over processes: the basins are split into partitions, and
every partition is one task for Dask's distributed scheduler.  A task opens
its own ``vesk.Library`` in the worker process, checks its basins once, runs
them through each storm in one call of the host core from fresh state
(leaving out, and naming, the basins refused) and frees the library.  Basins
do not interact, so the numbers are those of a serial run, bit for bit.

``run(basins, storms)`` starts a local cluster on 127.0.0.1 with one
single-threaded worker process per core; pass ``client=`` a
``distributed.Client`` to use any cluster.  ``run_serial`` does the same work
in this process.  ``python -m vesk.ensemble`` is the command-line entry.
"""

import os
import warnings

from .._binding import LOCK
from ..basin import BasinSet, basin_set
from ..errors import InputError, VeskWarning, error_class
from ..library import Library
from ..library import summary_fields as library_summary_fields
from ..storm import Storm, core_storm

try:
    import pandas
except ImportError:  # pragma: no cover - the ensemble's results need pandas
    pandas = None


def summary_fields():
    """The summary figures each row holds: (names, units by name), the host
    core's, as ``vesk run --summary`` names them."""
    return library_summary_fields("us")


def __getattr__(name):
    # COLUMNS and UNITS come from the core, loaded on first use.
    if name == "COLUMNS":
        return ["error", *summary_fields()[0]]
    if name == "UNITS":
        return {**summary_fields()[1], "hydrograph_cfs": "cfs"}
    raise AttributeError(name)


def named_storms(storms):
    """Storms as an ordered dict name -> Storm or depths (a list is named by position)."""
    if isinstance(storms, dict):
        named = dict(storms)
    else:
        named = {str(index): storm for index, storm in enumerate(storms)}
    if not named:
        raise InputError("an ensemble needs at least one storm")
    return named


def partitions(items, size):
    """Consecutive slices of at most ``size`` items."""
    if size < 1:
        raise InputError(f"partition_size {size} is not at least 1")
    return [items[start:start + size] for start in range(0, len(items), size)]


def _trimmed(series, storm_steps):
    """A hydrograph without the dry steps that only the run's length adds."""
    end = len(series)
    while end > storm_steps and series[end - 1] == 0.0:
        end -= 1
    return series[:end]


def run_partition(level, partition, storms, hydrographs=False):
    """One task: the basins of ``partition`` [(name, Basin)] through each of
    ``storms`` {name: Storm or depths}, checked once and run once a storm by
    the host core, which leaves out the basins the library refuses.

    Returns one row per basin and storm: (basin, storm, error name or None,
    the summary figures[, hydrograph]).  A basin the checks or the library
    refuse gets the exception's class name and no figures.
    """
    checks = {}
    found = {}  # storm name -> (library refusals, figures by basin, flows by basin)
    with LOCK, warnings.catch_warnings(), Library(level) as lib:
        warnings.simplefilter("ignore", VeskWarning)
        chosen = BasinSet(dict(partition))
        chosen.core_handle(refused=lambda name, error: checks.setdefault(name, type(error).__name__))
        for storm_name, storm in storms.items():
            refused, figures, flows = {}, {}, {}
            if len(chosen):
                with lib._run(chosen, storm, skip_refused=True) as result:
                    refused = {name: error_class(code).__name__ for name, code, _ in result.refusals()}
                    figures = dict(zip(result.names, result.figures()[2]))
                    if hydrographs:
                        flows = dict(zip(result.names, (list(series) for series in result.outflow_rows())))
            found[storm_name] = refused, figures, flows
        width = len(summary_fields()[0])
    rows = []
    for storm_name, storm in storms.items():
        refused, figures, flows = found[storm_name]
        for name, _ in partition:
            error = checks.get(name) or refused.get(name)
            if error:
                rows.append((name, storm_name, error, *([None] * width), *([None] if hydrographs else [])))
                continue
            row = (name, storm_name, None, *figures[name])
            if hydrographs:
                row += (_trimmed(flows[name], len(storm)),)
            rows.append(row)
    return rows


def _tasks(basins, storms, partition_size):
    named = basin_set(basins)
    storms = named_storms(storms)
    for storm in storms.values():
        core_storm(storm).close()  # every storm's depths checked before any task starts
    return list(named), storms, partitions(list(named.items()), partition_size)


def _frame(names, storms, results, hydrographs):
    fields, units = summary_fields()
    rows = {(row[0], row[1]): row[2:] for rows in results for row in rows}
    index = pandas.MultiIndex.from_product([names, list(storms)], names=["basin", "storm"])
    columns = ["error", *fields] + (["hydrograph_cfs"] if hydrographs else [])
    frame = pandas.DataFrame([rows[key] for key in index], index=index, columns=columns)
    for column in fields:
        frame[column] = frame[column].astype("float64")
    frame.attrs["units"] = {**units, **({"hydrograph_cfs": "cfs"} if hydrographs else {})}
    return frame


def run_serial(basins, storms, partition_size=1000, level="current", hydrographs=False):
    """The ensemble in this process, task after task: the reference for ``run``."""
    names, storms, parts = _tasks(basins, storms, partition_size)
    results = [run_partition(level, part, storms, hydrographs) for part in parts]
    return _frame(names, storms, results, hydrographs)


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
    exception's class name where the checks or the library refused a basin,
    else None) and the summary figures of ``vesk run --summary``
    (``peak_outflow_cfs``, ``peak_outflow_time_min``,
    ``rain_volume_acre_ft``, ``runoff_volume_acre_ft``,
    ``outflow_volume_acre_ft``, ``runoff_coefficient``, ...); units in
    ``frame.attrs["units"]``.  A worker that dies is replaced and its tasks
    rerun by the scheduler.
    """
    from distributed import Client

    names, storms, parts = _tasks(basins, storms, partition_size)
    own_cluster = None
    if client is None:
        own_cluster = local_cluster()
        client = Client(own_cluster)
    try:
        # The partitions travel inside the tasks (not scattered), so a task
        # whose worker dies can be rerun anywhere.
        futures = [client.submit(run_partition, level, part, storms, hydrographs, pure=False) for part in parts]
        if progress:
            _show_progress(futures)
        results = client.gather(futures)
    finally:
        if own_cluster is not None:
            client.close()
            own_cluster.close()
    return _frame(names, storms, results, hydrographs)


def _show_progress(futures):
    """Dask's text progress bar, on standard error."""
    import contextlib
    import sys

    from distributed import progress

    with contextlib.redirect_stdout(sys.stderr):
        progress(futures, notebook=False)
        sys.stderr.write("\n")


__all__ = ["run", "run_serial", "run_partition", "local_cluster", "named_storms", "partitions", "Storm",
           "summary_fields", "COLUMNS", "UNITS"]
