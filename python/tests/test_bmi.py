"""vesk.bmi.BmiVesk driven as a coupling framework drives a model."""

import inspect

import numpy
import pytest

import vesk
from vesk.bmi import OUTFLOW, RAIN, RUNOFF, BmiVesk

# The interface's published Python base class: every method and its parameters.
BMI_METHODS = {
    "initialize": ["config_file"], "update": [], "update_until": ["time"], "finalize": [],
    "get_component_name": [], "get_input_item_count": [], "get_output_item_count": [],
    "get_input_var_names": [], "get_output_var_names": [],
    "get_var_grid": ["name"], "get_var_type": ["name"], "get_var_units": ["name"],
    "get_var_itemsize": ["name"], "get_var_nbytes": ["name"], "get_var_location": ["name"],
    "get_current_time": [], "get_start_time": [], "get_end_time": [], "get_time_units": [],
    "get_time_step": [],
    "get_value": ["name", "dest"], "get_value_ptr": ["name"], "get_value_at_indices": ["name", "dest", "inds"],
    "set_value": ["name", "src"], "set_value_at_indices": ["name", "inds", "src"],
    "get_grid_rank": ["grid"], "get_grid_size": ["grid"], "get_grid_type": ["grid"],
    "get_grid_shape": ["grid", "shape"], "get_grid_spacing": ["grid", "spacing"],
    "get_grid_origin": ["grid", "origin"], "get_grid_x": ["grid", "x"], "get_grid_y": ["grid", "y"],
    "get_grid_z": ["grid", "z"], "get_grid_node_count": ["grid"], "get_grid_edge_count": ["grid"],
    "get_grid_face_count": ["grid"], "get_grid_edge_nodes": ["grid", "edge_nodes"],
    "get_grid_face_edges": ["grid", "face_edges"], "get_grid_face_nodes": ["grid", "face_nodes"],
    "get_grid_nodes_per_face": ["grid", "nodes_per_face"],
}


def test_the_class_has_every_interface_method_with_its_parameters():
    for method, parameters in BMI_METHODS.items():
        signature = inspect.signature(getattr(BmiVesk, method))
        assert list(signature.parameters)[1:] == parameters, method


@pytest.fixture
def config(tmp_path, examples):
    path = tmp_path / "vesk.toml"
    path.write_text(f'time_step = 5\nend_time = 200\nbasin_files = ["{examples / "cedar_creek.basin"}", '
                    f'"{examples / "market_square.basin"}"]\n')
    return path


def test_a_framework_loop_gives_the_librarys_run(config, examples, design_storm):
    model = BmiVesk()
    model.initialize(str(config))
    try:
        assert model.get_input_var_names() == (RAIN,)
        assert set(model.get_output_var_names()) == {OUTFLOW, RUNOFF}
        assert model.get_var_units(OUTFLOW) == "ft3 s-1" and model.get_time_units() == "min"
        grid = model.get_var_grid(OUTFLOW)
        size = model.get_grid_size(grid)
        assert size == 2 and model.get_grid_type(grid) == "vector"
        assert model.get_var_nbytes(OUTFLOW) == size * model.get_var_itemsize(OUTFLOW)
        outflow = model.get_value_ptr(OUTFLOW)
        series, k = [], 0
        while model.get_current_time() < model.get_end_time():
            depth = design_storm.depths[k] if k < len(design_storm) else 0.0
            model.set_value(RAIN, numpy.full(size, depth))
            model.update_until(model.get_current_time() + model.get_time_step())
            series.append(model.get_value(OUTFLOW, numpy.empty(size)).copy())
            k += 1
        assert model.get_current_time() == 200.0 and outflow is model.get_value_ptr(OUTFLOW)
        picked = model.get_value_at_indices(OUTFLOW, numpy.empty(1), numpy.array([1]))
        assert picked[0] == series[-1][1]
    finally:
        model.finalize()
    with vesk.Library() as lib:
        frame = lib.run([vesk.Basin.from_file(examples / "cedar_creek.basin"),
                         vesk.Basin.from_file(examples / "market_square.basin")], design_storm, duration=200)
    assert numpy.array_equal(numpy.array(series), frame[["CedarCreek", "MarketSquare"]].to_numpy())


def test_rain_can_differ_by_basin_and_update_until_never_overshoots(config):
    model = BmiVesk()
    model.initialize(str(config))
    try:
        model.set_value_at_indices(RAIN, numpy.array([1]), numpy.array([0.5]))
        model.update_until(12.0)
        assert model.get_current_time() == 10.0
        runoff = model.get_value(RUNOFF, numpy.empty(2))
        assert runoff[0] == 0.0 and runoff[1] > 0.0
        with pytest.raises(KeyError):
            model.set_value(OUTFLOW, numpy.zeros(2))
        for depth in (-0.1, 100.5, 1e308):  # a step takes 0 to 100 in, as every run
            model.set_value(RAIN, numpy.array([0.1, depth]))
            with pytest.raises(vesk.InputError, match="basin MarketSquare: rain depth"):
                model.update()
        assert model.get_current_time() == 10.0  # refused before any basin stepped
        model.set_value(RAIN, numpy.array([0.1, 100.0]))
        model.update()
        assert model.get_current_time() == 15.0
    finally:
        model.finalize()
    assert not vesk.library._OPEN_LEVELS  # finalize closed the library


def test_a_configuration_without_basins_or_with_unknown_keys_is_refused(tmp_path):
    path = tmp_path / "bad.toml"
    path.write_text("time_step = 5\nend_time = 60\ncolour = 'red'\n")
    with pytest.raises(vesk.InputError, match="unknown key"):
        BmiVesk().initialize(str(path))
    path.write_text("time_step = 5\nend_time = 60\n")
    with pytest.raises(vesk.InputError, match="names no basins"):
        BmiVesk().initialize(str(path))
    path.write_text('time_step = 5\nend_time = 60\nbasin_files = ["missing.basin"]\n')
    with pytest.raises(vesk.InputError, match="missing.basin"):
        BmiVesk().initialize(str(path))
    assert not vesk.library._OPEN_LEVELS
