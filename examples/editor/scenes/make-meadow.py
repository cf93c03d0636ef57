#!/usr/bin/env python3
"""Writes meadow.scene: 1000 shapes with real geometry for the editor's screenshot and for trying
zoom, pan, picking and moves at scale. Leaves, waves, spirals and stars on a 40 x 25 grid of
100-unit cells, each turned and sized at random (seeded: the file is the same on every run); every
fifth shape has gradient handles. Run: python3 make-meadow.py > meadow.scene"""

import math
import random

COLUMNS, ROWS, CELL = 40, 25, 100.0


def leaf(n):
    half = n // 2
    upper = [(t / half, 0.35 * math.sin(math.pi * t / half)) for t in range(half + 1)]
    lower = [(1 - t / half, -0.3 * math.sin(math.pi * t / half)) for t in range(1, half)]
    return [(x - 0.5, y) for x, y in upper + lower]


def wave(n):
    return [(t / (n - 1) - 0.5, 0.25 * math.sin(3 * math.pi * t / (n - 1))) for t in range(n)]


def spiral(n):
    return [(0.5 * (t / n) * math.cos(5 * t / n * math.pi), 0.5 * (t / n) * math.sin(5 * t / n * math.pi))
            for t in range(1, n + 1)]


def star(n):
    return [((0.5 if t % 2 == 0 else 0.22) * math.cos(2 * math.pi * t / n),
             (0.5 if t % 2 == 0 else 0.22) * math.sin(2 * math.pi * t / n)) for t in range(n + 1)]


def main():
    rng = random.Random(1000)
    kinds = [(leaf, "Leaf", (10, 16)), (wave, "Wave", (8, 14)), (spiral, "Spiral", (16, 28)),
             (star, "Star", (10, 14))]
    print("# 1000 shapes with positions, written by make-meadow.py; see the README's editor section.")
    for index in range(COLUMNS * ROWS):
        make, name, (low, high) = kinds[rng.randrange(len(kinds))]
        count = rng.randrange(low // 2, high // 2 + 1) * 2
        points = make(count)
        angle = rng.uniform(0, 2 * math.pi)
        size = CELL * rng.uniform(0.55, 0.85)
        cx = (index % COLUMNS + 0.5) * CELL + rng.uniform(-6, 6)
        cy = (index // COLUMNS + 0.5) * CELL + rng.uniform(-6, 6)
        placed = [(cx + size * (x * math.cos(angle) - y * math.sin(angle)),
                   cy + size * (x * math.sin(angle) + y * math.cos(angle))) for x, y in points]
        handles = sorted(rng.uniform(0, 1) for _ in range(3)) if index % 5 == 0 else []
        print(f"shape {name}{index} {len(placed)} {len(handles)}")
        print("points " + " ".join(f"{x:.2f},{y:.2f}" for x, y in placed))
        if handles:
            print("handles " + " ".join(f"{h:.3f}" for h in handles))


main()
