#include "SeShapeEvent.h"
#include "SeShapeEventDispatchers.h"

#include "foundation/CbFunction.h"
#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiStructuredInput.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace {

using Vo::RCShdPtr;

void finish(benchmark::State &state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// One removal event sent through the per-kind lists to N lambda handlers: linear in N.
void BM_ShapeEventSend(benchmark::State &state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    Vo::SeShapeEventDispatchers events;
    std::size_t calls = 0;
    std::vector<std::unique_ptr<Vo::CbFunction<Vo::SeShapeEvent const>>> handlers;
    const Vo::SeShapeEvent::ShapeRemoved removal(7, RCShdPtr<Vo::SeObject const>());
    for (std::size_t i = 0; i < count; ++i) {
        handlers.push_back(std::make_unique<Vo::CbFunction<Vo::SeShapeEvent const>>(
            [&calls](const Vo::SeShapeEvent &) { ++calls; }));
        events.addHandler(removal, handlers.back().get());
    }
    for (auto _ : state) {
        events.send(removal);
    }
    benchmark::DoNotOptimize(calls);
    finish(state);
}
BENCHMARK(BM_ShapeEventSend)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

// The place of every component of a curve of N points ("curve/Points[k]/x"), as a view that lists
// the application's input items writes it: linear in N, each place O(depth).
void BM_InputPlaces(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    const RCShdPtr<Vo::PiGraph> graph = Vo::PiGraph::create();
    const RCShdPtr<Vo::PiMultivaluedInput> points = Vo::rcDynamicCast<Vo::PiMultivaluedInput>(
        graph->addNode("Roto")->addCurveInput("curve", count)->getInput("Points", 0));
    std::vector<RCShdPtr<Vo::PiInput>> components;
    for (int index = 0; index < count; ++index) {
        Vo::Iterator<RCShdPtr<Vo::PiInput>> inputs =
            Vo::rcDynamicCast<Vo::PiCompositeInput>(points->getElement(index))->getInputs(0);
        components.push_back(inputs.item());
    }
    for (auto _ : state) {
        for (const RCShdPtr<Vo::PiInput> &component : components) {
            benchmark::DoNotOptimize(component->getPlace());
        }
    }
    finish(state);
}
BENCHMARK(BM_InputPlaces)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

} // namespace
