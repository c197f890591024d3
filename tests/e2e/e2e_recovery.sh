#!/usr/bin/env bash
# Recovery end to end: text typed into a never-saved document and into a file survives kill -9
# and SIGTERM (a SIGTERM ends the program without questions, even while the exit question is
# open); the next start opens both as modified tabs with their bytes; a file another program
# changed meanwhile counts as changed on disk, so Save asks; saving one and discarding the other
# leaves no recovery record, and a normal end leaves the recovery folder empty. Of two running
# copies, a third one started after one is killed takes over only the dead one's documents. A kill
# in the middle of saving a hard-linked file in place leaves nothing in the temporary folder, and
# the next start offers the content the file had before that save.
#
# Usage: bash tests/e2e/e2e_recovery.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

RECOVERY="$XDG_STATE_HOME/Quillet/recovery"
KEPT="$XDG_STATE_HOME/Quillet/kept"
DOC="$E2E_FILES/doc.txt"

# records [PID]: how many recovery records there are (of the copy of the program with process id
# PID: each keeps its records in a folder named after it).
records() {
  find "$RECOVERY/${1:-}"* -name '*.json' 2>/dev/null | wc -l
}

# wait_records COUNT [PID]: the recovery folder must hold COUNT records within 5 s.
wait_records() {
  local i n
  for i in $(seq 1 50); do
    n="$(records "${2:-}")"
    [ "$n" -eq "$1" ] && return 0
    sleep 0.1
  done
  fail "the recovery folder holds $n records, expected $1: $(find "$RECOVERY" 2>/dev/null)"
}

# wait_file FILE CONTENT: FILE must hold exactly CONTENT (printf format) within 5 s.
wait_file() {
  local i
  for i in $(seq 1 50); do
    # shellcheck disable=SC2059
    cmp -s "$1" <(printf "$2") && return 0
    sleep 0.1
  done
  fail "$(basename "$1") holds $(od -c "$1" | head -3)"
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
  wait_records 2

  step "$how: the program is ended by SIG$how"
  kill "-$how" "$QUILLET_PID"
  wait_quillet_exit 10
  cmp -s "$DOC" <(printf 'line one\r\n') || fail "doc.txt was changed"
  if [ "$how" = KILL ]; then
    # Another program writes the file while no copy of Quillet runs.
    printf 'written meanwhile\r\n' >"$DOC"
  fi

  step "$how: the next start opens both again as modified documents"
  start_quillet
  wait_for_window
  wait_title "Quillet  - Untitled"
  key shift+F7
  if [ "$how" = KILL ]; then
    # The newer file is a change on disk: shown, the recovered text is kept on the reload question.
    wait_dialog "Quillet -Confimation Required"
    key alt+n
    wait_gone "Quillet -Confimation Required"
  fi
  wait_title "Quillet  - doc.txt"
  # Leaving the recovered untitled document parks its text in a store file: its exact bytes.
  wait_store_holding "new words"

  step "$how: saving doc.txt and discarding the untitled document leaves no record"
  key ctrl+s
  if [ "$how" = KILL ]; then
    # Save asks before replacing the other program's change; No keeps it, Yes replaces it.
    wait_dialog "Quillet -Confimation Required"
    key alt+n
    wait_gone "Quillet -Confimation Required"
    cmp -s "$DOC" <(printf 'written meanwhile\r\n') || fail "Save replaced the newer file unasked"
    key ctrl+s
    wait_dialog "Quillet -Confimation Required"
    key alt+y
    wait_gone "Quillet -Confimation Required"
  fi
  wait_file "$DOC" 'line one\r\ntyped'
  key F7 ctrl+F4
  wait_dialog "Quillet -Confimation Required"
  key alt+y
  wait_gone "Quillet -Confimation Required"
  wait_records 0

  step "$how: a normal end leaves the recovery folder empty"
  key alt+F4
  wait_quillet_exit 10
  [ -z "$(find "$RECOVERY" -type f 2>/dev/null)" ] || fail "left behind: $(find "$RECOVERY")"
done

step "typing that never pauses is kept all the same"
printf '' >"$DOC"
start_quillet "$DOC"
wait_for_window
wait_title "Quillet  - doc.txt"
steady="$(printf 'steady%.0s' $(seq 1 22))"
ensure_focus
# A key every 100 ms for 13 s, never the two seconds' pause, then killed before it could pause.
xdotool type --delay 200 -- "$steady"
kill -KILL "$QUILLET_PID"
wait_quillet_exit 10
start_quillet
wait_for_window
wait_title "Quillet  - doc.txt"
key ctrl+s
sleep 1
kept="$(wc -c <"$DOC")"
[ "$kept" -ge 60 ] && [ "$(cat "$DOC")" = "${steady:0:$kept}" ] ||
  fail "only $kept bytes of steady typing were kept: $(head -c 80 "$DOC")"
key alt+F4
wait_quillet_exit 10

step "SIGTERM while the exit question is open ends the program at once, keeping the work"
printf 'asked\r\n' >"$DOC"
start_quillet "$DOC"
wait_for_window
wait_title "Quillet  - doc.txt"
key ctrl+End
type_text " unanswered"
key alt+F4
wait_dialog "Quillet -Confimation Required"
kill -TERM "$QUILLET_PID"
wait_quillet_exit 2
cmp -s "$DOC" <(printf 'asked\r\n') || fail "doc.txt was changed"
wait_records 1
start_quillet
wait_for_window
wait_title "Quillet  - doc.txt"
key ctrl+s
wait_file "$DOC" 'asked\r\n unanswered'
key alt+F4
wait_quillet_exit 10

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
second_pid="$QUILLET_PID"
sleep 3
wait_records 1 "$first_pid-"
wait_records 1 "$second_pid-"
kill -KILL "$first_pid"
wait "$first_pid" 2>/dev/null
start_quillet
wait_own_window
wait_title "Quillet  - a.txt"
third_pid="$QUILLET_PID"
# The killed copy's record moved to the third; the living copy's stayed where it was.
wait_records 1 "$third_pid-"
wait_records 1 "$second_pid-"
[ "$(records "$first_pid-")" -eq 0 ] || fail "the killed copy's record stayed behind"
key ctrl+s
wait_file "$E2E_FILES/a.txt" 'Aa\r\n'
QUILLET_PID="$second_pid"
kill -KILL "$third_pid"
wait "$third_pid" 2>/dev/null
kill -KILL "$second_pid"
wait "$second_pid" 2>/dev/null
rm -rf "$RECOVERY"

step "kill -9 while a hard-linked file of 200 MB is saved in place"
BIG="$E2E_FILES/big.txt"
# Lines of CR LF ended text, as saving writes it.
big_text() { yes $'oooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooooo\r' | head -c 209715200; }
big_text >"$BIG"
ln "$BIG" "$E2E_FILES/big-link.txt"
start_quillet "$BIG"
wait_for_window
wait_title "Quillet  - big.txt"
key ctrl+Home
type_text "N"
key ctrl+s
# Killed as soon as the file's old content is kept and the write in place begins.
for _ in $(seq 1 3000); do
  [ -n "$(find "$KEPT" -name '*.json' 2>/dev/null)" ] && break
  sleep 0.01
done
kill -KILL "$QUILLET_PID"
wait "$QUILLET_PID" 2>/dev/null
[ -n "$(find "$KEPT" -name '*.json' 2>/dev/null)" ] || fail "no record of the interrupted save: $(ls -la "$KEPT" 2>&1)"
[ -z "$(find "$TMPDIR" -name 'quillet-keep-*' 2>/dev/null)" ] || fail "a copy was left in the temporary folder"

step "the next start offers the file's content from before the save"
start_quillet
wait_dialog "Quillet -Interrupted Save"
key alt+y
wait_gone "Quillet -Interrupted Save"
wait_for_window
cmp -s "$BIG" <(big_text) || fail "big.txt does not hold its old content"
[ "$(stat -c %h "$BIG")" -eq 2 ] || fail "big.txt lost its second name"
[ -z "$(find "$KEPT" -type f 2>/dev/null)" ] || fail "the kept content stayed: $(ls -la "$KEPT")"
# The recovered text, still modified, saves whole.
key ctrl+s
for _ in $(seq 1 100); do
  [ "$(head -c 2 "$BIG")" = "No" ] && [ "$(stat -c %s "$BIG")" -eq 209715201 ] && break
  sleep 0.1
done
[ "$(head -c 2 "$BIG")" = "No" ] && [ "$(stat -c %s "$BIG")" -eq 209715201 ] ||
  fail "the recovered text was not saved: $(head -c 20 "$BIG" | od -c | head -2), $(stat -c %s "$BIG") bytes"
cmp -s "$BIG" "$E2E_FILES/big-link.txt" || fail "the second name does not see the save"
key alt+F4
wait_quillet_exit 20

step "done"
exit 0
