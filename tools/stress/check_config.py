"""Reads a config.dat back after a run and lists what is no longer intact: the file must decode
as GB18030, every line must be a section header, an item or blank, no section or key may appear
twice, the general settings and the button captions must be complete, and every unit
section of the original must still be there (unless the run applied a unit list, which may empty
and so remove a section), each item a row number with a name and a factor."""

import re
import sys

GENERAL = "通用设置"
CAPTIONS = "按钮的命名"
GENERAL_KEYS = ["界面风格", "记住最后类别", "最后的类别", "小数保留位数", "是否千位分隔", "跨度",
                "上下间隔", "每列个数"]


def parse(path):
    """Returns (sections as a list of (name, [(key, value)])), problems)."""
    problems = []
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("gb18030")
    except UnicodeDecodeError as e:
        return [], [f"not GB18030 text at byte {e.start}"]
    sections = []
    for number, line in enumerate(text.splitlines(), 1):
        stripped = line.strip()
        if not stripped or stripped.startswith(";"):
            continue
        if stripped.startswith("[") and stripped.endswith("]"):
            sections.append((stripped[1:-1], []))
        elif "=" in line and sections:
            key, value = line.split("=", 1)
            sections[-1][1].append((key.strip(), value))
        else:
            problems.append(f"line {number} is neither a section nor an item: {line[:60]!r}")
    return sections, problems


def check(path, original_path, unit_lists_applied):
    sections, problems = parse(path)
    if problems and not sections:
        return problems
    names = [name for name, _ in sections]
    for name in set(names):
        if names.count(name) > 1:
            problems.append(f"section [{name}] appears {names.count(name)} times")
    table = {name: items for name, items in sections}
    for name, items in sections:
        keys = [k for k, _ in items]
        for k in set(keys):
            if keys.count(k) > 1:
                problems.append(f"[{name}] has the key {k} {keys.count(k)} times")

    general = dict(table.get(GENERAL, []))
    if GENERAL not in table:
        problems.append(f"section [{GENERAL}] is missing")
    for key in GENERAL_KEYS:
        # The options dialog stores its boxes' texts as typed; the program reads any text.
        if key not in general:
            problems.append(f"[{GENERAL}] lacks {key}")
    captions = dict(table.get(CAPTIONS, []))
    if CAPTIONS not in table:
        problems.append(f"section [{CAPTIONS}] is missing")
    for n in range(1, 33):
        if f"unit{n}" not in captions:
            problems.append(f"[{CAPTIONS}] lacks unit{n}")

    original, _ = parse(original_path)
    for name, _ in original:
        if name not in table and not (name.startswith("unit") and unit_lists_applied):
            problems.append(f"section [{name}] is gone")
    for name, items in sections:
        m = re.fullmatch(r"unit(\d+)", name)
        if not m:
            continue
        for key, value in items:
            if not key.isdigit():
                problems.append(f"[{name}] has an item that is not a row number: {key!r}")
            elif "," not in value:
                problems.append(f"[{name}] {key} has no factor: {value!r}")
    return problems


if __name__ == "__main__":
    found = check(sys.argv[1], sys.argv[2], len(sys.argv) > 3 and sys.argv[3] == "applied")
    for p in found:
        print(p)
    sys.exit(1 if found else 0)
