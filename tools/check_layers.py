#!/usr/bin/env python3
"""Holds the layering rule: every `#include "folder/file.h"` of the code and
the tests must follow an edge of the table in tools/layers.txt.

    check_layers.py [--root DIR] [--table FILE]

Prints each include that the table does not allow, with its file and line,
and exits with 1 when there is one; 0 and one line of counts otherwise.
"""

import argparse
import os
import re
import sys

SOURCE_EXTENSIONS = (".c", ".cc", ".cpp", ".h", ".hpp", ".rc")
SKIPPED_FOLDERS = {".git", "build", "node_modules"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


class TableError(Exception):
    pass


def read_table(path):
    """The table's lines as {folder: [folders it may include directly]}."""
    table = {}
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            folder, colon, below = line.partition(":")
            folder = folder.strip()
            if not colon or not folder:
                raise TableError(f"{path}:{number}: expected 'folder: folders below it'")
            if folder in table:
                raise TableError(f"{path}:{number}: {folder} has a line already")
            table[folder] = below.split()
    for folder, below in table.items():
        for other in below:
            if other not in table and not is_test_folder(other):
                raise TableError(f"{path}: {folder} names {other}, which has no line")
    return table


def is_test_folder(folder):
    return "tests" in folder.split("/")


def tested_folder(folder):
    """The folder whose tests a test folder holds: "scan" for "scan/tests/support"."""
    parts = folder.split("/")
    return "/".join(parts[: parts.index("tests")])


def closure(table, folder, path=()):
    """Every folder that `folder` may include, through the edges of the table."""
    if folder in path:
        raise TableError("the table has a cycle: " + " -> ".join(path + (folder,)))
    reached = set()
    for below in table.get(folder, []):
        reached.add(below)
        reached |= closure(table, below, path + (folder,))
    return reached


def allowed_targets(table, folder):
    """The folders whose headers code in `folder` may include, itself apart;
    None when the table does not know the folder."""
    if not is_test_folder(folder):
        return closure(table, folder) if folder in table else None
    base = tested_folder(folder)
    if base not in table:
        return None
    # A test folder may include what the folder it tests may, that folder,
    # the test-support libraries of every folder at or below it, and what its
    # own line and the lines of the test folders above it add.
    below = {base} | closure(table, base)
    parts = folder.split("/")
    lines = ["/".join(parts[:n]) for n in range(parts.index("tests") + 1, len(parts) + 1)]
    for extra in (e for line in lines for e in table.get(line, [])):
        below.add(extra)
        below |= closure(table, extra)
    allowed = set(below)
    allowed |= {f"{f}/tests/support" for f in below if not is_test_folder(f)}
    return allowed


def source_files(root):
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = sorted(s for s in subfolders if s not in SKIPPED_FOLDERS)
        for name in sorted(files):
            if name.endswith(SOURCE_EXTENSIONS):
                yield os.path.join(folder, name)


def check(root, table):
    """(problems, includes checked): each problem a line for the user."""
    problems = []
    checked = 0
    cache = {}
    for path in source_files(root):
        relative = os.path.relpath(path, root).replace(os.sep, "/")
        folder = os.path.dirname(relative)
        with open(path, encoding="utf-8", errors="replace") as lines:
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = os.path.dirname(match.group(1))
                if not target:
                    # A header of the build (the version), or a local name:
                    # includes of the tree name their folder.
                    if os.path.exists(os.path.join(root, folder, match.group(1))):
                        problems.append(f"{relative}:{number}: #include \"{match.group(1)}\" "
                                        f"must name its folder (\"{folder}/{match.group(1)}\")")
                    continue
                checked += 1
                if target == folder:
                    continue
                if folder not in cache:
                    cache[folder] = allowed_targets(table, folder)
                allowed = cache[folder]
                if allowed is None:
                    problems.append(f"{relative}:{number}: the folder {folder} has no line "
                                    f"in the table")
                elif target not in allowed and not within_own_tests(folder, target):
                    problems.append(f"{relative}:{number}: #include \"{match.group(1)}\": "
                                    f"{folder} may not include {target}")
    return problems, checked


def within_own_tests(folder, target):
    """A test folder may include the other folders of its own tests."""
    return is_test_folder(folder) and is_test_folder(target) and \
        tested_folder(folder) == tested_folder(target)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--root", default=os.path.dirname(here))
    parser.add_argument("--table", default=os.path.join(here, "layers.txt"))
    args = parser.parse_args()
    try:
        table = read_table(args.table)
        problems, checked = check(args.root, table)
    except TableError as error:
        print(error, file=sys.stderr)
        return 1
    table_name = os.path.relpath(args.table, args.root)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"{len(problems)} include(s) break the layering; the allowed edges are in "
              f"{table_name}", file=sys.stderr)
        return 1
    print(f"Layering holds: {checked} includes follow the edges of {table_name}.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
