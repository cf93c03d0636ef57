#include "AppLayerInterface.h"
#include "AppShapeEditor.h"
#include "AppShapeInterface.h"
#include "Session.h"
#include "SessionScene.h"

#include "SeShapeSelector.h"

#include "foundation/Vector.h"

#include <benchmark/benchmark.h>

// The C++ side of the Python module's region selection (bench/python/large_selections.py times
// Selector.select_points_in through voshape): the example application's editor with a shape of n
// points placed as the module places them, primary, and a second shape selected after it, so that
// the updater mirrors the two shapes and not every point. Each iteration reads every point's
// position, keeps those in a rectangle over the left half of the shape's cell, makes them the
// primary shape's selected points in one change, then unselects them.
namespace {

struct RegionEditor {
    explicit RegionEditor(int points) {
        VoExample::AppLayerInterface &layer = editor.getController().getLayer();
        shape = layer.addShape("A", points, 0, false);
        VoSession::SessionScene::Shape described;
        described.nbPoints = points;
        VoSession::Session::place(*shape, described, 0, 1);
        VoExample::AppShapeInterface *other = layer.addShape("B", 3, 0, false);
        editor.getSelector().setSelectedShapes({shape->getShape(), other->getShape()});
    }
    VoExample::AppShapeEditor editor;
    VoExample::AppShapeInterface *shape = nullptr;
};

void BM_RegionSelectPointsInRectangle(benchmark::State &state) {
    const int points = static_cast<int>(state.range(0));
    RegionEditor region(points);
    Vo::SeShapeSelector &selector = region.editor.getSelector();
    const Vo::Vector<int> handles;
    Vo::Vector<int> inside;
    for (auto _ : state) {
        inside.clear();
        for (int index = 0; index < points; ++index) {
            double x = 0;
            double y = 0;
            region.shape->getPoint(index, x, y);
            if (0 <= x && x <= 150 && 0 <= y && y <= 200) {
                inside.push_back(index);
            }
        }
        selector.setShapeParts(region.shape->getShape(), &inside, &handles);
        selector.unselectPoints();
    }
    if (inside.empty() || static_cast<int>(inside.size()) == points) {
        state.SkipWithError("the rectangle holds none or all of the points");
    }
    state.counters["inside"] = static_cast<double>(inside.size());
    state.SetComplexityN(points);
}
BENCHMARK(BM_RegionSelectPointsInRectangle)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
