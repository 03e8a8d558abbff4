"""Refusing, at once, an ensemble started from a script's top level outside
``if __name__ == "__main__":``.

A local cluster starts its workers as new processes that import the main
script again (as ``__mp_main__``).  A script that starts the ensemble from
its top level then starts it again in every worker, each of which starts a
cluster of its own, which the worker cannot: the workers die and are
restarted for ever, and the call hangs, filling standard error and leaking
semaphores.  Two checks stop that before any process starts:

- in the calling process, the statement of the main script that leads to the
  call is found on the stack and looked up in the script's syntax tree: one
  outside the main guard is refused;
- in a process that is importing the main script to become a worker (a
  spawned process still bootstrapping), any call is refused.
"""

import ast
import linecache
import multiprocessing
import sys

from ..errors import VeskError

FIX = ('Put the code that starts the ensemble under the main guard, so that worker processes can import the '
       'script without starting it again:\n\n'
       '    if __name__ == "__main__":\n'
       '        main()  # or the calls themselves, indented')


class MissingMainGuard(VeskError, RuntimeError):
    """An ensemble was started from a script's top level outside ``if
    __name__ == "__main__":``; the message gives the fix."""

    def __init__(self, message):
        super().__init__(message, message=message)


MissingMainGuard.__module__ = "vesk.ensemble"  # where users catch it


def _is_main_test(test):
    """True for a test that compares ``__name__`` with "__main__"."""
    for node in ast.walk(test):
        if isinstance(node, ast.Compare):
            operands = [node.left, *node.comparators]
            if (any(isinstance(o, ast.Name) and o.id == "__name__" for o in operands)
                    and any(isinstance(o, ast.Constant) and o.value == "__main__" for o in operands)):
                return True
    return False


def _guarded(tree, line):
    """True when ``line`` lies in the body of an ``if __name__ == "__main__":``."""
    for node in ast.walk(tree):
        if isinstance(node, ast.If) and _is_main_test(node.test):
            if any(statement.lineno <= line <= statement.end_lineno for statement in node.body):
                return True
    return False


def _main_frame(main_globals, start):
    """The frame of the main script's top-level code on the stack above
    ``start``, or None when the script is not running its top level."""
    frame = start
    while frame is not None:
        if frame.f_globals is main_globals and frame.f_code.co_name == "<module>":
            return frame
        frame = frame.f_back
    return None


def unguarded_call_site(start=None):
    """(script, line) of the main script's top-level statement that leads to
    this call when it lies outside the main guard; None when there is none
    (no script file, as in an interpreter or a notebook, or the call does not
    come from the script's top level) or the script cannot be read."""
    main = sys.modules.get("__main__")
    path = getattr(main, "__file__", None)
    if main is None or not path or getattr(main, "__name__", None) != "__main__":
        return None
    frame = _main_frame(main.__dict__, start or sys._getframe(1))
    if frame is None:
        return None
    source = "".join(linecache.getlines(path, main.__dict__))
    try:
        tree = ast.parse(source, path)
    except (SyntaxError, ValueError):
        return None
    line = frame.f_lineno
    return None if _guarded(tree, line) else (path, line)


def importing_main_in_worker(start=None):
    """True while this process, started by multiprocessing's spawn method
    (as a local cluster's workers are), imports the main script."""
    if getattr(multiprocessing.current_process(), "_inheriting", False):
        return True
    frame = start or sys._getframe(1)
    while frame is not None:
        if frame.f_code.co_name == "<module>" and frame.f_globals.get("__name__") == "__mp_main__":
            return True
        frame = frame.f_back
    return False


def check_not_in_worker_import(what):
    """Raises MissingMainGuard in a worker process importing the main script."""
    if importing_main_in_worker(sys._getframe(1)):
        raise MissingMainGuard(
            f"{what} was called while a new worker process imported the main script, as each worker of a local "
            f"cluster does: the script starts the ensemble from its top level, so every worker would start it "
            f"again.\n{FIX}")


def check_main_guard(what):
    """Raises MissingMainGuard when ``what`` (about to start worker
    processes) is called from the main script's top level outside the main
    guard, or in a worker process importing the main script."""
    caller = sys._getframe(1)
    check_not_in_worker_import(what)
    site = unguarded_call_site(caller)
    if site is not None:
        path, line = site
        raise MissingMainGuard(
            f"{path}, line {line}: {what} is called from the script's top level outside "
            f"'if __name__ == \"__main__\":'. A local cluster's worker processes import the main script "
            f"again, so each would start the ensemble anew and the call would hang.\n{FIX}")
