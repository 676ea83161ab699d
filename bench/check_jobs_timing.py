#!/usr/bin/env python3
"""Times `tollwen-level-tool check --jobs 1` against `--jobs 2` over a pack of levels, starting
the real program each time, on a machine shared with other work.

    bench/check_jobs_timing.py TOOL PACK_FOLDER [BURSTS]
    bench/check_jobs_timing.py --make-pack PACK_FOLDER [LEVELS]   (copies of examples/meadow.*)

Runs come in bursts of three rounds, the order of the two swapped each round. A burst is kept
only when both cores were free before and after it: no compiler running, and two busy-looping
processes finishing within 15% of the time one takes. Prints each kept burst, then the medians
with their minimum and maximum."""
import multiprocessing
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def make_pack(folder, levels):
    for i in range(levels):
        world = os.path.join(folder, f"world{i // 100}")
        os.makedirs(world, exist_ok=True)
        for extension in ("jpg", "dat"):
            shutil.copyfile(os.path.join(ROOT, "examples", f"meadow.{extension}"),
                            os.path.join(world, f"level{i:03d}.{extension}"))


def busy_loop(_):
    total = 0
    for i in range(3_000_000):
        total += i
    return total


def busy_seconds(processes):
    start = time.perf_counter()
    with multiprocessing.Pool(processes) as pool:
        pool.map(busy_loop, range(processes))
    return time.perf_counter() - start


def cores_free():
    compilers = subprocess.run(["pgrep", "-c", "-x", "cc1plus"], capture_output=True, text=True)
    if compilers.stdout.strip() != "0":
        return None
    one, two = busy_seconds(1), busy_seconds(2)
    return two / one if two < one * 1.15 else None


def run(tool, pack, jobs):
    start = time.perf_counter()
    subprocess.run([tool, "check", "--jobs", str(jobs), pack], stdout=subprocess.DEVNULL)
    return (time.perf_counter() - start) * 1000


def main():
    if sys.argv[1] == "--make-pack":
        make_pack(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 400)
        return
    tool, pack = sys.argv[1], sys.argv[2]
    wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    run(tool, pack, 1)  # the pack into the page cache
    times = {1: [], 2: []}
    kept = 0
    while kept < wanted:
        before = cores_free()
        if before is None:
            time.sleep(3)
            continue
        burst = {1: [], 2: []}
        for round_ in range(3):
            for jobs in ((1, 2) if round_ % 2 == 0 else (2, 1)):
                burst[jobs].append(run(tool, pack, jobs))
        after = cores_free()
        if after is None:
            continue
        kept += 1
        load = " ".join(open("/proc/loadavg").read().split()[:3])
        print(f"burst {kept} at {time.strftime('%H:%M:%S')}, load {load}, two busy processes "
              f"{before:.2f} / {after:.2f} of one: --jobs 1 {[round(t) for t in burst[1]]} ms, "
              f"--jobs 2 {[round(t) for t in burst[2]]} ms", flush=True)
        for jobs in (1, 2):
            times[jobs] += burst[jobs]
    for jobs in (1, 2):
        t = times[jobs]
        print(f"--jobs {jobs}: median {statistics.median(t):.0f} ms "
              f"({min(t):.0f}-{max(t):.0f}), {len(t)} runs")
    print(f"--jobs 2 is {statistics.median(times[1]) / statistics.median(times[2]):.2f} times as fast")


if __name__ == "__main__":
    main()
