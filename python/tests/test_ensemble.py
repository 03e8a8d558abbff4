"""vesk.ensemble on a two-worker cluster on 127.0.0.1: the serial numbers,
refused basins, a worker killed mid-run, and the command line."""

import dataclasses
import os
import random
import signal
import subprocess
import sys
import threading
import time

import numpy
import pandas
import pytest

import vesk

distributed = pytest.importorskip("distributed")
ensemble = pytest.importorskip("vesk.ensemble")
pytestmark = pytest.mark.filterwarnings("ignore::DeprecationWarning")  # the event loop library's own


def random_basins(count, seed):
    """Realistic urban basins around the shipped CedarCreek."""
    rng = random.Random(seed)
    base = vesk.Basin.from_file(os.path.join(os.path.dirname(__file__), "..", "..", "examples", "cedar_creek.basin"))
    return {f"B{i:05d}": dataclasses.replace(
        base, name=f"B{i:05d}", area=rng.uniform(0.02, 2.0), impervious_pct=rng.uniform(2.0, 98.0),
        slope=rng.uniform(0.002, 0.05), length=rng.uniform(0.2, 2.5), centroid_length=rng.uniform(0.1, 1.2),
        disconnection_level=rng.choice((0, 1, 2)), dcif=None, rpf=None, ct=None, cp=None) for i in range(count)}


@pytest.fixture(scope="module")
def client():
    cluster = ensemble.local_cluster(2)
    with distributed.Client(cluster) as connected:
        yield connected
    cluster.close()


@pytest.fixture(scope="module")
def storms(design_storm_module):
    design = design_storm_module
    return {"design": design, "half": vesk.Storm(tuple(d / 2 for d in design.depths), 5),
            "long": vesk.Storm(design.depths + design.depths, 5)}


@pytest.fixture(scope="module")
def design_storm_module():
    return vesk.read_storm(os.path.join(os.path.dirname(__file__), "..", "..", "examples", "design_storm_2h.csv"))


def test_a_cluster_gives_the_serial_library_runs_bits(client, storms):
    basins = random_basins(300, seed=7)
    results = ensemble.run(basins, storms, client=client, partition_size=40, hydrographs=True)
    assert results.index.names == ["basin", "storm"] and len(results) == 900
    assert results["error"].isna().all()
    assert results.attrs["units"]["peak_outflow_cfs"] == "cfs"
    with vesk.Library() as lib, pytest.warns(vesk.VeskWarning):
        for storm_name, storm in storms.items():
            frame = lib.run(basins, storm)
            summary = lib.summary(basins, storm)
            rows = results.xs(storm_name, level="storm")
            assert rows.drop(columns=["error", "hydrograph_cfs"]).equals(summary.drop(index="outlet"))
            steps = frame.attrs["computation_step_min"]
            for name in basins:
                flows = frame[name].tolist()
                assert rows.at[name, "hydrograph_cfs"] == ensemble._trimmed(flows, len(storm))
                if steps[name] != 5:  # sub-steps: the peak lies among them, at least the reported one
                    assert rows.at[name, "peak_outflow_cfs"] >= max(flows)
                    continue
                # Computed at the data step: the figures follow from the hydrograph.
                assert rows.at[name, "peak_outflow_cfs"] == max(flows)
                assert rows.at[name, "peak_outflow_time_min"] == float(frame[name].idxmax())
                expected = sum(flows) * 5 * 60 / 43560
                assert rows.at[name, "outflow_volume_acre_ft"] == pytest.approx(expected, rel=1e-12)
            assert sum(step == 5 for step in steps.values()) > 100
    rain = results.loc[(next(iter(basins)), "design"), "rain_volume_acre_ft"]
    assert rain == pytest.approx(sum(storms["design"].depths) * basins["B00000"].area * 640 / 12)


def test_refused_basins_get_an_error_row_and_the_rest_completes(client, storms):
    basins = random_basins(30, seed=3)
    basins["B00004"] = dataclasses.replace(basins["B00004"], width50=5000.0, width75=4000.0)
    basins["B00011"] = dataclasses.replace(basins["B00011"], impervious_pct=120.0)
    results = ensemble.run(basins, {"design": storms["design"]}, client=client, partition_size=8)
    assert results.loc[("B00004", "design"), "error"] == "UnitHydrographError"
    assert results.loc[("B00011", "design"), "error"] == "InvalidBasin"
    assert results.loc[("B00004", "design")].drop("error").isna().all()
    good = {name: basin for name, basin in basins.items() if name not in ("B00004", "B00011")}
    assert results.drop(index=["B00004", "B00011"], level="basin").equals(
        ensemble.run_serial(good, {"design": storms["design"]}))


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
    with vesk.Library("earlier") as lib:
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


def test_the_command_line_writes_a_row_per_basin_and_storm(client, tmp_path, design_storm_module):
    table = tmp_path / "basins.csv"
    table.write_text("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
                     "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay,"
                     "uhTimeStep\nNorth,1.2,1.9,0.85,42,0.008,0.1,0.4,3.5,0.7,0.0009,5\n"
                     "South,0.12,0.5,0.25,88,0.01,0.08,0.35,4.5,0.6,0.0018,5\n")
    storm = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "design_storm_2h.csv")
    out = tmp_path / "results.csv"
    done = subprocess.run([sys.executable, "-m", "vesk.ensemble", str(table), storm, "--scheduler",
                           client.scheduler.address, "--out", str(out)], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    written = pandas.read_csv(out, index_col=["basin", "storm"])
    assert list(written.index) == [("North", "design_storm_2h"), ("South", "design_storm_2h")]
    expected = ensemble.run_serial(vesk.read_basin_table(table), {"design_storm_2h": design_storm_module})
    assert numpy.allclose(written["peak_outflow_cfs"], expected["peak_outflow_cfs"], rtol=1e-15, atol=0)
