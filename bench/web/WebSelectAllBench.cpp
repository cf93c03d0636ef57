#include "WebEditor.h"

#include <benchmark/benchmark.h>

#include <string>

// The native side of the page's benchmark (examples/web/page/index.html?bench=N): select-all of n
// shapes through the page's editor, from no selection: the command (the application's selection
// it mirrors into, the history that records it, the change's JSON), then with the readings the
// page makes after it (the editor's selection whole, which the mirror reads on a large change,
// and the application's first items for its panel), or with both selections read whole twice,
// described item by item (what the page read before it had those two readings). The page adds
// its JavaScript and the canvas; the ratio of the two is what the browser costs.
namespace {

enum class Reading { none, page, whole };

void runSelectAll(benchmark::State &state, Reading reading) {
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
        if (reading == Reading::page) {
            benchmark::DoNotOptimize(editor.getEditorSelection());
            benchmark::DoNotOptimize(editor.getHostSelection(200));
        } else if (reading == Reading::whole) {
            benchmark::DoNotOptimize(editor.getSelection());
            benchmark::DoNotOptimize(editor.getSelection());
        }
    }
}

void BM_WebSelectAllShapes(benchmark::State &state) {
    runSelectAll(state, Reading::none);
}
BENCHMARK(BM_WebSelectAllShapes)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WebSelectAllShapesRead(benchmark::State &state) {
    runSelectAll(state, Reading::page);
}
BENCHMARK(BM_WebSelectAllShapesRead)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WebSelectAllShapesReadWhole(benchmark::State &state) {
    runSelectAll(state, Reading::whole);
}
BENCHMARK(BM_WebSelectAllShapesReadWhole)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
