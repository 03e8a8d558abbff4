"""``vesk.read_storm``: a storm as one rainfall depth per simulation step."""

import csv
from dataclasses import dataclass

from .basin import DECIMAL


@dataclass(frozen=True)
class Storm:
    """Rainfall depths in inches, one per step; ``step`` (minutes) is known
    when the file gave times, else None (the basins' step is used)."""

    depths: tuple
    step: object = None

    def __len__(self):
        return len(self.depths)


def read_storm(path):
    """Reads a storm CSV: an optional header line, then either two columns
    (time at the end of the interval in minutes, depth in inches) or one
    column of depths.  Times must be step, 2 step, 3 step, ... ValueError with
    file and line otherwise."""
    rows = []
    with open(path, newline="", encoding="utf-8-sig") as stream:
        for line, cells in enumerate(csv.reader(stream), start=1):
            cells = [cell.strip() for cell in cells]
            if not cells or all(cell == "" for cell in cells) or cells[0].startswith("#"):
                continue
            if not rows and not DECIMAL.match(cells[0]):
                rows.append(None)  # the header line
                continue
            rows.append((line, cells))
    rows = [row for row in rows if row is not None]
    if not rows:
        raise ValueError(f"{path}: holds no rainfall")
    width = len(rows[0][1])
    if width not in (1, 2):
        raise ValueError(f"{path}:{rows[0][0]}: a storm has one column (depth) or two (time, depth)")
    depths, step = [], None
    for index, (line, cells) in enumerate(rows, start=1):
        if len(cells) != width:
            raise ValueError(f"{path}:{line}: {len(cells)} cells, the first row has {width}")
        for cell in cells:
            if not DECIMAL.match(cell):
                raise ValueError(f"{path}:{line}: '{cell}' is not a decimal number")
        depth = float(cells[-1])
        if depth < 0:
            raise ValueError(f"{path}:{line}: rainfall depth {cells[-1]} is negative")
        if width == 2:
            time = float(cells[0])
            if index == 1:
                if time != int(time) or time < 1:
                    raise ValueError(f"{path}:{line}: the first time {cells[0]} is not a whole number of minutes")
                step = int(time)
            elif time != index * step:
                raise ValueError(f"{path}:{line}: time {cells[0]} min, expected {index * step} "
                                 f"(steps of {step} min)")
        depths.append(depth)
    return Storm(tuple(depths), step)
