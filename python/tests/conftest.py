"""Shared fixtures: the source tree's examples and headers, the built
libraries (CTest passes VESK_LIBRARY; by hand, point it at the build folder)
and the vesk program of the same build (VESK_PROGRAM), whose messages and
numbers the package must reproduce."""

import os
import pathlib
import subprocess

import pytest

SOURCE_DIR = pathlib.Path(os.environ.get("VESK_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
EXAMPLES = SOURCE_DIR / "examples"
EXAMPLE_FILES = ["cedar_creek.basin", "market_square.basin", "meadowbrook.basin"]


@pytest.fixture
def examples():
    return EXAMPLES


@pytest.fixture
def example_basins():
    import vesk

    return [vesk.Basin.from_file(EXAMPLES / name) for name in EXAMPLE_FILES]


@pytest.fixture
def design_storm():
    import vesk

    return vesk.read_storm(EXAMPLES / "design_storm_2h.csv")


@pytest.fixture
def small_basin():
    import vesk

    return vesk.Basin(area=0.25, length=0.8, centroid_length=0.4, impervious_pct=60.0, slope=0.01,
                      impervious_depression_storage=0.1, pervious_depression_storage=0.35,
                      initial_infiltration_rate=4.0, final_infiltration_rate=0.7, infiltration_decay=0.0015,
                      dcif=0.7, rpf=0.4, uh_time_step=5)


@pytest.fixture
def vesk_program():
    """Runs the vesk program: vesk_program("run", ...) -> CompletedProcess (text)."""
    program = os.environ.get("VESK_PROGRAM")
    if not program:
        pytest.skip("VESK_PROGRAM names no vesk program to compare with")
    return lambda *arguments: subprocess.run([program, *map(str, arguments)], capture_output=True, text=True,
                                             timeout=60)
