#!/usr/bin/env bash
# The notification area end to end, with trayer as the tray: closing hides the program and a
# click on the icon brings it back with the ClipBook as it was, while a click when it is shown
# leaves the side windows alone; Ctrl+T sets and clears the
# window's stay-on-top state and changes nothing else; Exit from the icon's menu asks about a modified document;
# "/MiniTray" hides the window and the tip of the day after a second and the icon brings both
# back; SIGTERM while hidden keeps the typed text for the next start; the notification area
# going away while the program is hidden brings the window back, and a new one takes the icon.
#
# Usage: bash tests/e2e/e2e_tray.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_trayer

# Prints the program's icon window inside trayer's panel.
tray_icon() {
  xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ { p = 1 }
    p && /"Quillet": \("quillet"/ { print $1; exit }'
}

click_icon() {
  local icon="" i
  for i in $(seq 1 50); do
    icon="$(tray_icon)"
    [ -n "$icon" ] && break
    sleep 0.1
  done
  [ -n "$icon" ] || fail "no Quillet icon in the notification area"
  xdotool mousemove --window "$icon" 8 8 click "${1:-1}"
}

visible() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

wait_hidden() {
  local i
  for i in $(seq 1 50); do
    visible "$1" || return 0
    sleep 0.1
  done
  fail "$2 is still shown"
}

wait_shown() {
  local i
  for i in $(seq 1 50); do
    visible "$1" && return 0
    sleep 0.1
  done
  fail "$2 is not shown"
}

dismiss_tips() {
  local t
  sleep 0.5
  t="$(xdotool search --onlyvisible --name '^Quillet Tips$' 2>/dev/null | head -n 1)"
  [ -n "$t" ] && { focus_window "$t"; xdotool key Escape; sleep 0.3; }
  focus_window
}

# "Show this dialog box next time", as the settings file keeps it.
set_tips_at_start() {
  sed -i "s/^ShowAtStart_Checked=[^\r]*/ShowAtStart_Checked=$1/" "$XDG_CONFIG_HOME/Quillet/Quillet.ini"
}

start_quillet
wait_for_window
dismiss_tips

step "Ctrl+T puts the window above the others and takes it back, changing nothing else"
key ctrl+d
wait_dialog "Document Selector"
sel="$DWIN"
main="$QWIN"
tips_shown() { xdotool search --onlyvisible --name '^Quillet Tips$' >/dev/null 2>&1; }
for state in above normal; do
  focus_window "$main"
  key ctrl+t
  sleep 1
  visible "$main" || fail "Ctrl+T replaced or hid the main window"
  if [ "$state" = above ]; then
    xprop -id "$QWIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "not above: $(xprop -id "$QWIN" _NET_WM_STATE)"
  else
    xprop -id "$QWIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && fail "still above after a second Ctrl+T"
  fi
  tips_shown && fail "Ctrl+T brought back the tip of the day"
  visible "$sel" || fail "Ctrl+T hid the document selector"
  xprop -id "$sel" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$main")" ||
    fail "the selector is no longer tied to the main window: $(xprop -id "$sel" WM_TRANSIENT_FOR)"
done
focus_window "$sel"
key Escape
wait_hidden "$sel" "the document selector"

step "closing with the ClipBook open hides both"
dismiss_tips
key ctrl+b
wait_dialog "ClipBook"
clip="$DWIN"
focus_window
key alt+F4
wait_hidden "$QWIN" "the main window"
wait_hidden "$clip" "the ClipBook"
quillet_running || fail "closing ended the program"

step "a click on the icon brings back the window and the ClipBook"
click_icon 1
# A window whose stay-on-top state changed gets a new X window at its next show (Qt does this
# for window managers that ignore the change on a hidden window).
wait_for_window
wait_shown "$clip" "the ClipBook"

step "a click on the icon while the window is shown leaves the side windows open"
# The selector was closed at the last Hide; opened since, it stays.
focus_window "$QWIN"
key ctrl+d
wait_dialog "Document Selector"
sel="$DWIN"
click_icon 1
sleep 1
wait_shown "$sel" "the document selector"
wait_shown "$clip" "the ClipBook"

step "Exit from the icon's menu asks about the modified document"
dismiss_tips
focus_window "$QWIN"
xdotool type --delay 40 unsaved
xdotool key alt+F4
wait_hidden "$QWIN" "the main window"
click_icon 3
sleep 0.5
xdotool key --clearmodifiers e
wait_dialog "Quillet -Confimation Required"
xdotool key --clearmodifiers n
wait_quillet_exit 10

step "/MiniTray hides the window and the tip of the day after a second; the icon brings both back"
# As on a first run, the tips come up with the main window.
set_tips_at_start True
start_quillet /MiniTray
wait_dialog "Quillet  - Untitled"
QWIN="$DWIN"
wait_hidden "$QWIN" "the main window after /MiniTray"
wait_gone "Quillet Tips"
quillet_running || fail "/MiniTray ended the program"
click_icon 1
wait_shown "$QWIN" "the main window"
wait_dialog "Quillet Tips"

step "SIGTERM while hidden ends the program and keeps the typed text for the next start"
t="$(xdotool search --onlyvisible --name '^Quillet Tips$' 2>/dev/null | head -n 1)"
[ -n "$t" ] && { focus_window "$t"; xdotool key Escape; sleep 0.3; }
focus_window "$QWIN"
xdotool type --delay 40 kept-while-hidden
xdotool key alt+F4
wait_hidden "$QWIN" "the main window"
kill -TERM "$QUILLET_PID"
wait_quillet_exit 10
set_tips_at_start False
# The next start opens it again: leaving it parks its exact text in a store file.
start_quillet
wait_for_window
wait_title "Quillet  - Untitled"
key shift+F7
wait_store_holding "kept-while-hidden"

step "the notification area going away while the program is hidden brings the window back"
focus_window "$QWIN"
xdotool key alt+F4
wait_hidden "$QWIN" "the main window"
# As a crashing panel would: no chance to hand the tray over.
kill -KILL "$TRAYER_PID"
wait "$TRAYER_PID" 2>/dev/null
TRAYER_PID=""
wait_shown "$QWIN" "the main window after the notification area went away"

step "a notification area that comes back shows the icon again, and closing hides to it"
start_trayer
focus_window "$QWIN"
xdotool key alt+F4
wait_hidden "$QWIN" "the main window"
click_icon 1
wait_shown "$QWIN" "the main window"
