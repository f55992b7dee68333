#!/usr/bin/env python3
"""The program on Qt's Wayland platform under Weston, as a user of a Wayland desktop runs it.

1. Under a headless Weston (no screen, no input devices): the main window shows, a typed value
   converts, every secondary window opens over the main window and closes, and a press on the
   title strip asks the windowing system to move the window.
2. A drag with a real pointer: Weston's X11 back end inside a private Xvfb display gives the
   compositor a pointer; xdotool presses on the main window's title strip and the program must
   hand the drag to the compositor (QWindow::startSystemMove answers true).

Every process gets a time-out and is ended at the close; the runtime directory Weston needs is
made here (a fresh machine run as root has no XDG_RUNTIME_DIR).
Usage: wayland_smoke_test.py PROGRAM CONFIG_DAT
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

PROGRAM = ""
CONFIG = ""
# Windows the program has at least; it names all of its own in its report.
WINDOWS = {"OptionsWindow", "AboutWindow", "CalculatorWindow", "UnitManagerWindow"}
# Weston's kiosk shell centres a window of fixed size on its output.
OUTPUT = (1100, 640)
MAIN_WINDOW = (946, 493)


def wait_for(predicate, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.05)
    raise AssertionError(f"{what}: not within {seconds} s")


class Session:
    """Processes started for one case, ended in reverse order at the close."""

    def __init__(self, case):
        self.dir = tempfile.mkdtemp(prefix="velmora-wl-")
        self.runtime = os.path.join(self.dir, "runtime")
        os.mkdir(self.runtime, 0o700)
        self.processes = []
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"):
            self.env.pop(name, None)
        self.env["XDG_RUNTIME_DIR"] = self.runtime
        self.socket = f"velmora-wl-{os.getpid()}-{case}"
        self.config = os.path.join(self.dir, "config.dat")
        shutil.copyfile(CONFIG, self.config)

    def start(self, args, env=None, **kwargs):
        process = subprocess.Popen(args, env=env or self.env, start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def log(self, name):
        return open(os.path.join(self.dir, name), "wb")

    def start_weston(self, *backend_args):
        weston_log = os.path.join(self.dir, "weston.log")
        with open(weston_log, "wb") as log:
            self.start(["weston", f"--socket={self.socket}", "--idle-time=0", *backend_args],
                       stdout=log, stderr=subprocess.STDOUT)
        wait_for(lambda: os.path.exists(os.path.join(self.runtime, self.socket)), 30,
                 "Weston's socket")

    def program(self, *args, extra_env=None):
        env = dict(self.env)
        env.update(QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=self.socket)
        # Under the sanitizer build, leaks that belong to libraries are suppressed, as in the
        # stress runs.
        supp = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                            "stress", "lsan.supp")
        env["LSAN_OPTIONS"] = f"suppressions={os.path.normpath(supp)}:print_suppressions=0"
        env.update(extra_env or {})
        env.pop("DISPLAY", None)
        return self.start([PROGRAM, "--config", self.config, *args], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class WaylandSmokeTest(unittest.TestCase):
    def setUp(self):
        for tool in ("weston",):
            if shutil.which(tool) is None:
                self.fail(f"{tool} is missing: scripts/setup-deps installs it")
        self.session = Session(self.id().rsplit(".", 1)[-1])
        self.addCleanup(self.session.close)

    def check_run(self, output):
        self.assertIn("platform: wayland", output)
        self.assertIn("main window shown: 946 x 493", output)
        self.assertRegex(output, r"converted: 2 -> [0-9]")
        named = re.search(r"^secondary windows: (.*)$", output, re.MULTILINE)
        self.assertIsNotNone(named, output)
        windows = set(named.group(1).split())
        self.assertLessEqual(WINDOWS, windows)
        for window in windows:
            self.assertIn(f"opened {window} (over the main window: yes)", output)
            self.assertIn(f"closed {window}", output)
        self.assertIn("smoke test passed", output)
        self.assertNotIn("FAILED", output)

    def test_headless_weston(self):
        self.session.start_weston("--backend=headless-backend.so", "--use-pixman",
                                  "--width=1280", "--height=800")
# Without a seat there is no keyboard to type with: the run activates the window itself,
# and Qt 6.4's Wayland input method then looks for the seat's text input and crashes.
# No input method is what a display without a keyboard has anyway.
        program = self.session.program("--smoke-test-windows", "0",
                                       extra_env={"QT_IM_MODULE": "none"})
        try:
            output, _ = program.communicate(timeout=120)
        except subprocess.TimeoutExpired:
            program.kill()
            output, _ = program.communicate()
            self.fail("the program did not finish within 120 s:\n" + output)
        self.assertEqual(program.returncode, 0, output)
        self.check_run(output)
# No input device here: the press is the program's own and the compositor has no pointer
# to move the window with, yet the drag goes to it first.
        self.assertIn("system move asked:", output)
        print(output)

    def test_drag_with_a_pointer(self):
        for tool in ("Xvfb", "xdotool"):
            if shutil.which(tool) is None:
                self.fail(f"{tool} is missing: scripts/setup-deps installs it")
        read_end, write_end = os.pipe()
        self.session.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                            "-nolisten", "tcp"], pass_fds=(write_end,),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as displayfd:
            display = ":" + displayfd.readline().strip()
        self.assertNotEqual(display, ":", "Xvfb gave no display")
        self.session.env["DISPLAY"] = display
        self.session.start_weston("--backend=x11-backend.so", "--use-pixman",
                                  "--shell=kiosk-shell.so", f"--width={OUTPUT[0]}",
                                  f"--height={OUTPUT[1]}")
        program = self.session.program("--smoke-test-windows", "60")
# Reading its output line by line blocks: a program that hangs is ended after 150 s.
        watchdog = threading.Timer(150, program.kill)
        watchdog.start()
        self.addCleanup(watchdog.cancel)
        lines = []
        dragged = False
        for line in program.stdout:
            lines.append(line)
            if line.startswith("waiting for a drag") and not dragged:
                dragged = True
                self.drag(display)
        program.stdout.close()
        program.wait(timeout=30)
        output = "".join(lines)
        self.assertTrue(dragged, output)
        self.assertEqual(program.returncode, 0, output)
        self.check_run(output)
        self.assertIn("system move asked: true", output)
        print(output)

    def drag(self, display):
        env = dict(self.session.env, DISPLAY=display)
        found = subprocess.run(["xdotool", "search", "--class", "Weston Compositor"], env=env,
                               capture_output=True, text=True, timeout=10)
        windows = found.stdout.split()
        self.assertTrue(windows, "no Weston window on the X display")
        left = (OUTPUT[0] - MAIN_WINDOW[0]) // 2
        top = (OUTPUT[1] - MAIN_WINDOW[1]) // 2
# A point of the title strip, away from the buttons.
        x, y = left + 200, top + 10

        def xdotool(*args):
            subprocess.run(["xdotool", *args], env=env, check=True, timeout=10)

        xdotool("mousemove", "--window", windows[0], str(x), str(y))
        time.sleep(0.3)
        xdotool("mousemove", "--window", windows[0], str(x + 1), str(y))
        time.sleep(0.3)
        xdotool("mousedown", "1")
        time.sleep(0.2)
        xdotool("mousemove", "--window", windows[0], str(x + 40), str(y + 30))
        time.sleep(0.2)
        xdotool("mouseup", "1")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: wayland_smoke_test.py PROGRAM CONFIG_DAT")
    PROGRAM, CONFIG = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[3:]])
