#!/usr/bin/env bash
# What cannot be a document is refused without blocking: a pipe, a device and a (sparse) file
# larger than the editor holds, named on the command line, each get an error box at start (a
# pipe is never opened, so nothing waits for a writer), then the window comes up with its first
# document only.
#
# Usage: bash tests/e2e/e2e_refusedfiles.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

step "preparing a pipe and a huge file"
mkfifo "$E2E_FILES/pipe" || fail "mkfifo failed"
truncate -s 2200M "$E2E_FILES/huge.log" || fail "truncate failed"
start_quillet "$E2E_FILES/pipe" /dev/zero "$E2E_FILES/huge.log"

for refused in pipe /dev/zero huge.log; do
  step "the error box for $refused"
  wait_dialog "Quillet"
  key Return
done
wait_for_window
wait_title "Quillet  - Untitled"
exit 0
