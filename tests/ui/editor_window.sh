# Sourced after xvfb.sh by the scripts that drive the real editor window with xdotool: where
# its grid lies on the screen, the colour a cell shows, and the editor's message boxes. Needs
# `probe` (the xwd_probe program) and `window` (set by wait_for_window).

# The window's place (X, Y, WIDTH, HEIGHT) and where its grid's client area starts (gx, gy);
# `top` is the top of the client area under the menu bar.
window_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The client area is 757 x 457, under the menu bar and over the 20-pixel status line. The
  # grid sits at (107, 0) in it, and its cells start inside a 2-pixel edge.
  top=$((Y + HEIGHT - 457 - 20))
  gx=$((X + 107 + 2))
  gy=$((top + 2))
}

# The pixel at the middle of grid cell (column $1, row $2): columns and rows of 31 pixels and
# a line, after a 15-pixel border and its line.
cell_pixel() {
  xwd -root -silent >"$work/screen.xwd"
  "$probe" "$work/screen.xwd" $(cell_xy "$1" "$2")
}
# Waits until cell_pixel COLUMN ROW is (= COLOUR) or is not (!= COLOUR) that colour; prints it.
wait_cell() {
  local value=""
  for _ in $(seq 50); do
    value=$(cell_pixel "$1" "$2")
    if [ "$3" = "=" ] && [ "$value" = "$4" ]; then echo "$value"; return 0; fi
    if [ "$3" = "!=" ] && [ "$value" != "$4" ]; then echo "$value"; return 0; fi
    sleep 0.1
  done
  fail "cell ($1, $2) is $value, expected $3 $4"
}
# Waits until the example level is on the grid: cell (3, 11) lies on the picture's grass and is
# empty in the data file, so it turns green rather than a plain grey. Prints its colour.
wait_example_level() {
  local value=""
  for _ in $(seq 50); do
    value=$(cell_pixel 3 11)
    if [ $((16#${value:2:2})) -gt $((16#${value:0:2} + 30)) ]; then echo "$value"; return 0; fi
    sleep 0.1
  done
  fail "the example level is not shown: cell (3, 11) is $value"
}
# Clicks the panel, clear of every button: without a window manager the window has the
# keyboard only after a click.
focus_editor() {
  xdotool mousemove "$((X + 102))" "$((top + 300))" click 1
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 0.3
}
# Waits for a message box of the editor (captioned with the program's name); sets `box`.
wait_box() {
  box=""
  for _ in $(seq 50); do
    box=$(xdotool search --onlyvisible --name '^Tollwen-level-editor$' 2>/dev/null | head -n1 || true)
    [ -n "$box" ] && return 0
    sleep 0.1
  done
  return 1
}
# Gives the box the keyboard (a click on it, clear of its buttons) and presses KEYS.
answer_box() {
  eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/BOX_/')"
  xdotool mousemove "$((BOX_X + 8))" "$((BOX_Y + 8))" click 1
  sleep 0.3
  xdotool key "$@"
}

# The screen position of the middle of grid cell (column $1, row $2).
cell_xy() { echo "$((gx + 16 + ($1 - 1) * 32 + 15)) $((gy + 16 + ($2 - 1) * 32 + 15))"; }
# A drag with the real pointer from cell ($1, $2) through ($3, $4) to ($5, $6).
drag() {
  xdotool mousemove $(cell_xy "$1" "$2") mousedown 1
  sleep 0.1
  xdotool mousemove $(cell_xy "$3" "$4")
  sleep 0.1
  xdotool mousemove $(cell_xy "$5" "$6")
  sleep 0.1
  xdotool mouseup 1
}

# Ctrl+S, the "File Saved!" box answered, then the data file $2 must differ from $1 in exactly
# the bytes `cmp -l` lists as $3 (for the brick in cell (3, 11) of the example level: byte 225,
# after the music line "meadow.mid" and its CR LF, 10 rows of 19 codes and CR LF, and 3 cells;
# '0', octal 60, became '5', octal 65).
save_and_compare() {
  xdotool key ctrl+s
  wait_box || fail "Ctrl+S showed no confirmation"
  answer_box Return
  sleep 0.5
  local changes
  changes=$(cmp -l "$1" "$2" || true)
  [ "$(echo $changes)" = "$3" ] || fail "the save changed: $changes"
}

# Copies the example level into "$work/level" and keeps its data file as it was in
# "$work/original.dat"; sets `level` (the copy's data file) and `records` (the editor's recovery
# records).
copy_example_level() {
  mkdir "$work/level"
  cp "$(dirname "${BASH_SOURCE[0]}")/../../examples/meadow.jpg" \
    "$(dirname "${BASH_SOURCE[0]}")/../../examples/meadow.dat" "$work/level/"
  level="$work/level/meadow.dat"
  cp "$level" "$work/original.dat"
  records="$XDG_STATE_HOME/tollwen-level-editor"
}
