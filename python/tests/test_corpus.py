"""The shared input corpus (tests/inputs) read by the Python package: every
storm file, basin file and basin table gives the reading its .expect file
states, the same the core's tests and `vesk check` give, or the refusal
word for word."""

import os
import pathlib
import warnings

import pytest

import vesk

CORPUS = pathlib.Path(os.environ.get("VESK_SOURCE_DIR", pathlib.Path(__file__).parents[2])) / "tests" / "inputs"

# The fields a reading states, as the Basin calls them; shape values and
# fractions the file leaves to the library read as None.
DERIVED_AS = {"dcif": -1.0, "rpf": -1.0, "ct": 0.0, "cp": 0.0, "width50": 0.0, "width75": 0.0,
              "rise50Fraction": 0.0, "rise75Fraction": 0.0, "uhTimeStep": 0}


def cases(folder):
    return sorted(path for path in (CORPUS / folder).iterdir() if path.suffix != ".expect")


def expectation(path):
    """The statements of PATH.expect: a dict of single values and lists; a
    storm case's storms under "storms" (one without a name for a plain file)."""
    found = {"warnings": [], "notes": [], "storms": [], "basins": []}

    def storm():
        if not found["storms"]:
            found["storms"].append({"name": None, "depths": [], "depth": [], "start": None, "filled": 0})
        return found["storms"][-1]

    for line in (path.parent / (path.name + ".expect")).read_text(encoding="utf-8").splitlines():
        if not line or line.startswith("#"):
            continue
        word, _, rest = line.partition(" ")
        if word in ("read", "error", "gaps"):
            found[word] = rest
        elif word == "warning":
            found["warnings"].append(rest)
        elif word == "note":
            found["notes"].append(rest)
        elif word == "storm":
            found["storms"].append({"name": rest, "depths": [], "depth": [], "start": None, "filled": 0})
        elif word in ("step", "unit", "steps", "start"):
            storm()[word] = rest
        elif word == "filled":
            storm()["filled"] = int(rest)
        elif word == "depths":
            storm()["depths"] += [float(value) for value in rest.split()]
        elif word == "depth":
            index, value = rest.split()
            storm()["depth"].append((int(index), float(value)))
        elif word == "basin":
            name, _, given = rest.rpartition(" ")
            found["basins"].append({"name": name, "uh-step-given": given == "uh-step-given", "values": {}})
        else:
            found["basins"][-1]["values"][word] = float(rest)
    return found


def refusal(path, error):
    message = str(error)
    assert message.startswith(str(path))
    return message[len(str(path)):]


UNIT_WORDS = {("us", "depth"): "in", ("si", "depth"): "mm", ("us", "intensity"): "in/h", ("si", "intensity"): "mm/h"}


@pytest.mark.parametrize("path", cases("storms"), ids=lambda path: path.name)
def test_every_storm_reads_as_expected(path):
    expected = expectation(path)
    units = {"us": "us", "si": "si"}.get(expected.get("read"))
    fill_gaps = expected.get("gaps")
    named = any(storm["name"] is not None for storm in expected["storms"])
    read = vesk.read_storms if named else vesk.read_storm
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        if "error" in expected:
            with pytest.raises(vesk.InputError) as refused:
                read(path, units=units, fill_gaps=fill_gaps)
            assert refusal(path, refused.value) == expected["error"]
            return
        found = read(path, units=units, fill_gaps=fill_gaps)
    assert [refusal(path, w.message) for w in caught] == expected["notes"]
    storms = found if named else {None: found}
    assert list(storms) == [storm["name"] for storm in expected["storms"]]
    for want, storm in zip(expected["storms"], storms.values()):
        assert (storm.step or 0) == int(want["step"])
        assert UNIT_WORDS[storm.units, storm.quantity] == want["unit"]
        assert (storm.start.isoformat(timespec="minutes") if storm.start else None) == want["start"]
        assert storm.filled == want["filled"]
        if "steps" in want:
            assert len(storm.depths) == int(want["steps"])
        if want["depths"]:
            assert list(storm.depths) == want["depths"]
        for index, depth in want["depth"]:
            assert storm.depths[index] == depth


def record_values(basin):
    """A Basin's values by record field name, derived ones as the library's requests."""
    values = {}
    for field, record in vesk.Basin.record_names().items():
        value = getattr(basin, field)
        values[record] = DERIVED_AS[record] if basin.derives(field) else float(value)
    return values


@pytest.mark.parametrize("path", cases("basins"), ids=lambda path: path.name)
def test_every_basin_file_and_table_reads_as_expected(path):
    expected = expectation(path)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        if "error" in expected:
            with pytest.raises(vesk.InputError) as refused:
                vesk.read_basins(path, units=expected.get("read", "us"))
            assert refusal(path, refused.value) == expected["error"]
            return
        basins = vesk.read_basins(path, units=expected.get("read", "us"))
    assert [refusal(path, w.message) for w in caught] == expected["warnings"]
    assert list(basins) == [b["name"] for b in expected["basins"]]
    for want, basin in zip(expected["basins"], basins.values()):
        assert (basin.uh_time_step is not None) == want["uh-step-given"]
        # Every value the reading states, and 0 for every other field.
        assert record_values(basin) == {field: want["values"].get(field, 0.0) for field in record_values(basin)}
