"""The records that cross the library boundary, as ``ctypes`` structures.

Each structure mirrors a record of ``veskdll133.h`` (current level) or
``veskdll.h`` (earlier level).  The byte sizes and field offsets the headers
assert are repeated in ``HEADER_LAYOUTS`` and checked when this module is
imported, so a structure that drifts from its header fails at ``import vesk``
instead of corrupting memory later.
"""

import ctypes

_F64 = ctypes.c_double
_I32 = ctypes.c_int32


class VersionStamp(ctypes.Structure):
    """Library version as four integers; 1.3.3.6 travels as major 1, minor 3,
    build 6, release 3 (the third and fourth numbers swap places)."""

    _fields_ = [("major", _I32), ("minor", _I32), ("build", _I32), ("release", _I32)]


class ShapeParameters(ctypes.Structure):
    """Unit-hydrograph shape (56 bytes); zero or negative asks the library to
    derive a value.  ``uhTimeStep`` is in minutes, the widths too."""

    _fields_ = [
        ("ct", _F64),
        ("cp", _F64),
        ("width50", _F64),
        ("width75", _F64),
        ("rise50Fraction", _F64),
        ("rise75Fraction", _F64),
        ("uhTimeStep", _I32),
        ("gap", _I32),
    ]


class BasinInput(ctypes.Structure):
    """Current-level basin parameters (232 bytes): sq mi, mi, %, ft/ft, min,
    in, in/h and 1/s as the header documents field by field."""

    _fields_ = [
        ("area", _F64),
        ("length", _F64),
        ("centroidLength", _F64),
        ("imperviousPct", _F64),
        ("eiaPct", _F64),
        ("slope", _F64),
        ("timeStep", _F64),
        ("perviousDepressionStorage", _F64),
        ("imperviousDepressionStorage", _F64),
        ("initialInfiltrationRate", _F64),
        ("finalInfiltrationRate", _F64),
        ("infiltrationDecay", _F64),
        ("disconnectionLevel", _I32),
        ("gap", _I32),
        ("dcif", _F64),
        ("rpf", _F64),
        ("rpaShare", _F64),
        ("spaShare", _F64),
        ("uhPeakTime", _F64),
        ("peakTime", _F64),
        ("unitPeakRate", _F64),
        ("uhPeakRate", _F64),
        ("unitRunoffVolume", _F64),
        ("shape", ShapeParameters),
    ]


class EarlierBasinInput(ctypes.Structure):
    """Earlier-level basin parameters (216 bytes): the current record without
    ``timeStep`` and ``peakTime``; the basin steps by ``shape.uhTimeStep``."""

    _fields_ = [
        ("area", _F64),
        ("length", _F64),
        ("centroidLength", _F64),
        ("imperviousPct", _F64),
        ("eiaPct", _F64),
        ("slope", _F64),
        ("perviousDepressionStorage", _F64),
        ("imperviousDepressionStorage", _F64),
        ("initialInfiltrationRate", _F64),
        ("finalInfiltrationRate", _F64),
        ("infiltrationDecay", _F64),
        ("disconnectionLevel", _I32),
        ("gap", _I32),
        ("dcif", _F64),
        ("rpf", _F64),
        ("rpaShare", _F64),
        ("spaShare", _F64),
        ("uhPeakTime", _F64),
        ("unitPeakRate", _F64),
        ("uhPeakRate", _F64),
        ("unitRunoffVolume", _F64),
        ("shape", ShapeParameters),
    ]


class LossState(ctypes.Structure):
    """Losses of one sub-area in the latest step (64 bytes), depths in inches."""

    _fields_ = [
        ("waterInput", _F64),
        ("capacityCarry", _F64),
        ("infiltration", _F64),
        ("previousStorage", _F64),
        ("depressionStorage", _F64),
        ("otherLoss", _F64),
        ("excessLoss", _F64),
        ("excess", _F64),
    ]


class PrecipState(ctypes.Structure):
    """Current-level state of a basin's latest step (280 bytes).  Note the
    sub-area order DCIA, UIA, SPA, RPA."""

    _fields_ = [
        ("time", _I32),
        ("timeStep", _I32),
        ("stepRain", _F64),
        ("dcia", LossState),
        ("uia", LossState),
        ("spa", LossState),
        ("rpa", LossState),
        ("stepExcess", _F64),
    ]


class StepState(ctypes.Structure):
    """Earlier-level state of a basin's latest step (120 bytes, fifteen
    doubles); depths in inches, ``clock`` in minutes."""

    _fields_ = [
        (name, _F64)
        for name in (
            "clock", "infiltration", "reserved", "spaStorage", "spaOverflow", "spaExcess", "runOn",
            "rpaStorage", "rpaOverflow", "rpaExcess", "imperviousStorage", "imperviousLoss",
            "imperviousExcess", "dciaExcess", "stepExcess",
        )
    ]


def _offsets(text):
    """'a 0 b 8' -> {'a': 0, 'b': 8}"""
    words = text.split()
    return {words[i]: int(words[i + 1]) for i in range(0, len(words), 2)}


_SHAPE = _offsets("ct 0 cp 8 width50 16 width75 24 rise50Fraction 32 rise75Fraction 40 uhTimeStep 48 gap 52")

#: Sizes and offsets as the public headers assert them, per level and record
#: (the record's name in the header, the structure, its size, its offsets).
HEADER_LAYOUTS = {
    "current": [
        ("VersionStamp", VersionStamp, 16, _offsets("major 0 minor 4 build 8 release 12")),
        ("ShapeParameters", ShapeParameters, 56, _SHAPE),
        ("BasinInput", BasinInput, 232, _offsets(
            "area 0 length 8 centroidLength 16 imperviousPct 24 eiaPct 32 slope 40 timeStep 48 "
            "perviousDepressionStorage 56 imperviousDepressionStorage 64 initialInfiltrationRate 72 "
            "finalInfiltrationRate 80 infiltrationDecay 88 disconnectionLevel 96 gap 100 dcif 104 rpf 112 "
            "rpaShare 120 spaShare 128 uhPeakTime 136 peakTime 144 unitPeakRate 152 uhPeakRate 160 "
            "unitRunoffVolume 168 shape 176")),
        ("LossState", LossState, 64, _offsets(
            "waterInput 0 capacityCarry 8 infiltration 16 previousStorage 24 depressionStorage 32 "
            "otherLoss 40 excessLoss 48 excess 56")),
        ("PrecipState", PrecipState, 280, _offsets(
            "time 0 timeStep 4 stepRain 8 dcia 16 uia 80 spa 144 rpa 208 stepExcess 272")),
    ],
    "earlier": [
        ("ShapeParameters", ShapeParameters, 56, _SHAPE),
        ("BasinInput", EarlierBasinInput, 216, _offsets(
            "area 0 length 8 centroidLength 16 imperviousPct 24 eiaPct 32 slope 40 "
            "perviousDepressionStorage 48 imperviousDepressionStorage 56 initialInfiltrationRate 64 "
            "finalInfiltrationRate 72 infiltrationDecay 80 disconnectionLevel 88 gap 92 dcif 96 rpf 104 "
            "rpaShare 112 spaShare 120 uhPeakTime 128 unitPeakRate 136 uhPeakRate 144 "
            "unitRunoffVolume 152 shape 160")),
        ("StepState", StepState, 120, _offsets(
            "clock 0 infiltration 8 reserved 16 spaStorage 24 spaOverflow 32 spaExcess 40 runOn 48 "
            "rpaStorage 56 rpaOverflow 64 rpaExcess 72 imperviousStorage 80 imperviousLoss 88 "
            "imperviousExcess 96 dciaExcess 104 stepExcess 112")),
    ],
}


def layout_mismatches():
    """Every difference between the structures and ``HEADER_LAYOUTS``, as text."""
    problems = []
    for level, records in HEADER_LAYOUTS.items():
        for header_name, structure, size, offsets in records:
            where = f"{level} {header_name}"
            if ctypes.sizeof(structure) != size:
                problems.append(f"{where}: {ctypes.sizeof(structure)} bytes, the header says {size}")
            fields = [name for name, *_ in structure._fields_]
            if fields != list(offsets):
                problems.append(f"{where}: fields {fields}, the header has {list(offsets)}")
            for name, offset in offsets.items():
                actual = getattr(structure, name, None)
                if actual is None or actual.offset != offset:
                    got = None if actual is None else actual.offset
                    problems.append(f"{where}.{name}: offset {got}, the header says {offset}")
    return problems


def record_to_dict(record):
    """A structure's fields as a plain dict (nested records as dicts, gaps left out)."""
    result = {}
    for name, *_ in record._fields_:
        if name == "gap":
            continue
        value = getattr(record, name)
        result[name] = record_to_dict(value) if isinstance(value, ctypes.Structure) else value
    return result


_problems = layout_mismatches()
if _problems:
    raise ImportError("vesk: the records do not match the library headers: " + "; ".join(_problems))
