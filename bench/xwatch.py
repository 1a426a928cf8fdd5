"""What the benchmark reads from the X server: when a program's first window becomes
viewable, and when a window's title changes."""

import select
import time

from Xlib import X, Xatom, display, error


class Timeout(Exception):
    pass


class XWatch:
    """One connection that sees every top-level map (SubstructureNotify on the root) and the
    title changes of the windows it is told to follow. Times are time.monotonic() taken when
    the event is read, so they include the X server's delay, as a user would see it."""

    def __init__(self, name=None):
        self.display = display.Display(name)
        self.root = self.display.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.net_wm_pid = self.display.intern_atom("_NET_WM_PID")
        self.net_wm_name = self.display.intern_atom("_NET_WM_NAME")
        self.utf8 = self.display.intern_atom("UTF8_STRING")
        self.display.sync()

    def drain(self):
        """Drops the events of earlier runs, so they cannot be taken for this one's."""
        self.display.sync()
        while self.display.pending_events():
            self.display.next_event()

    def wait(self, accept, deadline, alive=None):
        """Reads events until accept(event, time) returns something, and returns that."""
        while True:
            while self.display.pending_events():
                event = self.display.next_event()
                found = accept(event, time.monotonic())
                if found is not None:
                    return found
            left = deadline - time.monotonic()
            if left <= 0:
                raise Timeout()
            if alive is not None and not alive():
                raise Timeout()
            select.select([self.display], [], [], min(left, 0.2))

    def first_map(self, pids_of, deadline, alive=None):
        """Time at which a top-level window of the process tree became viewable, and the
        program's own window (the client inside the window manager's frame)."""

        def accept(event, when):
            if event.type != X.MapNotify or event.event != self.root:
                return None
            client = self.client_of(event.window, pids_of())
            return (when, client) if client is not None else None

        return self.wait(accept, deadline, alive)

    def open_times(self, pids_of, wanted, deadline, alive=None):
        """When a top-level window of the process tree first became viewable, and when one
        first showed a title holding `wanted` (the clip open, as a user sees it: a window
        titled before it is mapped is seen from its mapping on), and that window. Every
        window made from now on is followed from its making, so a title set before the
        window is mapped is seen too."""
        found, maps, titles = {}, {}, {}

        def opened(window):
            if "titled" not in found and window.id in maps and window.id in titles:
                found["titled"] = max(maps[window.id], titles[window.id]), window

        def titled(window, when):
            if window.id in titles:
                return
            title = self.title(window)
            if title is not None and wanted in title and self.owned(window, pids_of()):
                titles[window.id] = when
                opened(window)

        def accept(event, when):
            if event.type == X.CreateNotify and event.parent == self.root:
                catch = error.CatchError(error.BadWindow)
                event.window.change_attributes(event_mask=X.PropertyChangeMask, onerror=catch)
                # What the window was titled before it was followed.
                titled(event.window, when)
            elif event.type == X.PropertyNotify and event.atom in (self.net_wm_name, Xatom.WM_NAME):
                titled(event.window, when)
            elif event.type == X.MapNotify and event.event == self.root:
                client = self.client_of(event.window, pids_of())
                if client is not None:
                    found.setdefault("mapped", when)
                    maps.setdefault(client.id, when)
                    opened(client)
            if "mapped" in found and "titled" in found:
                return found["mapped"], found["titled"][0], found["titled"][1]
            return None

        return self.wait(accept, deadline, alive)

    def owned(self, window, pids):
        try:
            pid = window.get_full_property(self.net_wm_pid, Xatom.CARDINAL)
        except error.BadWindow:
            return False
        return pid is not None and pid.value[0] in pids

    def client_of(self, window, pids, depth=3):
        """The window itself or the window in the frame that carries one of the pids."""
        try:
            pid = window.get_full_property(self.net_wm_pid, Xatom.CARDINAL)
            if pid is not None and pid.value[0] in pids:
                return window
            if depth == 0:
                return None
            for child in window.query_tree().children:
                found = self.client_of(child, pids, depth - 1)
                if found is not None:
                    return found
        except error.BadWindow:
            pass
        return None

    def titled(self, pids, wanted, deadline):
        """A top-level window of the processes `pids` whose title is `wanted`, looked for ten
        times a second: the player may make its windows anew while it starts."""
        while True:
            for child in self.root.query_tree().children:
                client = self.client_of(child, pids)
                if client is not None and self.title(client) == wanted:
                    return client
            if time.monotonic() >= deadline:
                raise Timeout()
            time.sleep(0.1)

    def follow_title(self, window):
        window.change_attributes(event_mask=X.PropertyChangeMask)
        self.display.sync()

    def title(self, window):
        try:
            name = window.get_full_property(self.net_wm_name, self.utf8)
            if name is not None:
                value = name.value
                return value.decode("utf-8") if isinstance(value, bytes) else value
            value = window.get_wm_name()
            return value if isinstance(value, str) else (value or b"").decode("latin-1")
        except error.BadWindow:
            return None

    def wait_title(self, window, wanted, deadline):
        """Time at which the window's title became the wanted text."""

        def accept(event, when):
            if event.type != X.PropertyNotify or event.window != window:
                return None
            if event.atom not in (self.net_wm_name, Xatom.WM_NAME):
                return None
            return when if self.title(window) == wanted else None

        return self.wait(accept, deadline)

    def geometry(self, window):
        shape = window.get_geometry()
        return shape.width, shape.height

    def decorated(self, window):
        """False when the window asks the window manager for no frame (Motif hints)."""
        atom = self.display.intern_atom("_MOTIF_WM_HINTS")
        hints = window.get_full_property(atom, X.AnyPropertyType)
        if hints is None or len(hints.value) < 3:
            return True
        flags, decorations = hints.value[0], hints.value[2]
        return not (flags & 2) or decorations != 0
