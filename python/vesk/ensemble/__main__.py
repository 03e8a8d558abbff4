"""python -m vesk.ensemble BASIN_TABLE STORM... [--scheduler ADDRESS] [--out results.csv]

Runs every basin of a CSV basin table through every storm file and writes one
CSV row per basin and storm (to standard output without --out): the columns
of `vesk run --summary` with the storm, and error and message for a refused
basin.  Without --scheduler a local cluster on 127.0.0.1 is started when the
work is large enough for it to pay off (one worker per core), else the work
runs in this process.  A line on standard error sums it up.
"""

import argparse
import os
import sys
import time

from vesk.ensemble import run
from vesk.errors import VeskError
from vesk.storm import read_storm
from vesk.table import read_basin_table


def whole_number(text):
    """An option's value that must be a whole number of at least 1."""
    try:
        value = int(text)
    except ValueError:
        value = None
    if value is None or value < 1:
        raise argparse.ArgumentTypeError(f"takes a whole number of at least 1, not {text!r}")
    return value


def percentage(text):
    try:
        value = float(text)
    except ValueError:
        value = None
    if value is None or not 0.0 < value < 100.0:
        raise argparse.ArgumentTypeError(f"takes a percentage above 0 and below 100, not {text!r}")
    return value


def arguments(argv):
    parser = argparse.ArgumentParser(prog="python -m vesk.ensemble", description=__doc__.split("\n\n")[1])
    parser.add_argument("basin_table", help="CSV basin table")
    parser.add_argument("storms", nargs="+", metavar="STORM", help="storm CSV files (named by file name)")
    parser.add_argument("--scheduler", metavar="ADDRESS", help="a running scheduler, e.g. tcp://host:8786")
    parser.add_argument("--workers", type=whole_number, help="local worker processes (default: one per core)")
    parser.add_argument("--out", metavar="FILE", help="results CSV (default: standard output)")
    parser.add_argument("--partition-size", type=whole_number,
                        help="basins per task (default: chosen from the workers and the work per basin)")
    parser.add_argument("--units", choices=("us", "si"), default="us", help="units of the basin table")
    parser.add_argument("--level", choices=("current", "earlier"), default="current")
    parser.add_argument("--volume-tolerance", type=percentage, metavar="PCT",
                        help="percent by which each basin's sampled unit hydrograph may miss one inch (default: 2)")
    options = parser.parse_args(argv)
    if options.scheduler and options.workers:
        parser.error("--workers sizes a local cluster; it does not combine with --scheduler")
    if options.out:
        for path in [options.basin_table, *options.storms]:
            if _same_file(options.out, path):
                parser.error(f"--out {options.out} would overwrite the input file {path}; choose another output name")
    return options


def _same_file(a, b):
    try:
        return os.path.samefile(a, b)
    except OSError:
        return os.path.abspath(a) == os.path.abspath(b)


def storm_names(paths):
    names = {}
    for path in paths:
        name = os.path.splitext(os.path.basename(path))[0]
        if name in names:
            raise ValueError(f"two storms are named {name!r} ({names[name]} and {path})")
        names[name] = path
    return names


def _count(number, word):
    return f"{number} {word}{'' if number == 1 else 's'}"


def main(argv=None):
    options = arguments(argv)
    started = time.perf_counter()
    try:
        basins = read_basin_table(options.basin_table, options.units)
        storms = {name: read_storm(path) for name, path in storm_names(options.storms).items()}
    except (OSError, ValueError, VeskError) as error:
        print(f"error: {error}", file=sys.stderr)
        return 1
    tolerance = None if options.volume_tolerance is None else options.volume_tolerance / 100.0
    client = None
    if options.scheduler:
        from distributed import Client

        try:
            client = Client(options.scheduler, timeout=30)
        except (OSError, ValueError) as error:
            print(f"error: cannot reach the scheduler {options.scheduler}: {error}", file=sys.stderr)
            return 1
    try:
        results = run(basins, storms, client=client, partition_size=options.partition_size, level=options.level,
                      progress=sys.stderr.isatty(), workers=options.workers,
                      volume_tolerance=tolerance)
    except VeskError as error:
        print(f"error: {error}", file=sys.stderr)
        return 1
    finally:
        if client is not None:
            client.close()
    results.to_csv(options.out if options.out else sys.stdout)
    refused = int(results["error"].notna().sum())
    where = "in this process" if results.attrs["scheduler"] == "this process" else \
        f"on {_count(results.attrs['workers'], 'worker')} ({results.attrs['scheduler']})"
    print(f"vesk.ensemble: {_count(len(basins), 'basin')} x {_count(len(storms), 'storm')}, {refused} refused"
          f"{' (see the error and message columns)' if refused else ''}, {time.perf_counter() - started:.1f} s "
          f"{where}, {_count(results.attrs['tasks'], 'task')}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
