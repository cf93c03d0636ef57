#include "BenchScene.h"

#include "foundation/Iterator.h"
#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnSelection.h"

#include <benchmark/benchmark.h>

// The selector and its updater at the sizes an editor meets: one curve of up to a million points,
// and layers of up to ten thousand shapes. Every figure that names the host includes the updater's
// mirror of the change into the other selection.
namespace {

using Vo::RCShdPtr;
using Vo::SnSelection;
using VoBench::SceneEditor;

int countOf(const benchmark::State &state) { return static_cast<int>(state.range(0)); }

void finish(benchmark::State &state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// Stops the series when the measured call did not leave the selection it should have.
void expect(benchmark::State &state, bool holds, const char *what) {
    if (!holds) {
        state.SkipWithError(what);
    }
}

// The host's items for every shape of the scene: the editor node and each shape's object.
RCShdPtr<SnSelection const> hostItemsOfAllShapes(const SceneEditor &editor, int count) {
    Vo::List<RCShdPtr<Vo::SnItem const>> items;
    items.push_back(Vo::PiSnItemUtil::create(editor.editorNode));
    for (int i = 0; i < count; ++i) {
        items.push_back(Vo::PiSnItemUtil::createFromBase(editor.object(i)));
    }
    return SnSelection::create(items);
}

// The editor selects all N points of its shape; the host receives 2N input items.
void BM_ScaleSelectAllPointsMirrored(benchmark::State &state) {
    const int count = countOf(state);
    SceneEditor editor(1, count);
    for (auto _ : state) {
        state.PauseTiming();
        editor.selector->unselectPoints();
        state.ResumeTiming();
        editor.selector->selectAllPoints(count);
    }
    expect(state, editor.hostSelection()->getNbItems() >= 2 * count, "host misses points");
    finish(state);
}

// One point selected out of N, moved on to the next one, mirrored into the host.
void BM_ScaleSelectNextPoint(benchmark::State &state) {
    const int count = countOf(state);
    SceneEditor editor(1, count);
    editor.selector->selectPoint(0);
    for (auto _ : state) {
        editor.selector->selectNextPoint(count);
    }
    Vo::Vector<int> selected;
    editor.selector->getSelectedPoints(selected);
    expect(state, selected.size() == 1, "not one point selected");
    finish(state);
}

// A point inserted in the middle of a curve whose N points are all selected: the selector
// renumbers, and the host receives the renumbered items. The insertion and its undoing are not
// timed.
void BM_ScaleUpdatePointAddedMirrored(benchmark::State &state) {
    const int count = countOf(state);
    const int middle = count / 2;
    SceneEditor editor(1, count);
    const RCShdPtr<Vo::PiMultivaluedInput> points = editor.points(0);
    const Vo::RCWeakPtr<Vo::SeShapeInterface> shape = editor.shapeInterface(0);
    editor.selector->selectAllPoints(count);
    for (auto _ : state) {
        state.PauseTiming();
        points->insertElement(middle);
        state.ResumeTiming();
        editor.selector->updateSelectionPointAdded(shape, middle);
        state.PauseTiming();
        points->removeElement(middle);
        editor.selector->updateSelectionPointDeleted(shape, middle);
        state.ResumeTiming();
    }
    Vo::Vector<int> selected;
    editor.selector->getSelectedPoints(selected);
    expect(state, static_cast<int>(selected.size()) == count, "selection lost points");
    finish(state);
}

// Select all N shapes of a layer with nothing selected; no updater.
void BM_ScaleSelectAllShapes(benchmark::State &state) {
    const int count = countOf(state);
    SceneEditor editor(count, 1);
    editor.detachUpdater();
    Vo::Iterator<RCShdPtr<Vo::SeShape>> shapes = editor.iterateShapes();
    for (auto _ : state) {
        state.PauseTiming();
        editor.selector->resetSelection();
        state.ResumeTiming();
        editor.selector->selectAllShapes(shapes);
    }
    expect(state, editor.selector->getNbSelectedShape() == count, "shapes missing");
    finish(state);
}

// Replace an empty selection by all N shapes of a layer; no updater.
void BM_ScaleSetSelectedShapes(benchmark::State &state) {
    const int count = countOf(state);
    SceneEditor editor(count, 1);
    editor.detachUpdater();
    Vo::Vector<RCShdPtr<Vo::SeShape>> all;
    for (int i = 0; i < count; ++i) {
        all.push_back(editor.shape(i));
    }
    for (auto _ : state) {
        state.PauseTiming();
        editor.selector->resetSelection();
        state.ResumeTiming();
        editor.selector->setSelectedShapes(all);
    }
    expect(state, editor.selector->getNbSelectedShape() == count, "shapes missing");
    finish(state);
}

// The host selects all N shapes at once; the updater mirrors them into the editor.
void BM_ScaleHostSelectsAllShapes(benchmark::State &state) {
    const int count = countOf(state);
    SceneEditor editor(count, 1);
    const RCShdPtr<SnSelection> host = editor.hostSelection();
    const RCShdPtr<SnSelection const> all = hostItemsOfAllShapes(editor, count);
    for (auto _ : state) {
        state.PauseTiming();
        editor.selector->resetSelection();
        state.ResumeTiming();
        host->replaceAllItems(all);
    }
    expect(state, editor.selector->getNbSelectedShape() == count, "editor misses shapes");
    finish(state);
}

// The editor selects all N shapes; the updater mirrors them into the host.
void BM_ScaleEditorSelectsAllShapes(benchmark::State &state) {
    const int count = countOf(state);
    SceneEditor editor(count, 1);
    Vo::Iterator<RCShdPtr<Vo::SeShape>> shapes = editor.iterateShapes();
    for (auto _ : state) {
        state.PauseTiming();
        editor.selector->resetSelection();
        state.ResumeTiming();
        editor.selector->selectAllShapes(shapes);
    }
    expect(state, editor.hostSelection()->getNbItems() >= count, "host misses shapes");
    finish(state);
}

constexpr int kFewestPoints = 10000;
constexpr int kMostPoints = 1000000;
constexpr int kFewestShapes = 1000;
constexpr int kMostShapes = 10000;

BENCHMARK(BM_ScaleSelectAllPointsMirrored)
    ->RangeMultiplier(10)
    ->Range(kFewestPoints, kMostPoints)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_ScaleSelectNextPoint)
    ->RangeMultiplier(10)
    ->Range(kFewestPoints, kMostPoints)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_ScaleUpdatePointAddedMirrored)
    ->RangeMultiplier(10)
    ->Range(kFewestPoints, kMostPoints)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_ScaleSelectAllShapes)
    ->RangeMultiplier(10)
    ->Range(kFewestShapes, kMostShapes)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_ScaleSetSelectedShapes)
    ->RangeMultiplier(10)
    ->Range(kFewestShapes, kMostShapes)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_ScaleHostSelectsAllShapes)
    ->RangeMultiplier(10)
    ->Range(kFewestShapes, kMostShapes)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
BENCHMARK(BM_ScaleEditorSelectsAllShapes)
    ->RangeMultiplier(10)
    ->Range(kFewestShapes, kMostShapes)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

} // namespace
