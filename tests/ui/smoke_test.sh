#!/usr/bin/env bash
# Starts the real editor on a private X server from another working directory, checks a
# screenshot (grid lines, a palette glyph), closes it with File > Exit and checks the exit code.
#   smoke_test.sh EDITOR XWD_PROBE
# Exits 77 (skipped) when Xvfb, xdotool or xwd is missing.
set -euo pipefail

editor=$(realpath "$1")
probe=$(realpath "$2")
for tool in Xvfb xdotool xwd; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

fail() {
  echo "FAIL: $*"
  exit 1
}
source "$(dirname "$0")/xvfb.sh"
start_xvfb

# Started from an unrelated directory: the assets must be found beside the executable.
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && exec "$editor") >"$work/editor.log" 2>&1 &
editor_pid=$!

wait_for_window '^Tollwen Level Editor$' "$editor_pid" "$work/editor.log"

eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area is the bottom 757 x 457 of the window, under the menu bar. The grid sits at
# (107, 0) in it, and its cells start inside a 2-pixel edge.
[ "$WIDTH" -eq 757 ] || fail "window width $WIDTH, expected 757"
top=$((Y + HEIGHT - 457))
gx=$((X + 107 + 2))
gy=$((top + 2))

# Grid lines: vertical after column 0 (x 15) and after the last inner column (x 639),
# horizontal after row 0 (y 15); the first inner cell is plain window colour.
points=("$((gx + 15))" "$((gy + 100))"
        "$((gx + 639))" "$((gy + 100))"
        "$((gx + 100))" "$((gy + 15))"
        "$((gx + 31))" "$((gy + 31))")
# SpeedButton1 (tile 1) at (8, 56) in the panel: a 5 x 5 sample over its glyph, and the face
# just inside its bevel.
button_x=$((X + 8))
button_y=$((top + 56))
points+=("$((button_x + 3))" "$((button_y + 3))")
for dy in 8 14 20 26 32; do
  for dx in 8 14 20 26 32; do
    points+=("$((button_x + dx))" "$((button_y + dy))")
  done
done

silver=0
samples=()
for attempt in $(seq 60); do
  xwd -root -silent >"$work/screen.xwd"
  mapfile -t samples < <("$probe" "$work/screen.xwd" "${points[@]}")
  if [ "${samples[0]:-}" = C0C0C0 ] && [ "${samples[1]:-}" = C0C0C0 ] &&
     [ "${samples[2]:-}" = C0C0C0 ]; then
    silver=1
    break
  fi
  sleep 0.2
done
[ "$silver" -eq 1 ] || fail "grid lines are ${samples[*]:0:3}, expected C0C0C0"
[ "${samples[3]}" != C0C0C0 ] || fail "the inner cell is drawn in the line colour"

face=${samples[4]}
glyph_pixels=0
for sample in "${samples[@]:5}"; do
  [ "$sample" != "$face" ] && glyph_pixels=$((glyph_pixels + 1))
done
[ "$glyph_pixels" -gt 0 ] || fail "SpeedButton1 shows no glyph (all $face)"

# File > Exit from the keyboard. Without a window manager the window has the keyboard only
# after a click (on the panel, clear of every button); on a loaded machine the menu may open
# late, so an attempt that did not end the editor closes any open menu and tries again.
status=""
for attempt in 1 2 3 4 5; do
  xdotool mousemove "$((X + 102))" "$((top + 300))" click 1
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 0.3
  xdotool key alt+f
  sleep $((attempt))
  xdotool key x
  for _ in $(seq 50); do
    if ! kill -0 "$editor_pid" 2>/dev/null; then
      set +e
      wait "$editor_pid"
      status=$?
      set -e
      break 2
    fi
    sleep 0.1
  done
  xdotool key Escape
done
[ -n "$status" ] || fail "File > Exit did not end the editor"
editor_pid=""
[ "$status" -eq 0 ] || fail "the editor exited with $status: $(cat "$work/editor.log")"
echo "PASS: window shown, grid lines and glyph seen, File > Exit ended it with 0"
