"""``vesk.Basin``: one basin's parameters by name and unit; ``vesk.BasinSet``:
basins by name as the host core read and checked them; the readers of basin
files and basin tables."""

import ctypes
import os
from collections.abc import Mapping, MutableMapping
from dataclasses import dataclass, field, fields

from . import _binding, _host
from ._binding import LOCK
from ._records import BasinInput, ShapeParameters
from .errors import BasinTableError, InputError, InvalidBasin

DERIVE = "derive"


def _unit(unit, record, doc, derivable=False):
    return {"unit": unit, "record": record, "doc": doc, "derivable": derivable}


@dataclass
class Basin:
    """Parameters of one basin, in the library's units.

    ``dcif``, ``rpf``, ``ct``, ``cp``, the widths and the rise fractions may be
    ``None`` or ``"derive"``: the library derives them then.  ``uh_time_step``
    ``None`` means the run's simulation step.  ``Basin.units()`` lists every
    field's unit; ``validate()`` checks the physics (the host core's checks,
    the same as every run's).
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

    def validate(self):
        """Checks the basin as every run does: raises InvalidBasin with the host
        core's message when a value is impossible; warns (VeskWarning) of
        values that are legal but unusual.  Returns the basin."""
        with BasinSet() as checked:
            checked[self.name or "unnamed"] = self
            checked.core_handle()
        return self

    def fill_record(self, record, time_step):
        """Writes the basin into a library record (either level) with the
        given simulation step in minutes; derived values go in as the
        library's requests for them (-1 for dcif and rpf, 0 for the shape)."""
        _fill(self, record)
        record.shape.uhTimeStep = _host.int32(time_step, "step")
        if hasattr(record, "timeStep"):
            record.timeStep = float(time_step)
        return record

    def core_record(self):
        """The basin as the host core takes it: a current-level record (timeStep
        0, uhTimeStep 0 when the run chooses it) and whether it gives its own
        unit-hydrograph step."""
        record = _fill(self, BasinInput())
        given = self.uh_time_step is not None
        record.shape.uhTimeStep = _whole(self, "uh_time_step") if given else 0
        return record, given

    @classmethod
    def from_record(cls, name, record, uh_step_given=True):
        """The Basin of a current-level record: dcif and rpf below 0 and shape
        values of 0 or less read as "derive" (None), as in a basin file."""
        values = {}
        for f, target, in_shape in _FIELDS:
            value = getattr(record.shape if in_shape else record, target)
            if f == "uh_time_step":
                value = value if uh_step_given else None
            elif target in ("dcif", "rpf"):
                value = None if value < 0 else value
            elif in_shape and value <= 0:
                value = None
            values[f] = value
        return cls(name=name, **values)

    @classmethod
    def from_file(cls, path, units="us"):
        """Reads the one basin of a positional basin file (a name and 22 numbers
        in the order the library's own loader reads them) or of a one-row
        basin table (a name ending in .csv), with the host core's reader and
        checks.  A negative dcif or rpf, and a shape value of 0 or less, read
        as "derive"."""
        basins = read_basins(path, units=units)
        if len(basins) != 1:
            raise InputError(f"{os.fspath(path)}: holds {len(basins)} basins; read it with vesk.read_basin_table")
        return next(iter(basins.values()))


_SHAPE_NAMES = {name for name, _ in ShapeParameters._fields_}
# (Basin field, record field, in the shape record?) for every field but the name.
_FIELDS = [(f.name, f.metadata["record"], f.metadata["record"] in _SHAPE_NAMES) for f in fields(Basin)
           if f.name != "name"]
_DERIVABLE = {f.name for f in fields(Basin) if f.metadata["derivable"]}


def _fill(basin, record):
    """Writes every field but the unit-hydrograph step into ``record``."""
    for name, target, in_shape in _FIELDS:
        if name == "uh_time_step":
            continue
        if name in _DERIVABLE and basin.derives(name):
            value = -1.0 if target in ("dcif", "rpf") else 0.0
        else:
            value = getattr(basin, name)
        holder = record.shape if in_shape else record
        if name == "disconnection_level":
            value = _whole(basin, name)
        try:
            setattr(holder, target, value)
        except TypeError:
            raise InvalidBasin(f"basin {basin.name or ''}: {name} {value!r} is not a number") from None
    return record


def _whole(basin, name):
    value = getattr(basin, name)
    try:
        return _host.int32(value, name)
    except InputError:
        raise InvalidBasin(f"basin {basin.name or ''}: {name} {value!r} is not a whole number") from None


class BasinSet(MutableMapping):
    """Basins by name, in order, with the host core's copy of them.

    What ``read_basin_table`` and ``read_basins`` return: a mapping name ->
    Basin like a dict, which runs hand to the core as it stands (the basins
    the core read, with the file, line and column of every value for its
    messages) without turning each into a Basin and back.  A Basin is made
    when it is first looked up.  Setting, deleting or changing basins is
    allowed: the core's copy is then made again from the Basins, checked
    again.  ``close()`` (or a ``with`` block) frees the core's copy early.
    """

    def __init__(self, basins=None):
        self._handle = None
        self._names = []
        self._index = {}
        self._made = {}
        self._copies = {}  # name -> each Basin's values as the core's copy holds them
        if basins:
            self.update(basins)

    # -- mapping -----------------------------------------------------------------

    def __getitem__(self, name):
        basin = self._made.get(name)
        if basin is None:
            if self._handle is None or name not in self._index:
                raise KeyError(name)
            basin = self._made[name] = self._basin_at(self._index[name])
            self._copies[name] = dict(basin.__dict__)
        return basin

    def __setitem__(self, name, basin):
        if not isinstance(basin, Basin):
            raise TypeError(f"a BasinSet holds vesk.Basin values, not {type(basin).__name__}")
        self._detach()
        if name not in self._index:
            self._index[name] = len(self._names)
            self._names.append(name)
        self._made[name] = basin

    def __delitem__(self, name):
        self._detach()
        del self._made[name]
        self._names.remove(name)
        self._index = {n: i for i, n in enumerate(self._names)}

    def __iter__(self):
        return iter(self._names)

    def __len__(self):
        return len(self._names)

    def __contains__(self, name):
        return name in self._index

    def __repr__(self):
        shown = ", ".join(repr(n) for n in self._names[:5]) + (", ..." if len(self._names) > 5 else "")
        return f"<vesk.BasinSet of {len(self)} basins: {shown}>"

    def __reduce__(self):
        return (BasinSet, (dict(self.items()),))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        """Frees the core's copy (the Basins stay)."""
        self._detach()

    # -- the core's copy ---------------------------------------------------------

    def _basin_at(self, index):
        c = _host.core()
        record = BasinInput()
        with LOCK:
            c.vesk_host_basins_record(self._handle.handle, index, ctypes.byref(record))
            given = c.vesk_host_basins_uh_step_given(self._handle.handle, index)
        return Basin.from_record(self._names[index], record, bool(given))

    def _detach(self):
        """Makes every Basin and lets the core's copy go."""
        if self._handle is None:
            return
        for name in self._names:
            self[name]
        self._handle.close()
        self._handle = None
        self._copies = {}

    def _changed(self):
        """True when a Basin was changed since the core's copy was made."""
        return any(basin.__dict__ != self._copies.get(name) for name, basin in self._made.items())

    def core_handle(self, refused=None):
        """The core's copy (a VeskHostBasins address), made from the Basins and
        checked when there is none or a Basin changed.  ``refused(name,
        error)``, when given, takes each basin the checks refuse and the rest
        go on; without it the first refusal raises."""
        with LOCK:
            if self._handle is not None and self._changed():
                self._detach()
            if self._handle is None:
                self._handle = _core_copy(self, refused)
            return self._handle.handle

    @classmethod
    def _of_handle(cls, handle):
        made = cls()
        c = _host.core()
        with LOCK:
            count = c.vesk_host_basins_count(handle.handle)
            made._names = [_host.text(c.vesk_host_basins_name(handle.handle, i)) for i in range(count)]
        made._index = {name: i for i, name in enumerate(made._names)}
        made._handle = handle
        return made


def _core_copy(basins, refused=None):
    """A core basins handle holding ``basins`` (a BasinSet without one), each
    added with the core's checks; the checks' warnings are issued."""
    c = _host.core()
    status = _host.Status()
    handle = _host.Handle(c.vesk_host_basins_new(), "vesk_host_basins_free")
    kept = []
    with _host.Warnings() as found:
        for name in basins._names:
            basin = basins._made[name]
            try:
                record, given = basin.core_record()
                c.vesk_host_basins_add(handle.handle, _binding.encode_text(name, "basin name"), ctypes.byref(record),
                                       1 if given else 0, b"vesk.Basin", found.handle, ctypes.byref(status))
                _host.raise_for(status, InvalidBasin)
            except InputError as error:
                if refused is None:
                    handle.close()
                    raise
                refused(name, error)
                continue
            kept.append(name)
        found.emit()
    if refused is not None and len(kept) != len(basins._names):
        basins._names = kept
        basins._index = {n: i for i, n in enumerate(kept)}
        basins._made = {n: basins._made[n] for n in kept}
    basins._copies = {n: dict(b.__dict__) for n, b in basins._made.items()}
    return handle


def basin_set(basins):
    """``basins`` as a BasinSet: a BasinSet as it is, a mapping name -> Basin,
    Basins that carry their names, or one Basin."""
    if isinstance(basins, BasinSet):
        return basins
    if isinstance(basins, Basin):
        basins = [basins]
    if isinstance(basins, Mapping):
        return BasinSet(basins)
    made = BasinSet()
    for basin in basins:
        if not isinstance(basin, Basin) or not basin.name:
            raise InputError("basins must be a dict name -> Basin or Basins that carry their names")
        if basin.name in made:
            raise InputError(f"basin '{basin.name}' appears twice")
        made[basin.name] = basin
    return made


def read_basins(*paths, units="us"):
    """The basins of basin files and basin tables, in order, as a BasinSet.

    A path whose name ends in .csv (any letter case) is a CSV basin table,
    any other a positional basin file.  ``units="us"`` reads sq mi, mi, in and
    in/h; ``"si"`` reads km2, km, mm and mm/h (kept in the library's units).
    Every basin is checked; unusual values are warned of (VeskWarning).
    Raises InputError (BasinTableError for a table) naming file, line and
    column.
    """
    code = _host.units_code(units)
    c = _host.core()
    status = _host.Status()
    with LOCK:
        handle = _host.Handle(c.vesk_host_basins_new(), "vesk_host_basins_free")
        with _host.Warnings() as found:
            for path in paths:
                name = os.fspath(path)
                c.vesk_host_basins_read(handle.handle, _binding.encode_text(name, "path"), code, found.handle,
                                        ctypes.byref(status))
                text = name if isinstance(name, str) else os.fsdecode(name)
                if status.code != _host.OK:
                    handle.close()
                    _host.raise_for(status, BasinTableError if text.lower().endswith(".csv") else InputError)
            found.emit()
        return BasinSet._of_handle(handle)
