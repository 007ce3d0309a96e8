#!/usr/bin/env python3
"""Prints the cycles among the folders and among the files of src/, read from the #include lines.

A file is a unit (foo.h with foo.cpp); a folder is a subsystem (app/shell, core/library). An include
is resolved as the compiler does: beside the including file, then in its layer's root, then in the
core. Exits 1 when there is a cycle, so it can guard a build.
Usage: scripts/include-graph.py [SRC_DIR] [--edges]
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def sources(root):
    for dirpath, _, names in os.walk(root):
        for name in names:
            if name.endswith(('.h', '.cpp')):
                yield os.path.relpath(os.path.join(dirpath, name), root)


def resolve(root, includer, target):
    layer = includer.split(os.sep)[0]
    for base in (os.path.dirname(includer), layer, 'core'):
        path = os.path.normpath(os.path.join(base, target))
        if os.path.isfile(os.path.join(root, path)):
            return path
    return None


def cycles(edges):
    """Strongly connected components with more than one member (Tarjan)."""
    index, low, stack, on, out = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                out.append(sorted(group))

    sys.setrecursionlimit(10000)
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return sorted(out)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    root = args[0] if args else os.path.join(os.path.dirname(__file__), '..', 'src')
    folders, files = {}, {}
    for src in sources(root):
        with open(os.path.join(root, src), encoding='utf-8', errors='replace') as f:
            text = f.read()
        for target in INCLUDE.findall(text):
            dst = resolve(root, src, target)
            if dst is None:
                continue
            a, b = os.path.dirname(src), os.path.dirname(dst)
            if a != b:
                folders.setdefault(a, set()).add(b)
            u, v = os.path.splitext(src)[0], os.path.splitext(dst)[0]
            if u != v:
                files.setdefault(u, set()).add(v)
    if '--edges' in sys.argv:
        for a in sorted(folders):
            print(f"{a} -> {', '.join(sorted(folders[a]))}")
    found = 0
    for kind, edges in (('folder', folders), ('file', files)):
        for group in cycles(edges):
            print(f"{kind} cycle: {' <-> '.join(group)}")
            found += 1
    if not found:
        print('no cycles')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
