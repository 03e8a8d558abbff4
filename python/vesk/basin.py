"""``vesk.Basin``: one basin's parameters by name and unit, checked before the
library sees them, and the positional basin file."""

import math
import numbers
import re
import warnings
from dataclasses import dataclass, field, fields

from .errors import InvalidBasin, VeskWarning

DERIVE = "derive"

# Above these a basin is possible but unusual enough to say so.
STEEP_SLOPE = 0.5  # ft/ft
LARGE_AREA = 100.0  # sq mi


def _unit(unit, record, doc, derivable=False):
    return {"unit": unit, "record": record, "doc": doc, "derivable": derivable}


@dataclass
class Basin:
    """Parameters of one basin, in the library's units.

    ``dcif``, ``rpf``, ``ct``, ``cp``, the widths and the rise fractions may be
    ``None`` or ``"derive"``: the library derives them then.  ``uh_time_step``
    ``None`` means the run's simulation step.  ``Basin.units()`` lists every
    field's unit; ``validate()`` checks the physics.
    """

    area: float = field(metadata=_unit("sq mi", "area", "total basin area"))
    length: float = field(metadata=_unit("mi", "length", "first of the two lengths that set the time to peak"))
    centroid_length: float = field(metadata=_unit("mi", "centroidLength", "second length of that product"))
    impervious_pct: float = field(metadata=_unit("%", "imperviousPct", "imperviousness, 0 to 100"))
    slope: float = field(metadata=_unit("ft/ft", "slope", "basin slope, above 0"))
    impervious_depression_storage: float = field(
        metadata=_unit("in", "imperviousDepressionStorage", "depression storage of the impervious sub-areas"))
    pervious_depression_storage: float = field(
        metadata=_unit("in", "perviousDepressionStorage", "depression storage of the pervious sub-areas"))
    initial_infiltration_rate: float = field(
        metadata=_unit("in/h", "initialInfiltrationRate", "Horton initial infiltration rate"))
    final_infiltration_rate: float = field(
        metadata=_unit("in/h", "finalInfiltrationRate", "Horton final infiltration rate"))
    infiltration_decay: float = field(metadata=_unit("1/s", "infiltrationDecay", "Horton decay coefficient"))
    disconnection_level: int = field(default=0, metadata=_unit(
        "", "disconnectionLevel", "0, 1 or 2: selects the fraction tables"))
    eia_pct: float = field(default=0.0, metadata=_unit("%", "eiaPct", "effective imperviousness, carried through"))
    dcif: object = field(default=None, metadata=_unit(
        "fraction", "dcif", "directly connected share of the impervious area", True))
    rpf: object = field(default=None, metadata=_unit(
        "fraction", "rpf", "receiving share of the pervious area", True))
    ct: object = field(default=None, metadata=_unit("", "ct", "time-to-peak coefficient", True))
    cp: object = field(default=None, metadata=_unit("", "cp", "peak-rate coefficient", True))
    width50: object = field(default=None, metadata=_unit("min", "width50", "width at 50 % of the peak", True))
    width75: object = field(default=None, metadata=_unit("min", "width75", "width at 75 % of the peak", True))
    rise50_fraction: object = field(default=None, metadata=_unit(
        "", "rise50Fraction", "share of width50 before the peak", True))
    rise75_fraction: object = field(default=None, metadata=_unit(
        "", "rise75Fraction", "share of width75 before the peak", True))
    uh_time_step: object = field(default=None, metadata=_unit(
        "min", "uhTimeStep", "unit-hydrograph step; None: the run's step"))
    name: object = field(default=None, compare=False, metadata=_unit("", "name", "the basin's name, if known"))

    @staticmethod
    def units():
        """Each field's unit, by field name."""
        return {f.name: f.metadata["unit"] for f in fields(Basin) if f.name != "name"}

    @staticmethod
    def record_names():
        """Each field's name in the library's record, by field name."""
        return {f.name: f.metadata["record"] for f in fields(Basin) if f.name != "name"}

    def derives(self, field_name):
        """True where the library is asked to derive the field's value."""
        value = getattr(self, field_name)
        return value is None or (isinstance(value, str) and value.lower() == DERIVE)

    def problems(self):
        """(refusals, warnings): what makes the basin impossible, and what is only unusual."""
        refusals, notes = [], []
        for f in fields(self):
            if f.name in ("name", "uh_time_step", "disconnection_level") or self.derives(f.name):
                continue
            value = getattr(self, f.name)
            if isinstance(value, (str, bool)) or not isinstance(value, numbers.Real):
                refusals.append(f"{f.name} {value!r} is not a number")
            elif not math.isfinite(value):
                refusals.append(f"{f.name} {value!r} is not a finite number")
        if refusals:
            return refusals, notes
        for name in ("area", "length", "centroid_length", "impervious_depression_storage",
                     "pervious_depression_storage", "initial_infiltration_rate", "final_infiltration_rate",
                     "infiltration_decay"):
            if getattr(self, name) < 0:
                refusals.append(f"{name} {getattr(self, name)!r} {self.units()[name]} is negative")
        if self.area == 0:
            refusals.append("area is 0 sq mi")
        if not 0 <= self.impervious_pct <= 100:
            refusals.append(f"impervious_pct {self.impervious_pct!r} is outside 0 to 100 %")
        if self.slope <= 0:
            refusals.append(f"slope {self.slope!r} ft/ft is not above 0")
        if self.final_infiltration_rate > self.initial_infiltration_rate:
            refusals.append(f"final_infiltration_rate {self.final_infiltration_rate!r} in/h is above "
                            f"initial_infiltration_rate {self.initial_infiltration_rate!r} in/h")
        if self.disconnection_level not in (0, 1, 2) or isinstance(self.disconnection_level, bool):
            refusals.append(f"disconnection_level {self.disconnection_level!r} is not 0, 1 or 2")
        for name in ("dcif", "rpf"):
            if not self.derives(name) and not 0 <= getattr(self, name) <= 1:
                refusals.append(f"{name} {getattr(self, name)!r} is outside 0 to 1 (None derives it)")
        for name in ("ct", "cp", "width50", "width75", "rise50_fraction", "rise75_fraction"):
            if not self.derives(name) and getattr(self, name) <= 0:
                refusals.append(f"{name} {getattr(self, name)!r} is not above 0 (None derives it)")
        step = self.uh_time_step
        if step is not None and (isinstance(step, bool) or not isinstance(step, numbers.Integral) or step < 1):
            refusals.append(f"uh_time_step {step!r} is not a whole number of minutes of at least 1")
        if self.slope > STEEP_SLOPE:
            notes.append(f"slope {self.slope!r} ft/ft is steep (above {STEEP_SLOPE}): is it a percentage?")
        if self.area > LARGE_AREA:
            notes.append(f"area {self.area!r} sq mi is large for the method (above {LARGE_AREA:g} sq mi)")
        return refusals, notes

    def validate(self):
        """Raises InvalidBasin listing every refusal; warns (VeskWarning) of unusual values."""
        refusals, notes = self.problems()
        label = f"basin {self.name}" if self.name else "basin"
        if refusals:
            raise InvalidBasin(f"{label}: " + "; ".join(refusals))
        for note in notes:
            warnings.warn(f"{label}: {note}", VeskWarning, stacklevel=3)
        return self

    def fill_record(self, record, time_step):
        """Writes the basin into a library record (either level) with the
        given simulation step in minutes; derived values go in as the
        library's requests for them (-1 for dcif and rpf, 0 for the shape)."""
        names = self.record_names()
        for f in fields(self):
            if f.name in ("name", "uh_time_step"):
                continue
            target = names[f.name]
            if f.metadata["derivable"] and self.derives(f.name):
                value = -1.0 if target in ("dcif", "rpf") else 0.0
            else:
                value = getattr(self, f.name)
            holder = record.shape if hasattr(record.shape, target) else record
            setattr(holder, target, value)
        record.shape.uhTimeStep = time_step
        if hasattr(record, "timeStep"):
            record.timeStep = float(time_step)
        return record

    @classmethod
    def from_file(cls, path):
        """Reads a basin file: a name and 22 whitespace-separated numbers in the
        file order the library's reader uses.  A negative dcif or rpf, and a
        shape value or uhTimeStep of 0 or less, read as "derive"."""
        return read_basin_file(path)


# The 22 numbers in file order: (field, integer?).  rpaShare and spaShare
# are carried by the file but used by neither level as input.
FILE_ORDER = (
    ("area", False), ("disconnection_level", True), ("centroid_length", False), ("dcif", False),
    ("impervious_pct", False), ("length", False), ("rpaShare", False), ("rpf", False),
    ("spaShare", False), ("slope", False),
    ("impervious_depression_storage", False), ("pervious_depression_storage", False),
    ("initial_infiltration_rate", False), ("infiltration_decay", False), ("final_infiltration_rate", False),
    ("cp", False), ("ct", False), ("rise50_fraction", False), ("rise75_fraction", False),
    ("uh_time_step", True), ("width50", False), ("width75", False),
)

INTEGER = re.compile(r"[+-]?[0-9]+\Z")
DECIMAL = re.compile(r"[+-]?([0-9]+(\.[0-9]*)?|\.[0-9]+)([eE][+-]?[0-9]+)?\Z")


def _tokens(path):
    with open(path, encoding="utf-8-sig") as stream:
        for number, line in enumerate(stream, start=1):
            for token in line.split():
                yield token, number


def read_basin_file(path):
    """The Basin of a positional basin file; ValueError with file and line on bad input."""
    found = list(_tokens(path))
    if not found:
        raise ValueError(f"{path}: holds no basin name (the file is empty)")
    name, _ = found[0]
    if len(name) > 255:
        raise ValueError(f"{path}:1: the basin name is longer than 255 characters")
    values = {}
    for index, (field_name, integer) in enumerate(FILE_ORDER):
        label = f"value {index + 1} ({field_name})"
        if index + 1 >= len(found):
            raise ValueError(f"{path}: ends before {label}: a basin file holds a name and 22 numbers")
        text, line = found[index + 1]
        if not (INTEGER if integer else DECIMAL).match(text):
            kind = "a whole number" if integer else "a number"
            raise ValueError(f"{path}:{line}: {label} '{text}' is not {kind}")
        values[field_name] = int(text) if integer else float(text)
    if len(found) > len(FILE_ORDER) + 1:
        text, line = found[len(FILE_ORDER) + 1]
        raise ValueError(f"{path}:{line}: unexpected '{text}' after the 22 values of the basin")
    for fraction in ("dcif", "rpf"):
        if values[fraction] < 0:
            values[fraction] = None
    for shape in ("ct", "cp", "width50", "width75", "rise50_fraction", "rise75_fraction", "uh_time_step"):
        if values[shape] <= 0:
            values[shape] = None
    del values["rpaShare"], values["spaShare"]
    return Basin(name=name, **values)
