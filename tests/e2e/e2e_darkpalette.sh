#!/usr/bin/env bash
# A dark desktop end to end: under GTK's dark Adwaita, as a GNOME user with the dark style gets it
# through Qt's GTK 3 theme, the window turns dark, and the text typed into the editor stands out
# from its page by a contrast ratio of at least 4.5 (WCAG's AA), measured on a screenshot in the
# editor's place as AT-SPI gives it. The screenshot is kept in e2e-logs/.
#
# Usage: bash tests/e2e/e2e_darkpalette.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
own_session_bus "$@"
e2e_init "$@"
need import
# GTK, which the theme loads, stays off the accessibility bus (NO_AT_BRIDGE is its switch), so the
# program is there once, as Qt puts it.
export NO_AT_BRIDGE=1
start_accessibility
export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark

# readable AREA [dark]: a screenshot's text in AREA has a contrast of at least 4.5 (on a dark page).
readable() {
  import -window root -depth 8 "ppm:$E2E_ROOT/screen.ppm" || return 1
  /usr/bin/python3 "$(dirname "$0")/contrast.py" "$E2E_ROOT/screen.ppm" "$1" 4.5 "${@:2}"
}

start_quillet
wait_for_window
step "some text typed into the editor"
type_text "The quick brown fox"
key Return
type_text "jumps over the lazy dog"
until_ok reader caret "jumps over the lazy dog" 23

step "the window turned dark: its status bar's page and text"
status="$(reader where "Quillet  - Untitled" "status bar")" || fail "$status"
until_ok readable "$status" dark

step "the editor's text is readable on its dark page"
editor="$(reader where "Quillet  - Untitled" Editor)" || fail "$editor"
until_ok readable "$editor" dark
screenshot editor >/dev/null

step "done"
exit 0
