#!/usr/bin/env bash
# A Windows-1252 file as a person meets it: its text copied to the clipboard is the text its
# author wrote, a typed "ü" is saved as the byte 0xFC, and a typed "Ω" (which Windows-1252
# lacks) is refused at save, leaving the document modified and the file as it was.
#
# Usage: bash tests/e2e/e2e_encoding.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
need xclip xmodmap

step "mapping ü and Ω onto spare keycodes"
mapfile -t spare < <(xmodmap -pke | awk 'NF == 3 { print $2 }' | head -n 2)
[ "${#spare[@]}" -eq 2 ] || fail "no spare keycodes"
xmodmap -e "keycode ${spare[0]} = U00FC U00DC" -e "keycode ${spare[1]} = U03A9 U03A9" ||
  fail "xmodmap failed"

file="$E2E_FILES/legacy.txt"
printf 'caf\xe9 \x96 na\xefve \x80\r\n' >"$file"
start_quillet "$file"
wait_for_window
wait_title "Quillet  - legacy.txt"

step "Ctrl+A Ctrl+C copies the text as written"
key ctrl+a ctrl+c
sleep 0.3
[ "$(xclip -o -selection clipboard)" = "$(printf 'café – naïve €\r\n')" ] ||
  fail "clipboard holds '$(xclip -o -selection clipboard | od -c | head -n 3)'"

step "a typed ü is saved as 0xFC"
key ctrl+End U00FC ctrl+s
sleep 0.5
[ "$(od -An -tx1 "$file" | tr -d ' \n')" = "636166e92096206e61ef766520800d0afc" ] ||
  fail "file holds $(od -An -tx1 "$file")"

step "a typed Ω is refused at save"
key U03A9 ctrl+s
wait_dialog "Quillet -Character Not Saved"
key Return
wait_gone "Quillet -Character Not Saved"
[ "$(od -An -tx1 "$file" | tr -d ' \n')" = "636166e92096206e61ef766520800d0afc" ] || fail "the file changed"

step "the document is still modified: exit asks"
key alt+F4
wait_dialog "Quillet -Confimation Required"
key n
wait_quillet_exit 10
exit 0
