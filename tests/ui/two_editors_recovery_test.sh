#!/usr/bin/env bash
# Recovery with two editors, Escape and a newer save, on the real program:
#   1. editor A paints a wall; editor B opens the same level and is not asked about A's record,
#      which stays; A is killed;
#   2. editor C is asked about A's record, answers Escape, paints a gem and is killed: the kept
#      record is untouched and the gem has a record of its own;
#   3. editor D is asked about the newest record (the gem), restores and saves it; A's record
#      stays;
#   4. editor E is asked about A's record and restores it; its Save meets the changed-on-disk
#      question (the data file was saved after the wall was painted), whose Cancel keeps the file.
#   two_editors_recovery_test.sh EDITOR XWD_PROBE
# Exits 77 (skipped) when Xvfb, xdotool or xwd is missing.
set -euo pipefail

source "$(dirname "$0")/editor_window.sh"
start_x_for_editor "$1" "$2"
copy_example_level

start_editor
picture=$(wait_example_level)
grass=$(cell_pixel 5 11)
paint 5 3 11
wait_cell 3 11 != "$picture" >/dev/null
wait_records 1
editor_a=$editor_pid

start_editor
wait_example_level >/dev/null
! wait_box || fail "a second editor asked about the running editor's record"
crash
[ "$(record_count)" = 1 ] || fail "the running editor's record went: $(ls "$records")"
editor_pid=$editor_a
crash

answer_offer Escape "the record of the killed editor was not offered"
wait_cell 3 11 = "$picture" >/dev/null
paint f 5 11
wait_cell 5 11 != "$grass" >/dev/null
wait_records 2
crash

answer_offer Return "the records were not offered after the second kill"
wait_cell 5 11 != "$grass" >/dev/null
[ "$(cell_pixel 3 11)" = "$picture" ] || fail "the newest record is not the one restored"
focus_editor
save_and_compare "$work/original.dat" "$level" "227 60 106"
wait_records 1
cp "$level" "$work/saved.dat"
crash

answer_offer Return "the record kept with Escape was not offered again"
wait_cell 3 11 != "$picture" >/dev/null
[ "$(cell_pixel 5 11)" = "$grass" ] || fail "the older record did not restore its own cells"
focus_editor
xdotool key ctrl+s
wait_box || fail "Save showed nothing"
answer_box Escape
! wait_box || fail "Save wrote over the newer data file without asking"
cmp -s "$work/saved.dat" "$level" || fail "the newer data file was written over"
echo "PASS: a running editor's record is left to it, Escape keeps a record and records what" \
  "follows, the newest is offered first, and a restore never writes over a newer save unasked"
