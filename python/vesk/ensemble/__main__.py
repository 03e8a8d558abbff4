"""python -m vesk.ensemble BASIN_TABLE STORM... [--scheduler ADDRESS] [--out results.csv]

Runs every basin of a CSV basin table through every storm file and writes one
CSV row per basin and storm (to standard output without --out).  Without
--scheduler a local cluster on 127.0.0.1 is started, one worker per core.
"""

import argparse
import os
import sys

from vesk.errors import VeskError
from vesk.ensemble import local_cluster, run
from vesk.storm import read_storm
from vesk.table import read_basin_table


def arguments(argv):
    parser = argparse.ArgumentParser(prog="python -m vesk.ensemble", description=__doc__.split("\n\n")[1])
    parser.add_argument("basin_table", help="CSV basin table")
    parser.add_argument("storms", nargs="+", metavar="STORM", help="storm CSV files (named by file name)")
    parser.add_argument("--scheduler", metavar="ADDRESS", help="a running scheduler, e.g. tcp://host:8786")
    parser.add_argument("--workers", type=int, help="local worker processes (default: one per core)")
    parser.add_argument("--out", metavar="FILE", help="results CSV (default: standard output)")
    parser.add_argument("--partition-size", type=int, default=1000, help="basins per task (default 1000)")
    parser.add_argument("--units", choices=("us", "si"), default="us", help="units of the basin table")
    parser.add_argument("--level", choices=("current", "earlier"), default="current")
    return parser.parse_args(argv)


def storm_names(paths):
    names = {}
    for path in paths:
        name = os.path.splitext(os.path.basename(path))[0]
        if name in names:
            raise ValueError(f"two storms are named {name!r} ({names[name]} and {path})")
        names[name] = path
    return names


def main(argv=None):
    options = arguments(argv)
    from distributed import Client

    try:
        basins = read_basin_table(options.basin_table, options.units)
        storms = {name: read_storm(path) for name, path in storm_names(options.storms).items()}
    except (OSError, VeskError) as error:
        print(f"error: {error}", file=sys.stderr)
        return 1
    cluster = None if options.scheduler else local_cluster(options.workers)
    client = Client(options.scheduler or cluster)
    try:
        results = run(basins, storms, client=client, partition_size=options.partition_size, level=options.level,
                      progress=sys.stderr.isatty())
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    results.to_csv(options.out if options.out else sys.stdout)
    failed = results["error"].notna().sum()
    if failed:
        print(f"{failed} basin and storm pairs were refused (see the error column)", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
