#!/usr/bin/python3
"""What a screen reader sees of a program's window on the AT-SPI bus, one fact a line; the
script judges them.

  atspi-tree.py ping                    one call, which starts the registry
  atspi-tree.py window PID TITLE SECS   waits for a shown window of that title of the process,
                                        then prints it and everything in it:
      window ROLE "NAME"
      control ROLE "NAME" STATE,... [labelled-by "NAME"]
      focus ROLE "NAME"                 the control with the focus, if any
"""

import sys
import time

import pyatspi


def quoted(text):
    return '"' + (text or "").replace("\\", "\\\\").replace('"', '\\"') + '"'


STATES = [
    (pyatspi.STATE_FOCUSABLE, "focusable"),
    (pyatspi.STATE_FOCUSED, "focused"),
    (pyatspi.STATE_SHOWING, "showing"),
    (pyatspi.STATE_VISIBLE, "visible"),
    (pyatspi.STATE_ENABLED, "enabled"),
]


def states_of(accessible):
    held = accessible.getState()
    names = [name for state, name in STATES if held.contains(state)]
    return ",".join(names) or "none"


def labelled_by(accessible):
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                return quoted(relation.getTarget(i).name)
    return None


def children(accessible):
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield child


def find_window(pid, title):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        try:
            if app.get_process_id() != pid:
                continue
            for window in children(app):
                if window.name == title and window.getState().contains(pyatspi.STATE_SHOWING):
                    return window
        except Exception:  # an application that left while being read
            continue
    return None


def dump(window):
    print("window %s %s" % (window.getRoleName(), quoted(window.name)))
    focus = None
    pending = list(children(window))
    while pending:
        control = pending.pop(0)
        line = "control %s %s %s" % (control.getRoleName(), quoted(control.name), states_of(control))
        label = labelled_by(control)
        if label is not None:
            line += " labelled-by " + label
        print(line)
        if control.getState().contains(pyatspi.STATE_FOCUSED):
            focus = control
        pending.extend(children(control))
    if focus is not None:
        print("focus %s %s" % (focus.getRoleName(), quoted(focus.name)))


def main(argv):
    if len(argv) == 2 and argv[1] == "ping":
        pyatspi.Registry.getDesktop(0).childCount
        return 0
    if len(argv) == 5 and argv[1] == "window":
        pid, title, deadline = int(argv[2]), argv[3], time.monotonic() + float(argv[4])
        while True:
            window = find_window(pid, title)
            if window is not None:
                dump(window)
                return 0
            if time.monotonic() >= deadline:
                print("atspi-tree: no window %s of process %d" % (quoted(title), pid))
                return 1
            time.sleep(0.2)
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
