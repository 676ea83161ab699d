#!/usr/bin/env bash
# Takes docs/editor.png, the README's picture of the editor: the real window on the example
# level, on a private X server (Xvfb), with tile 9 chosen.
#   scripts/screenshot.sh BUILD_DIR    (built targets: tollwen-level-editor, xwd_probe)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$1" && pwd)/bin
source "$root/tests/ui/xvfb.sh"
start_xvfb
# A copy, so that nothing can change the committed example.
cp "$root/examples/meadow.jpg" "$root/examples/meadow.dat" "$work/"
"$bin/tollwen-level-editor" "$work/meadow.jpg" >"$work/editor.log" 2>&1 &
editor_pid=$!
wait_for_window 'Tollwen Level Editor$' "$editor_pid" "$work/editor.log"
# Let the level open and paint, then choose tile 9 from the keyboard.
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove "$((X + 102))" "$((Y + HEIGHT - 20 - 157))" click 1
sleep 0.3
xdotool key 9
sleep 1
mkdir -p "$root/docs"
xwd -id "$window" -silent >"$work/window.xwd"
"$bin/xwd_probe" "$work/window.xwd" --png "$root/docs/editor.png"
echo "wrote $root/docs/editor.png"
