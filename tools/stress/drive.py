"""Drives the program with a seeded random stream of user actions on an X display and fails on a
death by signal, a sanitizer report, an unanswered liveness ping (10 s) or a config.dat that no
longer reads back intact. Started by scripts/stress, which provides the display, the window
manager and the tray."""

import argparse
import collections
import os
import random
import re
import signal
import subprocess
import sys
import time

import actions
import check_config
from xwin import Screen, xdo

REPORT = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|"
                    r"SUMMARY: (AddressSanitizer|UndefinedBehaviorSanitizer|LeakSanitizer)")
NOT_ANSWERING = 10.0


class Failure(Exception):
    pass


class Run:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.screen = Screen(os.environ["DISPLAY"])
        self.history = collections.deque(maxlen=50)
        self.count = 0
        self.starts = 0
        self.clean_exits = 0
        self.proc = None
        self.main_id = None
        self.stderr_path = None
        self.unit_lists_applied = False
        self.fault_done = False
        self.begin = time.monotonic()
        self.seen = collections.Counter()

    # -- the program's life ------------------------------------------------------------------
    def env(self):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)
        env["ASAN_OPTIONS"] = "detect_leaks=1:halt_on_error=1:abort_on_error=0:exitcode=23"
        env["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
        env["LSAN_OPTIONS"] = f"suppressions={self.args.suppressions}:print_suppressions=0"
        env["VELMORA_NOTICE_SERVER"] = ""
        if self.args.fault == "leak":
            env["LD_PRELOAD"] = self.args.leak_preload
        return env

    def start(self):
        self.starts += 1
        self.stderr_path = os.path.join(self.args.work, f"program-{self.starts}.log")
        with open(self.stderr_path, "wb") as err:
            self.proc = subprocess.Popen([self.args.program, "--config", self.args.config],
                                         cwd=self.args.work, env=self.env(), stdout=err,
                                         stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 90
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                self.ended()
                raise Failure("the program ended while starting")
            for w in self.screen.windows(self.proc.pid):
                if w.title.startswith(actions.MAIN_TITLE) and not w.popup:
                    self.main_id = w.wid
                    self.note(f"start #{self.starts}: pid {self.proc.pid}")
                    return
            time.sleep(0.1)
        raise Failure("no main window 90 s after start")

    def report_text(self):
        try:
            with open(self.stderr_path, "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def ended(self):
        """Judges a process that has ended; a clean end is status 0 without a report."""
        code = self.proc.wait()
        text = self.report_text()
        if REPORT.search(text):
            raise Failure(f"sanitizer report (exit status {code}):\n{tail_report(text)}")
        if code < 0:
            raise Failure(f"the program died by signal {signal.Signals(-code).name}")
        if code != 0:
            raise Failure(f"the program ended with status {code}:\n{text[-3000:]}")
        self.clean_exits += 1
        self.note(f"clean exit #{self.clean_exits}")
        self.proc = None

    def alive_check(self):
        if self.proc.poll() is not None:
            self.ended()
            self.start()
            return
        took = self.screen.ping(self.main_id, NOT_ANSWERING)
        if took is None:
            if self.proc.poll() is not None:
                self.ended()
                self.start()
                return
            raise Failure(f"the program did not answer a ping for {NOT_ANSWERING:.0f} s")

    def close(self):
        """Ends the program as a user would: pop-ups and secondary windows first, then the main
        window; waits for the sanitizers' checks at exit."""
        for attempt in range(12):
            if self.proc.poll() is not None:
                return self.ended()
            wins = self.screen.windows(self.proc.pid)
            if any(w.popup for w in wins):
                xdo("key", "Escape")
            others = [w for w in wins if not w.popup and w.wid != self.main_id]
            for w in others:
                self.screen.close_window(w.wid)
            if not others or attempt > 6:
                self.screen.close_window(self.main_id)
            time.sleep(1.0)
        deadline = time.monotonic() + 120
        while self.proc.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        if self.proc.poll() is None:
            raise Failure("the program did not end when its windows were closed")
        self.ended()

    # -- actions -----------------------------------------------------------------------------
    def note(self, text):
        self.history.append(f"{self.count:6d} {time.monotonic() - self.begin:7.2f}s {text}")

    def pick_window(self, wins):
        popups = [w for w in wins if w.popup]
        if popups and self.rng.random() < 0.75:
            return popups[-1]
        framed = [w for w in wins if not w.popup]
        if not framed:
            return None
        if self.rng.random() < 0.7:
            return framed[-1]
        return self.rng.choice(framed)

    def act(self):
        wins = self.screen.windows(self.proc.pid)
        for w in wins:
            self.seen[w.title.split(" ")[0] if not w.popup else "(pop-up)"] += 1
        kind = self.rng.choices(
            ["click", "menu", "type", "key", "paste", "right", "drag", "tray", "wait", "exit"],
            [40, 8, 14, 16, 4, 4, 3, 2, 2, 0.25])[0]
        if not wins and kind in ("click", "right", "drag", "type", "key", "paste"):
            kind = "tray"
        if kind == "click":
            w = self.pick_window(wins)
            if w is None:
                return
            x, y, label = actions.pick_point(self.rng, w)
            clicks = 2 if self.rng.random() < 0.08 else 1
            self.note(f"click x{clicks} {label} at {x},{y} in '{w.title}'")
            if w.title.startswith("Unit-Manager"):
                # Applying a list with every unit deleted removes its section.
                self.unit_lists_applied = True
            xdo("mousemove", x, y, "click", "--repeat", clicks, "--delay", 60, 1)
        elif kind == "menu":
            self.menu(wins)
        elif kind == "type":
            text = actions.random_text(self.rng)
            self.note(f"type {text!r}")
            xdo("type", "--delay", 8, text)
        elif kind == "key":
            key = self.rng.choices([k for k, _ in actions.KEYS], [w for _, w in actions.KEYS])[0]
            self.note(f"key {key}")
            xdo("key", key)
        elif kind == "paste":
            text = actions.paste_text(self.rng)
            self.note(f"paste {text[:40]!r} ({len(text)} characters)")
            subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text.encode(),
                           stderr=subprocess.DEVNULL, check=False, timeout=10)
            xdo("key", "ctrl+v")
        elif kind == "right":
            w = self.pick_window(wins)
            if w is None:
                return
            x, y, label = actions.pick_point(self.rng, w)
            self.note(f"right click {label} at {x},{y} in '{w.title}'")
            xdo("mousemove", x, y, "click", 3)
        elif kind == "drag":
            framed = [w for w in wins if not w.popup]
            if not framed:
                return
            w = self.rng.choice(framed)
            # The background: the top strip right of the title, or the window's lower margin.
            x = w.x + self.rng.randint(w.w // 3, w.w * 2 // 3)
            y = w.y + (self.rng.randint(2, 10) if self.rng.random() < 0.5 else w.h - 5)
            dx, dy = self.rng.randint(-200, 200), self.rng.randint(-150, 150)
            self.note(f"drag '{w.title}' from {x},{y} by {dx},{dy}")
            xdo("mousemove", x, y, "mousedown", 1)
            for step in range(1, 6):
                xdo("mousemove", x + dx * step // 5, y + dy * step // 5)
                time.sleep(0.02)
            xdo("mouseup", 1)
        elif kind == "tray":
            self.tray()
        elif kind == "wait":
            pause = self.rng.uniform(0.3, 2.5)
            self.note(f"wait {pause:.1f} s")
            time.sleep(pause)
        elif kind == "exit":
            self.exit_by_menu(wins)

    def main_window(self, wins):
        for w in wins:
            if w.wid == self.main_id:
                return w
        return None

    def menu(self, wins):
        """Opens the General or Help menu with its button and chooses an item."""
        main = self.main_window(wins)
        if main is None:
            return self.tray()
        general = self.rng.random() < 0.8
        bx = main.x + (53 if general else 101)
        item = self.rng.choices([0, 1, 2, 3], [3, 3, 3, 0.0])[0] if general else 0
        self.note(f"menu {'General' if general else 'Help'} item {item}")
        self.choose(bx, main.y + 36, item, 4 if general else 1)

    def exit_by_menu(self, wins):
        main = self.main_window(wins)
        if main is None:
            return
        self.note("menu General item 3 (exit)")
        self.choose(main.x + 53, main.y + 36, 3, 4)

    def choose(self, bx, by, item, items):
        xdo("mousemove", bx, by, "click", 1)
        popup = None
        for _ in range(20):
            time.sleep(0.05)
            popups = [w for w in self.screen.windows(self.proc.pid) if w.popup]
            if popups:
                popup = popups[-1]
                break
        if popup is None:
            return
        row = popup.h / items
        xdo("mousemove", popup.x + popup.w // 2, popup.y + int(row * item + row / 2), "click", 1)

    def tray(self):
        icon = self.tray_icon()
        if icon is None:
            main = self.main_window(self.screen.windows(self.proc.pid))
            if main is not None:
                self.note("minimise to the tray")
                xdo("mousemove", main.x + 876, main.y + 9, "click", 1)
            return
        x, y, w, h = icon
        button = 1 if self.rng.random() < 0.6 else 3
        self.note(f"tray icon button {button}")
        xdo("mousemove", x + w // 2, y + h // 2, "click", button)

    def tray_icon(self):
        """The program's icon embedded in the tray: a window of the process inside trayer."""
        from Xlib import X, error
        try:
            stack = [self.screen.root]
            while stack:
                w = stack.pop()
                for c in w.query_tree().children:
                    stack.append(c)
                    try:
                        if (self.screen._pid_of(c) == self.proc.pid
                                and c.get_attributes().map_state == X.IsViewable):
                            x, y, ww, hh = self.screen.geometry_of(c)
                            if 8 <= ww <= 64 and 8 <= hh <= 64 and c.id != self.main_id:
                                return x, y, ww, hh
                    except error.XError:
                        continue
        except error.XError:
            return None
        return None

    # -- the run -----------------------------------------------------------------------------
    def fault(self, elapsed):
        if self.fault_done or self.args.fault in (None, "leak"):
            return
        if elapsed < self.args.seconds / 3:
            return
        self.fault_done = True
        if self.args.fault == "signal":
            self.note(f"fault: SIGKILL to pid {self.proc.pid}")
            os.kill(self.proc.pid, signal.SIGKILL)
        elif self.args.fault == "stop":
            self.note(f"fault: SIGSTOP to pid {self.proc.pid}")
            os.kill(self.proc.pid, signal.SIGSTOP)

    def run(self):
        self.start()
        begin = self.begin = time.monotonic()
        while time.monotonic() - begin < self.args.seconds:
            self.fault(time.monotonic() - begin)
            self.count += 1
            self.act()
            time.sleep(self.rng.uniform(0.02, 0.15))
            self.alive_check()
        self.note("end of run: closing")
        self.close()
        problems = check_config.check(self.args.config, self.args.original,
                                      self.unit_lists_applied)
        if problems:
            raise Failure("config.dat does not read back intact:\n  " + "\n  ".join(problems))
        # The program itself reads the file back: it starts, answers and ends cleanly.
        self.start()
        self.alive_check()
        self.close()


def tail_report(text):
    lines = text.splitlines()
    start = next((i for i, l in enumerate(lines) if REPORT.search(l)), 0)
    return "\n".join(lines[max(0, start - 2):start + 60])


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--program", required=True)
    p.add_argument("--config", required=True)
    p.add_argument("--original", required=True)
    p.add_argument("--work", required=True)
    p.add_argument("--seconds", type=float, default=60)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--suppressions", required=True)
    p.add_argument("--fault", choices=["signal", "stop", "leak"])
    p.add_argument("--leak-preload", default="")
    args = p.parse_args()
    run = Run(args)
    status = 0
    try:
        run.run()
    except Failure as failure:
        status = 1
        print(f"FAILED: {failure}")
        print("Last actions:")
        for line in run.history:
            print("  " + line)
    finally:
        if run.proc is not None and run.proc.poll() is None:
            os.kill(run.proc.pid, signal.SIGKILL)
            run.proc.wait()
    print(f"seed {args.seed}: {run.count} actions in {args.seconds:.0f} s, "
          f"{run.starts} starts, {run.clean_exits} clean exits")
    print("windows open, counted before each action: "
          + ", ".join(f"{name or '(untitled)'} {n}" for name, n in run.seen.most_common()))
    return status


if __name__ == "__main__":
    sys.exit(main())
