#!/usr/bin/env python3
"""Checks of the source tree's shape that the compiler does not make.

--private-toolkit-headers: no file outside src/toolkit (tests/ excepted, which may test the
    toolkit's internals) includes a header under src/toolkit/private/.
--max-lines N: no file under src/ is longer than N lines.

Prints every offending file and exits with 1 when there is one.
"""

import argparse
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c", ".inc"}
PRIVATE_INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]toolkit/private/', re.MULTILINE)


def source_files(folder):
    return sorted(p for p in folder.rglob("*") if p.is_file() and p.suffix in SOURCE_SUFFIXES)


def private_toolkit_includes(root):
    toolkit = root / "src" / "toolkit"
    excluded = {root / "tests", root / "build", root / ".git"}
    offenders = []
    for path in source_files(root):
        if path.is_relative_to(toolkit) or any(path.is_relative_to(e) for e in excluded):
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in PRIVATE_INCLUDE.finditer(text):
            line = text.count("\n", 0, match.start()) + 1
            offenders.append(f"{path.relative_to(root)}:{line}: includes a private toolkit header")
    return offenders


def long_files(root, limit):
    offenders = []
    for path in sorted(p for p in (root / "src").rglob("*") if p.is_file()):
        try:
            lines = path.read_bytes().count(b"\n")
        except OSError:
            continue
        if lines > limit:
            offenders.append(f"{path.relative_to(root)}: {lines} lines (at most {limit})")
    return offenders


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, required=True, help="the source tree")
    parser.add_argument("--private-toolkit-headers", action="store_true")
    parser.add_argument("--max-lines", type=int)
    args = parser.parse_args()
    root = args.root.resolve()
    if not (root / "src" / "toolkit").is_dir():
        print(f"{root}: no src/toolkit here", file=sys.stderr)
        return 2
    offenders = []
    if args.private_toolkit_headers:
        offenders += private_toolkit_includes(root)
    if args.max_lines is not None:
        offenders += long_files(root, args.max_lines)
    for offender in offenders:
        print(offender)
    return 1 if offenders else 0


if __name__ == "__main__":
    sys.exit(main())
