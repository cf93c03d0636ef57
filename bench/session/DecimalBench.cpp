#include "SessionDecimal.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

// Writing a scene's numbers: 10^5 coordinates as an editor leaves them (computed, 15 to 17
// significant digits), through the writer the build uses and through the portable search that
// builds without a floating to_chars (WebAssembly) use.
namespace {

std::vector<double> coordinates(std::size_t count) {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> place(-2000.0, 2000.0);
    std::vector<double> values(count);
    for (double &value : values) {
        value = place(random);
    }
    return values;
}

template <std::string (*write)(double)> void writeAll(benchmark::State &state) {
    const std::vector<double> values = coordinates(static_cast<std::size_t>(state.range(0)));
    std::size_t characters = 0;
    for (auto _ : state) {
        for (const double value : values) {
            characters += write(value).size();
        }
    }
    benchmark::DoNotOptimize(characters);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SceneNumbersWritten(benchmark::State &state) {
    writeAll<&VoSession::SessionDecimal::write>(state);
}

void BM_SceneNumbersWrittenPortably(benchmark::State &state) {
    writeAll<&VoSession::SessionDecimal::writePortable>(state);
}

} // namespace

BENCHMARK(BM_SceneNumbersWritten)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneNumbersWrittenPortably)->Arg(100000)->Unit(benchmark::kMillisecond);
