#!/usr/bin/env bash
# Kills the real editor with SIGKILL a few seconds after a stroke, starts it again on the same
# picture, restores the stroke from the question it asks (Return: Restore), saves it, and checks
# the saved file and that no recovery record is left.
#   crash_recovery_test.sh EDITOR XWD_PROBE
# Exits 77 (skipped) when Xvfb, xdotool or xwd is missing.
set -euo pipefail

source "$(dirname "$0")/editor_window.sh"
start_x_for_editor "$1" "$2"
copy_example_level

start_editor
picture=$(wait_example_level)
paint 5 3 11
wall=$(wait_cell 3 11 != "$picture")
# The record is written within about two seconds of the stroke.
wait_records 1
crash
cmp -s "$work/original.dat" "$level" || fail "the killed editor changed the data file"

answer_offer Return "the restarted editor did not ask about the unsaved stroke"
wait_cell 3 11 = "$wall" >/dev/null
title=$(xdotool getwindowname "$window")
[ "$title" = "meadow.jpg* — meadow.mid — Tollwen Level Editor" ] || fail "the title is '$title'"

focus_editor
save_and_compare "$work/original.dat" "$level" "225 60 65"
[ "$(record_count)" = 0 ] || fail "a record is left after the save: $(ls "$records")"
echo "PASS: the stroke survived SIGKILL, was restored from the question and saved; no record left"
