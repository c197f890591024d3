#!/usr/bin/env bash
# Files changed by another program end to end: the program notices within 2 s and asks whether
# to reload; Yes shows the new bytes, No keeps the editor's text; a save over a file changed on
# disk asks before replacing it.
#
# Usage: bash tests/e2e/e2e_diskchange.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

DOC="$E2E_FILES/doc.txt"
QUESTION="Quillet -Confimation Required"
printf 'one\r\n' >"$DOC"

# wait_doc_holding TEXT: doc.txt must hold exactly TEXT within 5 s.
wait_doc_holding() {
  local i
  for i in $(seq 1 50); do
    cmp -s "$DOC" <(printf '%s' "$1") && return 0
    sleep 0.1
  done
  fail "doc.txt holds $(od -c "$DOC" | head -3)"
}

# changed_by_another TEXT: another program writes TEXT over doc.txt; the question must come
# within 2 s.
changed_by_another() {
  printf '%s' "$1" >"$DOC"
  local i
  for i in $(seq 1 20); do
    xdotool search --onlyvisible --name "^$QUESTION\$" >/dev/null 2>&1 && break
    sleep 0.1
  done
  wait_dialog "$QUESTION"
  [ "$i" -lt 20 ] || fail "the change was not noticed within 2 s"
}

start_quillet "$DOC"
wait_for_window
wait_title "Quillet  - doc.txt"

step "an unchanged document: Enter reloads it"
changed_by_another $'two\r\n'
key Return
wait_gone "$QUESTION"
key ctrl+Home
type_text "X"
key ctrl+s
wait_doc_holding $'Xtwo\r\n'

step "a changed document: Enter keeps the editor's text, and Save asks before replacing the file"
type_text "Y"
# The key must have reached the editor before the file changes (it decides the default answer).
sleep 1
changed_by_another $'three\r\n'
key Return
wait_gone "$QUESTION"
key ctrl+s
wait_dialog "$QUESTION"
key alt+y
wait_gone "$QUESTION"
wait_doc_holding $'XYtwo\r\n'

step "done"
exit 0
