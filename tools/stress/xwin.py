"""The program's windows on an X display as the stress driver sees them: which windows of a process
are open and where, real input through xdotool, and a liveness ping (_NET_WM_PING) that only the
program's own event loop can answer."""

import select
import subprocess
import time
from dataclasses import dataclass

from Xlib import X, display, error
from Xlib.protocol import event as xevent


@dataclass
class Win:
    wid: int
    title: str
    x: int
    y: int
    w: int
    h: int
    popup: bool  # override-redirect: a menu, a tooltip, a drop-down list

    def contains(self, px, py):
        return self.x <= px < self.x + self.w and self.y <= py < self.y + self.h


class Screen:
    def __init__(self, name):
        self.d = display.Display(name)
        # Windows come and go between a look and a request; such errors are expected.
        self.d.set_error_handler(lambda *args: None)
        self.root = self.d.screen().root
        # Qt answers a ping to the root window with the structure-notify mask.
        self.root.change_attributes(event_mask=X.StructureNotifyMask)
        self.a_pid = self.d.intern_atom("_NET_WM_PID")
        self.a_name = self.d.intern_atom("_NET_WM_NAME")
        self.a_utf8 = self.d.intern_atom("UTF8_STRING")
        self.a_protocols = self.d.intern_atom("WM_PROTOCOLS")
        self.a_ping = self.d.intern_atom("_NET_WM_PING")
        self.a_delete = self.d.intern_atom("WM_DELETE_WINDOW")
        self.a_clients = self.d.intern_atom("_NET_CLIENT_LIST_STACKING")
        self.ping_serial = 1000

    # -- windows -----------------------------------------------------------------------------
    def _pid_of(self, w):
        try:
            p = w.get_full_property(self.a_pid, X.AnyPropertyType)
            return p.value[0] if p and len(p.value) else None
        except error.XError:
            return None

    def _title(self, w):
        try:
            p = w.get_full_property(self.a_name, self.a_utf8)
            if p and p.value:
                v = p.value
                return v.decode("utf-8", "replace") if isinstance(v, bytes) else str(v)
            n = w.get_wm_name()
            return n.decode("latin-1") if isinstance(n, bytes) else (n or "")
        except error.XError:
            return ""

    def _geometry(self, w):
        g = w.get_geometry()
        t = w.translate_coords(self.root, 0, 0)
        return -t.x, -t.y, g.width, g.height

    def windows(self, pid):
        """Mapped windows of the process, bottom to top: managed ones from the window manager's
        stacking list, then override-redirect pop-ups."""
        found = []
        try:
            stack = self.root.get_full_property(self.a_clients, X.AnyPropertyType)
            ids = list(stack.value) if stack else []
            for wid in ids:
                w = self.d.create_resource_object("window", wid)
                try:
                    if self._pid_of(w) != pid or w.get_attributes().map_state != X.IsViewable:
                        continue
                    x, y, ww, hh = self._geometry(w)
                    found.append(Win(wid, self._title(w), x, y, ww, hh, False))
                except error.XError:
                    continue
            for w in self.root.query_tree().children:
                try:
                    a = w.get_attributes()
                    if not a.override_redirect or a.map_state != X.IsViewable:
                        continue
                    if self._pid_of(w) != pid:
                        continue
                    x, y, ww, hh = self._geometry(w)
                    if ww < 4 or hh < 4:
                        continue
                    found.append(Win(w.id, self._title(w), x, y, ww, hh, True))
                except error.XError:
                    continue
        except error.XError:
            pass
        return found

    def all_client_windows(self, pid):
        """Every top-level window of the process, mapped or not (the main window hidden in the
        tray is still there)."""
        out = []
        for w in self.root.query_tree().children:
            try:
                if self._pid_of(w) == pid:
                    out.append(w.id)
                    continue
                for c in w.query_tree().children:
                    if self._pid_of(c) == pid:
                        out.append(c.id)
            except error.XError:
                continue
        return out

    def find_title(self, title):
        for w in self.root.query_tree().children:
            try:
                if title in self._title(w):
                    return w
                for c in w.query_tree().children:
                    if title in self._title(c):
                        return c
            except error.XError:
                continue
        return None

    def geometry_of(self, w):
        return self._geometry(w)

    # -- liveness ----------------------------------------------------------------------------
    def ping(self, wid, timeout):
        """Sends _NET_WM_PING to the window; the client answers from its event loop by sending
        the message back to the root window. Returns the seconds it took or None."""
        self.ping_serial += 1
        serial = self.ping_serial
        w = self.d.create_resource_object("window", wid)
        ev = xevent.ClientMessage(window=w, client_type=self.a_protocols,
                                  data=(32, [self.a_ping, serial, wid, 0, 0]))
        start = time.monotonic()
        try:
            w.send_event(ev, event_mask=0)
            self.d.flush()
        except error.XError:
            return None
        while True:
            while self.d.pending_events():
                e = self.d.next_event()
                if (e.type == X.ClientMessage and e.client_type == self.a_protocols
                        and e.data[1][0] == self.a_ping and e.data[1][1] == serial):
                    return time.monotonic() - start
            left = timeout - (time.monotonic() - start)
            if left <= 0:
                return None
            select.select([self.d.fileno()], [], [], min(left, 0.2))

    def drain(self):
        while self.d.pending_events():
            self.d.next_event()

    def close_window(self, wid):
        w = self.d.create_resource_object("window", wid)
        ev = xevent.ClientMessage(window=w, client_type=self.a_protocols,
                                  data=(32, [self.a_delete, X.CurrentTime, 0, 0, 0]))
        try:
            w.send_event(ev, event_mask=0)
            self.d.flush()
        except error.XError:
            pass


def xdo(*args, env=None):
    subprocess.run(["xdotool", *[str(a) for a in args]], env=env, check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20)
