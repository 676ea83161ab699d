#!/usr/bin/env python3
"""Times `tollwen-level-tool sheet` over a pack of levels against `render` of each of the same
levels (a program started for each, as a designer's loop starts it), starting the real program:
the sheet with --jobs 1 and --jobs 2, render one level after another and two at a time.

    bench/sheet_timing.py TOOL PACK_FOLDER [BURSTS]
    bench/check_jobs_timing.py --make-pack PACK_FOLDER 100   (copies of examples/meadow.*)

Bursts of two rounds, the order of the four runs turned round in the second, kept only when both
cores were free before and after (check_jobs_timing.py's bursts). Prints each kept burst, then
the medians with their minimum and maximum."""
import concurrent.futures
import glob
import os
import subprocess
import sys
import tempfile

from check_jobs_timing import time_in_bursts


def sheet(tool, pack, out, jobs):
    subprocess.run([tool, "sheet", "--jobs", str(jobs), pack, "-o", os.path.join(out, "sheet.png")],
                   stdout=subprocess.DEVNULL, check=False)


def render_each(tool, pictures, out, at_a_time):
    def render(numbered):
        i, picture = numbered
        subprocess.run([tool, "render", picture, "-o", os.path.join(out, f"level{i}.png")],
                       check=False)
    with concurrent.futures.ThreadPoolExecutor(at_a_time) as pool:
        list(pool.map(render, enumerate(pictures)))


def main():
    tool, pack = sys.argv[1], sys.argv[2]
    wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    pictures = sorted(glob.glob(os.path.join(pack, "**", "*.jpg"), recursive=True))
    with tempfile.TemporaryDirectory() as out:
        runs = {
            "sheet --jobs 1": lambda: sheet(tool, pack, out, 1),
            "sheet --jobs 2": lambda: sheet(tool, pack, out, 2),
            "render, one at a time": lambda: render_each(tool, pictures, out, 1),
            "render, two at a time": lambda: render_each(tool, pictures, out, 2),
        }
        runs["sheet --jobs 1"]()  # the pack into the page cache
        print(f"{len(pictures)} levels")
        time_in_bursts(runs, 2, wanted)


if __name__ == "__main__":
    main()
