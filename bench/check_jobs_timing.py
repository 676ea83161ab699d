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


def check(tool, pack, jobs):
    subprocess.run([tool, "check", "--jobs", str(jobs), pack], stdout=subprocess.DEVNULL)


def time_in_bursts(runs, rounds, wanted):
    """Runs each of `runs` (name: function) once a round, `rounds` rounds a burst, the order
    turned round every other round, until `wanted` bursts have been kept. Prints each kept burst
    and then each run's median, minimum and maximum; returns each run's times in ms."""
    times = {name: [] for name in runs}
    kept = 0
    while kept < wanted:
        before = cores_free()
        if before is None:
            time.sleep(3)
            continue
        burst = {name: [] for name in runs}
        for round_ in range(rounds):
            for name in (list(runs) if round_ % 2 == 0 else list(reversed(runs))):
                start = time.perf_counter()
                runs[name]()
                burst[name].append((time.perf_counter() - start) * 1000)
        after = cores_free()
        if after is None:
            continue
        kept += 1
        load = " ".join(open("/proc/loadavg").read().split()[:3])
        print(f"burst {kept} at {time.strftime('%H:%M:%S')}, load {load}, two busy processes "
              f"{before:.2f} / {after:.2f} of one: " +
              ", ".join(f"{name} {[round(t) for t in burst[name]]} ms" for name in runs),
              flush=True)
        for name in runs:
            times[name] += burst[name]
    for name, t in times.items():
        print(f"{name}: median {statistics.median(t):.0f} ms ({min(t):.0f}-{max(t):.0f}), "
              f"{len(t)} runs")
    return times


def main():
    if sys.argv[1] == "--make-pack":
        make_pack(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 400)
        return
    tool, pack = sys.argv[1], sys.argv[2]
    wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    check(tool, pack, 1)  # the pack into the page cache
    times = time_in_bursts({"--jobs 1": lambda: check(tool, pack, 1),
                            "--jobs 2": lambda: check(tool, pack, 2)}, 3, wanted)
    one, two = statistics.median(times["--jobs 1"]), statistics.median(times["--jobs 2"])
    print(f"--jobs 2 is {one / two:.2f} times as fast")


if __name__ == "__main__":
    main()
