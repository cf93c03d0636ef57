#include "Session.h"
#include "SessionScene.h"

#include "AppLayerInterface.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <sstream>
#include <string>

// The session driver's reading of both selections after a command, on one curve whose last point
// is selected: the application's selection then holds that point's inputs, at the far end of the
// curve's "Points". What the driver prints stays the same size as the curve grows, so the time per
// reading should too.
namespace {

void BM_SessionCaptureLastPointSelected(benchmark::State &state) {
    const int points = static_cast<int>(state.range(0));
    VoSession::Session session;
    VoSession::SessionScene scene(session.getNodeNames());
    std::istringstream text("shape A " + std::to_string(points) + "\n");
    std::string error;
    if (!scene.read(text, "bench", error) || session.build(scene) != nullptr) {
        state.SkipWithError(("the scene was not built: " + error).c_str());
        return;
    }
    VoExample::AppShapeInterface *shape = session.findShape("A");
    session.getSelector().setPrimarySelectedShape(shape->getShape(), points - 1);
    for (auto _ : state) {
        VoSession::SessionState captured = session.capture();
        benchmark::DoNotOptimize(captured);
    }
    if (session.capture().host.size() != 4) { // node, shape object, x and y of the point
        state.SkipWithError("the application's selection is not the point's inputs");
    }
    state.SetComplexityN(points);
}

// The session built on a scene of n shapes without points, read from its text: what
// `vo-shape-session --scene` does before any command. No points total bounds such a scene, so the
// time per shape must stay flat as n grows; it did not while finding a name meant a scan.
void BM_SessionBuildZeroPointShapes(benchmark::State &state) {
    const int shapes = static_cast<int>(state.range(0));
    std::string text;
    for (int index = 0; index < shapes; ++index) {
        text += "shape S" + std::to_string(index) + " 0\n";
    }
    for (auto _ : state) {
        VoSession::Session session(static_cast<std::size_t>(shapes));
        VoSession::SessionScene scene(session.getNodeNames(), static_cast<std::size_t>(shapes));
        std::istringstream in(text);
        std::string error;
        if (!scene.read(in, "bench", error) || session.build(scene) != nullptr ||
            session.getController().getLayer().getNbShapes() != shapes) {
            state.SkipWithError(("the scene was not built: " + error).c_str());
            return;
        }
    }
    state.SetComplexityN(shapes);
    state.SetItemsProcessed(state.iterations() * shapes);
}

} // namespace

BENCHMARK(BM_SessionCaptureLastPointSelected)->RangeMultiplier(10)->Range(100, 10000);
BENCHMARK(BM_SessionBuildZeroPointShapes)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond);
