"""Runs one pytest file for CTest, or reports a skip (status 77) when the
interpreter lacks what the tests need (install python3-numpy, python3-pandas
and python3-pytest from Debian)."""

import importlib.util
import sys

missing = [name for name in ("numpy", "pandas", "pytest") if importlib.util.find_spec(name) is None]
if missing:
    print(f"skipped: {sys.executable} cannot import {', '.join(missing)}")
    sys.exit(77)

import pytest  # noqa: E402

sys.exit(pytest.main(["-q", "-p", "no:cacheprovider", *sys.argv[1:]]))
