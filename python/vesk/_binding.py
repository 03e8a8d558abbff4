"""Loading the shared libraries and declaring every export's types.

A library is looked for, in this order:

1. ``VESK_LIBRARY``: one or more paths separated by ``os.pathsep``; a folder
   is searched for the level's file, a file is taken when its name is the
   level's (``libveskdll133.so`` / ``veskdll133.dll`` and the earlier level's
   ``libveskdll.so`` / ``veskdll.dll``, version suffixes allowed);
2. the folder of this package (``cmake --install`` and a build can place the
   libraries there);
3. the system's search path (``LD_LIBRARY_PATH``, the loader cache, ``PATH``
   on Windows).

Every export is declared with its argument and result types: without them
``ctypes`` passes doubles as integers and reads double results as ``int``.
"""

import ctypes
import os
import sys
import types

from ._records import BasinInput, EarlierBasinInput, PrecipState, StepState, VersionStamp
from .errors import LibraryNotFound

LEVELS = {"current": "veskdll133", "earlier": "veskdll"}

_D = ctypes.c_double
_I = ctypes.c_int32
_S = ctypes.c_char_p
_P = ctypes.POINTER

# Calculators shared by both levels: name -> (result, argument types).
_COMMON_CALCULATORS = {
    "vesk_DCIFgetParam": (_D, [_I, _D, _S]),
    "vesk_RPFgetParam": (_D, [_I, _D, _S]),
    "vesk_calcDCIF": (_D, [_I, _D]),
    "vesk_calcRPF": (_D, [_I, _D]),
    "vesk_CTgetParam": (_D, [_D, _S]),
    "vesk_calcCT_Cutoff": (_D, [_D]),
    "vesk_CPgetParam": (_D, [_D, _D, _S]),
    "vesk_runoffCoeffCorr": (_D, [_S, _I, _D]),
    "vesk_runoffCoeff": (_D, [_S, _I, _D]),
    "vesk_maxLengthCutoff": (_D, [_D]),
    "vesk_calcOverlandLen": (_D, [_D, _D]),
    "vesk_calcChannelLen": (_D, [_D, _D]),
    "vesk_initialFlowTime": (_D, [_D, _D, _D, _D]),
    "vesk_flowTravelTime": (_D, [_D, _D, _D]),
    "vesk_calcMinTc": (_D, [_D]),
    "vesk_calcRegionalTc": (_D, [_D]),
    "vesk_calcTc": (_D, [_D, _D, _D, _D, _D]),
    "vesk_calcConvCoeff": (_D, [_D]),
    "vesk_calcIntensity": (_D, [_D, _D, _D, _D, _D]),
    "vesk_linterp": (_D, [_D, _D, _D, _D, _D]),
}


def _frame_exports(record, step_block):
    return {
        "vesk_open": (None, []),
        "vesk_free": (None, []),
        "vesk_geterror": (_I, []),
        "vesk_addbasin": (None, [_P(record), _S]),
        "vesk_loadandadd": (None, [_S]),
        "vesk_execute": (_D, [_S, _D, _I]),
        "vesk_getbasin": (None, [_S, _P(record)]),
        "vesk_getbasin_precip": (None, [_S, _P(step_block)]),
        "vesk_getuhlength": (_I, [_S]),
        "vesk_getuhordinatevalue": (_D, [_S, _I]),
    }


#: Every export of each level with its result and argument types.
EXPORTS = {
    "current": {
        **_frame_exports(BasinInput, PrecipState),
        "vesk_getversion": (None, [_P(VersionStamp)]),
        "vesk_checkversion": (None, [_P(VersionStamp)]),
        **_COMMON_CALCULATORS,
        "vesk_calcUIF": (_D, [_D]),
        "vesk_calcSPF": (_D, [_D]),
        "vesk_calcEIA": (_D, [_D, _D, _D, _D, _D]),
        "vesk_calcCT": (_D, [_D, _D]),
        "vesk_calcCP": (_D, [_D, _D, _D]),
    },
    "earlier": {
        **_frame_exports(EarlierBasinInput, StepState),
        **_COMMON_CALCULATORS,
        "vesk_calcUIF": (_D, [_I, _D]),
        "vesk_calcSPF": (_D, [_I, _D]),
        "vesk_calcEIA": (_D, [_I, _D]),
        "vesk_getEIAParam": (_D, [_I, _D, _S]),
        "vesk_calcCT": (_D, [_D, _D]),
        "vesk_calcCP": (_D, [_D, _D]),
    },
}

#: The records each level passes by address.
RECORDS = {
    "current": types.SimpleNamespace(basin=BasinInput, step=PrecipState),
    "earlier": types.SimpleNamespace(basin=EarlierBasinInput, step=StepState),
}


def check_level(level):
    if level not in LEVELS:
        raise ValueError(f"level must be one of {sorted(LEVELS)}, not {level!r}")
    return level


def library_file_name(level):
    base = LEVELS[check_level(level)]
    if sys.platform == "win32":
        return f"{base}.dll"
    if sys.platform == "darwin":
        return f"lib{base}.dylib"
    return f"lib{base}.so"


def _names_the_level(path, file_name):
    base = os.path.basename(path)
    return base == file_name or base.startswith(file_name + ".")


def candidate_paths(level):
    """Where the library of ``level`` is looked for, in order, as (path, source)."""
    file_name = library_file_name(level)
    found = []
    for entry in filter(None, os.environ.get("VESK_LIBRARY", "").split(os.pathsep)):
        if os.path.isdir(entry):
            found.append((os.path.join(entry, file_name), "VESK_LIBRARY"))
        elif _names_the_level(entry, file_name):
            found.append((entry, "VESK_LIBRARY"))
    found.append((os.path.join(os.path.dirname(os.path.abspath(__file__)), file_name), "next to the package"))
    found.append((file_name, "the system search path"))
    return found


def _load(path):
    loader = ctypes.WinDLL if sys.platform == "win32" else ctypes.CDLL
    return loader(path)


def load_library(level):
    """The loaded library of ``level``; raises LibraryNotFound naming every path tried."""
    tried = []
    for path, source in candidate_paths(level):
        if source != "the system search path" and not os.path.isfile(path):
            tried.append(f"{path} ({source}: no such file)")
            continue
        try:
            return _load(path)
        except OSError as error:
            tried.append(f"{path} ({source}: {error})")
    raise LibraryNotFound(
        f"cannot load the {level}-level vesk library {library_file_name(level)}; tried: " + "; ".join(tried)
        + ". Set VESK_LIBRARY to the library file or its folder.")


def bind(cdll, level):
    """A namespace holding every export of ``level`` with its types declared."""
    functions = {}
    for name, (result, arguments) in EXPORTS[level].items():
        function = getattr(cdll, name)
        function.restype = result
        function.argtypes = arguments
        functions[name] = function
    return types.SimpleNamespace(**functions)


_BOUND = {}


def exports(level):
    """The typed exports of ``level``, loading the library on first use."""
    check_level(level)
    if level not in _BOUND:
        _BOUND[level] = bind(load_library(level), level)
    return _BOUND[level]


def encode_text(text, what="text"):
    """A str or bytes argument as the NUL-terminated bytes the library reads."""
    if text is None:
        return None
    data = text.encode("utf-8") if isinstance(text, str) else bytes(text)
    if b"\0" in data:
        raise ValueError(f"{what} {text!r} holds a NUL character")
    return data
