#!/usr/bin/env bash
# Starts the real editor on a private X server from another working directory with a copy of
# the example level named on the command line (after "--", by a name starting with '-'), checks
# a screenshot (grid lines, a palette glyph), paints a cell, undoes and redoes it, saves, draws
# a line, copies it to the clipboard and pastes rows another program put there, closes it with
# File > Exit and discards the changes when asked, and checks the saved file and the exit code.
#   smoke_test.sh EDITOR XWD_PROBE
# Exits 77 (skipped) when Xvfb, xdotool, xwd or xclip is missing.
set -euo pipefail

source "$(dirname "$0")/editor_window.sh"
start_x_for_editor "$1" "$2" xclip

# Started from an unrelated directory: the assets must be found beside the executable.
mkdir "$work/elsewhere" "$work/level"
cp "$(dirname "$0")/../../examples/meadow.jpg" "$(dirname "$0")/../../examples/meadow.dat" \
  "$work/level/"
level="$work/level/meadow.dat"
# A picture name that starts with '-' is refused as an unknown option, unless it follows "--".
# After "--" even a name Qt would take for its own option (-style=...) reaches the editor: the
# level is reached through a folder of such a name.
set +e
(cd "$work/elsewhere" && exec "$editor" -meadow.jpg) >"$work/usage.log" 2>&1
status=$?
set -e
[ "$status" -eq 2 ] || fail "an unknown option gave exit status $status: $(cat "$work/usage.log")"
grep -q '^usage: tollwen-level-editor' "$work/usage.log" || fail "no usage: $(cat "$work/usage.log")"
ln -s ../level "$work/elsewhere/-style=level"
(cd "$work/elsewhere" && exec "$editor" -- -style=level/meadow.jpg) >"$work/editor.log" 2>&1 &
editor_pid=$!

wait_for_window 'Tollwen Level Editor$' "$editor_pid" "$work/editor.log"

window_geometry
[ "$WIDTH" -eq 757 ] || fail "window width $WIDTH, expected 757"
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

picture=$(wait_example_level)
focus_editor
xdotool key 5
xdotool mousemove "$((gx + 16 + 2 * 32 + 15))" "$((gy + 16 + 10 * 32 + 15))" click 1
wall=$(wait_cell 3 11 != "$picture")
# The title names the level, marks the change and shows the music Save will write.
title=$(xdotool getwindowname "$window")
[ "$title" = "meadow.jpg* — meadow.mid — Tollwen Level Editor" ] || fail "the title is '$title'"
xdotool key ctrl+z
wait_cell 3 11 = "$picture" >/dev/null
xdotool key ctrl+y
wait_cell 3 11 = "$wall" >/dev/null

# Ctrl+S writes the level with the one cell changed, then confirms with "File Saved!".
cp "$level" "$work/before.dat"
save_and_compare "$work/before.dat" "$level" "225 60 65"
cp "$level" "$work/saved.dat"

# The line tool on the empty bottom row, then the select tool and Ctrl+C: another program
# reads the codes from the clipboard.
row13=$(cell_pixel 8 13)
focus_editor
xdotool key l 5
drag 5 13 6 13 8 13
wait_cell 8 13 != "$row13" >/dev/null
xdotool key s
drag 5 13 6 13 8 13
xdotool key ctrl+c
copied=""
for _ in $(seq 30); do
  copied=$(xclip -o -selection clipboard 2>/dev/null || true)
  [ "$copied" = 5555 ] && break
  sleep 0.1
done
[ "$copied" = 5555 ] || fail "the clipboard holds '$copied', expected the line's 5555"
# Rows another program offers are pasted at the selected cell.
cell=$(cell_pixel 12 5)
printf 'E\nE\n' | xclip -selection clipboard -i
drag 12 4 12 4 12 4
xdotool key ctrl+v
wait_cell 12 5 != "$cell" >/dev/null

# Another stroke, then File > Exit from the keyboard asks about the unsaved change; Discard
# ends the program without writing. On a loaded machine the menu may open late, so an attempt
# that brought no question closes any open menu and tries again.
xdotool key p 9
xdotool mousemove "$((gx + 16 + 3 * 32 + 15))" "$((gy + 16 + 10 * 32 + 15))" click 1
wait_cell 4 11 != "$picture" >/dev/null
asked=0
for attempt in 1 2 3 4 5; do
  focus_editor
  xdotool key alt+f
  sleep $((attempt))
  xdotool key x
  if wait_box; then
    asked=1
    break
  fi
  xdotool key Escape
done
[ "$asked" -eq 1 ] || fail "File > Exit did not ask about the unsaved change"
answer_box Tab space
status=""
for _ in $(seq 50); do
  if ! kill -0 "$editor_pid" 2>/dev/null; then
    set +e
    wait "$editor_pid"
    status=$?
    set -e
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "Discard did not end the editor"
editor_pid=""
[ "$status" -eq 0 ] || fail "the editor exited with $status: $(cat "$work/editor.log")"
cmp -s "$work/saved.dat" "$level" || fail "Discard wrote the level"
echo "PASS: level opened, painted, undone, redone, saved byte-exact; a line drawn, copied out and rows pasted in through the clipboard; Exit asked, Discard ended it with 0"
