"""vesk.Library: the same bits as the C API, the results' shape and units,
the errors and the one-library-per-process rule."""

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
    """A 232-byte BasinInput packed straight from a basin file's tokens."""
    tokens = path.read_text().split()
    values = dict(zip(FILE_ORDER, tokens[1:]))
    record = ctypes.create_string_buffer(232)
    for field, offset in OFFSETS.items():
        if field == "timeStep":
            continue
        struct.pack_into("<d", record, offset, float(values[field]))
    struct.pack_into("<d", record, OFFSETS["timeStep"], float(step))
    struct.pack_into("<i", record, 96, int(values["disconnectionLevel"]))
    struct.pack_into("<i", record, 224, int(values["uhTimeStep"]))
    return tokens[0], record


def c_api_run(paths, depths, step, steps):
    """Hydrographs by calling the exports directly, as a C host would."""
    lib = ctypes.CDLL(_binding.candidate_paths("current")[0][0])
    lib.vesk_execute.restype = ctypes.c_double
    lib.vesk_execute.argtypes = [ctypes.c_char_p, ctypes.c_double, ctypes.c_int32]
    lib.vesk_geterror.restype = ctypes.c_int32
    lib.vesk_open()
    lib.vesk_checkversion(struct.pack("<4i", 1, 3, 6, 3))
    names = []
    for path in paths:
        name, record = raw_record(path, step)
        lib.vesk_addbasin(record, name.encode())
        names.append(name)
    assert lib.vesk_geterror() == 0
    flows = {name: [] for name in names}
    for k in range(steps):
        rain = depths[k] if k < len(depths) else 0.0
        for name in names:
            flows[name].append(lib.vesk_execute(name.encode(), rain, (k + 1) * step))
    assert lib.vesk_geterror() == 0
    lib.vesk_free()
    return flows


def test_the_examples_through_the_design_storm_give_the_c_apis_bits(examples, example_basins, design_storm):
    with vesk.Library() as lib:
        frame = lib.run(example_basins, design_storm)
        prepared = {b.name: lib.record(b.name) for b in example_basins}
    paths = [examples / f"{b}.basin" for b in ("cedar_creek", "market_square", "meadowbrook")]
    expected = c_api_run(paths, design_storm.depths, 5, len(frame))
    for name, flows in expected.items():
        assert frame[name].tolist() == flows  # exact: the same bits
    # The run ends on the first step after the storm with every outflow 0.
    assert (frame.iloc[-1, 1:] == 0.0).all() and (frame.iloc[-2, 1:] > 0.0).any()
    # The summary's peak outflow and peak time are the library's own.
    for name in expected:
        assert frame[name].idxmax() == prepared[name]["peakTime"]
        assert frame[name].max() == max(expected[name])


def test_the_results_frame_has_time_rows_basin_columns_and_units(example_basins, design_storm):
    with vesk.Library() as lib:
        frame = lib.run(example_basins, design_storm)
    assert isinstance(frame, pandas.DataFrame)
    assert list(frame.columns) == ["rain_in", "CedarCreek", "MarketSquare", "Meadowbrook"]
    assert frame.index.name == "time_min" and frame.index.dtype == "int64"
    assert frame.index[0] == 5 and (frame.index.to_series().diff().dropna() == 5).all()
    assert frame["rain_in"].iloc[:24].tolist() == list(design_storm.depths)
    assert frame["rain_in"].iloc[24:].eq(0).all()
    assert frame.attrs["units"] == {"time_min": "min", "rain_in": "in", "CedarCreek": "cfs",
                                    "MarketSquare": "cfs", "Meadowbrook": "cfs"}
    assert frame.attrs["time_step_min"] == 5


def test_without_pandas_the_results_are_a_dict_of_arrays(monkeypatch, small_basin):
    monkeypatch.setattr(vesk.library, "pandas", None)
    with vesk.Library() as lib:
        result = lib.run({"Elm": small_basin}, [0.1, 0.35, 0.6], duration=30)
    assert list(result) == ["time_min", "rain_in", "Elm"]
    assert result["time_min"].tolist() == [5, 10, 15, 20, 25, 30]
    assert len(result["Elm"]) == 6 and result["Elm"].max() > 0


def test_simulate_yields_the_steps_run_returns(small_basin):
    with vesk.Library() as lib:
        frame = lib.run({"Elm": small_basin}, [0.1, 0.35, 0.6, 0.25])
        steps = list(lib.simulate({"Elm": small_basin}, [0.1, 0.35, 0.6, 0.25]))
        assert lib.state("Elm")["time"] == steps[-1].time
    assert [s.time for s in steps] == frame.index.tolist()
    assert [s.outflows["Elm"] for s in steps] == frame["Elm"].tolist()
    assert [s.rain for s in steps] == frame["rain_in"].tolist()


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
        unfittable = vesk.Basin(**{**small_basin.__dict__, "width50": 5000.0, "width75": 4000.0})
        with pytest.raises(vesk.UnitHydrographError) as refused:
            lib.add("Unfittable", unfittable)
        assert refused.value.code == 2 and "vesk_addbasin" in str(refused.value)
        assert refused.value.basins_dropped is False
        # The code was cleared and the stored basin kept its state.
        assert lib.raw.vesk_geterror() == 0
        assert lib.basins == ["Elm"] and lib.state("Elm")["time"] == 5
        lib.step("Elm", 0.5, 10)


def test_the_earlier_level_recovers_from_a_refusal_by_starting_afresh(small_basin):
    with vesk.Library("earlier") as lib:
        lib.add("Elm", small_basin, step=5)
        unfittable = vesk.Basin(**{**small_basin.__dict__, "width50": 5000.0, "width75": 4000.0})
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


def test_impossible_basins_are_refused_before_the_library_sees_them(small_basin):
    with vesk.Library() as lib:
        with pytest.raises(vesk.InvalidBasin):
            lib.add("Bad", vesk.Basin(**{**small_basin.__dict__, "impervious_pct": 120.0}))
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            lib.add("Steep", vesk.Basin(**{**small_basin.__dict__, "slope": 0.8}))
        assert any(issubclass(w.category, vesk.VeskWarning) for w in caught)
        with pytest.raises(ValueError):
            lib.add("Mixed", small_basin, step=10)  # uh_time_step is 5
        for depth in (-0.1, 1000.5):  # the library takes 0 to 1,000 in a step
            with pytest.raises(ValueError):
                lib.step("Steep", depth, 5)
        assert lib.step("Steep", 1000.0, 5) > 0


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
        "smaller uh_time_step)"]
    assert caught[0].category is vesk.VeskWarning


def test_a_library_that_is_not_open_says_so(small_basin):
    with pytest.raises(RuntimeError, match="not open"):
        vesk.Library().add("Elm", small_basin)
