"""Ensemble speed-up on this machine: 20,000 basins x 4 storms, serial in one
process against a two-worker LocalCluster on 127.0.0.1 (not a test).

    VESK_LIBRARY=build PYTHONPATH=python /usr/bin/python3 python/benchmarks/ensemble_benchmark.py [--basins N]

Prints both wall-clock times, the speed-up and whether the two results are
identical.  The cluster's start-up is timed separately: a long-lived cluster
pays it once.
"""

import argparse
import dataclasses
import os
import random
import time

from distributed import Client

import vesk
from vesk import ensemble

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples")


def basins(count, seed=2026):
    """Realistic urban basins varied around the shipped CedarCreek."""
    rng = random.Random(seed)
    base = vesk.Basin.from_file(os.path.join(EXAMPLES, "cedar_creek.basin"))
    return {f"B{i:06d}": dataclasses.replace(
        base, name=f"B{i:06d}", area=rng.uniform(0.02, 2.0), impervious_pct=rng.uniform(2.0, 98.0),
        slope=rng.uniform(0.002, 0.05), length=rng.uniform(0.2, 2.5), centroid_length=rng.uniform(0.1, 1.2),
        disconnection_level=rng.choice((0, 1, 2)), dcif=None, rpf=None, ct=None, cp=None) for i in range(count)}


def storms():
    """The shipped two-hour storm at four intensities."""
    design = vesk.read_storm(os.path.join(EXAMPLES, "design_storm_2h.csv"))
    return {f"x{scale}": vesk.Storm(tuple(d * scale for d in design.depths), design.step)
            for scale in (0.5, 1.0, 1.5, 2.0)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--basins", type=int, default=20000)
    parser.add_argument("--partition-size", type=int, default=1000)
    options = parser.parse_args()
    chosen, rain = basins(options.basins), storms()

    start = time.perf_counter()
    serial = ensemble.run_serial(chosen, rain, partition_size=options.partition_size)
    serial_seconds = time.perf_counter() - start

    start = time.perf_counter()
    cluster = ensemble.local_cluster(2)
    client = Client(cluster)
    startup_seconds = time.perf_counter() - start
    try:
        start = time.perf_counter()
        parallel = ensemble.run(chosen, rain, client=client, partition_size=options.partition_size)
        parallel_seconds = time.perf_counter() - start
    finally:
        client.close()
        cluster.close()

    pairs = len(chosen) * len(rain)
    print(f"{len(chosen)} basins x {len(rain)} storms = {pairs} runs, {os.cpu_count()} cores")
    print(f"serial, one process:      {serial_seconds:8.1f} s")
    print(f"2-worker LocalCluster:    {parallel_seconds:8.1f} s (+ {startup_seconds:.1f} s to start the cluster)")
    print(f"speed-up:                 {serial_seconds / parallel_seconds:8.2f}x")
    print(f"identical results:        {parallel.equals(serial)}")


if __name__ == "__main__":
    main()
