#!/usr/bin/env python3
"""Checks the include graph against the layers of ARCHITECTURE.md.

Every quoted #include of the program's sources (tests, benchmarks and fuzz
harnesses aside) is taken as an edge from the including file's part to the
included file's part. The check fails when a part includes one it may not,
when a part below the windows includes a window header, or when the parts
below the windows include each other in a cycle. It also prints, for the
maintainer, how the windows reach each other: the window modules that include
another window module's header, and the calls through single instances.

    check_layers.py [repository root]
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
INSTANCE = re.compile(r"\bInstance\(\)")

# What each part below the windows may include (besides itself).
ALLOWED = {
    "engine": set(),
    "platform": set(),
    "platform/qt": {"platform"},
    "chart": {"engine", "platform"},
    "judgement": {"engine", "platform", "chart"},
    "input": {"engine", "platform", "chart"},
    "mainwindow": {"engine", "platform", "chart"},
    "printing": {"platform"},
}
# Single headers a part may take from a part it does not link: the entry
# numbers of the language file are constants only.
HEADER_ONLY = {"mainwindow/uistrings.h"}
# The main window is the hub of the windows: it holds and calls every window
# and every window may reach it; no other circle between windows may form.
HUB = {"mainwindow/ui/baseform", "mainwindow/ui/program", "main"}
SOURCE_DIRS = ["engine", "platform", "chart", "judgement", "input", "mainwindow", "printing"]


def part_of(path):
    """The part a repository path belongs to, or None outside the program."""
    pieces = path.split("/")
    if len(pieces) < 2:
        return "main" if path == "main.cpp" else None
    if "ui" in pieces[1:-1]:
        return "ui:" + pieces[0]
    if pieces[0] == "platform":
        return "platform/qt" if pieces[1] == "qt" else "platform"
    return pieces[0] if pieces[0] in SOURCE_DIRS else None


def sources(root):
    for top in SOURCE_DIRS + ["main.cpp"]:
        start = os.path.join(root, top)
        if os.path.isfile(start):
            yield top
            continue
        for folder, _, files in os.walk(start):
            for name in sorted(files):
                if name.endswith((".cpp", ".h")):
                    yield os.path.relpath(os.path.join(folder, name), root)


def find_cycle(graph):
    """One cycle of the graph as a list of nodes, or None."""
    state = {}

    def visit(node, stack):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, stack)
                if found:
                    return found
        stack.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [])
            if found:
                return found
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    faults = []
    below = {}
    window_modules = {}
    instance_calls = 0
    for path in sources(root):
        part = part_of(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            text = f.read()
        if part and part.startswith("ui:"):
            instance_calls += len(INSTANCE.findall(text))
        for included in INCLUDE.findall(text):
            target = part_of(included)
            if target is None or target == part:
                continue
            if part.startswith("ui:") or part == "main":
                if target.startswith("ui:"):
                    module = os.path.splitext(path)[0]
                    other = os.path.splitext(included)[0]
                    if module != other:
                        window_modules.setdefault(module, set()).add(other)
                continue
            if target.startswith("ui:") or target == "main":
                faults.append(f"{path}: a part below the windows includes {included}")
            elif target not in ALLOWED[part] and included not in HEADER_ONLY:
                faults.append(f"{path}: {part} may not include {included}")
            else:
                below.setdefault(part, set()).add(target)
    cycle = find_cycle(below)
    if cycle:
        faults.append("the parts below the windows include each other: " + " -> ".join(cycle))

    edges = sum(len(v) for v in window_modules.values())
    print(f"window modules including another window module: {len(window_modules)}, "
          f"edges {edges}")
    ring = find_cycle(window_modules)
    print("a circle between window modules: " + (" -> ".join(ring) if ring else "none"))
    spokes = {m: {o for o in others if o not in HUB}
              for m, others in window_modules.items() if m not in HUB}
    ring = find_cycle(spokes)
    if ring:
        faults.append("windows reach each other in a circle besides the main window: " +
                      " -> ".join(ring))
    print(f"Instance() calls in the windows: {instance_calls}")
    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
