"""The README's Python quick start runs as it stands there."""

import os
import re

import pytest

from conftest import EXAMPLES, SOURCE_DIR


def quick_start():
    text = (SOURCE_DIR / "README.md").read_text()
    return re.search(r"Quick start, five lines.*?```python\n(.*?)```", text, re.S).group(1)


def test_the_quick_start_makes_five_lines_into_a_frame_and_a_plot(tmp_path, monkeypatch):
    pytest.importorskip("matplotlib")
    monkeypatch.setenv("MPLBACKEND", "Agg")
    code = quick_start()
    assert len(code.strip().splitlines()) == 5
    (tmp_path / "examples").symlink_to(EXAMPLES)
    monkeypatch.chdir(tmp_path)
    scope = {}
    exec(compile(code, "README.md", "exec"), scope)
    flows = scope["flows"]
    assert list(flows.columns) == ["rain_in", "CedarCreek", "MarketSquare", "Meadowbrook"]
    assert os.path.getsize(tmp_path / "run.png") > 1000
