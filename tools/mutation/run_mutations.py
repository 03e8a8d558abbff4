#!/usr/bin/python3
"""Mutation job: proves that the tests notice every change of a result.

Applies the mutations of tools/mutation/mutations.txt one at a time to the
sources, rebuilds what the mutated file is compiled into in a build directory
of its own, runs the tests that cover it (the first failure ends a run) and
restores the source, also when the job is interrupted or fails.  A mutation
is killed when a test fails, crashes or hangs; it survives when all pass.

What covers a file, in stages built and run one after another until one
kills the mutation (cheapest first):
  src/, include/   the test program of each level the file is built into;
  host/            the core's tests, the vesk program's tests and the Python
                   package's tests (every front end uses the core);
  tools/vesk/      the vesk program's tests;
  python/vesk/     the Python package's tests.

    tools/mutation/run_mutations.py [--check] [--build DIR] [--jobs N] [NUMBER...]

--check only verifies that every entry still applies.  --jobs N (default:
the processors, at most 2) runs N mutations at a time, each worker beyond
the first in a copy of the sources under build-mutation-trees/ with a
build of its own; ccache, with paths taken relative to each tree, makes
those builds cheap.  NUMBERs (1-based,
in list order) run those entries alone.  Exit status 1 when an entry is
stale (its original text is not found exactly once in its file), a mutation
does not compile, a mutation not marked equivalent survives, or one marked
equivalent is killed.
"""
import argparse
import os
import queue
import shutil
import signal
import subprocess
import sys
import threading
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
LIST = os.path.join(ROOT, 'tools', 'mutation', 'mutations.txt')
PROGRAMS = ('veskdll133_tests', 'veskdll_tests')
HOST_TESTS = os.path.join('host', 'tests', 'vesk_host_tests')
TOOL_TESTS = os.path.join('tools', 'vesk', 'tests', 'vesk_tool_tests')
FRONT_END_TARGETS = ('vesk_host_tests', 'vesk_tool_tests', 'vesk', 'vesk_host')
TEST_TIMEOUT = 300  # seconds; a mutation that makes a program hang is killed


class Entry:
    def __init__(self, number, line):
        self.number = number
        self.line = line
        self.file = None
        self.original = None
        self.replacement = None
        self.equivalent = None

    def describe(self):
        return '#%d %s:%d' % (self.number, self.file, self.line)


def parse(path):
    """Entries are blocks of 'file:', 'from:', 'to:' and optionally
    'equivalent:' lines, separated by blank lines; '#' starts a comment line.
    A value keeps everything after the colon and one space; the escapes \\n
    and \\t stand for a line break and a tab."""
    entries, current, problems = [], None, []
    with open(path, encoding='utf-8') as f:
        for number, text in enumerate(f, start=1):
            text = text.rstrip('\n')
            if text.startswith('#'):
                continue
            if not text.strip():
                current = None
                continue
            key, sep, value = text.partition(':')
            if not sep or key not in ('file', 'from', 'to', 'equivalent'):
                problems.append('%s:%d: expected file:, from:, to: or equivalent:' % (path, number))
                continue
            value = value[1:] if value.startswith(' ') else value
            value = value.replace('\\n', '\n').replace('\\t', '\t')
            if current is None:
                current = Entry(len(entries) + 1, number)
                entries.append(current)
            setattr(current, {'from': 'original', 'to': 'replacement'}.get(key, key), value)
    for e in entries:
        if e.file is None or e.original is None or e.replacement is None:
            problems.append('%s:%d: an entry needs file:, from: and to:' % (path, e.line))
        elif e.original == e.replacement:
            problems.append('%s:%d: from: and to: are the same' % (path, e.line))
    return entries, problems


def stale_entries(entries):
    stale = []
    for e in entries:
        path = os.path.join(ROOT, e.file)
        if not os.path.isfile(path):
            stale.append('%s: stale, %s does not exist' % (e.describe(), e.file))
            continue
        with open(path, encoding='utf-8') as f:
            count = f.read().count(e.original)
        if count != 1:
            stale.append('%s: stale, the original text occurs %d times in %s (must be once): %r'
                         % (e.describe(), count, e.file, e.original))
    return stale


class Restorer:
    """Keeps the original of the file being mutated, on disk too, so that an
    interrupted run (even one killed outright) leaves no mutation behind:
    the next run puts the backup back first."""

    def __init__(self, build):
        self.backup_dir = os.path.join(build, 'mutation-backup')
        self.path = None
        self.text = None

    def recover(self):
        marker = os.path.join(self.backup_dir, 'path')
        if os.path.isfile(marker):
            with open(marker, encoding='utf-8') as f:
                path = f.read()
            shutil.copyfile(os.path.join(self.backup_dir, 'original'), path)
            print('restored %s from an interrupted run' % path)
            shutil.rmtree(self.backup_dir)

    def apply(self, path, original, replacement):
        with open(path, encoding='utf-8') as f:
            self.text = f.read()
        os.makedirs(self.backup_dir, exist_ok=True)
        shutil.copyfile(path, os.path.join(self.backup_dir, 'original'))
        with open(os.path.join(self.backup_dir, 'path'), 'w', encoding='utf-8') as f:
            f.write(path)
        self.path = path
        with open(path, 'w', encoding='utf-8') as f:
            f.write(self.text.replace(original, replacement, 1))

    def restore(self):
        if self.path is None:
            return
        with open(self.path, 'w', encoding='utf-8') as f:
            f.write(self.text)
        self.path = None
        shutil.rmtree(self.backup_dir, ignore_errors=True)


def run(command, timeout=None):
    return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode


def configure(build, root=ROOT):
    command = ['cmake', '-S', root, '-B', build, '-DCMAKE_BUILD_TYPE=Mutation',
               '-DCMAKE_CXX_FLAGS_MUTATION=-O0', '-DCMAKE_C_FLAGS_MUTATION=-O0',
               '-DVESK_BUILD_BENCHMARKS=OFF', '-DVESK_WERROR=OFF']
    if shutil.which('ccache'):
        command += ['-DCMAKE_CXX_COMPILER_LAUNCHER=ccache', '-DCMAKE_C_COMPILER_LAUNCHER=ccache']
    return run(command) == 0


def programs_of(path):
    """The test programs a source file is compiled into: a file of a level's
    own list (src/*/sources.cmake) only into that level's, a header or a
    shared file into both."""
    if not path.endswith('.cpp'):
        return PROGRAMS
    name = os.path.basename(path)
    folder = os.path.join(ROOT, os.path.dirname(path))
    listing = os.path.join(folder, 'sources.cmake')
    if not os.path.isfile(listing):
        return PROGRAMS
    variable = None
    with open(listing, encoding='utf-8') as f:
        for line in f:
            line = line.strip()
            if line.startswith('set('):
                variable = line[4:].split()[0] if len(line) > 4 else None
            if line.endswith('/' + name) and variable:
                if variable.endswith('_CURRENT'):
                    return ('veskdll133_tests',)
                if variable == 'VESK_EARLIER_SOURCES':
                    return ('veskdll_tests',)
                return PROGRAMS
    return PROGRAMS


# The Python tests that cover a module of the package most closely.
PYTHON_OWN_TESTS = {'ensemble': 'ensemble', 'storm': 'storms', 'design': 'storms', 'basin': 'inputs',
                    'table': 'inputs', 'library': 'library', '_host': 'library', '_binding': 'threads',
                    'calc': 'calc', 'bmi': 'bmi'}
PYTHON_TESTS = ['ctest', '-R', '^vesk_python_', '-E', 'installed', '--stop-on-failure', '-j2']


# The program's tests CTest runs by script: the SVG through xmllint, the HTML
# report in headless Chromium.
TOOL_SCRIPT_TESTS = 'ctest:^vesk_plot_is_well_formed_xml$|^vesk_report_in_browser$'


class Stage:
    """Targets to build, then a test to run: a gtest program (a path relative
    to the build), 'ctest:REGEX' for tests CTest runs, or, when None, the
    Python package's tests."""

    def __init__(self, targets, program):
        self.targets = tuple(targets)
        self.program = program


def stages_of(path):
    """The stages that cover a mutated file, cheapest first: a stage is built
    only when the ones before it did not kill the mutation."""
    if path.startswith('host/'):
        return [Stage(('vesk_host_tests',), HOST_TESTS), Stage(('vesk_tool_tests', 'vesk'), TOOL_TESTS),
                Stage(('vesk_host',), None)]
    if path.startswith('tools/vesk/'):
        return [Stage(('vesk_tool_tests', 'vesk'), TOOL_TESTS), Stage((), TOOL_SCRIPT_TESTS)]
    if path.startswith('python/'):
        # The host core's shared library may still hold an earlier mutation.
        # The module's own tests first: the whole suite only when they pass.
        own = PYTHON_OWN_TESTS.get(path.split('/')[2].split('.')[0])
        first = [Stage(('vesk_host',), 'ctest:^vesk_python_%s$' % own)] if own else []
        return first + [Stage(('vesk_host',), None)]
    return [Stage((program,), os.path.join('tests', program)) for program in programs_of(path)]


def build_targets(build, targets=None):
    command = ['cmake', '--build', build, '-j2']
    if targets is not None:
        if not targets:
            return True
        command += ['--target'] + list(targets)
    return run(command) == 0


def test_passes(build, program):
    """True when the test passes (the first failing case ends it)."""
    if program is None:
        command = PYTHON_TESTS[:1] + ['--test-dir', build] + PYTHON_TESTS[1:]
    elif program.startswith('ctest:'):
        command = ['ctest', '--test-dir', build, '-R', program[len('ctest:'):], '--stop-on-failure']
    else:
        command = [os.path.join(build, program), '--gtest_fail_fast', '--gtest_brief=1']
    try:
        return run(command, timeout=TEST_TIMEOUT) == 0
    except subprocess.TimeoutExpired:
        return False


class Worker:
    """A source tree and its build: the repository itself, or a copy of it."""

    def __init__(self, root, build):
        self.root = root
        self.build = build
        self.restorer = Restorer(build)

    def prepare(self):
        """Builds the unmutated sources and runs every test; the message of what failed, or None."""
        self.restorer.recover()
        if not configure(self.build, self.root) or not build_targets(self.build):
            return 'the unmutated sources do not build in %s' % self.build
        if not everything_passes(self.build):
            return 'the tests fail without any mutation (%s)' % self.build
        return None


def source_files():
    """The files of the sources: git's tracked and untracked, unignored ones."""
    listed = subprocess.run(['git', '-C', ROOT, 'ls-files', '-z', '--cached', '--others', '--exclude-standard'],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    if listed.returncode != 0:
        return None
    return [name for name in listed.stdout.decode('utf-8').split('\0') if name]


def copied_tree(tree):
    """Brings `tree` to the sources' state, copying only what differs (so its
    build stays incremental).  False when the sources cannot be listed."""
    names = source_files()
    if names is None:
        return False
    for name in names:
        source, target = os.path.join(ROOT, name), os.path.join(tree, name)
        if not os.path.isfile(source):
            continue
        if os.path.isfile(target):
            a, b = os.stat(source), os.stat(target)
            if a.st_size == b.st_size and int(a.st_mtime) == int(b.st_mtime):
                continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)
    return True


def workers_for(build, jobs):
    """The repository's own worker, and up to jobs - 1 copies beside it."""
    workers = [Worker(ROOT, build)]
    trees = os.path.join(ROOT, 'build-mutation-trees')
    for k in range(1, jobs):
        tree = os.path.join(trees, 'tree-%d' % k)
        if not copied_tree(tree):
            break
        # The copy's build sits where the first one does relative to its
        # sources, so that ccache (paths relative to the tree) shares objects.
        relative = os.path.relpath(build, ROOT)
        inside = not relative.startswith('..')
        workers.append(Worker(tree, os.path.join(tree, relative) if inside else '%s-%d' % (build, k)))
    return workers


def mutation_outcome(build, path):
    """'killed', 'survived' or 'does not compile', stage by stage."""
    for stage in stages_of(path):
        if not build_targets(build, stage.targets):
            return 'does not compile'
        if not test_passes(build, stage.program):
            return 'killed'
    return 'survived'


def everything_passes(build):
    programs = [os.path.join('tests', p) for p in PROGRAMS] + [HOST_TESTS, TOOL_TESTS, TOOL_SCRIPT_TESTS, None]
    return all(test_passes(build, program) for program in programs)


def outcome_line(e, outcome):
    """The verdict on one mutation: (its line, whether it fails the job, its count)."""
    if outcome == 'does not compile':
        return 'FAIL', outcome, 'failed'
    killed = outcome == 'killed'
    if e.equivalent is not None:
        return ('FAIL' if killed else 'ok', 'killed, but marked equivalent' if killed else 'survived (equivalent)',
                'failed' if killed else 'equivalent')
    return ('ok' if killed else 'FAIL', 'killed' if killed else 'SURVIVED', 'killed' if killed else 'survived')


def run_entries(workers, selected):
    """Runs the mutations, each worker taking the next one in list order;
    returns the counts.  Every worker's sources are restored at the end."""
    counts = {'killed': 0, 'survived': 0, 'equivalent': 0, 'failed': 0}
    waiting = queue.Queue()
    for e in selected:
        waiting.put(e)
    printing = threading.Lock()
    stop = threading.Event()

    def work(worker):
        while not stop.is_set():
            try:
                e = waiting.get_nowait()
            except queue.Empty:
                return
            worker.restorer.apply(os.path.join(worker.root, e.file), e.original, e.replacement)
            try:
                outcome = mutation_outcome(worker.build, e.file)
            finally:
                worker.restorer.restore()
            mark, said, count = outcome_line(e, outcome)
            with printing:
                counts[count] += 1
                print('%-4s %-32s %s: %r -> %r' % (mark, said, e.describe(), e.original, e.replacement), flush=True)

    threads = [threading.Thread(target=work, args=(w,), daemon=True) for w in workers]
    for thread in threads:
        thread.start()
    try:
        for thread in threads:
            while thread.is_alive():
                thread.join(timeout=1.0)
    except KeyboardInterrupt:
        stop.set()
        for thread in threads:
            thread.join()
        raise
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--check', action='store_true', help='only check that every entry applies')
    parser.add_argument('--build', default=os.path.join(ROOT, 'build-mutation'), help='build directory')
    parser.add_argument('--jobs', type=int, default=min(2, os.cpu_count() or 1),
                        help='mutations at a time (default: the processors, at most 2)')
    parser.add_argument('numbers', nargs='*', type=int, help='run only these entries')
    options = parser.parse_args()

    entries, problems = parse(LIST)
    build = os.path.abspath(options.build)
    Restorer(build).recover()
    problems += stale_entries(entries)
    for problem in problems:
        print(problem)
    if problems:
        print('mutation list: %d problem(s), fix the entries above (%s)' % (len(problems), LIST))
        return 1
    if options.check:
        print('mutation list: %d entries, all apply' % len(entries))
        return 0
    selected = [e for e in entries if not options.numbers or e.number in options.numbers]

    def interrupted(signum, frame):
        raise KeyboardInterrupt
    signal.signal(signal.SIGTERM, interrupted)

    # Objects compiled in one tree serve the others: paths relative to the tree.
    os.environ.setdefault('CCACHE_BASEDIR', ROOT)
    os.environ.setdefault('CCACHE_NOHASHDIR', '1')
    started = time.monotonic()
    workers = workers_for(build, max(1, min(options.jobs, len(selected))))
    faults = [None] * len(workers)

    def prepare(k):
        faults[k] = workers[k].prepare()
    preparing = [threading.Thread(target=prepare, args=(k,)) for k in range(len(workers))]
    for thread in preparing:
        thread.start()
    for thread in preparing:
        thread.join()
    for fault in faults:
        if fault:
            print('mutation job: ' + fault)
            return 1

    try:
        counts = run_entries(workers, selected)
    except KeyboardInterrupt:
        print('mutation job interrupted; sources restored')
        return 1
    for worker in workers:
        build_targets(worker.build)  # leave each build matching its sources

    minutes = (time.monotonic() - started) / 60.0
    print('mutation summary: %d mutations, %d killed, %d survived, %d equivalent, %d failed '
          '(%.1f min, %d at a time)' % (len(selected), counts['killed'], counts['survived'], counts['equivalent'],
                                        counts['failed'], minutes, len(workers)))
    return 1 if counts['survived'] or counts['failed'] else 0


if __name__ == '__main__':
    sys.exit(main())
