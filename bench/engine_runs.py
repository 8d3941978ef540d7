#!/usr/bin/env python3
"""Whole engine runs (forward run + inverse low pass) of N x N cells, each made by
spectrafil-engine-run under /usr/bin/time -v, as one Markdown table: the runs' own times, the
process's wall time, CPU time (user + system: steadier than the wall time on a shared machine)
and peak RSS, the same run on one engine thread (the speed-up of all cores over one), and the
N log N check: time / (n log2 n) with n the cell count, and with n the
transform's LX x LY points (the transforms are powers of two, so the padding the tails need
varies with the grid: 4000 cells take 8192 points along an axis, 5459 cells 16384).
Each size runs SPECTRAFIL_BENCH_PAIRS (default 3) alternated pairs of one thread and all cores:
times are medians, the speed-up is the ratio of the medians, with the pairs' own ratios beside it
(one pair on a shared virtual machine can be a third off). Each round also runs two one-thread
runs side by side: twice the one-thread time over the slower of the two is what the machine
gives two independent copies of the same work, the ceiling for a speed-up on two threads.
    engine_runs.py BIN_DIR WORK_DIR N [N ...]"""
import math
import os
import re
import shutil
import statistics
import subprocess
import sys
from pathlib import Path


def start(binary, work, size, threads=None, name="run"):
    folder = Path(work) / f"{name}{size}"
    command = ["/usr/bin/time", "-v", str(binary)] + (["--threads", str(threads)] if threads else [])
    command += [str(size), str(folder)]
    return folder, subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)


def run(binary, work, size, threads=None):
    return finish(size, *start(binary, work, size, threads))


def side_by_side(binary, work, size):
    """Both-run seconds of the slower of two one-thread runs started together."""
    started = [start(binary, work, size, 1, name) for name in ("left", "right")]
    return max(r[2] + r[3] for r in (finish(size, *s) for s in started))


def finish(size, folder, process):
    _, err = process.communicate()
    lengths = [re.search(r" LX = (\d+)\s+LY = (\d+)", log.read_text()) for log in folder.glob("fpt6_2D_FWD_*")]
    shutil.rmtree(folder, ignore_errors=True)
    line = re.search(r"cells (\d+) forward ([\d.]+) s inverse ([\d.]+) s.*", err)
    if process.returncode != 0 or not line or not lengths or not lengths[0]:
        sys.exit(f"spectrafil-engine-run {size} failed:\n{err}")
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", err).group(1)
    seconds = sum(float(part) * 60 ** i for i, part in enumerate(reversed(wall.split(":"))))
    rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", err).group(1))
    cpu = sum(float(re.search(rf"{kind} time \(seconds\): ([\d.]+)", err).group(1)) for kind in ("User", "System"))
    cells, forward, inverse = int(line.group(1)), float(line.group(2)), float(line.group(3))
    points = int(lengths[0].group(1)) * int(lengths[0].group(2))
    return cells, points, forward, inverse, seconds, cpu, rss / 1024.0


def main(bin_dir, work, sizes):
    binary = Path(bin_dir) / "spectrafil-engine-run"
    pairs = max(1, int(os.environ.get("SPECTRAFIL_BENCH_PAIRS", "3")))
    print("| Grid | Cells | Forward (s) | Inverse (s) | Both (s) | Both, 1 thread (s) | 1 thread / all "
          "| Each pair | Two 1-thread runs side by side | Process wall (s) | CPU (s) | Peak RSS (MiB) "
          "| Both / (n log2 n) (ns) | Transform LX x LY | Both / (m log2 m), m = LX LY (ns) |")
    print("|---|---:|---:|---:|---:|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|")
    for size in sizes:
        ones, alls, ceilings = [], [], []
        for _ in range(pairs):
            ones.append(run(binary, work, size, threads=1))
            alls.append(run(binary, work, size))
            ceilings.append(2 * (ones[-1][2] + ones[-1][3]) / side_by_side(binary, work, size))
        cells, points = alls[0][0], alls[0][1]
        forward, inverse, wall, cpu = (statistics.median(r[i] for r in alls) for i in (2, 3, 4, 5))
        rss = max(r[6] for r in alls)
        both = statistics.median(r[2] + r[3] for r in alls)
        both_one = statistics.median(r[2] + r[3] for r in ones)
        each = ", ".join(f"{(o[2] + o[3]) / (a[2] + a[3]):.2f}" for o, a in zip(ones, alls))
        per_cell = both / (cells * math.log2(cells)) * 1e9
        per_point = both / (points * math.log2(points)) * 1e9
        side = math.isqrt(points)
        print(f"| {size} x {size} | {cells} | {forward:.2f} | {inverse:.2f} | {both:.2f} | {both_one:.2f} "
              f"| {both_one / both:.2f} | {each} | {statistics.median(ceilings):.2f} | {wall:.2f} "
              f"| {cpu:.2f} | {rss:.0f} | {per_cell:.2f} | {side} x {side} | {per_point:.2f} |", flush=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], [int(s) for s in sys.argv[3:]])
