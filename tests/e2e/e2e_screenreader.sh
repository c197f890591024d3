#!/usr/bin/env bash
# Screen readers end to end, through AT-SPI as Orca reads the program: every focusable control of
# the main window and of each window the keyboard opens has a name; in those windows, on each of
# their pages, Tab reaches every such control; and the editor tells the text of the caret's line,
# the caret's place in it and the selection after a person typed.
#
# Usage: bash tests/e2e/e2e_screenreader.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
own_session_bus "$@"
e2e_init "$@"
start_accessibility

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
