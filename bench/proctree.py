"""What a process tree costs, read from /proc: memory in KiB, processor time in seconds."""

import os

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def process_tree(root_pid):
    """The pid and every live descendant of it."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                fields = stat.read().rsplit(b")", 1)[1].split()
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(entry))
    tree, todo = [], [root_pid]
    while todo:
        pid = todo.pop()
        tree.append(pid)
        todo.extend(children.get(pid, []))
    return tree


def status_number(path, key):
    """The number after "key:" in a /proc status file, 0 when it or the file is gone."""
    try:
        with open(path) as status:
            for line in status:
                if line.startswith(key + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def status_kib(pid, key):
    return status_number(f"/proc/{pid}/status", key)


def tree_kib(root_pid, key):
    """VmRSS or VmHWM summed over the process tree, in KiB."""
    return sum(status_kib(pid, key) for pid in process_tree(root_pid))


def cpu_seconds(pid):
    """utime + stime of the process, all its threads, finished ones included."""
    try:
        with open(f"/proc/{pid}/stat", "rb") as stat:
            fields = stat.read().rsplit(b")", 1)[1].split()
    except OSError:
        return 0.0
    # After the command name: state is field 0, utime 11, stime 12.
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def tree_context_switches(root_pid):
    """How often every thread of the tree has been switched out so far: each sleep that ends
    in a wakeup counts once, each preemption too."""
    total = 0
    for pid in process_tree(root_pid):
        try:
            tasks = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for tid in tasks:
            path = f"/proc/{pid}/task/{tid}/status"
            total += status_number(path, "voluntary_ctxt_switches")
            total += status_number(path, "nonvoluntary_ctxt_switches")
    return total


def tree_cpu_seconds(root_pid):
    return sum(cpu_seconds(pid) for pid in process_tree(root_pid))


def minor_faults(pid):
    try:
        with open(f"/proc/{pid}/stat", "rb") as stat:
            return int(stat.read().rsplit(b")", 1)[1].split()[7])
    except OSError:
        return 0


def shared_objects(pid):
    """How many distinct shared libraries the process has mapped."""
    found = set()
    try:
        with open(f"/proc/{pid}/maps") as maps:
            for line in maps:
                parts = line.split(maxsplit=5)
                if len(parts) == 6 and ".so" in parts[5].rsplit("/", 1)[-1]:
                    found.add(parts[5].strip())
    except OSError:
        pass
    return len(found)


def anonymous_kib(root_pid):
    """Private dirty memory of the process tree (smaps_rollup), what the machine pays."""
    total = 0
    for pid in process_tree(root_pid):
        try:
            with open(f"/proc/{pid}/smaps_rollup") as rollup:
                for line in rollup:
                    if line.startswith("Private_Dirty:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total
