#!/usr/bin/python3
"""Checks the include rule of src/ (docs/architecture.md).

Every folder of src/ lies on a floor (FLOORS below).  A file may include
files of its own folder, of a folder on a lower floor and the public headers
(include/); an include of a folder on a higher floor, or of another folder on
the same floor, breaks the rule.  Nor may includes form a circle: a header
and the source file of the same name form one component (a.h and a.cpp), and
no component may reach itself through the includes of its files, inside a
folder or across folders.

    check_include_floors.py [ROOT]     checks ROOT/src (default: this tree)
    check_include_floors.py --self-test

Exit status 1, with one line per fault, when the rule is broken.
"""
import os
import re
import sys
import tempfile

# Floors from the ground up.  A folder missing here is a fault: a new folder
# gets a floor (and a line in docs/architecture.md) before it gets code.
FLOORS = {
    'base': 0,
    'relations': 1,
    'simulation': 1,
    'unithydrograph': 2,
    'preparation': 3,
    'earlier': 3,
    'registry': 4,
    'exports/shared': 5,
    'exports/current': 6,
    'exports/earlier': 6,
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = ('.h', '.cpp')


def sources(src):
    """Every header and source file under src, as paths relative to it."""
    found = []
    for folder, _, names in os.walk(src):
        for name in names:
            if name.endswith(SOURCE_SUFFIXES):
                found.append(os.path.relpath(os.path.join(folder, name), src).replace(os.sep, '/'))
    return sorted(found)


def folder_of(path):
    return path.rsplit('/', 1)[0] if '/' in path else ''


def component_of(path):
    return os.path.splitext(path)[0]


def resolve(root, path, included):
    """The included file as a path relative to src/, 'include/...' for a
    public header, or None when neither the including file's folder, src/
    nor include/ holds it (the order the compiler searches)."""
    src = os.path.join(root, 'src')
    beside = os.path.normpath(os.path.join(folder_of(path), included)).replace(os.sep, '/')
    if not beside.startswith('../') and os.path.isfile(os.path.join(src, beside)):
        return beside
    if os.path.isfile(os.path.join(src, included)):
        return os.path.normpath(included).replace(os.sep, '/')
    if os.path.isfile(os.path.join(root, 'include', included)):
        return 'include/' + included
    return None


def cycles(edges):
    """The strongly connected components of more than one component
    (Tarjan's algorithm, iteratively), each sorted."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = [0]
    for start in sorted(edges):
        if start in index:
            continue
        work = [(start, iter(sorted(edges.get(start, ()))))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, successors = work[-1]
            advanced = False
            for successor in successors:
                if successor not in index:
                    index[successor] = low[successor] = counter[0]
                    counter[0] += 1
                    stack.append(successor)
                    on_stack.add(successor)
                    work.append((successor, iter(sorted(edges.get(successor, ())))))
                    advanced = True
                    break
                if successor in on_stack:
                    low[node] = min(low[node], index[successor])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                members = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    members.append(member)
                    if member == node:
                        break
                if len(members) > 1:
                    found.append(sorted(members))
    return found


def check(root):
    """The faults of ROOT/src, one text each."""
    src = os.path.join(root, 'src')
    faults = []
    edges = {}
    for path in sources(src):
        folder = folder_of(path)
        if folder not in FLOORS:
            faults.append('%s: the folder %s has no floor' % (path, folder or 'src/'))
        with open(os.path.join(src, path), encoding='utf-8') as f:
            text = f.read()
        for included in INCLUDE.findall(text):
            target = resolve(root, path, included)
            if target is None:
                faults.append('%s: includes "%s", which is neither in src/ nor in include/' % (path, included))
                continue
            if target.startswith('include/'):
                continue  # the public headers lie below every floor
            edges.setdefault(component_of(path), set()).add(component_of(target))
            target_folder = folder_of(target)
            if target_folder == folder or folder not in FLOORS:
                continue
            if target_folder not in FLOORS:
                faults.append('%s: includes %s, whose folder has no floor' % (path, target))
            elif FLOORS[target_folder] > FLOORS[folder]:
                faults.append('%s (floor %d) includes %s from the higher floor %d'
                              % (path, FLOORS[folder], target, FLOORS[target_folder]))
            elif FLOORS[target_folder] == FLOORS[folder]:
                faults.append('%s includes %s from %s, another folder on its floor %d'
                              % (path, target, target_folder, FLOORS[folder]))
    for node, targets in edges.items():
        targets.discard(node)  # a.cpp including a.h
    for circle in cycles(edges):
        faults.append('includes form a circle through %s' % ', '.join(circle))
    return faults


def self_test():
    """The check finds each kind of fault in a small tree, and nothing in the
    same tree without it."""
    sound = {
        'base/a.h': '#include "veskdll133.h"\n',
        'base/a.cpp': '#include "base/a.h"\n',
        'relations/r.h': '#include "base/a.h"\n',
        'simulation/s.h': '#pragma once\n',
        'registry/g.h': '#include "simulation/s.h"\n#include "base/a.h"\n',
        'registry/g.cpp': '#include "registry/g.h"\n#include "h.h"\n',
        'registry/h.h': '// #include "exports/shared/x.h" is only a comment\n',
        'exports/shared/x.cpp': '#include "registry/g.h"\n',
    }
    cases = [
        ('sound tree', {}, None),
        ('include from a higher floor', {'base/a.cpp': '#include "simulation/s.h"\n'}, 'from the higher floor'),
        ('include across one floor', {'relations/r.h': '#include "simulation/s.h"\n'}, 'another folder on its floor'),
        ('circle inside a folder', {'registry/h.h': '#include "registry/g.h"\n'}, 'circle through registry/g, registry/h'),
        ('circle of components, none of files',
         {'registry/g.h': '#include "registry/h.h"\n', 'registry/h.cpp': '#include "registry/g.h"\n'},
         'circle through registry/g, registry/h'),
        ('include found nowhere', {'base/a.cpp': '#include "base/missing.h"\n'}, 'neither in src/ nor in include/'),
        ('folder without a floor', {'tools/t.cpp': '#include "base/a.h"\n'}, 'has no floor'),
        ('file in src/ itself', {'level.h': '#include "base/a.h"\n'}, 'the folder src/ has no floor'),
    ]
    failures = 0
    for what, changes, expected in cases:
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, 'include'))
            open(os.path.join(root, 'include', 'veskdll133.h'), 'w').close()
            for path, text in dict(sound, **changes).items():
                full = os.path.join(root, 'src', path)
                os.makedirs(os.path.dirname(full), exist_ok=True)
                with open(full, 'w', encoding='utf-8') as f:
                    f.write(text)
            faults = check(root)
        if expected is None:
            ok = not faults
        else:
            ok = len(faults) == 1 and expected in faults[0]
        if not ok:
            failures += 1
            print('self-test %s: expected %s, got %r' % (what, expected or 'no fault', faults))
    print('self-test: %d of %d cases as expected' % (len(cases) - failures, len(cases)))
    return 1 if failures else 0


def main(arguments):
    if arguments[:1] == ['--self-test']:
        return self_test()
    root = arguments[0] if arguments else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    faults = check(os.path.normpath(root))
    for fault in faults:
        print(fault)
    if faults:
        print('include rule: %d fault(s); the floors are in %s and docs/architecture.md'
              % (len(faults), os.path.abspath(__file__)))
        return 1
    print('include rule: %d files of src/ on %d floors, no include upward, sideways or in a circle'
          % (len(sources(os.path.join(root, 'src'))), len(set(FLOORS.values()))))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
