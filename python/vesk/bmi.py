"""``vesk.bmi.BmiVesk``: the library behind the Basic Model Interface.

Coupling frameworks drive a model through the BMI methods: ``initialize``
with a configuration file, ``set_value`` for inputs, ``update`` /
``update_until`` to advance, ``get_value`` for outputs, ``finalize``.  The
method names and signatures are those of the interface's published Python
base class, so a framework can use this class in place of one derived from it.

The configuration is a small TOML file; paths are relative to its folder::

    time_step = 5                   # min, the simulation step
    end_time = 240                  # min, the end of the run
    basin_table = "basins.csv"      # a CSV basin table, or
    basin_files = ["a.basin"]       # positional basin files (either or both)
    units = "us"                    # of the basin files and table: "us" or "si"
    level = "current"               # or "earlier"

Variables (one value per basin, in configuration order, grid 0):

- input ``atmosphere_water__rainfall_depth`` (in): rain of each basin in the
  next step, 0 to 100 in (``update`` refuses other depths and the model
  stays where it is); it stays as set until set again;
- output ``channel_exit_water__volume_flow_rate`` (ft3 s-1): outflow at the
  end of the latest step;
- output ``land_surface_water__runoff_depth`` (in): excess depth of the
  latest step over each basin.

The basins are read and checked by the host core, and each ``update`` is one
step of a core session: one call for every basin.
"""

import os
import tomllib

import numpy

from .basin import read_basins
from .errors import InputError
from .library import Library

RAIN = "atmosphere_water__rainfall_depth"
OUTFLOW = "channel_exit_water__volume_flow_rate"
RUNOFF = "land_surface_water__runoff_depth"

_UNITS = {RAIN: "in", OUTFLOW: "ft3 s-1", RUNOFF: "in"}
_KNOWN_KEYS = {"time_step", "end_time", "basin_table", "basin_files", "units", "level"}


def read_config(path):
    """The configuration as (level, step, end time, BasinSet)."""
    with open(path, "rb") as stream:
        config = tomllib.load(stream)
    unknown = set(config) - _KNOWN_KEYS
    if unknown:
        raise InputError(f"{path}: unknown key(s) {', '.join(sorted(unknown))}; known: "
                         f"{', '.join(sorted(_KNOWN_KEYS))}")
    folder = os.path.dirname(os.path.abspath(path))
    paths = ([config["basin_table"]] if "basin_table" in config else []) + list(config.get("basin_files", []))
    if not paths:
        raise InputError(f"{path}: names no basins (basin_table or basin_files)")
    step, end = config.get("time_step"), config.get("end_time")
    if not isinstance(step, int) or isinstance(step, bool) or step < 1:
        raise InputError(f"{path}: time_step must be a whole number of minutes of at least 1")
    if not isinstance(end, (int, float)) or isinstance(end, bool) or end < 0:
        raise InputError(f"{path}: end_time must be a number of minutes of at least 0")
    basins = read_basins(*(os.path.join(folder, name) for name in paths), units=config.get("units", "us"))
    return config.get("level", "current"), step, float(end), basins


class BmiVesk:
    """The vesk library as a BMI model: one vector of values per variable,
    one item per basin."""

    def __init__(self):
        self._library = None
        self._session = None
        self._names = []
        self._step = 0
        self._end = 0.0
        self._time = 0.0
        self._values = {}

    # -- control --------------------------------------------------------------

    def initialize(self, config_file: str) -> None:
        """Reads the configuration, opens the library and starts a session of
        the basins at the configured step."""
        level, self._step, self._end, basins = read_config(config_file)
        library = Library(level).open()
        try:
            self._session = library.session(basins, self._step)
        except BaseException:
            library.close()
            raise
        self._library = library
        self._names = list(self._session.names)
        self._time = 0.0
        self._values = {name: numpy.zeros(len(self._names)) for name in (RAIN, OUTFLOW, RUNOFF)}

    def update(self) -> None:
        """Advances every basin one step with the rain set for it."""
        self._session.advance(self._values[RAIN], outflows=self._values[OUTFLOW], excess=self._values[RUNOFF])
        self._time = float(self._session.time)

    def update_until(self, time: float) -> None:
        """Takes whole steps while the next one ends at or before ``time`` (min)."""
        if time < self._time:
            raise InputError(f"time {time} min is before the model's time {self._time} min")
        while self._time + self._step <= time:
            self.update()

    def finalize(self) -> None:
        """Frees the basins and closes the library."""
        if self._session is not None:
            self._session.close()
            self._session = None
        if self._library is not None:
            self._library.close()
            self._library = None

    # -- information ----------------------------------------------------------

    def get_component_name(self) -> str:
        return "vesk urban storm-water runoff"

    def get_input_item_count(self) -> int:
        return len(self.get_input_var_names())

    def get_output_item_count(self) -> int:
        return len(self.get_output_var_names())

    def get_input_var_names(self):
        return (RAIN,)

    def get_output_var_names(self):
        return (OUTFLOW, RUNOFF)

    # -- variables ------------------------------------------------------------

    def _known(self, name):
        if name not in _UNITS:
            raise KeyError(f"unknown variable {name!r}; the variables are {', '.join(_UNITS)}")
        return name

    def get_var_grid(self, name: str) -> int:
        self._known(name)
        return 0

    def get_var_type(self, name: str) -> str:
        self._known(name)
        return "float64"

    def get_var_units(self, name: str) -> str:
        return _UNITS[self._known(name)]

    def get_var_itemsize(self, name: str) -> int:
        self._known(name)
        return numpy.dtype("float64").itemsize

    def get_var_nbytes(self, name: str) -> int:
        return self.get_var_itemsize(name) * len(self._names)

    def get_var_location(self, name: str) -> str:
        self._known(name)
        return "node"

    # -- time -----------------------------------------------------------------

    def get_current_time(self) -> float:
        return self._time

    def get_start_time(self) -> float:
        return 0.0

    def get_end_time(self) -> float:
        return self._end

    def get_time_units(self) -> str:
        return "min"

    def get_time_step(self) -> float:
        return float(self._step)

    # -- values ---------------------------------------------------------------

    def get_value_ptr(self, name: str) -> numpy.ndarray:
        """The model's own array of the variable (changes as the model runs)."""
        return self._values[self._known(name)]

    def get_value(self, name: str, dest: numpy.ndarray) -> numpy.ndarray:
        dest[:] = self.get_value_ptr(name)
        return dest

    def get_value_at_indices(self, name: str, dest: numpy.ndarray, inds: numpy.ndarray) -> numpy.ndarray:
        dest[:] = self.get_value_ptr(name)[inds]
        return dest

    def _input(self, name):
        if self._known(name) not in self.get_input_var_names():
            raise KeyError(f"{name!r} is an output; set {RAIN!r}")
        return self._values[name]

    def set_value(self, name: str, src: numpy.ndarray) -> None:
        self._input(name)[:] = numpy.asarray(src, dtype="float64").reshape(-1)

    def set_value_at_indices(self, name: str, inds: numpy.ndarray, src: numpy.ndarray) -> None:
        self._input(name)[inds] = numpy.asarray(src, dtype="float64").reshape(-1)

    # -- grid: a vector of basins -----------------------------------------------

    def _grid(self, grid):
        if grid != 0:
            raise KeyError(f"unknown grid {grid}; the model has grid 0 (one item per basin)")

    def get_grid_rank(self, grid: int) -> int:
        self._grid(grid)
        return 1

    def get_grid_size(self, grid: int) -> int:
        self._grid(grid)
        return len(self._names)

    def get_grid_type(self, grid: int) -> str:
        self._grid(grid)
        return "vector"

    def get_grid_shape(self, grid: int, shape: numpy.ndarray) -> numpy.ndarray:
        self._grid(grid)
        shape[:] = (len(self._names),)
        return shape

    def get_grid_node_count(self, grid: int) -> int:
        return self.get_grid_size(grid)

    def get_grid_edge_count(self, grid: int) -> int:
        self._grid(grid)
        return 0

    def get_grid_face_count(self, grid: int) -> int:
        self._grid(grid)
        return 0

    def get_grid_spacing(self, grid: int, spacing: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_origin(self, grid: int, origin: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_x(self, grid: int, x: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_y(self, grid: int, y: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_z(self, grid: int, z: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_edge_nodes(self, grid: int, edge_nodes: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_face_edges(self, grid: int, face_edges: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_face_nodes(self, grid: int, face_nodes: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    def get_grid_nodes_per_face(self, grid: int, nodes_per_face: numpy.ndarray) -> numpy.ndarray:
        raise _no_geometry()

    # -- beyond the interface -----------------------------------------------------

    @property
    def basin_names(self):
        """The basins in the order of every variable's items."""
        return list(self._names)


def _no_geometry():
    return NotImplementedError("the basins are a vector of items without coordinates or topology")
