"""Keeps the program running for a long while as a user would leave it: notices from a loopback
server rotating, a value typed every few seconds, the calculator and the unit manager opened and
closed now and then. Samples resident memory, open descriptors and threads every few seconds, keeps the lowest of each
minute, and fails
when, measured from the end of the second minute, memory grows by more than 1 MB or descriptors
or threads grow at all. Started by scripts/soak, which provides the display."""

import argparse
import http.server
import os
import random
import signal
import subprocess
import sys
import threading
import time

import actions
from xwin import Screen, xdo

MESSAGES = ["消息", "欢迎使用维尔莫拉", "单位换算更方便", "第三条消息：长度、面积、体积", "再见"]
ADVERTS = ["热门小游戏", "广告二", "广告三：温度换算"]


def notice_body(marker, texts):
    return (marker + "\r\n" + "|".join(texts)).encode("gbk")


class NoticeHandler(http.server.BaseHTTPRequestHandler):
    bodies = {
        "/regsoft/msg.txt": notice_body("消息", MESSAGES[1:]),
        "/regsoft/ad.txt": notice_body("广告", ADVERTS),
    }
    requests = 0

    def do_GET(self):
        NoticeHandler.requests += 1
        body = self.bodies.get(self.path)
        if body is None:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def sample(pid):
    status = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            status[key] = value.strip()
    return {
        "rss_kb": int(status["VmRSS"].split()[0]),
        "fds": len(os.listdir(f"/proc/{pid}/fd")),
        "threads": int(status["Threads"]),
    }


class Soak:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        # The category pages the run types into.
        self.pages = [1, 2, 3, 4, 5, 13]
        self.screen = Screen(os.environ["DISPLAY"])
        self.proc = None
        self.main_id = None

    def start(self, port):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)
        env["VELMORA_NOTICE_SERVER"] = f"127.0.0.1:{port}"
        self.log = open(os.path.join(self.args.work, "program.log"), "wb")
        self.proc = subprocess.Popen([self.args.program, "--config", self.args.config],
                                     cwd=self.args.work, env=env, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        for _ in range(600):
            for w in self.screen.windows(self.proc.pid):
                if w.title.startswith(actions.MAIN_TITLE) and not w.popup:
                    self.main_id = w.wid
                    return
            time.sleep(0.1)
        raise RuntimeError("no main window")

    def windows(self):
        return self.screen.windows(self.proc.pid)

    def main(self):
        for w in self.windows():
            if w.wid == self.main_id:
                return w
        return None

    def check_alive(self):
        if self.proc.poll() is not None:
            raise RuntimeError(f"the program ended with status {self.proc.returncode}")
        if self.screen.ping(self.main_id, 10.0) is None:
            raise RuntimeError("the program did not answer for 10 s")

    def type_value(self, page):
        main = self.main()
        if main is None:
            return
        # A category button, then the first unit row of its page, then a value.
        col, row = (page - 1) // 16, (page - 1) % 16
        xdo("mousemove", main.x + 784 + 72 * col + 36, main.y + 56 + 24 * row + 12, "click", 1)
        time.sleep(0.3)
        xdo("mousemove", main.x + 100, main.y + 86, "click", 1)
        xdo("key", "ctrl+a")
        xdo("type", "--delay", 20, str(self.rng.randint(1, 99999)))

    def open_close(self, item, title):
        main = self.main()
        if main is None:
            return
        xdo("mousemove", main.x + 53, main.y + 36, "click", 1)
        time.sleep(0.4)
        popups = [w for w in self.windows() if w.popup]
        if not popups:
            return
        menu = popups[-1]
        row = menu.h / 4
        xdo("mousemove", menu.x + menu.w // 2, menu.y + int(row * item + row / 2), "click", 1)
        time.sleep(1.5)
        for w in self.windows():
            if w.title.startswith(title):
                if title == "Instant Calculator":
                    xdo("mousemove", w.x + 100, w.y + 100, "click", 1)
                    xdo("type", "--delay", 20, "sin(30)+2^3")
                    xdo("mousemove", w.x + 350 + 66 + 12, w.y + 54 + 112 + 12, "click", 1)
                else:
                    xdo("mousemove", w.x + 344 + 36, w.y + 192 + 12, "click", 1)
                time.sleep(1.0)
                self.screen.close_window(w.wid)
                time.sleep(0.5)

    def quiet(self):
        """Closes whatever is left open so that a sample sees the program at rest."""
        for w in self.windows():
            if w.popup:
                xdo("key", "Escape")
            elif w.wid != self.main_id:
                self.screen.close_window(w.wid)
        time.sleep(0.5)

    @staticmethod
    def record(samples, readings, minute):
        """One figure per minute: the lowest of the readings taken during it, so that threads and
        descriptors Qt's thread pool holds for a moment (its idle threads end after 30 s) do not
        count, while anything that stays does."""
        s = {key: min(r[key] for r in readings) for key in ("rss_kb", "fds", "threads")}
        s["minute"] = minute
        samples.append(s)
        print(f"minute {minute:3d}: resident {s['rss_kb'] / 1024:7.2f} MB, "
              f"{s['fds']} descriptors, {s['threads']} threads", flush=True)

    def run(self):
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), NoticeHandler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.start(server.server_address[1])
        samples = []
        readings = []
        begin = time.monotonic()
        next_sample = begin + 60
        next_window = begin + 20
        length = self.args.minutes * 60
        try:
            self.quiet()
            self.record(samples, [sample(self.proc.pid)], 0)
            # Settling, inside the two minutes the judgement leaves out: every page the run types
            # into is built and both windows have been open once, so that what a first use keeps
            # for the rest of the run (a page's rows, a window's fonts) is not taken for growth.
            for page in self.pages:
                self.type_value(page)
            self.open_close(2, "Instant Calculator")
            self.open_close(1, "Unit-Manager")
            self.quiet()
            while True:
                now = time.monotonic()
                if now >= next_window:
                    if self.rng.random() < 0.5:
                        self.open_close(2, "Instant Calculator")
                    else:
                        self.open_close(1, "Unit-Manager")
                    next_window = now + self.rng.uniform(30, 90)
                self.type_value(self.rng.choice(self.pages))
                self.check_alive()
                time.sleep(self.rng.uniform(2.0, 4.0))
                readings.append(sample(self.proc.pid))
                if time.monotonic() >= next_sample:
                    self.record(samples, readings, round((next_sample - begin) / 60))
                    readings = []
                    next_sample += 60
                    if next_sample - begin > length + 1:
                        break
        finally:
            server.shutdown()
        return samples

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.screen.close_window(self.main_id)
            try:
                self.proc.wait(30)
            except subprocess.TimeoutExpired:
                self.proc.send_signal(signal.SIGKILL)
                self.proc.wait()


def judge(samples):
    base = next((s for s in samples if s["minute"] >= 2), None)
    if base is None:
        return ["the run was shorter than the two minutes it needs to settle"]
    last = samples[-1]
    problems = []
    if last["rss_kb"] - base["rss_kb"] > 1024:
        problems.append(f"resident memory grew by {(last['rss_kb'] - base['rss_kb']) / 1024:.2f} MB "
                        f"after minute {base['minute']}")
    for key, name in (("fds", "descriptors"), ("threads", "threads")):
        if last[key] > base[key]:
            problems.append(f"{name} grew from {base[key]} to {last[key]}")
    return problems


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--program", required=True)
    p.add_argument("--config", required=True)
    p.add_argument("--work", required=True)
    p.add_argument("--minutes", type=float, default=30)
    p.add_argument("--seed", type=int, default=1)
    args = p.parse_args()
    soak = Soak(args)
    try:
        samples = soak.run()
    except RuntimeError as e:
        print(f"FAILED: {e}")
        soak.stop()
        return 1
    soak.stop()
    print(f"notice requests served: {NoticeHandler.requests}")
    problems = judge(samples)
    base = next((s for s in samples if s["minute"] >= 2), samples[-1])
    for label, s in (("start", samples[0]), (f"minute {base['minute']}", base),
                     ("end", samples[-1])):
        print(f"{label:>8}: {s['rss_kb'] / 1024:.2f} MB resident, {s['fds']} descriptors, "
              f"{s['threads']} threads")
    for problem in problems:
        print(f"FAILED: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
