"""vesk.calc: readable names call the right export with the right arguments,
at both levels, with no library open."""

import inspect

import pytest

import vesk
from vesk import _binding
from vesk.calc import CALCULATORS


@pytest.mark.parametrize("level", ["current", "earlier"])
def test_every_calculator_export_has_a_readable_name(level):
    frame = {"vesk_open", "vesk_free", "vesk_geterror", "vesk_getversion", "vesk_checkversion", "vesk_addbasin",
             "vesk_loadandadd", "vesk_execute", "vesk_getbasin", "vesk_getbasin_precip", "vesk_getuhlength",
             "vesk_getuhordinatevalue"}
    exported = set(_binding.EXPORTS[level]) - frame
    assert {export for _, export, _, _ in CALCULATORS[level]} == exported
    assert len(exported) == (25 if level == "current" else 26)


def test_readable_calculators_give_the_raw_exports_values():
    calc = vesk.calc
    assert calc.directly_connected_fraction(1, 35.0) == calc.vesk_calcDCIF(1, 35.0)
    assert calc.receiving_pervious_fraction(level=2, impervious_pct=50.0) == calc.vesk_calcRPF(2, 50.0)
    assert calc.cp_coefficient(45.0, "a") == calc.vesk_CPgetParam(45.0, 123.0, "a")
    assert calc.overland_flow_time(0.5, 300.0, 0.02) == calc.vesk_initialFlowTime(0.5, 300.0, 0.02, 9.0)
    assert calc.runoff_coefficient("B", 10, 40.0) == calc.vesk_runoffCoeff("B", 10, 40.0)
    assert list(inspect.signature(calc.travel_time).parameters) == ["length", "velocity"]
    assert "vesk_calcTc" in calc.time_of_concentration.__doc__


def test_calculators_compute_the_documented_relations():
    calc = vesk.calc
    assert calc.linear_interpolation(1.0, 0.0, 3.0, 2.0, 1.0) == 2.0
    assert calc.regional_time_of_concentration(1800.0) == 1800.0 / 180 + 10
    assert calc.travel_time(600.0, 2.0) == 600.0 / (60 * 2.0)
    assert calc.channel_length(100.0, 130.0) == 0.0
    assert calc.min_time_of_concentration(20.0) == 10.0 and calc.min_time_of_concentration(30.0) == 5.0
    assert calc.rainfall_intensity(2.0, 3.0, 5.0, 1.0, 2.0) == 2.0 * 5.0 / (3.0 + 1.0) ** 2.0
    assert calc.unconnected_impervious_fraction(1.0) == 0.00001
    assert calc.dcif_coefficient(1, 35.0, "z") == 0.0


def test_the_earlier_levels_calculators_take_their_own_arguments():
    earlier = vesk.calc.earlier
    assert earlier.effective_impervious_pct(2, 50.0) == pytest.approx(43.575, abs=1e-5)  # float tables
    assert earlier.effective_impervious_pct(1, 50.0) == 50.0
    assert earlier.unconnected_impervious_fraction(1, 40.0) == 1 - earlier.directly_connected_fraction(1, 40.0)
    assert earlier.eia_coefficient(2, 25.0, "a") == pytest.approx(0.7)
    assert earlier.peak_coefficient(30.0, 0.1) != vesk.calc.peak_coefficient(30.0, 0.1, 0.2)
