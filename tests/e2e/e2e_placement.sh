#!/usr/bin/env bash
# Stored placements end to end: the main window, the document selector and the ClipBook, moved
# and left open, come back exactly where they were at every restart, under openbox and under
# twm (a manager of another family, without the desktop hints).
#
# Usage: bash tests/e2e/e2e_placement.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
need twm

# client WIN: the client area's corner on the screen, as "x,y".
client() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    END { print x "," y }'
}

# shown TITLE: the visible window with this exact title, if any.
shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }

# One session: the side windows opened when they did not come back by themselves (the first
# time), the tips put away, and the three corners printed as "main selector clipbook".
open_session() {
  local t sel clip
  start_quillet
  wait_for_window
  sleep 1
  t="$(shown "Quillet Tips")"
  if [ -n "$t" ]; then focus_window "$t"; key Escape; sleep 0.3; fi
  QWIN="$(shown "Quillet  - Untitled")"
  [ -n "$QWIN" ] || fail "no main window"
  sel="$(shown "Document Selector")"
  if [ -z "$sel" ]; then focus_window; key ctrl+d; wait_dialog "Document Selector"; sel="$DWIN"; fi
  clip="$(shown "ClipBook")"
  if [ -z "$clip" ]; then focus_window; key ctrl+b; wait_dialog "ClipBook"; clip="$DWIN"; fi
  SEL="$sel" CLIP="$clip"
  sleep 0.5
}

corners() { echo "$(client "$QWIN") $(client "$SEL") $(client "$CLIP")"; }

end_session() {
  focus_window
  key alt+f
  sleep 0.3
  key x
  wait_quillet_exit 10
}

for wm in openbox twm; do
  step "$wm: moving the windows, then three restarts"
  export XDG_CONFIG_HOME="$E2E_ROOT/config-$wm"
  mkdir -p "$XDG_CONFIG_HOME"
  if [ "$wm" = twm ]; then
    kill "$OPENBOX_PID" 2>/dev/null
    wait "$OPENBOX_PID" 2>/dev/null
    twm >"$E2E_ROOT/twm.log" 2>&1 &
    OPENBOX_PID=$!
    sleep 1
    kill -0 "$OPENBOX_PID" 2>/dev/null || fail "twm did not start"
  fi
  open_session
  xdotool windowmove "$QWIN" 210 170 windowmove "$SEL" 820 430 windowmove "$CLIP" 90 520
  sleep 0.5
  placed="$(corners)"
  end_session
  for run in 2 3 4; do
    open_session
    now="$(corners)"
    [ "$now" = "$placed" ] || fail "$wm, start $run: main, selector and ClipBook at $now, left at $placed"
    end_session
  done
done

step "done"
exit 0
