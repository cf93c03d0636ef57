#include "BenchScene.h"

#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphSearch.h"
#include "host/graph/PiIsPrimaryOutputNode.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnSelection.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace Vo;

// An editor with one shape of N points, selected as primary.
using OneShapeEditor = VoBench::SceneEditor;

// The editor selects all N points of its shape, and the updater mirrors them into the host
// selection as 2N input items; each round first clears the points (a mirror of its own).
void BM_UpdaterSelectAllPointsRoundTrip(benchmark::State &state) {
    const int nbPoints = static_cast<int>(state.range(0));
    OneShapeEditor editor(1, nbPoints);
    const RCShdPtr<SnSelection> host = editor.hostSelection();
    for (auto _ : state) {
        editor.selector->unselectPoints();
        editor.selector->selectAllPoints(nbPoints);
        benchmark::DoNotOptimize(host->getNbItems());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UpdaterSelectAllPointsRoundTrip)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The floor under that round trip: the same host items made directly (the editor node, the shape's
// object, 2N inputs with their path) and written into the host selection once.
void BM_UpdaterBareHostItems(benchmark::State &state) {
    const int nbPoints = static_cast<int>(state.range(0));
    OneShapeEditor editor(1, nbPoints);
    editor.detachUpdater(); // nobody mirrors the host back
    const RCShdPtr<SnSelection> host = editor.hostSelection();
    const std::vector<RCShdPtr<PiInput>> components = editor.pointComponents(0);
    const RCShdPtr<PiPath> path = PiGraphSearch::heightFirst(editor.curve(0)->getNode(),
                                                             PiIsPrimaryOutputNode::getPredicate());
    for (auto _ : state) {
        List<RCShdPtr<SnItem const>> items;
        items.push_back(PiSnItemUtil::create(editor.editorNode));
        items.push_back(PiSnItemUtil::createFromBase(editor.object(0)));
        for (const RCShdPtr<PiInput> &component : components) {
            items.push_back(PiSnItem<PiInput>::create(component, path));
        }
        host->replaceAllItems(SnSelection::create(items));
        benchmark::DoNotOptimize(host->getNbItems());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UpdaterBareHostItems)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
