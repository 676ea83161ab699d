#!/usr/bin/env bash
# Wall time from starting the real editor to its window being shown on an X server, for a
# whole process (loading Qt, the fonts and the asset bitmaps included).
#   bench/startup_to_window.sh <editor-executable> [runs]
# Needs Xvfb and xdotool. Prints each run and the median, in milliseconds.
set -euo pipefail
editor=$(realpath "$1")
runs=${2:-10}

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
log=$(mktemp)
trap 'kill $xvfb 2>/dev/null || true; rm -f "$log"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

times=()
for run in $(seq "$runs"); do
  start=$(date +%s%N)
  (cd / && exec "$editor" >/dev/null 2>"$log") &
  pid=$!
  until xdotool search --onlyvisible --name '^Tollwen Level Editor$' >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the editor ended before its window was shown:" >&2
      cat "$log" >&2
      exit 1
    fi
  done
  end=$(date +%s%N)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  ms=$(((end - start) / 1000000))
  times+=("$ms")
  echo "run $run: ${ms} ms"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print "median: " a[int((NR+1)/2)] " ms"}'
