"""Starting and stopping the programs under comparison, each with a home of its own that is
laid anew from its template before every run, so no run sees what an earlier one left."""

import os
import shutil
import signal
import subprocess
import time
from dataclasses import dataclass, field

from proctree import process_tree
from xwatch import Timeout

WINDOW_TIMEOUT = 30.0


class BenchError(Exception):
    pass


@dataclass
class Program:
    key: str
    label: str
    short: str  # the name in the goals' lines
    idle: list  # argv with no clip
    play: list  # argv before the clip
    # Run once before the figures, after a first unmeasured start (config set-up, checks).
    prepare: object = None
    # A floor of the stack is measured only where it stands for something: the Qt floor
    # starts and idles, the engine floor opens the clip.
    starts: bool = True
    plays: bool = True
    output_lines: list = field(default_factory=list)


@dataclass
class Run:
    program: Program
    process: subprocess.Popen
    started: float
    log: str

    def pids(self):
        return set(process_tree(self.process.pid))

    def alive(self):
        return self.process.poll() is None


class Session:
    def __init__(self, work, watch):
        self.work = work
        self.watch = watch
        self.count = 0
        self.base_env = {
            key: os.environ[key]
            for key in ("PATH", "DISPLAY", "PULSE_SERVER", "DBUS_SESSION_BUS_ADDRESS", "LANG")
            if key in os.environ
        }

    def folder(self, program, part):
        return os.path.join(self.work, program.key, part)

    def home(self, program):
        return self.folder(program, "home")

    def config(self, program):
        return os.path.join(self.home(program), ".config")

    def fresh(self, program):
        """Lays the live home anew from the template and empties the runtime folder."""
        for part in ("home", "run"):
            shutil.rmtree(self.folder(program, part), ignore_errors=True)
        template = self.folder(program, "template")
        if os.path.isdir(template):
            shutil.copytree(template, self.home(program), symlinks=True)
        os.makedirs(os.path.join(self.home(program), ".cache"), exist_ok=True)
        os.makedirs(self.config(program), exist_ok=True)
        os.makedirs(self.folder(program, "run"), mode=0o700)

    def keep_as_template(self, program):
        template = self.folder(program, "template")
        shutil.rmtree(template, ignore_errors=True)
        shutil.copytree(self.home(program), template, symlinks=True)

    def env(self, program):
        env = dict(self.base_env)
        env.update(
            HOME=self.home(program),
            XDG_CONFIG_HOME=self.config(program),
            XDG_CACHE_HOME=os.path.join(self.home(program), ".cache"),
            XDG_RUNTIME_DIR=self.folder(program, "run"),
        )
        return env

    def launch(self, program, argv, extra_env=None):
        self.count += 1
        log = os.path.join(self.work, "logs", f"{self.count:03d}-{program.key}.log")
        os.makedirs(os.path.dirname(log), exist_ok=True)
        self.watch.drain()
        with open(log, "wb") as output:
            started = time.monotonic()
            process = subprocess.Popen(
                argv,
                env={**self.env(program), **(extra_env or {})},
                cwd=self.home(program),
                stdin=subprocess.DEVNULL,
                stdout=output,
                stderr=output,
                start_new_session=True,
            )
        return Run(program, process, started, log)

    def wait_window(self, run):
        """Seconds from exec to the first viewable window, and that window."""
        try:
            when, window = self.watch.first_map(
                run.pids, run.started + WINDOW_TIMEOUT, run.alive
            )
        except Timeout:
            self.stop(run)
            raise BenchError(
                f"{run.program.label} showed no window; see {run.log}:\n{tail(run.log)}"
            )
        return when - run.started, window, when

    def wait_open(self, run, title):
        """Seconds from exec to the first viewable window, and to a window titled with the
        clip's title (the clip open); that window, and when the first window was mapped."""
        try:
            mapped, titled, window = self.watch.open_times(
                run.pids, title, run.started + WINDOW_TIMEOUT, run.alive
            )
        except Timeout:
            self.stop(run)
            raise BenchError(
                f"{run.program.label} showed no window titled {title!r}; see {run.log}:\n"
                f"{tail(run.log)}"
            )
        return mapped - run.started, titled - run.started, window, mapped

    def stop(self, run, count_lines=True):
        """Ends the program as a desktop session would (SIGTERM), then waits for it; counts
        the lines it printed unless it ran with a log asked for (`count_lines`)."""
        if run.alive():
            os.killpg(run.process.pid, signal.SIGTERM)
        try:
            run.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(run.process.pid, signal.SIGKILL)
            run.process.wait()
            raise BenchError(f"{run.program.label} did not end within 10 s of SIGTERM")
        if count_lines:
            with open(run.log, errors="replace") as log:
                run.program.output_lines.append(len(log.read().splitlines()))


def tail(path, lines=15):
    with open(path, errors="replace") as log:
        return "\n".join(log.read().splitlines()[-lines:])


def sleep_until(moment):
    left = moment - time.monotonic()
    if left > 0:
        time.sleep(left)
