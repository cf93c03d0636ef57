#include "SeShapeParts.h"

#include "foundation/RCShdPtr.h"

#include "host/selection/SnParts.h"
#include "host/selection/SnPartsBasic.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::SeShapeParts;
using Indices = Vo::SnPartsBasic<int>;

int countOf(const benchmark::State &state) { return static_cast<int>(state.range(0)); }

void finish(benchmark::State &state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// The indices from first to first + count - 1, appended in order.
RCShdPtr<Indices> makeRange(int first, int count) {
    RCShdPtr<Indices> set(new Indices());
    set->reserve(count);
    for (int index = first; index < first + count; ++index) {
        set->append(index);
    }
    return set;
}

// The bare cost that appending to an index set is measured against: N ints into a reserved vector.
void BM_VectorPushBack(benchmark::State &state) {
    const int count = countOf(state);
    for (auto _ : state) {
        std::vector<int> indices;
        indices.reserve(static_cast<std::size_t>(count));
        for (int index = 0; index < count; ++index) {
            indices.push_back(index);
        }
        benchmark::DoNotOptimize(indices.data());
    }
    finish(state);
}
BENCHMARK(BM_VectorPushBack)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// What selecting all points costs in the index set: a reserved set, N appends.
void BM_SnPartsBasicAppend(benchmark::State &state) {
    const int count = countOf(state);
    for (auto _ : state) {
        Indices indices;
        indices.reserve(count);
        for (int index = 0; index < count; ++index) {
            indices.append(index);
        }
        benchmark::DoNotOptimize(indices.getParts().data());
    }
    finish(state);
}
BENCHMARK(BM_SnPartsBasicAppend)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// The same appends without a reserve: the bit vector and the index vector grow on demand.
void BM_SnPartsBasicAppendUnreserved(benchmark::State &state) {
    const int count = countOf(state);
    for (auto _ : state) {
        Indices indices;
        for (int index = 0; index < count; ++index) {
            indices.append(index);
        }
        benchmark::DoNotOptimize(indices.getParts().data());
    }
    finish(state);
}
BENCHMARK(BM_SnPartsBasicAppendUnreserved)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// The selector's path: a new SeShapeParts, reservePoints, N appendPoint calls.
void BM_SeShapePartsAppendPoint(benchmark::State &state) {
    const int count = countOf(state);
    for (auto _ : state) {
        const RCShdPtr<SeShapeParts> parts(new SeShapeParts());
        parts->reservePoints(count);
        for (int index = 0; index < count; ++index) {
            parts->appendPoint(index);
        }
        benchmark::DoNotOptimize(parts->getPoints().data());
    }
    finish(state);
}
BENCHMARK(BM_SeShapePartsAppendPoint)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// The selector's faster path for selecting all points: one appendPointRange call.
void BM_SeShapePartsAppendPointRange(benchmark::State &state) {
    const int count = countOf(state);
    for (auto _ : state) {
        const RCShdPtr<SeShapeParts> parts(new SeShapeParts());
        parts->reservePoints(count);
        parts->appendPointRange(0, count);
        benchmark::DoNotOptimize(parts->getPoints().data());
    }
    finish(state);
}
BENCHMARK(BM_SeShapePartsAppendPointRange)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// Copying an N-index set (clone), the first part of every change the selector makes.
void BM_SnPartsBasicClone(benchmark::State &state) {
    const RCShdPtr<Indices> set = makeRange(0, countOf(state));
    for (auto _ : state) {
        const RCShdPtr<Vo::SnParts> copy(set->clone());
        benchmark::DoNotOptimize(copy.get());
    }
    finish(state);
}
BENCHMARK(BM_SnPartsBasicClone)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// Union of two N-index sets overlapping by half, into a fresh clone of the first: the union alone
// costs this minus BM_SnPartsBasicClone.
void BM_SnPartsBasicCloneAndUnion(benchmark::State &state) {
    const int count = countOf(state);
    const RCShdPtr<Indices> first = makeRange(0, count);
    const RCShdPtr<Vo::SnParts const> second = makeRange(count / 2, count);
    for (auto _ : state) {
        const RCShdPtr<Vo::SnParts> target(first->clone());
        benchmark::DoNotOptimize(target->unionWith(second));
    }
    finish(state);
}
BENCHMARK(BM_SnPartsBasicCloneAndUnion)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// hasPart on the union of the two sets above, half of the probes present; items are lookups.
void BM_SnPartsBasicHasPart(benchmark::State &state) {
    const int count = countOf(state);
    const RCShdPtr<Indices> set = makeRange(0, count);
    set->unionWith(makeRange(count / 2, count));
    std::mt19937 random(1);
    std::uniform_int_distribution<int> probe(0, 3 * count - 1);
    std::vector<int> probes(4096);
    for (int &index : probes) {
        index = probe(random);
    }
    for (auto _ : state) {
        int found = 0;
        for (int index : probes) {
            found += set->hasPart(index) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(probes.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SnPartsBasicHasPart)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// selectAllPoints on a shape that already has points (half of them overlapping): copy the parts,
// build the N points, unite.
void BM_SeShapePartsUnionWith(benchmark::State &state) {
    const int count = countOf(state);
    const RCShdPtr<SeShapeParts> current(new SeShapeParts());
    for (int index = count / 2; index < count + count / 2; ++index) {
        current->appendPoint(index);
    }
    current->appendHandle(2);
    for (auto _ : state) {
        const RCShdPtr<SeShapeParts> copy(new SeShapeParts(*current));
        const RCShdPtr<SeShapeParts> all(new SeShapeParts());
        all->reservePoints(count);
        all->appendPointRange(0, count);
        benchmark::DoNotOptimize(copy->unionWith(all));
    }
    finish(state);
}
BENCHMARK(BM_SeShapePartsUnionWith)->Arg(100000)->Arg(1000000)->Complexity();

// The validator over 1024 positions; items are calls. Arg 0: ordinary positions within a few
// lengths of the curve; arg 1: very large positions (beyond reach of single steps).
void BM_ValidateGradientHandlePosition(benchmark::State &state) {
    std::mt19937 random(2);
    std::uniform_real_distribution<float> ordinary(-12.0f, 24.0f);
    std::uniform_real_distribution<float> large(1e9f, 1e30f);
    std::vector<float> positions(1024);
    for (float &position : positions) {
        position = state.range(0) == 0 ? ordinary(random) : large(random);
    }
    bool closed = false;
    for (auto _ : state) {
        for (float start : positions) {
            float offset = 1.0f;
            float position = start;
            SeShapeParts::validateGradientHandlePosition(offset, position, 7, closed, false);
            benchmark::DoNotOptimize(position);
            benchmark::DoNotOptimize(offset);
            closed = !closed;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(positions.size()));
}
BENCHMARK(BM_ValidateGradientHandlePosition)->Arg(0)->Arg(1);

} // namespace
