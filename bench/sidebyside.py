"""Korvel beside Audacious (GTK, skinned) and mpv (--vo=x11), on one X server and one sound
server, the programs alternating round by round. Prints the figures, their ratios and the
goals. Run by scripts/bench, which starts the X server, the window manager, the sound server
and the session bus this expects in its environment."""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

from controls import measure_controls
from handoff import measure_handoffs
from largeclips import measure_large_clips
from report import print_large, print_report
from session import BenchError, Program, Session, sleep_until
from proctree import (
    anonymous_kib,
    cpu_seconds,
    minor_faults,
    shared_objects,
    tree_context_switches,
    tree_cpu_seconds,
    tree_kib,
)
from registry import edit_registry
from xwatch import XWatch

IDLE_SETTLE = 3.0  # idle memory is read this long after the first window
IDLE_WAKE_WINDOW = 2.0  # then the wakeups are counted over this long
PLAY_SETTLE = 3.0  # the CPU window opens this long after the first window of a play run
PLAY_WINDOW = 10.0
SKIN_SIZE = (275, 116)  # the classic skinned main window
PICTURES = ("sw", "gl")


def arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--korvel", required=True)
    parser.add_argument("--clips", nargs=2, required=True, help="two clips with distinct titles")
    parser.add_argument("--titles", nargs=2, required=True)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--handoffs", type=int, default=40)
    parser.add_argument("--control-rounds", type=int, default=8,
                        help="rounds of pause, play and two seeks on each picture path")
    parser.add_argument("--large-rounds", type=int, default=5, help="0 leaves the large clips out")
    parser.add_argument("--huge-display", help="a larger X display for the 3840x2160 clip")
    parser.add_argument("--huge-xserver-pid", type=int, help="the X server of --huge-display")
    parser.add_argument("--trivial", help="a program that does nothing, the hand-off's yardstick")
    parser.add_argument("--qt-floor", help="a Qt program that shows one frameless window")
    parser.add_argument("--engine-floor", help="a libmpv client with its own X window")
    parser.add_argument("--xserver-pid", type=int, required=True)
    parser.add_argument("--sound-pid", type=int, required=True)
    parser.add_argument("--work", default=None)
    return parser.parse_args()


def version(argv, pattern):
    output = subprocess.run(argv, capture_output=True, text=True, check=False).stdout
    found = re.search(pattern, output)
    return found.group(1) if found else "?"


def floors(options):
    """The floors of the stack, where they were built: what Qt alone costs to show a window,
    and what the engine alone costs to open a clip."""
    found = []
    if options.qt_floor:
        floor = [os.path.abspath(options.qt_floor)]
        found.append(Program("qtfloor", "Qt floor", "Qt floor", floor, floor, plays=False))
    if options.engine_floor:
        floor = [os.path.abspath(options.engine_floor)]
        found.append(Program("enginefloor", "engine floor", "engine floor", floor, floor,
                             starts=False))
    return found


def programs(korvel):
    audacious = version(["audacious", "--version"], r"Audacious (\S+)")
    mpv = version(["mpv", "--version"], r"mpv (\S+)")
    return [
        Program("korvel", "Korvel", "Korvel", [korvel], [korvel]),
        Program(
            "audacious",
            f"Audacious {audacious} GTK skinned",
            "Audacious",
            ["audacious", "--gtk"],
            ["audacious", "--gtk"],
            prepare=choose_skinned_interface,
        ),
        Program(
            "mpv",
            f"mpv {mpv} --vo=x11",
            "mpv",
            # As from a desktop launcher: no terminal to write a status line to.
            ["mpv", "--no-terminal", "--idle", "--force-window", "--vo=x11", "--ao=pulse"],
            ["mpv", "--no-terminal", "--vo=x11", "--ao=pulse"],
        ),
    ]


def choose_skinned_interface(session, program):
    """The first start wrote the plugin registry; choose the skinned interface and the
    PulseAudio output in it, then check that a start shows the skinned main window."""
    registry = os.path.join(session.config(program), "audacious", "plugin-registry")
    outputs = ["alsa", "sndio-ng", "oss4", "qtaudio", "sdlout", "filewriter", "jack-ng"]
    wanted = {"gtkui": 0, "qtui": 0, "skins-qt": 0, "skins": 1, "pulse_audio": 1}
    wanted.update({name: 0 for name in outputs})
    missing = edit_registry(registry, wanted)
    if missing:
        raise BenchError(f"Audacious' plugin registry lacks {', '.join(missing)}")
    run = session.launch(program, program.idle)
    _, window, _ = session.wait_window(run)
    size, decorated = session.watch.geometry(window), session.watch.decorated(window)
    time.sleep(1)
    session.stop(run)
    if size != SKIN_SIZE or decorated:
        shown = f"a {size[0]}x{size[1]} window" + (" with a frame" if decorated else "")
        raise BenchError(f"Audacious showed {shown}, not its skinned main window")
    print(f"  Audacious shows its skinned main window ({size[0]}x{size[1]}, no frame)")


def warm_up(session, program):
    """One unmeasured start writes the program's first settings, which every run then starts
    from, as a user's program does."""
    session.fresh(program)
    if program.starts:
        run = session.launch(program, program.idle)
        session.wait_window(run)
        time.sleep(2)
        session.stop(run)
    if program.prepare is not None:
        program.prepare(session, program)
    session.keep_as_template(program)
    program.output_lines.clear()


def start_figures(session, program):
    """Start to the first window, first of its turn; idle memory; start again 1 s later."""
    session.fresh(program)
    run = session.launch(program, program.idle)
    cold, _, mapped = session.wait_window(run)
    # What it took to get there, which a busy machine does not change (main process only).
    pid = run.process.pid
    effort = {"cpu0": cpu_seconds(pid) * 1000, "faults0": minor_faults(pid)}
    effort["libs0"] = shared_objects(pid)
    sleep_until(mapped + IDLE_SETTLE)
    rss = tree_kib(pid, "VmRSS")
    effort["idleanon"] = anonymous_kib(pid) / 1024
    # An idle program on a desktop should sleep: every wakeup costs a laptop power.
    switches = tree_context_switches(pid)
    time.sleep(IDLE_WAKE_WINDOW)
    effort["wakeups"] = (tree_context_switches(pid) - switches) / IDLE_WAKE_WINDOW
    session.stop(run)
    time.sleep(1)
    run = session.launch(program, program.idle)
    warm, _, _ = session.wait_window(run)
    time.sleep(0.5)
    session.stop(run)
    return {"cold": cold * 1000, "warm": warm * 1000, "idle": rss / 1024, **effort}


def sink_inputs():
    listed = subprocess.run(
        ["pactl", "list", "short", "sink-inputs"], capture_output=True, text=True, check=False
    )
    return len(listed.stdout.splitlines())


def play_figures(session, program, clip, title, servers):
    """Exec to the clip open (its title shown on a viewable window); CPU over PLAY_WINDOW
    seconds and memory while the clip plays."""
    session.fresh(program)
    run = session.launch(program, program.play + [clip])
    _, opened, window, mapped = session.wait_open(run, title)
    sleep_until(mapped + PLAY_SETTLE)
    begin = time.monotonic(), tree_cpu_seconds(run.process.pid), [cpu_seconds(p) for p in servers]
    sleep_until(begin[0] + PLAY_WINDOW)
    end = time.monotonic(), tree_cpu_seconds(run.process.pid), [cpu_seconds(p) for p in servers]
    peak = tree_kib(run.process.pid, "VmHWM")
    anonymous = anonymous_kib(run.process.pid)
    sounding, shown = sink_inputs(), session.watch.title(window) or ""
    session.stop(run)
    if sounding == 0 or title not in shown:
        raise BenchError(f"{program.label} was not playing (sound streams {sounding}, {shown!r})")
    span = end[0] - begin[0]
    figures = {"cpu": 100 * (end[1] - begin[1]) / span, "peak": peak / 1024}
    figures["open"] = opened * 1000
    figures["anon"] = anonymous / 1024
    figures["xcpu"] = 100 * (end[2][0] - begin[2][0]) / span
    figures["sndcpu"] = 100 * (end[2][1] - begin[2][1]) / span
    return figures


def run_rounds(session, progs, options):
    figures = {program.key: {} for program in progs}
    for round_number in range(options.rounds):
        # Each round starts with another program, so none is always first after a pause.
        order = progs[round_number % len(progs) :] + progs[: round_number % len(progs)]
        for program in order:
            measured = start_figures(session, program) if program.starts else {}
            if program.plays:
                measured.update(
                    play_figures(
                        session, program, options.clips[0], options.titles[0],
                        [options.xserver_pid, options.sound_pid],
                    )
                )
            for key, value in measured.items():
                figures[program.key].setdefault(key, []).append(value)
            print(f"  round {round_number + 1} {program.label}: " + describe(measured), flush=True)
    return figures


def describe(measured):
    parts = []
    if "cold" in measured:
        parts.append(f"start {measured['cold']:.0f} ms / {measured['warm']:.0f} ms")
        parts.append(f"idle {measured['idle']:.1f} MiB ({measured['idleanon']:.1f} anonymous)")
    if "open" in measured:
        parts.append(f"clip open {measured['open']:.0f} ms")
        parts.append(f"playing {measured['cpu']:.1f} % CPU, peak {measured['peak']:.1f} MiB")
        parts.append(f"anonymous {measured['anon']:.1f} MiB")
    return ", ".join(parts)


def load_note(when):
    load = os.getloadavg()[0]
    busy = "; the machine is busy, so times are longer and noisier" if load > 1.5 else ""
    print(f"load average {when}: {load:.2f}{busy}")


def main():
    options = arguments()
    work = options.work = options.work or tempfile.mkdtemp(prefix="korvel-bench-")
    session = Session(work, XWatch())
    progs = programs(os.path.abspath(options.korvel)) + floors(options)
    print(f"side by side: {options.rounds} rounds, programs alternating; logs in {work}/logs")
    load_note("before")
    for program in progs:
        warm_up(session, program)
    figures = run_rounds(session, progs, options)
    # Each picture path with the same requests: the software picture, and OpenGL (Mesa's
    # llvmpipe where the machine has no graphics processor).
    handoff, controls = {}, {}
    for picture in PICTURES:
        handoff[picture] = measure_handoffs(session, progs[0], options, picture)
        mpv = next((program for program in progs if program.key == "mpv"), None)
        controls[picture] = measure_controls(session, progs[0], options, picture, mpv)
    large = measure_large_clips(session, progs, options) if options.large_rounds > 0 else {}
    load_note("after")
    print_report(progs, figures, handoff, controls, options)
    if large:
        print_large(large, options.large_rounds)


if __name__ == "__main__":
    try:
        main()
    except BenchError as failure:
        print(f"benchmark failed: {failure}", file=sys.stderr)
        sys.exit(1)
