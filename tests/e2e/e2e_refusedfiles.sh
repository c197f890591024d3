#!/usr/bin/env bash
# What is not a regular file is refused without blocking: a pipe and a device named on the
# command line each get an error box at start (a pipe is never opened, so nothing waits for a
# writer), then the window comes up with its first document only.
#
# Usage: bash tests/e2e/e2e_refusedfiles.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

step "preparing a pipe"
mkfifo "$E2E_FILES/pipe" || fail "mkfifo failed"
start_quillet "$E2E_FILES/pipe" /dev/zero

for refused in pipe /dev/zero; do
  step "the error box for $refused"
  wait_dialog "Quillet"
  key Return
done
wait_for_window
wait_title "Quillet  - Untitled"
exit 0
