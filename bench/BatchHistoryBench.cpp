#include "BenchScene.h"

#include "SeSelectionBatch.h"
#include "SeSelectionHistory.h"

#include "foundation/RCShdPtr.h"
#include "host/selection/SnSelection.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace Vo;

// N shapes of 2 points each, all selected, the first primary; the host mirrors them.
std::unique_ptr<VoBench::SceneEditor> allSelected(int nbShapes, int extraShapes = 0) {
    auto editor = std::make_unique<VoBench::SceneEditor>(nbShapes + extraShapes, 2);
    editor->selector->setSelectedShapes(editor->firstShapes(nbShapes));
    return editor;
}

// The application deletes every selected shape inside one batch, one removal event each; the
// batch's end commits the empty selection and the updater mirrors it once. Timed from the
// batch's start to its end, the deletions included; the scene is built untimed.
void BM_BatchDeleteAllSelected(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    std::unique_ptr<VoBench::SceneEditor> editor;
    for (auto _ : state) {
        state.PauseTiming();
        editor.reset(); // the last round's scene goes untimed
        editor = allSelected(n);
        const RCShdPtr<SnSelection> host = editor->hostSelection();
        state.ResumeTiming();
        {
            SeSelectionBatch batch(editor->selector);
            for (int i = 0; i < n; ++i) {
                editor->deleteShape(i);
            }
        }
        benchmark::DoNotOptimize(host->getNbItems());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_BatchDeleteAllSelected)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Outside a batch: a removal event for a shape that is not selected, with N selected. The
// updater answers from its index of selected ids, without walking the selection.
void BM_RemovalOfUnselectedShape(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::unique_ptr<VoBench::SceneEditor> editor = allSelected(n, 1);
    const int unselected = editor->shape(n)->getId();
    for (auto _ : state) {
        editor->sendRemoval(unselected);
    }
    benchmark::DoNotOptimize(editor->selector->getNbSelectedShape());
    state.SetComplexityN(n);
}
BENCHMARK(BM_RemovalOfUnselectedShape)->Arg(1000)->Arg(10000)->Arg(100000)->Complexity();

// The change a history step records in the two benchmarks below: one point of the primary shape
// selected, alternately 0 and 1, among N selected shapes, mirrored by the updater. Without a
// history: the cost of the change itself.
void BM_PrimaryPointChange(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::unique_ptr<VoBench::SceneEditor> editor = allSelected(n);
    int point = 0;
    for (auto _ : state) {
        editor->selector->selectPoint(point);
        point ^= 1;
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_PrimaryPointChange)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

// The same change recorded by a history; storedItemsPerStep is what each step holds (2: the old
// and the new primary item, whatever N).
void BM_HistoryRecordPrimaryPointChange(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::unique_ptr<VoBench::SceneEditor> editor = allSelected(n);
    SeSelectionHistory history(editor->selector);
    int point = 0;
    for (auto _ : state) {
        editor->selector->selectPoint(point);
        point ^= 1;
    }
    state.counters["storedItemsPerStep"] =
        static_cast<double>(history.getNbStoredItems()) / history.getNbUndoSteps();
    state.SetComplexityN(n);
}
BENCHMARK(BM_HistoryRecordPrimaryPointChange)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

// Undo then redo of that change: two restores, each mirrored by the updater, to set beside two
// iterations of BM_PrimaryPointChange.
void BM_HistoryUndoRedoPrimaryPointChange(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::unique_ptr<VoBench::SceneEditor> editor = allSelected(n);
    SeSelectionHistory history(editor->selector);
    editor->selector->selectPoint(1);
    for (auto _ : state) {
        history.undo();
        history.redo();
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_HistoryUndoRedoPrimaryPointChange)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

// The editor deletes all N selected points of the primary shape in one batch, as its Delete does:
// the points leave the selection, then the application reports each deletion, last point first.
// The history, attached, kept the N selected indices as its current state: before, it renumbered
// them once per report (N x N); it now renumbers them once, when the batch's change is heard. The
// graph keeps its points (the reports alone are measured); the points are selected again untimed.
void BM_BatchDeleteSelectedPointsWithHistory(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    VoBench::SceneEditor editor(1, n);
    SeSelectionHistory history(editor.selector);
    const Vo::RCWeakPtr<Vo::SeShapeInterface> shape = editor.shapeInterface(0);
    for (auto _ : state) {
        state.PauseTiming();
        editor.selector->selectAllPoints(n);
        state.ResumeTiming();
        {
            SeSelectionBatch batch(editor.selector);
            editor.selector->unselectPoints();
            for (int i = n - 1; i >= 0; --i) {
                editor.selector->updateSelectionPointDeleted(shape, i);
            }
        }
    }
    Vo::Vector<int> left;
    editor.selector->getSelectedPoints(left);
    if (history.getNbUndoSteps() == 0 || !left.empty()) {
        state.SkipWithError("the batch should have left a step and no point selected");
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_BatchDeleteSelectedPointsWithHistory)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
