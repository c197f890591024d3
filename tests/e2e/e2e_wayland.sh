#!/usr/bin/env bash
# Wayland end to end: with no X server at all, the program runs as a client of a headless Wayland
# compositor, opens a file given on its command line and takes the "Time" switch, and SIGTERM
# ends it with the changed document kept for recovery and the file untouched. A window cannot
# learn its place there (the compositor says 0,0): the stored position comes back unchanged, the
# size as it was, in every placement value written.
#
# Usage: bash tests/e2e/e2e_wayland.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init_wayland "$@"

INI="$XDG_CONFIG_HOME/Quillet/Quillet.ini"
DOC="$E2E_FILES/doc.txt"
printf 'line one\r\n' >"$DOC"
mkdir -p "$XDG_CONFIG_HOME/Quillet"
printf '[Main]\r\nNormPos=211,187,961,787\r\n[Tips]\r\nShowAtStart_Checked=False\r\n' >"$INI"

step "starting under Wayland with a file and the Time switch"
start_quillet "$DOC" Time
[ -z "${DISPLAY:-}" ] || fail "an X display is set: $DISPLAY"
# A recovery record is written two seconds after the change: by then the program is up and the
# document it opened is modified.
records() { find "$XDG_STATE_HOME/Quillet/recovery" -name '*.json' 2>/dev/null | wc -l; }
for _ in $(seq 1 100); do
  [ "$(records)" -ge 1 ] && break
  quillet_running || fail "quillet ended before keeping its changed document"
  sleep 0.1
done
[ "$(records)" -eq 1 ] || fail "no recovery record for the changed document"
grep -q 'doc\.txt' "$(find "$XDG_STATE_HOME/Quillet/recovery" -name '*.json' | head -n 1)" ||
  fail "the recovery record is not doc.txt's"
# The platform plugin loaded is Qt's Wayland client.
grep -q 'libqwayland' "/proc/$QUILLET_PID/maps" || fail "the Wayland platform plugin is not loaded"

step "SIGTERM ends it and keeps the changed document"
kill -TERM "$QUILLET_PID"
wait_quillet_exit 10
[ "$QUILLET_STATUS" -eq 0 ] || fail "quillet ended with status $QUILLET_STATUS"
cmp -s "$DOC" <(printf 'line one\r\n') || fail "doc.txt was changed"
[ "$(records)" -eq 1 ] || fail "the changed document was not kept for recovery"

step "the stored position is kept and the size restored"
positions="$(tr -d '\r' <"$INI" | sed -n '/^\[Main\]/,/^\[/p' | grep -i '^NormPos')"
[ -n "$positions" ] || fail "no NormPos in [Main]"
while IFS= read -r line; do
  [ "${line#*=}" = 211,187,961,787 ] || fail "stored placement changed: $line"
done <<<"$positions"
# The end saved the placement afresh: one value for this screen size besides the plain one.
[ "$(wc -l <<<"$positions")" -ge 2 ] || fail "the placement was not saved: $positions"
