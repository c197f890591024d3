#!/usr/bin/env bash
# The program finds its shipped texts both installed and in the build tree: the build is installed
# into a staging /usr and each copy is started with a file named "--help" (given as ./--help);
# Help, ReadMe File opens the ReadMe. Switching away from each document writes its text to a store
# file, which is compared with the file it came from.
#
# Usage: bash tests/e2e/e2e_install.sh /path/to/quillet

# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

step "installing the build into a staging /usr"
build="$(dirname "$QUILLET")"
DESTDIR="$E2E_ROOT/stage" cmake --install "$build" --prefix /usr >"$E2E_ROOT/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$E2E_ROOT/install.log")"
export QUILLET_SETTINGS="$E2E_ROOT/settings/Quillet.ini"
mkdir -p "$E2E_ROOT/settings"
printf '[Tips]\r\nShowAtStart_Checked=False\r\n' >"$QUILLET_SETTINGS"
cd "$E2E_FILES" || fail "no files folder"
printf 'a file named --help\r\n' >./--help

# readme_arrives PROGRAM README: that copy opens ./--help and the ReadMe it ships.
readme_arrives() {
  QUILLET="$1"
  start_quillet ./--help
  wait_for_window
  wait_title "Quillet  - --help"
  step "$1: Help, ReadMe File opens $2"
  key alt+h r
  wait_title "Quillet  - Quillet Readme"
  key shift+F7
  wait_title "Quillet  - --help"
  wait_store_holding $'a file named --help\r\n'
  local f
  for _ in $(seq 1 50); do
    while IFS= read -r f; do cmp -s "$f" "$2" && return 0; done < <(store_files)
    sleep 0.1
  done
  fail "no store file holds $2"
}
readme_arrives "$E2E_ROOT/stage/usr/bin/quillet" "$E2E_ROOT/stage/usr/share/quillet/Data/Readme.txt"
stop_pid "$QUILLET_PID"
rm -f "$TMPDIR"/txt*
readme_arrives "$build/quillet" "$build/Data/Readme.txt"
