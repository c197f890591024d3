#!/usr/bin/env bash
# Files end to end: a file named on the command line is edited and saved with
# Ctrl+S (CR LF line breaks, a backup beside the program), a new document is
# saved through the "Save Text" dialog (".txt" added to a bare name), and
# closing the window asks about each modified document in tab order: Yes saves
# (through the dialog for an Untitled one), Cancel keeps the program open.
#
# Usage: bash tests/e2e/e2e_files.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

CONFIRM_TITLE="Quillet -Confimation Required"

# Shows a file's bytes in a readable way for failure messages.
describe_file() {
  local path="$1" content
  if [ ! -e "$path" ]; then
    printf '(missing)'
    return 0
  fi
  # The trailing x keeps $(...) from eating final newlines, which matter here.
  content="$(head -c 300 "$path"; printf x)"
  printf '%s bytes: %q' "$(wc -c <"$path")" "${content%x}"
}

# wait_file_bytes PATH EXPECTED_FILE WHAT: PATH must hold exactly the bytes of
# EXPECTED_FILE within 5 s.
wait_file_bytes() {
  local path="$1" expected="$2" what="$3" i
  for i in $(seq 1 50); do
    [ -f "$path" ] && cmp -s "$path" "$expected" && return 0
    sleep 0.1
  done
  fail "$what: '$path' does not hold the expected bytes within 5 s
    expected: $(describe_file "$expected")
    actual:   $(describe_file "$path")"
}

# window_visible WIN: succeeds while WIN is mapped and viewable.
window_visible() {
  xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'
}

# wait_window_gone WIN WHAT: WIN must be closed (unmapped or destroyed) within 10 s.
wait_window_gone() {
  local w="$1" what="$2" i
  for i in $(seq 1 100); do
    window_visible "$w" || return 0
    sleep 0.1
  done
  fail "$what: window $w ('$(window_title "$w")') is still shown after 10 s"
}

# The program keeps backups in "Backup" beside its executable; run a copy from
# the test's own folder so that folder is not the build tree.
step "copying the program into the test folder"
BIN_DIR="$E2E_ROOT/bin"
mkdir -p "$BIN_DIR" || fail "cannot make $BIN_DIR"
cp -- "$QUILLET" "$BIN_DIR/quillet" || fail "cannot copy $QUILLET to $BIN_DIR"
chmod +x "$BIN_DIR/quillet"
QUILLET="$BIN_DIR/quillet"

# --- 1. edit a file from the command line and save it with Ctrl+S -----------
step "preparing doc.txt"
DOC="$E2E_FILES/doc.txt"
printf 'first line\r\nsecond' >"$DOC"
EXPECT="$E2E_ROOT/expected"

start_quillet "$DOC"
wait_for_window
step "title after opening doc.txt from the command line"
wait_title "Quillet  - doc.txt"

step "typing at the end of doc.txt"
key ctrl+End
type_text " more"
key Return
type_text "third"

step "Ctrl+S writes doc.txt with CR LF line breaks"
key ctrl+s
printf 'first line\r\nsecond more\r\nthird' >"$EXPECT"
wait_file_bytes "$DOC" "$EXPECT" "saving doc.txt with Ctrl+S"
wait_title "Quillet  - doc.txt"

step "the backup of doc.txt holds the saved bytes"
wait_file_bytes "$BIN_DIR/Backup/doc.BAK" "$EXPECT" "backup after saving doc.txt"

# --- 2. a new document saved through the Save Text dialog -------------------
step "Ctrl+N makes a new Untitled tab"
key ctrl+n
wait_title "Quillet  - Untitled"
type_text "brand new text"

step "Ctrl+S on an Untitled document opens the 'Save Text' dialog"
key ctrl+s
wait_dialog "Save Text"
SAVE_DLG="$DWIN"

step "naming the new document in the 'Save Text' dialog"
key ctrl+a
type_text "$E2E_FILES/newfile.txt"
key Return
wait_window_gone "$SAVE_DLG" "accepting the 'Save Text' dialog"

step "the new document is saved as newfile.txt"
printf 'brand new text' >"$EXPECT"
wait_file_bytes "$E2E_FILES/newfile.txt" "$EXPECT" "saving the new document"
wait_title "Quillet  - newfile.txt"

# --- 3. closing the window asks about modified documents in tab order -------
step "modifying newfile.txt again"
type_text "!!"
wait_title "Quillet  - newfile.txt"

step "Ctrl+N and typing into another Untitled document"
key ctrl+n
wait_title "Quillet  - Untitled"
type_text "unsaved x"

step "Alt+F4 asks first about newfile.txt"
focus_window
key alt+F4
wait_dialog "$CONFIRM_TITLE"
ASK1="$DWIN"
# The program shows the document it asks about.
wait_title "Quillet  - newfile.txt"

step "answering Yes for newfile.txt saves it"
key y
wait_window_gone "$ASK1" "answering Yes to the first question"
printf 'brand new text!!' >"$EXPECT"
wait_file_bytes "$E2E_FILES/newfile.txt" "$EXPECT" "saving newfile.txt from the exit question"

step "the second question is about the Untitled document"
wait_dialog "$CONFIRM_TITLE"
ASK2="$DWIN"
[ "$ASK2" != "$ASK1" ] || fail "the first question window $ASK1 is still the one shown"
wait_title "Quillet  - Untitled"

step "answering Cancel keeps the program open"
key Escape
wait_window_gone "$ASK2" "cancelling the second question"
sleep 1
quillet_running || {
  wait "$QUILLET_PID" 2>/dev/null; QUILLET_STATUS=$?
  fail "quillet ended after Cancel"
}
window_visible "$QWIN" || fail "the main window is no longer visible after Cancel"
for w in $(xdotool search --all --onlyvisible --pid "$QUILLET_PID" --name . 2>/dev/null); do
  name="$(window_title "$w")"
  [ "$name" != "$CONFIRM_TITLE" ] || fail "another question appeared after Cancel"
  [ "$name" != "Save Text" ] || fail "a 'Save Text' dialog appeared after Cancel"
done
[ ! -e "$E2E_FILES/last.txt" ] || fail "last.txt exists before it was named"
wait_title "Quillet  - Untitled"

step "Alt+F4 again asks only about the Untitled document"
focus_window
key alt+F4
wait_dialog "$CONFIRM_TITLE"
ASK3="$DWIN"
wait_title "Quillet  - Untitled"

step "answering Yes for the Untitled document opens the 'Save Text' dialog"
key y
wait_window_gone "$ASK3" "answering Yes to the question about the Untitled document"
wait_dialog "Save Text"
SAVE_DLG="$DWIN"

step "naming the Untitled document 'last'"
key ctrl+a
type_text "$E2E_FILES/last.txt"
key Return
wait_window_gone "$SAVE_DLG" "accepting the 'Save Text' dialog on exit"
printf 'unsaved x' >"$EXPECT"
wait_file_bytes "$E2E_FILES/last.txt" "$EXPECT" "saving the Untitled document on exit"

step "the program ends after the last save"
wait_quillet_exit 15
[ "$QUILLET_STATUS" -eq 0 ] || fail "quillet exited with status $QUILLET_STATUS"

step "newfile.txt was not asked about or changed again"
printf 'brand new text!!' >"$EXPECT"
cmp -s "$E2E_FILES/newfile.txt" "$EXPECT" ||
  fail "newfile.txt changed: $(describe_file "$E2E_FILES/newfile.txt")"

step "store files are gone after the program ended"
leftover="$(store_files)"
[ -z "$leftover" ] || fail "store files left in \$TMPDIR after exit:
$leftover"

step "done"
exit 0
