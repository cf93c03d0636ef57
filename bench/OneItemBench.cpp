#include "OneItemWorkloads.h"

#include <benchmark/benchmark.h>

#include <string>

// One-item changes against a selection of n (shapes, or points of one shape), each with the
// updater's mirror and the history's step: one iteration is the change and its way back (see
// OneItemWorkloads.h), so the figures are per pair.
namespace {

void runPairs(benchmark::State &state, const VoOneItem::Workload &workload) {
    const VoOneItem::Toggle toggle = workload.prepare(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        toggle.change();
        toggle.back();
    }
    state.SetComplexityN(state.range(0));
}

bool registerAll() {
    for (const VoOneItem::Workload &workload : VoOneItem::workloads()) {
        const bool points = std::string(workload.name).find("Point") != std::string::npos;
        benchmark::RegisterBenchmark(
            ("BM_" + std::string(workload.name)).c_str(),
            [&workload](benchmark::State &state) { runPairs(state, workload); })
            ->RangeMultiplier(10)
            ->Range(points ? 10000 : 1000, points ? 1000000 : 100000)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}

const bool registered = registerAll();

} // namespace
