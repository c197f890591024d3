#!/usr/bin/env bash
# The settings file end to end: a pipe named as the settings file neither holds up the start nor
# becomes a plain file at the end; two running copies share one settings file, one changes the
# tab width, the other word wrap, and both changes survive whichever copy ends first, or when
# both end together.
#
# Usage: bash tests/e2e/e2e_settingsfile.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

INI="$XDG_CONFIG_HOME/Quillet/Quillet.ini"
PID_A="" PID_B="" WIN_A="" WIN_B=""
# The harness stops the copy it knows; the other one is stopped here.
# shellcheck disable=SC2317 # run by the trap
stop_both() {
  local rc=$?
  stop_pid "$PID_A"
  stop_pid "$PID_B"
  (exit "$rc")
  e2e_cleanup
}
trap stop_both EXIT

use_a() { QUILLET_PID="$PID_A" QWIN="$WIN_A"; }
use_b() { QUILLET_PID="$PID_B" QWIN="$WIN_B"; }

close_copy() {
  focus_window
  key alt+F4
}

step "a pipe as the settings file: the window comes, the pipe stays"
mkfifo "$E2E_ROOT/settings.fifo"
QUILLET_SETTINGS="$E2E_ROOT/settings.fifo" start_quillet
wait_for_window >/dev/null
close_copy
wait_quillet_exit 10
[ -p "$E2E_ROOT/settings.fifo" ] || fail "the pipe was replaced by $(stat -c %F "$E2E_ROOT/settings.fifo")"
grep -q 'not a regular file' "$E2E_ROOT/quillet.err" || fail "nothing said on standard error"

step "a first run writes every value"
start_quillet
wait_for_window
close_copy
wait_quillet_exit 10
step "the first run's settings file is there"
grep -qx 'SpinEdit1_Value=0' "$INI" || fail "no first-run settings file:
$(cat "$INI" 2>/dev/null)"
cp "$INI" "$E2E_ROOT/first-run.ini"

for order in a-then-b b-then-a together; do
  step "$order: two copies change different settings"
  cp "$E2E_ROOT/first-run.ini" "$INI"
  start_quillet
  PID_A="$QUILLET_PID"
  wait_for_window >/dev/null
  WIN_A="$QWIN"
  start_quillet
  PID_B="$QUILLET_PID"
  for i in $(seq 1 200); do
    WIN_B="$(xdotool search --all --onlyvisible --pid "$PID_B" --name '^Quillet' 2>/dev/null | head -n 1)"
    [ -n "$WIN_B" ] && break
    sleep 0.1
  done
  [ -n "$WIN_B" ] || fail "the second copy shows no window"

  use_a
  focus_window
  key ctrl+shift+p
  wait_dialog "Quillet Options"
  key alt+t ctrl+a
  type_text "7"
  key Return
  wait_gone "Quillet Options"

  use_b
  focus_window
  key ctrl+w

  step "$order: both copies end"
  case "$order" in
    a-then-b) use_a; close_copy; wait_quillet_exit 10; use_b; close_copy; wait_quillet_exit 10 ;;
    b-then-a) use_b; close_copy; wait_quillet_exit 10; use_a; close_copy; wait_quillet_exit 10 ;;
    together)
      # The second close is asked for while the first copy is still ending.
      use_a; close_copy; use_b; close_copy
      wait_quillet_exit 10; use_a; wait_quillet_exit 10 ;;
  esac
  PID_A="" PID_B=""
  grep -qx 'SpinEdit1_Value=7' "$INI" || fail "$order: the tab width of the first copy is lost:
$(grep -e SpinEdit1 -e WordWrap "$INI")"
  grep -qx 'Editor_WordWrap=False' "$INI" || fail "$order: the word wrap of the second copy is lost:
$(grep -e SpinEdit1 -e WordWrap "$INI")"
done

step "done"
exit 0
