#include "AppLayerInterface.h"
#include "AppShapeEditor.h"
#include "AppShapeInterface.h"

#include "SeShapeSelector.h"

#include "foundation/Vector.h"

#include <benchmark/benchmark.h>

// The C++ side of the Python module's bulk call (bench/python/bulk_selection.py times the same
// work through voshape): the example application's editor, as the module builds it, with one shape
// of n points selected as primary; each iteration selects all of its points and reads the
// selection back. The updater mirrors every selected point into the application's selection, so
// this is what one call costs an editor, not the selector alone.
namespace {

struct BulkEditor {
    explicit BulkEditor(int points) {
        VoExample::AppShapeInterface *shape =
            editor.getController().getLayer().addShape("A", points, 0, false);
        editor.getSelector().setPrimarySelectedShape(shape->getShape(), -1);
    }
    VoExample::AppShapeEditor editor;
};

// unselectPoints, selectAllPoints(n), getSelectedPoints: the same three calls as the Python loop.
void BM_BulkSelectAllPointsAndReadBack(benchmark::State &state) {
    const int points = static_cast<int>(state.range(0));
    BulkEditor bulk(points);
    Vo::SeShapeSelector &selector = bulk.editor.getSelector();
    Vo::Vector<int> selected;
    for (auto _ : state) {
        selector.unselectPoints();
        selector.selectAllPoints(points);
        selector.getSelectedPoints(selected);
        benchmark::DoNotOptimize(selected.data());
    }
    if (static_cast<int>(selected.size()) != points) {
        state.SkipWithError("not every point was selected");
    }
    state.SetComplexityN(points);
}
BENCHMARK(BM_BulkSelectAllPointsAndReadBack)->Arg(100000)->Unit(benchmark::kMillisecond);

// The read-back alone, with every point selected: what the module's points list or array adds to
// the library's own copy.
void BM_BulkReadBackSelectedPoints(benchmark::State &state) {
    const int points = static_cast<int>(state.range(0));
    BulkEditor bulk(points);
    Vo::SeShapeSelector &selector = bulk.editor.getSelector();
    selector.selectAllPoints(points);
    Vo::Vector<int> selected;
    for (auto _ : state) {
        selector.getSelectedPoints(selected);
        benchmark::DoNotOptimize(selected.data());
    }
    state.SetComplexityN(points);
}
BENCHMARK(BM_BulkReadBackSelectedPoints)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
