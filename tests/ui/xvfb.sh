# Sourced by the scripts that run the real editor on a private X server (the smoke and crash
# tests, the README screenshot). Gives them `fail MESSAGE`, `require_tools TOOL...` (which
# skips with status 77 when one is missing), and a scratch directory `work` (which also holds
# the editor's state folder); on exit, ends the editor (editor_pid) and the X server and
# removes the scratch directory.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
require_tools() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

work=$(mktemp -d)
# The editor's recovery records stay in the scratch directory, out of the user's home.
export XDG_STATE_HOME="$work/state"
xvfb_pid=""
editor_pid=""
cleanup() {
  if [ -n "$editor_pid" ] && kill -0 "$editor_pid" 2>/dev/null; then kill "$editor_pid" || true; fi
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid" || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Starts Xvfb on a free display (Xvfb picks the number and reports it on the descriptor given)
# and points Qt at it; sets xvfb_pid.
start_xvfb() {
  exec 3>"$work/display"
  # -noreset: the server must outlive its last client, for a test that kills the editor and
  # starts it again.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
  # A session bus that is not there: without any, libdbus would start one for the display
  # (X11 autolaunch, where dbus-x11 is installed), which writes below the home and outlives
  # the test.
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
  # The server reports its number once it listens; make sure a client really gets through
  # before the editor is started (a loaded machine can be slow to accept the first one).
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no client could connect to Xvfb on $DISPLAY: $(cat "$work/xvfb.log")"
}

# Waits for the window captioned TITLE (a regular expression) of the program PID, whose output
# goes to LOG; sets `window` to its id. Another program's window of that title does not count.
wait_for_window() {
  window=""
  for _ in $(seq 200); do
    window=$(xdotool search --all --onlyvisible --pid "$2" --name "$1" 2>/dev/null | head -n1 ||
      true)
    [ -n "$window" ] && return 0
    kill -0 "$2" 2>/dev/null || fail "the editor ended early: $(cat "$3")"
    sleep 0.1
  done
  fail "no window '$1' appeared"
}
