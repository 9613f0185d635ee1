#!/usr/bin/env python3
"""Checks the include graph against the layers of ARCHITECTURE.md.

Every quoted #include of the program's sources (tests, benchmarks and fuzz
harnesses aside) is taken as an edge from the including file's part to the
included file's part. The check fails when a part includes one it may not,
when a part below the windows includes a window header, or when the parts
below the windows include each other in a cycle.

Between the windows a module is a source and its header (path without the
extension), and every include of another window module's header is an edge,
also inside one ui/ folder. The check fails when a window module other than
the main window's own files includes the main window's header, when the
print designer includes a judgement or an input window, or when window
modules include each other in a circle of more than two. It prints, for the
maintainer, the window modules' edges, the largest circle and the calls
through single instances.

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
# The main window's header and its own files, the only window modules that
# may include it; the other windows reach it through mainwindow/ui/mainwindowport.h.
MAIN_WINDOW = "mainwindow/ui/baseform"
MAIN_WINDOW_FILES = {MAIN_WINDOW, "mainwindow/ui/baseformdb", "mainwindow/ui/databasecommands",
                     "mainwindow/ui/program", "main"}
# Window modules that may not reach the windows of some parts: the print
# designer takes what the judgement and the data input compute from the
# chart session, never from their windows.
WINDOW_FORBIDDEN = {"printing/ui/printdiziner": {"ui:judgement", "ui:input"}}
# The largest circle of window modules allowed (a window and a dialog it
# owns may know each other).
LARGEST_CIRCLE = 2
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


def circles(graph):
    """The strongly connected components of the graph with more than one
    node, largest first (Tarjan's algorithm, iterative)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = [0]
    nodes = sorted(set(graph) | {n for targets in graph.values() for n in targets})
    for root in nodes:
        if root in index:
            continue
        work = [(root, iter(sorted(graph.get(root, ()))))]
        index[root] = low[root] = counter[0]
        counter[0] += 1
        stack.append(root)
        on_stack.add(root)
        while work:
            node, successors = work[-1]
            advanced = False
            for nxt in successors:
                if nxt not in index:
                    index[nxt] = low[nxt] = counter[0]
                    counter[0] += 1
                    stack.append(nxt)
                    on_stack.add(nxt)
                    work.append((nxt, iter(sorted(graph.get(nxt, ())))))
                    advanced = True
                    break
                if nxt in on_stack:
                    low[node] = min(low[node], index[nxt])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    top = stack.pop()
                    on_stack.discard(top)
                    component.append(top)
                    if top == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))
    return sorted(found, key=lambda c: (-len(c), c))


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
            if target is None:
                continue
            if part.startswith("ui:") or part == "main":
                if target.startswith("ui:"):
                    module = os.path.splitext(path)[0]
                    other = os.path.splitext(included)[0]
                    if module != other:
                        window_modules.setdefault(module, set()).add(other)
                    if other == MAIN_WINDOW and module not in MAIN_WINDOW_FILES:
                        faults.append(f"{path}: a window includes the main window's header "
                                      f"{included}")
                    if target in WINDOW_FORBIDDEN.get(module, ()):
                        faults.append(f"{path}: may not include the window {included}")
                continue
            if target == part:
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
    rings = circles(window_modules)
    print("largest circle between window modules: " +
          (f"{len(rings[0])}: " + ", ".join(rings[0]) if rings else "none"))
    for ring in rings:
        if len(ring) > LARGEST_CIRCLE:
            faults.append(f"window modules include each other in a circle of {len(ring)}: " +
                          ", ".join(ring))
    print(f"Instance() calls in the windows: {instance_calls}")
    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
