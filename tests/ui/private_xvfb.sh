# Sourced by the scripts that run the editor or a test under a private X server.
#   start_private_xvfb WORKDIR
# Starts Xvfb on a display number it picks itself (reported through -displayfd, so two runs
# never collide), exports DISPLAY and sets xvfb_pid. Returns 1 when it did not start.
start_private_xvfb() {
  local work=$1
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
}
