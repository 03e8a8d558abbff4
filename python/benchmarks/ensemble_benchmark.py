"""What an ensemble costs on this machine, serial and on a local cluster,
against `vesk run` on the same basins (not a test).

    VESK_LIBRARY=build PYTHONPATH=python /usr/bin/python3 python/benchmarks/ensemble_benchmark.py \
        --vesk build/vesk [--basins 100000] [--storms 8] [--steps 288] [--check-basins 2000] [--quick]

Writes basin tables (urban basins every step serves) and day-long storms of
--steps 5-minute steps into a scratch folder, then measures, as wall clock
(and CPU time where it says so):

1. throughput: --check-basins basins x 2 storms, `vesk run TABLE --rain
   STORM --summary out.csv` once per storm against `run_serial` on the basins
   read with `read_basin_table` (best of --repeat);
2. scale-out: --basins basins x --storms storms, `run_serial`, then a
   2-worker LocalCluster (threads_per_worker=1, processes) started, used by
   `run(client=...)` and stopped, each timed, and `run(basins, storms)` that
   starts its own cluster; the results compared bit for bit; `vesk run` on
   the same table, storm by storm (--vesk-storms of them), for its cost per
   basin and step;
3. the scheduler's cost per task (no-op tasks and tasks that open the
   library) on that cluster, and the CPU its workers spent;

and prints the figures the README gives, with an estimate for one million
basins x 100 storms from the measured cost per basin and step and per task.
--quick leaves out `vesk run` on the large table and the call that starts
its own cluster.
"""

import argparse
import math
import os
import random
import resource
import subprocess
import sys
import tempfile
import time
import warnings

HEADER = ("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
          "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay,"
          "disconnectionLevel\n")


def write_table(path, rows, seed):
    """Urban basins whose time to peak every step can serve."""
    rng = random.Random(seed)
    with open(path, "w") as out:
        out.write(HEADER)
        for i in range(rows):
            out.write(f"B{i:06d},{rng.uniform(0.05, 2.0):.4f},{rng.uniform(0.5, 2.5):.3f},"
                      f"{rng.uniform(0.25, 1.2):.3f},{rng.uniform(2.0, 98.0):.1f},{rng.uniform(0.002, 0.05):.4f},"
                      f"0.1,0.35,3.5,0.7,0.0009,{rng.choice((0, 1, 2))}\n")


def write_storm(path, steps, scale):
    """A day-long storm peaking in its middle, 5-minute steps, inches."""
    with open(path, "w") as out:
        out.write("time_min,depth_in\n")
        for k in range(steps):
            depth = scale * 0.25 * math.exp(-((k - steps / 2) / (steps / 12)) ** 2)
            out.write(f"{(k + 1) * 5},{depth:.5f}\n")


def timed(work):
    """(wall seconds, CPU seconds of this process and its children, result)."""
    before = cpu()
    start = time.perf_counter()
    result = work()
    return time.perf_counter() - start, cpu() - before, result


def cpu():
    own, children = resource.getrusage(resource.RUSAGE_SELF), resource.getrusage(resource.RUSAGE_CHILDREN)
    return own.ru_utime + own.ru_stime + children.ru_utime + children.ru_stime


def best(repeat, work):
    return min((timed(work) for _ in range(repeat)), key=lambda found: found[0])


def vesk_runs(program, table, storms, scratch):
    """`vesk run TABLE --rain STORM --summary out.csv` for each storm."""
    for storm in storms:
        subprocess.run([program, "run", table, "--rain", storm, "--summary", os.path.join(scratch, "summary.csv")],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def noop(value):
    return value


def process_cpu():
    """CPU seconds of the calling process (run on each worker)."""
    times = os.times()
    return times.user + times.system


def workers_cpu(client):
    return sum(client.run(process_cpu).values())


def open_library(value):
    import vesk

    with vesk.Library():
        return value


def task_cost(client, count=400):
    """Seconds per task: the scheduler round trip of no-op tasks and of tasks
    that open the library, the two workers busy."""
    found = []
    for work in (noop, open_library):
        client.gather([client.submit(work, i, pure=False) for i in range(8)])  # warm
        start = time.perf_counter()
        client.gather([client.submit(work, i, pure=False) for i in range(count)])
        found.append((time.perf_counter() - start) / count)
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--vesk", required=True, help="the vesk program of the same build")
    parser.add_argument("--basins", type=int, default=100_000)
    parser.add_argument("--storms", type=int, default=8)
    parser.add_argument("--steps", type=int, default=288)
    parser.add_argument("--check-basins", type=int, default=2000)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--vesk-storms", type=int, default=8, help="storms `vesk run` takes on the large table")
    parser.add_argument("--quick", action="store_true")
    options = parser.parse_args()

    from distributed import Client

    import vesk
    from vesk import ensemble

    warnings.simplefilter("ignore", vesk.VeskWarning)
    print(f"{os.cpu_count()} cores; load average before: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
    with tempfile.TemporaryDirectory() as scratch:
        storm_files = []
        for i in range(options.storms):
            storm_files.append(os.path.join(scratch, f"day{i}.csv"))
            write_storm(storm_files[-1], options.steps, 0.25 * (i + 1))
        storms = {os.path.basename(path)[:-4]: vesk.read_storm(path) for path in storm_files}

        # 1. Throughput at C speed.
        small = os.path.join(scratch, "check.csv")
        write_table(small, options.check_basins, seed=2026)
        two = dict(list(storms.items())[:2])
        cli = best(options.repeat, lambda: vesk_runs(options.vesk, small, storm_files[:2], scratch))
        basins = vesk.read_basin_table(small)
        serial = best(options.repeat, lambda: ensemble.run_serial(basins, two))
        with_reading = best(options.repeat, lambda: ensemble.run_serial(vesk.read_basin_table(small), two))
        print(f"\n{options.check_basins} basins x 2 storms of {options.steps} steps (best of {options.repeat}):")
        print(f"  vesk run --summary, once a storm: {cli[0]:7.3f} s wall {cli[1]:7.3f} s CPU")
        print(f"  run_serial:                       {serial[0]:7.3f} s wall {serial[1]:7.3f} s CPU"
              f"   {serial[0] / cli[0]:.2f}x vesk run")
        print(f"  run_serial, the table read too:   {with_reading[0]:7.3f} s wall {with_reading[1]:7.3f} s CPU"
              f"   {with_reading[0] / cli[0]:.2f}x vesk run")

        # 2. Scale-out.
        large = os.path.join(scratch, "large.csv")
        write_table(large, options.basins, seed=7)
        basins = vesk.read_basin_table(large)
        pairs = options.basins * options.storms
        basin_steps = pairs * options.steps
        serial = timed(lambda: ensemble.run_serial(basins, storms))
        refused = int(serial[2]["error"].notna().sum())
        print(f"\n{options.basins} basins x {options.storms} storms of {options.steps} steps = {pairs} runs "
              f"({refused} refused):")
        print(f"  run_serial:               {serial[0]:8.1f} s wall {serial[1]:8.1f} s CPU, "
              f"{serial[0] / basin_steps * 1e9:.0f} ns per basin and step, "
              f"{serial[2].attrs['tasks']} partitions of {serial[2].attrs['partition_size']}")
        started = timed(lambda: ensemble.local_cluster(2))
        cluster = started[2]
        client = Client(cluster)
        try:
            before = workers_cpu(client)
            parallel = timed(lambda: ensemble.run(basins, storms, client=client))
            cluster_cpu = workers_cpu(client) - before
            per_task = task_cost(client)
        finally:
            client.close()
            stopped = timed(cluster.close)
        tasks = parallel[2].attrs["tasks"]
        print(f"  2-worker LocalCluster:    {parallel[0]:8.1f} s wall ({tasks} tasks of "
              f"{parallel[2].attrs['partition_size']}), {serial[0] / parallel[0]:.2f}x faster than serial; "
              f"identical: {parallel[2].equals(serial[2])}")
        print(f"    the workers' CPU:       {cluster_cpu:8.1f} s ({cluster_cpu / parallel[0]:.2f} cores busy on "
              f"average; the serial run took {serial[1]:.1f} s CPU)")
        print(f"    its start and stop:     {started[0]:8.1f} s + {stopped[0]:.1f} s")
        print(f"    scheduler per task:     {per_task[0] * 1e3:8.2f} ms (no-op), {per_task[1] * 1e3:.2f} ms "
              f"(opening the library)")
        overhead = per_task[1]
        if not options.quick:
            own = timed(lambda: ensemble.run(basins, storms, workers=2))
            where = ("in this process" if own[2].attrs["scheduler"] == "this process" else
                     f"on its own {own[2].attrs['workers']}-worker cluster, started and stopped")
            print(f"  run() without a client:   {own[0]:8.1f} s wall ({where}), {serial[0] / own[0]:.2f}x faster "
                  f"than serial; identical: {own[2].equals(serial[2])}")
            accepted = os.path.join(scratch, "accepted.csv")
            kept = set(serial[2].index.get_level_values("basin")[serial[2]["error"].isna()])
            with open(large) as given, open(accepted, "w") as out:
                out.writelines(line for n, line in enumerate(given) if n == 0 or line.split(",", 1)[0] in kept)
            chosen = storm_files[:options.vesk_storms]
            cli = timed(lambda: vesk_runs(options.vesk, accepted, chosen, scratch))
            cli_cost = cli[0] / (len(kept) * len(chosen) * options.steps)
            serial_cost = serial[0] / basin_steps
            print(f"  vesk run, {len(chosen)} storms:      {cli[0]:8.1f} s wall {cli[1]:8.1f} s CPU, "
                  f"{cli_cost * 1e9:.0f} ns per basin and step")
            print(f"  per basin and step, serial: {serial_cost / cli_cost:.2f}x vesk run's; on the cluster "
                  f"(x 2 workers): {2 * parallel[0] / basin_steps / cli_cost:.2f}x")

        # 3. On paper: a million basins x 100 storms of the same storms' length,
        # at the serial run's CPU cost per basin and step (a core of one's own).
        cost = serial[1] / basin_steps
        work = 1_000_000 * 100 * options.steps * cost
        rows = 1_000_000 * 100
        width = len(serial[2].columns)
        print(f"\nOn paper, 1,000,000 basins x 100 storms of {options.steps} steps: {work / 3600:.1f} h of one core "
              f"at {cost * 1e9:.0f} ns per basin and step; the summary alone holds {rows:,} rows, about "
              f"{rows * (8 * width + 16) / 2**30:.0f} GiB in the client")
        day = {str(i): next(iter(storms.values())) for i in range(100)}
        for workers in (2, 16, 64, 256):
            size = ensemble.partition_size(1_000_000, day, workers)
            count = math.ceil(1_000_000 / size)
            seconds = (work + count * overhead) / workers + started[0] + stopped[0]
            print(f"  {workers:4d} workers: {count} tasks of {size} basins, about {seconds / 60:.0f} min")
    print(f"load average after: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")


if __name__ == "__main__":
    sys.exit(main())
