"""``vesk.read_basin_table``: many basins from one CSV file, one per row.

The first row names the columns (case-insensitive, the library record's field
names, ``name`` first).  Blank lines and lines whose first cell starts with
``#`` are skipped; a UTF-8 byte-order mark is tolerated.  Optional columns may
be left out; an empty cell or the word ``derive`` in a derivable column lets
the library derive the value.  With ``units="si"`` areas are km², lengths km,
depths mm and rates mm/h, converted exactly to the library's units.
"""

import csv

from .basin import DECIMAL, INTEGER, Basin

MILE_KM = 1.609344
INCH_MM = 25.4
SQUARE_MILE_KM2 = 2.589988110336

# Record field name -> (Basin field, kind, SI divisor).  Kind: "real",
# "integer", "derivable" (empty or 'derive' asks the library).
_REQUIRED = {
    "area": ("area", "real", SQUARE_MILE_KM2),
    "length": ("length", "real", MILE_KM),
    "centroidLength": ("centroid_length", "real", MILE_KM),
    "imperviousPct": ("impervious_pct", "real", None),
    "slope": ("slope", "real", None),
    "imperviousDepressionStorage": ("impervious_depression_storage", "real", INCH_MM),
    "perviousDepressionStorage": ("pervious_depression_storage", "real", INCH_MM),
    "initialInfiltrationRate": ("initial_infiltration_rate", "real", INCH_MM),
    "finalInfiltrationRate": ("final_infiltration_rate", "real", INCH_MM),
    "infiltrationDecay": ("infiltration_decay", "real", None),
}
_OPTIONAL = {
    "disconnectionLevel": ("disconnection_level", "integer", None),
    "eiaPct": ("eia_pct", "real", None),
    "uhTimeStep": ("uh_time_step", "integer", None),
    "dcif": ("dcif", "derivable", None),
    "rpf": ("rpf", "derivable", None),
    "ct": ("ct", "derivable", None),
    "cp": ("cp", "derivable", None),
    "width50": ("width50", "derivable", None),
    "width75": ("width75", "derivable", None),
    "rise50Fraction": ("rise50_fraction", "derivable", None),
    "rise75Fraction": ("rise75_fraction", "derivable", None),
}
KNOWN_COLUMNS = ["name", *_REQUIRED, *_OPTIONAL]
_BY_LOWER = {name.lower(): name for name in KNOWN_COLUMNS}


class BasinTableError(ValueError):
    """A basin table that cannot be read; the message names file, line and column."""


def _skipped(cells):
    return not cells or all(not cell.strip() for cell in cells) or cells[0].lstrip().startswith("#")


def _rows(path):
    """(line number, cells) of each row that counts, the header first."""
    with open(path, newline="", encoding="utf-8-sig") as stream:
        reader = csv.reader(stream, strict=True)
        line = 1
        try:
            for cells in reader:
                if not _skipped(cells):
                    yield line, cells
                line = reader.line_num + 1
        except csv.Error as error:
            raise BasinTableError(f"{path}:{reader.line_num}: {error}") from None


def _header(path, line, cells):
    columns = []
    for index, cell in enumerate(cells, start=1):
        known = _BY_LOWER.get(cell.strip().lower())
        if known is None:
            raise BasinTableError(f"{path}:{line}: column {index} '{cell.strip()}' is not a basin field; "
                                  f"the fields are {', '.join(KNOWN_COLUMNS)}")
        if known in columns:
            raise BasinTableError(f"{path}:{line}: column {index} '{cell.strip()}' appears twice")
        columns.append(known)
    if columns[0] != "name":
        raise BasinTableError(f"{path}:{line}: the first column must be 'name', not '{cells[0].strip()}'")
    missing = [name for name in _REQUIRED if name not in columns]
    if missing:
        raise BasinTableError(f"{path}:{line}: the header lacks the required column(s) {', '.join(missing)}")
    return columns


def _value(text, kind, divisor, where):
    text = text.strip()
    if kind == "derivable" and (text == "" or text.lower() == "derive"):
        return None
    if text == "":
        if kind == "real":
            raise BasinTableError(f"{where}: a value is required")
        return None
    if kind == "integer":
        if not INTEGER.match(text):
            raise BasinTableError(f"{where}: '{text}' is not a whole number")
        return int(text)
    if not DECIMAL.match(text):
        raise BasinTableError(f"{where}: '{text}' is not a decimal number")
    value = float(text)
    return value / divisor if divisor is not None else value


def read_basin_table(path, units="us"):
    """The basins of a CSV basin table as an ordered dict name -> Basin.

    ``units="us"`` reads sq mi, mi, in and in/h; ``units="si"`` reads km², km,
    mm and mm/h.  Raises BasinTableError (a ValueError) naming file, line and
    column; the basins are not validated here (``Library.add`` does that).
    """
    if units not in ("us", "si"):
        raise ValueError(f"units must be 'us' or 'si', not {units!r}")
    rows = _rows(path)
    first = next(rows, None)
    if first is None:
        raise BasinTableError(f"{path}: holds no header row")
    columns = _header(path, *first)
    basins, seen = {}, set()
    for line, cells in rows:
        if len(cells) != len(columns):
            raise BasinTableError(f"{path}:{line}: {len(cells)} cells, the header has {len(columns)}")
        name = cells[0].strip()
        if not name:
            raise BasinTableError(f"{path}:{line}: column 1 (name) is empty")
        if name.upper() in seen:
            raise BasinTableError(f"{path}:{line}: column 1 (name): basin '{name}' appears twice")
        seen.add(name.upper())
        values = {}
        for index, (column, cell) in enumerate(zip(columns, cells), start=1):
            if column == "name":
                continue
            target, kind, divisor = {**_REQUIRED, **_OPTIONAL}[column]
            where = f"{path}:{line}: column {index} ({column})"
            value = _value(cell, kind, divisor if units == "si" else None, where)
            if value is not None:
                values[target] = value
        basins[name] = Basin(name=name, **values)
    return basins
