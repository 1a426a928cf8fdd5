#!/usr/bin/python3
"""A small assistive-technology client over AT-SPI, as a screen reader sees a program.

    a11y-client.py list TITLE          each element of the window TITLE, one a line:
                                       role|name|states|value (min..max)|actions
    a11y-client.py focused TITLE       the name of the element that has the focus
    a11y-client.py act TITLE NAME ACTION  runs the action of the element named NAME
    a11y-client.py listen SECONDS      the events a reader hears (focus, values, notices shown)
                                       for SECONDS, one a line once "listening" is printed:
                                       event|detail|role|name|window

The window is looked up among the programs on the accessibility bus, for up to 20 seconds.
"""
import sys
import time

import pyatspi
from gi.repository import GLib


def window(title):
    deadline = time.monotonic() + 20
    while True:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None:
                continue
            for frame in app:
                if frame is not None and frame.name == title:
                    return frame
        if time.monotonic() > deadline:
            sys.exit(f"no window '{title}' on the accessibility bus")
        time.sleep(0.2)


def leaves(node):
    """The elements: everything below the window that has no children of its own."""
    for child in node:
        if child is None:
            continue
        if child.childCount == 0:
            yield child
        else:
            yield from leaves(child)


def states(element):
    return sorted(s.value_nick for s in element.getState().getStates())


def value(element):
    try:
        v = element.queryValue()
    except NotImplementedError:
        return ""
    return f"{v.currentValue:g} ({v.minimumValue:g}..{v.maximumValue:g})"


def actions(element):
    try:
        a = element.queryAction()
    except NotImplementedError:
        return []
    return [a.getName(i) for i in range(a.nActions)]


def describe(element):
    return "|".join([element.getRoleName(), element.name, ",".join(states(element)),
                     value(element), ",".join(actions(element))])


# What a reader listens for: the focus, a value that changes, and a notice that shows.
HEARD = ["focus:", "object:state-changed:focused", "object:state-changed:showing",
         "object:property-change:accessible-value", "object:value-changed"]


def window_of(node):
    """The name of the top-level window that holds the element."""
    while node is not None:
        parent = node.parent
        if parent is None or parent.getRole() == pyatspi.ROLE_APPLICATION:
            return node.name
        node = parent
    return ""


def heard(event):
    try:
        source = event.source
        line = [event.type, str(event.detail1), source.getRoleName(), source.name,
                window_of(source)]
    except Exception as error:  # the element may be gone by now
        line = [event.type, str(event.detail1), "?", str(error), "?"]
    print("|".join(line), flush=True)


def listen(seconds):
    for kind in HEARD:
        pyatspi.Registry.registerEventListener(heard, kind)
    # The program learns of a new listener over the bus; it is told before the test goes on.
    GLib.timeout_add(1000, lambda: print("listening", flush=True) and False)
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()


def main(argv):
    if argv[1] == "listen":
        listen(float(argv[2]))
        return
    # The player registers its elements anew as the bus tells it a reader has come: an element
    # listed a moment before may be gone. A reader then asks again, and so does this.
    for attempt in range(5):
        try:
            return run(argv)
        except GLib.GError as error:
            if "No such object path" not in str(error) or attempt == 4:
                raise
            time.sleep(0.5)


def run(argv):
    command, title = argv[1], argv[2]
    elements = list(leaves(window(title)))
    # Each answer is whole before any of it is printed: an element gone halfway asks again.
    if command == "list":
        print("\n".join([describe(element) for element in elements]))
    elif command == "focused":
        print("\n".join([e.name for e in elements if "focused" in states(e)]))
    elif command == "act":
        name, action = argv[3], argv[4]
        matching = [e for e in elements if e.name == name]
        if not matching:
            sys.exit(f"no element named '{name}'")
        names = actions(matching[0])
        if action not in names:
            sys.exit(f"'{name}' has no action '{action}', only {names}")
        if not matching[0].queryAction().doAction(names.index(action)):
            sys.exit(f"the action '{action}' of '{name}' failed")
    else:
        sys.exit(f"unknown command {command}")


if __name__ == "__main__":
    main(sys.argv)
