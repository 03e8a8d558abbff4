"""vesk.ensemble on a two-worker cluster on 127.0.0.1: the numbers of single
library runs and of `vesk run --summary`, the hydrographs as labelled arrays,
refused basins, a worker killed mid-run, the partition size, the main guard
and the command line."""

import dataclasses
import datetime
import os
import random
import signal
import subprocess
import sys
import textwrap
import threading
import time
import warnings

import numpy
import pandas
import pytest

import vesk

distributed = pytest.importorskip("distributed")
ensemble = pytest.importorskip("vesk.ensemble")
pytestmark = pytest.mark.filterwarnings("ignore::DeprecationWarning")  # the event loop library's own

EXAMPLES = os.path.join(os.path.dirname(__file__), "..", "..", "examples")
TABLE_HEADER = ("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
                "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay,"
                "disconnectionLevel\n")


def random_basins(count, seed):
    """Realistic urban basins around the shipped CedarCreek."""
    rng = random.Random(seed)
    base = vesk.Basin.from_file(os.path.join(EXAMPLES, "cedar_creek.basin"))
    return {f"B{i:05d}": dataclasses.replace(
        base, name=f"B{i:05d}", area=rng.uniform(0.02, 2.0), impervious_pct=rng.uniform(2.0, 98.0),
        slope=rng.uniform(0.002, 0.05), length=rng.uniform(0.2, 2.5), centroid_length=rng.uniform(0.1, 1.2),
        disconnection_level=rng.choice((0, 1, 2)), dcif=None, rpf=None, ct=None, cp=None) for i in range(count)}


def write_table(path, count, seed):
    """A basin table of urban basins every step serves."""
    rng = random.Random(seed)
    rows = [f"T{i:03d},{rng.uniform(0.05, 2.0):.4f},{rng.uniform(0.5, 2.5):.3f},{rng.uniform(0.25, 1.2):.3f},"
            f"{rng.uniform(2.0, 98.0):.1f},{rng.uniform(0.002, 0.05):.4f},0.1,0.35,3.5,0.7,0.0009,"
            f"{rng.choice((0, 1, 2))}\n" for i in range(count)]
    path.write_text(TABLE_HEADER + "".join(rows))
    return path


@pytest.fixture(scope="module")
def client():
    cluster = ensemble.local_cluster(2)
    with distributed.Client(cluster) as connected:
        yield connected
    cluster.close()


@pytest.fixture(scope="module")
def design_storm_module():
    return vesk.read_storm(os.path.join(EXAMPLES, "design_storm_2h.csv"))


@pytest.fixture(scope="module")
def storms(design_storm_module):
    design = design_storm_module
    return {"design": design, "half": vesk.Storm(tuple(d / 2 for d in design.depths), 5),
            "long": vesk.Storm(design.depths + design.depths, 5)}


class QuietLibrary(vesk.Library):
    """A Library whose notes and warnings (unusual values, steps) are not shown."""

    def __enter__(self):
        self._quiet = warnings.catch_warnings()
        self._quiet.__enter__()
        warnings.simplefilter("ignore", vesk.VeskWarning)
        return super().__enter__()

    def __exit__(self, *exc):
        super().__exit__(*exc)
        return self._quiet.__exit__(*exc)


def library_hydrographs(basins, storm, report_step=None):
    """Each basin's outflow series from one library run: {name: list}."""
    with QuietLibrary() as lib:
        frame = lib.run(basins, storm, report_step=report_step)
    return {name: frame[name].tolist() for name in basins}, frame.index.tolist()


# -- the numbers -------------------------------------------------------------------

def test_a_cluster_gives_the_library_runs_bits(client, storms):
    basins = random_basins(300, seed=7)
    results = ensemble.run(basins, storms, client=client, partition_size=40)
    assert results.index.names == ["basin", "storm"] and len(results) == 900
    assert results.attrs["tasks"] == 8 and results.attrs["workers"] == 2
    assert results["error"].isna().all() and results["message"].isna().all()
    with QuietLibrary() as lib:
        for storm_name, storm in storms.items():
            summary = lib.summary(basins, storm)
            # The ensemble's basins need not meet: it has no outlet row.
            basin_rows = summary.drop(index="outlet")
            assert results.xs(storm_name, level="storm").drop(columns=["error", "message"]).equals(basin_rows)
    assert results.equals(ensemble.run_serial(basins, storms, partition_size=300))
    rain = results.loc[("B00000", "design"), "rain_volume_acre_ft"]
    assert rain == pytest.approx(sum(storms["design"].depths) * basins["B00000"].area * 640 / 12)


def test_the_columns_and_figures_are_those_of_vesk_run_summary(tmp_path, vesk_program, design_storm_module):
    table = write_table(tmp_path / "basins.csv", 12, seed=4)
    storm = os.path.join(EXAMPLES, "design_storm_2h.csv")
    written = tmp_path / "summary.csv"
    done = vesk_program("run", table, "--rain", storm, "--summary", written)
    assert done.returncode == 0, done.stderr
    expected = pandas.read_csv(written, index_col="basin", float_precision="round_trip").drop(index="outlet")
    results = ensemble.run_serial(vesk.read_basin_table(table), {"2h": design_storm_module}, partition_size=5)
    assert list(results.columns) == [*expected.columns, "error", "message"]
    assert "computation_step_min" in expected.columns
    rows = results.xs("2h", level="storm").drop(columns=["error", "message"])
    assert list(rows.index) == list(expected.index)
    assert (rows.to_numpy() == expected.to_numpy(dtype=float)).all()
    units = results.attrs["units"]
    assert [units[name] for name in ("area_sq_mi", "computation_step_min", "peak_outflow_cfs",
                                     "peak_outflow_time_min", "rain_volume_acre_ft", "runoff_coefficient")] == \
        ["sq mi", "min", "cfs", "min", "acre-ft", ""]
    assert results.attrs["volume_tolerance"] == 0.02 and results.attrs["data_step_min"] == {"2h": 5}


# -- hydrographs -------------------------------------------------------------------

def test_hydrographs_are_a_labelled_array_of_the_library_runs(client, storms):
    pytest.importorskip("xarray")
    basins = random_basins(60, seed=8)
    chosen = {"design": storms["design"], "long": storms["long"]}
    summary, flows = ensemble.run(basins, chosen, client=client, partition_size=16, hydrographs=True)
    assert summary.equals(ensemble.run_serial(basins, chosen))
    assert flows.dims == ("basin", "storm", "time") and flows.name == "outflow_cfs"
    assert flows.attrs["units"] == "cfs" and flows["time"].attrs["units"] == "min"
    assert flows["basin"].values.tolist() == list(basins) and flows["storm"].values.tolist() == ["design", "long"]
    longest = 0
    for storm_name, storm in chosen.items():
        expected, times = library_hydrographs(basins, storm)
        longest = max(longest, len(times))
        for name, series in expected.items():
            values = flows.sel(basin=name, storm=storm_name).values.tolist()
            # The library's series, then its dry tail to the longest series.
            assert values[:len(series)] == series and set(values[len(series):]) <= {0.0}
    assert flows["time"].values.tolist() == [5 * (k + 1) for k in range(longest)]


def test_storms_of_other_steps_and_lengths_share_one_time_axis(storms):
    pytest.importorskip("xarray")
    basins = random_basins(5, seed=12)
    design = storms["design"].depths
    ten = vesk.Storm(tuple(design[k] + design[k + 1] for k in range(0, len(design) - 1, 2)), 10)
    summary, flows = ensemble.run_serial(basins, {"five": storms["design"], "ten": ten}, hydrographs=True)
    assert flows.attrs["time_step_min"] == 5
    expected, times = library_hydrographs(basins, ten, report_step=5)
    for name, series in expected.items():
        values = flows.sel(basin=name, storm="ten").values.tolist()
        assert values[:len(series)] == series and set(values[len(series):]) <= {0.0}
    assert summary.attrs["data_step_min"] == {"five": 5, "ten": 10}


def test_without_xarray_the_hydrographs_are_a_long_frame(monkeypatch, storms):
    basins = random_basins(4, seed=13)
    monkeypatch.setitem(sys.modules, "xarray", None)  # import xarray fails
    chosen = {"design": storms["design"], "half": storms["half"]}
    _, flows = ensemble.run_serial(basins, chosen, hydrographs=True)
    assert isinstance(flows, pandas.DataFrame)
    assert list(flows.columns) == ["basin", "storm", "time_min", "outflow_cfs"]
    assert flows.attrs["units"] == {"time_min": "min", "outflow_cfs": "cfs"}
    length = len(flows) // 8
    assert len(flows) == 8 * length
    for storm_name, storm in chosen.items():
        expected, _ = library_hydrographs(basins, storm)
        for name, series in expected.items():
            rows = flows[(flows["basin"] == name) & (flows["storm"] == storm_name)]
            assert rows["time_min"].tolist() == [5 * (k + 1) for k in range(length)]
            assert rows["outflow_cfs"].tolist() == series + [0.0] * (length - len(series))


def test_a_dated_storm_labels_each_step_with_its_date(storms):
    pytest.importorskip("xarray")
    dated = vesk.Storm(storms["design"].depths, 5, start=datetime.datetime(2024, 6, 1, 18, 0))
    _, flows = ensemble.run_serial(random_basins(2, seed=14), {"dated": dated, "plain": storms["half"]},
                                   hydrographs=True)
    dates = flows["datetime"].sel(storm="dated").values
    assert dates[0] == numpy.datetime64("2024-06-01T18:05") and dates[11] == numpy.datetime64("2024-06-01T19:00")
    assert numpy.isnat(flows["datetime"].sel(storm="plain").values).all()


# -- refused basins ------------------------------------------------------------------

def test_refused_basins_get_a_row_saying_why_and_the_rest_completes(client, storms):
    basins = random_basins(30, seed=3)
    basins["B00004"] = dataclasses.replace(basins["B00004"], width50=5000.0, width75=4000.0)
    basins["B00011"] = dataclasses.replace(basins["B00011"], impervious_pct=120.0)
    basins["b00020"] = basins["B00020"]  # the same name to the library
    results = ensemble.run(basins, {"design": storms["design"]}, client=client, partition_size=8)
    errors = results.xs("design", level="storm")[["error", "message"]].dropna()
    assert errors["error"].to_dict() == {"B00004": "UnitHydrographError", "B00011": "InvalidBasin",
                                         "b00020": "InvalidBasin"}
    assert "VESK_ERR_UH_FIT" in errors.at["B00004", "message"]
    assert "imperviousPct 120 is impossible" in errors.at["B00011", "message"]
    assert "'b00020' is already among the basins" in errors.at["b00020", "message"]
    assert results.loc[("B00004", "design")].drop(["error", "message"]).isna().all()
    good = {name: basin for name, basin in basins.items() if name not in ("B00004", "B00011", "b00020")}
    with QuietLibrary() as lib:
        summary = lib.summary(good, storms["design"])
    kept = results.drop(index=["B00004", "B00011", "b00020"], level="basin").xs("design", level="storm")
    assert kept.drop(columns=["error", "message"]).equals(summary.drop(index="outlet"))


def test_refused_basins_have_no_hydrograph(storms):
    pytest.importorskip("xarray")
    basins = random_basins(3, seed=15)
    basins["B00001"] = dataclasses.replace(basins["B00001"], width50=5000.0, width75=4000.0)
    basins["B00002"] = dataclasses.replace(basins["B00002"], slope=-1.0)
    _, flows = ensemble.run_serial(basins, {"design": storms["design"]}, hydrographs=True)
    assert numpy.isnan(flows.sel(basin=["B00001", "B00002"]).values).all()
    assert not numpy.isnan(flows.sel(basin="B00000").values).any()


def test_a_task_the_core_refuses_raises_its_error_at_the_client(client):
    # Depths without times and basins without a uh_time_step: no step to run at.
    basins = {name: dataclasses.replace(basin, uh_time_step=None) for name, basin in random_basins(4, seed=9).items()}
    with pytest.raises(vesk.InputError, match="storm: the storm has no times, so its step is not known"):
        ensemble.run(basins, {"plain": [0.1, 0.2]}, client=client, partition_size=2)


def test_a_refusal_at_the_earlier_level_keeps_the_partitions_other_basins(storms):
    basins = random_basins(6, seed=5)
    basins["B00002"] = dataclasses.replace(basins["B00002"], width50=5000.0, width75=4000.0)
    results = ensemble.run_serial(basins, {"design": storms["design"]}, level="earlier")
    assert results["error"].tolist() == [None, None, "UnitHydrographError", None, None, None]
    del basins["B00002"]
    with QuietLibrary("earlier") as lib:
        summary = lib.summary(basins, storms["design"])
    for name in basins:
        assert results.loc[(name, "design"), "peak_outflow_cfs"] == summary.loc[name, "peak_outflow_cfs"]


def test_a_worker_killed_mid_run_is_replaced_and_the_results_are_complete(client, storms):
    basins = random_basins(1500, seed=11)
    chosen = {"design": storms["design"], "long": storms["long"]}
    outcome = []
    runner = threading.Thread(target=lambda: outcome.append(
        ensemble.run(basins, chosen, client=client, partition_size=50)))
    pids = client.run(os.getpid)
    runner.start()
    deadline = time.monotonic() + 20
    busy = []
    while not busy and time.monotonic() < deadline:
        busy = [worker for worker, keys in client.processing().items() if keys]
        time.sleep(0.02)
    assert busy, "no task started"
    os.kill(pids[busy[0]], signal.SIGKILL)
    runner.join(timeout=45)
    assert outcome, "the run did not finish"
    assert outcome[0].equals(ensemble.run_serial(basins, chosen, partition_size=500))
    client.wait_for_workers(2, timeout=30)
    assert pids[busy[0]] not in client.run(os.getpid).values()


# -- partitions and where the work runs ----------------------------------------------

DAY = vesk.Storm((0.01,) * 288, 5)  # 1,440 minutes
WEEK = vesk.Storm((0.01,) * 2016, 5)


# About 0.06 µs a basin and storm minute: 0.69 ms a basin through 8 one-day storms.
@pytest.mark.parametrize("basins, storm, storm_count, workers, hydrographs, expected", [
    (100_000, DAY, 8, 2, False, 2000),  # at most 2,000 basins a run: 50 tasks
    (130_000, DAY, 8, 2, False, 1970),  # 65 tasks of at most 2,000, made 66 for two workers
    (100_000, DAY, 8, 64, False, 391),  # four tasks a worker
    (1_000_000, DAY, 100, 64, False, 1117),  # at most 10 s a task (1,157 basins): 865 tasks, made 896
    (2_000, DAY, 2, 2, False, 667),  # at least 0.1 s of work a task (579 basins): 3 tasks
    (500, DAY, 2, 2, False, 500),  # less work than two tasks' worth: one task
    (100_000, WEEK, 8, 2, True, 1040),  # at most 256 MiB of hydrographs (of twice the storm's steps) a task
    (100_000, WEEK, 8, 2, False, 2000),
    (1, DAY, 1, 2, False, 1),
])
def test_the_partition_size_follows_the_workers_and_the_work(basins, storm, storm_count, workers, hydrographs,
                                                              expected):
    storms = {str(i): storm for i in range(storm_count)}
    assert ensemble.partition_size(basins, storms, workers, hydrographs) == expected


@pytest.mark.parametrize("basins, storm_count, workers, expected", [
    (100_000, 8, 2, True),  # about 69 s of work
    (40_000, 2, 2, True),  # about 7 s
    (15_000, 2, 2, False),  # about 2.6 s: starting and stopping two workers costs more than they save
    (20_000, 2, 4, True),  # about 3.5 s on four workers
    (100_000, 8, 1, False),
])
def test_a_local_cluster_is_started_only_when_it_pays_off(basins, storm_count, workers, expected):
    assert ensemble.cluster_pays_off(basins, {str(i): DAY for i in range(storm_count)}, workers) is expected


def test_small_work_without_a_client_runs_in_this_process(storms):
    basins = random_basins(20, seed=16)
    results = ensemble.run(basins, storms, partition_size=6)
    assert results.attrs["scheduler"] == "this process" and results.attrs["tasks"] == 4
    assert results.equals(ensemble.run_serial(basins, storms))


def test_work_that_pays_off_without_a_client_starts_a_local_cluster_for_the_call(monkeypatch, storms):
    monkeypatch.setattr(ensemble, "CLUSTER_START_SECONDS", 0.0)
    basins = random_basins(40, seed=20)
    results = ensemble.run(basins, storms, workers=2, partition_size=10)
    assert results.attrs["scheduler"].startswith("tcp://127.0.0.1:") and results.attrs["workers"] == 2
    assert results.attrs["tasks"] == 4 and results.equals(ensemble.run_serial(basins, storms))


@pytest.mark.parametrize("size", [0, -3, 2.5, True])
def test_a_partition_size_that_is_not_a_whole_number_of_at_least_one_is_refused(size, storms):
    with pytest.raises(vesk.InputError, match="partition_size"):
        ensemble.run_serial(random_basins(2, seed=1), storms, partition_size=size)


# -- the main guard ------------------------------------------------------------------

def run_script(tmp_path, source, timeout=60):
    script = tmp_path / "script.py"
    script.write_text(textwrap.dedent(source))
    started = time.monotonic()
    done = subprocess.run([sys.executable, str(script)], capture_output=True, text=True, timeout=timeout,
                          cwd=tmp_path)
    return done, time.monotonic() - started


def test_a_script_without_the_main_guard_fails_at_once_with_the_fix(tmp_path):
    done, seconds = run_script(tmp_path, f"""\
        import vesk, vesk.ensemble
        basin = vesk.Basin.from_file({os.path.join(EXAMPLES, "cedar_creek.basin")!r})
        storm = vesk.read_storm({os.path.join(EXAMPLES, "design_storm_2h.csv")!r})
        print(vesk.ensemble.run({{"A": basin}}, {{"2h": storm}}))
        """)
    assert done.returncode != 0 and seconds < 30
    assert "MissingMainGuard" in done.stderr and "script.py, line 4: vesk.ensemble.run" in done.stderr
    assert 'if __name__ == "__main__":\n        main()' in done.stderr
    assert len(done.stderr.splitlines()) < 30


def test_the_same_script_under_the_guard_runs(tmp_path):
    done, _ = run_script(tmp_path, f"""\
        import vesk, vesk.ensemble
        def main():
            basin = vesk.Basin.from_file({os.path.join(EXAMPLES, "cedar_creek.basin")!r})
            storm = vesk.read_storm({os.path.join(EXAMPLES, "design_storm_2h.csv")!r})
            print(vesk.ensemble.run({{"A": basin}}, {{"2h": storm}}).attrs["scheduler"])
        if __name__ == "__main__":
            main()
        """)
    assert done.returncode == 0, done.stderr
    assert done.stdout == "this process\n"


def test_a_worker_importing_the_script_refuses_to_start_a_cluster(tmp_path):
    # The spawned process imports the script as __mp_main__ and reaches the call.
    done, seconds = run_script(tmp_path, """\
        import multiprocessing, sys
        import vesk.ensemble
        if __name__ != "__main__":
            try:
                vesk.ensemble.local_cluster(1)
            except vesk.ensemble.MissingMainGuard as error:
                print("refused:", str(error).splitlines()[0], flush=True)
                sys.exit(3)
        if __name__ == "__main__":
            process = multiprocessing.get_context("spawn").Process(target=print)
            process.start()
            process.join(30)
            print("exit code", process.exitcode)
        """)
    assert done.returncode == 0, done.stderr
    assert "refused: vesk.ensemble.local_cluster was called while a new worker process imported the main script" \
        in done.stdout
    assert done.stdout.endswith("exit code 3\n") and seconds < 30


# -- the command line ----------------------------------------------------------------

def cli(*arguments):
    return subprocess.run([sys.executable, "-m", "vesk.ensemble", *map(str, arguments)], capture_output=True,
                          text=True, timeout=120)


def test_the_command_line_writes_a_row_per_basin_and_storm(client, tmp_path, design_storm_module):
    table = write_table(tmp_path / "basins.csv", 3, seed=17)
    storm = os.path.join(EXAMPLES, "design_storm_2h.csv")
    out = tmp_path / "results.csv"
    done = cli(table, storm, "--scheduler", client.scheduler.address, "--out", out)
    assert done.returncode == 0, done.stderr
    written = pandas.read_csv(out, index_col=["basin", "storm"], float_precision="round_trip")
    assert list(written.index) == [(f"T00{i}", "design_storm_2h") for i in range(3)]
    assert list(written.columns) == ensemble.COLUMNS
    with QuietLibrary() as lib:
        summary = lib.summary(vesk.read_basin_table(table), design_storm_module).drop(index="outlet")
    assert (written.xs("design_storm_2h", level="storm")[summary.columns].to_numpy() == summary.to_numpy()).all()
    assert done.stderr.splitlines()[-1].startswith("vesk.ensemble: 3 basins x 1 storm, 0 refused, ")
    assert "on 2 workers" in done.stderr.splitlines()[-1]


def test_the_command_line_sums_up_in_one_line(tmp_path):
    table = write_table(tmp_path / "basins.csv", 2, seed=18)
    storm = os.path.join(EXAMPLES, "design_storm_2h.csv")
    done = cli(table, storm, "--out", tmp_path / "out.csv", "--partition-size", "1")
    assert done.returncode == 0, done.stderr
    last = done.stderr.splitlines()[-1]
    assert last.startswith("vesk.ensemble: 2 basins x 1 storm, 0 refused, ") and last.endswith(
        " s in this process, 2 tasks")


@pytest.mark.parametrize("options, message", [
    (["--partition-size", "0"], "argument --partition-size: takes a whole number of at least 1, not '0'"),
    (["--partition-size", "many"], "argument --partition-size: takes a whole number of at least 1, not 'many'"),
    (["--workers", "-1"], "argument --workers: takes a whole number of at least 1, not '-1'"),
    (["--volume-tolerance", "150"], "argument --volume-tolerance: takes a percentage above 0 and below 100"),
    (["--out", "{table}"], "--out {table} would overwrite the input file {table}"),
    (["--out", "{storm}"], "--out {storm} would overwrite the input file {storm}"),
])
def test_the_command_line_refuses_bad_options_with_a_message(tmp_path, options, message):
    table = write_table(tmp_path / "basins.csv", 2, seed=19)
    storm = tmp_path / "storm.csv"
    storm.write_text("time_min,depth_in\n5,0.1\n10,0.2\n")
    before = table.read_text(), storm.read_text()
    names = {"table": table, "storm": storm}
    done = cli(table, storm, *(option.format(**names) for option in options))
    assert done.returncode == 2
    assert message.format(**names) in done.stderr and "Traceback" not in done.stderr
    assert (table.read_text(), storm.read_text()) == before


@pytest.mark.parametrize("arguments, message", [
    (["{missing}", "{storm}"], "missing.csv"),
    (["{table}", "{storm}", "--scheduler", "nonsense://x"], "cannot reach the scheduler nonsense://x"),
])
def test_the_command_line_reports_what_it_cannot_reach_without_a_traceback(tmp_path, arguments, message):
    names = {"missing": tmp_path / "missing.csv", "table": write_table(tmp_path / "basins.csv", 2, seed=21),
             "storm": os.path.join(EXAMPLES, "design_storm_2h.csv")}
    done = cli(*(argument.format(**names) for argument in arguments))
    assert done.returncode == 1
    assert done.stderr.startswith("error: ") and message in done.stderr and "Traceback" not in done.stderr

