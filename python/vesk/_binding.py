"""Loading the shared libraries and declaring every export's types.

The libraries are the two levels of the runoff library (``libveskdll133``,
the current level, and ``libveskdll``, the earlier one) and the host core
(``libvesk_host``, see ``_host.py``).  Each is looked for, in this order:

1. ``VESK_LIBRARY``: one or more paths separated by ``os.pathsep``; a folder
   is searched for the library's file, a file is taken when its name is the
   library's (``libveskdll133.so`` / ``veskdll133.dll``, ``libveskdll.so`` /
   ``veskdll.dll`` and ``libvesk_host.so``, version suffixes allowed);
2. the folder of this package (``cmake --install`` and a build can place the
   libraries there);
3. the system's search path (``LD_LIBRARY_PATH``, the loader cache, ``PATH``
   on Windows).

Every export is declared with its argument and result types: without them
``ctypes`` passes doubles as integers and reads double results as ``int``.

Threads: the libraries keep one registry and one error code per process and
guard neither, and ``ctypes`` releases the interpreter's lock during a call.
So every call into them goes through ``LOCK``, one re-entrant lock for the
process: each bound export takes it for the call, and the package's methods
hold it across the several calls one operation makes (adding a basin and
reading its code, a run and reading its results).  Code that makes several
raw calls that belong together holds it too (``with vesk.LOCK: ...``).
"""

import ctypes
import os
import sys
import threading
import types

from ._records import BasinInput, EarlierBasinInput, PrecipState, StepState, VersionStamp
from .errors import InputError, LibraryNotFound

LEVELS = {"current": "veskdll133", "earlier": "veskdll"}
#: Every library the package loads: the two levels and the host core.
LIBRARIES = {**LEVELS, "host": "vesk_host"}

#: The one lock every call into the libraries takes (see above).
LOCK = threading.RLock()

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
        raise InputError(f"level must be one of {sorted(LEVELS)}, not {level!r}")
    return level


def library_file_name(which):
    """The file name of a level ("current", "earlier") or of the host core ("host")."""
    if which not in LIBRARIES:
        check_level(which)
    base = LIBRARIES[which]
    if sys.platform == "win32":
        return f"{base}.dll"
    if sys.platform == "darwin":
        return f"lib{base}.dylib"
    return f"lib{base}.so"


def _names_the_library(path, file_name):
    base = os.path.basename(path)
    return base == file_name or base.startswith(file_name + ".")


def candidate_paths(which):
    """Where the library ``which`` is looked for, in order, as (path, source)."""
    file_name = library_file_name(which)
    found = []
    for entry in filter(None, os.environ.get("VESK_LIBRARY", "").split(os.pathsep)):
        if os.path.isdir(entry):
            found.append((os.path.join(entry, file_name), "VESK_LIBRARY"))
        elif _names_the_library(entry, file_name):
            found.append((entry, "VESK_LIBRARY"))
    found.append((os.path.join(os.path.dirname(os.path.abspath(__file__)), file_name), "next to the package"))
    found.append((file_name, "the system search path"))
    return found


def _load(path):
    loader = ctypes.WinDLL if sys.platform == "win32" else ctypes.CDLL
    return loader(path)


def _description(which):
    return "vesk host core" if which == "host" else f"{which}-level vesk library"


def load_library(which):
    """The loaded library ``which``; raises LibraryNotFound naming every path tried."""
    tried = []
    for path, source in candidate_paths(which):
        if source != "the system search path" and not os.path.isfile(path):
            tried.append(f"{path} ({source}: no such file)")
            continue
        try:
            return _load(path)
        except OSError as error:
            tried.append(f"{path} ({source}: {error})")
    raise LibraryNotFound(
        f"cannot load the {_description(which)} {library_file_name(which)}; tried: " + "; ".join(tried)
        + ". Set VESK_LIBRARY to the library file or its folder.")


class Locked:
    """An export that takes ``LOCK`` for every call.  ``function`` is the
    ctypes function itself (its ``argtypes`` and ``restype`` show through)."""

    __slots__ = ("function", "__name__")

    def __init__(self, function):
        self.function = function
        self.__name__ = function.__name__

    def __call__(self, *args):
        with LOCK:
            return self.function(*args)

    @property
    def argtypes(self):
        return self.function.argtypes

    @property
    def restype(self):
        return self.function.restype

    def __repr__(self):
        return f"<vesk export {self.__name__}>"


def bind(cdll, declarations):
    """A namespace holding every declared export, typed and locked."""
    functions = {}
    for name, (result, arguments) in declarations.items():
        function = getattr(cdll, name)
        function.restype = result
        function.argtypes = arguments
        functions[name] = Locked(function)
    return types.SimpleNamespace(**functions)


_BOUND = {}


def exports(level):
    """The typed exports of ``level``, loading the library on first use."""
    check_level(level)
    with LOCK:
        if level not in _BOUND:
            _BOUND[level] = bind(load_library(level), EXPORTS[level])
        return _BOUND[level]


def encode_text(text, what="text"):
    """A str, bytes or path argument as the NUL-terminated bytes the library reads."""
    if text is None:
        return None
    if isinstance(text, os.PathLike):
        text = os.fspath(text)
    data = text.encode("utf-8", "surrogateescape") if isinstance(text, str) else bytes(text)
    if b"\0" in data:
        raise InputError(f"{what} {text!r} holds a NUL character")
    return data
