#!/usr/bin/env bash
# Files in other encodings as a person meets them. A Windows-1251 file named on the command line
# reads in the code page stored in the options, and "/px" prints it as it reads. A Windows-1252
# file's text copied to the clipboard is the text its author wrote, a typed "ü" is saved as the
# byte 0xFC, and a typed "Ω" (which Windows-1252 lacks) is refused at save, leaving the document
# modified and the file as it was. A file in no encoding the program reads is raw bytes: a typed
# "ü" is saved into it only after a question, whose default keeps the file as it was.
#
# Usage: bash tests/e2e/e2e_encoding.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
need xclip xmodmap pdftotext

step "mapping ü and Ω onto spare keycodes"
mapfile -t spare < <(xmodmap -pke | awk 'NF == 3 { print $2 }' | head -n 2)
[ "${#spare[@]}" -eq 2 ] || fail "no spare keycodes"
xmodmap -e "keycode ${spare[0]} = U00FC U00DC" -e "keycode ${spare[1]} = U03A9 U03A9" ||
  fail "xmodmap failed"

INI="$XDG_CONFIG_HOME/Quillet/Quillet.ini"
mkdir -p "$(dirname "$INI")"
printf '[Quillet Options]\r\nLegacyEncodingCombo_Text=Windows-1251\r\n' >"$INI"
cyrillic="$E2E_FILES/cyrillic.txt"
printf '\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0\r\n' >"$cyrillic"

step "a file on the command line reads in the stored code page"
start_quillet "$cyrillic"
wait_for_window
wait_title "Quillet  - cyrillic.txt"
key ctrl+a ctrl+c
sleep 0.3
[ "$(xclip -o -selection clipboard)" = "$(printf 'Привет, мир\r\n')" ] ||
  fail "clipboard holds '$(xclip -o -selection clipboard | od -c | head -n 3)'"
key alt+F4
wait_quillet_exit 10

step "/px prints the file as it reads"
start_quillet /px "$cyrillic"
wait_quillet_exit 20
[ -s "$HOME/cyrillic.txt.pdf" ] || fail "no PDF: $(ls -la "$HOME")"
pdftotext "$HOME/cyrillic.txt.pdf" - | grep -q 'Привет, мир' ||
  fail "the PDF reads '$(pdftotext "$HOME/cyrillic.txt.pdf" - | head -c 200)'"
sed -i 's/^LegacyEncodingCombo_Text=.*/LegacyEncodingCombo_Text=Windows-1252\r/' "$INI"

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

step "raw bytes: a typed ü goes in only after a question"
# "loťa" in Windows-1250: 0x9D is neither valid UTF-8 nor a Windows-1252 character.
raw="$E2E_FILES/raw.txt"
printf 'lo\x9da\r\n' >"$raw"
start_quillet "$raw"
wait_for_window
wait_title "Quillet  - raw.txt"
key ctrl+Home U00FC ctrl+s
wait_dialog "Quillet -Confimation Required"
key Return
wait_gone "Quillet -Confimation Required"
[ "$(od -An -tx1 "$raw" | tr -d ' \n')" = "6c6f9d610d0a" ] || fail "No saved: $(od -An -tx1 "$raw")"
focus_window
key ctrl+s
wait_dialog "Quillet -Confimation Required"
key alt+y
wait_gone "Quillet -Confimation Required"
sleep 0.5
[ "$(od -An -tx1 "$raw" | tr -d ' \n')" = "c3bc6c6f9d610d0a" ] || fail "Yes did not save: $(od -An -tx1 "$raw")"
focus_window
key alt+F4
wait_quillet_exit 10
exit 0
