#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiGraphSearch.h"
#include "host/graph/PiIsPrimaryOutputNode.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiStructuredInput.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using Vo::PiGraph;
using Vo::PiMultivaluedInput;
using Vo::PiNode;
using Vo::RCShdPtr;

int countOf(const benchmark::State &state) { return static_cast<int>(state.range(0)); }

void finish(benchmark::State &state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

RCShdPtr<PiMultivaluedInput> pointsOf(const RCShdPtr<PiNode> &node, int nbPoints) {
    return Vo::rcDynamicCast<PiMultivaluedInput>(
        node->addCurveInput("curve", nbPoints)->getInput("Points", 0));
}

// Building a curve of N composite points (and freeing it with its graph): linear in N.
void BM_BuildCurve(benchmark::State &state) {
    const int count = countOf(state);
    for (auto _ : state) {
        const RCShdPtr<PiGraph> graph = PiGraph::create();
        benchmark::DoNotOptimize(pointsOf(graph->addNode("Roto", PiNode::Tool), count).get());
    }
    finish(state);
}
BENCHMARK(BM_BuildCurve)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

// A shape gains and loses a point in the middle of a curve of N points.
void BM_InsertRemovePoint(benchmark::State &state) {
    const int count = countOf(state);
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiMultivaluedInput> points = pointsOf(graph->addNode("Roto"), count);
    for (auto _ : state) {
        benchmark::DoNotOptimize(points->insertElement(count / 2).get());
        points->removeElement(count / 2);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertRemovePoint)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

// What the selection updater does per selected point: the element, then its components.
void BM_VisitPointComponents(benchmark::State &state) {
    const int count = countOf(state);
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    const RCShdPtr<PiMultivaluedInput> points = pointsOf(graph->addNode("Roto"), count);
    for (auto _ : state) {
        for (int index = 0; index < count; ++index) {
            Vo::Iterator<RCShdPtr<Vo::PiInput>> components =
                Vo::rcDynamicCast<Vo::PiCompositeInput>(points->getElement(index))->getInputs(1);
            for (; !components.atEnd(); components.next()) {
                benchmark::DoNotOptimize(components.item().get());
            }
        }
    }
    finish(state);
}
BENCHMARK(BM_VisitPointComponents)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

// The path search along a chain of N nodes whose last node is the primary output.
void BM_HeightFirstChain(benchmark::State &state) {
    const int count = countOf(state);
    const RCShdPtr<PiGraph> graph = PiGraph::create();
    RCShdPtr<PiNode> previous = graph->addNode("node0");
    const RCShdPtr<PiNode> start = previous;
    for (int index = 1; index < count; ++index) {
        const RCShdPtr<PiNode> next = graph->addNode(
            "node" + std::to_string(index), index + 1 == count ? PiNode::PrimaryOutput : 0);
        graph->connect(previous, next);
        previous = next;
    }
    const auto isOutput = Vo::PiIsPrimaryOutputNode::getPredicate();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Vo::PiGraphSearch::heightFirst(start, isOutput).get());
    }
    finish(state);
}
BENCHMARK(BM_HeightFirstChain)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

} // namespace
