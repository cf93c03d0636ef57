#include "OneItemWorkloads.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

// One-item changes against a selection of n (shapes, or points of one shape), each with the
// updater's mirror and the history's step: one iteration is the change and its way back (see
// OneItemWorkloads.h), so the figures are per pair. A pair with a set-up is timed by hand, by the
// thread's processor time around the pair alone (the wall clock would count the time other
// processes of a shared machine took), for a fixed number of iterations (each set-up may add a
// shape).
namespace {

constexpr int kSetUpIterations = 2000;

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void runPairs(benchmark::State &state, const VoOneItem::Workload &workload) {
    const VoOneItem::Toggle toggle = workload.prepare(static_cast<int>(state.range(0)));
    VoOneItem::check(static_cast<bool>(toggle.setUp) == workload.hasSetUp,
                     "a set-up the series is not registered for");
    for (auto _ : state) {
        if (toggle.setUp) {
            toggle.setUp();
        }
        const double start = threadSeconds();
        toggle.change();
        toggle.back();
        if (toggle.setUp) {
            state.SetIterationTime(threadSeconds() - start);
        }
    }
    state.SetComplexityN(state.range(0));
}

bool registerAll() {
    for (const VoOneItem::Workload &workload : VoOneItem::workloads()) {
        const bool points = std::string(workload.name).find("Point") != std::string::npos;
        benchmark::internal::Benchmark *series =
            benchmark::RegisterBenchmark(
                ("BM_" + std::string(workload.name)).c_str(),
                [&workload](benchmark::State &state) { runPairs(state, workload); })
                ->RangeMultiplier(10)
                ->Range(points ? 10000 : 1000, points ? 1000000 : 100000)
                ->Unit(benchmark::kMicrosecond);
        if (workload.hasSetUp) {
            series->UseManualTime()->Iterations(kSetUpIterations);
        }
    }
    return true;
}

const bool registered = registerAll();

} // namespace
