#!/usr/bin/env python3
"""The installed program: installed into a temporary folder with DESTDIR, started from there.

    installed_program_test.py --build-dir BUILD --expected-version X.Y [unittest options]

The installed tree is made read-only. Run as root, the program is started as the user nobody, for
whom read-only really holds (root may write anything).
"""

import argparse
import hashlib
import os
import pwd
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

BUILD_DIR = None
VERSION = None
PREFIX = "/usr"
SHIPPED = Path("share/velmora/config.dat")
GENERAL = "[通用设置]"


def decode(data):
    return data.decode("gb18030")


def setting(path, key):
    """The value of `key` in the general section of a settings file, or None."""
    section = None
    for line in decode(path.read_bytes()).splitlines():
        if line.startswith("["):
            section = line.strip()
        elif section == GENERAL and line.split("=", 1)[0] == key:
            return line.split("=", 1)[1]
    return None


def snapshot(root):
    """Every path under `root` with its type, mode and contents' digest."""
    result = {}
    for path in sorted(root.rglob("*")):
        info = path.lstat()
        digest = hashlib.sha256(path.read_bytes()).hexdigest() if path.is_file() else ""
        result[str(path.relative_to(root))] = (stat.S_IFMT(info.st_mode), info.st_mode, digest)
    return result


class InstalledProgramTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = Path(tempfile.mkdtemp(prefix="velmora-install-"))
        cls.temp.chmod(0o755)
        cls.user = None
        if os.geteuid() == 0:
            cls.user = pwd.getpwnam("nobody")
        destdir = cls.temp / "destdir"
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", PREFIX],
                       env=dict(os.environ, DESTDIR=str(destdir)), check=True,
                       stdout=subprocess.DEVNULL)
        cls.installed = destdir / PREFIX.lstrip("/")
        cls.program = cls.installed / "bin/velmora"
        for path in [destdir, *destdir.rglob("*")]:
            if not path.is_symlink():
                path.chmod(path.stat().st_mode & ~0o222)
        cls.installed_before = snapshot(destdir)
        cls.destdir = destdir

    @classmethod
    def tearDownClass(cls):
        for path in [cls.temp, *cls.temp.rglob("*")]:
            if not path.is_symlink():
                path.chmod(path.stat().st_mode | stat.S_IWUSR)
        shutil.rmtree(cls.temp)

    def setUp(self):
        self.case = Path(tempfile.mkdtemp(dir=self.temp))
        self.give(self.case)
        self.home = self.folder("home")
        self.xdg = self.folder("xdg")

    def tearDown(self):
        # Whatever a case did, the program never wrote into the read-only installation.
        self.assertEqual(snapshot(self.destdir), self.installed_before)

    def folder(self, name):
        path = self.case / name
        path.mkdir()
        self.give(path)
        return path

    def give(self, path):
        """Hands `path` to the user the program runs as."""
        if self.user is not None:
            for item in [path, *path.rglob("*")]:
                os.lchown(item, self.user.pw_uid, self.user.pw_gid)

    def run_program(self, *args, program=None, env=None):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("XDG_CONFIG_HOME", "HOME", "DISPLAY", "WAYLAND_DISPLAY")}
        environment.update(HOME=str(self.home), XDG_CONFIG_HOME=str(self.xdg),
                           XDG_RUNTIME_DIR=str(self.case), QT_QPA_PLATFORM="offscreen")
        for key, value in (env or {}).items():
            if value is None:
                environment.pop(key, None)
            else:
                environment[key] = value
        command = [str(program or self.program), *args]
        if self.user is not None:
            command = ["setpriv", f"--reuid={self.user.pw_uid}", f"--regid={self.user.pw_gid}",
                       "--clear-groups", *command]
        return subprocess.run(command, env=environment, cwd=self.case, capture_output=True,
                              text=True, timeout=120)

    def smoke(self, page, *args, **kwargs):
        """Starts, clicks the button of `page` (0: none), quits; returns the settings file used
        and the pages on show (at start, then after the click)."""
        done = self.run_program("--smoke-test", str(page), *args, **kwargs)
        self.assertEqual(done.returncode, 0, done.stderr)
        lines = done.stdout.splitlines()
        settings = [line.split(": ", 1)[1] for line in lines if line.startswith("settings: ")]
        pages = [int(line.split(": ", 1)[1]) for line in lines if line.startswith("page on show:")]
        self.assertEqual(len(settings), 1, done.stdout)
        return Path(settings[0]), pages

    def shipped(self):
        return self.installed / SHIPPED

    def test_per_user_copy_made_from_shipped_and_page_remembered(self):
        # State: read-only installation, no settings of the user.  Action: start, show page 7,
        # quit, start again.  Expected: the user's copy of the shipped file holds the page, and
        # the second start shows it.
        per_user = self.xdg / "velmora/config.dat"
        settings, pages = self.smoke(7)
        self.assertEqual(settings, per_user)
        self.assertEqual(pages, [1, 7])
        self.assertEqual(stat.S_IMODE((self.xdg / "velmora").stat().st_mode), 0o700)
        self.assertEqual(setting(per_user, "最后的类别"), "6")
        shipped_lines = decode(self.shipped().read_bytes()).splitlines()
        user_lines = decode(per_user.read_bytes()).splitlines()
        self.assertEqual([a for a, b in zip(shipped_lines, user_lines) if a != b], ["最后的类别=0"])
        self.assertEqual(len(user_lines), len(shipped_lines))

        settings, pages = self.smoke(0)
        self.assertEqual(settings, per_user)
        self.assertEqual(pages, [7])

    def test_per_user_folder_without_xdg_config_home(self):
        # State: XDG_CONFIG_HOME unset, or relative (which the standard says to ignore).
        # Expected: ~/.config/velmora/config.dat.
        for value in (None, "", "relative/config"):
            with self.subTest(XDG_CONFIG_HOME=value):
                settings, _ = self.smoke(0, env={"XDG_CONFIG_HOME": value})
                self.assertEqual(settings, self.home / ".config/velmora/config.dat")
                self.assertTrue(settings.is_file())
        self.assertFalse((self.case / "relative").exists())

    def test_existing_user_file_is_kept(self):
        # State: the user's own file, different from the shipped one.  Action: start and quit.
        # Expected: the file is the user's, with only the page changed.
        per_user = self.xdg / "velmora/config.dat"
        per_user.parent.mkdir()
        own = f"{GENERAL}\n记住最后类别=1\n最后的类别=11\n[unit12]\n552=我的单位,1\n"
        per_user.write_bytes(own.encode("gb18030"))
        self.give(per_user.parent)
        settings, pages = self.smoke(3)
        self.assertEqual(settings, per_user)
        self.assertEqual(pages, [12, 3])
        self.assertEqual(decode(per_user.read_bytes()), own.replace("最后的类别=11", "最后的类别=2"))

    def portable_copy(self):
        """A writable copy of the installation with config.dat beside the program."""
        copy = self.case / "portable"
        shutil.copytree(self.installed, copy)
        for path in [copy, *copy.rglob("*")]:
            path.chmod(path.stat().st_mode | stat.S_IWUSR)
        shutil.copyfile(copy / SHIPPED, copy / "bin/config.dat")
        self.give(copy)
        return copy

    def test_portable_copy_beside_the_program_is_preferred_when_writable(self):
        # State: config.dat beside the program, writable.  Action: show page 5, quit, restart.
        # Expected: that file remembers the page; no per-user file appears.
        copy = self.portable_copy()
        program = copy / "bin/velmora"
        settings, pages = self.smoke(5, program=program)
        self.assertEqual(settings, copy / "bin/config.dat")
        self.assertEqual(pages, [1, 5])
        self.assertEqual(setting(copy / "bin/config.dat", "最后的类别"), "4")
        self.assertEqual(self.smoke(0, program=program)[1], [5])
        self.assertEqual(list(self.xdg.iterdir()), [])

        # State: the same file made read-only.  Expected: the per-user file is used instead and
        # the portable one stays as it was.
        before = (copy / "bin/config.dat").read_bytes()
        (copy / "bin/config.dat").chmod(0o444)
        settings, pages = self.smoke(9, program=program)
        self.assertEqual(settings, self.xdg / "velmora/config.dat")
        self.assertEqual(pages, [1, 9])
        self.assertEqual((copy / "bin/config.dat").read_bytes(), before)

    def test_start_without_shipped_or_user_folder(self):
        # State: the shipped file is missing.  Expected: the program starts and quits normally
        # (no categories), and no empty per-user file is made for it.
        copy = self.portable_copy()
        (copy / "bin/config.dat").unlink()
        (copy / SHIPPED).unlink()
        settings, pages = self.smoke(2, program=copy / "bin/velmora")
        self.assertEqual(settings, self.xdg / "velmora/config.dat")
        self.assertEqual(pages, [1, 2])
        self.assertFalse(settings.exists())

        # State: a plain file where the per-user folder would go.  Expected: the program runs;
        # its writes fail silently.
        blocked = self.case / "blocked"
        blocked.write_text("not a folder")
        self.give(blocked)
        settings, pages = self.smoke(4, env={"XDG_CONFIG_HOME": str(blocked)})
        self.assertEqual(settings, blocked / "velmora/config.dat")
        self.assertEqual(pages, [1, 4])
        self.assertEqual(blocked.read_text(), "not a folder")

    def test_config_option(self):
        # State: --config names a file that does not exist yet, relative to the working folder.
        # Expected: it is made from the shipped file and used; the per-user folder stays empty.
        settings, pages = self.smoke(6, "--config", "mine.dat")
        self.assertEqual(settings, self.case / "mine.dat")
        self.assertEqual(setting(self.case / "mine.dat", "最后的类别"), "5")
        self.assertEqual(self.smoke(0, "--config", str(self.case / "mine.dat"))[1], [6])
        self.assertEqual(list(self.xdg.iterdir()), [])

        # A folder that does not exist is not made; the program still runs.
        settings, _ = self.smoke(0, "--config", "missing/mine.dat")
        self.assertFalse((self.case / "missing").exists())

    def test_help_version_and_bad_options(self):
        # --help and --version answer without any display; faults end with status 1.
        no_display = {"QT_QPA_PLATFORM": "xcb"}
        done = self.run_program("--help", env=no_display)
        self.assertEqual(done.returncode, 0, done.stderr)
        for option in ("--help", "--version", "--config <FILE>"):
            self.assertIn(option, done.stdout)
        self.assertNotIn("smoke", done.stdout)
        done = self.run_program("--version", env=no_display)
        self.assertEqual((done.returncode, done.stdout), (0, f"velmora {VERSION}\n"))
        for args in (["--no-such-option"], ["--config"], ["stray"], ["--smoke-test", "33"]):
            with self.subTest(args=args):
                done = self.run_program(*args)
                self.assertEqual(done.returncode, 1)
                self.assertIn("velmora --help", done.stderr)
        self.assertEqual(list(self.xdg.iterdir()), [])

    def test_console_commands_without_display(self):
        # State: the read-only installation, no display of any kind, the user's own file in the
        # per-user folder.  Action: convert and list.  Expected: answers from that file, and the
        # file the window uses is the one the console uses.
        no_display = {"QT_QPA_PLATFORM": None}
        done = self.run_program("--convert", "5", "km", "mi", env=no_display)
        self.assertEqual((done.returncode, done.stdout), (0, "3.10685596118667 英里(mi)\n"),
                         done.stderr)
        per_user = self.xdg / "velmora/config.dat"
        self.assertTrue(per_user.is_file())
        settings, _ = self.smoke(0)
        self.assertEqual(settings, per_user)
        per_user.write_bytes("[按钮的命名]\nunit22=我的\n[unit22]\n1052=甲(a1),1\n1053=乙(b1),3\n"
                             .encode("gb18030"))
        done = self.run_program("--convert", "2", "甲", env=no_display)
        self.assertEqual((done.returncode, done.stdout), (0, "6 乙(b1)\n"), done.stderr)
        done = self.run_program("--list", "我的", env=no_display)
        self.assertEqual(done.stdout, "22 我的\n  甲(a1)\n  乙(b1)\n")
        done = self.run_program("--convert", "2", "km", env=no_display)
        self.assertEqual((done.returncode, done.stdout), (2, ""))
        self.assertIn("unknown unit 'km'", done.stderr)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--expected-version", required=True)
    known, rest = parser.parse_known_args()
    BUILD_DIR = known.build_dir
    VERSION = known.expected_version
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
