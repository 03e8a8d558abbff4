"""Reading basins and storms through the host core as a Python user does:
Basins from files and tables, basin sets, the checks of a Basin made in
Python.  Every reading of the shared input corpus is checked in
test_corpus.py."""

import dataclasses
import warnings

import pytest

import vesk

HEADER = ("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
          "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay")
ROW = "1.2,1.9,0.85,42,0.008,0.1,0.4,3.5,0.7,0.0009"
BASIN_FILE = "B 1.2 1 0.85 0.55 42 1.9 0 0.35 0 0.008 0.1 0.4 3.5 0.0009 0.7 0.45 0.14 0 0 5 0 0"


def write(tmp_path, text, name="basins.csv"):
    path = tmp_path / name
    path.write_text(text, encoding="utf-8")
    return path


def test_a_basin_file_reads_in_the_files_value_order(examples):
    cedar = vesk.Basin.from_file(examples / "cedar_creek.basin")
    assert cedar.name == "CedarCreek"
    assert (cedar.area, cedar.disconnection_level, cedar.centroid_length, cedar.dcif) == (1.2, 1, 0.85, 0.55)
    assert (cedar.impervious_pct, cedar.length, cedar.rpf, cedar.slope) == (42, 1.9, 0.35, 0.008)
    assert (cedar.initial_infiltration_rate, cedar.infiltration_decay, cedar.final_infiltration_rate) == \
        (3.5, 0.0009, 0.7)
    assert (cedar.cp, cedar.ct, cedar.rise50_fraction, cedar.uh_time_step) == (0.45, 0.14, None, 5)
    meadow = vesk.Basin.from_file(examples / "meadowbrook.basin")
    assert meadow.dcif is None and meadow.rpf is None  # -1 asks for the derived value


def test_a_basin_table_reads_required_optional_and_derived_columns(tmp_path):
    path = write(tmp_path, "\ufeff# a comment line\n"
                 f"NAME,{HEADER[5:]},dcif,ct,uhTimeStep,disconnectionLevel\n\n"
                 f"\"Cedar, upper\",{ROW},derive,0.14,5,1\n"
                 f"Elm,{ROW},0,,,\n")
    basins = vesk.read_basin_table(path)
    assert isinstance(basins, vesk.BasinSet) and list(basins) == ["Cedar, upper", "Elm"]
    upper, elm = basins.values()
    assert upper.dcif is None and upper.ct == 0.14 and upper.uh_time_step == 5 and upper.disconnection_level == 1
    assert elm.dcif == 0.0 and elm.ct is None  # a given 0 is a value, not "derive" and elm.uh_time_step is None and elm.disconnection_level == 0
    assert (elm.area, elm.infiltration_decay, elm.name) == (1.2, 0.0009, "Elm")


def test_a_basin_table_in_si_units_converts_with_the_exact_constants(tmp_path):
    si = vesk.read_basin_table(write(tmp_path, f"{HEADER}\nA,{ROW}\n"), units="si")["A"]
    # km2 per sq mi is 1.609344 squared; 25.4 mm an inch.
    assert si.area == 1.2 / 2.589988110336 and si.length == 1.9 / 1.609344
    assert si.centroid_length == 0.85 / 1.609344 and si.impervious_depression_storage == 0.1 / 25.4
    assert si.initial_infiltration_rate == 3.5 / 25.4 and si.final_infiltration_rate == 0.7 / 25.4
    assert (si.slope, si.impervious_pct, si.infiltration_decay) == (0.008, 42.0, 0.0009)


def test_several_files_read_into_one_set_and_a_name_may_not_repeat(tmp_path, examples):
    table = write(tmp_path, f"{HEADER}\nElm,{ROW}\n")
    basins = vesk.read_basins(examples / "cedar_creek.basin", table)
    assert list(basins) == ["CedarCreek", "Elm"]
    with pytest.raises(vesk.InputError, match="basin 'cedarcreek' is already among the basins"):
        vesk.read_basins(examples / "cedar_creek.basin", write(tmp_path, f"{HEADER}\ncedarcreek,{ROW}\n", "more.csv"))
    with pytest.raises(vesk.InputError, match="holds 3 basins"):
        vesk.Basin.from_file(examples / "basins.csv")


@pytest.mark.parametrize("text,where", [
    (f"{HEADER}\nA,{ROW}\nB,{ROW.replace('42', '4x2')}\n", ":3: column 5 (imperviousPct)"),
    ("B\n1 1 1 1\n1 1 1 1\n1 0x1", ":4: value 10 (slope)"),
])
def test_a_refusal_names_file_line_and_field(tmp_path, text, where):
    path = write(tmp_path, text, "bad.csv" if "," in text else "bad.basin")
    with pytest.raises(vesk.InputError) as caught:
        vesk.read_basins(path)
    assert str(caught.value).startswith(f"{path}{where}")


def test_the_shipped_storm_reads_as_five_minute_depths(design_storm):
    assert design_storm.step == 5 and len(design_storm) == 24 and design_storm.units == "us"
    assert design_storm.depths[7] == 0.38 and sum(design_storm.depths) == pytest.approx(1.77)


@pytest.mark.parametrize("path,message", [
    ("/dev/zero", "/dev/zero:1: line longer than 4096 characters"),
    ("/nonexistent/storm.csv", "/nonexistent/storm.csv"),
])
def test_an_endless_or_missing_storm_file_is_refused(path, message):
    with pytest.raises(vesk.InputError, match=message):
        vesk.read_storm(path)


@pytest.mark.parametrize("change,message", [
    ({"impervious_pct": -1.0}, "imperviousPct -1 is impossible; allowed: 0 to 100 %"),
    ({"impervious_pct": 100.5}, "imperviousPct 100.5 is impossible"),
    ({"disconnection_level": 3}, "disconnectionLevel 3 is impossible; allowed: 0, 1 or 2"),
    ({"area": -0.1}, "area -0.1 sq mi is impossible; allowed: 0 or more"),
    ({"length": -1.0}, "length -1 mi is impossible"),
    ({"pervious_depression_storage": -0.01}, "perviousDepressionStorage -0.01 in is impossible"),
    ({"infiltration_decay": -0.001}, "infiltrationDecay -0.001 is impossible"),
    ({"final_infiltration_rate": 5.0}, "finalInfiltrationRate 5 in/h is impossible; allowed: at most the "
                                       "initialInfiltrationRate 4 in/h"),
    ({"dcif": 1.5}, "dcif 1.5 is impossible"),
    ({"area": float("nan")}, "area nan is not a finite number"),
    ({"ct": float("inf")}, "ct inf is not a finite number"),
    ({"area": "big"}, "area 'big' is not a number"),
    ({"disconnection_level": 1.5}, "disconnection_level 1.5 is not a whole number"),
    ({"uh_time_step": 2.5}, "uh_time_step 2.5 is not a whole number"),
])
def test_a_physically_impossible_basin_is_refused(small_basin, change, message):
    with pytest.raises(vesk.InvalidBasin) as caught:
        dataclasses.replace(small_basin, **change).validate()
    assert message in str(caught.value)
    assert isinstance(caught.value, ValueError)  # code that catches ValueError keeps working


@pytest.mark.parametrize("change,note", [({"slope": 0.6}, "slope 0.6 is unusually steep"),
                                         ({"area": 150.0}, "area 150 sq mi is unusually large")])
def test_an_unusual_basin_is_accepted_with_a_warning_and_its_cause(small_basin, change, note):
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        dataclasses.replace(small_basin, name="Elm", **change).validate()
    assert len(caught) == 1 and note in str(caught[0].message)
    assert caught[0].category is vesk.VeskWarning and caught[0].filename == __file__
    assert caught[0].message.cause.name == "UNUSUAL_VALUE" and caught[0].message.basin == "Elm"


def test_a_basin_set_hands_out_basins_and_follows_their_changes(tmp_path, design_storm):
    basins = vesk.read_basin_table(write(tmp_path, f"{HEADER},uhTimeStep\nA,{ROW},5\nB,{ROW},5\n"))
    with vesk.Library() as lib:
        before = lib.run(basins, design_storm)
        basins["A"].area = 2.4  # a Basin handed out, changed in place
        del basins["B"]
        basins["C"] = dataclasses.replace(basins["A"], area=1.2)
        after = lib.run(basins, design_storm)
    assert list(after.columns) == ["rain_in", "A", "C", "outlet"]
    assert after["C"].tolist() == before["A"].tolist()  # the same basin under a new name
    assert after["A"].max() > before["A"].max()


def test_derived_values_reach_the_library_as_its_requests(small_basin):
    record = dataclasses.replace(small_basin, dcif="derive", rpf=None).fill_record(vesk._records.BasinInput(), 5)
    assert (record.dcif, record.rpf, record.shape.ct, record.shape.width50) == (-1.0, -1.0, 0.0, 0.0)
    assert (record.timeStep, record.shape.uhTimeStep, record.area) == (5.0, 5, 0.25)
