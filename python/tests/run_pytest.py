"""Runs one pytest file for CTest, or reports a skip (status 77) when the
interpreter lacks what the tests need (install python3-numpy, python3-pandas
and python3-pytest from Debian, and for --needs=dask,distributed
python3-dask and python3-distributed).

run_pytest.py [--needs=MODULE,...] TEST_FILE [PYTEST ARGUMENT...]"""

import importlib.util
import sys


def main(arguments):
    needed = ["numpy", "pandas", "pytest"]
    if arguments and arguments[0].startswith("--needs="):
        needed += arguments.pop(0)[len("--needs="):].split(",")
    missing = [name for name in needed if importlib.util.find_spec(name) is None]
    if missing:
        print(f"skipped: {sys.executable} cannot import {', '.join(missing)}")
        return 77
    import pytest

    return pytest.main(["-q", "-p", "no:cacheprovider", *arguments])


# Worker processes started by the tests import this file again as their
# main module: only the real main runs the tests.
if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
