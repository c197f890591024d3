#!/usr/bin/env bash
# Changes that are not the program's own commands still count at exit: one letter typed before
# F7, and text pasted with the middle mouse button (the primary selection) before a tab switch.
# Exit asks about both documents; answered No, the files stay as they were.
#
# Usage: bash tests/e2e/e2e_unsavedchanges.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

step "preparing a.txt and b.txt"
printf 'alpha' >"$E2E_FILES/a.txt"
printf 'beta' >"$E2E_FILES/b.txt"
start_quillet "$E2E_FILES/a.txt" "$E2E_FILES/b.txt"
wait_for_window
wait_title "Quillet  - b.txt"

step "in a.txt: select its text (the primary selection), then one letter and F7"
key shift+F7
wait_title "Quillet  - a.txt"
key ctrl+Home shift+End End
type_text "x"
key F7
wait_title "Quillet  - b.txt"

step "middle-click paste in b.txt, then back to a.txt"
xdotool mousemove --window "$QWIN" 250 200 click 2 || fail "xdotool click failed"
sleep 0.3
key shift+F7
wait_title "Quillet  - a.txt"

# answer_no: answers the question on screen No and waits for it to go.
answer_no() {
  local asked="$DWIN" i
  key n
  for i in $(seq 1 50); do
    xwininfo -id "$asked" 2>/dev/null | grep -q IsViewable || return 0
    sleep 0.1
  done
  fail "the question stayed on screen after No"
}

step "exit asks about a.txt"
key alt+F4
wait_dialog "Quillet -Confimation Required"
answer_no
step "exit asks about b.txt"
wait_dialog "Quillet -Confimation Required"
answer_no
wait_quillet_exit 10
[ "$QUILLET_STATUS" -eq 0 ] || fail "quillet exited with status $QUILLET_STATUS"

step "the files are unchanged"
[ "$(cat "$E2E_FILES/a.txt")" = "alpha" ] || fail "a.txt changed"
[ "$(cat "$E2E_FILES/b.txt")" = "beta" ] || fail "b.txt changed"
exit 0
