#!/usr/bin/python3
"""What a screen reader sees of a program's window on the AT-SPI bus, one fact a line; the
script judges them.

  atspi-tree.py ping                    one call, which starts the registry
  atspi-tree.py window PID TITLE SECS   waits for a shown window of that title of the process,
                                        then prints it and everything in it:
      window ROLE "NAME"
      control ROLE "NAME" STATE,... [labelled-by "NAME"]
      focus ROLE "NAME"                 the control with the focus, if any
      described ROLE "NAME" "TEXT"      the window's or a control's description, if it has one
  atspi-tree.py text PID TITLE SECS     the window's first text box as a reader asks it, each
                                        question given a second:
      caret OFFSET
      selection START END
      at OFFSET BOUNDARY START END "TEXT"        getTextAtOffset
      unanswered QUESTION                        no answer within the second
      answers "NAME"                    asked once more at the end: the program still answers
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


def described(accessible):
    if accessible.description:
        print("described %s %s %s" % (accessible.getRoleName(), quoted(accessible.name),
                                      quoted(accessible.description)))


def dump(window):
    print("window %s %s" % (window.getRoleName(), quoted(window.name)))
    described(window)
    focus = None
    pending = list(children(window))
    while pending:
        control = pending.pop(0)
        line = "control %s %s %s" % (control.getRoleName(), quoted(control.name), states_of(control))
        label = labelled_by(control)
        if label is not None:
            line += " labelled-by " + label
        print(line)
        described(control)
        if control.getState().contains(pyatspi.STATE_FOCUSED):
            focus = control
        pending.extend(children(control))
    if focus is not None:
        print("focus %s %s" % (focus.getRoleName(), quoted(focus.name)))


BOUNDARIES = [
    (pyatspi.TEXT_BOUNDARY_CHAR, "char"),
    (pyatspi.TEXT_BOUNDARY_WORD_START, "word-start"),
    (pyatspi.TEXT_BOUNDARY_WORD_END, "word-end"),
    (pyatspi.TEXT_BOUNDARY_SENTENCE_START, "sentence-start"),
    (pyatspi.TEXT_BOUNDARY_SENTENCE_END, "sentence-end"),
    (pyatspi.TEXT_BOUNDARY_LINE_START, "line-start"),
    (pyatspi.TEXT_BOUNDARY_LINE_END, "line-end"),
]


def first_text(accessible):
    pending = list(children(accessible))
    while pending:
        control = pending.pop(0)
        if control.getRole() == pyatspi.ROLE_TEXT:
            return control
        pending.extend(children(control))
    return None


def ask_text(box):
    from gi.repository import Atspi

    Atspi.set_timeout(1000, 1000)  # a hung program answers nothing: each question a second
    text = box.queryText()
    count = text.characterCount

    def asked(what, call):
        try:
            return call()
        except Exception:
            print("unanswered " + what)
            return None

    caret = asked("caret", lambda: text.caretOffset)
    if caret is not None:
        print("caret %d" % caret)
    if asked("selections", lambda: text.getNSelections()):
        start, end = text.getSelection(0)
        print("selection %d %d" % (start, end))
    for offset in range(count + 1):
        for boundary, name in BOUNDARIES:
            got = asked("at %d %s" % (offset, name),
                        lambda: text.getTextAtOffset(offset, boundary))
            if got is not None:
                print("at %d %s %d %d %s" % (offset, name, got[1], got[2], quoted(got[0])))
    name = asked("name", lambda: box.name)
    if name is not None:
        print("answers " + quoted(name))


def main(argv):
    if len(argv) == 2 and argv[1] == "ping":
        pyatspi.Registry.getDesktop(0).childCount
        return 0
    if len(argv) == 5 and argv[1] in ("window", "text"):
        pid, title, deadline = int(argv[2]), argv[3], time.monotonic() + float(argv[4])
        while True:
            window = find_window(pid, title)
            box = first_text(window) if window is not None and argv[1] == "text" else None
            if window is not None and argv[1] == "window":
                dump(window)
                return 0
            if box is not None:
                ask_text(box)
                return 0
            if time.monotonic() >= deadline:
                print("atspi-tree: no window %s of process %d" % (quoted(title), pid))
                return 1
            time.sleep(0.2)
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
