"""Times voshape's bulk call against bench/session/BulkSelectionBench.cpp, which does the same work
in C++: an editor with one shape of N points, primary; each iteration unselects its points, selects
all of them and reads the selection back.

    PYTHONPATH=build/bench/python python3 bench/python/bulk_selection.py [--points N] [--repetitions R]

Prints, for each series, the median time per iteration over R repetitions (each the mean of as many
iterations as fill about --seconds), with the smallest and largest repetition: wall-clock time, and
the process's processor time, which Google Benchmark's "CPU" column also gives and which a machine
shared with other work disturbs less.
"""

import argparse
import gc
import statistics
import time

import voshape


def repetitions(work, count, seconds):
    """Per-iteration times of `count` repetitions, each running `work` for about `seconds`."""
    work()  # warm up: first allocations, the history's first step
    start = time.perf_counter()
    work()
    once = max(time.perf_counter() - start, 1e-7)
    iterations = max(1, int(seconds / once))
    wall, cpu = [], []
    gc.disable()
    try:
        for _ in range(count):
            start, start_cpu = time.perf_counter_ns(), time.process_time_ns()
            for _ in range(iterations):
                work()
            cpu.append((time.process_time_ns() - start_cpu) / iterations)
            wall.append((time.perf_counter_ns() - start) / iterations)
    finally:
        gc.enable()
    return wall, cpu, iterations


def summary(times):
    median = statistics.median(times)
    low, high = min(times), max(times)
    unit, scale = ("ms", 1e6) if median >= 1e6 else ("us", 1e3)
    return (f"{median / scale:8.3f} {unit} (min {low / scale:.3f}, max {high / scale:.3f}, "
            f"spread {100 * (high - low) / median:4.1f}%)")


def report(name, wall, cpu, iterations):
    print(f"{name:<38} wall {summary(wall)}  cpu {summary(cpu)}  [{len(wall)} x {iterations}]")


def editor_with(points):
    editor = voshape.Editor()
    editor.add_shape("A", points)
    editor.selector.set_primary("A")
    return editor, editor.selector


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--points", type=int, default=100_000)
    parser.add_argument("--repetitions", type=int, default=9)
    parser.add_argument("--seconds", type=float, default=0.5)
    options = parser.parse_args()

    # Google Benchmark runs the C++ function, setup included, several times before the runs it
    # reports, and glibc's malloc raises its mmap and trim thresholds when large blocks are freed:
    # a process that has built and released one such editor mmaps and refaults far less (about
    # 1,000 minor faults an iteration instead of 2,200 here). One editor built and released first
    # puts this process in the same state, so that both sides time the calls and not the
    # allocator's warm-up.
    for _ in range(2):
        editor, selector = editor_with(options.points)
        for _ in range(3):
            selector.unselect_points()
            selector.select_all_points(options.points)
        del editor, selector
        gc.collect()

    editor, selector = editor_with(options.points)
    count = options.points

    def select_all_read_list():
        selector.unselect_points()
        selector.select_all_points(count)
        return selector.points

    def select_all_read_array():
        selector.unselect_points()
        selector.select_all_points(count)
        return selector.points_array()

    assert len(select_all_read_list()) == count
    print(f"voshape {voshape.__version__}, {count} points, medians of {options.repetitions}")
    report("select all + read back (list)", *repetitions(select_all_read_list, options.repetitions, options.seconds))
    try:
        assert len(select_all_read_array()) == count
        report("select all + read back (NumPy array)",
               *repetitions(select_all_read_array, options.repetitions, options.seconds))
        report("read back alone (NumPy array)",
               *repetitions(selector.points_array, options.repetitions, options.seconds))
    except ImportError:
        print("NumPy is not installed: no array series")
    report("read back alone (list)",
           *repetitions(lambda: selector.points, options.repetitions, options.seconds))


if __name__ == "__main__":
    main()
