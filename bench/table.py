#!/usr/bin/env python3
"""Turns Google Benchmark JSON into one Markdown table: a row per "<row>/<size>", with the
time of our implementation, of the reference and their ratio. Benchmarks are named
"<row>:<implementation>/<size>" with implementation "ours" or a reference name."""
import json
import sys


def median_times(benchmarks):
    """ns per iteration by name; the median aggregate when repetitions were run."""
    times = {}
    for b in benchmarks:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        name = b.get("run_name", b["name"])
        if b.get("run_type") == "aggregate" or name not in times:
            scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
            times[name] = b["real_time"] * scale
    return times


def main(path):
    with open(path) as f:
        times = median_times(json.load(f)["benchmarks"])
    rows = {}  # (row, size) -> {implementation: ns}
    for name, ns in times.items():
        label, _, size = name.partition("/")
        row, _, impl = label.partition(":")
        rows.setdefault((row, size), {})[impl] = ns
    # Runs may be interleaved at random: rows go by name, then by ascending numeric size.
    order = sorted(rows, key=lambda key: (key[0], int(key[1]) if key[1].isdigit() else 0, key[1]))
    print("| Transform | Size | Spectrafil (ns) | Reference | Reference (ns) | Ratio |")
    print("|---|---:|---:|---|---:|---:|")
    for row, size in order:
        impls = rows[(row, size)]
        ours = impls.pop("ours", None)
        for ref, ref_ns in impls.items() or [("-", None)]:
            ratio = f"{ours / ref_ns:.2f}" if ours and ref_ns else "-"
            ours_text = f"{ours:.0f}" if ours else "-"
            ref_text = f"{ref_ns:.0f}" if ref_ns else "-"
            print(f"| {row} | {size} | {ours_text} | {ref} | {ref_text} | {ratio} |")


if __name__ == "__main__":
    main(sys.argv[1])
