// The complexity guard's workloads as benchmark series: each iteration builds what the path needs
// and runs it once, so the figures are whole workloads and their ratios per 10x of size tell
// linear from quadratic. The reference workloads show what the machine's caches alone do to those
// ratios.
#include "ScaleWorkloads.h"

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string>

namespace {

void registerSeries(const VoScale::Workload &workload, std::initializer_list<int> sizes) {
    auto *series = benchmark::RegisterBenchmark(("BM_Scale" + std::string(workload.name)).c_str(),
                                                [run = workload.run](benchmark::State &state) {
                                                    for (auto _ : state) {
                                                        run(static_cast<int>(state.range(0)));
                                                    }
                                                    state.SetComplexityN(state.range(0));
                                                });
    for (int size : sizes) {
        series->Arg(size);
    }
    series->Unit(benchmark::kMillisecond);
}

// The paths and the reference workloads at 10^3, 10^4 and 10^5; the quadratic reference stops at
// 10^4, where it already takes a hundred times as long as at 10^3.
const bool registered = [] {
    for (const auto *list : {&VoScale::workloads(), &VoScale::anchors()}) {
        for (const VoScale::Workload &workload : *list) {
            registerSeries(workload, {1000, 10000, 100000});
        }
    }
    registerSeries(VoScale::quadraticReference(), {1000, 10000});
    return true;
}();

} // namespace
