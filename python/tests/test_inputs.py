"""Reading basins and storms: the positional basin file, the CSV basin table,
the storm file, and the physical checks of a Basin."""

import dataclasses
import warnings

import pytest

import vesk
from vesk.table import INCH_MM, MILE_KM, SQUARE_MILE_KM2

HEADER = ("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
          "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay")
ROW = "1.2,1.9,0.85,42,0.008,0.1,0.4,3.5,0.7,0.0009"


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


@pytest.mark.parametrize("text,message", [
    ("", "holds no basin name"),
    ("B 1 2 3", "ends before value 4 (dcif)"),
    ("B 1 2.5 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22", "value 2 (disconnection_level) '2.5'"),
    ("B\n1 1 1 1\n1 1 1 1\n1 0x1", ":4: value 10 (slope) '0x1' is not a number"),
    ("B " + " ".join(["1"] * 22) + " extra", "unexpected 'extra'"),
])
def test_a_bad_basin_file_is_refused_with_its_line(tmp_path, text, message):
    with pytest.raises(ValueError, match=message.replace("(", r"\(").replace(")", r"\)")):
        vesk.Basin.from_file(write(tmp_path, text, "bad.basin"))


def test_a_basin_table_reads_required_optional_and_derived_columns(tmp_path):
    path = write(tmp_path, "\ufeff# a comment line\n"
                 f"NAME,{HEADER[5:]},dcif,ct,uhTimeStep,disconnectionLevel\n\n"
                 f"\"Cedar, upper\",{ROW},derive,0.14,5,1\n"
                 f"Elm,{ROW},0.55,,,\n")
    basins = vesk.read_basin_table(path)
    assert list(basins) == ["Cedar, upper", "Elm"]
    upper, elm = basins.values()
    assert upper.dcif is None and upper.ct == 0.14 and upper.uh_time_step == 5 and upper.disconnection_level == 1
    assert elm.dcif == 0.55 and elm.ct is None and elm.uh_time_step is None and elm.disconnection_level == 0
    assert (elm.area, elm.infiltration_decay) == (1.2, 0.0009)


def test_a_basin_table_in_si_units_converts_with_the_exact_constants(tmp_path):
    si = vesk.read_basin_table(write(tmp_path, f"{HEADER}\nA,{ROW}\n"), units="si")["A"]
    assert si.area == 1.2 / SQUARE_MILE_KM2 and si.length == 1.9 / MILE_KM
    assert si.centroid_length == 0.85 / MILE_KM and si.impervious_depression_storage == 0.1 / INCH_MM
    assert si.initial_infiltration_rate == 3.5 / INCH_MM and si.final_infiltration_rate == 0.7 / INCH_MM
    assert (si.slope, si.impervious_pct, si.infiltration_decay) == (0.008, 42.0, 0.0009)


@pytest.mark.parametrize("text,message", [
    (f"{HEADER},colour\nA,{ROW},red\n", r":1: column 12 'colour' is not a basin field; the fields are name, area"),
    (f"area,name\n", "the first column must be 'name'"),
    ("name,area\nA,1\n", "lacks the required column"),
    (f"{HEADER}\nA,{ROW}\nB,{ROW.replace('42', '4x2')}\n", r":3: column 5 \(imperviousPct\): '4x2'"),
    (f"{HEADER}\nA,{ROW.replace('0.008', 'inf')}\n", r"column 6 \(slope\): 'inf' is not a decimal"),
    (f"{HEADER}\nA,{ROW}\na,{ROW}\n", "basin 'a' appears twice"),
    (f"{HEADER}\nA,{ROW},1\n", "12 cells, the header has 11"),
    (f"{HEADER},uhTimeStep\nA,{ROW},5.5\n", "'5.5' is not a whole number"),
])
def test_a_bad_basin_table_names_file_line_and_column(tmp_path, text, message):
    path = write(tmp_path, text)
    with pytest.raises(vesk.BasinTableError, match=message) as caught:
        vesk.read_basin_table(path)
    assert str(path) in str(caught.value)


def test_the_shipped_storm_reads_as_five_minute_depths(design_storm):
    assert design_storm.step == 5 and len(design_storm) == 24
    assert design_storm.depths[7] == 0.38 and sum(design_storm.depths) == pytest.approx(1.77)


@pytest.mark.parametrize("text,message", [
    ("time,depth\n5,0.1\n11,0.2\n", ":3: time 11 min, expected 10"),
    ("0.1\n-0.2\n", ":2: rainfall depth -0.2 is negative"),
    ("0.1,0.2,0.3\n", "one column"),
])
def test_a_bad_storm_is_refused_with_its_line(tmp_path, text, message):
    with pytest.raises(ValueError, match=message):
        vesk.read_storm(write(tmp_path, text, "storm.csv"))


@pytest.mark.parametrize("change,problem", [
    ({"impervious_pct": -1.0}, "impervious_pct"),
    ({"impervious_pct": 100.5}, "impervious_pct"),
    ({"disconnection_level": 3}, "disconnection_level"),
    ({"area": -0.1}, "area"),
    ({"length": -1.0}, "length"),
    ({"pervious_depression_storage": -0.01}, "pervious_depression_storage"),
    ({"infiltration_decay": -0.001}, "infiltration_decay"),
    ({"final_infiltration_rate": 5.0}, "final_infiltration_rate 5.0 in/h is above"),
    ({"slope": 0.0}, "slope"),
    ({"dcif": 1.5}, "dcif"),
    ({"width50": -3.0}, "width50"),
    ({"area": float("nan")}, "not a finite number"),
    ({"uh_time_step": 2.5}, "uh_time_step"),
])
def test_a_physically_impossible_basin_is_refused(small_basin, change, problem):
    with pytest.raises(vesk.InvalidBasin, match=problem):
        dataclasses.replace(small_basin, **change).validate()


@pytest.mark.parametrize("change,note", [({"slope": 0.6}, "steep"), ({"area": 150.0}, "large")])
def test_an_unusual_basin_is_accepted_with_a_warning(small_basin, change, note):
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        dataclasses.replace(small_basin, **change).validate()
    assert len(caught) == 1 and note in str(caught[0].message)
    assert issubclass(caught[0].category, vesk.VeskWarning)


def test_derived_values_reach_the_library_as_its_requests(small_basin):
    record = dataclasses.replace(small_basin, dcif="derive", rpf=None).fill_record(vesk._records.BasinInput(), 5)
    assert (record.dcif, record.rpf, record.shape.ct, record.shape.width50) == (-1.0, -1.0, 0.0, 0.0)
    assert (record.timeStep, record.shape.uhTimeStep, record.area) == (5.0, 5, 0.25)
