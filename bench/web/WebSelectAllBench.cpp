#include "WebEditor.h"

#include <benchmark/benchmark.h>

#include <string>

// The native side of the page's benchmark (examples/web/page/bench.html): select-all of n shapes
// through the page's editor, the command, the application's selection it mirrors into, the
// history that records it and the change's JSON, from no selection. The page adds its mirror
// following the change; the ratio of the two is what the browser costs.
namespace {

void BM_WebSelectAllShapes(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    std::string scene;
    for (int index = 0; index < count; ++index) {
        scene += "shape S" + std::to_string(index) + " 3\n";
    }
    VoWeb::WebEditor editor;
    if (!editor.open(scene).empty()) {
        state.SkipWithError("the scene was refused");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        editor.run("select");
        state.ResumeTiming();
        benchmark::DoNotOptimize(editor.run("select-all-shapes"));
    }
}
BENCHMARK(BM_WebSelectAllShapes)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
