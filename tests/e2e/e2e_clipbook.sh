#!/usr/bin/env bash
# The ClipBook end to end: Ctrl+B opens it, a template is named in the naming window, the
# selection becomes an item through "Add To ClipBook" (name<!>text), the item is pasted into
# another document, and after a restart the template and its item are still there; the file page
# opens a listed file as a document, and Esc closes the ClipBook. A mouse click on an item shows
# that item in the fields, an item of a template in Windows-1252 keeps its bytes when another is
# edited, and the message about a name too long for the system is shown whole.
#
# Usage: bash tests/e2e/e2e_clipbook.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
need xclip xwininfo

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

# Another program adds two items, one of them in Windows-1252.
printf 'Caf\xe9,cr\xe8me br\xfbl\xe9e\r\nAddr,1 High Street\r\n' >>"$BIN_DIR/ClipBook/Letters.cpb"

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

step "a mouse click shows the clicked item in the fields"
key ctrl+b
wait_dialog "ClipBook"
CLIPWIN="$DWIN"
clip_height="$(xwininfo -id "$CLIPWIN" | sed -n 's/^ *Height: *//p')"
# clip_click X Y: a click at X,Y of the ClipBook window (the list's rows are 15 px apart from
# y=55); Y below 0 counts from the bottom, where the name and text fields are.
clip_click() {
  local y="$2"
  [ "$y" -ge 0 ] || y=$((clip_height + y))
  xdotool mousemove --window "$CLIPWIN" "$1" "$y" click 1
  sleep 0.3
}
clip_click 20 86  # Addr
clip_click 20 71  # Café
clip_click 197 -32
key ctrl+a ctrl+c
[ "$(xclip -o -selection clipboard)" = "crème brûlée" ] ||
  fail "the text field shows '$(xclip -o -selection clipboard)' after a click on Café"

step "Edit item changes the clicked item and keeps the others' bytes"
clip_click 20 86  # Addr
clip_click 197 -32
key ctrl+a
type_text "2 Low Road"
key alt+e
wait_bytes "$BIN_DIR/ClipBook/Letters.cpb" $'Sig,Best, regards\r\nCaf\xe9,cr\xe8me br\xfbl\xe9e\r\nAddr,2 Low Road\r\n'

step "the message about a name too long for the system is not cut"
focus_window
key alt+t n
wait_dialog "Add New Template"
xdotool type --clearmodifiers --delay 2 -- "$(printf 'x%.0s' $(seq 1 300))"
key Return
wait_dialog "Quillet"
read -r box_x box_width < <(xwininfo -id "$DWIN" |
  sed -n 's/^ *Absolute upper-left X: *//p; s/^ *Width: *//p' | tr '\n' ' ')
# Qt cuts a message's text that would make the box wider than the screen less 480 px.
[ "$box_x" -ge 0 ] && [ "$box_width" -lt $((1280 - 480)) ] ||
  fail "the message box is $box_width px wide at x=$box_x: its text is cut on a screen 1280 wide"
key Return
wait_gone "Quillet"
wait_dialog "Add New Template"
key Escape
wait_gone "Add New Template"
focus_window

step "Esc closes the ClipBook"
key ctrl+b
wait_dialog "ClipBook"
key Escape
wait_gone "ClipBook"

step "done"
exit 0
