"""The table of figures and the goals, each marked met or not met."""

import math
import os
import statistics

SLOW_SWITCH_MS = 100.0
# A large clip's CPU figure where both programs used this share of every core or more.
SATURATED = 0.9

COLUMNS = [
    ("cold", "start, first of turn", "ms", 0),
    ("warm", "start, 1 s later", "ms", 0),
    ("open", "start to the clip open", "ms", 0),
    ("idle", "idle memory (RSS)", "MiB", 1),
    ("idleanon", "idle anonymous memory", "MiB", 1),
    ("cpu", "CPU while playing", "%", 1),
    ("peak", "peak memory playing", "MiB", 1),
    ("anon", "anonymous memory playing", "MiB", 1),
]

# (figure, peer, highest ratio of Korvel's median to the peer's)
GOALS = [
    ("cold", "audacious", 1.0),
    ("cold", "mpv", 0.75),
    ("warm", "audacious", 1.0),
    ("warm", "mpv", 0.75),
    ("open", "audacious", 1.0),
    ("open", "mpv", 1.0),
    ("idle", "audacious", 1.0),
    ("cpu", "mpv", 1.05),
    # What the machine pays while playing: private memory, beside which resident memory,
    # most of it shared libraries' pages, is reported.
    ("anon", "mpv", 1.0),
    # Beside the floor of the toolkit: what Korvel adds to any Qt program's window.
    ("cold", "qtfloor", 1.3),
    ("idle", "qtfloor", 1.25),
    ("idleanon", "qtfloor", 2.0),
]

# The clip open beside what no program on this stack can avoid: the toolkit's first window
# and the engine's own clip open, one after the other.
FLOORS_OPEN_LIMIT = 1.1

SWITCH_GOAL_MS = 25.0

# mpv's own seek, over its IPC socket: the floor beneath Korvel's seeks over the desktop bus.
ENGINE_SEEK = "mpv's own seek"


def median(values):
    return statistics.median(values) if values else math.nan


def spread(values, unit, digits):
    if not values:
        return "-"
    unit = f" {unit}" if unit else ""
    return (
        f"{statistics.median(values):.{digits}f}{unit} "
        f"[{min(values):.{digits}f}-{max(values):.{digits}f}]"
    )


def verdict(met):
    return "met" if met else "NOT MET"


def print_figures(progs, figures, rounds):
    print()
    print(f"Figures: median [min-max] of {rounds} rounds")
    print(f"{'program':<28}" + "".join(f"{title:>26}" for _, title, _, _ in COLUMNS))
    for program in progs:
        row = figures[program.key]
        cells = [spread(row.get(key, []), unit, digits) for key, _, unit, digits in COLUMNS]
        print(f"{program.label:<28}" + "".join(f"{cell:>26}" for cell in cells))
    print()
    print("At the first window, first of its turn (work done, which load does not change much):")
    for program in (program for program in progs if program.starts):
        row = figures[program.key]
        print(
            f"  {program.label:<28} CPU {spread(row['cpu0'], 'ms', 0):>18},"
            f" minor page faults {spread(row['faults0'], '', 0):>18},"
            f" shared libraries mapped {statistics.median(row['libs0']):.0f}"
        )
    print()
    print("Idle with no clip, after the idle memory was read:")
    for program in (program for program in progs if program.starts):
        row = figures[program.key]
        print(f"  {program.label:<28} wakeups per second {spread(row['wakeups'], '', 1):>16}")
    print()
    print("While playing, beside each program's own CPU (not counted in it):")
    for program in (program for program in progs if program.plays):
        row = figures[program.key]
        print(
            f"  {program.label:<28} X server {spread(row['xcpu'], '%', 1):>22},"
            f" sound server {spread(row['sndcpu'], '%', 1):>22}"
        )
    print("  (Audacious plays the clip's sound only.)")


def ratio_goals(figures):
    """(figure, peer, Korvel's median, the peer's median, ratio, limit, met) for each goal
    whose peer was measured; the peer "floors" is the sum of the two floors' medians."""
    rows = []
    for key, peer, limit in GOALS:
        if peer not in figures:
            continue
        rows.append(goal_row(key, peer, median(figures["korvel"][key]),
                             median(figures[peer][key]), limit))
    if "qtfloor" in figures and "enginefloor" in figures:
        floors = median(figures["qtfloor"]["cold"]) + median(figures["enginefloor"]["open"])
        rows.append(goal_row("open", "floors", median(figures["korvel"]["open"]), floors,
                             FLOORS_OPEN_LIMIT))
    return rows


def goal_row(key, peer, ours, theirs, limit):
    ratio = ours / theirs if theirs > 0 else math.inf
    return (key, peer, ours, theirs, ratio, limit, ratio <= limit)


def handoff_goals(handoff):
    """(median switch in ms, whether it is met), (slow or lost switches, whether none)."""
    switch = median(handoff["switch"])
    return (switch, switch <= SWITCH_GOAL_MS), (handoff["slow"], handoff["slow"] == 0)


def timing_goals(times):
    """For request times in ms (None: no answer): (median of the answered, whether it is met),
    (answers over the slow mark or missing, whether there are none)."""
    answered = [value for value in times if value is not None]
    slow = sum(1 for value in times if value is None or value > SLOW_SWITCH_MS)
    switch = median(answered)
    return (switch, switch <= SWITCH_GOAL_MS), (slow, slow == 0)


def seek_floor(controls):
    """Korvel's median seek over the bus, mpv's own median seek, and their ratio; each median
    of the answered requests."""
    ours = median([value for value in controls["seek"] if value is not None])
    floor = median([value for value in controls[ENGINE_SEEK] if value is not None])
    return ours, floor, ours / floor if floor > 0 else math.inf


def print_timing_goals(name, count, goals):
    (switch, fast), (slow, none) = goals
    print(
        f"{name + ': median':<52}{switch:>9.1f} ms"
        f"{'':>24}{f'<= {SWITCH_GOAL_MS:.0f} ms':>10}  {verdict(fast)}"
    )
    label = f"{name}: over {SLOW_SWITCH_MS:.0f} ms (or none)"
    print(f"{label:<52}{slow:>6} of {count:<3}{'':>24}{'0':>10}  {verdict(none)}")


def print_goals(progs, figures, handoff, controls, rounds):
    labels = {program.key: program.short for program in progs}
    labels["floors"] = "both floors"
    units = {key: unit for key, _, unit, _ in COLUMNS}
    titles = {key: title for key, title, _, _ in COLUMNS}
    print()
    if rounds < 5:
        print(f"Only {rounds} rounds: goals are judged on 5 or more; these verdicts are a preview.")
    print(f"{'goal':<52}{'Korvel':>12}{'peer':>12}{'ratio':>9}{'goal':>10}  result")
    for key, peer, ours, theirs, ratio, limit, met in ratio_goals(figures):
        name = f"{titles[key]}: Korvel / {labels[peer]}"
        print(
            f"{name:<52}{ours:>9.1f} {units[key]:<3}{theirs:>8.1f} {units[key]:<3}"
            f"{ratio:>8.2f}x{'<= ' + format(limit, '.2f') + 'x':>10}  {verdict(met)}"
        )
    for picture, measured in handoff.items():
        print_timing_goals(f"hand-off, {picture}", measured["count"], handoff_goals(measured))
        for kind, times in controls[picture].items():
            if kind != ENGINE_SEEK:
                print_timing_goals(f"{kind} over MPRIS, {picture}", len(times), timing_goals(times))
        if ENGINE_SEEK in controls[picture]:
            ours, floor, ratio = seek_floor(controls[picture])
            name = f"seek over MPRIS, {picture}: Korvel / mpv's own"
            print(f"{name:<52}{ours:>9.1f} ms {floor:>8.1f} ms {ratio:>8.2f}x{'floor':>10}")


def print_handoff(picture, handoff):
    print()
    print(f"Hand-off on the {picture} picture, {handoff['count']} back to back:")
    print(f"  switch        {spread(handoff['switch'], 'ms', 1)}")
    print(f"  no switch within 5 s: {handoff['lost']}")
    print(f"  second start returns {spread(handoff['return'], 'ms', 1)}")
    if "trivial" in handoff:
        trivial = median(handoff["trivial"])
        print(
            f"  a program that does nothing {spread(handoff['trivial'], 'ms', 1)};"
            f" second start / it: {median(handoff['return']) / trivial:.2f}x"
        )


def print_output_lines(progs):
    print()
    print("Lines each run printed (stdout and stderr; a quiet program prints none):")
    for program in progs:
        lines = program.output_lines
        print(f"  {program.label:<28} median {statistics.median(lines):.0f}, most {max(lines)}")


def print_controls(picture, controls):
    print(f"Requests over MPRIS on the {picture} picture, request to announcement:")
    for kind, times in controls.items():
        answered = [value for value in times if value is not None]
        print(f"  {kind:<16}{spread(answered, 'ms', 1)}, unanswered {len(times) - len(answered)}")


def print_report(progs, figures, handoff, controls, options):
    print_figures(progs, figures, options.rounds)
    for picture, measured in handoff.items():
        print_handoff(picture, measured)
        print_controls(picture, controls[picture])
    print_output_lines(progs)
    print_goals(progs, figures, handoff, controls, options.rounds)


def large_goals(results, cores=None):
    """For each clip and path: (label, Korvel's and mpv's CPU medians, ratio, met), the frames
    dropped (summed over the rounds) by each with whether Korvel drops no more than mpv, the
    anonymous memory medians with their ratio and whether it is met, and whether both used
    nearly all of the machine's `cores`."""
    whole = 100 * (cores or os.cpu_count() or 1)
    rows = []
    for (label, path), row in results.items():
        ours, theirs = row["korvel"], row["mpv"]
        cpu = median([f["cpu"] for f in ours]), median([f["cpu"] for f in theirs])
        anon = median([f["anon"] for f in ours]), median([f["anon"] for f in theirs])
        dropped = sum(f["dropped"] for f in ours), sum(f["dropped"] for f in theirs)
        rows.append(
            {
                "clip": f"{label}, {path}",
                "cpu": (*cpu, cpu[0] / cpu[1], cpu[0] <= cpu[1]),
                "anon": (*anon, anon[0] / anon[1], anon[0] <= anon[1]),
                "dropped": (*dropped, dropped[0] <= dropped[1]),
                "saturated": min(cpu) >= SATURATED * whole,
            }
        )
    return rows


def print_large(results, rounds):
    print()
    print(f"Large clips at natural size, Korvel / mpv in a window of that size, {rounds} rounds:")
    print(f"{'goal':<52}{'Korvel':>12}{'mpv':>12}{'ratio':>9}{'goal':>10}  result")
    saturated = False
    for row in large_goals(results):
        ours, theirs, ratio, met = row["cpu"]
        name = f"CPU with the X server, {row['clip']}"
        cells = f"{ours:>10.1f} %{theirs:>10.1f} %{ratio:>8.2f}x"
        mark = " (both at the machine's limit)" if row["saturated"] else ""
        saturated = saturated or row["saturated"]
        print(f"{name:<52}{cells}{'<= 1.00x':>10}  {verdict(met)}{mark}")
        ours, theirs, ratio, met = row["anon"]
        name = f"anonymous memory, {row['clip']}"
        cells = f"{ours:>8.1f} MiB{theirs:>8.1f} MiB{ratio:>8.2f}x"
        print(f"{name:<52}{cells}{'<= 1.00x':>10}  {verdict(met)}")
        ours, theirs, met = row["dropped"]
        name = f"frames dropped, {row['clip']}"
        ratio = f"{ours / theirs:>8.2f}x" if theirs else f"{'':>9}"
        print(f"{name:<52}{ours:>12}{theirs:>12}{ratio}{'<= mpv':>10}  {verdict(met)}")
    if saturated:
        # Each then does what the machine lets it: what it costs shows in the frames it drops.
        print("At the machine's limit the CPU figure is what the machine has, not what each")
        print("program needs: the frames dropped tell which does more with it.")
