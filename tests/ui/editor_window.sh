# Sourced by the scripts that drive the real editor window with xdotool, with xvfb.sh, which it
# sources: their start, where the grid lies on the screen, the colour a cell shows, the editor's
# message boxes, editors started and killed on a copy of the example level, and their recovery
# records.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
# Every editor start_editor starts, killed on exit before the X server ends.
editors=()
trap 'for pid in "${editors[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done; cleanup' EXIT

# The start of each script: EDITOR and XWD_PROBE, its arguments, as absolute paths in `editor`
# and `probe`, the tools it needs (Xvfb, xdotool and xwd, then any TOOL given; it skips when one
# is missing) and a private X server.
#   start_x_for_editor EDITOR XWD_PROBE [TOOL...]
start_x_for_editor() {
  editor=$(realpath "$1")
  probe=$(realpath "$2")
  shift 2
  require_tools Xvfb xdotool xwd "$@"
  start_xvfb
}

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

# Starts an editor on the copy of the example level and waits for its own window; sets
# editor_pid, window and its geometry (see window_geometry).
start_editor() {
  "$editor" "$work/level/meadow.jpg" >>"$work/editor.log" 2>&1 &
  editor_pid=$!
  editors+=("$editor_pid")
  wait_for_window 'Tollwen Level Editor$' "$editor_pid" "$work/editor.log"
  window_geometry
}
# Starts an editor, which must ask about a record left behind (MESSAGE says what it failed to
# offer otherwise), and answers with KEY.
#   answer_offer KEY MESSAGE
answer_offer() {
  start_editor
  wait_box || fail "$2"
  answer_box "$1"
}
# Kills the editor editor_pid with SIGKILL, as a crash ends it: it leaves its records behind.
crash() {
  kill -KILL "$editor_pid"
  wait "$editor_pid" 2>/dev/null || true
}
# Chooses the tile of key $1 and paints it into cell (column $2, row $3) with a click.
paint() {
  focus_editor
  xdotool key "$1"
  xdotool mousemove $(cell_xy "$2" "$3") click 1
}

# How many recovery records there are; waits until there are $1, which takes up to two seconds
# after a change.
record_count() { ls "$records" 2>/dev/null | grep -c '\.recovery$' || true; }
wait_records() {
  for _ in $(seq 50); do
    [ "$(record_count)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "expected $1 recovery records, found $(record_count): $(ls "$records" 2>/dev/null)"
}
