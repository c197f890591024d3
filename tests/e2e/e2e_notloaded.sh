#!/usr/bin/env bash
# A file the user may write but not read (mode 0200) opens as an empty document that is never
# saved over it unasked: Save on the untouched document and Save All write nothing; Save after
# typing asks first (No keeps the file, Yes replaces it). The program runs as an ordinary user,
# for whom 0200 really is unreadable; a test run as root creates one.
#
# Usage: bash tests/e2e/e2e_notloaded.sh /path/to/quillet

# shellcheck source=lib.sh disable=SC2034
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

step "an ordinary user with folders of its own"
RUN_AS=()
if [ "$(id -u)" -eq 0 ]; then
  # A user of this run's own, removed when it ends, so no test run leaves one behind.
  E2E_USER="quillet-e2e-$$"
  useradd --no-create-home --shell /usr/sbin/nologin "$E2E_USER" || fail "useradd failed"
  at_exit userdel "$E2E_USER"
  RUN_AS=(setpriv --reuid="$(id -u "$E2E_USER")" --regid="$(id -g "$E2E_USER")" --init-groups)
  chmod 711 "$E2E_ROOT"
  mkdir -p "$E2E_ROOT/user"/{home,config,data,state,cache,runtime,tmp,files}
  XDG_CONFIG_HOME="$E2E_ROOT/user/config" quiet_tips
  chown -R "$E2E_USER:" "$E2E_ROOT/user"
  chmod 700 "$E2E_ROOT/user/runtime"
  export HOME="$E2E_ROOT/user/home" XDG_CONFIG_HOME="$E2E_ROOT/user/config" XDG_DATA_HOME="$E2E_ROOT/user/data"
  export XDG_CACHE_HOME="$E2E_ROOT/user/cache" XDG_RUNTIME_DIR="$E2E_ROOT/user/runtime" TMPDIR="$E2E_ROOT/user/tmp"
  export XDG_STATE_HOME="$E2E_ROOT/user/state"
  E2E_FILES="$E2E_ROOT/user/files"
fi
secret="$E2E_FILES/secret.txt"
printf 'precious' >"$secret"
[ ${#RUN_AS[@]} -eq 0 ] || chown "$E2E_USER:" "$secret"
chmod 0200 "$secret"

# The size tells (an ordinary user running this test cannot read the file either).
unchanged() {
  sleep 0.5
  [ "$(stat -c %s "$secret")" = 8 ] || fail "secret.txt was written $1"
}

step "starting quillet on the unreadable file"
QT_QPA_PLATFORM=xcb "${RUN_AS[@]}" "$QUILLET" "$secret" </dev/null >>"$E2E_ROOT/quillet.out" \
  2>>"$E2E_ROOT/quillet.err" &
QUILLET_PID=$!
wait_for_window
wait_title "Quillet  - secret.txt"

step "Save on the untouched document"
key ctrl+s
unchanged "by Save on the empty document"
step "Save All"
key ctrl+shift+a
unchanged "by Save All"

step "typing, then Save asks; No keeps the file"
type_text "new"
key ctrl+s
wait_dialog "Quillet -Confimation Required"
key n
unchanged "after No"
step "Save All skips it without asking"
focus_window
key ctrl+shift+a
unchanged "by Save All after typing"
xdotool search --onlyvisible --name '^Quillet -Confimation Required$' >/dev/null 2>&1 && fail "Save All asked"

step "Save again; Yes replaces the file"
key ctrl+s
wait_dialog "Quillet -Confimation Required"
key y
sleep 0.5
[ "$(stat -c %s "$secret")" = 3 ] || fail "secret.txt was not replaced after Yes"

exit 0
