"""Korvel's controls while a clip plays, on each picture path: pause, play and seeks asked for
over the desktop's media controls (MPRIS), each timed from the request to the player's
announcement that it was done: PlaybackStatus for pause and play, Seeked for a seek. The
announcements come from the player's state, which follows the engine's own reports, so a
stall anywhere between the request and the engine's answer counts."""

import os
import time

from gi.repository import Gio, GLib

from handoff import start_playing
from largeclips import PATHS, MpvIpc
from report import ENGINE_SEEK
from session import BenchError

SERVICE = "org.mpris.MediaPlayer2.korvel"
OBJECT = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"
PROPERTIES = "org.freedesktop.DBus.Properties"
ANSWER_TIMEOUT = 5.0
SEEK_US = 3_000_000  # seeks alternate 3 s ahead and back, within the clip
PAUSE_BETWEEN = 0.3  # the player plays on this long between two requests


class Announcements:
    """The player's announcements on the session bus, each with the moment it arrived."""

    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.context = GLib.MainContext.default()
        self.seen = []
        self.subscriptions = [
            self.bus.signal_subscribe(
                None, PLAYER, "Seeked", OBJECT, None, Gio.DBusSignalFlags.NONE, self._seeked
            ),
            self.bus.signal_subscribe(
                None,
                PROPERTIES,
                "PropertiesChanged",
                OBJECT,
                None,
                Gio.DBusSignalFlags.NONE,
                self._changed,
            ),
        ]

    def close(self):
        for subscription in self.subscriptions:
            self.bus.signal_unsubscribe(subscription)

    def _seeked(self, _bus, _sender, _path, _interface, _signal, parameters):
        self.seen.append((time.monotonic(), "Seeked", None))

    def _changed(self, _bus, _sender, _path, _interface, _signal, parameters):
        _, changed, _ = parameters.unpack()
        if "PlaybackStatus" in changed:
            self.seen.append((time.monotonic(), "PlaybackStatus", changed["PlaybackStatus"]))

    def request(self, method, arguments=None):
        """Asks without waiting for the answer, so that announcements keep their times."""
        self.bus.call(
            SERVICE, OBJECT, PLAYER, method, arguments, None, Gio.DBusCallFlags.NONE,
            int(ANSWER_TIMEOUT * 1000), None, None, None,
        )

    def wait(self, kind, value, since):
        """The moment of the first announcement of `kind` (with `value`) after `since`."""
        deadline = since + ANSWER_TIMEOUT
        while True:
            for when, seen_kind, seen_value in self.seen:
                if when >= since and seen_kind == kind and value in (None, seen_value):
                    return when
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            # Wakes at the deadline at the latest; an announcement wakes it at once.
            GLib.timeout_add(int(left * 1000) + 1, lambda: False)
            self.context.iteration(True)


def timed(announcements, method, arguments, kind, value):
    started = time.monotonic()
    announcements.request(method, arguments)
    done = announcements.wait(kind, value, started)
    return None if done is None else (done - started) * 1000


def one_round(announcements):
    """Pause, play, a seek ahead and one back: milliseconds each, None for no announcement."""
    rows = []
    for method, arguments, kind, value in (
        ("Pause", None, "PlaybackStatus", "Paused"),
        ("Play", None, "PlaybackStatus", "Playing"),
        ("Seek", GLib.Variant("(x)", (SEEK_US,)), "Seeked", None),
        ("Seek", GLib.Variant("(x)", (-SEEK_US,)), "Seeked", None),
    ):
        rows.append(("seek" if method == "Seek" else "pause/play",
                     timed(announcements, method, arguments, kind, value)))
        time.sleep(PAUSE_BETWEEN)
    return rows


def measure_controls(session, korvel, options, picture, mpv=None):
    """On the picture path `picture` (sw or gl): {"seek": [ms], "pause/play": [ms]}, None for a
    request whose announcement did not come; with `mpv`, also mpv's own seeks (ENGINE_SEEK)."""
    run, _ = start_playing(session, korvel, options, picture)
    announcements = Announcements()
    result = {"seek": [], "pause/play": []}
    try:
        for _ in range(options.control_rounds):
            for kind, value in one_round(announcements):
                result[kind].append(value)
    finally:
        announcements.close()
        session.stop(run)
    if mpv is not None:
        result[ENGINE_SEEK] = engine_seeks(session, mpv, options, picture)
    return result


def engine_seeks(session, mpv, options, picture):
    """mpv itself seeking the same clip on the same picture path as Korvel is asked to, over
    its own IPC socket: ms from each request to its playback restart, None for none. Korvel's
    seeks add the desktop bus both ways and its own state to what the engine takes."""
    session.fresh(mpv)
    ipc_path = os.path.join(session.folder(mpv, "run"), "ipc")
    argv = ["mpv", "--no-terminal", *dict(PATHS)[picture], "--ao=pulse", "--keep-open=yes",
            f"--input-ipc-server={ipc_path}", options.clips[0]]
    run = session.launch(mpv, argv)
    times = []
    try:
        ipc = MpvIpc(ipc_path, run.started + ANSWER_TIMEOUT)
        # Its start may have come before the socket was open: then the clip has a position.
        started = ipc.event("playback-restart", run.started + ANSWER_TIMEOUT)
        if started is None and ipc.get("time-pos") is None:
            raise BenchError(f"mpv ({picture}) never started the clip")
        time.sleep(1.0)
        for _ in range(options.control_rounds):
            for step in (SEEK_US, -SEEK_US):
                ipc.drain()
                started = time.monotonic()
                ipc.send(["seek", str(step / 1_000_000), "relative+exact"])
                done = ipc.event("playback-restart", started + ANSWER_TIMEOUT)
                times.append(None if done is None else (done - started) * 1000)
                time.sleep(PAUSE_BETWEEN)
    finally:
        session.stop(run, count_lines=False)
    return times
