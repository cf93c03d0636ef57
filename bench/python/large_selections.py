"""Times reading a large application selection and selecting points by a region through voshape;
bench/session/RegionSelectionBench.cpp does the region selection in C++.

    PYTHONPATH=build/bench/python python3 bench/python/large_selections.py [--repetitions R]

Series (medians of R repetitions, each the mean of as many iterations as fill about --seconds,
with the smallest and largest repetition and their spread, wall-clock and processor time):

- to_list of an application selection of 2 x 10^5 input items (one shape of 10^5 points, all
  selected, alone: two inputs a point), and per item;
- the same with the interpreter's memory kept between calls (the names of one list held, so that
  its arenas are never all free), and the minor page faults a call takes either way: a list of
  dictionaries freed whole gives its arenas back to the system, and the next one faults them in;
- iterating over it, item by item;
- select_points_in over a rectangle holding half of a 10^6-point shape's points, then
  unselect_points: the same work as BM_RegionSelectPointsInRectangle.
"""

import argparse
import resource
import statistics

import voshape
from bulk_selection import repetitions, report, summary


def large_application_selection(points):
    editor = voshape.Editor()
    editor.add_shape("A", points)
    editor.selector.set_primary("A")
    editor.selector.select_all_points()
    return editor


def faults_per_call(work, calls=5):
    """The median number of minor page faults one call of `work` takes."""
    faults = []
    for _ in range(calls):
        before = resource.getrusage(resource.RUSAGE_SELF).ru_minflt
        work()
        faults.append(resource.getrusage(resource.RUSAGE_SELF).ru_minflt - before)
    return int(statistics.median(faults))


def region_editor(points):
    editor = voshape.Editor()
    editor.add_shape("A", points)
    editor.add_shape("B", 3)
    editor.selector.select(["A", "B"])
    return editor


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--points", type=int, default=100_000, help="for the selection read")
    parser.add_argument("--region-points", type=int, default=1_000_000)
    parser.add_argument("--repetitions", type=int, default=9)
    parser.add_argument("--seconds", type=float, default=0.5)
    options = parser.parse_args()

    editor = large_application_selection(options.points)
    app = editor.application_selection
    items = len(app)
    print(f"voshape {voshape.__version__}, medians of {options.repetitions}")
    wall, cpu, iterations = repetitions(app.to_list, options.repetitions, options.seconds)
    report(f"to_list, {items} items", wall, cpu, iterations)
    print(f"{'  per item':<38} wall {summary([t / items for t in wall])}  "
          f"cpu {summary([t / items for t in cpu])}")
    print(f"{'  minor page faults a call':<38} {faults_per_call(app.to_list)}")
    names = [item["name"] for item in app.to_list()]
    report(f"to_list, memory kept, {items} items",
           *repetitions(app.to_list, options.repetitions, options.seconds))
    print(f"{'  minor page faults a call':<38} {faults_per_call(app.to_list)}")
    del names
    report(f"iteration, {items} items",
           *repetitions(lambda: sum(1 for _ in app), options.repetitions, options.seconds))
    del editor, app

    editor = region_editor(options.region_points)
    selector = editor.selector

    def select_in_region():
        selector.select_points_in((0, 0, 150, 200))
        selector.unselect_points()

    selector.select_points_in((0, 0, 150, 200))
    inside = len(selector.points)
    assert 0 < inside < options.region_points
    selector.unselect_points()
    report(f"select_points_in, {options.region_points} points ({inside} in)",
           *repetitions(select_in_region, options.repetitions, options.seconds))


if __name__ == "__main__":
    main()
