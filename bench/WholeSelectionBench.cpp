#include "BenchScene.h"

#include "SeSelectionHistory.h"
#include "SeShapeSelector.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnSelection.h"

#include <benchmark/benchmark.h>

// Whole-selection operations as an editor meets them: the updater mirrors each change into the
// application's selection and the history records it. The reset between two measured calls goes
// through the same path and is not timed.
namespace {

using Vo::RCShdPtr;
using VoBench::SceneEditor;

int countOf(const benchmark::State &state) { return static_cast<int>(state.range(0)); }

// An editor of `shapes` shapes of `points` points with its history.
struct Editor {
    Editor(int shapes, int points) : scene(shapes, points), history(scene.selector) {}
    SceneEditor scene;
    Vo::SeSelectionHistory history;
};

void finish(benchmark::State &state, bool holds) {
    if (!holds) {
        state.SkipWithError("the selection is not what the call should have left");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// Select all N shapes of a layer with nothing selected.
void BM_WholeSelectAllShapes(benchmark::State &state) {
    const int count = countOf(state);
    Editor editor(count, 1);
    Vo::SeShapeSelector &selector = *editor.scene.selector;
    Vo::Iterator<RCShdPtr<Vo::SeShape>> shapes = editor.scene.iterateShapes();
    for (auto _ : state) {
        state.PauseTiming();
        selector.resetSelection();
        state.ResumeTiming();
        selector.selectAllShapes(shapes);
    }
    finish(state, selector.getNbSelectedShape() == count &&
                      editor.scene.hostSelection()->getNbItems() == count + 1);
}

// Replace an empty selection by all N shapes of a layer.
void BM_WholeSetSelectedShapes(benchmark::State &state) {
    const int count = countOf(state);
    Editor editor(count, 1);
    Vo::SeShapeSelector &selector = *editor.scene.selector;
    const Vo::Vector<RCShdPtr<Vo::SeShape>> all = editor.scene.firstShapes(count);
    for (auto _ : state) {
        state.PauseTiming();
        selector.resetSelection();
        state.ResumeTiming();
        selector.setSelectedShapes(all);
    }
    finish(state, selector.getNbSelectedShape() == count &&
                      editor.scene.hostSelection()->getNbItems() == count + 1);
}

// Select all N points of the one shape, none selected before.
void BM_WholeSelectAllPoints(benchmark::State &state) {
    const int count = countOf(state);
    Editor editor(1, count);
    Vo::SeShapeSelector &selector = *editor.scene.selector;
    for (auto _ : state) {
        state.PauseTiming();
        selector.unselectPoints();
        state.ResumeTiming();
        selector.selectAllPoints(count);
    }
    finish(state, editor.scene.hostSelection()->getNbItems() >= 2 * count);
}

// Unselect all N selected points of the one shape.
void BM_WholeUnselectPoints(benchmark::State &state) {
    const int count = countOf(state);
    Editor editor(1, count);
    Vo::SeShapeSelector &selector = *editor.scene.selector;
    for (auto _ : state) {
        state.PauseTiming();
        selector.selectAllPoints(count);
        state.ResumeTiming();
        selector.unselectPoints();
    }
    finish(state, editor.scene.hostSelection()->getNbItems() == 2);
}

BENCHMARK(BM_WholeSelectAllShapes)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_WholeSetSelectedShapes)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_WholeSelectAllPoints)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_WholeUnselectPoints)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
