"""The READMEs' Python code runs as it stands there: the top README's five-line
quick start, and every block of the Python guide, printing what its comments say."""

import contextlib
import io
import os
import re

import pytest

from conftest import EXAMPLES, SOURCE_DIR


def quick_start():
    text = (SOURCE_DIR / "README.md").read_text()
    return re.search(r"Quick start, five lines.*?```python\n(.*?)```", text, re.S).group(1)


@pytest.fixture
def in_scratch(tmp_path, monkeypatch):
    """A scratch folder holding the project's examples, as the working folder."""
    (tmp_path / "examples").symlink_to(EXAMPLES)
    monkeypatch.chdir(tmp_path)
    return tmp_path


def test_the_quick_start_makes_five_lines_into_a_frame_and_a_plot(in_scratch, monkeypatch):
    pytest.importorskip("matplotlib")
    monkeypatch.setenv("MPLBACKEND", "Agg")
    code = quick_start()
    assert len(code.strip().splitlines()) == 5
    scope = {}
    exec(compile(code, "README.md", "exec"), scope)
    flows = scope["flows"]
    assert list(flows.columns) == ["rain_in", "CedarCreek", "MarketSquare", "Meadowbrook", "outlet"]
    assert os.path.getsize(in_scratch / "run.png") > 1000


def guide_blocks():
    return re.findall(r"```python\n(.*?)```", (SOURCE_DIR / "python" / "README.md").read_text(), re.S)


def promised(block):
    """What a block's print lines say they print: the comment after each."""
    return [line.split("  # ", 1)[1].strip() for line in block.splitlines() if "print(" in line and "  # " in line]


def test_the_guides_blocks_run_in_order_and_print_what_they_say(in_scratch):
    blocks = guide_blocks()
    assert len(blocks) >= 10
    scope = {"__name__": "readme"}
    for number, block in enumerate(blocks, start=1):
        printed = io.StringIO()
        with contextlib.redirect_stdout(printed):
            exec(compile(block, f"python/README.md block {number}", "exec"), scope)
        lines = printed.getvalue().splitlines()
        expected = promised(block)
        assert len(lines) == len(expected), (number, lines)
        for line, said in zip(lines, expected):
            assert line.startswith(said[:-3]) if said.endswith("...") else line == said, (number, line, said)
