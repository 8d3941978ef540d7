#!/usr/bin/env python3
"""End-to-end filters of an N x N grid file: spectrafil lowpass and analytic-signal against GMT's
grdfft -F (Gaussian low pass, one half at the same cut-off), each process timed by
/usr/bin/time: wall time and peak RSS, as one Markdown table. The grid (25 m cells, a smooth
field with a trend) is made once by gmt grdmath as netCDF; the outputs are netCDF too. The three
run in turn SPECTRAFIL_BENCH_PAIRS times (default 3): times are medians, ratios of the medians,
peak RSS the largest.
    end_to_end.py SPECTRAFIL WORK_DIR N [N ...]"""
import os
import statistics
import subprocess
import sys
from pathlib import Path

CELL = 25.0
CUTOFF = 20 * CELL


def timed(command, cwd):
    """(wall seconds, peak RSS MiB) of one process; exits on failure."""
    result = subprocess.run(["/usr/bin/time", "-f", "TIMED %e %M"] + command, cwd=cwd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    line = [l for l in result.stderr.splitlines() if l.startswith("TIMED ")]
    if result.returncode != 0 or not line:
        sys.exit(f"{' '.join(command)} failed:\n{result.stderr}")
    _, wall, rss = line[-1].split()
    return float(wall), int(rss) / 1024.0


def grid(work, size):
    path = work / f"grid{size}.nc"
    if not path.exists():
        extent = size * CELL
        subprocess.run(["gmt", "grdmath", f"-R0/{extent:g}/0/{extent:g}", f"-I{CELL:g}", "-r",
                        "X", "925", "DIV", "SIN", "Y", "1325", "DIV", "COS", "MUL", "80", "MUL",
                        "X", "0.0004", "MUL", "ADD", "=", path.name], cwd=work, check=True)
    return path.name


def main(spectrafil, work, sizes):
    work = Path(work)
    work.mkdir(parents=True, exist_ok=True)
    print("| Grid | gmt grdfft -F (s) | (MiB) | spectrafil lowpass (s) | (MiB) | lowpass / gmt "
          "| analytic-signal (s) | (MiB) | analytic / lowpass |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|")
    rounds = max(1, int(os.environ.get("SPECTRAFIL_BENCH_PAIRS", "3")))
    for size in sizes:
        name = grid(work, size)
        commands = {"gmt": ["gmt", "grdfft", name, f"-F-/{CUTOFF:g}", "-Ggmt_lowpass.nc"],
                    "low": [spectrafil, "lowpass", name, "lowpass.nc", "--cutoff", f"{CUTOFF:g}"],
                    "asig": [spectrafil, "analytic-signal", name, "asig.nc"]}
        runs = {key: [] for key in commands}
        for _ in range(rounds):
            for key, command in commands.items():
                runs[key].append(timed(command, work))
            for out in ("gmt_lowpass.nc", "lowpass.nc", "asig.nc"):
                (work / out).unlink(missing_ok=True)
        gmt, low, asig = ((statistics.median(t for t, _ in runs[key]), max(m for _, m in runs[key]))
                          for key in ("gmt", "low", "asig"))
        print(f"| {size} x {size} | {gmt[0]:.2f} | {gmt[1]:.0f} | {low[0]:.2f} | {low[1]:.0f} "
              f"| {low[0] / gmt[0]:.2f} | {asig[0]:.2f} | {asig[1]:.0f} | {asig[0] / low[0]:.2f} |", flush=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], [int(s) for s in sys.argv[3:]])
