#!/usr/bin/env python3
"""Generates resources/config.dat, the settings file that ships with Velmora.

The unit tables live in resources/units/*.tsv as readable UTF-8 text. Each unit is given by the
size of one unit in the category's reference unit, as an exact expression over decimal numbers and
the named quantities of constants.tsv. The file stores the reciprocal of that size (how many of
the unit make one reference unit), computed with exact fractions and written as the shortest text
that reads back to the same double.

    make-config.py            write resources/config.dat
    make-config.py --check    exit 1 when resources/config.dat differs from what would be written
    make-config.py --output PATH
"""

import argparse
import decimal
import math
import re
import sys
from fractions import Fraction
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
UNITS_DIR = ROOT / "resources" / "units"
CONFIG_PATH = ROOT / "resources" / "config.dat"

# The unit manager converts at most this many characters of a stored factor.
MAX_FACTOR_CHARS = 20
MAX_UNITS = 49
CATEGORY_COUNT = 32
FIXED_CATEGORY_COUNT = 20

# Two columns of 15 rows, 24 px apart: the widest label (240 px, dynamic viscosity) still ends
# inside the 760 px page in the second column, and the last row of a column ends at 372 of 384 px.
GENERAL_SETTINGS = [
    ("界面风格", "1"),
    ("记住最后类别", "1"),
    ("最后的类别", "0"),
    ("小数保留位数", "6"),
    ("是否千位分隔", "0"),
    ("跨度", "372"),
    ("上下间隔", "24"),
    ("每列个数", "15"),
]

CAPTIONS = [
    "长度", "面积", "体积", "温度", "质量", "力", "压强", "功", "能", "密度",
    "计算机容量", "加速度", "速度", "时间", "运动粘度", "动力粘度", "体积流量", "质量流量",
    "发光强度", "亮度",
] + ["自定义"] * (CATEGORY_COUNT - FIXED_CATEGORY_COUNT)


class TableError(Exception):
    pass


_TOKEN = re.compile(r"\s*(?:(\d+(?:\.\d*)?(?:[eE][+-]?\d+)?)|([A-Za-z_][A-Za-z_0-9]*)|(.))")


def evaluate(expression, names):
    """Evaluates + - * / ^ and parentheses over exact decimal numbers and named Fractions."""
    tokens = []
    for number, name, other in _TOKEN.findall(expression.strip()):
        if number:
            tokens.append(("num", Fraction(number)))
        elif name:
            if name not in names:
                raise TableError(f"unknown name {name!r} in {expression!r}")
            tokens.append(("num", names[name]))
        elif other.strip():
            tokens.append(("op", other))
    position = 0

    def peek():
        return tokens[position] if position < len(tokens) else ("end", None)

    def take(op=None):
        nonlocal position
        token = peek()
        if op is not None and token != ("op", op):
            raise TableError(f"expected {op!r} in {expression!r}")
        position += 1
        return token

    def primary():
        kind, value = peek()
        if kind == "num":
            take()
            result = value
        elif (kind, value) == ("op", "("):
            take()
            result = sum_()
            take(")")
        elif (kind, value) == ("op", "-"):
            take()
            return -primary()
        else:
            raise TableError(f"unexpected {value!r} in {expression!r}")
        if peek() == ("op", "^"):
            take()
            kind, exponent = take()
            if kind != "num" or exponent.denominator != 1:
                raise TableError(f"exponent must be a whole number in {expression!r}")
            result = result ** int(exponent)
        return result

    def product():
        result = primary()
        while peek() in (("op", "*"), ("op", "/")):
            _, op = take()
            right = primary()
            result = result * right if op == "*" else result / right
        return result

    def sum_():
        result = product()
        while peek() in (("op", "+"), ("op", "-")):
            _, op = take()
            right = product()
            result = result + right if op == "+" else result - right
        return result

    if not tokens:
        raise TableError("empty expression")
    result = sum_()
    if position != len(tokens):
        raise TableError(f"trailing text in {expression!r}")
    return result


def read_rows(path):
    """The tab-separated rows of a table, without comments and blank lines."""
    rows = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) < 2:
            raise TableError(f"{path.name}:{number}: expected name<TAB>value")
        rows.append((number, fields[0], fields[1]))
    return rows


def read_constants():
    names = {}
    for number, name, expression in read_rows(UNITS_DIR / "constants.tsv"):
        if name in names:
            raise TableError(f"constants.tsv:{number}: {name} defined twice")
        names[name] = evaluate(expression, names)
    return names


def _forms(number):
    """A positive decimal in plain notation, as mantissa and exponent, and with a whole-number
    mantissa (which saves the point), in this order of preference."""
    _, digits, exponent = number.normalize().as_tuple()
    digit_text = "".join(str(d) for d in digits)
    plain = format(number.normalize(), "f")
    if "." in plain:
        plain = plain.rstrip("0").rstrip(".")
    scientific = digit_text[0]
    if len(digit_text) > 1:
        scientific += "." + digit_text[1:]
    scientific += f"e{exponent + len(digit_text) - 1}"
    return plain, scientific, f"{digit_text}e{exponent}"


def factor_text(factor):
    """The text stored for `factor`, at most 20 characters (the unit manager converts no more).

    Preferred is the shortest text that reads back to the same double. A double below 0.01 that
    needs 17 significant digits does not fit in 20 characters in any notation; it gets the factor
    rounded to 16 digits, which reads back as the double next to it at worst (a relative error
    below 1e-15).
    """
    value = float(factor)
    if not math.isfinite(value) or value <= 0:
        raise TableError(f"factor {factor} is not a positive finite double")
    shortest = decimal.Decimal(repr(value))
    for text in _forms(shortest):
        if len(text) <= MAX_FACTOR_CHARS and float(text) == value:
            return text
    exact = decimal.Context(prec=60).divide(factor.numerator, factor.denominator)
    for kept in range(len(shortest.as_tuple().digits) - 1, 0, -1):
        rounded = decimal.Context(prec=kept, rounding=decimal.ROUND_HALF_EVEN).plus(exact)
        fitting = [text for text in _forms(rounded) if len(text) <= MAX_FACTOR_CHARS]
        if fitting:
            if abs(Fraction(fitting[0]) / factor - 1) >= Fraction(1, 10**15):
                break
            return fitting[0]
    raise TableError(f"cannot write {value!r} in {MAX_FACTOR_CHARS} characters")


def read_category(path, names):
    units = []
    seen = set()
    for number, name, expression in read_rows(path):
        where = f"{path.name}:{number}"
        if not name or any(c in name for c in ",=[]\r\n") or name != name.strip():
            raise TableError(f"{where}: unit name {name!r} cannot be stored")
        try:
            name.encode("gbk")
        except UnicodeEncodeError as error:
            raise TableError(f"{where}: {name!r} has a character outside GBK") from error
        if name in seen:
            raise TableError(f"{where}: {name} listed twice")
        seen.add(name)
        size = evaluate(expression, names)
        if size <= 0:
            raise TableError(f"{where}: size must be positive")
        units.append((name, factor_text(1 / size)))
    if len(units) > MAX_UNITS:
        raise TableError(f"{path.name}: {len(units)} units, at most {MAX_UNITS} are read")
    return units


def read_categories():
    names = read_constants()
    categories = {}
    for path in sorted(UNITS_DIR.glob("[0-9][0-9]-*.tsv")):
        page = int(path.name[:2])
        if page in categories or not 1 <= page <= FIXED_CATEGORY_COUNT:
            raise TableError(f"{path.name}: page {page} is taken or out of range")
        categories[page] = read_category(path, names)
    missing = set(range(1, FIXED_CATEGORY_COUNT + 1)) - set(categories)
    if missing:
        raise TableError(f"no table for pages {sorted(missing)}")
    return categories


def config_text(categories):
    lines = ["[通用设置]"]
    lines += [f"{key}={value}" for key, value in GENERAL_SETTINGS]
    lines += ["", "[按钮的命名]"]
    lines += [f"unit{n}={caption}" for n, caption in enumerate(CAPTIONS, 1)]
    for page in range(1, CATEGORY_COUNT + 1):
        lines += ["", f"[unit{page}]"]
        page_base = 50 * (page - 1) + 1
        for index, (name, text) in enumerate(categories.get(page, []), 1):
            lines.append(f"{page_base + index}={name},{text}")
    return "\n".join(lines) + "\n"


def config_bytes():
    text = config_text(read_categories())
    data = text.encode("gb18030")
    # Every text is plain GBK, so the file reads the same under either code page.
    if data != text.encode("gbk"):
        raise TableError("the file does not stay within GBK")
    return data


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed file instead of writing it")
    parser.add_argument("--output", type=Path, default=CONFIG_PATH)
    args = parser.parse_args()
    try:
        data = config_bytes()
    except TableError as error:
        print(f"make-config: {error}", file=sys.stderr)
        return 2
    if args.check:
        current = args.output.read_bytes() if args.output.exists() else b""
        if current != data:
            print(f"make-config: {args.output} is out of date; run scripts/make-config.py",
                  file=sys.stderr)
            return 1
        return 0
    temporary = args.output.with_name(args.output.name + ".tmp")
    temporary.write_bytes(data)
    temporary.replace(args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
