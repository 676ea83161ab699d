#!/usr/bin/env bash
# Kills the real editor with SIGKILL a few seconds after a stroke, starts it again on the same
# picture, restores the stroke from the question it asks (Return: Restore), saves it, and checks
# the saved file and that no recovery record is left.
#   crash_recovery_test.sh EDITOR XWD_PROBE
# Exits 77 (skipped) when Xvfb, xdotool or xwd is missing.
set -euo pipefail

editor=$(realpath "$1")
probe=$(realpath "$2")
source "$(dirname "$0")/xvfb.sh"
require_tools Xvfb xdotool xwd
source "$(dirname "$0")/editor_window.sh"
start_xvfb

copy_example_level

start_editor() {
  "$editor" "$work/level/meadow.jpg" >"$work/editor.log" 2>&1 &
  editor_pid=$!
  wait_for_window 'Tollwen Level Editor$' "$editor_pid" "$work/editor.log"
  window_geometry
}

start_editor
picture=$(wait_example_level)
focus_editor
xdotool key 5
xdotool mousemove $(cell_xy 3 11) click 1
wall=$(wait_cell 3 11 != "$picture")
# The record is written within about two seconds of the stroke.
for _ in $(seq 40); do
  ls "$records" 2>/dev/null | grep -q '\.recovery$' && break
  sleep 0.1
done
ls "$records" 2>/dev/null | grep -q '\.recovery$' || fail "no recovery record after the stroke"
kill -KILL "$editor_pid"
wait "$editor_pid" 2>/dev/null || true
editor_pid=""
cmp -s "$work/original.dat" "$level" || fail "the killed editor changed the data file"

start_editor
wait_box || fail "the restarted editor did not ask about the unsaved stroke"
answer_box Return
wait_cell 3 11 = "$wall" >/dev/null
title=$(xdotool getwindowname "$window")
[ "$title" = "meadow.jpg* — meadow.mid — Tollwen Level Editor" ] || fail "the title is '$title'"

focus_editor
save_and_compare "$work/original.dat" "$level" "225 60 65"
! ls "$records" | grep -q '\.recovery$' || fail "a record is left after the save: $(ls "$records")"
echo "PASS: the stroke survived SIGKILL, was restored from the question and saved; no record left"
