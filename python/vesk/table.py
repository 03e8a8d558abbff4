"""``vesk.read_basin_table``: many basins from one CSV file, one per row.

The host core reads the table: the first row names the columns (the library
record's field names, any letter case, ``name`` first); blank lines and lines
whose first cell starts with ``#`` are skipped; optional columns may be left
out; an empty cell or ``derive`` in a derivable column asks the library for
the value.  See the README's basin table section for every rule.
"""

from .basin import BasinSet, read_basins
from .errors import BasinTableError


def read_basin_table(path, units="us"):
    """The basins of a CSV basin table as a BasinSet (a mapping name -> Basin,
    in the table's order).

    ``units="us"`` reads sq mi, mi, in and in/h; ``units="si"`` reads km2, km,
    mm and mm/h, converted exactly to the library's units.  Every basin is
    checked as a run checks it; unusual values are warned of (VeskWarning).
    Raises BasinTableError (an InputError, so a ValueError) naming file, line
    and column.
    """
    return read_basins(path, units=units)


__all__ = ["read_basin_table", "BasinTableError", "BasinSet"]
