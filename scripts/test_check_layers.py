#!/usr/bin/env python3
"""Tests of the two source checks on copies of the repository's sources.

The layer check passes the sources as they are and fails each planted fault
(a window including the main window's header, a circle of three windows
inside one ui/ folder, the print designer including a judgement window, a
computation part including a window header) while the same copy without the
plant passes. The format check fails, not passes, when clang-format cannot
be found.

    test_check_layers.py [repository root]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                       os.path.join(os.path.dirname(__file__), ".."))
SOURCE_DIRS = ["engine", "platform", "chart", "judgement", "input", "mainwindow", "printing"]


def copy_sources(into):
    for top in SOURCE_DIRS:
        shutil.copytree(os.path.join(ROOT, top), os.path.join(into, top),
                        ignore=shutil.ignore_patterns("*.o", "*.a"))
    shutil.copy(os.path.join(ROOT, "main.cpp"), into)


def run_layers(tree):
    return subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "check_layers.py"), tree],
                          capture_output=True, text=True)


def plant(tree, path, text):
    """Adds a line of text at the top of a file, or makes the file."""
    full = os.path.join(tree, path)
    old = ""
    if os.path.exists(full):
        with open(full, encoding="utf-8", errors="replace") as f:
            old = f.read()
    with open(full, "w", encoding="utf-8") as f:
        f.write(text + "\n" + old)


class LayerCheck(unittest.TestCase):
    def setUp(self):
        self.tree = tempfile.mkdtemp(prefix="layers-")
        copy_sources(self.tree)

    def tearDown(self):
        shutil.rmtree(self.tree)

    def assertFailsWith(self, words):
        result = run_layers(self.tree)
        self.assertEqual(result.returncode, 1, result.stdout)
        faults = [l for l in result.stdout.splitlines() if l.startswith("FAULT:")]
        self.assertTrue(any(all(w in l for w in words) for l in faults), result.stdout)

    def test_the_sources_as_they_are_pass(self):
        result = run_layers(self.tree)
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertNotIn("FAULT", result.stdout)

    def test_a_window_including_the_main_windows_header_fails(self):
        plant(self.tree, "judgement/ui/radical.cpp", '#include "mainwindow/ui/baseform.h"')
        self.assertFailsWith(["judgement/ui/radical.cpp", "main window's header"])

    def test_the_main_windows_own_files_may_include_its_header(self):
        plant(self.tree, "mainwindow/ui/databasecommands.cpp",
              '#include "mainwindow/ui/baseform.h"')
        self.assertEqual(run_layers(self.tree).returncode, 0)

    def test_a_circle_of_three_inside_one_ui_folder_fails(self):
        plant(self.tree, "judgement/ui/ringa.h", '#include "judgement/ui/ringb.h"')
        plant(self.tree, "judgement/ui/ringb.h", '#include "judgement/ui/ringc.h"')
        plant(self.tree, "judgement/ui/ringc.cpp", '#include "judgement/ui/ringa.h"')
        self.assertFailsWith(["circle of 3", "judgement/ui/ringa", "judgement/ui/ringc"])

    def test_a_circle_of_two_passes(self):
        plant(self.tree, "judgement/ui/paira.cpp", '#include "judgement/ui/pairb.h"')
        plant(self.tree, "judgement/ui/pairb.cpp", '#include "judgement/ui/paira.h"')
        result = run_layers(self.tree)
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertIn("largest circle between window modules: 2", result.stdout)

    def test_a_circle_through_the_main_window_fails_too(self):
        plant(self.tree, "mainwindow/ui/baseform.h", '#include "chart/ui/circleoptions.h"')
        plant(self.tree, "chart/ui/circleoptions.cpp", '#include "input/ui/aspectation.h"')
        plant(self.tree, "input/ui/aspectation.cpp", '#include "mainwindow/ui/program.h"')
        plant(self.tree, "mainwindow/ui/program.h", '#include "mainwindow/ui/baseform.h"')
        self.assertFailsWith(["circle of", "mainwindow/ui/baseform"])

    def test_the_designer_including_a_judgement_window_fails(self):
        plant(self.tree, "printing/ui/printdiziner.cpp", '#include "judgement/ui/radical.h"')
        self.assertFailsWith(["printing/ui/printdiziner.cpp", "judgement/ui/radical.h"])

    def test_a_computation_part_including_a_window_fails(self):
        plant(self.tree, "judgement/session.cpp", '#include "judgement/ui/radical.h"')
        self.assertFailsWith(["judgement/session.cpp", "below the windows"])


class FormatCheck(unittest.TestCase):
    def test_without_clang_format_the_check_fails(self):
        tools = tempfile.mkdtemp(prefix="tools-")
        try:
            # the tools the script needs, clang-format left out
            for tool in ["find", "sort", "dirname", "grep", "cut"]:
                found = shutil.which(tool)
                self.assertIsNotNone(found, tool)
                os.symlink(found, os.path.join(tools, tool))
            result = subprocess.run(
                [shutil.which("bash"), os.path.join(ROOT, "scripts", "check_format.sh"), ROOT],
                capture_output=True, text=True, env={"PATH": tools})
        finally:
            shutil.rmtree(tools)
        self.assertNotEqual(result.returncode, 0, result.stdout)
        self.assertIn("clang-format", result.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
