"""vesk: urban storm-water runoff in Python.

Basins in, hydrographs out, over the vesk shared libraries::

    import vesk
    basins = vesk.read_basin_table("basins.csv")      # or [vesk.Basin.from_file(p) ...]
    storm = vesk.read_storm("design_storm_2h.csv")
    with vesk.Library() as lib:
        flows = lib.run(basins, storm)                # DataFrame: time_min x (rain_in, basins, outlet in cfs)
        figures = lib.summary(basins, storm)          # DataFrame: basin x summary figures

Readers, checks, unit conversion, runs and summaries are the host core's
(``libvesk_host``), the same as the ``vesk`` program's.  Units are the
library's (sq mi, mi, in, in/h, 1/s, ft/ft, minutes, cfs) unless ``units="si"``
is asked for.  The libraries are looked up through VESK_LIBRARY (files or
folders), then next to this package, then the system's search path.  Every
call into them takes ``vesk.LOCK``, so the package may be used from threads.
"""

from . import calc
from ._binding import LOCK
from ._version import VERSION, __version__
from .basin import DERIVE, Basin, BasinSet, read_basins
from .errors import (BasinFileError, BasinNotFound, BasinTableError, DuplicateBasin, InputError, InvalidBasin,
                     LibraryInUse, LibraryNotFound, NoRegistry, OutOfMemory, UnitHydrographError, UnknownCode,
                     VersionUnconfirmed, VeskError, VeskWarning, WarningCause)
from .library import Library, RunResult, Session, Step
from .design import distribution_storm, idf_storms, relation_storm
from .storm import Storm, read_storm, read_storms, series_storm
from .table import read_basin_table

__all__ = [
    "VERSION", "__version__", "LOCK", "calc", "DERIVE", "Basin", "BasinSet", "Library", "Session", "Step",
    "RunResult", "Storm", "read_storm", "read_storms", "series_storm", "relation_storm", "idf_storms",
    "distribution_storm", "read_basins", "read_basin_table", "VeskError", "InputError",
    "InvalidBasin", "BasinTableError", "BasinNotFound", "UnitHydrographError", "OutOfMemory", "BasinFileError",
    "NoRegistry", "DuplicateBasin", "VersionUnconfirmed", "UnknownCode", "LibraryNotFound", "LibraryInUse",
    "VeskWarning", "WarningCause",
]
