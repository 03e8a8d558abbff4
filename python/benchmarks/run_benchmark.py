"""Python's lib.run against `vesk run` on the same inputs, and the time to
read a large basin table (not a test).

    VESK_LIBRARY=build PYTHONPATH=python /usr/bin/python3 python/benchmarks/run_benchmark.py \
        --vesk build/tools/vesk [--basins 10000] [--steps 288] [--table-rows 100000]

Writes a basin table of --basins rows (urban basins varied around the shipped
examples) and a storm of --steps 5-minute steps into a scratch folder, then
times, as wall clock and best of --repeat:

- `vesk run TABLE --rain STORM` as a process (reading, checking, the run and
  its printed summary);
- the same in Python: `read_basin_table`, `read_storm`, `lib.run` to a
  DataFrame, in this process, and as a whole new interpreter (start-up and
  imports included);
- `read_basin_table` of a --table-rows table.
"""

import argparse
import math
import os
import random
import subprocess
import sys
import tempfile
import time

HEADER = ("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
          "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay,"
          "disconnectionLevel\n")


def write_table(path, rows, seed=2026):
    rng = random.Random(seed)
    with open(path, "w") as out:
        out.write(HEADER)
        for i in range(rows):
            out.write(f"B{i:06d},{rng.uniform(0.02, 2.0):.4f},{rng.uniform(0.2, 2.5):.3f},{rng.uniform(0.1, 1.2):.3f},"
                      f"{rng.uniform(2.0, 98.0):.1f},{rng.uniform(0.002, 0.05):.4f},0.1,0.35,3.5,0.7,0.0009,"
                      f"{rng.choice((0, 1, 2))}\n")


def write_storm(path, steps):
    """A day-long storm peaking in its middle, 5-minute steps, inches."""
    with open(path, "w") as out:
        out.write("time_min,depth_in\n")
        for k in range(steps):
            depth = 0.25 * math.exp(-((k - steps / 2) / (steps / 12)) ** 2)
            out.write(f"{(k + 1) * 5},{depth:.5f}\n")


def best(repeat, work):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        work()
        times.append(time.perf_counter() - start)
    return min(times)


PYTHON_RUN = """
import sys, vesk
basins = vesk.read_basin_table(sys.argv[1])
storm = vesk.read_storm(sys.argv[2])
with vesk.Library() as lib:
    flows = lib.run(basins, storm)
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--vesk", required=True, help="the vesk program of the same build")
    parser.add_argument("--basins", type=int, default=10000)
    parser.add_argument("--steps", type=int, default=288)
    parser.add_argument("--table-rows", type=int, default=100000)
    parser.add_argument("--repeat", type=int, default=3)
    options = parser.parse_args()

    import warnings

    import vesk

    warnings.simplefilter("ignore", vesk.VeskWarning)
    with tempfile.TemporaryDirectory() as scratch:
        table, storm, big = (os.path.join(scratch, name) for name in ("basins.csv", "storm.csv", "big.csv"))
        write_table(table, options.basins)
        write_storm(storm, options.steps)
        write_table(big, options.table_rows, seed=7)

        def cli():
            subprocess.run([options.vesk, "run", table, "--rain", storm], check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)

        shape = []

        def in_process():
            basins = vesk.read_basin_table(table)
            rain = vesk.read_storm(storm)
            with vesk.Library() as lib:
                shape[:] = [lib.run(basins, rain).shape]

        def new_interpreter():
            subprocess.run([sys.executable, "-c", PYTHON_RUN, table, storm], check=True, stderr=subprocess.DEVNULL)

        cli_seconds = best(options.repeat, cli)
        python_seconds = best(options.repeat, in_process)
        process_seconds = best(options.repeat, new_interpreter)
        read_seconds = best(options.repeat, lambda: vesk.read_basin_table(big))

    print(f"{options.basins} basins x {options.steps} steps; the frame is {shape[0][0]} x {shape[0][1]}; "
          f"{os.cpu_count()} cores; best of {options.repeat}")
    print(f"vesk run:                         {cli_seconds:7.2f} s")
    print(f"lib.run, reading included:        {python_seconds:7.2f} s  ({python_seconds / cli_seconds:.2f}x)")
    print(f"  as a new interpreter:           {process_seconds:7.2f} s  ({process_seconds / cli_seconds:.2f}x)")
    print(f"read_basin_table, {options.table_rows} rows: {read_seconds:7.2f} s")


if __name__ == "__main__":
    main()
