"""Dated storms, storm sets, design storms and runs of several storms: the
core's answers through Python, the same as the vesk program's."""

import csv
import io
import warnings

import pytest

import vesk
from conftest import EXAMPLES

pandas = pytest.importorskip("pandas")


def test_a_run_of_several_storms_is_the_vesk_programs_table_and_one_summary_per_storm(tmp_path, vesk_program):
    storms = vesk.idf_storms(EXAMPLES / "idf.csv", [2, 10, 100], [120], 5)
    assert list(storms) == ["2yr_120min", "10yr_120min", "100yr_120min"]
    basins = vesk.read_basin_table(EXAMPLES / "basins.csv")
    with vesk.Library() as lib:
        table = lib.run_storms(basins, storms)
        alone = {name: lib.summary(basins, storm) for name, storm in storms.items()}
    assert table.index.names == ["basin", "storm"]
    assert list(table.index[:4]) == [("outlet", "2yr_120min"), ("MarketSquare", "2yr_120min"),
                                     ("CedarCreek", "2yr_120min"), ("Meadowbrook", "2yr_120min")]
    for name, figures in alone.items():
        for basin in figures.index:
            assert table.loc[(basin, name)].equals(figures.loc[basin])   # bit for bit, the outlet's NaN too
    assert table.attrs["outlet_peak"]["100yr_120min"] > table.attrs["outlet_peak"]["2yr_120min"]
    # vesk storm writes the same storms, and vesk run --summary the same table.
    written = tmp_path / "storms.csv"
    made = vesk_program("storm", "--idf", EXAMPLES / "idf.csv", "--return-period", "2,10,100", "--duration", "120",
                        "--step", "5", "--out", written)
    assert made.returncode == 0, made.stderr
    assert {name: storm.depths for name, storm in vesk.read_storms(written).items()} == \
        {name: storm.depths for name, storm in storms.items()}
    run = vesk_program("run", EXAMPLES / "basins.csv", "--rain", written, "--summary", "-")
    assert run.returncode == 0, run.stderr
    rows = list(csv.DictReader(io.StringIO(run.stdout)))
    assert [(row["basin"], row["storm"]) for row in rows] == list(table.index)
    assert [float(row["peak_outflow_cfs"]) for row in rows] == list(table["peak_outflow_cfs"])


def test_a_dated_series_is_a_storm_and_its_run_keeps_the_dates():
    times = pandas.to_datetime(["2024-05-01 00:10", "2024-05-01 00:20", "2024-05-01 00:50"])
    series = pandas.Series([2.54, 5.08, 2.54], index=times, name="depth_mm")
    with pytest.raises(vesk.InputError, match=r"series: row 3: gap: 2 missing steps of 10 min"):
        vesk.series_storm(series)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        storm = vesk.series_storm(series, fill_gaps="zero")
    assert [w.message.cause for w in caught] == [vesk.WarningCause.GAPS_FILLED]
    assert storm.depths == (0.1, 0.2, 0.0, 0.0, 0.1) and storm.step == 10 and storm.units == "si"
    assert storm.start.isoformat() == "2024-05-01T00:00:00" and storm.filled == 2
    # The index's frequency gives the step even for one row.
    hourly = pandas.Series([1.0], index=pandas.date_range("2024-05-01 01:00", periods=1, freq="60min"),
                           name="intensity_in_h")
    assert vesk.series_storm(hourly).depths == (1.0,)
    for faulty, message in ((series.tz_localize("UTC"), "time zone"),
                            (series.set_axis(times + pandas.Timedelta("1ms")), "fractions of a second")):
        with pytest.raises(vesk.InputError, match=message):
            vesk.series_storm(faulty)
    with vesk.Library() as lib:
        flows = lib.run([vesk.Basin.from_file(EXAMPLES / "meadowbrook.basin")], storm)
    assert isinstance(flows.index, pandas.DatetimeIndex) and flows.index.name == "time"
    assert str(flows.index[0]) == "2024-05-01 00:10:00"


def test_design_storms_a_run_could_not_take_are_refused():
    with pytest.raises(vesk.InputError, match="the mean intensity rises with the duration"):
        vesk.relation_storm(60, 10, -0.8, 120, 5)
    with pytest.raises(vesk.InputError, match="beyond the 100 in"):
        vesk.relation_storm(1e300, 10, 0.8, 120, 5)
    storm = vesk.distribution_storm("NRCS_Type_II", 76.2, 30, units="si")
    assert storm.units == "si" and len(storm) == 48
    assert sum(storm.depths) == pytest.approx(3.0, abs=1e-12)
    assert sum(storm.depths[:24]) == pytest.approx(3.0 * 0.663, abs=1e-12)   # the table's fraction at 12 h
