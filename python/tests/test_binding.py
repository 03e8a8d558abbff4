"""The binding itself: records against the headers, every export declared
and reachable, the library search and the version."""

import ctypes
import os
import re

import pytest

import vesk
from vesk import _binding, _host, _records
from conftest import SOURCE_DIR

HEADERS = {"current": "veskdll133.h", "earlier": "veskdll.h"}


def header_asserts(level):
    """{record: (size, {field: offset})} from the header's static assertions."""
    text = (SOURCE_DIR / "include" / HEADERS[level]).read_text()
    layouts = {}
    for record, size in re.findall(r"sizeof\((\w+)\) == (\d+)", text):
        layouts[record] = (int(size), {})
    for record, field, offset in re.findall(r"offsetof\((\w+), (\w+)\) == (\d+)", text):
        layouts[record][1][field] = int(offset)
    return layouts


@pytest.mark.parametrize("level", ["current", "earlier"])
def test_structures_match_every_size_and_offset_the_header_asserts(level):
    asserted = header_asserts(level)
    mirrored = {name: (size, offsets) for name, _, size, offsets in _records.HEADER_LAYOUTS[level]}
    assert mirrored == asserted
    assert _records.layout_mismatches() == []


def test_a_drifted_structure_is_reported():
    class Shifted(ctypes.Structure):
        _fields_ = [("major", ctypes.c_int32), ("minor", ctypes.c_int64)]

    saved = _records.HEADER_LAYOUTS["current"][0]
    _records.HEADER_LAYOUTS["current"][0] = ("VersionStamp", Shifted, 16, saved[3])
    try:
        problems = _records.layout_mismatches()
    finally:
        _records.HEADER_LAYOUTS["current"][0] = saved
    assert any("VersionStamp" in problem for problem in problems)


@pytest.mark.parametrize("level,listing", [("current", "veskdll133.txt"), ("earlier", "veskdll.txt")])
def test_every_export_is_declared_typed_and_reachable(level, listing):
    expected = (SOURCE_DIR / "cmake" / "exports" / listing).read_text().split()
    assert sorted(_binding.EXPORTS[level]) == sorted(expected)
    bound = _binding.exports(level)
    for name in expected:
        function = getattr(bound, name)
        assert function.argtypes is not None, name
        result, arguments = _binding.EXPORTS[level][name]
        assert function.restype is result and function.argtypes == arguments, name


# How each C type of vesk_host.h travels, written here from the header's text:
# handles and arrays of doubles as addresses, records by pointer.
C_TYPES = {
    "const char *": ctypes.c_char_p, "char *": ctypes.c_char_p, "size_t": ctypes.c_size_t,
    "int32_t": ctypes.c_int32, "int64_t": ctypes.c_int64, "double": ctypes.c_double, "void": None,
    "double *": ctypes.c_void_p, "const double *": ctypes.c_void_p, "int64_t *": ctypes.c_void_p,
    "const int64_t *": ctypes.c_void_p, "const int32_t *": ctypes.c_void_p, "const char *const *": ctypes.c_void_p,
}


def host_functions():
    """{name: (result, [parameter types])} of every VESK_HOST_API function."""
    text = re.sub(r"\s+", " ", (SOURCE_DIR / "host" / "include" / "vesk_host.h").read_text())
    found = {}
    for result, name, parameters in re.findall(r"VESK_HOST_API ([\w\s*]+?)\s*\b(vesk_host_\w+)\(([^)]*)\);", text):
        kinds = [] if parameters.strip() == "void" else [re.sub(r"\s*\w+$", "", p.strip()) for p in parameters.split(",")]
        found[name] = (result.strip(), kinds)
    return found


def ctypes_of(c_type):
    c_type = re.sub(r"\s*\*", " *", c_type).strip()
    if c_type in C_TYPES:
        return C_TYPES[c_type]
    base = c_type.replace("const ", "").rstrip(" *")
    if base in ("BasinInput", "VeskHostStatus", "VeskHostRunOptions", "VeskHostEarlierLevel"):
        return {"BasinInput": "BasinInput", "VeskHostStatus": "Status", "VeskHostRunOptions": "RunOptions",
                "VeskHostEarlierLevel": "EarlierLevel"}[base]
    assert base.startswith("VeskHost") and c_type.endswith("*"), c_type
    return ctypes.c_void_p  # an opaque handle


def test_every_host_core_function_is_declared_with_the_headers_types():
    functions = host_functions()
    assert len(functions) > 50 and sorted(_host.DECLARATIONS) == sorted(functions)
    bound = _host.core()
    for name, (result, parameters) in functions.items():
        declared_result, declared = _host.DECLARATIONS[name]
        assert getattr(bound, name).argtypes == declared, name
        expected = [ctypes_of(p) for p in parameters]
        got = [t._type_.__name__ if hasattr(t, "_type_") and isinstance(t._type_, type) else t for t in declared]
        assert got == expected, name
        assert declared_result is ctypes_of(result), name


def test_the_status_and_options_records_have_the_headers_fields():
    header = (SOURCE_DIR / "host" / "include" / "vesk_host.h").read_text()
    size = int(re.search(r"#define VESK_HOST_MESSAGE_BYTES (\d+)", header).group(1))
    assert ctypes.sizeof(_host.Status) == 4 + 4 + size
    for record, structure in (("VeskHostRunOptions", _host.RunOptions), ("VeskHostEarlierLevel", _host.EarlierLevel)):
        body = re.search(r"typedef struct %s \{(.*?)\} %s;" % (record, record), header, re.S).group(1)
        body = re.sub(r"/\*.*?\*/", "", body, flags=re.S)
        fields = re.findall(r"\(\*(\w+)\)\(|(\w+);", body)
        assert [a or b for a, b in fields] == [name for name, _ in structure._fields_], record


def test_doubles_travel_as_doubles():
    # Without declared types ctypes would pass 35.0 as an int and read the
    # double result as an int.
    dcif = vesk.calc.vesk_calcDCIF(1, 35.0)
    a = vesk.calc.vesk_DCIFgetParam(1, 35.0, "a")
    b = vesk.calc.vesk_DCIFgetParam(1, 35.0, "b")
    assert isinstance(dcif, float) and 0 < dcif < 1
    assert dcif == b + 35.0 / 100 * a


@pytest.mark.parametrize("which,file_name", [("current", "libveskdll133.so"), ("host", "libvesk_host.so")])
def test_the_search_names_every_path_it_tried(monkeypatch, tmp_path, which, file_name):
    monkeypatch.setenv("VESK_LIBRARY", str(tmp_path))
    monkeypatch.setattr(_binding, "_load", lambda path: (_ for _ in ()).throw(OSError("refused")))
    with pytest.raises(vesk.LibraryNotFound) as caught:
        _binding.load_library(which)
    message = str(caught.value)
    assert str(tmp_path / file_name) in message and isinstance(caught.value, vesk.VeskError)
    assert "next to the package" in message and "the system search path" in message


def test_vesk_library_may_name_files_of_every_library(monkeypatch, tmp_path):
    current, earlier, host = tmp_path / "libveskdll133.so", tmp_path / "libveskdll.so.1", tmp_path / "libvesk_host.so"
    monkeypatch.setenv("VESK_LIBRARY", os.pathsep.join([str(current), str(earlier), str(host)]))
    assert _binding.candidate_paths("current")[0] == (str(current), "VESK_LIBRARY")
    assert _binding.candidate_paths("earlier")[0] == (str(earlier), "VESK_LIBRARY")
    assert _binding.candidate_paths("host")[0] == (str(host), "VESK_LIBRARY")


def test_the_package_version_is_the_projects_and_the_librarys():
    project = os.environ.get("VESK_PROJECT_VERSION")
    if project:
        assert vesk.__version__ == project
    with vesk.Library() as lib:
        assert lib.version == vesk.VERSION
    stamp = vesk.library.expected_stamp()
    assert (stamp.major, stamp.minor, stamp.build, stamp.release) == (1, 3, 6, 3)


def test_a_library_of_another_version_is_refused_at_open(monkeypatch):
    monkeypatch.setattr(vesk.library, "VERSION", (1, 4, 0, 0))
    with pytest.raises(vesk.VersionUnconfirmed, match="1.3.3.6, this package is written for 1.4.0.0"):
        vesk.Library().open()
    assert "current" not in vesk.library._OPEN_LEVELS  # the refused library was freed


def test_a_code_left_pending_by_a_raw_call_is_reported_by_the_next_call(small_basin):
    with vesk.Library() as lib:
        lib.raw.vesk_checkversion(ctypes.byref(vesk._records.VersionStamp(1, 3, 6, 4)))
        assert lib.raw.vesk_geterror() == 7
        with pytest.raises(vesk.VersionUnconfirmed):  # the gated call stored nothing
            lib.add("Elm", small_basin)
        lib.add("Elm", small_basin)  # the code was cleared
        assert lib.basins == ["Elm"]
