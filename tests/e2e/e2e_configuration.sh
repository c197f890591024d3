#!/usr/bin/env bash
# The tips, the configuration and the About window by keyboard: the tips come at start and Esc
# closes them; Options > Configure, Space on the first box and Enter make the program the default
# for text documents (xdg-mime says so, desktop-file-validate passes the entry); Ctrl+F1 shows
# About and Esc closes it.
#
# Usage: bash tests/e2e/e2e_configuration.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
need xdg-mime desktop-file-validate update-mime-database
unset XDG_CURRENT_DESKTOP

E2E_SHOW_TIPS=1 start_quillet
step "the tips come with the main window; Esc closes them"
wait_dialog "Quillet Tips"
key Escape
wait_gone "Quillet Tips"
wait_for_window

step "Configure: the first box and Enter"
key alt+o c
wait_dialog "Quillet Configuration"
key space Return
wait_gone "Quillet Configuration"
ENTRY="$XDG_DATA_HOME/applications/org.quillet.Quillet.desktop"
[ -f "$ENTRY" ] || fail "no desktop entry at $ENTRY"
desktop-file-validate "$ENTRY" || fail "the desktop entry is not valid"
answer="$(xdg-mime query default text/plain)"
[ "$answer" = org.quillet.Quillet.desktop ] || fail "xdg-mime answers '$answer' for text/plain"

step "About by Ctrl+F1, closed by Esc"
key ctrl+F1
wait_dialog "About Quillet"
key Escape
wait_gone "About Quillet"

step "done"
exit 0
