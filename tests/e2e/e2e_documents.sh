#!/usr/bin/env bash
# Documents end to end: the title follows the current tab, a file named on the
# command line opens as its own tab, Ctrl+N / F7 / Shift+F7 move between tabs,
# typed text is kept in a store file in the temp folder when the user switches
# away, and closing the window ends the program and removes those store files.
#
# Usage: bash tests/e2e/e2e_documents.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

step "preparing alpha.txt"
printf 'alpha text' >"$E2E_FILES/alpha.txt"

# --- a fresh program shows the Untitled tab ---------------------------------
start_quillet
wait_for_window
step "fresh program title"
wait_title "Quillet  - Untitled"

step "closing the fresh program"
key alt+F4
wait_quillet_exit 10
[ "$QUILLET_STATUS" -eq 0 ] || fail "quillet exited with status $QUILLET_STATUS"

# --- a file on the command line opens as a tab after Untitled ---------------
start_quillet "$E2E_FILES/alpha.txt"
wait_for_window
step "title after opening alpha.txt from the command line"
wait_title "Quillet  - alpha.txt"

# --- keys: new tab, previous, next ------------------------------------------
step "Ctrl+N makes a new Untitled tab current"
key ctrl+n
wait_title "Quillet  - Untitled"

step "Shift+F7 from the new tab goes back to alpha.txt"
key shift+F7
wait_title "Quillet  - alpha.txt"

step "Shift+F7 from alpha.txt goes to the first Untitled tab"
key shift+F7
wait_title "Quillet  - Untitled"

step "Shift+F7 at the first tab stays there"
key shift+F7
sleep 0.5
wait_title "Quillet  - Untitled"

step "F7 from the first tab goes to alpha.txt"
key F7
wait_title "Quillet  - alpha.txt"

# F7 from the first tab landing on alpha.txt proves the previous Shift+F7 did not
# wrap round to the last tab; now also check F7 stops at the last tab.
step "F7 from alpha.txt goes to the new Untitled tab"
key F7
wait_title "Quillet  - Untitled"

step "F7 at the last tab stays there"
key F7
sleep 0.5
wait_title "Quillet  - Untitled"
step "Shift+F7 after F7 at the last tab lands on alpha.txt (no wrap to the first)"
key shift+F7
wait_title "Quillet  - alpha.txt"
step "F7 back to the new Untitled tab"
key F7
wait_title "Quillet  - Untitled"

# --- typed text is stored when switching away -------------------------------
step "typing into the new Untitled tab"
type_text "hello world"
# Typing must not rename the tab or otherwise disturb the title's tab caption.
wait_title "Quillet  - Untitled"

step "switching away stores the typed text"
key shift+F7
wait_title "Quillet  - alpha.txt"
wait_store_holding "hello world"

step "switching back and away again keeps the text stored"
key F7
wait_title "Quillet  - Untitled"
key shift+F7
wait_title "Quillet  - alpha.txt"
wait_store_holding "hello world"

# --- closing the window ends the program and removes the store files --------
step "closing the main window asks about the modified document"
[ -n "$(store_files)" ] || fail "expected store files before closing"
key alt+F4
wait_dialog "Quillet -Confimation Required"
key n
wait_quillet_exit 10
[ "$QUILLET_STATUS" -eq 0 ] || fail "quillet exited with status $QUILLET_STATUS"

step "store files are gone after the program ended"
leftover="$(store_files)"
[ -z "$leftover" ] || fail "store files left in \$TMPDIR after exit:
$leftover"

step "done"
exit 0
