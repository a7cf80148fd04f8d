#!/usr/bin/env python3
"""The layering check on a small tree of its own: what it lets through and
what it stops."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import check_layers  # noqa: E402

TABLE = """
base:
base/ui:        base
engine:         base
program:        engine base/ui
engine/tests:   base/ui
"""


class LayeringCheck(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.TemporaryDirectory()
        self.table_path = os.path.join(self.root.name, "layers.txt")
        with open(self.table_path, "w") as table:
            table.write(TABLE)

    def tearDown(self):
        self.root.cleanup()

    def write(self, path, *includes):
        full = os.path.join(self.root.name, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as source:
            source.write("".join(f'#include "{i}"\n' for i in includes))

    def problems(self):
        return check_layers.check(self.root.name, check_layers.read_table(self.table_path))[0]

    def test_downward_edges_and_their_closure_pass(self):
        self.write("base/a.h")
        self.write("base/ui/w.h", "base/a.h")
        self.write("program/main.cpp", "engine/e.h", "base/ui/w.h", "base/a.h", "version.h")
        self.write("engine/tests/support/fake.h", "engine/e.h")
        self.write("engine/tests/e_test.cpp", "engine/tests/support/fake.h", "base/ui/w.h",
                   "base/tests/support/main.h")
        self.assertEqual(self.problems(), [])

    def test_upward_sideways_and_unknown_edges_fail_with_file_and_line(self):
        self.write("engine/e.cpp", "base/a.h", "program/main.h")
        self.write("base/ui/w.cpp", "engine/e.h")
        self.write("program/tests/p_test.cpp", "engine/tests/support/fake.h")
        self.write("stray/s.cpp", "base/a.h")
        self.write("base/a.cpp", "a.h")
        self.write("base/a.h")
        problems = self.problems()
        self.assertEqual(len(problems), 4, problems)
        self.assertIn('engine/e.cpp:2: #include "program/main.h": engine may not include program',
                      problems)
        self.assertIn('base/ui/w.cpp:1: #include "engine/e.h": base/ui may not include engine',
                      problems)
        self.assertIn("stray/s.cpp:1: the folder stray has no line in the table", problems)
        self.assertTrue(any(p.startswith("base/a.cpp:1:") and "must name its folder" in p
                            for p in problems), problems)

    def test_a_cycle_in_the_table_is_refused(self):
        with open(self.table_path, "a") as table:
            table.write("cyclic: loop\nloop: cyclic\n")
        self.write("cyclic/c.cpp", "loop/l.h")
        with self.assertRaises(check_layers.TableError):
            self.problems()


if __name__ == "__main__":
    unittest.main()
