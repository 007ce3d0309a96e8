#!/usr/bin/env python3
"""What each core test guards that no other test does.

  value.py PER_TEST_DIR [MATRIX_DIR]

PER_TEST_DIR is the output of coverage.sh; MATRIX_DIR, if given, that of kill-matrix.sh. A test
"holds" the src lines it runs and the mutants it fails on. The report lists the tests whose every
line and mutant some other test also holds (largest first, each one's removal taken into account
before the next), then every other test with how many lines and mutants only it holds.
Frtool scripts count as holders but are never proposed for removal.
"""
import collections, glob, json, os, re, sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def group(name):
    """Suite.Test of a test name; parameterised runs count as their test."""
    if name.startswith('cli:'):
        return name
    suite, test = name.split('.', 1)
    return suite.split('/')[-1] + '.' + test.split('/')[0]


def test_sizes():
    """Non-blank, non-comment lines from each TEST to the next (helpers in between count with the
    test before them) and where it starts."""
    size, where = {}, {}
    for path in glob.glob(os.path.join(ROOT, 'tests/core/**/*.cpp'), recursive=True):
        lines = open(path, encoding='utf-8').read().split('\n')
        starts = [(i, m.group(2) + '.' + m.group(3)) for i, l in enumerate(lines)
                  for m in [re.match(r'(TEST|TEST_F|TEST_P)\((\w+),\s*(\w+)\)', l)] if m]
        for k, (i, name) in enumerate(starts):
            end = starts[k + 1][0] if k + 1 < len(starts) else len(lines)
            size[name] = sum(1 for l in lines[i:end] if l.strip() and not l.strip().startswith('//'))
            where[name] = os.path.relpath(path, ROOT) + ':' + str(i + 1)
    return size, where


def coverage(per_test):
    held = collections.defaultdict(set)
    for line in open(os.path.join(per_test, 'map.txt'), encoding='utf-8'):
        key, name = line.split(None, 1)
        path = os.path.join(per_test, key + '.txt')
        if os.path.exists(path):
            held[group(name.strip())] |= {l.strip() for l in open(path, encoding='utf-8')}
    return held


def kills(matrix):
    """Mutant (its diff) -> failing tests; a crash of the core binary counts as every core test."""
    out = {}
    for run in sorted(glob.glob(os.path.join(matrix, '*'))):
        diff = open(os.path.join(run, 'diff.txt'), errors='replace').read()
        if not diff.strip():
            continue
        failed = set()
        status = dict(l.split() for l in open(os.path.join(run, 'rc.txt')))
        try:
            report = json.load(open(os.path.join(run, 'core.json')))
            for suite in report['testsuites']:
                for t in suite['testsuite']:
                    if t.get('failures'):
                        failed.add(group(suite['name'] + '.' + t['name']))
        except (OSError, ValueError):
            pass
        if status.get('core', '0') != '0' and not failed:
            failed.add('*crash*')
        failed |= {k for k, v in status.items() if k.startswith('cli:') and v != '0'}
        out[diff] = failed
    return out


def main():
    held = coverage(sys.argv[1])
    if len(sys.argv) > 2:
        for n, (diff, failed) in enumerate(kills(sys.argv[2]).items()):
            # Tests gone since the matrix was recorded hold nothing any more.
            for t in failed & (set(held) | {'*crash*'}):
                held[t].add('mutant %d' % n)
    size, where = test_sizes()
    count = collections.Counter(x for s in held.values() for x in s)
    removable = []
    for t in sorted(held, key=lambda t: -size.get(t, 0)):
        if t.startswith('cli:') or t == '*crash*':
            continue
        if all(count[x] > 1 for x in held[t]):
            for x in held[t]:
                count[x] -= 1
            removable.append(t)
    print('Tests whose lines and mutants others hold too (%d body lines):' %
          sum(size.get(t, 0) for t in removable))
    for t in removable:
        print('  %4d  %s  %s' % (size.get(t, 0), t, where.get(t, '')))
    print('Other tests: lines and mutants only they hold, body lines')
    for t in sorted(set(held) - set(removable)):
        if t.startswith('cli:') or t == '*crash*':
            continue
        only = [x for x in held[t] if count[x] == 1]
        mutants = sum(1 for x in only if x.startswith('mutant '))
        print('  %4d %3d %4d  %s' % (len(only) - mutants, mutants, size.get(t, 0), t))


if __name__ == '__main__':
    main()
