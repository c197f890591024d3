# shellcheck shell=bash disable=SC2012,SC2034,SC2119,SC2120
# Shared harness for the end-to-end tests: sourced, never run on its own.
#
# Gives each test its own Xvfb display with openbox, a private home, config,
# data and temp folder (so Quillet never touches the user's own settings or
# files), and helpers to start Quillet and drive it with xdotool the way a
# person would: focus the window, type, press keys, read the title.
#
# Usage in a test:
#   source "$(dirname "$0")/lib.sh"
#   E2E_SCREEN=2560x2048   # the screen's size, if not 1280x1024
#   e2e_init "$@"          # $1 is the quillet binary
#   start_quillet ARGS...
#   wait_for_window
#   step "..."; key ctrl+n; wait_title "Quillet  - Untitled"

set -uo pipefail

E2E_NAME="$(basename "${0:-e2e}" .sh)"
E2E_ROOT=""
E2E_STEP="setting up"
QUILLET=""
QUILLET_PID=""
QUILLET_STATUS=""
QWIN=""
XVFB_PID=""
OPENBOX_PID=""
TRAYER_PID=""
WESTON_PID=""
# The platform plugin start_quillet asks for: e2e_init_wayland makes it wayland.
QUILLET_QPA=xcb
E2E_SCREEN="${E2E_SCREEN:-1280x1024}"
# Where screenshots are kept after the test (its other folders go): the working folder, which is
# build/tests under ctest, unless E2E_LOGS names another.
E2E_LOGS="${E2E_LOGS:-$PWD/e2e-logs}"
E2E_AT_EXIT=()

# The session bus a test started for itself with own_session_bus, kept across the unset below.
E2E_BUS="${E2E_SESSION_BUS:+${DBUS_SESSION_BUS_ADDRESS:-}}"
E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# Always start from a clean slate: a display or platform inherited from the
# caller (ctest sets QT_QPA_PLATFORM=offscreen for the unit tests) must not leak in.
unset DISPLAY WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS

log() { printf '[%s] %s\n' "$E2E_NAME" "$*" >&2; }

# Names the step in progress so a failure says where it happened.
step() {
  E2E_STEP="$*"
  log "step: $*"
}

diagnostics() {
  {
    echo "----- diagnostics ($E2E_NAME) -----"
    echo "failed step: $E2E_STEP"
    if [ -n "$QUILLET_PID" ]; then
      if kill -0 "$QUILLET_PID" 2>/dev/null; then
        echo "quillet pid $QUILLET_PID: running"
      else
        echo "quillet pid $QUILLET_PID: not running${QUILLET_STATUS:+ (exit status $QUILLET_STATUS)}"
      fi
    fi
    if [ -n "${DISPLAY:-}" ]; then
      if [ -n "$QWIN" ]; then
        echo "window $QWIN title: '$(xdotool getwindowname "$QWIN" 2>/dev/null)'"
      fi
      echo "active window: $(xdotool getactivewindow 2>/dev/null || echo none)"
      echo "focused window: $(xdotool getwindowfocus 2>/dev/null || echo none)"
      echo "named windows (id, visible?, name):"
      local w vis
      for w in $(xdotool search --name . 2>/dev/null); do
        vis=hidden
        xwininfo -id "$w" 2>/dev/null | grep -q 'IsViewable' && vis=visible
        printf '  %s %s %s\n' "$w" "$vis" "'$(xdotool getwindowname "$w" 2>/dev/null)'"
      done
    fi
    if [ -n "$E2E_ROOT" ] && [ -d "$E2E_ROOT/tmp" ]; then
      echo "temp folder \$TMPDIR:"
      ls -la "$E2E_ROOT/tmp" 2>/dev/null | sed 's/^/  /'
    fi
    local f
    for f in quillet.err quillet.out openbox.log xvfb.log trayer.log weston.log; do
      if [ -n "$E2E_ROOT" ] && [ -s "$E2E_ROOT/$f" ]; then
        echo "--- $f (last 60 lines) ---"
        tail -n 60 "$E2E_ROOT/$f"
      fi
    done
    echo "-----------------------------------"
  } >&2
}

fail() {
  log "FAIL during '$E2E_STEP': $*"
  diagnostics
  exit 1
}

# at_exit COMMAND ARGS...: runs the command when the test ends, however it ends, once its programs
# have stopped (a user the test made cannot be removed while its processes run).
at_exit() {
  E2E_AT_EXIT+=("$(printf '%q ' "$@")")
}

# Stops everything this test started, runs what at_exit gave and removes its temp folder, on any
# exit.
e2e_cleanup() {
  local rc=$? undo
  trap - EXIT INT TERM HUP
  stop_pid "$QUILLET_PID"
  stop_pid "$TRAYER_PID"
  stop_pid "$OPENBOX_PID"
  stop_pid "$XVFB_PID"
  stop_pid "$WESTON_PID"
  for undo in "${E2E_AT_EXIT[@]}"; do
    eval "$undo" || log "could not undo: $undo"
  done
  if [ -n "$E2E_ROOT" ] && [ -d "$E2E_ROOT" ]; then
    rm -rf -- "$E2E_ROOT"
  fi
  if [ "$rc" -eq 0 ]; then
    log "PASS"
  else
    log "FAILED (exit $rc)"
  fi
  exit "$rc"
}

# TERM, then KILL if it lingers; only ever the given pid.
stop_pid() {
  local pid="${1:-}" i
  [ -n "$pid" ] || return 0
  kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
  kill -TERM "$pid" 2>/dev/null
  for i in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 0
}

need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 ||
      fail "'$tool' is not installed (scripts/setup test installs the end-to-end tools)"
  done
}

# e2e_init QUILLET_BINARY: private folders, X server and window manager.
e2e_init() {
  e2e_folders "$@"
  need Xvfb openbox xdotool xwininfo xprop
  start_xvfb
  start_openbox
}

# e2e_init_wayland QUILLET_BINARY: private folders and a headless Wayland compositor, no X at all.
e2e_init_wayland() {
  e2e_folders "$@"
  need weston
  start_weston
  QUILLET_QPA=wayland
}

# e2e_folders QUILLET_BINARY: the private home, config, data, state, runtime and temp folders.
e2e_folders() {
  trap e2e_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM HUP

  QUILLET="${1:-}"
  [ -n "$QUILLET" ] || fail "usage: bash $0 /path/to/quillet"
  [ -x "$QUILLET" ] || fail "quillet binary '$QUILLET' is missing or not executable"
  QUILLET="$(cd "$(dirname "$QUILLET")" && pwd)/$(basename "$QUILLET")"

  E2E_ROOT="$(mktemp -d "${TMPDIR:-/tmp}/quillet-e2e.XXXXXX")" || fail "mktemp failed"
  mkdir -p "$E2E_ROOT"/{home,config,data,cache,runtime,tmp,files}
  chmod 700 "$E2E_ROOT/runtime"
  export HOME="$E2E_ROOT/home"
  export XDG_CONFIG_HOME="$E2E_ROOT/config"
  export XDG_DATA_HOME="$E2E_ROOT/data"
  export XDG_CACHE_HOME="$E2E_ROOT/cache"
  export XDG_STATE_HOME="$E2E_ROOT/state"
  export XDG_RUNTIME_DIR="$E2E_ROOT/runtime"
  export TMPDIR="$E2E_ROOT/tmp"
  # A folder for the test's own documents, apart from the program's temp files.
  export E2E_FILES="$E2E_ROOT/files"
  export LC_ALL=C.UTF-8
  export LANG=C.UTF-8
}

start_weston() {
  step "starting weston"
  # The socket lives in the test's own runtime folder, so its name cannot meet another's.
  weston --backend=headless-backend.so --socket=wayland-e2e --idle-time=0 --no-config \
    >"$E2E_ROOT/weston.log" 2>&1 &
  WESTON_PID=$!
  local i
  for i in $(seq 1 200); do
    [ -S "$XDG_RUNTIME_DIR/wayland-e2e" ] && break
    kill -0 "$WESTON_PID" 2>/dev/null || fail "weston exited"
    sleep 0.1
  done
  [ -S "$XDG_RUNTIME_DIR/wayland-e2e" ] || fail "weston made no socket within 20 s"
  export WAYLAND_DISPLAY=wayland-e2e
  log "weston running (pid $WESTON_PID)"
}

start_xvfb() {
  step "starting Xvfb"
  local fifo="$E2E_ROOT/displayfd" n=""
  mkfifo "$fifo" || fail "mkfifo failed"
  # -displayfd lets the server pick a free display and says which once it accepts clients.
  Xvfb -displayfd 7 -screen 0 "${E2E_SCREEN}x24" -nolisten tcp -noreset \
    7>"$fifo" >"$E2E_ROOT/xvfb.log" 2>&1 &
  XVFB_PID=$!
  # The read end is opened with a timeout so a server that dies early cannot hang us.
  read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  [ -n "$n" ] || fail "Xvfb did not report a display number within 20 s"
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && break
    xprop -root >/dev/null 2>&1 && break
    sleep 0.1
  done
  kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb exited"
  log "Xvfb on $DISPLAY (pid $XVFB_PID)"
}

start_openbox() {
  step "starting openbox"
  # Our own config, so Alt+F4 (close) and focusing of new windows do not depend on the host's.
  mkdir -p "$E2E_ROOT/openbox"
  cat >"$E2E_ROOT/openbox/rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus>
    <focusNew>yes</focusNew>
    <followMouse>no</followMouse>
  </focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
</openbox_config>
EOF
  # Openbox claims the screen (_NET_SUPPORTING_WM_CHECK) before it has loaded its theme and
  # managed the windows already there; a window mapped in between is never managed, so it stays
  # unmapped. Its start-up command runs once it is done. Loading the theme can take a second or
  # more where the fonts are not in the system's font cache: root fills that cache on its first
  # run, an ordinary user cannot, and each test's fresh XDG_CACHE_HOME scans the fonts anew.
  local ready="$E2E_ROOT/openbox/ready"
  openbox --config-file "$E2E_ROOT/openbox/rc.xml" --startup "touch '$ready'" >"$E2E_ROOT/openbox.log" 2>&1 &
  OPENBOX_PID=$!
  local i
  for i in $(seq 1 200); do
    [ -e "$ready" ] && break
    kill -0 "$OPENBOX_PID" 2>/dev/null || fail "openbox exited"
    sleep 0.1
  done
  [ -e "$ready" ] || fail "openbox did not finish starting within 20 s"
  log "openbox running (pid $OPENBOX_PID)"
}

# own_session_bus ARGS...: runs the test again inside a D-Bus session of its own, unless it is in
# it already. The first line of a test that reads the program through AT-SPI, given the test's
# arguments; start_accessibility then joins it.
own_session_bus() {
  [ -z "${E2E_SESSION_BUS:-}" ] || return 0
  command -v dbus-run-session >/dev/null || { echo "dbus-run-session is not installed" >&2; exit 1; }
  exec dbus-run-session -- env E2E_SESSION_BUS=1 bash "$0" "$@"
}

# After e2e_init: the program and screenreader.py meet on the accessibility bus, which the session
# bus starts when first asked. It is told the test's folders and display first, so the bus's socket
# lies in the test's own runtime folder: otherwise it is ~/.cache/at-spi/bus, the same file for
# every test running at the time, and the first to end takes it away from the others.
start_accessibility() {
  [ -n "$E2E_BUS" ] || fail "no session bus of the test's own (own_session_bus comes first)"
  need dbus-update-activation-environment
  export DBUS_SESSION_BUS_ADDRESS="$E2E_BUS" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE="${NO_AT_BRIDGE:-0}"
  dbus-update-activation-environment HOME XDG_RUNTIME_DIR XDG_CACHE_HOME XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY ||
    fail "the session bus did not take the test's environment"
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"
}

reader() { /usr/bin/python3 "$E2E_DIR/screenreader.py" "$@"; }

# until_ok COMMAND...: the command must succeed within 10 s (the accessibility tree follows the
# windows a little late, and the screen the text); its last output is the failure's message.
until_ok() {
  local i out
  for i in $(seq 1 50); do
    out="$("$@" 2>&1)" && { log "$out"; return 0; }
    sleep 0.2
  done
  fail "$out"
}

# until_reader COMMAND...: the reader must agree within 10 s.
until_reader() { until_ok reader "$@"; }

# For tests that need a system tray: trayer provides the freedesktop tray.
start_trayer() {
  step "starting trayer"
  need trayer
  NO_AT_BRIDGE=1 trayer --edge top --align right --widthtype pixel --width 200 --height 32 \
    --SetDockType true --transparent false >"$E2E_ROOT/trayer.log" 2>&1 &
  TRAYER_PID=$!
  local i
  for i in $(seq 1 200); do
    # trayer claims the tray selection before it maps its panel window.
    if [ -n "$(xdotool search --onlyvisible --class '^trayer$' 2>/dev/null)" ]; then
      sleep 0.3
      log "trayer running (pid $TRAYER_PID)"
      return 0
    fi
    kill -0 "$TRAYER_PID" 2>/dev/null || fail "trayer exited"
    sleep 0.1
  done
  fail "trayer did not appear within 20 s"
}

# The tip window comes with the main window until its box is unchecked; a test's user has
# unchecked it, so keys go to the main window. A test that wants the tips sets E2E_SHOW_TIPS=1.
quiet_tips() {
  [ -z "${QUILLET_SETTINGS:-}" ] && [ -z "${E2E_SHOW_TIPS:-}" ] || return 0
  local ini="$XDG_CONFIG_HOME/Quillet/Quillet.ini"
  grep -qi '^ShowAtStart_Checked=' "$ini" 2>/dev/null && return 0
  mkdir -p "$XDG_CONFIG_HOME/Quillet"
  printf '[Tips]\r\nShowAtStart_Checked=False\r\n' >>"$ini"
}

# start_quillet ARGS...: runs the program in the background with the private environment.
start_quillet() {
  step "starting quillet $*"
  quiet_tips
  QUILLET_STATUS=""
  QT_QPA_PLATFORM="$QUILLET_QPA" "$QUILLET" "$@" </dev/null >>"$E2E_ROOT/quillet.out" 2>>"$E2E_ROOT/quillet.err" &
  QUILLET_PID=$!
  log "quillet pid $QUILLET_PID"
}

quillet_running() {
  [ -n "$QUILLET_PID" ] && kill -0 "$QUILLET_PID" 2>/dev/null
}

# wait_for_window: waits up to 20 s for a mapped window of the program whose
# name starts with "Quillet", remembers it in QWIN, focuses it and prints its id.
# Call it directly (not in $(...)) so QWIN is set and a failure ends the test.
wait_for_window() {
  step "waiting for the Quillet window"
  local i w=""
  for i in $(seq 1 200); do
    w="$(xdotool search --all --onlyvisible --pid "$QUILLET_PID" --name '^Quillet' 2>/dev/null | head -n 1)"
    # Fall back to the name alone in case the program does not set _NET_WM_PID.
    [ -n "$w" ] || w="$(xdotool search --onlyvisible --name '^Quillet' 2>/dev/null | head -n 1)"
    [ -n "$w" ] && break
    if ! quillet_running; then
      wait "$QUILLET_PID" 2>/dev/null; QUILLET_STATUS=$?
      fail "quillet exited before showing its window"
    fi
    sleep 0.1
  done
  [ -n "$w" ] || fail "no visible window named 'Quillet...' within 20 s"
  QWIN="$w"
  focus_window
  echo "$QWIN"
}

# Puts keyboard focus on the program's window; openbox honours activation requests.
focus_window() {
  local w="${1:-$QWIN}" i
  [ -n "$w" ] || fail "no window to focus"
  for i in $(seq 1 50); do
    xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$w" ] &&
      [ "$(xdotool getwindowfocus 2>/dev/null)" = "$w" ] && return 0
    xdotool windowfocus --sync "$w" >/dev/null 2>&1 || true
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$w" ] && return 0
    sleep 0.1
  done
  fail "could not give keyboard focus to window $w"
}

# screenshot NAME: the whole screen into $E2E_LOGS/<test>-NAME.png; prints the file's path.
screenshot() {
  need import
  mkdir -p "$E2E_LOGS" || fail "cannot make $E2E_LOGS"
  local file="$E2E_LOGS/$E2E_NAME-$1.png"
  import -window root "$file" || fail "could not take a screenshot into $file"
  log "screenshot: $file"
  echo "$file"
}

window_title() {
  xdotool getwindowname "${1:-$QWIN}" 2>/dev/null
}

# wait_title EXPECTED: the title must become exactly EXPECTED within 10 s.
wait_title() {
  local expected="$1" actual="" i
  for i in $(seq 1 100); do
    actual="$(window_title)"
    [ "$actual" = "$expected" ] && return 0
    if ! quillet_running; then
      wait "$QUILLET_PID" 2>/dev/null; QUILLET_STATUS=$?
      fail "quillet ended while waiting for the title '$expected'"
    fi
    sleep 0.1
  done
  fail "title mismatch
    expected: '$expected'
    actual:   '$actual'"
}

# Keys go to whichever of the program's windows has focus (a dialog of its own
# keeps it); if another program's window or none has it, the main window gets it.
ensure_focus() {
  local active focus
  active="$(xdotool getactivewindow 2>/dev/null)"
  focus="$(xdotool getwindowfocus 2>/dev/null)"
  if [ -n "$active" ] && [ "$active" = "$focus" ] &&
     [ "$(xdotool getwindowpid "$active" 2>/dev/null)" = "$QUILLET_PID" ]; then
    return 0
  fi
  focus_window
}

# key KEYS...: presses keys (xdotool names, e.g. ctrl+n, shift+F7) into the focused program.
key() {
  quillet_running || fail "quillet is not running (wanted to press: $*)"
  ensure_focus
  xdotool key --clearmodifiers --delay 60 "$@" || fail "xdotool key $* failed"
}

# type_text TEXT: types TEXT as keystrokes into the focused program.
type_text() {
  quillet_running || fail "quillet is not running (wanted to type: $1)"
  ensure_focus
  xdotool type --clearmodifiers --delay 40 -- "$1" || fail "xdotool type failed"
}

# wait_quillet_exit [SECONDS]: waits for the program to end; its status goes in QUILLET_STATUS.
wait_quillet_exit() {
  local limit="${1:-10}" i
  for i in $(seq 1 $((limit * 10))); do
    quillet_running || break
    sleep 0.1
  done
  quillet_running && fail "quillet still running $limit s after being asked to close"
  wait "$QUILLET_PID" 2>/dev/null
  QUILLET_STATUS=$?
  return 0
}

# wait_dialog TITLE: waits up to 10 s for a visible window of the program titled exactly TITLE,
# focuses it and remembers it in DWIN.
wait_dialog() {
  local title="$1" i w=""
  for i in $(seq 1 100); do
    w="$(xdotool search --all --onlyvisible --pid "$QUILLET_PID" --name "^${title}\$" 2>/dev/null | head -n 1)"
    [ -n "$w" ] || w="$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)"
    [ -n "$w" ] && break
    quillet_running || fail "quillet ended while waiting for the window '$title'"
    sleep 0.1
  done
  [ -n "$w" ] || fail "no window titled '$title' within 10 s"
  DWIN="$w"
  focus_window "$DWIN"
}

# Prints the store files in $TMPDIR, one a line.
store_files() {
  local f
  for f in "$TMPDIR"/txt*; do
    [ -f "$f" ] && printf '%s\n' "$f"
  done
}

# wait_store_holding TEXT: some store file must hold exactly TEXT (no trailing
# newline) within 5 s; the writes happen on the switch, not necessarily before
# the title changes.
wait_store_holding() {
  local want="$1" i f
  local expect="$E2E_ROOT/expected"
  printf '%s' "$want" >"$expect"
  for i in $(seq 1 50); do
    while IFS= read -r f; do
      cmp -s "$f" "$expect" && { log "store file $(basename "$f") holds '$want'"; return 0; }
    done < <(store_files)
    sleep 0.1
  done
  local listing
  listing="$(store_files | while IFS= read -r f; do
    # The trailing x keeps $(...) from eating final newlines, which matter here.
    local content
    content="$(head -c 200 "$f"; printf x)"
    printf '    %s (%s bytes): %q\n' "$(basename "$f")" "$(wc -c <"$f")" "${content%x}"
  done)"
  fail "no \$TMPDIR/txt* store file holds exactly '$want'
  store files:
${listing:-    (none)}"
}

# wait_gone TITLE: the dialog titled TITLE must disappear within 5 s.
wait_gone() {
  local i
  for i in $(seq 1 50); do
    [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  fail "the window '$1' is still shown"
}
