#!/usr/bin/env bash
# Printing and outside programs end to end, with recording stand-ins for the browser, xdg-open and
# xdg-email on a private PATH: Ctrl+P without a printer writes a PDF named after the document (its
# title, its text); View In Browser hands Web/Temp.html to the configured browser, whose path has a
# blank; Open Link hands the selected address to the desktop; Mail hands the text to xdg-email.
#
# Usage: bash tests/e2e/e2e_outside.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
need pdfinfo pdftotext

CALLS="$E2E_ROOT/calls"
# The browser's folder has a blank in its name; Qt's own xdg-open call would split such a path.
BROWSER="$E2E_ROOT/my browser/browse"
mkdir -p "$E2E_ROOT/bin" "$(dirname "$BROWSER")"
for tool in "$BROWSER" "$E2E_ROOT/bin/xdg-open" "$E2E_ROOT/bin/xdg-email"; do
  # Each stand-in writes its name and then each argument on a line of its own.
  printf '#!/bin/sh\n{ printf "%%s\\n" "$(basename "$0")"; for a in "$@"; do printf "%%s\\n" "$a"; done; } >>"%s"\n' \
    "$CALLS" >"$tool"
  chmod +x "$tool"
done
export PATH="$E2E_ROOT/bin:$PATH"
mkdir -p "$XDG_CONFIG_HOME/Quillet"
printf '[Quillet Options]\r\nEdit6_Text=%s\r\n' "$BROWSER" >"$XDG_CONFIG_HOME/Quillet/Quillet.ini"

DOC="$E2E_FILES/two words.txt"
printf 'https://example.org/a?b=1\r\nsecond line\r\n' >"$DOC"

# wait_calls LINE...: the recorded calls must end with these lines within 10 s.
wait_calls() {
  local expected i
  expected="$(printf '%s\n' "$@")"
  for i in $(seq 1 100); do
    [ "$(tail -n $# "$CALLS" 2>/dev/null)" = "$expected" ] && return 0
    sleep 0.1
  done
  fail "recorded calls end with: $(tail -n $# "$CALLS" 2>/dev/null | tr '\n' '|'), expected: $(tr '\n' '|' <<<"$expected")"
}

start_quillet "$DOC"
wait_for_window
wait_title "Quillet  - two words.txt"

step "Ctrl+P without a printer writes a PDF named after the document"
PDF="$HOME/two words.txt.pdf"
key ctrl+p
for i in $(seq 1 100); do [ -s "$PDF" ] && pdfinfo "$PDF" >/dev/null 2>&1 && break; sleep 0.1; done
pdfinfo "$PDF" | grep -qx 'Title: *two words.txt' || fail "PDF title: $(pdfinfo "$PDF" 2>&1 | grep Title)"
pdftotext "$PDF" - | grep -qx 'second line' || fail "PDF text: $(pdftotext "$PDF" - 2>&1 | head -3)"

step "View In Browser hands Web/Temp.html to the browser"
key ctrl+shift+w
wait_calls browse "$(dirname "$QUILLET")/Web/Temp.html"
cmp -s "$DOC" "$(dirname "$QUILLET")/Web/Temp.html" || fail "Web/Temp.html does not hold the document"

step "Open Link hands the selected address to the desktop"
key ctrl+Home shift+End ctrl+l
wait_calls xdg-open 'https://example.org/a?b=1'

step "Mail hands the text to xdg-email"
key alt+f m
wait_calls xdg-email --body $'https://example.org/a?b=1\r' $'second line\r' ''
