#include "Session.h"
#include "SessionScene.h"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK(BM_SessionCaptureLastPointSelected)->RangeMultiplier(10)->Range(100, 10000);
