"""Audacious keeps which plugins are on in its plugin registry: a header line per plugin
("iface /path/skins.so", "output /path/pulse_audio.so", ...) followed by "key value" lines,
one of which is "enabled 0" or "enabled 1"."""

import re

HEADER = re.compile(r"^(transport|playlist|input|effect|output|vis|general|iface) \S*?([^/]+)\.so$")


def edit_registry(path, wanted):
    """Sets the 'enabled' line of each plugin named in wanted (base name: value) and returns
    the names that the registry lacks, sorted."""
    with open(path) as registry:
        lines = registry.read().split("\n")
    plugin, seen = None, set()
    for index, line in enumerate(lines):
        header = HEADER.match(line)
        if header:
            plugin = header.group(2)
        elif line.startswith("enabled ") and plugin in wanted:
            lines[index] = f"enabled {wanted[plugin]}"
            seen.add(plugin)
            plugin = None
    with open(path, "w") as registry:
        registry.write("\n".join(lines))
    return sorted(set(wanted) - seen)
