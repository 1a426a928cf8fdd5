"""Korvel's hand-off: a second start with a clip while a first one plays, on a picture path
(sw or gl) the first one was started with. The switch is over when the playback window's
title has become the new clip's title; the second start is over when its process has ended.
Hand-offs run back to back, alternating two clips."""

import subprocess
import threading
import time

from report import SLOW_SWITCH_MS
from session import BenchError, sleep_until, tail
from xwatch import Timeout

SWITCH_TIMEOUT = 5.0


def exit_time(process, box):
    process.wait()
    box.append(time.monotonic())


def one_handoff(session, korvel, window, clip, title):
    """Milliseconds from exec of the second start to the switch, and to its return."""
    run = session.launch(korvel, korvel.play + [clip])
    ended = []
    waiter = threading.Thread(target=exit_time, args=(run.process, ended), daemon=True)
    waiter.start()
    try:
        switched = session.watch.wait_title(window, title, run.started + SWITCH_TIMEOUT)
    except Timeout:
        switched = None
    waiter.join(SWITCH_TIMEOUT)
    if not ended:
        session.stop(run)
        raise BenchError(f"a second start had not returned after {SWITCH_TIMEOUT:.0f} s")
    if run.process.returncode != 0:
        raise BenchError(f"a second start failed; see {run.log}:\n{tail(run.log)}")
    returned = (ended[0] - run.started) * 1000
    return (None if switched is None else (switched - run.started) * 1000), returned


def trivial_starts(path, count):
    """Milliseconds from exec to exit of a program that does nothing."""
    times = []
    for _ in range(count):
        started = time.monotonic()
        subprocess.run([path], check=True, stdout=subprocess.DEVNULL)
        times.append((time.monotonic() - started) * 1000)
    return times


def start_playing(session, korvel, options, picture):
    """Korvel playing the first clip on the picture path `picture` (sw or gl), a second after
    its first window was mapped: the run and the playback window, titled with the clip."""
    session.fresh(korvel)
    first = session.launch(korvel, korvel.play + [options.clips[0]], {"KORVEL_PICTURE": picture})
    _, _, mapped = session.wait_window(first)
    try:
        window = session.watch.titled(first.pids(), options.titles[0], mapped + SWITCH_TIMEOUT)
    except Timeout:
        session.stop(first)
        raise BenchError(f"the playback window ({picture}) never showed the clip's title")
    session.watch.follow_title(window)
    sleep_until(mapped + 1.0)
    return first, window


def measure_handoffs(session, korvel, options, picture):
    first, window = start_playing(session, korvel, options, picture)
    switches, returns, lost = [], [], 0
    try:
        for index in range(options.handoffs):
            target = (index + 1) % 2
            switch, back = one_handoff(
                session, korvel, window, options.clips[target], options.titles[target]
            )
            returns.append(back)
            if switch is None:
                lost += 1
            else:
                switches.append(switch)
    finally:
        session.stop(first)
    result = {"switch": switches, "return": returns, "lost": lost, "count": options.handoffs}
    result["slow"] = sum(1 for value in switches if value > SLOW_SWITCH_MS) + lost
    if options.trivial:
        result["trivial"] = trivial_starts(options.trivial, options.handoffs)
    return result

