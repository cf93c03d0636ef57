#include "SeShape.h"
#include "SeShapeInterface.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "foundation/Iterator.h"
#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/IteratorImpVector.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiNode.h"
#include "host/RCOwner.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnSelection.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using Vo::RCShdPtr;
using Vo::RCWeakPtr;
using Vo::SeShape;
using Vo::SeShapeInterface;
using Vo::SeShapeSelector;
using Vo::SnItem;
using Vo::SnSelection;

// The model side of a benchmark shape: its graph object and a weak pointer to its editing side.
class BenchShape : public SeShape {
public:
    BenchShape(const RCShdPtr<Vo::PiGraphObject> &object,
               const RCWeakPtr<SeShapeInterface> &editing)
        : object(object), editing(editing) {}

    RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return object; }
    RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return object; }
    RCWeakPtr<SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    ~BenchShape() override = default;

    RCShdPtr<Vo::PiGraphObject> object;
    RCWeakPtr<SeShapeInterface> editing;
};

// The editing side of a benchmark shape; owns a share of its model side.
class BenchShapeInterface : public SeShapeInterface {
public:
    void setShape(const RCShdPtr<SeShape> &model) { shape = model; }
    RCShdPtr<SeShape> getShape() override { return shape; }
    RCShdPtr<Vo::PiInput> getCurveInput() override { return RCShdPtr<Vo::PiInput>(); }

private:
    RCShdPtr<SeShape> shape;
};

// A layer of shapes on one graph node; owns their editing sides as an application does.
class BenchLayer {
public:
    explicit BenchLayer(int count)
        : graph(Vo::PiGraph::create()), node(graph->addNode("Layer")),
          shapes(std::make_shared<std::vector<RCShdPtr<SeShape>>>()) {
        for (int i = 0; i < count; ++i) {
            Vo::RCOwner<BenchShapeInterface> owner(new BenchShapeInterface);
            const RCWeakPtr<SeShapeInterface> editing(owner.getWeak());
            const RCShdPtr<SeShape> shape(
                new BenchShape(node->addObject("Shape" + std::to_string(i)), editing));
            owner.get()->setShape(shape);
            shapes->push_back(shape);
            owners.push_back(std::move(owner));
        }
    }

    RCWeakPtr<SeShapeInterface> weak(int index) const {
        return RCWeakPtr<SeShapeInterface>(owners.at(static_cast<std::size_t>(index)).getWeak());
    }
    Vo::Iterator<RCShdPtr<SeShape>> iterate() const {
        return Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(shapes);
    }

private:
    RCShdPtr<Vo::PiGraph> graph;
    RCShdPtr<Vo::PiNode> node;
    std::vector<Vo::RCOwner<BenchShapeInterface>> owners;
    std::shared_ptr<std::vector<RCShdPtr<SeShape>>> shapes;
};

int countOf(const benchmark::State &state) { return static_cast<int>(state.range(0)); }

void finish(benchmark::State &state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// A selection of one shape whose points are first, first + step, ... (count of them).
RCShdPtr<SnSelection const> withPoints(const RCWeakPtr<SeShapeInterface> &shape, int count,
                                       int first = 0, int step = 1) {
    RCShdPtr<Vo::SeShapeParts> parts(new Vo::SeShapeParts);
    parts->reservePoints(count);
    for (int i = 0; i < count; ++i) {
        parts->appendPoint(first + i * step);
    }
    const RCShdPtr<SnSelection> selection = SnSelection::create();
    selection->addItem(RCShdPtr<SnItem const>(new Vo::SeShapeItem(parts, shape)));
    return selection;
}

// A selection of the first count shapes of the layer, as wholes.
RCShdPtr<SnSelection const> wholeShapes(const BenchLayer &layer, int count) {
    const RCShdPtr<SnSelection> selection = SnSelection::create();
    for (int i = 0; i < count; ++i) {
        selection->addItem(
            RCShdPtr<SnItem const>(new Vo::SeShapeItem(RCShdPtr<Vo::SnParts>(), layer.weak(i))));
    }
    return selection;
}

// The bare cost each selector operation is measured against: N ints into a reserved vector.
void BM_SelectorBareVectorBuild(benchmark::State &state) {
    const int count = countOf(state);
    for (auto _ : state) {
        std::vector<int> indices;
        indices.reserve(static_cast<std::size_t>(count));
        for (int index = 0; index < count; ++index) {
            indices.push_back(index);
        }
        benchmark::DoNotOptimize(indices.data());
        benchmark::ClobberMemory();
    }
    finish(state);
}

// Select all N points of a shape selected as a whole.
void BM_SelectorSelectAllPointsWithoutParts(benchmark::State &state) {
    const int count = countOf(state);
    const BenchLayer layer(1);
    const RCShdPtr<SeShapeSelector> selector(new SeShapeSelector);
    const RCShdPtr<SnSelection const> start = wholeShapes(layer, 1);
    for (auto _ : state) {
        state.PauseTiming();
        selector->replaceAllItems(start);
        state.ResumeTiming();
        selector->selectAllPoints(count);
    }
    finish(state);
}

// Select all N points of a shape whose every second point, N / 2 of them, is selected already.
void BM_SelectorSelectAllPointsOntoHalf(benchmark::State &state) {
    const int count = countOf(state);
    const BenchLayer layer(1);
    const RCShdPtr<SeShapeSelector> selector(new SeShapeSelector);
    const RCShdPtr<SnSelection const> start = withPoints(layer.weak(0), count / 2, 0, 2);
    for (auto _ : state) {
        state.PauseTiming();
        selector->replaceAllItems(start);
        state.ResumeTiming();
        selector->selectAllPoints(count);
    }
    finish(state);
}

// Renumber N selected points after a point was inserted in the middle.
void BM_SelectorUpdatePointAdded(benchmark::State &state) {
    const int count = countOf(state);
    const BenchLayer layer(1);
    const RCShdPtr<SeShapeSelector> selector(new SeShapeSelector);
    const RCShdPtr<SnSelection const> start = withPoints(layer.weak(0), count);
    const RCWeakPtr<SeShapeInterface> shape = layer.weak(0);
    for (auto _ : state) {
        state.PauseTiming();
        selector->replaceAllItems(start);
        state.ResumeTiming();
        selector->updateSelectionPointAdded(shape, count / 2);
    }
    finish(state);
}

// The same renumbering when the N selected points, every stride-th index, were selected in random
// order: no runs to take at once, and with a stride the indices reach past N.
void updatePointAddedShuffled(benchmark::State &state, int stride) {
    const int count = countOf(state);
    const BenchLayer layer(1);
    const RCShdPtr<SeShapeSelector> selector(new SeShapeSelector);
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    RCShdPtr<Vo::SeShapeParts> parts(new Vo::SeShapeParts);
    for (int index : order) {
        parts->appendPoint(index * stride);
    }
    const RCShdPtr<SnSelection> start = SnSelection::create();
    start->addItem(RCShdPtr<SnItem const>(new Vo::SeShapeItem(parts, layer.weak(0))));
    const RCWeakPtr<SeShapeInterface> shape = layer.weak(0);
    for (auto _ : state) {
        state.PauseTiming();
        selector->replaceAllItems(start);
        state.ResumeTiming();
        selector->updateSelectionPointAdded(shape, count / 2 * stride);
    }
    finish(state);
}
void BM_SelectorUpdatePointAddedShuffled(benchmark::State &state) {
    updatePointAddedShuffled(state, 1);
}
void BM_SelectorUpdatePointAddedEveryThird(benchmark::State &state) {
    updatePointAddedShuffled(state, 3);
}
void BM_SelectorUpdatePointAddedEveryThousandth(benchmark::State &state) {
    updatePointAddedShuffled(state, 1000);
}

// The rank of the last of N selected points.
void BM_SelectorPointSelectionRank(benchmark::State &state) {
    const int count = countOf(state);
    const BenchLayer layer(1);
    const RCShdPtr<SeShapeSelector> selector(new SeShapeSelector);
    selector->replaceAllItems(withPoints(layer.weak(0), count));
    for (auto _ : state) {
        benchmark::DoNotOptimize(selector->getPointSelectionRank(count - 1));
    }
    finish(state);
}

// Select all N shapes of a layer whose first 1,000 shapes are selected.
void BM_SelectorSelectAllShapesOntoThousand(benchmark::State &state) {
    const int count = countOf(state);
    const BenchLayer layer(count);
    const RCShdPtr<SeShapeSelector> selector(new SeShapeSelector);
    const RCShdPtr<SnSelection const> start = wholeShapes(layer, 1000);
    Vo::Iterator<RCShdPtr<SeShape>> shapes = layer.iterate();
    for (auto _ : state) {
        state.PauseTiming();
        selector->replaceAllItems(start);
        state.ResumeTiming();
        selector->selectAllShapes(shapes);
    }
    finish(state);
}

constexpr int kSmallest = 10000;
constexpr int kLargest = 1000000;

BENCHMARK(BM_SelectorBareVectorBuild)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorSelectAllPointsWithoutParts)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorSelectAllPointsOntoHalf)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorUpdatePointAdded)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorUpdatePointAddedShuffled)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorUpdatePointAddedEveryThird)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorUpdatePointAddedEveryThousandth)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorPointSelectionRank)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kLargest)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SelectorSelectAllShapesOntoThousand)
    ->RangeMultiplier(10)
    ->Range(kSmallest, kSmallest * 10)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace
