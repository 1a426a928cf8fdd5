#!/usr/bin/python3
"""A small assistive-technology client over AT-SPI, as a screen reader sees a program.

    a11y-client.py list TITLE          each element of the window TITLE, one a line:
                                       role|name|states|value (min..max)|actions
    a11y-client.py focused TITLE       the name of the element that has the focus
    a11y-client.py act TITLE NAME ACTION  runs the action of the element named NAME

The window is looked up among the programs on the accessibility bus, for up to 20 seconds.
"""
import sys
import time

import pyatspi


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


def main(argv):
    command, title = argv[1], argv[2]
    elements = list(leaves(window(title)))
    if command == "list":
        for element in elements:
            print(describe(element))
    elif command == "focused":
        for element in elements:
            if "focused" in states(element):
                print(element.name)
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
