#!/usr/bin/env python3
"""Reads a Google Benchmark JSON report and tells, for each series, how its largest size scales.

For a series run at sizes ... < m < n the ratio is time(n) / (time(m) * n / m): 1.0 means the last
step grew linearly, and ratios above 1.5 are flagged. "per 10x" is the growth of the time for ten
times the size, over the whole series (smallest to largest size, geometric mean of the steps):
about 10 is linear, about 100 quadratic. Runs nothing itself; make the report with
--benchmark_out=FILE --benchmark_out_format=json. With repetitions, the median aggregates are read
when present, else the plain entries.
"""

import argparse
import json
import math
import sys
from collections import defaultdict

LIMIT = 1.5
TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def measured_entries(benchmarks):
    """The median aggregates when the report has any, else the plain iteration entries."""
    medians = [b for b in benchmarks if b.get("aggregate_name") == "median"]
    if medians:
        return medians
    return [b for b in benchmarks if b.get("run_type", "iteration") == "iteration"]


def split_size(run_name):
    """(series, size) from "BM_X/1000" or "BM_X/1000/real_time": the last all-digit argument is
    the size; None for a name without one, or whose argument is 0 (a parameter such as a case
    number, never a size: BM_X/0 and BM_X/1 are two cases, not a series)."""
    parts = run_name.split("/")
    for index in range(len(parts) - 1, 0, -1):
        if parts[index].isdigit():
            if int(parts[index]) == 0:
                return None
            return "/".join(parts[:index] + parts[index + 1 :]), int(parts[index])
    return None


def series_spreads(benchmarks):
    """Maps each series name to {size: coefficient of variation} from the "cv" aggregates."""
    spreads = defaultdict(dict)
    for entry in benchmarks:
        if entry.get("aggregate_name") != "cv":
            continue
        sized = split_size(entry.get("run_name", entry["name"]))
        if sized is not None:
            spreads[sized[0]].setdefault(sized[1], entry["real_time"])
    return spreads


def series_times(benchmarks):
    """Maps each series name to {size: time in ns}; the first entry of a size wins."""
    series = defaultdict(dict)
    for entry in measured_entries(benchmarks):
        sized = split_size(entry.get("run_name", entry["name"]))
        if sized is None:
            continue
        name, size = sized
        time_ns = entry["real_time"] * TO_NS[entry.get("time_unit", "ns")]
        series[name].setdefault(size, time_ns)
    return series


def format_time(time_ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if time_ns >= scale:
            return f"{time_ns / scale:.3g} {unit}"
    return f"{time_ns:.3g} ns"


def format_spread(spreads, name, size):
    spread = spreads.get(name, {}).get(size)
    return "" if spread is None else f" ±{spread * 100:.0f}%"


def rows(series, spreads):
    for name in sorted(series):
        times = series[name]
        if len(times) < 2 or any(time_ns <= 0 for time_ns in times.values()):
            continue
        sizes = sorted(times)
        smaller, largest = sizes[-2], sizes[-1]
        ratio = times[largest] / (times[smaller] * largest / smaller)
        decades = math.log10(largest / sizes[0])
        per_tenfold = (times[largest] / times[sizes[0]]) ** (1 / decades)
        yield (
            name,
            ", ".join(str(size) for size in sizes),
            ", ".join(format_time(times[size]) + format_spread(spreads, name, size) for size in sizes),
            f"{ratio:.2f}",
            f"{per_tenfold:.1f}",
            "ABOVE" if ratio > LIMIT else "OK",
        )


def print_table(table):
    header = ("series", "sizes", "median times (±cv)", "ratio", "per 10x", "flag")
    widths = [max(len(row[i]) for row in [header, *table]) for i in range(len(header))]
    for row in [header, *table]:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("report", help="Google Benchmark JSON output")
    arguments = parser.parse_args()
    with open(arguments.report, encoding="utf-8") as report:
        benchmarks = json.load(report).get("benchmarks", [])
    table = list(rows(series_times(benchmarks), series_spreads(benchmarks)))
    if not table:
        print("no series with two sizes or more", file=sys.stderr)
        return 1
    print_table(table)
    return 0


if __name__ == "__main__":
    sys.exit(main())
