#!/usr/bin/python3
"""What a screen reader gets from Quillet through AT-SPI; called by e2e_screenreader.sh,
e2e_highdensity.sh and e2e_darkpalette.sh.

  screenreader.py names TITLE         every focusable control shown in the window TITLE has a name
  screenreader.py keyboard TITLE      on each page of the window TITLE (Ctrl+Tab turns them), every
                                      focusable control shown has a name and Tab reaches it
  screenreader.py fits TITLE          on each page of the window TITLE, every part shown lies within
                                      the window's edges
  screenreader.py where TITLE NAME    prints WxH+X+Y of the part NAME (a name, or else a role) shown
                                      in the window TITLE
  screenreader.py activate TITLE NAME does the action of the control NAME in the window TITLE, as a
                                      screen reader's user can where the keyboard does not go
  screenreader.py caret LINE COLUMN   the focused editor's caret is at COLUMN of its line LINE,
                                      and the selection is empty
  screenreader.py selection TEXT      the focused editor's selection is TEXT

Exits 1 with what it found when the answer is wrong or the object is not found.
"""
import subprocess
import sys
import time

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


# Controls whose items the arrows reach once the control has focus, not Tab.
ITEM_HOLDERS = {pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TREE, pyatspi.ROLE_TABLE,
                pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_COMBO_BOX}


def shown_controls(node, path=""):
    """The stops Tab has to reach, each as (its nodes, its path): the focusable, enabled controls
    shown with everything above them that hold no such control themselves (a window or panel is no
    stop of its own). The radio buttons of one group are one stop; the arrows choose among them."""
    found = []
    radios = None
    for i, child in enumerate(node):
        if child is None:
            continue
        states = child.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            continue
        here = f"{path}/{child.getRoleName()}[{i}]"
        inner = [] if child.getRole() in ITEM_HOLDERS else shown_controls(child, here)
        if inner:
            found += inner
        elif not (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SENSITIVE)):
            continue
        elif child.getRole() == pyatspi.ROLE_RADIO_BUTTON:
            if radios is None:
                radios = ([], here)
                found.append(radios)
            radios[0].append(child)
        else:
            found.append(([child], here))
    return found


def focused(controls):
    for nodes, path in controls:
        if any(n.getState().contains(pyatspi.STATE_FOCUSED) for n in nodes):
            return path
    return None


def press(keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys.split()], check=True)


def wait_focus_moved(controls, before, seconds=5.0):
    """Where the focus went; the old place when it did not move within the time. Between two
    controls none may say it has the focus for a moment: that is no place yet."""
    deadline = time.monotonic() + seconds
    now = focused(controls)
    while now in (before, None) and time.monotonic() < deadline:
        time.sleep(0.05)
        now = focused(controls)
    return now


def describe(controls, paths):
    stops = {path: nodes for nodes, path in controls}
    return "\n  ".join(
        f"{stops[p][0].getRoleName()} {' / '.join(repr(n.name) for n in stops[p])} at {p}" for p in paths)


def reach_by_tab(title, page):
    """Presses Tab until every stop had the focus; the ones it never reached are faults."""
    controls = shown_controls(window(title))
    left = {path for _, path in controls}
    now = focused(controls)
    left.discard(now)
    stalls = 0
    presses = 0
    while left and presses < 2 * len(controls) + 4 and stalls < 2:
        press("Tab")
        presses += 1
        moved = wait_focus_moved(controls, now)
        stalls = stalls + 1 if moved == now else 0
        now = moved
        left.discard(now)
    if left:
        stuck = f" (the focus stayed at {now})" if stalls else ""
        return [f"{title!r}{page}: Tab never reached, in {presses} presses{stuck}:\n  " +
                describe(controls, sorted(left))]
    print(f"{title!r}{page}: Tab reached all {len(controls)} stops in {presses} presses")
    return []


def page_tabs(title):
    for node, _ in walk(window(title)):
        if node.getRole() == pyatspi.ROLE_PAGE_TAB_LIST and node.getState().contains(pyatspi.STATE_SHOWING):
            return node
    return None


def on_each_page(title, check):
    """check(page) on each page of the window TITLE, turned with Ctrl+Tab; exits with the faults
    it returned, if any."""
    tabs = page_tabs(title)
    pages = sum(1 for t in tabs if t is not None and t.getRole() == pyatspi.ROLE_PAGE_TAB) if tabs is not None else 1
    faults = []
    for turn in range(pages):
        faults += check(f" page {tabs.name!r}" if tabs is not None else "")
        if turn + 1 < pages:
            before = tabs.name
            press("ctrl+Tab")
            deadline = time.monotonic() + 5
            while tabs.name == before and time.monotonic() < deadline:
                time.sleep(0.05)
            if tabs.name == before:
                sys.exit(f"{title!r}: Ctrl+Tab left the page {before!r}")
    if faults:
        sys.exit("\n".join(faults))


def keyboard(title):
    def check(page):
        faults = []
        try:
            names(title)
        except SystemExit as unnamed:
            faults.append(f"{unnamed}{page}")
        return faults + reach_by_tab(title, page)

    on_each_page(title, check)


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def outside(title, page, slack=2):
    """The shown controls of the window that reach past its edges by more than slack pixels
    (rounding at a fractional scale moves an edge by one)."""
    frame = extents(window(title))
    faults = []
    count = 0

    # Its own walk, not walk(): a hidden part's subtree is left out whole, as the items of a combo
    # box's closed list say they are showing.
    def visit(node, path):
        nonlocal count
        for i, child in enumerate(node):
            if child is None or not child.getState().contains(pyatspi.STATE_SHOWING):
                continue
            here = f"{path}/{child.getRoleName()}[{i}]"
            box = extents(child)
            if box.width > 0 and box.height > 0:
                count += 1
                if (box.x < frame.x - slack or box.y < frame.y - slack or
                        box.x + box.width > frame.x + frame.width + slack or
                        box.y + box.height > frame.y + frame.height + slack):
                    faults.append(f"{child.getRoleName()} {child.name!r} at {here}: "
                                  f"{box.width}x{box.height}+{box.x}+{box.y}")
            visit(child, here)

    visit(window(title), "")
    where = f"{frame.width}x{frame.height}+{frame.x}+{frame.y}"
    if faults:
        return [f"{title!r}{page}: past the window's edges ({where}):\n  " + "\n  ".join(faults)]
    print(f"{title!r}{page}: all {count} shown parts lie within {where}")
    return []


def fits(title):
    on_each_page(title, lambda page: outside(title, page))


def where(title, name):
    """Prints WxH+X+Y of the shown part of the window named NAME (or, wanting a name, of that role)."""
    for node, _ in walk(window(title)):
        if name in (node.name, node.getRoleName()) and node.getState().contains(pyatspi.STATE_SHOWING):
            box = extents(node)
            print(f"{box.width}x{box.height}+{box.x}+{box.y}")
            return
    sys.exit(f"{title!r}: nothing shown named {name!r}")


def activate(title, name):
    for node, _ in walk(window(title)):
        if node.name == name and node.getState().contains(pyatspi.STATE_SHOWING):
            action = node.queryAction()
            if action.nActions > 0:
                action.doAction(0)
                print(f"{title!r}: did {action.getName(0)!r} on {node.getRoleName()} {name!r}")
                return
    sys.exit(f"{title!r}: nothing shown named {name!r} has an action")


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
    commands = {"names": names, "keyboard": keyboard, "fits": fits, "where": where, "activate": activate, "caret": caret, "selection": selection}
    if len(sys.argv) < 3 or sys.argv[1] not in commands:
        sys.exit(__doc__)
    commands[sys.argv[1]](*sys.argv[2:])
