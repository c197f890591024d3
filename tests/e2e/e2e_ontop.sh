#!/usr/bin/env bash
# Windows that stay on top never hide a dialog: with Stay-On-Top on, Options, Utility Options and
# About open above the main window and belong to it (WM_TRANSIENT_FOR); with the on-top ClipBook
# up, the naming window opens above it, and its error box above the naming window.
#
# Usage: bash tests/e2e/e2e_ontop.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# above UPPER LOWER WHAT: UPPER is stacked above LOWER.
above() {
  local stacking upper lower
  stacking="$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' |
    while read -r w; do printf '%d\n' "$w"; done)"
  upper="$(grep -n -x "$1" <<<"$stacking" | cut -d: -f1)"
  lower="$(grep -n -x "$2" <<<"$stacking" | cut -d: -f1)"
  [ -n "$upper" ] && [ -n "$lower" ] && [ "$upper" -gt "$lower" ] ||
    fail "$3 is not above its opener (stacking, bottom first: $(echo $stacking))"
}

# belongs WIN OWNER WHAT: WIN is transient for OWNER.
belongs() {
  xprop -id "$1" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$2")\$" ||
    fail "$3 does not belong to its opener: $(xprop -id "$1" WM_TRANSIENT_FOR)"
}

start_quillet
wait_for_window
sleep 1
tips="$(xdotool search --onlyvisible --name '^Quillet Tips$' 2>/dev/null | head -n 1)"
if [ -n "$tips" ]; then focus_window "$tips"; key Escape; wait_gone "Quillet Tips"; fi
QWIN="$(xdotool search --onlyvisible --name '^Quillet  - ' | head -n 1)"
focus_window

step "Stay-On-Top on: the dialogs open above the main window and belong to it"
key ctrl+t
sleep 0.5
xprop -id "$QWIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "Ctrl+T did not keep the window on top"
for dialog in "ctrl+shift+p:Quillet Options" "ctrl+F3:Utility Options" "ctrl+F1:About Quillet"; do
  focus_window
  key "${dialog%%:*}"
  wait_dialog "${dialog#*:}"
  sleep 0.3
  above "$DWIN" "$QWIN" "${dialog#*:}"
  belongs "$DWIN" "$QWIN" "${dialog#*:}"
  key Escape
  wait_gone "${dialog#*:}"
done

step "the naming window opens above the on-top ClipBook, and its error box above it"
focus_window
key ctrl+t
sleep 0.3
key ctrl+b
wait_dialog "ClipBook"
clip="$DWIN"
xprop -id "$clip" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the ClipBook is not kept on top"
focus_window
key alt+t n
wait_dialog "Add New Template"
naming="$DWIN"
sleep 0.3
above "$naming" "$clip" "the naming window"
# A name the system cannot take brings an error box.
xdotool type --clearmodifiers --delay 2 -- "$(printf 'x%.0s' $(seq 1 300))"
key Return
wait_dialog "Quillet"
sleep 0.3
above "$DWIN" "$naming" "the naming window's error box"
above "$DWIN" "$clip" "the naming window's error box"
import -window root "$E2E_ROOT/ontop.png"
key Return
wait_dialog "Add New Template"
key Escape
wait_gone "Add New Template"

step "done"
exit 0
