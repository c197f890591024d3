#!/usr/bin/env bash
# The document selector end to end: Ctrl+D shows it on the current document, and after New,
# Close and Next in the main window its selection is still the current document, so Up and Enter
# in it go to the document before; its menu's Close Document closes the entry it was opened on.
#
# Usage: bash tests/e2e/e2e_selector.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

printf 'alpha' >"$E2E_FILES/a.txt"
printf 'beta' >"$E2E_FILES/b.txt"
start_quillet "$E2E_FILES/a.txt" "$E2E_FILES/b.txt"
wait_for_window
wait_title "Quillet  - b.txt"
sleep 0.5
t="$(xdotool search --onlyvisible --name '^Quillet Tips$' 2>/dev/null | head -n 1)"
[ -n "$t" ] && { focus_window "$t"; xdotool key Escape; sleep 0.3; }

# in_main KEYS: presses keys in the main window; in_selector KEYS: in the selector.
in_main() { focus_window "$QWIN"; xdotool key --delay 60 "$@"; }
in_selector() { focus_window "$SEL"; xdotool key --delay 60 "$@"; }

step "Ctrl+D shows the selector on b.txt; Up and Enter go to a.txt"
in_main ctrl+d
wait_dialog "Document Selector"
SEL="$DWIN"
in_selector Up Return
wait_title "Quillet  - a.txt"

step "after New the selector is on the new document: Up goes to b.txt"
in_main ctrl+n
wait_title "Quillet  - Untitled"
in_selector Up Return
wait_title "Quillet  - b.txt"

step "after closing b.txt the selector is on the last document: Up goes to a.txt"
in_main ctrl+F4
wait_title "Quillet  - Untitled"
in_selector Up Return
wait_title "Quillet  - a.txt"

step "after Next the selector follows: Up goes back to a.txt, Esc closes it"
in_main F7
wait_title "Quillet  - Untitled"
in_selector Up Return
wait_title "Quillet  - a.txt"
in_selector Escape
wait_gone "Document Selector"

step "the menu on the first entry closes that entry, not the current a.txt"
in_main ctrl+d
wait_dialog "Document Selector"
SEL="$DWIN"
in_selector Home Menu
sleep 0.5
xdotool key c
# Left: a.txt first, then the second Untitled (closing a.txt would leave two Untitled).
sleep 0.5
in_selector Home Return
wait_title "Quillet  - a.txt"
in_selector Down Return
wait_title "Quillet  - Untitled"
