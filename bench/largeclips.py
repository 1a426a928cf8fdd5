"""Large clips like for like: Korvel at natural size beside mpv in a window of the same size,
on both picture paths (software, and OpenGL as far as the display offers it), each playing a
whole clip; the 3840x2160 one on a second screen large enough to show it whole. Measured:
CPU of the program with the X server over the middle of the clip, the anonymous memory and
the frames the engine dropped and delayed over the whole clip (Korvel tells them in its
engine log, mpv answers on its IPC socket)."""

import json
import os
import re
import socket
import subprocess
import time
from contextlib import contextmanager

from proctree import anonymous_kib, cpu_seconds, tree_cpu_seconds
from session import BenchError, sleep_until, tail
from xwatch import XWatch

SIZES = [(1280, 720, 30), (1920, 1080, 30), (1920, 1080, 60)]
# Played on a screen of their own, larger than the one the other figures are measured on (its
# frame buffer would cost the X server memory, and the windows of the other rows nothing).
HUGE_SIZES = [(3840, 2160, 30)]
CLIP_SECONDS = 10
SETTLE = 2.0  # the CPU window opens this long after the first window
WINDOW = 6.0
END_TIMEOUT = CLIP_SECONDS + 15.0
# Korvel's KORVEL_PICTURE, and mpv's picture options for the same path (Debian's mpv makes its
# OpenGL contexts with EGL only).
PATHS = [("sw", ["--vo=x11"]), ("gl", ["--vo=gpu", "--gpu-context=x11egl"])]

COUNTS = re.compile(r"frames of the clip: dropped (\d+) \(decoder (\d+)\), delayed (\d+)")


def clip_title(width, height, rate):
    return f"Large {width}x{height} at {rate}"


def make_clips(work, sizes):
    """One clip a size, with a picture that moves everywhere and a tone."""
    clips = []
    for width, height, rate in sizes:
        path = os.path.join(work, f"large-{width}x{height}-{rate}.mp4")
        source = f"testsrc2=duration={CLIP_SECONDS}:size={width}x{height}:rate={rate}"
        # Both players decode the same file; the huge one is made in seconds rather than a
        # minute on two cores.
        preset = "ultrafast" if width * height > 1920 * 1080 else "veryfast"
        subprocess.run(
            ["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source,
             "-f", "lavfi", "-i", f"sine=frequency=440:duration={CLIP_SECONDS}",
             "-metadata", f"title={clip_title(width, height, rate)}",
             "-c:v", "libx264", "-preset", preset, "-pix_fmt", "yuv420p",
             "-c:a", "aac", "-shortest", path],
            check=True,
        )
        clips.append((path, width, height, rate))
    return clips


def korvel_counts(log_text):
    """The frame counts of the first clip told in Korvel's engine log, or None."""
    found = COUNTS.search(log_text)
    return None if found is None else tuple(int(number) for number in found.groups())


class MpvIpc:
    """mpv's JSON IPC: one request at a time, answers read up to the request's id."""

    def __init__(self, path, deadline):
        while True:
            try:
                self.sock = socket.socket(socket.AF_UNIX)
                self.sock.connect(path)
                break
            except OSError:
                self.sock.close()
                if time.monotonic() > deadline:
                    raise BenchError("mpv's IPC socket did not open")
                time.sleep(0.1)
        self.buffer = b""
        self.next_id = 0

    def send(self, command):
        """Sends `command` without waiting; returns its request id."""
        self.next_id += 1
        request = {"command": command, "request_id": self.next_id}
        self.sock.sendall(json.dumps(request).encode() + b"\n")
        return self.next_id

    def message(self):
        """The next answer or event mpv sent."""
        while b"\n" not in self.buffer:
            self.buffer += self.sock.recv(65536)
        line, self.buffer = self.buffer.split(b"\n", 1)
        return json.loads(line)

    def drain(self):
        """Forgets the whole messages mpv sent so far."""
        self.sock.setblocking(False)
        try:
            while True:
                data = self.sock.recv(65536)
                if not data:
                    break
                self.buffer += data
        except BlockingIOError:
            pass
        finally:
            self.sock.setblocking(True)
        self.buffer = self.buffer[self.buffer.rfind(b"\n") + 1:]

    def get(self, name):
        request = self.send(["get_property", name])
        while True:
            answer = self.message()
            if answer.get("request_id") == request:
                return answer.get("data")

    def event(self, name, deadline):
        """The moment the next event `name` arrived, or None at `deadline`."""
        try:
            while True:
                self.sock.settimeout(max(deadline - time.monotonic(), 0.001))
                if self.message().get("event") == name:
                    return time.monotonic()
        except socket.timeout:
            return None
        finally:
            self.sock.settimeout(None)


def window_size(title, display):
    """The size of the window titled `title` on `display` (wmctrl -lG), or None."""
    listed = subprocess.run(["wmctrl", "-lG"], capture_output=True, text=True, check=False,
                            env={**os.environ, "DISPLAY": display})
    for line in listed.stdout.splitlines():
        fields = line.split(None, 7)
        if len(fields) == 8 and fields[7] == title:
            return int(fields[4]), int(fields[5])
    return None


@contextmanager
def on_display(session, name):
    """Starts and watches programs on the X display `name` meanwhile."""
    before = session.watch, session.base_env["DISPLAY"]
    session.watch, session.base_env["DISPLAY"] = XWatch(name), name
    try:
        yield
    finally:
        session.watch.display.close()
        session.watch, session.base_env["DISPLAY"] = before


def measure(session, run, xserver_pid, title, size, counts_at_end):
    _, _, mapped = session.wait_window(run)
    sleep_until(mapped + SETTLE)
    shown = window_size(title, session.base_env["DISPLAY"])
    # Korvel runs with its engine log on: its lines are not what a user's run prints.
    if shown != size:
        session.stop(run, count_lines=False)
        raise BenchError(f"{run.program.label} showed {title!r} at {shown}, not at {size}")
    pid = run.process.pid
    begin = time.monotonic(), tree_cpu_seconds(pid), cpu_seconds(xserver_pid)
    sleep_until(begin[0] + WINDOW)
    end = time.monotonic(), tree_cpu_seconds(pid), cpu_seconds(xserver_pid)
    anonymous = anonymous_kib(pid) / 1024
    counts = counts_at_end(run)
    session.stop(run, count_lines=False)
    span = end[0] - begin[0]
    cpu = 100 * ((end[1] - begin[1]) + (end[2] - begin[2])) / span
    return {"cpu": cpu, "anon": anonymous, "dropped": counts[0] + counts[1], "delayed": counts[2]}


def korvel_figures(session, korvel, clip, path, xserver_pid):
    file, width, height, rate = clip
    session.fresh(korvel)
    extra = {"KORVEL_PICTURE": path, "KORVEL_ENGINE_LOG": "1"}
    run = session.launch(korvel, korvel.play + [file], extra)

    def counts_at_end(run):
        deadline = run.started + END_TIMEOUT
        while time.monotonic() < deadline:
            with open(run.log, errors="replace") as log:
                counts = korvel_counts(log.read())
            if counts is not None:
                return counts
            time.sleep(0.2)
        raise BenchError(f"Korvel told no frame counts; see {run.log}:\n{tail(run.log)}")

    return measure(
        session, run, xserver_pid, clip_title(width, height, rate), (width, height), counts_at_end
    )


def mpv_figures(session, mpv, clip, vo, xserver_pid):
    file, width, height, rate = clip
    session.fresh(mpv)
    ipc_path = os.path.join(session.folder(mpv, "run"), "ipc")
    # Titled by the clip's title tag, as Korvel's playback window is.
    argv = ["mpv", "--no-terminal", *vo, "--ao=pulse", "--keep-open=yes",
            "--title=${media-title}", f"--input-ipc-server={ipc_path}", file]
    run = session.launch(mpv, argv)

    def counts_at_end(run):
        deadline = run.started + END_TIMEOUT
        ipc = MpvIpc(ipc_path, deadline)
        while not ipc.get("eof-reached"):
            if time.monotonic() > deadline:
                raise BenchError("mpv did not reach the clip's end")
            time.sleep(0.2)
        names = ("frame-drop-count", "decoder-frame-drop-count", "vo-delayed-frame-count")
        return tuple(int(ipc.get(name) or 0) for name in names)

    return measure(
        session, run, xserver_pid, clip_title(width, height, rate), (width, height), counts_at_end
    )


def measure_large_clips(session, progs, options):
    """{(clip label, path): {program key: [figures of each round]}}; the huge clips only where
    a second, larger display was given."""
    results = {}
    measure_clips(session, progs, options, make_clips(options.work, SIZES), options.xserver_pid,
                  results)
    if options.huge_display:
        with on_display(session, options.huge_display):
            clips = make_clips(options.work, HUGE_SIZES)
            measure_clips(session, progs, options, clips, options.huge_xserver_pid, results)
    return results


def measure_clips(session, progs, options, clips, xserver_pid, results):
    korvel = next(program for program in progs if program.key == "korvel")
    mpv = next(program for program in progs if program.key == "mpv")
    for clip in clips:
        label = f"{clip[1]}x{clip[2]} at {clip[3]}"
        for path, vo in PATHS:
            row = results.setdefault((label, path), {"korvel": [], "mpv": []})
            for round_number in range(options.large_rounds):
                order = [("korvel", korvel), ("mpv", mpv)]
                if round_number % 2:
                    order.reverse()
                for key, program in order:
                    if key == "korvel":
                        figures = korvel_figures(session, program, clip, path, xserver_pid)
                    else:
                        figures = mpv_figures(session, program, clip, vo, xserver_pid)
                    row[key].append(figures)
                    print(f"  {label} {path} {program.short}: " + describe(figures), flush=True)


def describe(figures):
    return (
        f"{figures['cpu']:.1f} % CPU with the X server, {figures['anon']:.1f} MiB anonymous, "
        f"{figures['dropped']} dropped, {figures['delayed']} delayed"
    )
