// The complexity guard's workloads as benchmark series at 10^3, 10^4 and 10^5: each iteration
// builds what the path needs and runs it once, so the figures are whole workloads and their ratios
// per 10x of size tell linear from quadratic.
#include "ScaleWorkloads.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const bool registered = [] {
    for (const VoScale::Workload &workload : VoScale::workloads()) {
        auto *series =
            benchmark::RegisterBenchmark(("BM_Scale" + std::string(workload.name)).c_str(),
                                         [run = workload.run](benchmark::State &state) {
                                             for (auto _ : state) {
                                                 run(static_cast<int>(state.range(0)));
                                             }
                                             state.SetComplexityN(state.range(0));
                                         });
        series->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
