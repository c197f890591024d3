#!/usr/bin/env bash
# Screen readers end to end, through AT-SPI as Orca reads the program: every focusable control of
# the main window and of each window the keyboard opens has a name; in those windows, on each of
# their pages, Tab reaches every such control; and the editor tells the text of the caret's line,
# the caret's place in it and the selection after a person typed.
#
# Usage: bash tests/e2e/e2e_screenreader.sh /path/to/quillet

# A session bus of our own, on which the accessibility bus starts when the program asks for it;
# lib.sh forgets any inherited bus, so its address is kept across.
if [ -z "${E2E_SESSION_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "dbus-run-session is not installed" >&2; exit 1; }
  exec dbus-run-session -- env E2E_SESSION_BUS=1 bash "$0" "$@"
fi
bus="$DBUS_SESSION_BUS_ADDRESS"

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
export DBUS_SESSION_BUS_ADDRESS="$bus" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
reader() { /usr/bin/python3 "$(dirname "$0")/screenreader.py" "$@"; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"

# until COMMAND...: the reader must agree within 10 s (the tree follows the windows a little late).
until_reader() {
  local i out
  for i in $(seq 1 50); do
    out="$(reader "$@" 2>&1)" && { log "$out"; return 0; }
    sleep 0.2
  done
  fail "$out"
}

start_quillet
wait_for_window

step "the main window's controls are named"
until_reader names "Quillet  - Untitled"

# window KEYS TITLE: in the window the keys open, on each page, the controls are named and Tab
# reaches them all; Esc closes it.
window() {
  step "the controls of '$2' are named and reached by Tab"
  key $1 # one or more keys
  wait_dialog "$2"
  keyboard "$2"
  key Escape
  wait_gone "$2"
  focus_window
}
keyboard() {
  local out
  until_reader names "$1"
  out="$(reader keyboard "$1" 2>&1)" || fail "$out"
  log "$out"
}
window ctrl+shift+p "Quillet Options"
window ctrl+F3 "Utility Options"
window ctrl+g "Goto Line... "
window ctrl+F1 "About Quillet"
window ctrl+b "ClipBook"
window ctrl+f "ClipBook Files"
window ctrl+d "Document Selector"
window ctrl+shift+t "Quillet Tips"
# Find And Replace has no shortcut of its own: Edit, then its letter.
window "alt+e f" "Replace"
window "alt+o c" "Quillet Configuration"
window "alt+t n" "Add New Template"

# Find alone is a tool button, which Tab does not reach in any program's tool bar; a screen
# reader's user presses it through the reader.
step "the controls of 'Find' are named and reached by Tab"
until_reader activate "Quillet  - Untitled" Find
wait_dialog "Find"
keyboard "Find"
key Escape
wait_gone "Find"
focus_window

step "the editor tells the caret's line and place"
type_text "first line"
key Return
type_text "second"
until_reader caret second 6
key Left Left
until_reader caret second 4

step "the editor tells the selection"
key shift+Home
until_reader selection seco

step "done"
exit 0
