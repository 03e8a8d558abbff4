"""vesk: urban storm-water runoff in Python.

Basins in, hydrographs out, over the vesk shared libraries::

    import vesk
    basins = vesk.read_basin_table("basins.csv")      # or [vesk.Basin.from_file(p) ...]
    storm = vesk.read_storm("design_storm_2h.csv")
    with vesk.Library() as lib:
        flows = lib.run(basins, storm)                # DataFrame: time_min x (rain_in, basins in cfs)

Units are the library's: sq mi, mi, in, in/h, 1/s, ft/ft, minutes, cfs.
The library is looked up through VESK_LIBRARY (a file or folder), then next
to this package, then the system's search path.
"""

from . import calc
from ._version import VERSION, __version__
from .basin import DERIVE, Basin
from .errors import (BasinFileError, BasinNotFound, DuplicateBasin, InvalidBasin, LibraryInUse,
                     LibraryNotFound, NoRegistry, OutOfMemory, UnitHydrographError, UnknownCode,
                     VersionUnconfirmed, VeskError, VeskWarning)
from .library import Library, Step
from .storm import Storm, read_storm
from .table import BasinTableError, read_basin_table

__all__ = [
    "VERSION", "__version__", "calc", "DERIVE", "Basin", "Library", "Step", "Storm", "read_storm",
    "read_basin_table", "BasinTableError", "VeskError", "BasinNotFound", "UnitHydrographError",
    "OutOfMemory", "BasinFileError", "NoRegistry", "DuplicateBasin", "VersionUnconfirmed", "UnknownCode",
    "LibraryNotFound", "LibraryInUse", "InvalidBasin", "VeskWarning",
]
