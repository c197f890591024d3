#!/usr/bin/env bash
# The ClipBook end to end: Ctrl+B opens it, a template is named in the naming window, the
# selection becomes an item through "Add To ClipBook" (name<!>text), the item is pasted into
# another document, and after a restart the template and its item are still there; the file page
# opens a listed file as a document, and Esc closes the ClipBook.
#
# Usage: bash tests/e2e/e2e_clipbook.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# The ClipBook lives beside the executable: run a copy from the test's own folder.
BIN_DIR="$E2E_ROOT/bin"
mkdir -p "$BIN_DIR" || fail "cannot make $BIN_DIR"
cp -- "$QUILLET" "$BIN_DIR/quillet" || fail "cannot copy $QUILLET to $BIN_DIR"
chmod +x "$BIN_DIR/quillet"
QUILLET="$BIN_DIR/quillet"
for f in a b c d; do : >"$E2E_FILES/$f.txt"; done

# wait_bytes FILE TEXT: FILE must hold exactly TEXT within 5 s.
wait_bytes() {
  local i
  printf '%s' "$2" >"$E2E_ROOT/expected"
  for i in $(seq 1 50); do
    cmp -s "$1" "$E2E_ROOT/expected" && return 0
    sleep 0.1
  done
  fail "$(basename "$1") holds $(od -c "$1" 2>/dev/null | head -3), expected $(printf '%q' "$2")"
}

start_quillet "$E2E_FILES/a.txt" "$E2E_FILES/b.txt"
wait_for_window
wait_title "Quillet  - b.txt"

step "Ctrl+B shows the ClipBook, which stays above the main window when that is clicked"
key ctrl+b
wait_dialog "ClipBook"
CLIPWIN="$DWIN"
xdotool mousemove --window "$QWIN" 20 120 click 1
focus_window
stacking="$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' | while read -r w; do printf '%d\n' "$w"; done)"
below="$(printf '%s\n' "$stacking" | grep -n -x "$QWIN" | cut -d: -f1)"
above="$(printf '%s\n' "$stacking" | grep -n -x "$CLIPWIN" | cut -d: -f1)"
[ -n "$below" ] && [ -n "$above" ] && [ "$above" -gt "$below" ] ||
  fail "the ClipBook went below the main window (stacking: $(echo $stacking))"

step "Tools, New Template: the naming window takes the name and Enter"
focus_window
key alt+t n
wait_dialog "Add New Template"
type_text "Letters"
key Return
wait_gone "Add New Template"
wait_bytes "$BIN_DIR/ClipBook/Letters.cpb" ""

step "the selection becomes an item through Add To ClipBook"
focus_window
type_text "Sig<!>Best, regards"
key ctrl+a alt+t a
wait_bytes "$BIN_DIR/ClipBook/Letters.cpb" $'Sig,Best, regards\r\n'
focus_window
key ctrl+s
wait_bytes "$E2E_FILES/b.txt" "Sig<!>Best, regards"

step "the item is pasted into the other document"
focus_window
key shift+F7
wait_title "Quillet  - a.txt"
key ctrl+b
wait_dialog "ClipBook"
key alt+p
focus_window
key ctrl+s
wait_bytes "$E2E_FILES/a.txt" "Best, regards"

step "quit"
key alt+F4
wait_quillet_exit 10
[ "$QUILLET_STATUS" -eq 0 ] || fail "quillet exited with status $QUILLET_STATUS"

step "after a restart the template and its item are back"
start_quillet "$E2E_FILES/d.txt" "$E2E_FILES/c.txt"
wait_for_window
wait_title "Quillet  - c.txt"
key ctrl+b
wait_dialog "ClipBook"
key Return
focus_window
key ctrl+s
wait_bytes "$E2E_FILES/c.txt" "Best, regards"

step "the file page opens a listed file"
key shift+F7
wait_title "Quillet  - d.txt"
# Two items of the Tools menu share the letter: the first is highlighted, Enter chooses it.
key alt+t d Return
wait_dialog "ClipBook Files"
wait_bytes "$BIN_DIR/ClipFiles/Untitled.fff" "$E2E_FILES/d.txt"$'\r\n'
focus_window
key ctrl+F4
wait_title "Quillet  - c.txt"
key ctrl+f
wait_dialog "ClipBook Files"
key Return
focus_window
wait_title "Quillet  - d.txt"

step "Esc closes the ClipBook"
key ctrl+b
wait_dialog "ClipBook"
key Escape
wait_gone "ClipBook"

step "done"
exit 0
