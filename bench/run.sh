#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them all: the grid repaint against direct drawing
# in the process, then the real editor from outside on a private X server against its floors.
#   bench/run.sh [build-dir] [rounds]
# Needs Xvfb, xdotool and the X development libraries (scripts/install-deps.sh installs them).
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
build=${1:-$root/build/release}
rounds=${2:-10}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 \
  --target tollwen-level-editor tollwen_bench bench_x_probe bench_minimal_window >/dev/null
bin="$build/bin"

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(nproc) cores," \
  "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo);" \
  "Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?'); $(date -u '+%Y-%m-%d %H:%M UTC')"

fail() {
  echo "$*" >&2
  exit 1
}
source "$root/tests/ui/xvfb.sh"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"

echo
echo "== A full repaint of the grid against drawing the same content directly (offscreen)"
QT_QPA_PLATFORM=offscreen "$bin/tollwen_bench" --benchmark_filter='GridFullRepaint|DirectDrawFloor' \
  --benchmark_repetitions="$rounds" \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.2

echo
echo "== The real editor on a private Xvfb, against its floors ($rounds interleaved rounds)"
start_xvfb
"$bin/bench_x_probe" "$bin/tollwen-level-editor" "$bin/bench_minimal_window" "$rounds"
