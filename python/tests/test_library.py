"""vesk.Library: the same bits as the C API and as the vesk program, the
results' shape and units, summaries, simulate and sessions, the errors and
the one-library-per-process rule."""

import csv
import ctypes
import dataclasses
import struct
import warnings

import numpy
import pandas
import pytest

import vesk
from vesk import _binding

# Offsets of the current level's BasinInput as the header fixes them, written
# here independently of the package's structures.
OFFSETS = {
    "area": 0, "length": 8, "centroidLength": 16, "imperviousPct": 24, "slope": 40, "timeStep": 48,
    "perviousDepressionStorage": 56, "imperviousDepressionStorage": 64, "initialInfiltrationRate": 72,
    "finalInfiltrationRate": 80, "infiltrationDecay": 88, "dcif": 104, "rpf": 112, "ct": 176, "cp": 184,
    "width50": 192, "width75": 200, "rise50Fraction": 208, "rise75Fraction": 216,
}
FILE_ORDER = ["area", "disconnectionLevel", "centroidLength", "dcif", "imperviousPct", "length", "rpaShare",
              "rpf", "spaShare", "slope", "imperviousDepressionStorage", "perviousDepressionStorage",
              "initialInfiltrationRate", "infiltrationDecay", "finalInfiltrationRate", "cp", "ct",
              "rise50Fraction", "rise75Fraction", "uhTimeStep", "width50", "width75"]


def raw_record(path, step):
    """A 232-byte BasinInput packed straight from a basin file's tokens, its
    unit hydrograph and simulation at ``step`` minutes."""
    tokens = path.read_text().split()
    values = dict(zip(FILE_ORDER, tokens[1:]))
    record = ctypes.create_string_buffer(232)
    for field, offset in OFFSETS.items():
        if field == "timeStep":
            continue
        struct.pack_into("<d", record, offset, float(values[field]))
    struct.pack_into("<d", record, OFFSETS["timeStep"], float(step))
    struct.pack_into("<i", record, 96, int(values["disconnectionLevel"]))
    struct.pack_into("<i", record, 224, int(step))
    return tokens[0], record


def c_api_run(paths, depths, step, steps, computation):
    """Hydrographs by calling the exports directly, as a C host would: each
    basin at its computation step (``computation``: name -> minutes, a
    divisor of ``step``), each step's depth split evenly over its sub-steps,
    the outflow at the end of every step kept."""
    lib = ctypes.CDLL(_binding.candidate_paths("current")[0][0])
    lib.vesk_execute.restype = ctypes.c_double
    lib.vesk_execute.argtypes = [ctypes.c_char_p, ctypes.c_double, ctypes.c_int32]
    lib.vesk_geterror.restype = ctypes.c_int32
    lib.vesk_open()
    lib.vesk_checkversion(struct.pack("<4i", 1, 3, 6, 3))
    names = []
    for path in paths:
        name = path.read_text().split()[0]
        name, record = raw_record(path, computation[name])
        lib.vesk_addbasin(record, name.encode())
        names.append(name)
    assert lib.vesk_geterror() == 0
    flows = {name: [] for name in names}
    for k in range(steps):
        rain = depths[k] if k < len(depths) else 0.0
        for name in names:
            sub = computation[name]
            parts = step // sub
            for j in range(1, parts + 1):
                outflow = lib.vesk_execute(name.encode(), rain / parts, k * step + j * sub)
            flows[name].append(outflow)
    assert lib.vesk_geterror() == 0
    lib.vesk_free()
    return flows


def test_the_examples_through_the_design_storm_give_the_c_apis_bits(examples, example_basins, design_storm):
    with vesk.Library() as lib:
        frame = lib.run(example_basins, design_storm)
        prepared = {b.name: lib.record(b.name) for b in example_basins}
        summary = lib.summary(example_basins, design_storm)
    paths = [examples / f"{b}.basin" for b in ("cedar_creek", "market_square", "meadowbrook")]
    # MarketSquare's 6.3-minute time to peak is short for 5-minute steps.
    assert frame.attrs["computation_step_min"] == {"CedarCreek": 5, "MarketSquare": 1, "Meadowbrook": 5}
    expected = c_api_run(paths, design_storm.depths, 5, len(frame), frame.attrs["computation_step_min"])
    for name, flows in expected.items():
        assert frame[name].tolist() == flows  # exact: the same bits
    # The outlet sums the basins, in their order.
    assert frame["outlet"].tolist() == [0.0 + a + b + c for a, b, c in zip(*expected.values())]
    # The run ends on the first step after the storm with every outflow 0.
    assert (frame.iloc[-1, 1:] == 0.0).all() and (frame.iloc[-2, 1:] > 0.0).any()
    for name in expected:  # the library's own peak time, and the summary's
        assert summary.loc[name, "peak_outflow_time_min"] == prepared[name]["peakTime"]


def test_the_results_frame_has_time_rows_basin_columns_and_units(example_basins, design_storm):
    with vesk.Library() as lib:
        frame = lib.run(example_basins, design_storm)
        alone = lib.run(example_basins[:1], design_storm)
    assert isinstance(frame, pandas.DataFrame)
    assert list(frame.columns) == ["rain_in", "CedarCreek", "MarketSquare", "Meadowbrook", "outlet"]
    assert list(alone.columns) == ["rain_in", "CedarCreek"]  # one basin is its own outlet
    assert frame.index.name == "time_min" and frame.index.dtype == "int64"
    assert frame.index[0] == 5 and (frame.index.to_series().diff().dropna() == 5).all()
    assert frame["rain_in"].iloc[:24].tolist() == list(design_storm.depths)
    assert frame["rain_in"].iloc[24:].eq(0).all()
    assert frame.attrs["units"] == {"time_min": "min", "rain_in": "in", "CedarCreek": "cfs",
                                    "MarketSquare": "cfs", "Meadowbrook": "cfs", "outlet": "cfs"}
    assert frame.attrs["time_step_min"] == 5
    with vesk.Library() as lib:
        minutes = lib.run(example_basins, design_storm, report_step=1)
    assert minutes.attrs["time_step_min"] == 1 and minutes.index[0] == 1 and len(minutes) == 5 * len(frame)
    assert minutes["outlet"].iloc[4::5].tolist() == frame["outlet"].tolist()  # where a data step ends


def read_csv(path):
    """The header and rows, numbers as floats (an empty cell, a figure the
    outlet does not have, as NaN)."""
    with open(path, newline="") as stream:
        rows = list(csv.reader(stream))
    return rows[0], [[(float(cell) if cell else float("nan")) if i else cell for i, cell in enumerate(row)]
                     for row in rows[1:]]


SI_TABLE = ("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
            "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay,uhTimeStep\n"
            "North,3.1,3.0,1.4,42,0.008,2.5,10,90,18,0.0009,5\nSouth,0.31,0.8,0.4,88,0.01,2,9,115,15,0.0018,5\n")


@pytest.mark.parametrize("units,step,duration", [("us", None, None), ("us", 10, None), ("us", 1, 90),
                                                 ("si", None, None), ("si", 15, 600)])
def test_run_and_summary_give_the_vesk_programs_numbers_and_names(tmp_path, examples, vesk_program, units, step,
                                                                  duration):
    if units == "si":
        table = tmp_path / "basins.csv"
        table.write_text(SI_TABLE)
        storm = tmp_path / "storm.csv"
        storm.write_text("time_min,depth_mm\n" + "".join(f"{5 * k + 5},{d}\n" for k, d in enumerate([2, 9, 4.5, 1])))
    else:
        table, storm = examples / "basins.csv", examples / "design_storm_2h.csv"
    options = ["--units", units] + (["--time-step", step] if step else []) + (["--duration", duration] if duration else [])
    done = vesk_program("run", table, "--rain", storm, "--csv", tmp_path / "flows.csv", "--summary",
                        tmp_path / "summary.csv", *options)
    assert done.returncode == 0, done.stderr
    with vesk.Library() as lib, warnings.catch_warnings():
        warnings.simplefilter("ignore", vesk.VeskWarning)
        basins, rain = vesk.read_basin_table(table, units), vesk.read_storm(storm)
        frame = lib.run(basins, rain, step=step, duration=duration, units=units)
        summary = lib.summary(basins, rain, step=step, duration=duration, units=units)
    header, rows = read_csv(tmp_path / "flows.csv")
    # The program's hydrograph has a dry row at 0 and names each column with its unit.
    assert [float(row[0]) for row in rows[1:]] == frame.index.tolist()
    assert numpy.array_equal(numpy.array([row[1:] for row in rows[1:]]), frame.to_numpy())
    flow_unit = "_m3s" if units == "si" else "_cfs"
    assert header == ["time_min", frame.columns[0], *(name + flow_unit for name in frame.columns[1:])]
    header, rows = read_csv(tmp_path / "summary.csv")
    assert header == ["basin", *summary.columns] and [row[0] for row in rows] == summary.index.tolist()
    assert numpy.array_equal(numpy.array([row[1:] for row in rows]), summary.to_numpy(), equal_nan=True)
    assert summary.index[0] == "outlet" and summary.loc["outlet", "area_sq_mi" if units == "us" else "area_km2"] > 0
    assert ("peak_outflow_m3s" if units == "si" else "peak_outflow_cfs") in summary.columns
    assert summary.attrs["units"]["area_km2" if units == "si" else "area_sq_mi"] == ("km2" if units == "si" else "sq mi")


def test_without_pandas_the_results_are_a_dict_of_arrays(monkeypatch, small_basin):
    monkeypatch.setattr(vesk.library, "pandas", None)
    with vesk.Library() as lib, warnings.catch_warnings():
        warnings.simplefilter("ignore", vesk.VeskWarning)
        result = lib.run({"Elm": small_basin}, [0.1, 0.35, 0.6], duration=30)
        summary = lib.summary({"Elm": small_basin}, [0.1, 0.35, 0.6])
    assert list(result) == ["time_min", "rain_in", "Elm"]
    assert result["time_min"].tolist() == [5, 10, 15, 20, 25, 30]
    assert len(result["Elm"]) == 6 and result["Elm"].max() > 0
    assert summary["basin"] == ["Elm"] and summary["rain_volume_acre_ft"] == [pytest.approx(1.05 * 0.25 * 640 / 12)]


def test_simulate_yields_the_steps_run_returns_with_the_basins_at_each_step(small_basin, examples):
    basins = {"Elm": small_basin, "Cedar": vesk.Basin.from_file(examples / "cedar_creek.basin")}
    storm = vesk.Storm((0.3, 0.6), step=10)  # resampled to 5-minute steps
    with vesk.Library() as lib:
        frame = lib.run(basins, storm, step=5)
        seen = []
        for taken in lib.simulate(basins, storm, step=5):
            state = lib.state("Elm")
            seen.append((taken.time, taken.rain, taken.outflows["Elm"], taken.outflows["Cedar"], state["time"],
                         state["stepRain"]))
    assert [s[0] for s in seen] == frame.index.tolist() == [s[4] for s in seen]
    assert [s[1] for s in seen] == frame["rain_in"].tolist()
    assert [s[1] for s in seen[:4]] == [0.15, 0.15, 0.3, 0.3]
    # The library took the step's depth in even shares over Elm's sub-steps.
    parts = 5 // frame.attrs["computation_step_min"]["Elm"]
    assert [s[5] for s in seen] == [s[1] / parts for s in seen]
    assert [s[2] for s in seen] == frame["Elm"].tolist() and [s[3] for s in seen] == frame["Cedar"].tolist()


def test_a_session_steps_each_basin_with_its_own_rain(small_basin, examples):
    cedar = vesk.Basin.from_file(examples / "cedar_creek.basin")
    with vesk.Library() as lib:
        alone = lib.run({"Elm": small_basin}, [0.4, 0.0, 0.2], duration=60)
        with lib.session({"Elm": small_basin, "Cedar": cedar}, 5) as session:
            flows, excess = numpy.zeros(2), numpy.zeros(2)
            series = []
            for depth in [0.4, 0.0, 0.2] + [0.0] * 9:
                session.advance([depth, 0.0], outflows=flows, excess=excess)
                series.append(flows[0])
                assert excess[1] == 0.0
            with pytest.raises(vesk.InputError, match="beyond the 100 in"):
                session.advance(1e308)
            assert session.time == 60 and lib.state("Cedar")["stepRain"] == 0.0
            lib.run({"Elm": small_basin}, [0.1])
            with pytest.raises(vesk.InputError, match="replaced the library's basins"):
                session.advance(0.0)
    assert series == alone["Elm"].tolist()


# The small basin gives a uhTimeStep of 5 min and is computed at a finer
# step, which a note says; at 30-minute data it is computed at a step that
# holds its volume, so no volume warning arises.
@pytest.mark.parametrize("arguments,causes", [
    ({"storm": [0.1, 0.35, 0.6, 0.3, 0.2], "duration": 10}, ["UNIT_HYDROGRAPH_STEP", "OUTFLOW_VOLUME", "STORM_CUT"]),
    ({"storm": [0.5] + [0.0] * 100 + [0.5] + [0.0] * 200, "step": 5}, ["LONG_RECORD", "UNIT_HYDROGRAPH_STEP"]),
    ({"storm": [0.1, 0.35, 0.6], "step": 30}, ["UNIT_HYDROGRAPH_STEP"]),
])
def test_a_runs_warnings_carry_their_cause(small_basin, arguments, causes):
    with vesk.Library() as lib, warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        lib.run({"Elm": small_basin}, **arguments)
    assert [w.message.cause.name for w in caught] == causes
    assert all(w.category is vesk.VeskWarning and w.filename == __file__ for w in caught)


def test_step_record_state_and_unit_hydrograph_read_the_stored_basin(small_basin):
    with vesk.Library() as lib:
        lib.add("Elm Street", small_basin, step=5)
        first = lib.step("elm street", 0.6, 5)
        state = lib.state("ELM STREET")
        record = lib.record("Elm Street")
        uh = lib.unit_hydrograph("Elm Street")
        assert lib.step("Elm Street", 0.0, numpy.int64(10)) > 0  # numpy integers are times too
    assert state["time"] == 5 and state["stepRain"] == 0.6 and state["stepExcess"] > 0
    assert first == pytest.approx(state["stepExcess"] * uh.iloc[0])
    assert record["shape"]["ct"] > 0 and record["timeStep"] == 5.0  # derived, stored
    assert small_basin.ct is None  # the caller's basin is left as it was
    assert uh.index[0] == 5 and uh.attrs["units"] == "cfs/in"
    # One inch over 0.25 sq mi is 13.33 acre-ft; the ordinates hold about that.
    volume = uh.sum() * 5 * 60 / 43560
    assert volume == pytest.approx(record["unitRunoffVolume"], rel=0.1)


def test_a_second_library_of_a_level_is_refused_until_the_first_closes():
    with vesk.Library():
        with pytest.raises(vesk.LibraryInUse):
            vesk.Library().open()
        with vesk.Library("earlier"):  # the other level is another library
            pass
    with vesk.Library():
        pass


def test_errors_raise_the_codes_exceptions_and_the_library_goes_on(small_basin):
    with vesk.Library() as lib:
        lib.add("Elm", small_basin, step=5)
        lib.step("Elm", 0.5, 5)
        with pytest.raises(vesk.BasinNotFound) as missing:
            lib.step("Oak", 0.5, 10)
        assert missing.value.code == 1 and missing.value.export == "vesk_execute"
        with pytest.raises(vesk.DuplicateBasin):
            lib.add("ELM", small_basin, step=5)
        unfittable = dataclasses.replace(small_basin, width50=5000.0, width75=4000.0)
        with pytest.raises(vesk.UnitHydrographError) as refused:
            lib.add("Unfittable", unfittable)
        assert refused.value.code == 2 and "vesk_addbasin" in str(refused.value)
        assert refused.value.basins_dropped is False
        with pytest.raises(vesk.UnitHydrographError):
            lib.add("Flat", dataclasses.replace(small_basin, slope=0.0))
        # The code was cleared and the stored basin kept its state.
        assert lib.raw.vesk_geterror() == 0
        assert lib.basins == ["Elm"] and lib.state("Elm")["time"] == 5
        lib.step("Elm", 0.5, 10)


@pytest.mark.parametrize("level", ["current", "earlier"])
def test_a_refused_run_names_the_basin_and_the_next_run_works(small_basin, level):
    unfittable = dataclasses.replace(small_basin, width50=5000.0, width75=4000.0)
    with vesk.Library(level) as lib:
        with pytest.raises(vesk.UnitHydrographError) as refused:
            lib.run({"Elm": small_basin, "Unfittable": unfittable}, [0.5])
        assert refused.value.code == 2 and "adding basin Unfittable" in str(refused.value)
        assert lib.basins == [] and lib.raw.vesk_geterror() == 0
        flows = lib.run({"Elm": small_basin}, [0.5])["Elm"].tolist()
        assert lib.basins == ["Elm"] and max(flows) > 0
        assert [taken.outflows["Elm"] for taken in lib.simulate({"Elm": small_basin}, [0.5])] == flows


def test_the_earlier_level_recovers_from_a_refusal_by_starting_afresh(small_basin):
    with vesk.Library("earlier") as lib:
        lib.add("Elm", small_basin, step=5)
        unfittable = dataclasses.replace(small_basin, width50=5000.0, width75=4000.0)
        with pytest.raises(vesk.UnitHydrographError) as refused:
            lib.add("Unfittable", unfittable)
        assert refused.value.basins_dropped is True and lib.basins == []
        lib.add("Elm", small_basin, step=5)
        assert lib.step("Elm", 0.5, 0) >= 0  # one step per call at this level
        assert lib.state("Elm")["clock"] == 5


def test_the_earlier_level_has_its_own_record_and_numbers(small_basin):
    with vesk.Library("earlier") as lib:
        earlier = lib.run({"Elm": small_basin}, [0.1, 0.35, 0.6])
        record = lib.record("Elm")
        assert lib.version is None
    with vesk.Library() as lib:
        current = lib.run({"Elm": small_basin}, [0.1, 0.35, 0.6])
    assert "timeStep" not in record and record["spaShare"] > 0
    assert earlier["Elm"].max() != current["Elm"].max()


def test_impossible_basins_and_rain_are_refused_before_the_library_steps(small_basin):
    with vesk.Library() as lib:
        with pytest.raises(vesk.InvalidBasin, match="imperviousPct 120 is impossible"):
            lib.add("Bad", dataclasses.replace(small_basin, impervious_pct=120.0))
        with pytest.raises(vesk.InvalidBasin, match="name 'outlet' is taken"):
            lib.add("outlet", small_basin)
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            lib.add("Steep", dataclasses.replace(small_basin, slope=0.8))
        assert [w.message.cause.name for w in caught][0] == "UNUSUAL_VALUE"
        with pytest.raises(vesk.InputError):
            lib.add("Mixed", small_basin, step=10)  # uh_time_step is 5
        for depth in (-0.1, 1000.5, float("nan")):  # the library takes 0 to 1,000 in a step
            with pytest.raises(vesk.InputError, match="was not stepped"):
                lib.step("Steep", depth, 5)
        assert lib.step("Steep", 1000.0, 5) > 0
        for storm in ([1e308], [100.5], [-0.1]):  # a run takes 0 to 100 in a step
            with pytest.raises(vesk.InputError, match="step 1: rain depth"):
                lib.run({"Elm": small_basin}, storm)


@pytest.mark.parametrize("level", ["current", "earlier"])
def test_a_sampled_unit_hydrograph_far_from_one_inch_is_warned_of(small_basin, level):
    with vesk.Library(level) as lib, warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        lib.add("Fine", small_basin)
        lib.add("Coarse", dataclasses.replace(small_basin, uh_time_step=15))
    # The vesk program reports the same basin at a 15-minute step alike.
    assert [str(w.message) for w in caught] == [
        "basin Coarse: the sampled unit hydrograph holds 126.5 % of one inch over the basin (16.868 of 13.333 "
        "acre-ft); likely cause: the 15-minute step is coarse for the basin's 16.3-minute time to peak (try a "
        "smaller uhTimeStep; a run chooses the step itself)."]
    assert caught[0].message.cause.name == "UNIT_HYDROGRAPH_VOLUME" and caught[0].message.basin == "Coarse"


def test_a_library_that_is_not_open_says_so(small_basin):
    with pytest.raises(RuntimeError, match="not open"):
        vesk.Library().add("Elm", small_basin)
