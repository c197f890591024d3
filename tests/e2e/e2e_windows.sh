#!/usr/bin/env bash
# Windows end to end: a dialog never placed before opens centred on the main window, offers no
# minimise or maximise, and reopens where it was in the next session; one never shown in a
# session is still centred in the next; the tool bar shows pictures, not letters, on a desktop
# without an icon theme; a double click on the main window's caption strip maximises and restores
# it.
#
# Usage: bash tests/e2e/e2e_windows.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# centre WIN: prints the centre of a window's client area as "x y".
centre() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}

# near "x1 y1" "x2 y2" WHAT: the two points must be within 40 pixels on each axis.
near() {
  local a b
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  local dx=$((a[0] - b[0])) dy=$((a[1] - b[1]))
  if [ "${dx#-}" -gt 40 ] || [ "${dy#-}" -gt 40 ]; then
    fail "$3: centred at $1, the main window at $2"
  fi
}

start_quillet
wait_for_window

step "the tool bar shows coloured pictures"
import -window "$QWIN" "$E2E_ROOT/main.png" || fail "could not take a screenshot"
# Letters are one colour (dark blue text); pictures also have red, yellow and green: count the
# clearly coloured pixels in the tool bar's rows (below the caption strip and the menu bar) whose
# hue is not blue.
warm="$(convert "$E2E_ROOT/main.png" -crop x32+0+40 -colorspace HSL \
  -fx '(g > 0.4 && (r < 0.45 || r > 0.85)) ? 1 : 0' -format '%[fx:int(mean*w*h)]' info:)"
[ "$warm" -ge 50 ] || fail "only $warm red, yellow or green pixels in the tool bar"

step "the caption strip: the title is its texts, and a double click maximises and restores"
wait_title "Quillet  - Untitled"
# maximised STATE: whether the window manager holds the main window maximised, as "yes" or "no".
maximised() {
  xprop -id "$QWIN" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_VERT && echo yes || echo no
}
# The client area's own corner (xdotool's geometry counts the frame in).
double_click_strip() {
  local info x y
  info="$(xwininfo -id "$QWIN")"
  x="$(awk '/Absolute upper-left X/{print $4}' <<<"$info")"
  y="$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")"
  xdotool mousemove $((x + 100)) $((y + 6))
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
}
[ "$(maximised)" = no ] || fail "the main window starts maximised"
double_click_strip
for _ in $(seq 1 50); do [ "$(maximised)" = yes ] && break; sleep 0.1; done
[ "$(maximised)" = yes ] || fail "a double click on the caption strip did not maximise the main window"
double_click_strip
for _ in $(seq 1 50); do [ "$(maximised)" = no ] && break; sleep 0.1; done
[ "$(maximised)" = no ] || fail "a second double click on the caption strip did not restore the main window"

step "Goto Line opens centred on the main window, without minimise and maximise"
key ctrl+g
wait_dialog "Goto Line... "
near "$(centre "$DWIN")" "$(centre "$QWIN")" "Goto Line"
first_place="$(centre "$DWIN")"
hints="$(xprop -id "$DWIN" _MOTIF_WM_HINTS)"
functions="$(sed -E 's/.*= *[^,]+, *([^,]+),.*/\1/' <<<"$hints")"
[ $((functions & 0x18)) -eq 0 ] || fail "Goto Line offers minimise or maximise: $hints"
key Escape
wait_gone "Goto Line... "

step "moving the main window and ending the session"
xdotool windowmove "$QWIN" 300 260
sleep 0.5
key alt+F4
wait_quillet_exit 10

step "next session: Goto Line where it was, Options centred"
start_quillet
wait_for_window
key ctrl+g
wait_dialog "Goto Line... "
near "$(centre "$DWIN")" "$first_place" "Goto Line in the second session"
key Escape
wait_gone "Goto Line... "
key ctrl+shift+p
wait_dialog "Quillet Options"
near "$(centre "$DWIN")" "$(centre "$QWIN")" "the options window"
key Escape
wait_gone "Quillet Options"

step "done"
exit 0
