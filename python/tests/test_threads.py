"""One vesk.Library hammered from several threads: the package's lock keeps
every call into the libraries whole, so nothing is lost or mixed up (the
libraries guard nothing, and ctypes lets threads run during a call)."""

import dataclasses
import threading
import warnings

import pytest

import vesk
from vesk import _binding

THREADS = 4
PER_THREAD = 30
STORM = [0.05, 0.2, 0.45, 0.3, 0.1, 0.05]


def together(work, count=THREADS):
    """Runs work(t) in `count` threads started at once; re-raises the first failure."""
    start = threading.Barrier(count)
    failures = []

    def body(t):
        try:
            start.wait()
            work(t)
        except BaseException as error:  # noqa: BLE001 - reported below
            failures.append(error)

    threads = [threading.Thread(target=body, args=(t,)) for t in range(count)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join(timeout=120)
    assert not any(thread.is_alive() for thread in threads), "a thread hangs"
    if failures:
        raise failures[0]


@pytest.fixture
def basins(small_basin):
    """Distinct basins by thread: each has its own area, so a mix-up shows."""
    return [{f"T{t}_{i}": dataclasses.replace(small_basin, area=0.1 + 0.01 * (t * PER_THREAD + i))
             for i in range(PER_THREAD)} for t in range(THREADS)]


def test_one_library_from_several_threads_adds_steps_and_runs_without_loss(basins, small_basin):
    warnings.simplefilter("ignore", vesk.VeskWarning)
    with vesk.Library() as lib:
        expected = [lib.run(mine, STORM) for mine in basins]
        figures = [lib.summary(mine, STORM) for mine in basins]
        # Each basin stepped alone, one thread, at 5-minute steps.
        lib.clear()
        stepped = [{name: [] for name in mine} for mine in basins]
        for t, mine in enumerate(basins):
            for name, basin in mine.items():
                lib.add(name, basin, step=5)
                stepped[t][name] = [lib.step(name, STORM[k] if k < len(STORM) else 0.0, (k + 1) * 5)
                                    for k in range(len(expected[t]))]
        lib.clear()
        unfittable = dataclasses.replace(small_basin, width50=5000.0, width75=4000.0)

        def add(t):
            for name, basin in basins[t].items():
                lib.add(name, basin, step=5)
                # The library refuses this one and its code is cleared again
                # before another thread's call can meet it.
                with pytest.raises(vesk.UnitHydrographError):
                    lib.add(f"U{t}", unfittable)
                assert vesk.calc.directly_connected_fraction(1, 35.0) > 0

        together(add)
        assert sorted(lib.basins) == sorted(name for mine in basins for name in mine)
        for mine in basins:
            for name, basin in mine.items():
                assert lib.record(name)["area"] == basin.area

        flows = [{name: [] for name in mine} for mine in basins]

        def step(t):
            for k in range(len(expected[t])):
                for name in basins[t]:
                    flows[t][name].append(lib.step(name, STORM[k] if k < len(STORM) else 0.0, (k + 1) * 5))

        together(step)
        for t, mine in enumerate(basins):
            for name in mine:
                assert flows[t][name] == stepped[t][name]

        def run(t):
            for _ in range(3):
                assert lib.run(basins[t], STORM).equals(expected[t])
                assert lib.summary(basins[t], STORM).equals(figures[t])

        together(run)
        assert lib.raw.vesk_geterror() == 0


def test_a_call_into_the_library_waits_while_another_thread_holds_the_lock():
    done = threading.Event()
    export = _binding.exports("current").vesk_calcDCIF  # bound before the lock is taken

    def call():
        export(1, 35.0)
        done.set()

    with vesk.LOCK:
        caller = threading.Thread(target=call)
        caller.start()
        assert not done.wait(0.3), "a call ran while another thread held vesk.LOCK"
    assert done.wait(30)
    caller.join()
