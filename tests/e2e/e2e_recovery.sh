#!/usr/bin/env bash
# Recovery end to end: text typed into a never-saved document and into a file survives kill -9
# and SIGTERM (a SIGTERM ends the program without questions); the next start opens both as
# modified tabs with their bytes; saving one and discarding the other leaves no recovery copy,
# and a normal end leaves the recovery folder empty. Of two running copies, a third one started
# after one is killed takes over only the dead one's documents.
#
# Usage: bash tests/e2e/e2e_recovery.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

RECOVERY="$XDG_STATE_HOME/Quillet/recovery"
DOC="$E2E_FILES/doc.txt"

# copies_holding TEXT [PID]: how many recovery copies hold exactly TEXT (of the copy of the
# program with process id PID: each keeps its records in a folder named after it).
copies_holding() {
  local f n=0
  printf '%s' "$1" >"$E2E_ROOT/expected"
  while IFS= read -r f; do
    case "$f" in "$RECOVERY/${2:-}"*) ;; *) continue ;; esac
    cmp -s "$f" "$E2E_ROOT/expected" && n=$((n + 1))
  done < <(find "$RECOVERY" -name '*.txt' 2>/dev/null)
  echo "$n"
}

# wait_copies COUNT: the recovery folder must hold COUNT copies within 5 s.
wait_copies() {
  local i n
  for i in $(seq 1 50); do
    n="$(find "$RECOVERY" -name '*.txt' 2>/dev/null | wc -l)"
    [ "$n" -eq "$1" ] && return 0
    sleep 0.1
  done
  fail "the recovery folder holds $n copies, expected $1: $(find "$RECOVERY" 2>/dev/null)"
}

# wait_own_window: like wait_for_window, for a copy started while another one runs: only a
# window of this process will do.
wait_own_window() {
  local i w=""
  for i in $(seq 1 200); do
    w="$(xdotool search --all --onlyvisible --pid "$QUILLET_PID" --name '^Quillet' 2>/dev/null | head -n 1)"
    [ -n "$w" ] && break
    sleep 0.1
  done
  [ -n "$w" ] || fail "no window of process $QUILLET_PID"
  QWIN="$w"
  focus_window
}

for how in KILL TERM; do
  printf 'line one\r\n' >"$DOC"
  step "$how: typing into doc.txt and into the untitled document"
  start_quillet "$DOC"
  wait_for_window
  wait_title "Quillet  - doc.txt"
  key ctrl+End
  type_text "typed"
  key shift+F7
  wait_title "Quillet  - Untitled"
  type_text "new words"
  sleep 3
  [ "$(copies_holding $'line one\r\ntyped')" -eq 1 ] || fail "no recovery copy of doc.txt"
  [ "$(copies_holding 'new words')" -eq 1 ] || fail "no recovery copy of the untitled document"

  step "$how: the program is ended by SIG$how"
  kill "-$how" "$QUILLET_PID"
  wait_quillet_exit 10
  cmp -s "$DOC" <(printf 'line one\r\n') || fail "doc.txt was changed"

  step "$how: the next start opens both again as modified documents"
  start_quillet
  wait_for_window
  wait_title "Quillet  - Untitled"
  key shift+F7
  wait_title "Quillet  - doc.txt"
  # Leaving the recovered untitled document parks its text in a store file: its exact bytes.
  wait_store_holding "new words"

  step "$how: saving doc.txt and discarding the untitled document leaves no copy"
  key ctrl+s
  for _ in $(seq 1 50); do
    cmp -s "$DOC" <(printf 'line one\r\ntyped') && break
    sleep 0.1
  done
  cmp -s "$DOC" <(printf 'line one\r\ntyped') || fail "doc.txt holds $(od -c "$DOC" | head -3)"
  key F7 ctrl+F4
  wait_dialog "Quillet -Confimation Required"
  key alt+y
  wait_gone "Quillet -Confimation Required"
  wait_copies 0

  step "$how: a normal end leaves the recovery folder empty"
  key alt+F4
  wait_quillet_exit 10
  [ -z "$(find "$RECOVERY" -type f 2>/dev/null)" ] || fail "left behind: $(find "$RECOVERY")"
done

step "two copies: each keeps its own; a third takes over only the killed one's"
printf 'a\r\n' >"$E2E_FILES/a.txt"
printf 'b\r\n' >"$E2E_FILES/b.txt"
start_quillet "$E2E_FILES/a.txt"
wait_for_window
wait_title "Quillet  - a.txt"
type_text "A"
first_pid="$QUILLET_PID"
start_quillet "$E2E_FILES/b.txt"
wait_own_window
wait_title "Quillet  - b.txt"
type_text "B"
sleep 3
[ "$(copies_holding $'Aa\r\n')" -eq 1 ] && [ "$(copies_holding $'Bb\r\n')" -eq 1 ] ||
  fail "expected one copy of each document: $(find "$RECOVERY")"
second_pid="$QUILLET_PID"
kill -KILL "$first_pid"
wait "$first_pid" 2>/dev/null
start_quillet
wait_own_window
wait_title "Quillet  - a.txt"
third_pid="$QUILLET_PID"
# The killed copy's record moved to the third; the living copy's stayed where it was.
[ "$(copies_holding $'Aa\r\n' "$third_pid-")" -eq 1 ] || fail "the third copy did not take a.txt's record"
[ "$(copies_holding $'Bb\r\n' "$second_pid-")" -eq 1 ] || fail "the living copy's record moved"
QUILLET_PID="$second_pid"
kill -KILL "$third_pid"
wait "$third_pid" 2>/dev/null

step "done"
exit 0
