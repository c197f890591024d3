#!/usr/bin/env bash
# High density end to end: at a desktop scale factor, on a screen as much larger, the main window and
# each fixed-size window the keyboard opens lie on the screen, and every part of them shown (on
# each of their pages) lies within the window, as AT-SPI reports them. A screenshot of the main
# window with the options open is kept in e2e-logs/.
#
# Usage: bash tests/e2e/e2e_highdensity.sh /path/to/quillet FACTOR

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
own_session_bus "$@"
factor="${2:-}"
[[ "$factor" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "usage: bash $0 /path/to/quillet FACTOR" >&2; exit 2; }
E2E_NAME="e2e_highdensity_x$factor"
# The screen a 1280x1024 desktop becomes at this factor.
E2E_SCREEN="$(awk -v f="$factor" 'BEGIN { printf "%dx%d", 1280 * f, 1024 * f }')"
e2e_init "$1"
start_accessibility
export QT_SCALE_FACTOR="$factor"

# on_screen WINDOW: the window, with the frame the window manager put round it, lies on the screen.
on_screen() {
  local x y w h left right top bottom
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print "x=" $NF } /Absolute upper-left Y/ { print "y=" $NF }
                                  /^ +Width/ { print "w=" $NF } /^ +Height/ { print "h=" $NF }')"
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,/ /g')
  x=$((x - ${left:-0})) y=$((y - ${top:-0})) w=$((w + ${left:-0} + ${right:-0})) h=$((h + ${top:-0} + ${bottom:-0}))
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "${E2E_SCREEN%x*}" ] && [ $((y + h)) -le "${E2E_SCREEN#*x}" ] ||
    fail "'$(window_title "$1")' (${w}x${h}+${x}+${y} with its frame) is not within the ${E2E_SCREEN} screen"
  log "'$(window_title "$1")' (${w}x${h}+${x}+${y}) lies on the ${E2E_SCREEN} screen"
}

# fitted KEYS TITLE: the window the keys open lies on the screen and holds all its parts; Esc
# closes it.
fitted() {
  step "'$2' at scale $factor"
  key $1 # one or more keys
  wait_dialog "$2"
  on_screen "$DWIN"
  # Each try turns through all the pages, from wherever the last one left them.
  until_reader fits "$2"
  [ "$2" != "Quillet Options" ] || screenshot options >/dev/null
  key Escape
  wait_gone "$2"
  focus_window
}

start_quillet
wait_for_window
step "the main window at scale $factor"
on_screen "$QWIN"
until_reader fits "Quillet  - Untitled"

fitted ctrl+shift+p "Quillet Options"
fitted ctrl+F3 "Utility Options"
fitted ctrl+g "Goto Line... "
fitted ctrl+F1 "About Quillet"
fitted ctrl+shift+t "Quillet Tips"
fitted "alt+o c" "Quillet Configuration"
fitted "alt+t n" "Add New Template"
fitted "alt+e f" "Replace"

step "done"
exit 0
