// The library's own atomically counted objects shared across threads: shapes, the selector, the
// updater, iterator engines and the counter blocks of weakly held editing sides. Only their counts
// are promised to be thread-safe, so the threads copy, read and release pointers and iterators,
// and lock weak pointers, while the objects' last owners let go; the objects themselves are used
// on one thread.
#include "SeSelectorUpdater.h"
#include "SeShape.h"
#include "SeShapeEditorControllerInterface.h"
#include "SeShapeInterface.h"
#include "SeShapeSelector.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "host/IteratorImpVector.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiNode.h"
#include "host/RCOwner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace Vo;

std::atomic<int> liveShapes{0};

class StressEditing : public SeShapeInterface {
public:
    RCShdPtr<SeShape> getShape() override { return {}; }
    RCShdPtr<PiInput> getCurveInput() override { return {}; }
};

class StressShape : public SeShape {
public:
    StressShape(const RCShdPtr<PiGraphObject> &object, const RCWeakPtr<SeShapeInterface> &editing)
        : object(object), editing(editing) {
        ++liveShapes;
    }
    RCShdPtr<PiGraphObject> getGraphObject() override { return object; }
    RCShdPtr<PiGraphObject const> getGraphObject() const override { return object; }
    RCWeakPtr<SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    ~StressShape() override { --liveShapes; }
    RCShdPtr<PiGraphObject> object;
    RCWeakPtr<SeShapeInterface> editing;
};

class StressController : public SeShapeEditorControllerInterface {
public:
    StressController() : graph(PiGraph::create()), selector(new SeShapeSelector) {}
    RCShdPtr<PiNode> getNode() override { return {}; }
    RCShdPtr<PiGraph const> getGraph() override { return graph; }
    RCShdPtr<SeShapeSelector> getShapeSelector() override { return selector; }
    RCShdPtr<SeShape> findShape(const RCShdPtr<PiGraphObject const> &) override { return {}; }
    void addShapeEventCb(const SeShapeEvent &, CbHandler<SeShapeEvent const> *) override {}

    RCShdPtr<PiGraph> graph;
    RCShdPtr<SeShapeSelector> selector;
};

constexpr int threadCount = 4;
constexpr int rounds = 200;
constexpr int copiesPerThread = 1300; // 4 threads x 200 rounds x 1300 x 1 copy > 1,000,000

template <class Work> void onThreads(Work work) {
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back(work, t);
    }
    for (std::thread &thread : threads) {
        thread.join();
    }
}

TEST(LibraryObjectsStress, SharedLibraryObjectsAreCountedExactlyAcrossThreads) {
    StressController controller;
    const RCShdPtr<PiGraphObject> object = controller.graph->addNode("Roto")->addObject("A");
    for (int round = 0; round < rounds; ++round) {
        RCOwner<StressEditing> editing(new StressEditing);
        RCShdPtr<SeShape> shape(new StressShape(object, editing.getWeak()));
        RCShdPtr<SeSelectorUpdater> updater(
            new SeSelectorUpdater(controller, RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>()));
        const Iterator<RCShdPtr<SeShape>> shapes =
            IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(
                std::make_shared<const std::vector<RCShdPtr<SeShape>>>(4, shape));
        std::atomic<int> locked{0};
        onThreads([&](int thread) {
            for (int i = 0; i < copiesPerThread; ++i) {
                const RCShdPtr<SeShape> shapeCopy = shape;
                const RCShdPtr<SeShapeSelector> selectorCopy = controller.selector;
                const RCShdPtr<SeSelectorUpdater> updaterCopy = updater;
                const Iterator<RCShdPtr<SeShape>> walk = shapes;
                if (walk.getCardinality() != 4 || walk.item().get() != shape.get()) {
                    ADD_FAILURE() << "a shared iterator engine read wrong";
                    return;
                }
                // The weak pointer shares the counter block; a lock succeeds only while alive.
                const RCWeakAccessor<SeShapeInterface> access(shapeCopy->getShapeInterface());
                locked += access.isNull() ? 0 : 1;
                if (thread == 0 && i == copiesPerThread / 2) {
                    editing.reset(); // the application deletes the editing side meanwhile
                }
            }
        });
        EXPECT_GT(locked.load(), 0);
        EXPECT_TRUE(shape->getShapeInterface().isNull());
        EXPECT_EQ(shape->getRefCount(), 1 + 4); // this pointer and the iterator's four elements
        EXPECT_EQ(controller.selector->getRefCount(), 2); // the controller and the updater
        EXPECT_EQ(updater->getRefCount(), 1);
    }
    EXPECT_EQ(liveShapes.load(), 0);
}

} // namespace
