#!/usr/bin/env bash
# Dialog keys and settings end to end: in Goto Line, Enter is OK (a line number past the end goes
# to the last line) and Esc is Cancel; a Tab Width confirmed with OK in the options window is in
# the settings file at once, so killing the program loses nothing.
#
# Usage: bash tests/e2e/e2e_dialogs.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

INI="$XDG_CONFIG_HOME/Quillet/Quillet.ini"
DOC="$E2E_FILES/lines.txt"
printf 'one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n' >"$DOC"

# wait_file_holding TEXT: the document must hold exactly TEXT (after a save) within 5 s.
wait_file_holding() {
  local i
  printf '%s' "$1" >"$E2E_ROOT/expected"
  for i in $(seq 1 50); do
    cmp -s "$DOC" "$E2E_ROOT/expected" && return 0
    sleep 0.1
  done
  fail "lines.txt holds $(od -c "$DOC" | head -5), expected $(printf '%q' "$1")"
}

start_quillet "$DOC"
wait_for_window
wait_title "Quillet  - lines.txt"

step "Goto Line: 99 and Enter go to the last line"
key ctrl+g
wait_dialog "Goto Line... "
type_text "99"
key Return
wait_gone "Goto Line... "
type_text "X"
key ctrl+s
wait_file_holding $'one\r\ntwo\r\nthree\r\nfour\r\nXfive\r\n'

step "Goto Line: Esc closes without moving the caret"
key ctrl+g
wait_dialog "Goto Line... "
type_text "1"
key Escape
wait_gone "Goto Line... "
type_text "Y"
key ctrl+s
wait_file_holding $'one\r\ntwo\r\nthree\r\nfour\r\nXYfive\r\n'

step "Options: Tab Width 7, OK, then the program is killed"
key ctrl+shift+p
wait_dialog "Quillet Options"
key alt+t ctrl+a
type_text "7"
key Return
wait_gone "Quillet Options"
kill -KILL "$QUILLET_PID"
wait_quillet_exit 10
grep -qx 'SpinEdit1_Value=7' "$INI" || fail "the settings file does not hold the tab width:
$(cat "$INI" 2>/dev/null || echo '(no file)')"

step "done"
exit 0
