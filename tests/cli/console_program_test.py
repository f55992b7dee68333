#!/usr/bin/env python3
"""The console commands of the built program, run as processes on a machine without a display.

    console_program_test.py --program BUILD/src/app/velmora --shipped resources/config.dat

Every run has DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM removed from its environment and its
own temporary settings file. Expected conversions are computed exactly, with fractions, from the
factor texts stored in the settings file.
"""

import argparse
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from fractions import Fraction
from pathlib import Path

PROGRAM = None
SHIPPED = None

PLAIN = re.compile(r"-?\d+(\.\d*[1-9])?")
EXPONENT = re.compile(r"-?\d(\.\d*[1-9])?e[+-]\d\d+")


def read_units(path):
    """{page: [(name, factor text), ...]} and {page: caption} of a settings file."""
    section, units, captions = None, {}, {}
    for line in path.read_bytes().decode("gb18030").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line and section is not None:
            key, value = line.split("=", 1)
            if section == "按钮的命名":
                captions[int(key[4:])] = value
            elif section.startswith("unit"):
                name, factor = value.split(",", 1)
                units.setdefault(int(section[4:]), []).append((name, factor))
    return units, captions


def decimal_exponent(value):
    """floor(log10(|value|)) of a non-zero fraction, exactly."""
    value = abs(value)
    exponent = len(str(value.numerator)) - len(str(value.denominator))
    while Fraction(10) ** exponent > value:
        exponent -= 1
    while Fraction(10) ** (exponent + 1) <= value:
        exponent += 1
    return exponent


class ConsoleTestCase(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="velmora-console-"))
        self.addCleanup(shutil.rmtree, self.folder)
        self.config = self.folder / "config.dat"
        shutil.copyfile(SHIPPED, self.config)
        self.units, self.captions = read_units(self.config)

    def run_program(self, *args, config=None, env=None):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        environment.update(HOME=str(self.folder), XDG_CONFIG_HOME=str(self.folder / "xdg"))
        environment.update(env or {})
        command = [PROGRAM]
        if config is not False:
            command += ["--config", str(config or self.config)]
        command += args
        return subprocess.run(command, env=environment, capture_output=True, timeout=30)

    def converted(self, *args, **kwargs):
        """The output lines of a run that must succeed, as (number text, unit name)."""
        done = self.run_program("--convert", *args, **kwargs)
        self.assertEqual(done.returncode, 0, done.stderr.decode())
        self.assertEqual(done.stderr, b"")
        return [tuple(line.split(" ", 1)) for line in done.stdout.decode().splitlines()]

    def failed(self, *args, config=None):
        """The message of a run that must fail: status 2, one line on stderr, nothing on stdout."""
        done = self.run_program(*args, config=config)
        self.assertEqual(done.returncode, 2, done.stdout.decode())
        self.assertEqual(done.stdout, b"")
        message = done.stderr.decode()
        self.assertRegex(message, r"^velmora: [^\n]+\n$")
        return message

    def factor(self, page, name):
        return Fraction(dict(self.units[page])[name])

    def assert_number(self, text, exact, absolute=0):
        """`text` is `exact` rounded to at most 15 significant digits, in the agreed notation;
        `absolute` widens the check for arithmetic that cancels digits."""
        if exact == 0:
            self.assertEqual(text, "0")
            return
        exponent = decimal_exponent(exact)
        if -4 <= exponent <= 14:
            self.assertRegex(text, f"^{PLAIN.pattern}$")
        else:
            self.assertRegex(text, f"^{EXPONENT.pattern}$")
        mantissa = text.split("e")[0].lstrip("-").replace(".", "").lstrip("0")
        self.assertLessEqual(len(mantissa), 15, text)
        # Half a unit of the 15th significant digit, and the little that double arithmetic adds.
        allowed = max(Fraction(51, 100) * Fraction(10) ** (exponent - 14), Fraction(absolute))
        self.assertLessEqual(abs(Fraction(text) - exact), allowed, f"{text} for {float(exact)}")


class ConversionTest(ConsoleTestCase):
    # (value, value as a fraction, page, from, to, whole name of from, whole name of to)
    TABLE = [
        ("5", 5, 1, "km", "mi", "千米(km)", "英里(mi)"),
        ("1", 1, 1, "au", "m", "天文单位(au)", "米(m)"),
        ("1", 1, 1, "ly", "km", "光年(ly)", "千米(km)"),
        ("1", 1, 1, "pc", "ly", "秒差距(pc)", "光年(ly)"),
        ("1", 1, 1, "m", "ly", "米(m)", "光年(ly)"),
        ("1", 1, 1, "mi", "ft", "英里(mi)", "英尺(ft)"),
        ("2.54", Fraction("2.54"), 1, "cm", "in", "厘米(cm)", "英寸(in)"),
        ("3", 3, 1, "千米", "英尺(ft)", "千米(km)", "英尺(ft)"),
        ("7", 7, 1, "市尺", "米", "市尺", "米(m)"),
        ("1", 1, 1, "埃", "nm", "埃", "纳米(nm)"),
        ("1", 1, 2, "mi2", "ha", "平方英里(mi2)", "公顷(ha)"),
        ("1", 1, 3, "美制加仑", "L", "美制加仑(gal)", "升(L)"),
        ("1", 1, 5, "lb", "kg", "磅(lb)", "千克(kg)"),
        ("1", 1, 5, "u", "kg", "原子质量单位(u)", "千克(kg)"),
        ("1", 1, 7, "atm", "mmHg", "标准大气压(atm)", "毫米汞柱(mmHg，0℃)"),
        ("1", 1, 7, "at", "psi", "工程大气压(at，kgf/cm2)", "磅力每平方英寸(psi)"),
        ("1", 1, 9, "kWh", "J", "千瓦时(kWh)", "焦(J)"),
        ("1", 1, 9, "eV", "J", "电子伏(eV)", "焦(J)"),
        ("1", 1, 11, "GiB", "MB", "GiB(2^30字节)", "MB(10^6字节)"),
        ("1", 1, 12, "Gal", "m/s2", "伽(Gal)", "米每二次方秒(m/s2)"),
        ("1", 1, 13, "c", "km/h", "光速(c)", "千米每时(km/h)"),
        ("1", 1, 14, "d", "s", "天(d)", "秒(s)"),
        ("1", 1, 14, "儒略年", "ns", "儒略年(365.25天)", "纳秒(ns)"),
        ("0.001", Fraction("0.001"), 16, "cP", "Pa·s", "厘泊(cP)", "帕秒(Pa·s)"),
        ("123456789", 123456789, 1, "nm", "km", "纳米(nm)", "千米(km)"),
        ("-2.5", Fraction("-2.5"), 1, "m", "ft", "米(m)", "英尺(ft)"),
        ("0", 0, 1, "m", "ft", "米(m)", "英尺(ft)"),
    ]

    def test_conversions_match_the_stored_factors_exactly(self):
        for value, exact_value, page, source, target, source_name, target_name in self.TABLE:
            with self.subTest(value=value, source=source, target=target):
                lines = self.converted(value, source, target)
                self.assertEqual(len(lines), 1, lines)
                number, name = lines[0]
                self.assertEqual(name, target_name)
                exact = (Fraction(exact_value) / self.factor(page, source_name) *
                         self.factor(page, target_name))
                self.assert_number(number, exact)

    def test_literal_texts(self):
        self.assertEqual(self.converted("5", "km", "mi"), [("3.10685596118667", "英里(mi)")])
        self.assertEqual(self.converted("1", "m", "ly"), [("1.05700083402462e-16", "光年(ly)")])

    def test_without_target_every_other_unit_in_page_order(self):
        lines = self.converted("5", "km")
        others = [(name, factor) for name, factor in self.units[1] if name != "千米(km)"]
        self.assertEqual([name for _, name in lines], [name for name, _ in others])
        for (number, _), (_, factor) in zip(lines, others):
            self.assert_number(number, 5 / Fraction("0.001") * Fraction(factor))

    def test_several_targets_in_the_order_given(self):
        lines = self.converted("1", "mi", "m", "km", "ft")
        self.assertEqual([name for _, name in lines], ["米(m)", "千米(km)", "英尺(ft)"])
        self.assertEqual(lines[2][0], "5280")

    def test_names_symbols_and_case(self):
        # State: "Gal" is the symbol of 伽 (acceleration); "gal" that of two gallons (volume).
        # Expected: the exact case wins; other case is matched only when nothing matches exactly.
        self.assertEqual(self.converted("1", "Gal", "mGal"), [("1000", "毫伽(mGal)")])
        self.assertEqual(self.converted("1", "KM", "M"), [("1000", "米(m)")])
        self.assertEqual(self.converted("1", " 千米(km) ", "米(m)"), [("1000", "米(m)")])
        # "J" is in both work and energy; kWh only in energy, which therefore holds both.
        self.assertEqual(self.converted("1", "J", "kWh")[0][1], "千瓦时(kWh)")
        self.assertEqual(self.converted("1", "J", "kJ", "--category", "能"),
                         [("0.001", "千焦(kJ)")])
        self.assertEqual(self.converted("1", "J", "kJ", "--category", "8"),
                         [("0.001", "千焦(kJ)")])

    def test_result_notation(self):
        # Plain from 1e-4 to below 1e15, exponent form outside; at most 15 significant digits.
        self.assertEqual(self.converted("1", "m", "km")[0][0], "0.001")
        self.assertEqual(self.converted("0.1", "m", "km")[0][0], "0.0001")
        self.assertEqual(self.converted("0.01", "m", "km")[0][0], "1e-05")
        self.assertEqual(self.converted("999999999999999", "m", "m")[0][0], "999999999999999")
        self.assertEqual(self.converted("1000", "km", "pm")[0][0], "1e+18")
        self.assertEqual(self.converted("1/3", "m", "m")[0][0], "0.333333333333333")


class TemperatureTest(ConsoleTestCase):
    SCALES = ["摄氏度(℃)", "开尔文(K)", "列氏度(°Ré)", "华氏度(℉)", "兰氏度(°R)"]

    @staticmethod
    def to_celsius(scale, x):
        return [x, x - Fraction("273.15"), x * Fraction("1.25"), (x - 32) / Fraction("1.8"),
                x / Fraction("1.8") - Fraction("273.15")][scale]

    @staticmethod
    def from_celsius(scale, c):
        return [c, c + Fraction("273.15"), c / Fraction("1.25"), c * Fraction("1.8") + 32,
                (c + Fraction("273.15")) * Fraction("1.8")][scale]

    def test_formulas_between_every_pair(self):
        for source in range(5):
            for value in ("100", "-40", "0", "36.6"):
                with self.subTest(source=self.SCALES[source], value=value):
                    lines = self.converted(value, self.SCALES[source])
                    others = [i for i in range(5) if i != source]
                    self.assertEqual([name for _, name in lines], [self.SCALES[i] for i in others])
                    celsius = self.to_celsius(source, Fraction(value))
                    for (number, _), target in zip(lines, others):
                        exact = self.from_celsius(target, celsius)
                        # The offsets (273.15, 32) cancel digits in double arithmetic: a value that
                        # is exactly 0 may come out as a residue, others differ in the last digit.
                        if exact == 0:
                            self.assertLess(abs(float(number)), 1e-12)
                        else:
                            self.assert_number(number, exact, absolute=Fraction(1, 10**12))

    def test_known_values(self):
        self.assertEqual(self.converted("100", "℃", "K", "°Ré", "℉", "°R"),
                         [("373.15", "开尔文(K)"), ("80", "列氏度(°Ré)"), ("212", "华氏度(℉)"),
                          ("671.67", "兰氏度(°R)")])
        self.assertEqual(self.converted("-40", "℉", "℃"), [("-40", "摄氏度(℃)")])


class ExpressionTest(ConsoleTestCase):
    def test_values_read_by_the_evaluator(self):
        cases = [("1/3", Fraction(1, 3)), ("2^10", 1024), ("2(3+4)", 14), ("(1+2)(3+4)", 21),
                 ("-2^2", -4), ("1.5e3", 1500), ("２＋３", 5), (" 10 - 4 ", 6), ("log(100)", 2),
                 ("e(0)", 1), ("2*-3", -6)]
        for text, exact in cases:
            with self.subTest(value=text):
                number, name = self.converted(text, "m", "m")[0]
                self.assertEqual(name, "米(m)")
                self.assert_number(number, Fraction(exact))


class ErrorTest(ConsoleTestCase):
    def test_every_error_is_one_line_with_status_2(self):
        cases = [
            (["--convert", "1", "kmm"], ["unknown unit 'kmm'", "千米(km)", "毫米(mm)"]),
            (["--convert", "1", "zzzz"], ["unknown unit 'zzzz'"]),
            (["--convert", "1", "km", "kg"], ["different categories", "千米(km) in 长度",
                                              "千克(kg) in 质量"]),
            (["--convert", "1", "L", "mL"], ["ambiguous", "升(L) in 体积", "朗伯(L) in 亮度"]),
            (["--convert", "1", "gal", "L"], ["ambiguous", "美制加仑(gal)", "英制加仑(gal)"]),
            (["--convert", "1", "J", "kJ"], ["ambiguous", "焦(J) in 功", "焦(J) in 能",
                                             "--category"]),
            (["--convert", "1", "J", "kJ", "--category", "长度"], ["unknown unit 'J'"]),
            (["--convert", "1", "J", "--category", "no such"], ["unknown category 'no such'"]),
            (["--convert", "5x", "m", "km"], ["'5x' is not a number"]),
            (["--convert", "1/0", "m"], ["'1/0' is not a number"]),
            (["--convert", "tan(90)", "m"], ["not a number"]),
            (["--convert", "2**3", "m"], ["not a number"]),
            (["--convert", "(1+2", "m"], ["not a number"]),
            (["--convert", "1.2.3", "m"], ["not a number"]),
            (["--convert", "", "m"], ["not a number"]),
            (["--convert", "e", "m"], ["not a number"]),
            (["--convert", "1e308", "km", "pm"], ["beyond the range"]),
            (["--convert"], ["--convert needs a value and a unit"]),
            (["--convert", "5"], ["--convert needs the unit to convert from"]),
            (["--convert", "5", "m", "--frobnicate"], ["unknown option '--frobnicate'"]),
            (["--convert", "5", "m", "--list"], ["cannot be used together"]),
            (["--list", "1", "2"], ["unexpected argument '2'"]),
            (["--list", "汽车"], ["unknown category '汽车'"]),
            (["--list", "33"], ["unknown category '33'"]),
            (["--list", "--config"], ["--config needs a file name"]),
        ]
        for args, parts in cases:
            with self.subTest(args=args):
                message = self.failed(*args)
                for part in parts:
                    self.assertIn(part, message)

    def test_close_matches_are_at_most_five(self):
        message = self.failed("--convert", "1", "m3x")
        matches = message.split("close matches: ", 1)[1].split(", ")
        self.assertTrue(1 <= len(matches) <= 5, message)


class OwnCategoryTest(ConsoleTestCase):
    def setUp(self):
        super().setUp()
        text = ("[按钮的命名]\nunit4=温度\nunit21=步伐\n"
                "[unit21]\n1002=步(step),1\n1003=跨(stride),0.5\n1004=脚(foot),2.25\n"
                "[unit4]\n152=摄氏度(℃),1\n153=开尔文(K),1\n154=列氏度(°Ré),1\n155=华氏度(℉),1\n"
                "156=兰氏度(°R),1\n157=第六(six),1\n")
        self.own = self.folder / "own.dat"
        self.own.write_bytes(text.encode("gb18030"))

    def test_units_of_a_users_category(self):
        self.assertEqual(self.converted("3", "step", config=self.own),
                         [("1.5", "跨(stride)"), ("6.75", "脚(foot)")])
        self.assertEqual(self.converted("1", "跨", "脚(foot)", config=self.own),
                         [("4.5", "脚(foot)")])
        done = self.run_program("--list", "步伐", config=self.own)
        self.assertEqual(done.stdout.decode(), "21 步伐\n  步(step)\n  跨(stride)\n  脚(foot)\n")
        # The shipped file knows none of it.
        self.assertIn("unknown unit 'step'", self.failed("--convert", "3", "step"))

    def test_a_sixth_temperature_unit_has_no_formula(self):
        self.assertIn("no temperature formula",
                      self.failed("--convert", "1", "six", "℃", config=self.own))
        names = [name for _, name in self.converted("0", "℃", config=self.own)]
        self.assertNotIn("第六(six)", names)
        self.assertEqual(len(names), 4)


class ListTest(ConsoleTestCase):
    def test_all_categories_with_their_units(self):
        done = self.run_program("--list")
        self.assertEqual(done.returncode, 0)
        lines = done.stdout.decode().splitlines()
        headers = [line for line in lines if not line.startswith("  ")]
        self.assertEqual(headers, [f"{page} {self.captions[page]}" for page in range(1, 33)])
        self.assertEqual(len(lines) - 32, sum(len(units) for units in self.units.values()))

    def test_one_category_named_three_ways(self):
        expected = "4 温度\n" + "".join(f"  {name}\n" for name, _ in self.units[4])
        for name in ("4", "温度", "unit4"):
            with self.subTest(name=name):
                done = self.run_program("--list", name)
                self.assertEqual((done.returncode, done.stdout.decode()), (0, expected))


class WithoutDisplayTest(ConsoleTestCase):
    def test_no_qt_library_is_loaded(self):
        # The dynamic loader names every library it loads; none of Qt's may be among them.
        for args in (["--convert", "5", "km", "mi"], ["--list"], ["--help"], ["--version"]):
            with self.subTest(args=args):
                done = self.run_program(*args, env={"LD_DEBUG": "libs"})
                self.assertEqual(done.returncode, 0)
                loaded = re.findall(r"calling init: (\S+)", done.stderr.decode())
                self.assertTrue(any("libc.so" in path for path in loaded), loaded)
                self.assertFalse([path for path in loaded if "Qt" in path], loaded)

    def test_help_and_version(self):
        done = self.run_program("--help", config=False)
        self.assertEqual(done.returncode, 0)
        for option in ("--convert", "--list", "--config <FILE>", "--category", "--version"):
            self.assertIn(option, done.stdout.decode())
        done = self.run_program("--version", config=False)
        self.assertRegex(done.stdout.decode(), r"^velmora \d+\.\d+\n$")

    def test_settings_location_is_the_windows(self):
        # State: no --config; XDG_CONFIG_HOME holds the user's own file with a category of its own.
        # Expected: the console finds it as the window would.
        user = self.folder / "xdg/velmora/config.dat"
        user.parent.mkdir(parents=True)
        user.write_bytes("[按钮的命名]\nunit30=我的\n[unit30]\n1452=甲(a1),1\n1453=乙(b1),4\n"
                         .encode("gb18030"))
        # The program in a build folder uses config.dat beside itself while that is writable; a
        # copy of the program alone has none.
        program = self.folder / "bin/velmora"
        program.parent.mkdir()
        shutil.copy(PROGRAM, program)
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        environment.update(HOME=str(self.folder), XDG_CONFIG_HOME=str(self.folder / "xdg"))
        done = subprocess.run([str(program), "--convert", "2", "a1", "b1"], env=environment,
                              capture_output=True, timeout=30)
        self.assertEqual((done.returncode, done.stdout.decode()), (0, "8 乙(b1)\n"),
                         done.stderr.decode())


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--shipped", required=True)
    known, rest = parser.parse_known_args()
    PROGRAM = known.program
    SHIPPED = Path(known.shipped)
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
