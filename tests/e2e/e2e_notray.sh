#!/usr/bin/env bash
# Without a notification area the icon counts as not active: "/MiniTray" leaves the window on
# screen, and closing it ends the program after asking about a modified document.
#
# Usage: bash tests/e2e/e2e_notray.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

start_quillet /MiniTray
wait_for_window
step "the window stays shown after the /MiniTray second"
sleep 2
xwininfo -id "$QWIN" | grep -q IsViewable || fail "the window was hidden without a notification area"

step "closing asks about the modified document and ends the program"
t="$(xdotool search --onlyvisible --name '^Quillet Tips$' 2>/dev/null | head -n 1)"
[ -n "$t" ] && { focus_window "$t"; xdotool key Escape; sleep 0.3; }
focus_window
type_text "unsaved"
key alt+F4
wait_dialog "Quillet -Confimation Required"
xdotool key --clearmodifiers n
wait_quillet_exit 10
