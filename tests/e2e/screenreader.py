#!/usr/bin/python3
"""What a screen reader gets from Quillet through AT-SPI; called by e2e_screenreader.sh.

  screenreader.py names TITLE         every focusable control shown in the window TITLE has a name
  screenreader.py caret LINE COLUMN   the focused editor's caret is at COLUMN of its line LINE,
                                      and the selection is empty
  screenreader.py selection TEXT      the focused editor's selection is TEXT

Exits 1 with what it found when the answer is wrong or the object is not found.
"""
import sys

import pyatspi


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "quillet":
            return app
    sys.exit("no application named quillet on the accessibility bus")


def window(title):
    for w in program():
        if w is not None and w.name.strip() == title.strip():
            return w
    names = [w.name for w in program() if w is not None]
    sys.exit(f"no window titled {title!r}; windows: {names}")


def walk(node, path=""):
    for i, child in enumerate(node):
        if child is None:
            continue
        here = f"{path}/{child.getRoleName()}[{i}]"
        yield child, here
        yield from walk(child, here)


def names(title):
    unnamed = []
    count = 0
    for node, path in walk(window(title)):
        states = node.getState()
        if not (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)):
            continue
        count += 1
        if not node.name.strip():
            unnamed.append(f"{path} holding {[c.name or c.getRoleName() for c in node][:4]}")
    if count == 0:
        sys.exit(f"{title!r}: no focusable control found")
    if unnamed:
        sys.exit(f"{title!r}: focusable controls without a name:\n  " + "\n  ".join(unnamed))
    print(f"{title!r}: {count} focusable controls, all named")


def editor():
    for w in program():
        if w is None:
            continue
        for node, _ in walk(w):
            states = node.getState()
            if states.contains(pyatspi.STATE_FOCUSED) and states.contains(pyatspi.STATE_MULTI_LINE):
                return node.queryText()
    sys.exit("no focused multi-line text")


def caret(line, column):
    text = editor()
    offset = text.caretOffset
    got, start, _ = text.getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_LINE_START)
    got = got.rstrip("\r\n")
    if got != line or offset - start != int(column):
        sys.exit(f"caret line {got!r} at column {offset - start}, wanted {line!r} at column {column}")
    if text.getNSelections() != 0:
        sys.exit(f"a selection where none was made: {text.getSelection(0)}")
    print(f"caret at column {column} of {got!r}")


def selection(wanted):
    text = editor()
    if text.getNSelections() != 1:
        sys.exit(f"{text.getNSelections()} selections, wanted one")
    start, end = text.getSelection(0)
    got = text.getText(start, end)
    if got != wanted:
        sys.exit(f"selection {got!r}, wanted {wanted!r}")
    print(f"selection {got!r}")


if __name__ == "__main__":
    commands = {"names": names, "caret": caret, "selection": selection}
    if len(sys.argv) < 3 or sys.argv[1] not in commands:
        sys.exit(__doc__)
    commands[sys.argv[1]](*sys.argv[2:])
