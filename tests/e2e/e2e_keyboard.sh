#!/usr/bin/env bash
# Keyboard and view end to end: typing lands in the editor straight after start and after New;
# Enter on the close question keeps the modified document; after a word-wrap toggle the caret's
# line is on screen; in the options window Enter presses the focused button, not OK.
#
# Usage: bash tests/e2e/e2e_keyboard.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

DOC="$E2E_FILES/long.txt"
# 300 numbered lines of 200 characters: wrapping turns each into several screen lines.
for n in $(seq 1 300); do
  printf 'L%03d %0195d\r\n' "$n" 0
done >"$DOC"

start_quillet
wait_for_window
wait_title "Quillet  - Untitled"

step "typing at once after start, and after Ctrl+N, goes into the documents"
type_text "first"
key ctrl+n
type_text "second"
key shift+F7
wait_store_holding "first"
wait_store_holding "second"

step "Enter on the close question keeps the modified document"
key F7 ctrl+F4
wait_dialog "Quillet -Confimation Required"
key Return
wait_gone "Quillet -Confimation Required"
type_text "!"
key shift+F7
wait_store_holding "second!"

step "options window: Enter on a focused button presses it and keeps the window"
key ctrl+shift+p
wait_dialog "Quillet Options"
key alt+4 alt+p
wait_dialog "Select Color"
key Escape
wait_gone "Select Color"
focus_window "$(xdotool search --onlyvisible --name '^Quillet Options$' | head -n 1)"
key Return
wait_dialog "Select Color"
key Escape
wait_gone "Select Color"
xdotool search --onlyvisible --name '^Quillet Options$' >/dev/null || fail "the options window closed"
key Escape
wait_gone "Quillet Options"

step "restarting with a file of 300 long lines"
kill -KILL "$QUILLET_PID"
wait_quillet_exit 10
# The killed run's unsaved documents would come back as recovered tabs; this part starts afresh.
rm -rf "$XDG_STATE_HOME/Quillet/recovery"
start_quillet "$DOC"
wait_for_window
wait_title "Quillet  - long.txt"
step "after wrap off, Ctrl+End and wrap on, the caret's line (the last) is on screen"
# Wrapping is on at a first start: unwrapped, the end is on screen; wrapped again, each line
# takes several screen lines, and without scrolling the view would stop well above the caret.
key ctrl+w ctrl+End ctrl+w
sleep 0.5
# A click in the middle of the window puts the caret on a line on screen; a letter typed there
# and saved shows which line that was.
eval "$(xdotool getwindowgeometry --shell "$QWIN")"
xdotool mousemove --window "$QWIN" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
type_text "X"
key ctrl+s
for _ in $(seq 1 50); do
  line="$(grep -n 'X' "$DOC" | head -n 1 | cut -d: -f1)"
  [ -n "$line" ] && break
  sleep 0.1
done
[ -n "$line" ] || fail "the typed X is not in long.txt"
[ "$line" -ge 290 ] || fail "mid-window after the wrap toggle is line $line, far above the caret on the last line"

step "done"
exit 0
