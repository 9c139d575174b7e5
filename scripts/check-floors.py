#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads every #include of the program's sources against the floor table in
README.md (section "Floors"): a file may include only files of its own floor
and the floors below it, and the core (floors 1 to 5, and the page's layer
over it) includes no header of the toolkit. Fails, naming each offence.

    scripts/check-floors.py [SOURCE_ROOT]
"""
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
SKIPPED = {".git", "node_modules"}
SOURCE = re.compile(r"\.(h|cpp|inc)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
TOOLKIT = re.compile(r"^(Q[A-Z]\w*|Qt\w*|qt\w*)(/|$)")


def read_floors():
    """Folder -> floor from the README's table rows: | `folder/` | floor | ..."""
    floors = {}
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as readme:
        in_section = False
        for line in readme:
            if line.startswith("## "):
                in_section = line.strip() == "## Floors"
                continue
            row = re.match(r"\|\s*`([^`]+)/`\s*\|\s*([0-9]+)(′?)\s*\|", line)
            if in_section and row:
                # 6′, the page's layer, stands beside 6: it may use 1 to 5 only.
                floors[row.group(1)] = float(row.group(2)) - (0.5 if row.group(3) else 0.0)
    return floors


def floor_of(path, floors):
    """The floor of the deepest folder of the table that holds `path`."""
    best = None
    for folder, floor in floors.items():
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best[0]):
                best = (folder, floor)
    return best


def main():
    floors = read_floors()
    if not floors:
        print("check-floors: README.md has no floor table", file=sys.stderr)
        return 1
    files = {}
    for directory, subdirectories, names in os.walk(ROOT):
        subdirectories[:] = [d for d in subdirectories if d not in SKIPPED and not d.startswith("build")]
        for name in names:
            if SOURCE.search(name):
                relative = os.path.relpath(os.path.join(directory, name), ROOT)
                files.setdefault(name, []).append(relative)

    problems = []
    checked = 0
    for name, paths in sorted(files.items()):
        for path in paths:
            placed = floor_of(os.path.dirname(path), floors)
            if placed is None:
                continue  # tests, benchmarks and tools may use any floor
            folder, floor = placed
            checked += 1
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as source:
                text = source.read()
            for kind, included in INCLUDE.findall(text):
                if kind == "<":
                    if floor < 6 and TOOLKIT.match(included):
                        problems.append(f"{path}: the core includes the toolkit's <{included}>")
                    continue
                targets = files.get(os.path.basename(included), [])
                if not targets:
                    continue  # generated (ui_*.h, *.moc) or not ours
                if len(targets) > 1:
                    problems.append(f"{path}: \"{included}\" is ambiguous: {', '.join(targets)}")
                    continue
                target = floor_of(os.path.dirname(targets[0]), floors)
                if target is None:
                    problems.append(f"{path}: includes {targets[0]}, which is in no floor")
                elif target[1] > floor:
                    problems.append(
                        f"{path} (floor {floor:g}, {folder}/) includes {targets[0]} "
                        f"(floor {target[1]:g}, {target[0]}/)")
    for problem in problems:
        print("check-floors: " + problem, file=sys.stderr)
    if problems:
        return 1
    print(f"check-floors: {checked} files of {len(floors)} folders keep to their floors")
    return 0


if __name__ == "__main__":
    sys.exit(main())
