#!/usr/bin/env python3
"""The include structure between source folders, as a Graphviz picture or as a check.

    scripts/include-graph.py            # dot text on stdout (dot -Tpng > includes.png)
    scripts/include-graph.py --check    # exit 1 on a loop or an include against the layer order

The compiler already keeps a library from reaching a higher one (each library folder is its own
include root); this also checks the order of the folders inside a library and finds loops.
"""
import collections
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
LIBRARIES = ["core", "draw", "widgets", "cli", "app"]
# Lower first; a folder may include only folders at its own rank or before it.
RANK = {"core/catalogue": 0, "core/reference": 1, "core/export": 1, "core/export/formats": 2,
        "core/export/formats/nsma": 2,
        "draw/canvas": 3, "draw/plot": 4, "draw/printing": 5,
        "widgets/ui": 6, "widgets/dialogs": 7, "widgets/patterns": 7, "widgets/mainwindow": 8,
        "cli": 6, "app": 9}


def folders():
    """Maps each include path to the folder that holds it, per library root."""
    where = {}
    for lib in LIBRARIES:
        base = os.path.join(ROOT, lib)
        for path, _, files in os.walk(base):
            for name in files:
                rel = os.path.relpath(os.path.join(path, name), base)
                folder = os.path.dirname(rel)
                where[rel] = lib + ("/" + folder if folder else "")
    return where


def edges():
    where = folders()
    found = collections.Counter()
    for lib in LIBRARIES:
        base = os.path.join(ROOT, lib)
        for path, _, files in os.walk(base):
            for name in files:
                if not name.endswith((".h", ".cpp")):
                    continue
                rel = os.path.relpath(os.path.join(path, name), base)
                src = where[rel]
                with open(os.path.join(path, name), encoding="latin-1") as f:
                    for inc in re.findall(r'#include "([^"]+)"', f.read()):
                        target = where.get(inc)
                        if target and target != src:
                            found[(src, target)] += 1
    return found


def main():
    found = edges()
    if "--check" in sys.argv:
        bad = [f"{a} -> {b}" for (a, b) in found if (b, a) in found or RANK.get(b, 0) > RANK.get(a, 0)]
        for line in sorted(bad):
            print("include against the layers:", line, file=sys.stderr)
        if not bad:
            print(f"{len(found)} folder dependencies, no loop, none against the layers.")
        return 1 if bad else 0
    print("digraph includes {\n  rankdir=BT;\n  node [shape=box];")
    for (a, b), n in sorted(found.items()):
        print(f'  "{a}" -> "{b}" [label={n}];')
    print("}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
