"""The binding itself: records against the headers, every export declared
and reachable, the library search and the version."""

import ctypes
import os
import re

import pytest

import vesk
from vesk import _binding, _records
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


def test_doubles_travel_as_doubles():
    # Without declared types ctypes would pass 35.0 as an int and read the
    # double result as an int.
    dcif = vesk.calc.vesk_calcDCIF(1, 35.0)
    a = vesk.calc.vesk_DCIFgetParam(1, 35.0, "a")
    b = vesk.calc.vesk_DCIFgetParam(1, 35.0, "b")
    assert isinstance(dcif, float) and 0 < dcif < 1
    assert dcif == b + 35.0 / 100 * a


def test_the_search_names_every_path_it_tried(monkeypatch, tmp_path):
    monkeypatch.setenv("VESK_LIBRARY", str(tmp_path))
    monkeypatch.setattr(_binding, "_load", lambda path: (_ for _ in ()).throw(OSError("refused")))
    with pytest.raises(vesk.LibraryNotFound) as caught:
        _binding.load_library("current")
    message = str(caught.value)
    assert str(tmp_path / "libveskdll133.so") in message
    assert "next to the package" in message and "the system search path" in message


def test_vesk_library_may_name_files_of_both_levels(monkeypatch, tmp_path):
    current, earlier = tmp_path / "libveskdll133.so", tmp_path / "libveskdll.so.1"
    monkeypatch.setenv("VESK_LIBRARY", os.pathsep.join([str(current), str(earlier)]))
    assert _binding.candidate_paths("current")[0] == (str(current), "VESK_LIBRARY")
    assert _binding.candidate_paths("earlier")[0] == (str(earlier), "VESK_LIBRARY")


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
